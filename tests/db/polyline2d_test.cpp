// Tests of the 2D polyline: the exchange with lightweight polylines (with and without handing
// the id over, and its undo), curve and spline fitting and straightening, vertices in the
// database, and transformation.
#include "DbFixture.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDbPolyline.h>

namespace {

constexpr double kPi = std::numbers::pi;

void openStep(OdDbDatabase& db)
{
    db.startUndoRecord();
    db.setUndoMark();
    db.startUndoRecord();
}

OdDbPolylinePtr makeLw()
{
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    pl->addVertexAt(0, OdGePoint2d(0, 0), 0.0, 1.0, 2.0, 11);
    pl->addVertexAt(1, OdGePoint2d(10, 0), 1.0, 0.5, 0.5);
    pl->addVertexAt(2, OdGePoint2d(10, 10), -0.3, 0.0, 0.25, 13);
    pl->addVertexAt(3, OdGePoint2d(0, 10));
    pl->setNormal(OdGeVector3d(0, 1, 1));
    pl->setElevation(3.0);
    pl->setThickness(0.5);
    pl->setPlinegen(true);
    pl->setClosed(true);
    return pl;
}

OdDb2dPolylinePtr make2d(const std::vector<OdGePoint2d>& points, bool closed = false)
{
    OdDb2dPolylinePtr pl = OdDb2dPolyline::createObject();
    for (std::size_t i = 0; i < points.size(); ++i) {
        OdDb2dVertexPtr v = OdDb2dVertex::createObject();
        v->setPosition(OdGePoint3d(points[i].x, points[i].y, 0));
        v->setStartWidth(0.1 * static_cast<double>(i));
        v->setEndWidth(0.2 * static_cast<double>(i));
        pl->appendVertex(v.get());
    }
    if (closed)
        pl->makeClosed();
    return pl;
}

std::vector<OdGePoint2d> positions(const OdDb2dPolyline& pl)
{
    std::vector<OdGePoint2d> out;
    for (auto it = pl.vertexIterator(); !it->done(); it->step()) {
        const OdGePoint3d p = OdDb2dVertexPtr(it->vertex())->position();
        out.emplace_back(p.x, p.y);
    }
    return out;
}

std::vector<OdDb::Vertex2dType> types(const OdDb2dPolyline& pl)
{
    std::vector<OdDb::Vertex2dType> out;
    for (unsigned int i = 0; i < pl.numVertices(); ++i)
        out.push_back(pl.vertexAt(i)->vertexType());
    return out;
}

void expectSameVertices(const OdDbPolyline& a, const OdDbPolyline& b)
{
    ASSERT_EQ(a.numVerts(), b.numVerts());
    for (unsigned int i = 0; i < a.numVerts(); ++i) {
        const auto& va = a.data().vertices[i];
        const auto& vb = b.data().vertices[i];
        EXPECT_EQ(va.point, vb.point) << i;
        EXPECT_EQ(va.bulge, vb.bulge) << i;
        EXPECT_EQ(va.startWidth, vb.startWidth) << i;
        EXPECT_EQ(va.endWidth, vb.endWidth) << i;
        EXPECT_EQ(va.identifier, vb.identifier) << i;
    }
    EXPECT_EQ(a.isClosed(), b.isClosed());
    EXPECT_EQ(a.hasPlinegen(), b.hasPlinegen());
    EXPECT_EQ(a.elevation(), b.elevation());
    EXPECT_EQ(a.thickness(), b.thickness());
    EXPECT_TRUE(a.normal().isEqualTo(b.normal()));
}

// The convex hull of points (counter-clockwise), and whether a point lies inside it.
std::vector<OdGePoint2d> hull(std::vector<OdGePoint2d> p)
{
    std::sort(p.begin(), p.end(), [](auto a, auto b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    std::vector<OdGePoint2d> h(2 * p.size());
    std::size_t k = 0;
    auto cross = [](OdGePoint2d o, OdGePoint2d a, OdGePoint2d b) { return (a - o).crossProduct(b - o); };
    for (std::size_t i = 0; i < p.size(); ++i) {
        while (k >= 2 && cross(h[k - 2], h[k - 1], p[i]) <= 0)
            --k;
        h[k++] = p[i];
    }
    for (std::size_t i = p.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && cross(h[k - 2], h[k - 1], p[i]) <= 0)
            --k;
        h[k++] = p[i];
    }
    h.resize(k - 1);
    return h;
}

bool inside(const std::vector<OdGePoint2d>& h, const OdGePoint2d& q)
{
    for (std::size_t i = 0; i < h.size(); ++i)
        if ((h[(i + 1) % h.size()] - h[i]).crossProduct(q - h[i]) < -1e-9)
            return false;
    return true;
}

TEST(Polyline2d, ConvertToThenConvertFromGivesBackTheSameVertices)
{
    OdDbPolylinePtr lw = makeLw();
    OdDb2dPolylinePtr pl2d = OdDb2dPolyline::createObject();
    ASSERT_EQ(lw->convertTo(pl2d.get(), false), eOk);
    ASSERT_EQ(pl2d->numVertices(), 4u);
    EXPECT_EQ(pl2d->polyType(), OdDb::k2dSimplePoly);
    EXPECT_TRUE(pl2d->isClosed());
    EXPECT_TRUE(pl2d->isLinetypeGenerationOn());
    EXPECT_EQ(pl2d->elevation(), 3.0);
    EXPECT_EQ(pl2d->vertexAt(1)->bulge(), 1.0);
    EXPECT_EQ(pl2d->vertexAt(2)->endWidth(), 0.25);
    EXPECT_EQ(pl2d->vertexAt(2)->vertexIdentifier(), 13);
    OdGePoint3d w2d, wlw;
    lw->getPointAt(2, wlw);
    w2d = pl2d->vertexPosition(*pl2d->vertexAt(2));
    EXPECT_TRUE(w2d.isEqualTo(wlw));

    OdDbPolylinePtr back = OdDbPolyline::createObject();
    ASSERT_EQ(back->convertFrom(pl2d.get(), false), eOk);
    expectSameVertices(*lw, *back);

    OdDbPolylinePtr other = OdDbPolyline::createObject();
    EXPECT_EQ(other->convertFrom(back.get(), false), eNotThatKindOfClass);
    EXPECT_EQ(lw->convertTo(pl2d.get(), false), eInvalidInput) << "the target must be empty";
}

TEST(Polyline2d, AConstantWidthSurvivesTheRoundTrip)
{
    OdDbPolylinePtr lw = OdDbPolyline::createObject();
    lw->addVertexAt(0, OdGePoint2d(0, 0));
    lw->addVertexAt(1, OdGePoint2d(5, 0));
    lw->setConstantWidth(0.75);
    OdDb2dPolylinePtr pl2d = OdDb2dPolyline::createObject();
    ASSERT_EQ(lw->convertTo(pl2d.get(), false), eOk);
    EXPECT_EQ(pl2d->defaultStartWidth(), 0.75);
    EXPECT_EQ(pl2d->vertexAt(1)->startWidth(), 0.75);
    OdDbPolylinePtr back = OdDbPolyline::createObject();
    EXPECT_EQ(eOk, back->convertFrom(pl2d.get(), false));
    EXPECT_EQ(back->getConstantWidth(), 0.75);
}

TEST(Polyline2d, CurveFitPassesThroughEveryPlainVertexSmoothly)
{
    const std::vector<OdGePoint2d> pts{{0, 0}, {4, 3}, {8, -1}, {12, 4}, {16, 0}};
    OdDb2dPolylinePtr pl = make2d(pts);
    pl->curveFit();
    EXPECT_EQ(pl->polyType(), OdDb::k2dFitCurvePoly);
    ASSERT_EQ(pl->numVertices(), 9u);
    const auto t = types(*pl);
    for (std::size_t i = 0; i < t.size(); ++i)
        EXPECT_EQ(t[i], i % 2 == 0 ? OdDb::k2dVertex : OdDb::k2dCurveFitVertex) << i;

    for (std::size_t i = 0; i < pts.size(); ++i) {
        double param;
        ASSERT_EQ(pl->getParamAtPoint(OdGePoint3d(pts[i].x, pts[i].y, 0), param), eOk) << i;
        EXPECT_NEAR(param, 2.0 * static_cast<double>(i), 1e-9);
    }
    // Tangents agree on both sides of every inner vertex, given and generated.
    for (double p = 1.0; p < 8.0; p += 1.0) {
        OdGeVector3d before, after;
        EXPECT_EQ(eOk, pl->getFirstDeriv(p - 1e-9, before));
        EXPECT_EQ(eOk, pl->getFirstDeriv(p + 1e-9, after));
        EXPECT_GT(before.normal().dotProduct(after.normal()), 1.0 - 1e-6) << "kink at parameter " << p;
    }

    pl->straighten();
    EXPECT_EQ(pl->polyType(), OdDb::k2dSimplePoly);
    EXPECT_EQ(positions(*pl), pts);
    for (unsigned int i = 0; i < pl->numVertices(); ++i) {
        EXPECT_EQ(pl->vertexAt(i)->bulge(), 0.0);
        EXPECT_EQ(pl->vertexAt(i)->endWidth(), 0.2 * i) << "widths survive fit and straighten";
    }
}

TEST(Polyline2d, CurveFitFollowsAGivenTangentAndClosedPolylinesAllRound)
{
    OdDb2dPolylinePtr pl = make2d({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, true);
    OdDb2dVertexPtr v = pl->vertexAt(1, OdDb::kForWrite);
    v->useTangent();
    v->setTangent(kPi / 4);
    pl->curveFit();
    ASSERT_EQ(pl->numVertices(), 8u);
    OdGeVector3d d;
    EXPECT_EQ(eOk, pl->getFirstDeriv(2.0, d));
    EXPECT_NEAR(d.normal().x, std::sqrt(0.5), 1e-9);
    EXPECT_NEAR(d.normal().y, std::sqrt(0.5), 1e-9);
    // The closing segment is fitted too: smooth where the path comes back to its start.
    OdGeVector3d first, last;
    double end;
    EXPECT_EQ(eOk, pl->getEndParam(end));
    EXPECT_EQ(end, 8.0);
    EXPECT_EQ(eOk, pl->getFirstDeriv(0.0, first));
    EXPECT_EQ(eOk, pl->getFirstDeriv(end, last));
    EXPECT_GT(first.normal().dotProduct(last.normal()), 1.0 - 1e-6);
}

TEST(Polyline2d, SplineFitStaysInTheControlHullAndStraightenRestores)
{
    const std::vector<OdGePoint2d> pts{{0, 0}, {4, 8}, {8, -2}, {12, 6}, {16, 0}};
    const auto frame = hull(pts);
    for (OdDb::Poly2dType type : {OdDb::k2dQuadSplinePoly, OdDb::k2dCubicSplinePoly}) {
        OdDb2dPolylinePtr pl = make2d(pts);
        pl->splineFit(type, 8);
        EXPECT_EQ(pl->polyType(), type);
        const std::size_t spans = type == OdDb::k2dQuadSplinePoly ? 3 : 2;
        const auto path = pl->pathVertices();
        ASSERT_EQ(path.size(), spans * 8 + 1);
        ASSERT_EQ(pl->numVertices(), path.size() + pts.size());
        EXPECT_TRUE(path.front()->position().isEqualTo(OdGePoint3d(0, 0, 0)));
        EXPECT_TRUE(path.back()->position().isEqualTo(OdGePoint3d(16, 0, 0)));
        for (const auto& v : path) {
            EXPECT_EQ(v->vertexType(), OdDb::k2dSplineFitVertex);
            EXPECT_TRUE(inside(frame, OdGePoint2d(v->position().x, v->position().y)));
        }
        EXPECT_EQ(pl->vertexAt(pl->numVertices() - 1)->vertexType(), OdDb::k2dSplineCtlVertex);
        // Widths run along the frame: from segment 0's start to the last segment's end.
        EXPECT_EQ(path.front()->startWidth(), 0.0);
        EXPECT_NEAR(path.back()->startWidth(), 0.6, 1e-12);

        pl->straighten();
        EXPECT_EQ(positions(*pl), pts);
        EXPECT_EQ(types(*pl), std::vector<OdDb::Vertex2dType>(pts.size(), OdDb::k2dVertex));
        EXPECT_EQ(pl->vertexAt(3)->startWidth(), 0.1 * 3);
    }
}

TEST(Polyline2d, ClosedSplinesRunRoundTheFrameAndBadTypesAreRefused)
{
    const std::vector<OdGePoint2d> pts{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    OdDb2dPolylinePtr closed = make2d(pts, true);
    closed->splineFit(OdDb::k2dCubicSplinePoly, 5);
    EXPECT_EQ(closed->pathVertices().size(), 4u * 5u) << "periodic: every frame edge is a span";
    // The periodic cubic of a square is symmetric: its path stays strictly inside the square.
    for (const auto& v : closed->pathVertices()) {
        EXPECT_GT(v->position().x, 0.0);
        EXPECT_LT(v->position().x, 10.0);
    }
    EXPECT_THROW(closed->splineFit(OdDb::k2dFitCurvePoly, 4), OdError);
    OdDb2dPolylinePtr lonely = make2d({{1, 1}});
    EXPECT_THROW(lonely->curveFit(), OdError);
    EXPECT_EQ(lonely->polyType(), OdDb::k2dSimplePoly);
}

// Frames of 2 to 9 vertices at random (a fixed seed), no two neighbours equal, each tried open
// and closed.
struct Frame {
    std::vector<OdGePoint2d> points;
    bool closed = false;
};

std::vector<Frame> randomFrames()
{
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> coordinate(-50.0, 50.0);
    std::vector<Frame> frames;
    for (std::size_t n = 2; n <= 9; ++n) {
        for (int copy = 0; copy < 4; ++copy) {
            Frame f;
            while (f.points.size() < n) {
                const OdGePoint2d p(coordinate(random), coordinate(random));
                if (f.points.empty() || p.distanceTo(f.points.back()) > 1.0)
                    f.points.push_back(p);
            }
            frames.push_back(f);
            f.closed = n > 2;
            if (f.closed)
                frames.push_back(f);
        }
    }
    return frames;
}

// The largest turn of the path's direction across one of its vertices (at the start of a closed
// path too), in radians. A segment of bulge b leaves its start turned by -2 atan(b) from its
// chord and arrives turned by +2 atan(b).
double largestKink(const OdDb2dPolyline& pl)
{
    const auto path = pl.pathVertices();
    const std::size_t n = path.size();
    const std::size_t segments = pl.isClosed() ? n : n - 1;
    std::vector<double> leaving(segments), arriving(segments);
    for (std::size_t i = 0; i < segments; ++i) {
        const OdGePoint3d a = path[i]->position(), b = path[(i + 1) % n]->position();
        const double chord = std::atan2(b.y - a.y, b.x - a.x), half = 2.0 * std::atan(path[i]->bulge());
        leaving[i] = chord - half;
        arriving[i] = chord + half;
    }
    double worst = 0.0;
    for (std::size_t i = pl.isClosed() ? 0 : 1; i < segments; ++i) {
        const double turn = std::remainder(leaving[i] - arriving[(i + segments - 1) % segments], 2.0 * kPi);
        worst = std::max(worst, std::fabs(turn));
    }
    return worst;
}

std::vector<OdGePoint2d> positionsOfType(const OdDb2dPolyline& pl, OdDb::Vertex2dType type)
{
    std::vector<OdGePoint2d> out;
    for (auto it = pl.vertexIterator(); !it->done(); it->step()) {
        const OdDb2dVertexPtr v = it->vertex();
        if (v->vertexType() == type)
            out.emplace_back(v->position().x, v->position().y);
    }
    return out;
}

TEST(Polyline2dFit, ACurveFitPassesThroughEveryDefiningVertexWithoutAKink)
{
    for (const Frame& f : randomFrames()) {
        SCOPED_TRACE(testing::Message() << f.points.size() << (f.closed ? " closed" : " open"));
        OdDb2dPolylinePtr pl = make2d(f.points, f.closed);
        pl->curveFit();
        // Two arcs a segment: defining vertex i is path vertex 2i.
        EXPECT_EQ(positionsOfType(*pl, OdDb::k2dVertex), f.points);
        EXPECT_EQ(pl->pathVertices().size(), 2 * f.points.size() - (f.closed ? 0 : 1));
        for (std::size_t i = 0; i < f.points.size(); ++i) {
            OdGePoint3d at;
            ASSERT_EQ(pl->getPointAtParam(2.0 * static_cast<double>(i), at), eOk);
            EXPECT_TRUE(at.isEqualTo(OdGePoint3d(f.points[i].x, f.points[i].y, 0.0), OdGeTol(1e-9)));
        }
        EXPECT_LT(largestKink(*pl), 1e-6);
        pl->straighten();
        EXPECT_EQ(positions(*pl), f.points) << "decurving gives the defining vertices back";
    }
}

TEST(Polyline2dFit, TwoVerticesClosedFitTheCircleOnTheirChord)
{
    OdDb2dPolylinePtr pl = make2d({{0, 0}, {10, 0}}, true);
    pl->curveFit();
    const auto path = pl->pathVertices();
    ASSERT_EQ(path.size(), 4u);
    for (const auto& v : path) {
        EXPECT_NEAR(v->position().distanceTo(OdGePoint3d(5, 0, 0)), 5.0, 1e-9);
        EXPECT_NEAR(std::fabs(v->bulge()), std::tan(kPi / 8), 1e-9) << "a quarter circle each";
    }
    EXPECT_LT(largestKink(*pl), 1e-9);
}

TEST(Polyline2dFit, ASplineFitKeepsTheFrameAndGeneratesTheSegmentsOfEverySpan)
{
    for (const Frame& f : randomFrames()) {
        const std::size_t n = f.points.size();
        for (OdDb::Poly2dType type : {OdDb::k2dQuadSplinePoly, OdDb::k2dCubicSplinePoly}) {
            for (std::int16_t segments : std::initializer_list<std::int16_t>{1, 3, 8}) {
                SCOPED_TRACE(testing::Message()
                             << n << (f.closed ? " closed" : " open") << " type " << type << " segments " << segments);
                OdDb2dPolylinePtr pl = make2d(f.points, f.closed);
                // A fit curve's arcs leave its vertices when they become the frame.
                if (segments == 3)
                    pl->curveFit();
                pl->splineFit(type, segments);
                for (auto it = pl->vertexIterator(); !it->done(); it->step())
                    EXPECT_EQ(OdDb2dVertexPtr(it->vertex())->bulge(), 0.0);
                const std::size_t degree = std::min<std::size_t>(type == OdDb::k2dQuadSplinePoly ? 2 : 3, n - 1);
                const std::size_t spans = f.closed ? n : n - degree;
                const auto path = positionsOfType(*pl, OdDb::k2dSplineFitVertex);
                ASSERT_EQ(path.size(), spans * static_cast<std::size_t>(segments) + (f.closed ? 0 : 1));
                EXPECT_EQ(positionsOfType(*pl, OdDb::k2dSplineCtlVertex), f.points) << "the frame is kept";
                EXPECT_EQ(pl->pathVertices().size(), path.size());
                if (!f.closed) {
                    EXPECT_TRUE(path.front().isEqualTo(f.points.front()));
                    EXPECT_TRUE(path.back().isEqualTo(f.points.back()));
                }
                pl->straighten();
                EXPECT_EQ(positions(*pl), f.points);
            }
        }
    }
}

// How far the path strays from a reference path, sampled at half parameters.
double largestDistance(const OdDb2dPolyline& path, const OdDb2dPolyline& reference)
{
    double end = 0.0, worst = 0.0;
    EXPECT_EQ(eOk, path.getEndParam(end));
    for (double p = 0.0; p <= end; p += 0.5) {
        OdGePoint3d at, near;
        EXPECT_EQ(eOk, path.getPointAtParam(p, at));
        EXPECT_EQ(eOk, reference.getClosestPointTo(at, near));
        worst = std::max(worst, at.distanceTo(near));
    }
    return worst;
}

TEST(Polyline2dFit, NegativeSegmentsCurveFitEveryGeneratedSegmentAlongTheSpline)
{
    for (const Frame& f : randomFrames()) {
        SCOPED_TRACE(testing::Message() << f.points.size() << (f.closed ? " closed" : " open"));
        OdDb2dPolylinePtr lines = make2d(f.points, f.closed), arcs = make2d(f.points, f.closed);
        lines->splineFit(OdDb::k2dCubicSplinePoly, 4);
        arcs->splineFit(OdDb::k2dCubicSplinePoly, -4);
        // The same spline points, with a curve-fit vertex between each two of them.
        const auto points = positionsOfType(*arcs, OdDb::k2dSplineFitVertex);
        EXPECT_EQ(points, positionsOfType(*lines, OdDb::k2dSplineFitVertex));
        EXPECT_EQ(positionsOfType(*arcs, OdDb::k2dCurveFitVertex).size(), points.size() - (f.closed ? 0 : 1));
        EXPECT_EQ(positionsOfType(*arcs, OdDb::k2dSplineCtlVertex), f.points);
        EXPECT_LT(largestKink(*arcs), 1e-6);
        arcs->straighten();
        EXPECT_EQ(positions(*arcs), f.points);
    }
    // Along a smooth spline the arcs keep far closer to it than chords between the same points.
    std::vector<OdGePoint2d> wave, oval;
    for (int i = 0; i < 9; ++i) {
        wave.emplace_back(10.0 * i, 15.0 * std::sin(0.8 * i));
        oval.emplace_back(40.0 * std::cos(kPi * i / 4.5), 25.0 * std::sin(kPi * i / 4.5));
    }
    for (const Frame& f : {Frame{wave, false}, Frame{oval, true}}) {
        OdDb2dPolylinePtr lines = make2d(f.points, f.closed), arcs = make2d(f.points, f.closed),
                          fine = make2d(f.points, f.closed);
        lines->splineFit(OdDb::k2dCubicSplinePoly, 3);
        arcs->splineFit(OdDb::k2dCubicSplinePoly, -3);
        fine->splineFit(OdDb::k2dCubicSplinePoly, 32);
        EXPECT_LT(largestDistance(*arcs, *fine), 0.1 * largestDistance(*lines, *fine)) << f.closed;
    }
}

TEST(Polyline2d, TransformTurnsTangentsAndMirrorNegatesBulges)
{
    OdDbPolylinePtr lw = makeLw();
    lw->setNormal(OdGeVector3d::kZAxis);
    OdDb2dPolylinePtr pl = OdDb2dPolyline::createObject();
    EXPECT_EQ(eOk, lw->convertTo(pl.get(), false));
    OdDb2dVertexPtr v = pl->vertexAt(0, OdDb::kForWrite);
    v->useTangent();
    v->setTangent(0.0);
    pl->transformBy(OdGeMatrix3d::rotation(kPi / 2, OdGeVector3d::kZAxis));
    EXPECT_NEAR(pl->vertexAt(0)->tangent(), kPi / 2, 1e-12);
    EXPECT_NEAR(pl->vertexAt(1)->position().x, 0.0, 1e-12);
    EXPECT_NEAR(pl->vertexAt(1)->position().y, 10.0, 1e-12);
    EXPECT_EQ(pl->vertexAt(1)->bulge(), 1.0);
    pl->transformBy(OdGeMatrix3d::mirroring(OdGePlane(OdGePoint3d(0, 0, 0), OdGeVector3d(1, 0, 0))));
    EXPECT_EQ(pl->vertexAt(1)->bulge(), -1.0);
    EXPECT_EQ(pl->vertexAt(2)->bulge(), 0.3);
}

// --- in a drawing ---

class Polyline2dDb : public DbFixture {
protected:
    OdDbObjectId post(OdDbEntity* e) { return modelSpace(OdDb::kForWrite)->appendOdDbEntity(e); }
};

TEST_F(Polyline2dDb, HandingALightweightPolylineOverKeepsItsIdAndUndoRestoresIt)
{
    OdDbPolylinePtr lw = makeLw();
    const OdDbObjectId id = post(lw.get());
    lw.release();
    openStep(*db);
    {
        OdDbPolylinePtr src = id.safeOpenObject(OdDb::kForWrite);
        OdDb2dPolylinePtr dest = OdDb2dPolyline::createObject();
        ASSERT_EQ(src->convertTo(dest.get(), true), eOk);
    }
    OdDb2dPolylinePtr now = OdDb2dPolylinePtr(id.safeOpenObject());
    const std::vector<OdDbObjectId> vertexIds = now->vertexIds();
    ASSERT_EQ(vertexIds.size(), 4u);
    for (const OdDbObjectId& v : vertexIds) {
        ASSERT_TRUE(v.isValid());
        EXPECT_FALSE(v.isErased());
        EXPECT_EQ(v.safeOpenObject()->ownerId(), id);
    }
    EXPECT_EQ(now->openVertex(vertexIds[1])->bulge(), 1.0);
    EXPECT_EQ(modelSpace()->entityIds().back(), id);
    now.release();

    db->undoBack();
    OdDbPolylinePtr restored = OdDbPolyline::cast(id.safeOpenObject().get());
    ASSERT_TRUE(restored);
    expectSameVertices(*restored, *makeLw());
    for (const OdDbObjectId& v : vertexIds)
        EXPECT_TRUE(v.isErased()) << "the vertices of the undone polyline leave the drawing";
}

TEST_F(Polyline2dDb, ConvertFromWithTheIdErasesTheOldVerticesUntilUndo)
{
    OdDb2dPolylinePtr pl = make2d({{0, 0}, {5, 0}, {5, 5}});
    const OdDbObjectId id = post(pl.get());
    pl.release();
    const std::vector<OdDbObjectId> oldVertices = OdDb2dPolylinePtr(id.safeOpenObject())->vertexIds();
    openStep(*db);
    {
        OdDb2dPolylinePtr src = id.safeOpenObject(OdDb::kForWrite);
        OdDbPolylinePtr lw = OdDbPolyline::createObject();
        ASSERT_EQ(lw->convertFrom(src.get(), true), eOk);
        EXPECT_EQ(lw->objectId(), id);
        EXPECT_EQ(lw->numVerts(), 3u);
    }
    for (const OdDbObjectId& v : oldVertices)
        EXPECT_TRUE(v.isErased());
    db->undoBack();
    OdDb2dPolylinePtr back = OdDb2dPolylinePtr(id.safeOpenObject());
    EXPECT_EQ(back->vertexIds(), oldVertices);
    for (const OdDbObjectId& v : oldVertices)
        EXPECT_FALSE(v.isErased());
}

TEST_F(Polyline2dDb, FitsAddAndEraseVerticesUndoably)
{
    OdDb2dPolylinePtr pl = make2d({{0, 0}, {4, 3}, {8, -1}, {12, 4}});
    const OdDbObjectId id = post(pl.get());
    pl.release();
    const auto before = OdDb2dPolylinePtr(id.safeOpenObject())->vertexIds();

    openStep(*db);
    OdDb2dPolylinePtr(id.safeOpenObject(OdDb::kForWrite))->curveFit();
    std::vector<OdDbObjectId> fitted = OdDb2dPolylinePtr(id.safeOpenObject())->vertexIds();
    ASSERT_EQ(fitted.size(), 7u);
    EXPECT_EQ(fitted[0], before[0]);
    EXPECT_TRUE(fitted[1].isValid());
    EXPECT_EQ(fitted[1].safeOpenObject()->ownerId(), id);

    openStep(*db);
    OdDb2dPolylinePtr(id.safeOpenObject(OdDb::kForWrite))->straighten();
    EXPECT_TRUE(fitted[1].isErased());
    EXPECT_EQ(OdDb2dPolylinePtr(id.safeOpenObject())->vertexIds(), before);

    db->undoBack();
    db->undoBack();
    OdDb2dPolylinePtr undone = OdDb2dPolylinePtr(id.safeOpenObject());
    EXPECT_EQ(undone->vertexIds(), before);
    EXPECT_EQ(undone->polyType(), OdDb::k2dSimplePoly);
    EXPECT_TRUE(fitted[1].isErased());
    EXPECT_EQ(undone->vertexAt(0)->bulge(), 0.0);
}

TEST_F(Polyline2dDb, SplineFitWithoutArgumentsUsesTheDrawingsSettings)
{
    db->setSysVar(L"SPLINETYPE", OdResBuf::newRb(70, std::int32_t(5)).get());
    db->setSysVar(L"SPLINESEGS", OdResBuf::newRb(70, std::int32_t(3)).get());
    OdDb2dPolylinePtr pl = make2d({{0, 0}, {4, 3}, {8, -1}, {12, 4}});
    post(pl.get());
    pl->splineFit();
    EXPECT_EQ(pl->polyType(), OdDb::k2dQuadSplinePoly);
    EXPECT_EQ(pl->pathVertices().size(), 2u * 3u + 1u);
}

TEST_F(Polyline2dDb, ARegeneratedCopyTakesOverTheIdWithFreshVertices)
{
    OdDb2dPolylinePtr pl = make2d({{0, 0}, {5, 0}, {5, 5}});
    const OdDbObjectId id = post(pl.get());
    pl.release();
    OdDb2dPolylinePtr src = id.safeOpenObject(OdDb::kForWrite);
    const auto oldVertices = src->vertexIds();
    const auto oldPositions = positions(*src);
    OdDb2dPolylinePtr copy = OdDb2dPolylinePtr(src->clone());
    EXPECT_EQ(copy->vertexIds(), std::vector<OdDbObjectId>(3)) << "a clone's vertices are outside the drawing";
    src->handOverTo(copy.get());
    const auto newVertices = copy->vertexIds();
    ASSERT_EQ(newVertices.size(), 3u);
    EXPECT_TRUE(newVertices[0].isValid());
    EXPECT_NE(newVertices[0], oldVertices[0]);
    EXPECT_TRUE(oldVertices[0].isErased());
    EXPECT_EQ(positions(*copy), oldPositions);
    EXPECT_EQ(src->numVertices(), 0u) << "the old polyline's vertices left with it";

    copy->setColorIndex(3);
    EXPECT_EQ(newVertices[2].safeOpenObject()->isA(), OdDb2dVertex::desc());
    EXPECT_EQ(OdDb2dVertexPtr(newVertices[2].safeOpenObject())->colorIndex(), 3) << "properties reach the vertices";
}

TEST_F(Polyline2dDb, VerticesAddedByTheReaderKeepTheirHandles)
{
    OdDb2dPolylinePtr pl = OdDb2dPolyline::createObject();
    const OdDbObjectId id = post(pl.get());
    OdDb2dVertexPtr v = OdDb2dVertex::createObject();
    const OdDbObjectId vid = db->addOdDbObject(v.get(), id, OdDbHandle(0x4A1));
    EXPECT_EQ(pl->appendVertex(v.get()), vid);
    EXPECT_EQ(vid.getHandle(), OdDbHandle(0x4A1));
    EXPECT_THROW(pl->appendVertex(v.get()), OdError);
    OdDb2dPolylinePtr other = OdDb2dPolyline::createObject();
    post(other.get());
    EXPECT_THROW(other->appendVertex(v.get()), OdError) << "the vertex belongs to the first polyline";
    EXPECT_EQ(other->numVertices(), 0u);
}

} // namespace
