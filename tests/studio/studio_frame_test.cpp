// Frames of the drawing view held against the drawing itself: what the scene paints (from its index
// and the display lists it keeps) must be what drawing each shown entity in turn paints, and must
// stay so when entities change, are erased, come back by undo, are highlighted, or sit on a layer
// switched off.
#include <cmath>

#include <QImage>
#include <QPainter>
#include <QTest>

#include <vantrel/db/LayerVisibility.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbSolid.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/OdDbText.h>
#include <vantrel/db/Template.h>

#include "view/DrawingScene.h"
#include "view/QPainterSink.h"
#include "view/ViewFrame.h"
#include "view/ViewTransform.h"

using namespace vantrel::studio;

namespace {

constexpr int kSide = 240;
const QColor kBackground(0x21, 0x28, 0x30);

OdDbObjectId append(OdDbDatabase& db, OdDbEntity* entity)
{
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    return ms->appendOdDbEntity(entity);
}

// A bit of everything the view draws: thin and wide paths with arcs, curves, a dashed line, a
// heavy line, a filled solid, text, a light's glyph, and a layer of their own for two of them.
struct Sample {
    OdDbDatabasePtr db = vantrel::newDrawing();
    OdDbObjectId line, wide, circle, text, walls, onWalls;

    Sample()
    {
        OdDbLinePtr l = OdDbLine::createObject();
        l->setStartPoint({5, 5, 0});
        l->setEndPoint({90, 40, 0});
        l->setColorIndex(1);
        line = append(*db, l.get());

        OdDbPolylinePtr p = OdDbPolyline::createObject();
        for (unsigned v = 0; v < 6; ++v)
            p->addVertexAt(v, OdGePoint2d(10 + v * 12.0, 60 + (v % 2) * 9.0), v % 3 == 1 ? 0.5 : 0.0, 0.4 * v,
                           0.4 * v + 0.3);
        p->setColorIndex(3);
        wide = append(*db, p.get());

        OdDbCirclePtr c = OdDbCircle::createObject();
        c->setCenter({70, 75, 0});
        c->setRadius(14);
        circle = append(*db, c.get());

        OdDbArcPtr a = OdDbArc::createObject();
        a->setCenter({30, 30, 0});
        a->setRadius(18);
        a->setStartAngle(0.3);
        a->setEndAngle(4.0);
        a->setColorIndex(4);
        append(*db, a.get());

        OdDbLinePtr dashed = OdDbLine::createObject();
        dashed->setStartPoint({5, 95, 0});
        dashed->setEndPoint({95, 92, 0});
        OdDbLinetypeTablePtr linetypes = db->getLinetypeTableId().safeOpenObject();
        dashed->setLinetype(linetypes->getAt(L"DASHED"));
        dashed->setLinetypeScale(0.3);
        append(*db, dashed.get());

        OdDbLinePtr heavy = OdDbLine::createObject();
        heavy->setStartPoint({95, 5, 0});
        heavy->setEndPoint({60, 50, 0});
        heavy->setLineWeight(70);
        heavy->setColorIndex(2);
        append(*db, heavy.get());

        OdDbSolidPtr s = OdDbSolid::createObject();
        s->setPointAt(0, {40, 5, 0});
        s->setPointAt(1, {55, 5, 0});
        s->setPointAt(2, {40, 15, 0});
        s->setPointAt(3, {55, 18, 0});
        s->setColorIndex(5);
        append(*db, s.get());

        OdDbTextPtr t = OdDbText::createObject();
        t->setPosition({8, 45, 0});
        t->setHeight(6);
        t->setTextString(L"Plan 1:50");
        text = append(*db, t.get());

        OdDbLightPtr light = OdDbLight::createObject();
        light->setPosition({85, 20, 0});
        append(*db, light.get());

        OdDbLayerTablePtr layers = db->getLayerTableId().safeOpenObject(OdDb::kForWrite);
        OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::createObject();
        layer->setName(L"Walls");
        walls = layers->add(layer.get());
        OdDbLinePtr w = OdDbLine::createObject();
        w->setStartPoint({20, 85, 0});
        w->setEndPoint({50, 20, 0});
        w->setLayer(walls);
        w->setColorIndex(6);
        onWalls = append(*db, w.get());
        OdDbEntityPtr(circle.safeOpenObject(OdDb::kForWrite))->setLayer(walls);
    }
};

ViewTransform viewOf(double x0, double y0, double x1, double y1)
{
    ViewTransform view;
    view.setSize(kSide, kSide);
    view.fit(OdGeExtents3d({x0, y0, 0}, {x1, y1, 0}), 0.0);
    return view;
}

QImage blank()
{
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(kBackground);
    return image;
}

QImage sceneFrame(DrawingScene& scene, const ViewTransform& view)
{
    QImage image = blank();
    QPainter painter(&image);
    scene.paint(painter, view);
    return image;
}

// The picture without the scene: every shown entity of model space drawn in turn.
QImage entityByEntity(OdDbDatabase& db, const ViewTransform& view)
{
    QImage image = blank();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPainterSink sink(painter, view);
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject();
    for (OdDbObjectIteratorPtr it = ms->newIterator(); !it->done(); it->step()) {
        OdDbEntityPtr entity = it->entity();
        if (entity->visibility() != OdDb::kVisible || !vantrel::layerShown(entity->layerId()))
            continue;
        sink.setHighlighted(entity->isHighlighted());
        entity->draw(sink);
    }
    return image;
}

int differingPixels(const QImage& a, const QImage& b)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return count;
}

