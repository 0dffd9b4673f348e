// Tests of the lightweight polyline: vertex editing keeps bulges and widths, segments, exact
// curve queries on arcs, transformation (mirroring, scaling, planes) and display.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include "db_key.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A path recorded from display.
struct PathRecorder : vantrel::WorldDraw {
    std::vector<std::vector<vantrel::PathVertex>> paths;
    std::vector<bool> closed;
    void setTraits(const vantrel::DrawTraits&) override {}
    void path(std::span<const vantrel::PathVertex> v, bool c, const OdGeVector3d&) override
    {
        paths.emplace_back(v.begin(), v.end());
        closed.push_back(c);
    }
    void polygon(std::span<const OdGePoint3d>, bool) override {}
    void circularArc(const OdGePoint3d&, double, const OdGeVector3d&, const OdGeVector3d&, double) override {}
    void ellipticArc(const OdGePoint3d&, const OdGeVector3d&, const OdGeVector3d&, double, double) override {}
    void region(std::span<const std::vector<OdGePoint3d>>) override {}
    void text(const vantrel::TextRun&) override {}
    void marker(const OdGePoint3d&, vantrel::MarkerKind, double) override {}
    void markerPolyline(const OdGePoint3d&, std::span<const OdGeVector3d>, double) override {}
};

// (0,0) -> (10,0) straight, then a counter-clockwise semicircle to (10,10), then straight to (0,10).
OdDbPolylinePtr makeHook()
{
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    pl->addVertexAt(0, OdGePoint2d(0, 0), 0.0, 1.0, 2.0);
    pl->addVertexAt(1, OdGePoint2d(10, 0), 1.0, 0.5, 0.5);
    pl->addVertexAt(2, OdGePoint2d(10, 10), 0.0, 0.0, 0.0, 7);
    pl->addVertexAt(3, OdGePoint2d(0, 10));
    return pl;
}

void expectNear(const OdGePoint3d& a, const OdGePoint3d& b, double tol = 1e-9)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

TEST(Polyline, AVertexOfItsOwnWidthsLeavesTheOthersTheConstantWidth)
{
    // As a file may give it: the constant width, and vertices without widths of their own.
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    pl->addVertexAt(0, OdGePoint2d(0, 0));
    pl->addVertexAt(1, OdGePoint2d(10, 0));
    pl->dataForWrite(vantrel::dbKey()).constantWidth = 0.8;
    pl->addVertexAt(2, OdGePoint2d(20, 0), 0.0, 0.8, -1.0);
    EXPECT_EQ(pl->getConstantWidth(), 0.8) << "a vertex of the constant width keeps it";
    pl->addVertexAt(3, OdGePoint2d(30, 0), 0.0, 0.0, 0.5);
    EXPECT_EQ(pl->getConstantWidth(), 0.0);
    for (unsigned i = 0; i < 3; ++i) {
        double s = 0, e = 0;
        pl->getWidthsAt(i, s, e);
        EXPECT_EQ(s, 0.8) << i;
        EXPECT_EQ(e, 0.8) << i;
    }
}

TEST(Polyline, AddAndRemoveKeepBulgesWidthsAndIdentifiers)
{
    OdDbPolylinePtr pl = makeHook();
    pl->addVertexAt(1, OdGePoint2d(5, -1), -0.25, 3.0, 4.0);
    ASSERT_EQ(pl->numVerts(), 5u);
    double s, e;
    pl->getWidthsAt(0, s, e);
    EXPECT_EQ(s, 1.0);
    EXPECT_EQ(e, 2.0);
    pl->getWidthsAt(1, s, e);
    EXPECT_EQ(s, 3.0);
    EXPECT_EQ(e, 4.0);
    EXPECT_EQ(pl->getBulgeAt(1), -0.25);
    EXPECT_EQ(pl->getBulgeAt(2), 1.0);
    EXPECT_EQ(pl->getVertexIdentifierAt(3), 7);

    pl->removeVertexAt(1);
    EXPECT_EQ(pl->getBulgeAt(1), 1.0);
    pl->getWidthsAt(1, s, e);
    EXPECT_EQ(s, 0.5);
    OdGePoint2d p;
    pl->getPointAt(1, p);
    EXPECT_EQ(p, OdGePoint2d(10, 0));
}

