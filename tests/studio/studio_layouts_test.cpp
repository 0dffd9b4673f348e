// The layout tabs and the layers panel, driven through their real widgets: every sheet of a
// drawing of three has its tab, the view draws the sheet chosen and new entities go into it; the
// panel's changes run LAYER as typed commands, land in the transcript and in undo, hide what
// lies on layers turned off or frozen, and wait while another command asks for input.
#include <QTabBar>
#include <QTest>

#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/layouts.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/hostutils.h>

#include "../support/sheets.h"
#include "StudioHarness.h"
#include "panels/LayersPanel.h"
#include "view/DrawingView.h"

using namespace vantrel::studio::test;
using vantrel::studio::DrawingView;
using vantrel::studio::LayersPanel;

namespace {

OdDbDatabase& drawingOf(StudioHarness& s) { return *s.app().activeDocument()->database(); }

// Whether anything but the background is drawn within a pixel of a drawing point.
bool drawnNear(StudioHarness& s, double x, double y)
{
    const QImage frame = s.window().view().grab().toImage();
    const QPoint at = s.pixelOf(x, y);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if ((frame.pixel(at + QPoint(dx, dy)) & 0xFFFFFF) != DrawingView::kBackground)
                return true;
    return false;
}

void clickTab(StudioHarness& s, int index)
{
    QTabBar& tabs = s.window().layoutTabs();
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(index).center());
}

void clickLayerCell(StudioHarness& s, const QString& layer, int column)
{
    LayersPanel& panel = s.window().layers();
    const QList<QTableWidgetItem*> found = panel.findItems(layer, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(layer));
    const QRect cell = panel.visualItemRect(panel.item(found.front()->row(), column));
    QTest::mouseClick(panel.viewport(), Qt::LeftButton, {}, cell.center());
}

OdDbLayerTableRecordPtr layerOf(StudioHarness& s, const wchar_t* name)
{
    OdDbLayerTablePtr table = drawingOf(s).getLayerTableId().safeOpenObject();
    return OdDbLayerTableRecordPtr(table->getAt(name).safeOpenObject());
}

} // namespace

class StudioLayoutsTest : public QObject {
    Q_OBJECT
private slots:
    void everySheetHasItsTabAndDrawsAndTakesWhatIsDrawn()
    {
        StudioHarness s;
        OdDbDatabase& db = drawingOf(s);
        const auto second = vantrel::test::addSheet(db, L"Second", 3, L"*Paper_Space0", OdGePoint3d(20, 20, 0));
        const auto third = vantrel::test::addSheet(db, L"Third", 2, L"*Paper_Space1", OdGePoint3d(20, 60, 0));
        QTabBar& tabs = s.window().layoutTabs();
        s.run({s.type("LINE"), s.type("20,40"), s.type("30,40"), s.type(""), s.check([&] {
                   QCOMPARE(tabs.count(), 4);
                   const QStringList names{tabs.tabText(0), tabs.tabText(1), tabs.tabText(2), tabs.tabText(3)};
                   QCOMPARE(names, (QStringList{"Model", "Layout1", "Third", "Second"}));
                   QCOMPARE(tabs.currentIndex(), 0);
                   QVERIFY(drawnNear(s, 25, 40));
                   clickTab(s, 3);
               }),
               s.check([&] {
                   QVERIFY(s.transcript().contains("Enter layout name <Layout1>: Second"));
                   QCOMPARE(vantrel::currentSheet(db), second.layout);
                   QCOMPARE(getActiveBTRId(&db), second.block);
                   QCOMPARE(tabs.currentIndex(), 3);
                   QVERIFY(drawnNear(s, 25, 20));
                   QVERIFY(!drawnNear(s, 25, 40));
                   QVERIFY(!drawnNear(s, 25, 60));
               }),
               s.type("LINE"), s.type("50,50"), s.type("60,50"), s.type(""), s.check([&] {
                   QCOMPARE(OdDbBlockTableRecordPtr(second.block.safeOpenObject())->entityIds().size(), 2u);
                   clickTab(s, 2);
               }),
               s.check([&] {
                   QCOMPARE(getActiveBTRId(&db), third.block);
                   QVERIFY(drawnNear(s, 25, 60));
                   QVERIFY(!drawnNear(s, 55, 50));
                   clickTab(s, 0);
               }),
               s.check([&] {
                   QVERIFY(db.getTILEMODE());
                   QVERIFY(drawnNear(s, 25, 40));
               }),
               // U takes the switches back one by one, and the tabs follow.
               s.type("U"), s.check([&] { QCOMPARE(tabs.currentIndex(), 2); }), s.type("U"),
               s.check([&] { QCOMPARE(tabs.currentIndex(), 3); })});
        // The drawing opens on the sheet it was saved on, with the line drawn in it.
        OdDbDatabasePtr back = s.saveAndRead();
        QVERIFY(back);
        OdDbLayoutPtr sheet = vantrel::currentSheet(*back).safeOpenObject();
        QCOMPARE(QString::fromWCharArray(sheet->getLayoutName().c_str()), QString("Second"));
        OdDbBlockTableRecordPtr block = back->getPaperSpaceId().safeOpenObject();
        QCOMPARE(block->entityIds().size(), 2u);
        OdDbLinePtr drawn = block->entityIds().back().safeOpenObject();
        QCOMPARE(drawn->startPoint(), OdGePoint3d(50, 50, 0));
    }