void switchOff(OdDbObjectId layer, bool off)
{
    OdDbLayerTableRecordPtr record = layer.safeOpenObject(OdDb::kForWrite);
    record->setIsOff(off);
}

// Whether every pixel drawn in one image (one that is not the background) has a drawn pixel next
// to it or in its place in the other: the same shapes, give or take a pixel.
bool withinAPixel(const QImage& a, const QImage& b)
{
    auto drawn = [](const QImage& image, int x, int y) {
        if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
            return false;
        const QColor c = image.pixelColor(x, y);
        return std::abs(c.red() - kBackground.red()) + std::abs(c.green() - kBackground.green())
            + std::abs(c.blue() - kBackground.blue())
            > 48;
    };
    auto covered = [&](const QImage& from, const QImage& in) {
        for (int y = 0; y < from.height(); ++y)
            for (int x = 0; x < from.width(); ++x) {
                if (!drawn(from, x, y))
                    continue;
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx)
                        near = drawn(in, x + dx, y + dy);
                if (!near)
                    return false;
            }
        return true;
    };
    return covered(a, b) && covered(b, a);
}

// How many pixels differ in a channel by more than antialiasing's rounding.
int pixelsApart(const QImage& a, const QImage& b)
{
    constexpr int kRounding = 8;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            count += std::max(
                         {std::abs(p.red() - q.red()), std::abs(p.green() - q.green()), std::abs(p.blue() - q.blue())})
                    > kRounding
                ? 1
                : 0;
        }
    return count;
}

bool isBackground(const QImage& image, QPoint at) { return image.pixelColor(at) == kBackground; }

QPoint pixelOf(const ViewTransform& view, double x, double y)
{
    const ScreenPoint s = view.toScreen(x, y);
    return {static_cast<int>(s.x), static_cast<int>(s.y)};
}

} // namespace

class StudioFrameTest : public QObject {
    Q_OBJECT
private slots:
    void framesAreWhatEachEntityDraws()
    {
        Sample sample;
        DrawingScene scene(*sample.db);
        // Everything, and a close view of the wide polyline (partly out of the frame).
        for (const ViewTransform& view : {viewOf(0, 0, 100, 100), viewOf(20, 55, 50, 75)}) {
            const QImage first = sceneFrame(scene, view);
            QCOMPARE(differingPixels(first, entityByEntity(*sample.db, view)), 0);
            // Drawn again from what the scene kept.
            QCOMPARE(differingPixels(sceneFrame(scene, view), first), 0);
        }
    }

