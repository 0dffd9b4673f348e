// Whole commands in the studio, driven by synthetic mouse and key events on the real widgets and
// checked in the saved drawing: points by clicks and snaps, a solid, a light placed with its
// preview following the mouse, a traced revision cloud, window and crossing selections, undo,
// and bad input answered with a message and the prompt again.
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbSolid.h>
#include <vantrel/host/HostDocument.h>

#include "StudioHarness.h"
#include "input/CommandLine.h"
#include "view/DrawingView.h"

using namespace vantrel::studio::test;
using vantrel::TomlProfile;
using vantrel::studio::RecentFiles;

namespace {

template <class T>
std::vector<OdSmartPtr<T>> ofKind(OdDbDatabase& db)
{
    std::vector<OdSmartPtr<T>> out;
    for (const OdDbEntityPtr& e : StudioHarness::modelSpace(db))
        if (OdSmartPtr<T> t = T::cast(e.get()))
            out.push_back(t);
    return out;
}

bool near(const OdGePoint3d& a, const OdGePoint3d& b, double tol = 1e-9) { return a.distanceTo(b) <= tol; }

} // namespace

class StudioCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void lineByClicksAndSnaps()
    {
        StudioHarness s;
        // The second line starts a few pixels off the first one's end and its middle: the snaps
        // put it on them exactly.
        s.run({s.type("LINE"), s.click(10, 10), s.click(60, 40), s.rightClick(), s.type("LINE"), s.click(60.6, 40.4),
               s.click(35.5, 25.3), s.rightClick()});
        OdDbDatabasePtr db = s.saveAndRead();
        QVERIFY(db);
        auto lines = ofKind<OdDbLine>(*db);
        QCOMPARE(lines.size(), 2u);
        const OdGePoint3d a = s.pointOf(10, 10), b = s.pointOf(60, 40);
        QVERIFY(near(lines[0]->startPoint(), a));
        QVERIFY(near(lines[0]->endPoint(), b));
        QVERIFY(near(lines[1]->startPoint(), b));
        QVERIFY(near(lines[1]->endPoint(), a + (b - a) / 2.0));
    }

    void snapsOffLeaveThePointUnderTheCursor()
    {
        StudioHarness s;
        s.run({s.type("LINE"), s.click(10, 10), s.click(60, 40), s.rightClick(), s.key(Qt::Key_F3),
               s.check([&] { QVERIFY(!s.window().view().snapsOn()); }), s.type("LINE"), s.click(60.6, 40.4),
               s.click(80, 80), s.rightClick()});
        OdDbDatabasePtr db = s.saveAndRead();
        auto lines = ofKind<OdDbLine>(*db);
        QCOMPARE(lines.size(), 2u);
        QVERIFY(near(lines[1]->startPoint(), s.pointOf(60.6, 40.4)));
    }

    void solidFromFourClicks()
    {
        StudioHarness s;
        s.window().view().setSnapsOn(false);
        s.run({s.type("SOLID"), s.click(10, 10), s.click(50, 10), s.click(10, 30), s.click(50, 30), s.rightClick()});
        OdDbDatabasePtr db = s.saveAndRead();
        auto solids = ofKind<OdDbSolid>(*db);
        QCOMPARE(solids.size(), 1u);
        const double corners[4][2] = {{10, 10}, {50, 10}, {10, 30}, {50, 30}};
        for (int i = 0; i < 4; ++i) {
            OdGePoint3d p;
            solids[0]->getPointAt(i, p);
            QVERIFY(near(p, s.pointOf(corners[i][0], corners[i][1])));
        }
    }

    void lightFollowsTheMouseThenLandsWhereClicked()
    {
        StudioHarness s;
        s.window().view().setSnapsOn(false);
        const vantrel::RecordingDrawer& previews = s.window().view().previews();
        s.run({s.type("pointlight"), s.move(30, 70), s.check([&] {
                   // The preview is a light at the cursor, painted over the drawing.
                   QCOMPARE(previews.shown().size(), 1u);
                   OdDbLightPtr light = OdDbLight::cast(previews.shown()[0].entity);
                   QVERIFY(light);
                   QVERIFY(near(light->position(), s.pointOf(30, 70)));
                   const QImage shot = s.window().view().grab().toImage();
                   const QPoint at = s.pixelOf(30, 70);
                   QVERIFY(shot.pixelColor(at) != QColor::fromRgb(vantrel::studio::DrawingView::kBackground));
               }),
               s.move(40, 20), s.check([&] {
                   OdDbLightPtr light = OdDbLight::cast(previews.shown()[0].entity);
                   QVERIFY(near(light->position(), s.pointOf(40, 20)));
               }),
               s.click(40, 20), s.rightClick()});
        QVERIFY(previews.shown().empty());
        OdDbDatabasePtr db = s.saveAndRead();
        auto lights = ofKind<OdDbLight>(*db);
        QCOMPARE(lights.size(), 1u);
        QVERIFY(near(lights[0]->position(), s.pointOf(40, 20)));
    }

    void revCloudTracedByTheMouse()
    {
        StudioHarness s;
        s.window().view().setSnapsOn(false);
        std::vector<Step> steps{s.type("revcloud"), s.type("a"), s.type("4"), s.type("8"), s.click(20, 20)};
        // Round a square of side 40, back to the start: the cloud closes itself.
        for (int k = 1; k <= 20; ++k)
            steps.push_back(s.move(20 + 2 * k, 20));
        for (int k = 1; k <= 20; ++k)
            steps.push_back(s.move(60, 20 + 2 * k));
        for (int k = 1; k <= 20; ++k)
            steps.push_back(s.move(60 - 2 * k, 60));
        for (int k = 1; k <= 20; ++k)
            steps.push_back(s.move(20, 60 - 2 * k));
        s.run(steps);
        QVERIFY2(s.transcript().contains("Revision cloud finished."), qPrintable(s.transcript()));
        OdDbDatabasePtr db = s.saveAndRead();
        auto clouds = ofKind<OdDbPolyline>(*db);
        QCOMPARE(clouds.size(), 1u);
        OdDbPolylinePtr cloud = clouds[0];
        QVERIFY(cloud->isClosed());
        QVERIFY(cloud->numVerts() >= 20);
        // Every vertex lies on the traced square and every segment is an arc.
        for (unsigned i = 0; i < cloud->numVerts(); ++i) {
            OdGePoint3d p;
            cloud->getPointAt(i, p);
            const double toEdge = std::min({std::fabs(p.x - s.pointOf(20, 0).x), std::fabs(p.x - s.pointOf(60, 0).x),
                                            std::fabs(p.y - s.pointOf(0, 20).y), std::fabs(p.y - s.pointOf(0, 60).y)});
            QVERIFY2(toEdge < 1.0, qPrintable(QString("vertex %1 at %2,%3").arg(i).arg(p.x).arg(p.y)));
            QVERIFY(cloud->getBulgeAt(i) != 0.0);
        }
    }

    void windowSelectsWhatIsInsideCrossingWhatIsTouched()
    {
        StudioHarness s;
        // Three lines; a window around the first erases it alone, a crossing through the second
        // and third (neither inside) erases both.
        s.run({s.type("LINE"), s.type("10,10"), s.type("20,20"), s.type(""), s.type("LINE"), s.type("40,10"),
               s.type("80,10"), s.type(""), s.type("LINE"), s.type("40,30"), s.type("80,30"), s.type(""),
               s.type("ERASE"), s.drag(5, 5, 25, 25), s.rightClick(),
               s.check([&] { QCOMPARE(ofKind<OdDbLine>(*s.app().activeDocument()->database()).size(), 2u); }),
               s.type("ERASE"), s.drag(60, 40, 55, 5), s.rightClick()});
        OdDbDatabasePtr db = s.saveAndRead();
        QVERIFY(db);
        QCOMPARE(ofKind<OdDbLine>(*db).size(), 0u);
        QVERIFY(s.transcript().contains("Select objects: W "));
        QVERIFY(s.transcript().contains("Select objects: C "));
    }

    void undoFromTheMenuTakesBackTheLastCommand()
    {
        StudioHarness s;
        s.run({s.type("LINE"), s.type("0,0"), s.type("10,0"), s.type(""), s.type("LINE"), s.type("0,5"), s.type("10,5"),
               s.type(""), s.check([&] { QVERIFY(s.window().isWindowModified()); }),
               s.check([&] { s.window().findChild<QAction*>("undo")->trigger(); })});
        OdDbDatabasePtr db = s.saveAndRead();
        auto lines = ofKind<OdDbLine>(*db);
        QCOMPARE(lines.size(), 1u);
        QVERIFY(near(lines[0]->startPoint(), OdGePoint3d(0, 0, 0)));
        QVERIFY(!s.window().isWindowModified());
    }

    void enterRepeatsTheLastCommandAndEscCancels()
    {
        StudioHarness s;
        s.run({s.type("LINE"), s.type("0,0"), s.type("10,0"), s.key(Qt::Key_Escape), s.key(Qt::Key_Space),
               s.type("0,5"), s.type("10,5"), s.type("")});
        OdDbDatabasePtr db = s.saveAndRead();
        QVERIFY(db);
        QCOMPARE(ofKind<OdDbLine>(*db).size(), 2u);
        QVERIFY(s.transcript().contains("*Cancel*"));
    }

    void newAndOpenFromTheMenuReplaceTheDrawingAndAreRemembered()
    {
        StudioHarness s;
        const QString first = s.folder() + "/first.dxf";
        HostApplication& app = s.app();
        auto drawing = [&app] { return app.activeDocument()->database(); };
        s.run({s.type("LINE"), s.type("0,0"), s.type("10,0"), s.type(""), s.check([&] {
                   QVERIFY(s.window().windowTitle().startsWith("Untitled[*]"));
                   QVERIFY(s.window().isWindowModified());
                   QVERIFY(s.window().saveDrawingAs(first));
                   QVERIFY(!s.window().isWindowModified());
                   QVERIFY(s.window().windowTitle().startsWith("first.dxf[*]"));
               }),
               s.check([&] { s.window().newDrawing(); }), s.check([&] {
                   QCOMPARE(ofKind<OdDbLine>(*drawing()).size(), 0u);
                   QVERIFY(s.window().windowTitle().startsWith("Untitled[*]"));
               }),
               s.check([&] { s.window().openDrawing(first); }), s.check([&] {
                   QCOMPARE(ofKind<OdDbLine>(*drawing()).size(), 1u);
                   QVERIFY(!s.window().isWindowModified());
               }),
               s.type("LINE"), s.type("0,5"), s.type("10,5"), s.type(""),
               s.check([&] { QVERIFY(s.window().isWindowModified()); })});
        OdDbDatabasePtr db = s.saveAndRead();
        QVERIFY(db);
        QCOMPARE(ofKind<OdDbLine>(*db).size(), 2u);
        // The recent files outlive the session in the profile.
        TomlProfile profile((s.folder() + "/profile.toml").toStdString());
        const RecentFiles recent(profile);
        QVERIFY(!recent.files().empty());
        QCOMPARE(QString::fromStdWString(recent.files().front()), s.folder() + "/saved.dxf");
        QCOMPARE(QString::fromStdWString(recent.files()[1]), first);
    }

    void tabCompletesHistoryRecallsAndKeywordLinksAnswer()
    {
        StudioHarness s;
        QLineEdit* input = s.window().commandLine().input();
        QLabel* prompt = s.window().findChild<QLabel*>("prompt");
        s.run({s.check([&] {
                   QTest::keyClicks(input, "REVCL");
                   QTest::keyClick(input, Qt::Key_Tab);
                   QCOMPARE(input->text().toUpper(), QString("REVCLOUD"));
                   input->clear();
               }),
               s.type("LINE"), s.type("0,0"), s.check([&] {
                   // The prompt's keywords are links that answer with the keyword.
                   QVERIFY2(prompt->text().contains("<a href=\"Undo\">Undo</a>"), qPrintable(prompt->text()));
                   QTest::keyClick(input, Qt::Key_Up);
                   QCOMPARE(input->text(), QString("0,0"));
                   QTest::keyClick(input, Qt::Key_Up);
                   QCOMPARE(input->text(), QString("LINE"));
                   QTest::keyClick(input, Qt::Key_Down);
                   QTest::keyClick(input, Qt::Key_Down);
                   QCOMPARE(input->text(), QString());
               }),
               s.type("10,0"), s.check([&] { emit prompt->linkActivated("Undo"); }), s.type("20,0"), s.type("")});
        OdDbDatabasePtr db = s.saveAndRead();
        QVERIFY(db);
        // Undo took the first segment back: the line runs from the first point to the last.
        auto lines = ofKind<OdDbLine>(*db);
        QCOMPARE(lines.size(), 1u);
        QVERIFY(near(lines[0]->endPoint(), OdGePoint3d(20, 0, 0)));
    }

    void badInputGetsAMessageAndThePromptAgain()
    {
        StudioHarness s;
        s.run({s.type("LINE"), s.type("abc"), s.type("1,1"), s.type("2,2"), s.type(""), s.type("NOSUCHCOMMAND")});
        const QString t = s.transcript();
        QVERIFY2(t.contains("Specify first point: abc\n"), qPrintable(t));
        // The same prompt once more after the message.
        QCOMPARE(t.count("Specify first point:"), 2);
        QVERIFY(t.contains("Unknown command \"NOSUCHCOMMAND\"."));
        OdDbDatabasePtr db = s.saveAndRead();
        QVERIFY(db);
        QCOMPARE(ofKind<OdDbLine>(*db).size(), 1u);
    }
};

QTEST_MAIN(StudioCommandsTest)
#include "studio_commands_test.moc"
