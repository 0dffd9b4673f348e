// The lamp dialogs as real windows: opened from the light panel's commands, driven through their
// widgets (combo boxes, radio buttons, typed text, the up-down arrows, OK), they leave the light
// exactly as the same edits given as `!dlg` events on the command line do; and their widgets are
// laid out from the template through the font's dialog units.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "QtDialog.h"
#include "StudioHarness.h"

using namespace vantrel::studio::test;
using vantrel::QtDialog;

namespace {

// Acts on the dialog as soon as one is open (the command opening it waits inside it).
Step whenDialogOpens(const std::function<void(QtDialog&)>& actions)
{
    return [actions] {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [poll, actions] {
            auto* dialog = qobject_cast<QtDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll->stop();
            poll->deleteLater();
            actions(*dialog);
        });
        poll->start(20);
    };
}

template <class W>
W* in(QtDialog& dialog, int id)
{
    W* widget = qobject_cast<W*>(dialog.widget(id));
    if (!widget)
        qFatal("control %d is not the widget expected", id);
    return widget;
}

void choose(QtDialog& dialog, int id, const QString& item)
{
    auto* combo = in<QComboBox>(dialog, id);
    const int index = combo->findText(item);
    QVERIFY2(index >= 0, qPrintable(item));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

void typeInto(QtDialog& dialog, int id, const QString& text)
{
    auto* edit = in<QLineEdit>(dialog, id);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void ok(QtDialog& dialog) { QTest::mouseClick(in<QPushButton>(dialog, 1), Qt::LeftButton); }

std::vector<Step> placeLight(StudioHarness& s)
{
    return {s.type("pointlight"), s.type("10,10,0"), s.type("photometry"), s.type("color"),
            s.type("xenon"),      s.type(""),        s.type("x"),          s.type("x")};
}

// Runs the steps in a fresh studio and answers what LIST says of the light afterwards.
QString lightAfter(const std::function<std::vector<Step>(StudioHarness&)>& steps, bool windows)
{
    StudioHarness s;
    if (!windows)
        QtDialog::uninstall();
    std::vector<Step> all = placeLight(s);
    for (Step& step : steps(s))
        all.push_back(std::move(step));
    for (const char* line : {"list", "l", ""})
        all.push_back(s.type(line));
    s.run(all);
    const QString transcript = s.transcript();
    const qsizetype listed = transcript.lastIndexOf("LIGHT  Layer");
    return listed < 0 ? QString() : transcript.mid(listed);
}

} // namespace

class StudioDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void lampColorByWidgetsAsByDialogEvents()
    {
        const QString byWidgets = lightAfter(
            [](StudioHarness& s) {
                return std::vector<Step>{
                    whenDialogOpens([](QtDialog& d) {
                        QVERIFY(d.isModal());
                        QCOMPARE(d.windowTitle(), QString("Lamp colors"));
                        QTest::mouseClick(in<QRadioButton>(d, 1361), Qt::LeftButton);
                        QVERIFY(in<QRadioButton>(d, 1361)->isChecked());
                        QVERIFY(!in<QRadioButton>(d, 1359)->isChecked());
                        typeInto(d, 1376, "5000");
                        // Two steps up by the arrows.
                        QTest::mouseClick(d.widget(1362)->findChild<QToolButton*>("up"), Qt::LeftButton);
                        QTest::mouseClick(d.widget(1362)->findChild<QToolButton*>("up"), Qt::LeftButton);
                        choose(d, 1378, "Green");
                        ok(d);
                    }),
                    s.type("lightcolor"), s.type("10,10")};
            },
            true);
        const QString byEvents = lightAfter(
            [](StudioHarness& s) {
                return std::vector<Step>{s.type("lightcolor"),
                                         s.type("10,10"),
                                         s.type("!dlg click 1361"),
                                         s.type("!dlg text 1376 5000"),
                                         s.type("!dlg spin 1362 +1"),
                                         s.type("!dlg spin 1362 +1"),
                                         s.type("!dlg select 1378 Green"),
                                         s.type("!dlg ok")};
            },
            false);
        QVERIFY(!byWidgets.isEmpty());
        QCOMPARE(byWidgets, byEvents);
        // The edits did something: the light is not as placed.
        QVERIFY(byWidgets != lightAfter([](StudioHarness&) { return std::vector<Step>{}; }, true));
    }

    void lampIntensityByWidgetsAsByDialogEvents()
    {
        const QString byWidgets = lightAfter(
            [](StudioHarness& s) {
                return std::vector<Step>{whenDialogOpens([](QtDialog& d) {
                                             QCOMPARE(d.windowTitle(), QString("Lamp intensity"));
                                             QTest::mouseClick(in<QRadioButton>(d, 1367), Qt::LeftButton);
                                             typeInto(d, 1377, "2500");
                                             ok(d);
                                         }),
                                         s.type("lightintensity"), s.type("10,10")};
            },
            true);
        const QString byEvents = lightAfter(
            [](StudioHarness& s) {
                return std::vector<Step>{s.type("lightintensity"), s.type("10,10"), s.type("!dlg click 1367"),
                                         s.type("!dlg text 1377 2500"), s.type("!dlg ok")};
            },
            false);
        QVERIFY(!byWidgets.isEmpty());
        QCOMPARE(byWidgets, byEvents);
    }

    void cancelledDialogLeavesTheLight()
    {
        const QString placed = lightAfter([](StudioHarness&) { return std::vector<Step>{}; }, true);
        const QString cancelled = lightAfter(
            [](StudioHarness& s) {
                return std::vector<Step>{whenDialogOpens([](QtDialog& d) {
                                             choose(d, 1360, "Halogen");
                                             d.reject();
                                         }),
                                         s.type("lightcolor"), s.type("10,10")};
            },
            true);
        QCOMPARE(cancelled, placed);
    }

    void controlsAreLaidOutInDialogUnitsOfTheFont()
    {
        StudioHarness s;
        QRect edit, combo;
        QSize size;
        s.run({whenDialogOpens([&](QtDialog& d) {
                   edit = d.widget(1376)->geometry();
                   combo = d.widget(1360)->geometry();
                   size = d.size();
                   d.reject();
               }),
               s.type("pointlight"), s.type("10,10,0"), s.type("x"), s.type("lightcolor"), s.type("10,10")});
        const QFontMetrics metrics(QApplication::font("QDialog"));
        // The edit field is at 18,72 dialog units, 102 wide.
        QCOMPARE(edit.left(),
                 static_cast<int>(vantrel::DialogTemplate::toPixelsX(18) * metrics.averageCharWidth()
                                  / double(vantrel::DialogTemplate::kBaseUnitX)));
        QVERIFY(edit.top() > combo.bottom());
        QVERIFY(std::abs(edit.width() - 102 * metrics.averageCharWidth() / 4) <= 2);
        QVERIFY(size.width() > edit.right());
    }
};

QTEST_MAIN(StudioDialogsTest)
#include "studio_dialogs_test.moc"