    void manyEntitiesAcrossTheMiddleComeOutAsDrawnOneByOne()
    {
        // Enough entities for the two halves of the frame to be painted at once: lines at every
        // angle through the middle row, circles, arcs, wide polylines and texts across it, one of
        // them highlighted.
        Sample sample;
        OdDbDatabase& db = *sample.db;
        for (int i = 0; i < 2100; ++i) {
            const double t = i * 0.0173, x = 5.0 + (i % 90), y = 50.0 + (i % 7) - 3.0;
            switch (i % 5) {
            case 0: {
                OdDbLinePtr l = OdDbLine::createObject();
                l->setStartPoint({x - 20.0 * std::cos(t), y - 20.0 * std::sin(t), 0});
                l->setEndPoint({x + 20.0 * std::cos(t), y + 20.0 * std::sin(t), 0});
                l->setColorIndex(static_cast<std::int16_t>(1 + i % 7));
                append(db, l.get());
                break;
            }
            case 1: {
                OdDbCirclePtr c = OdDbCircle::createObject();
                c->setCenter({x, y, 0});
                c->setRadius(1.0 + i % 11);
                append(db, c.get());
                break;
            }
            case 2: {
                OdDbArcPtr a = OdDbArc::createObject();
                a->setCenter({x, y + 2.0, 0});
                a->setRadius(3.0 + i % 5);
                a->setStartAngle(t);
                a->setEndAngle(t + 3.5);
                a->setColorIndex(4);
                append(db, a.get());
                break;
            }
            case 3: {
                OdDbPolylinePtr p = OdDbPolyline::createObject();
                p->addVertexAt(0, OdGePoint2d(x, y - 6.0), 0.3, 0.2, 0.9);
                p->addVertexAt(1, OdGePoint2d(x + 3.0, y + 6.0), 0.0, 0.9, 0.1);
                p->addVertexAt(2, OdGePoint2d(x + 5.0, y + 9.0));
                p->setColorIndex(3);
                append(db, p.get());
                break;
            }
            default: {
                OdDbTextPtr text = OdDbText::createObject();
                text->setPosition({x, y - 1.5, 0});
                text->setHeight(3.0 + i % 4);
                text->setRotation(t);
                text->setTextString(L"Room");
                append(db, text.get());
                break;
            }
            }
        }
        OdDbEntityPtr(sample.line.safeOpenObject(OdDb::kForWrite))->highlight();
        DrawingScene scene(db);
        for (const ViewTransform& view : {viewOf(0, 0, 100, 100), viewOf(30, 35, 60, 65)})
            QCOMPARE(differingPixels(sceneFrame(scene, view), entityByEntity(db, view)), 0);
    }

