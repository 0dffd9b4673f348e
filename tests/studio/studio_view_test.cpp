// The view's parts: the spatial index finds exactly what a full scan finds, the scene follows the
// drawing's changes, tiny entities become dots, snap points of bulged paths, and zooming about a
// point keeps that point under the cursor.
#include <random>
#include <set>

#include <QImage>
#include <QPainter>
#include <QTest>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/Template.h>

#include "view/DrawingScene.h"
#include "view/ObjectSnap.h"
#include "view/SpatialIndex.h"
#include "view/ViewTransform.h"

using namespace vantrel::studio;

namespace {

OdDbObjectId addLine(OdDbDatabase& db, OdGePoint3d a, OdGePoint3d b)
{
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    OdDbLinePtr line = OdDbLine::createObject();
    line->setStartPoint(a);
    line->setEndPoint(b);
    return ms->appendOdDbEntity(line.get());
}

std::set<std::uint32_t> scan(const std::vector<Box>& boxes, const std::vector<bool>& present, const Box& area)
{
    std::set<std::uint32_t> out;
    for (std::uint32_t i = 0; i < boxes.size(); ++i)
        if (present[i] && boxes[i].overlaps(area))
            out.insert(i);
    return out;
}

} // namespace

class StudioViewTest : public QObject {
    Q_OBJECT
private slots:
    void indexAnswersAsAFullScanDoes()
    {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> where(-50.0, 150.0);
        std::exponential_distribution<double> size(0.2);
        SpatialIndex index({0.0, 0.0, 100.0, 100.0});
        std::vector<Box> boxes;
        std::vector<bool> present;
        // Boxes of every size, some far outside the index's bounds, some of them removed and
        // some put in again elsewhere.
        for (std::uint32_t i = 0; i < 3000; ++i) {
            const double x = where(random), y = where(random);
            boxes.push_back({x, y, x + size(random), y + size(random)});
            present.push_back(true);
            index.insert(i, boxes.back());
        }
        boxes.push_back({1e6, 1e6, 1e6 + 1, 1e6 + 1});
        present.push_back(true);
        index.insert(3000, boxes.back());
        for (std::uint32_t i = 0; i < 3000; i += 3) {
            QVERIFY(index.remove(i));
            present[i] = false;
        }
        QVERIFY(!index.remove(0));
        for (std::uint32_t i = 0; i < 3000; i += 9) {
            boxes[i] = {boxes[i].x0 + 10, boxes[i].y0 - 20, boxes[i].x1 + 10, boxes[i].y1 - 20};
            index.insert(i, boxes[i]);
            present[i] = true;
        }
        for (std::uint32_t i = 1; i < 3000; i += 9) {
            // Moving in place: inserting a value that is in the index replaces it.
            boxes[i] = {-30, -30, -29, -29};
            index.insert(i, boxes[i]);
        }
        QCOMPARE(index.size(), static_cast<std::size_t>(std::count(present.begin(), present.end(), true)));
        for (int q = 0; q < 200; ++q) {
            const double x = where(random), y = where(random), w = size(random) * 5;
            const Box area{x, y, x + w, y + w};
            std::set<std::uint32_t> found;
            index.query(area, [&](std::uint32_t v, const Box&) { QVERIFY(found.insert(v).second); });
            QCOMPARE(found, scan(boxes, present, area));
        }
        std::set<std::uint32_t> everything;
        index.query({-1e9, -1e9, 1e9, 1e9}, [&](std::uint32_t v, const Box&) { everything.insert(v); });
        QCOMPARE(everything.size(), index.size());
    }