    void layersPanelRunsLayerAsATypedCommand()
    {
        StudioHarness s;
        LayersPanel& panel = s.window().layers();
        s.run(
            {s.type("LAYER"), s.type("Make"), s.type("walls"), s.type(""), s.type("LINE"), s.type("20,40"),
             s.type("30,40"), s.type(""), s.check([&] {
                 QVERIFY(drawnNear(s, 25, 40));
                 clickLayerCell(s, "walls", LayersPanel::Frozen);
             }),
             s.check([&] {
                 // The current layer stays thawed, and the transcript says why.
                 QVERIFY2(s.transcript().contains("Enter name of layer to freeze: walls\nThe current layer cannot be "
                                                  "frozen."),
                          qPrintable(s.transcript()));
                 QVERIFY(!layerOf(s, L"walls")->isFrozen());
                 clickLayerCell(s, "0", LayersPanel::Current);
             }),
             s.check([&] {
                 QCOMPARE(drawingOf(s).getCLAYER(), layerOf(s, L"0")->objectId());
                 clickLayerCell(s, "walls", LayersPanel::Frozen);
             }),
             s.check([&] {
                 QVERIFY(layerOf(s, L"walls")->isFrozen());
                 QCOMPARE(
                     panel.item(panel.findItems("walls", Qt::MatchExactly).front()->row(), LayersPanel::Frozen)->text(),
                     QString("frozen"));
                 QVERIFY(!drawnNear(s, 25, 40));
             }),
             // What is frozen cannot be selected either.
             s.type("ERASE"), s.type("ALL"), s.type(""), s.check([&] {
                 OdDbBlockTableRecordPtr ms = drawingOf(s).getModelSpaceId().safeOpenObject();
                 QVERIFY(!ms->entityIds().front().isErased());
                 clickLayerCell(s, "walls", LayersPanel::Frozen);
             }),
             s.check([&] {
                 QVERIFY(drawnNear(s, 25, 40));
                 clickLayerCell(s, "walls", LayersPanel::On);
             }),
             s.check([&] {
                 QVERIFY(layerOf(s, L"walls")->isOff());
                 QVERIFY(!drawnNear(s, 25, 40));
             }),
             // Each change is one command for U.
             s.type("U"), s.check([&] {
                 QVERIFY(!layerOf(s, L"walls")->isOff());
                 QVERIFY(s.transcript().contains("Enter name of layer to turn off: walls"));
             }),
             // While a command asks for input the panel is off, and a change asked anyway waits.
             s.type("LINE"), s.type("0,0"), s.check([&] {
                 QVERIFY(!panel.isEnabled());
                 emit panel.changeAsked(layerOf(s, L"walls")->objectId(), LayersPanel::Locked);
             }),
             s.type("5,5"), s.type(""), s.check([&] {
                 QVERIFY(panel.isEnabled());
                 QVERIFY(!layerOf(s, L"walls")->isLocked());
             })});
        OdDbDatabasePtr back = s.saveAndRead();
        QVERIFY(back);
        QCOMPARE(StudioHarness::modelSpace(*back).size(), 2u);
    }
};

QTEST_MAIN(StudioLayoutsTest)
#include "studio_layouts_test.moc"