TEST(Polyline, InvalidIndicesRaiseAndChangeNothing)
{
    OdDbPolylinePtr pl = makeHook();
    OdGePoint2d p;
    EXPECT_THROW(pl->getPointAt(4, p), OdError_InvalidIndex);
    EXPECT_THROW(pl->removeVertexAt(4), OdError_InvalidIndex);
    EXPECT_THROW(pl->addVertexAt(6, OdGePoint2d()), OdError_InvalidIndex);
    EXPECT_THROW(pl->setBulgeAt(9, 1.0), OdError_InvalidIndex);
    EXPECT_THROW(pl->segType(4), OdError_InvalidIndex);
    EXPECT_EQ(pl->numVerts(), 4u);
    EXPECT_THROW(pl->setWidthsAt(0, -1.0, 1.0), OdError);
}

TEST(Polyline, DefaultWidthsFollowTheConstantWidthUntilASegmentGetsItsOwn)
{
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    pl->addVertexAt(0, OdGePoint2d(0, 0));
    pl->addVertexAt(1, OdGePoint2d(1, 0));
    pl->setConstantWidth(0.5);
    pl->addVertexAt(2, OdGePoint2d(2, 0)); // widths -1: the constant width
    double s, e;
    pl->getWidthsAt(2, s, e);
    EXPECT_EQ(s, 0.5);
    EXPECT_EQ(pl->getConstantWidth(), 0.5);

    pl->setWidthsAt(1, 1.0, 2.0);
    EXPECT_EQ(pl->getConstantWidth(), 0.0);
    pl->getWidthsAt(0, s, e);
    EXPECT_EQ(s, 0.5) << "the constant width is spread to the other segments";
    EXPECT_EQ(e, 0.5);
    pl->getWidthsAt(1, s, e);
    EXPECT_EQ(s, 1.0);
    EXPECT_EQ(e, 2.0);
    EXPECT_TRUE(pl->hasWidth());
}

TEST(Polyline, SegmentTypes)
{
    OdDbPolylinePtr pl = makeHook();
    pl->addVertexAt(4, OdGePoint2d(0, 10));
    EXPECT_EQ(pl->segType(0), OdDbPolyline::kLine);
    EXPECT_EQ(pl->segType(1), OdDbPolyline::kArc);
    EXPECT_EQ(pl->segType(3), OdDbPolyline::kCoincident);
    EXPECT_EQ(pl->segType(4), OdDbPolyline::kEmpty);
    pl->setClosed(true);
    EXPECT_EQ(pl->segType(4), OdDbPolyline::kLine);
    EXPECT_TRUE(pl->hasBulges());
    EXPECT_FALSE(pl->isOnlyLines());

    OdDbPolylinePtr single = OdDbPolyline::createObject();
    single->addVertexAt(0, OdGePoint2d(3, 3));
    EXPECT_EQ(single->segType(0), OdDbPolyline::kPoint);

    OdGeCircArc2d arc;
    pl->getArcSegAt(1, arc);
    EXPECT_NEAR(arc.center().x, 10.0, 1e-12);
    EXPECT_NEAR(arc.center().y, 5.0, 1e-12);
    EXPECT_NEAR(arc.radius(), 5.0, 1e-12);
    OdGeLineSeg2d line;
    EXPECT_THROW(pl->getLineSegAt(1, line), OdError);
    EXPECT_THROW(pl->getArcSegAt(0, arc), OdError);
    pl->getLineSegAt(2, line);
    EXPECT_EQ(line.endPoint(), OdGePoint2d(0, 10));
}

TEST(Polyline, ArcSegmentIn3dFollowsTheNormal)
{
    OdDbPolylinePtr pl = makeHook();
    pl->setNormal(OdGeVector3d(0, 0, -1));
    pl->setElevation(2.0);
    OdGeCircArc3d arc;
    pl->getArcSegAt(1, arc);
    OdGePoint3d s, e;
    pl->getPointAt(1, s);
    pl->getPointAt(2, e);
    expectNear(arc.startPoint(), s);
    expectNear(arc.endPoint(), e);
    EXPECT_NEAR(arc.sweep(), kPi, 1e-12);
    EXPECT_NEAR(s.z, -2.0, 1e-12) << "elevation lies along the normal";
}