    void sceneFollowsAppendsErasuresAndChanges()
    {
        OdDbDatabasePtr db = vantrel::newDrawing();
        const OdDbObjectId a = addLine(*db, {0, 0, 0}, {10, 0, 0});
        DrawingScene scene(*db);
        QCOMPARE(scene.entityCount(), 1u);
        const OdDbObjectId b = addLine(*db, {50, 50, 0}, {60, 60, 0});
        QCOMPARE(scene.entitiesIn({49, 49, 51, 51}), std::vector<OdDbObjectId>{b});
        {
            OdDbLinePtr line = b.safeOpenObject(OdDb::kForWrite);
            line->setStartPoint({200, 200, 0});
            line->setEndPoint({210, 210, 0});
        }
        QVERIFY(scene.entitiesIn({49, 49, 51, 51}).empty());
        QCOMPARE(scene.entitiesIn({205, 205, 206, 206}), std::vector<OdDbObjectId>{b});
        QCOMPARE(a.safeOpenObject(OdDb::kForWrite)->erase(true), eOk);
        QVERIFY(scene.entitiesIn({-1, -1, 11, 1}).empty());
        QCOMPARE(a.openObject(OdDb::kForWrite, true)->erase(false), eOk);
        // Back where it was, below the other in draw order.
        QCOMPARE(scene.entitiesIn({-1000, -1000, 1000, 1000}), (std::vector<OdDbObjectId>{a, b}));
        QCOMPARE(scene.extents().maxPoint(), OdGePoint3d(210, 210, 0));
    }

    void entitiesBelowAPixelAreDots()
    {
        OdDbDatabasePtr db = vantrel::newDrawing();
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        // A thousand tiny circles on one spot and one large one.
        for (int i = 0; i < 1000; ++i) {
            OdDbCirclePtr c = OdDbCircle::createObject();
            c->setCenter({10.0 + i * 1e-4, 10.0, 0});
            c->setRadius(0.001);
            ms->appendOdDbEntity(c.get());
        }
        OdDbCirclePtr big = OdDbCircle::createObject();
        big->setCenter({50, 50, 0});
        big->setRadius(20);
        ms->appendOdDbEntity(big.get());
        DrawingScene scene(*db);
        ViewTransform view;
        view.setSize(200, 200);
        view.fit(OdGeExtents3d({0, 0, 0}, {100, 100, 0}), 0.0);
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        const DrawingScene::PaintCount count = scene.paint(painter, view);
        painter.end();
        QCOMPARE(count.drawn, 1u);
        QCOMPARE(count.dots, 1u);
        const ScreenPoint dot = view.toScreen(10.05, 10.0);
        QVERIFY(image.pixelColor(static_cast<int>(dot.x), static_cast<int>(dot.y)) != QColor(Qt::black));
    }

    void snapPointsOfABulgedPath()
    {
        SnapCollector snaps;
        // A half circle from (0,0) to (2,0), counter-clockwise: it passes below, through (1,-1).
        const vantrel::PathVertex v[2] = {{{0, 0, 0}, 1.0, 0, 0}, {{2, 0, 0}, 0.0, 0, 0}};
        snaps.path(v, false, OdGeVector3d::kZAxis);
        auto has = [&](OdGePoint3d p, SnapKind kind) {
            return std::any_of(snaps.points().begin(), snaps.points().end(),
                               [&](const SnapPoint& s) { return s.kind == kind && s.point.distanceTo(p) < 1e-12; });
        };
        QVERIFY(has({0, 0, 0}, SnapKind::End));
        QVERIFY(has({2, 0, 0}, SnapKind::End));
        QVERIFY(has({1, -1, 0}, SnapKind::Mid));
        QVERIFY(has({1, 0, 0}, SnapKind::Center));
    }

    void zoomKeepsThePointUnderTheCursor()
    {
        ViewTransform view;
        view.setSize(640, 480);
        view.fit(OdGeExtents3d({0, 0, 0}, {100, 50, 0}), 0.05);
        const OdGePoint3d before = view.toWorld(100, 400);
        view.zoomAbout(100, 400, 3.7);
        const OdGePoint3d after = view.toWorld(100, 400);
        QVERIFY(before.distanceTo(after) < 1e-9);
        view.panPixels(10, -20);
        const ScreenPoint moved = view.toScreen(after);
        QVERIFY(std::fabs(moved.x - 110) < 1e-9 && std::fabs(moved.y - 380) < 1e-9);
    }
};

QTEST_MAIN(StudioViewTest)
#include "studio_view_test.moc"