    void thinWideSegmentsAreOneBand()
    {
        // Widths from a tenth to about two thirds of a unit, with bulges: drawn as one band where
        // they are thinner than two pixels, and as one piece a segment where wider.
        std::vector<vantrel::PathVertex> vertices;
        vertices.reserve(9);
        for (int v = 0; v < 9; ++v)
            vertices.push_back({{10.0 + v * 9.0, 50.0 + (v % 3) * 7.0, 0.0},
                                v % 4 == 2 ? 0.6 : 0.0,
                                0.07 * (v + 1),
                                0.07 * (v + 1) + 0.05});
        auto draw = [&](const ViewTransform& view, bool whole) {
            QImage image = blank();
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing, true);
            QPainterSink sink(painter, view);
            sink.setTraits({});
            if (whole) {
                sink.path(vertices, false, OdGeVector3d::kZAxis);
                return image;
            }
            for (std::size_t i = 0; i + 1 < vertices.size(); ++i)
                sink.path(std::span(vertices).subspan(i, 2), false, OdGeVector3d::kZAxis);
            return image;
        };
        const ViewTransform far = viewOf(0, 0, 100, 100);
        QVERIFY(0.7 * far.scale() < QPainterSink::kThinBandPixels);
        QVERIFY(withinAPixel(draw(far, true), draw(far, false)));
        const ViewTransform close = viewOf(8, 46, 22, 60);
        QVERIFY(0.12 * close.scale() > QPainterSink::kThinBandPixels);
        QCOMPARE(differingPixels(draw(close, true), draw(close, false)), 0);
    }

    void panningMovesThePictureAndPaintsWhatCameIn()
    {
        Sample sample;
        // Entities smaller than a pixel, drawn as dots, some of them sharing pixels.
        for (int i = 0; i < 40; ++i) {
            OdDbCirclePtr c = OdDbCircle::createObject();
            const int row = i / 8;
            c->setCenter({60.0 + (i % 8) * 0.25, 28.0 + row * 0.3, 0});
            c->setRadius(0.05);
            c->setColorIndex(static_cast<std::int16_t>(1 + i % 3));
            append(*sample.db, c.get());
        }
        DrawingScene scene(*sample.db);
        ViewFrame frame(kBackground);
        ViewTransform view = viewOf(10, 10, 80, 80);
        (void)frame.render(scene, view);
        QCOMPARE(frame.lastPainted(), ViewFrame::Painted::Whole);
        // Across, down, both ways at once, and back: each time what a whole paint gives, but for
        // lines that crossed an edge of the view, which Qt antialiases from where it cuts them.
        for (const QPoint step : {QPoint(13, 0), QPoint(0, -7), QPoint(-21, 9), QPoint(30, 31), QPoint(-22, -33)}) {
            view.panPixels(step.x(), step.y());
            const QImage& moved = frame.render(scene, view);
            QCOMPARE(frame.lastPainted(), ViewFrame::Painted::Strips);
            const QImage whole = sceneFrame(scene, view);
            QVERIFY(withinAPixel(moved, whole));
            QVERIFY(pixelsApart(moved, whole) < kSide * kSide / 80);
        }
        (void)frame.render(scene, view);
        QCOMPARE(frame.lastPainted(), ViewFrame::Painted::Nothing);

        // Half a pixel, further than the view is wide, another scale: painted whole.
        view.panPixels(0.5, 0.0);
        (void)frame.render(scene, view);
        QCOMPARE(frame.lastPainted(), ViewFrame::Painted::Whole);
        view.panPixels(kSide + 1, 0.0);
        (void)frame.render(scene, view);
        QCOMPARE(frame.lastPainted(), ViewFrame::Painted::Whole);
        view.zoomAbout(100, 100, 1.2);
        (void)frame.render(scene, view);
        QCOMPARE(frame.lastPainted(), ViewFrame::Painted::Whole);

        // A change of the drawing is never moved along with the old picture.
        view = viewOf(0, 0, 100, 100);
        (void)frame.render(scene, view);
        {
            OdDbLinePtr line = sample.line.safeOpenObject(OdDb::kForWrite);
            line->setEndPoint({90, 90, 0});
        }
        view.panPixels(4, 4);
        const QImage& changed = frame.render(scene, view);
        QCOMPARE(frame.lastPainted(), ViewFrame::Painted::Whole);
        QVERIFY(!isBackground(changed, pixelOf(view, 47.3, 47.3)));
        QCOMPARE(differingPixels(changed, sceneFrame(scene, view)), 0);
        frame.invalidate();
        (void)frame.render(scene, view);
        QCOMPARE(frame.lastPainted(), ViewFrame::Painted::Whole);
    }

    void changesErasuresAndUndoRepaint()
    {
        Sample sample;
        DrawingScene scene(*sample.db);
        const ViewTransform view = viewOf(0, 0, 100, 100);
        const QImage before = sceneFrame(scene, view);
        const QPoint lineMiddle = pixelOf(view, 47.5, 22.5);
        QVERIFY(!isBackground(before, lineMiddle));

        sample.db->blockUndoRecording(true);
        {
            OdDbLinePtr line = sample.line.safeOpenObject(OdDb::kForWrite);
            line->setStartPoint({5, 50, 0});
            line->setEndPoint({5, 90, 0});
        }
        OdDbEntityPtr(sample.text.safeOpenObject(OdDb::kForWrite))->setColorIndex(1);
        QCOMPARE(sample.wide.safeOpenObject(OdDb::kForWrite)->erase(true), eOk);
        sample.db->blockUndoRecording(false);

        const QImage changed = sceneFrame(scene, view);
        QCOMPARE(differingPixels(changed, entityByEntity(*sample.db, view)), 0);
        QVERIFY(isBackground(changed, lineMiddle));
        QVERIFY(!isBackground(changed, pixelOf(view, 5, 70)));

        QVERIFY(sample.db->undo());
        QCOMPARE(differingPixels(sceneFrame(scene, view), before), 0);
        QVERIFY(sample.db->redo());
        QCOMPARE(differingPixels(sceneFrame(scene, view), changed), 0);
    }

    void highlightsAndLayersSwitchedOff()
    {
        Sample sample;
        DrawingScene scene(*sample.db);
        const ViewTransform view = viewOf(0, 0, 100, 100);
        const QImage plain = sceneFrame(scene, view);

        OdDbEntityPtr(sample.circle.safeOpenObject())->highlight(true);
        const QImage highlighted = sceneFrame(scene, view);
        QVERIFY(differingPixels(highlighted, plain) > 0);
        QCOMPARE(differingPixels(highlighted, entityByEntity(*sample.db, view)), 0);
        OdDbEntityPtr(sample.circle.safeOpenObject())->highlight(false);
        QCOMPARE(differingPixels(sceneFrame(scene, view), plain), 0);

        switchOff(sample.walls, true);
        const QImage off = sceneFrame(scene, view);
        QCOMPARE(differingPixels(off, entityByEntity(*sample.db, view)), 0);
        // The circle's rightmost point and the middle of the line on the layer are gone.
        QVERIFY(!isBackground(plain, pixelOf(view, 84, 75)));
        QVERIFY(isBackground(off, pixelOf(view, 84, 75)));
        QVERIFY(isBackground(off, pixelOf(view, 35, 52.5)));
        switchOff(sample.walls, false);
        QCOMPARE(differingPixels(sceneFrame(scene, view), plain), 0);
    }
};

QTEST_MAIN(StudioFrameTest)
#include "studio_frame_test.moc"