TEST(Polyline, LengthOfASemicircleBulgeIsExact)
{
    OdDbPolylinePtr pl = makeHook();
    double end, len;
    ASSERT_EQ(pl->getEndParam(end), eOk);
    EXPECT_EQ(end, 3.0);
    ASSERT_EQ(pl->getDistAtParam(end, len), eOk);
    EXPECT_NEAR(len, 10.0 + 5.0 * kPi + 10.0, 1e-12);

    // Half way along the arc is its apex, at a quarter of its length.
    double param;
    ASSERT_EQ(pl->getParamAtDist(10.0 + 2.5 * kPi, param), eOk);
    EXPECT_NEAR(param, 1.5, 1e-12);
    OdGePoint3d apex;
    ASSERT_EQ(pl->getPointAtParam(1.5, apex), eOk);
    expectNear(apex, OdGePoint3d(15, 5, 0));

    pl->setClosed(true);
    ASSERT_EQ(pl->getEndParam(end), eOk);
    EXPECT_EQ(end, 4.0);
    ASSERT_EQ(pl->getDistAtParam(end, len), eOk);
    EXPECT_NEAR(len, 30.0 + 5.0 * kPi, 1e-12);
    EXPECT_EQ(pl->getPointAtParam(4.5, apex), eInvalidInput);
}

TEST(Polyline, AnAlmostStraightArcIsMeasuredAsItsChord)
{
    // A bulge left by rounding: its centre would lie some 1e18 away.
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    pl->addVertexAt(0, OdGePoint2d(-38.4, -34.1), 3e-17);
    pl->addVertexAt(1, OdGePoint2d(-1.3, -48.7));
    OdGePoint3d start, middle;
    ASSERT_EQ(pl->getPointAtParam(0.0, start), eOk);
    ASSERT_EQ(pl->getPointAtParam(0.5, middle), eOk);
    expectNear(start, OdGePoint3d(-38.4, -34.1, 0));
    expectNear(middle, OdGePoint3d(-19.85, -41.4, 0));
}

TEST(Polyline, ParamAndClosestPointOnArcs)
{
    OdDbPolylinePtr pl = makeHook();
    const OdGePoint3d onArc(10 + 5 * std::cos(-kPi / 4), 5 + 5 * std::sin(-kPi / 4), 0);
    double param;
    ASSERT_EQ(pl->getParamAtPoint(onArc, param), eOk);
    EXPECT_NEAR(param, 1.25, 1e-12);
    double dist;
    ASSERT_EQ(pl->getDistAtPoint(onArc, dist), eOk);
    EXPECT_NEAR(dist, 10.0 + 1.25 * kPi, 1e-12);
    EXPECT_EQ(pl->getParamAtPoint(OdGePoint3d(12, 5, 0), param), eInvalidInput);

    OdGePoint3d closest;
    ASSERT_EQ(pl->getClosestPointTo(OdGePoint3d(30, 5, 3), closest), eOk);
    expectNear(closest, OdGePoint3d(15, 5, 0));
    // Inside the arc's circle the nearest point is still on the arc.
    ASSERT_EQ(pl->getClosestPointTo(OdGePoint3d(11, 5, 0), closest), eOk);
    expectNear(closest, OdGePoint3d(15, 5, 0));
    // Beyond the open end only extension reaches further.
    ASSERT_EQ(pl->getClosestPointTo(OdGePoint3d(-5, 11, 0), closest), eOk);
    expectNear(closest, OdGePoint3d(0, 10, 0));
    ASSERT_EQ(pl->getClosestPointTo(OdGePoint3d(-5, 11, 0), closest, true), eOk);
    expectNear(closest, OdGePoint3d(-5, 10, 0));
}

TEST(Polyline, DerivativesOnAnArcAreTangentAndCentripetal)
{
    OdDbPolylinePtr pl = makeHook();
    OdGeVector3d d1, d2;
    ASSERT_EQ(pl->getFirstDeriv(1.5, d1), eOk);
    ASSERT_EQ(pl->getSecondDeriv(1.5, d2), eOk);
    // At the apex (15,5) the curve moves along +y with speed = arc length per parameter.
    EXPECT_NEAR(d1.x, 0.0, 1e-12);
    EXPECT_NEAR(d1.y, 5.0 * kPi, 1e-12);
    EXPECT_LT(d2.x, 0.0);
    EXPECT_NEAR(d2.y, 0.0, 1e-12);
    // The closing question of the command: tangent at the end of an open polyline.
    ASSERT_EQ(pl->getFirstDeriv(3.0, d1), eOk);
    EXPECT_NEAR(d1.normal().x, -1.0, 1e-12);
}

TEST(Polyline, MirroringNegatesBulgesAndKeepsTheShape)
{
    OdDbPolylinePtr pl = makeHook();
    OdDbPolylinePtr mirrored = OdDbPolylinePtr(pl->clone());
    const OdGeMatrix3d m = OdGeMatrix3d::mirroring(OdGePlane(OdGePoint3d(0, 0, 0), OdGeVector3d(0, 1, 0)));
    mirrored->transformBy(m);
    EXPECT_TRUE(mirrored->normal().isEqualTo(OdGeVector3d::kZAxis));
    EXPECT_EQ(mirrored->getBulgeAt(1), -1.0);
    for (double param : {0.0, 0.5, 1.25, 1.5, 2.0, 2.7}) {
        OdGePoint3d a, b;
        EXPECT_EQ(eOk, pl->getPointAtParam(param, a));
        EXPECT_EQ(eOk, mirrored->getPointAtParam(param, b));
        a.transformBy(m);
        expectNear(a, b);
    }
    // Mirroring in the polyline's own plane flips the normal instead of the points.
    OdDbPolylinePtr flipped = OdDbPolylinePtr(pl->clone());
    flipped->transformBy(OdGeMatrix3d::mirroring(OdGePlane::kXYPlane));
    EXPECT_TRUE(flipped->normal().isEqualTo(-OdGeVector3d::kZAxis));
    EXPECT_EQ(flipped->getBulgeAt(1), -1.0);
    OdGePoint3d apex;
    EXPECT_EQ(eOk, flipped->getPointAtParam(1.5, apex));
    expectNear(apex, OdGePoint3d(15, 5, 0));
}

TEST(Polyline, UniformScaleScalesWidthsAndRotationMovesThePlane)
{
    OdDbPolylinePtr pl = makeHook();
    pl->setThickness(1.0);
    pl->transformBy(OdGeMatrix3d::scaling(2.0, OdGePoint3d(0, 0, 0)));
    double s, e, len;
    pl->getWidthsAt(0, s, e);
    EXPECT_EQ(s, 2.0);
    EXPECT_EQ(e, 4.0);
    EXPECT_EQ(pl->thickness(), 2.0);
    EXPECT_EQ(eOk, pl->getDistAtParam(3.0, len));
    EXPECT_NEAR(len, 2 * (20.0 + 5.0 * kPi), 1e-9);

    const OdGeMatrix3d tilt = OdGeMatrix3d::rotation(kPi / 2, OdGeVector3d::kXAxis, OdGePoint3d(0, 0, 5));
    OdDbPolylinePtr before = OdDbPolylinePtr(pl->clone());
    pl->transformBy(tilt);
    EXPECT_TRUE(pl->normal().isEqualTo(OdGeVector3d(0, -1, 0)));
    for (double param : {0.0, 1.3, 2.0, 3.0}) {
        OdGePoint3d a, b;
        EXPECT_EQ(eOk, before->getPointAtParam(param, a));
        EXPECT_EQ(eOk, pl->getPointAtParam(param, b));
        a.transformBy(tilt);
        expectNear(a, b, 1e-9);
    }

    // Squashing along the normal (now -y) keeps the plane's shapes; squashing within it does not.
    OdGeMatrix3d squash = OdGeMatrix3d::scaling(1.0);
    squash.entry[1][1] = 0.5;
    pl->transformBy(squash);
    EXPECT_EQ(pl->getBulgeAt(1), 1.0);
    squash.entry[1][1] = 1.0;
    squash.entry[0][0] = 0.5;
    const OdDbPolyline::Data kept = pl->data();
    EXPECT_THROW(pl->transformBy(squash), OdError);
    EXPECT_EQ(pl->data().vertices[1].point, kept.vertices[1].point);
}

TEST(Polyline, DrawsOnePathWithBulgesAndWidths)
{
    OdDbPolylinePtr pl = makeHook();
    pl->setClosed(true);
    PathRecorder rec;
    pl->subWorldDraw(rec);
    ASSERT_EQ(rec.paths.size(), 1u);
    ASSERT_EQ(rec.paths[0].size(), 4u);
    EXPECT_TRUE(rec.closed[0]);
    EXPECT_EQ(rec.paths[0][1].bulge, 1.0);
    EXPECT_EQ(rec.paths[0][0].endWidth, 2.0);
    OdGeExtents3d ext;
    ASSERT_EQ(pl->getGeomExtents(ext), eOk);
    EXPECT_NEAR(ext.maxPoint().x, 15.25, 1e-9) << "the apex plus half the arc's width";
}

} // namespace
