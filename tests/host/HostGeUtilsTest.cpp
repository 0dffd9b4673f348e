// The host's curve conversions: a spline followed by a 2D polyline (pieces per span, halving
// within a tolerance, arcs, tilted planes, closed and fit-point splines, refusals) and the drawn
// path of a 2D polyline as a lightweight polyline.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <numeric>

#include <vantrel/host/hostgeomutils.h>
#include "db_key.h"

namespace {

// A cubic over five control points in the plane z = 2: two knot spans.
OdDbSplinePtr wave()
{
    OdDbSplinePtr s = OdDbSpline::createObject();
    s->setNurbsData(3, false, false, false, {{0, 0, 2}, {20, 40, 2}, {50, -20, 2}, {70, 40, 2}, {90, 0, 2}},
                    {0, 0, 0, 0, 1, 2, 2, 2, 2}, {});
    return s;
}

// The largest distance from the spline of points along the polyline's path.
double largestDistance(const OdDb2dPolyline& path, const OdDbSpline& spline)
{
    double end = 0.0, worst = 0.0;
    EXPECT_EQ(eOk, path.getEndParam(end));
    for (double p = 0.0; p <= end; p += 0.25) {
        OdGePoint3d at, near;
        EXPECT_EQ(eOk, path.getPointAtParam(p, at));
        EXPECT_EQ(eOk, spline.getClosestPointTo(at, near));
        worst = std::max(worst, at.distanceTo(near));
    }
    return worst;
}

TEST(HostGeUtils, ASplineBecomesPiecesPerSpanThroughItsEnds)
{
    OdDbSplinePtr s = wave();
    OdDb2dPolylinePtr pl = HostGeUtils::NURBSToPolyline2DAsSplineFit(*s, 8);
    ASSERT_TRUE(pl);
    EXPECT_EQ(pl->polyType(), OdDb::k2dSimplePoly);
    EXPECT_EQ(pl->numVertices(), 2u * 8u + 1u);
    EXPECT_FALSE(pl->isClosed());
    EXPECT_EQ(pl->elevation(), 2.0);
    EXPECT_TRUE(pl->normal().isEqualTo(OdGeVector3d::kZAxis));
    EXPECT_TRUE(pl->vertexPosition(*pl->vertexAt(0)).isEqualTo(OdGePoint3d(0, 0, 2)));
    EXPECT_TRUE(pl->vertexPosition(*pl->vertexAt(16)).isEqualTo(OdGePoint3d(90, 0, 2)));
    for (auto it = pl->vertexIterator(); !it->done(); it->step()) {
        OdGePoint3d near;
        const OdGePoint3d p = pl->vertexPosition(*OdDb2dVertexPtr(it->vertex()));
        EXPECT_EQ(eOk, s->getClosestPointTo(p, near));
        EXPECT_LT(p.distanceTo(near), 1e-9) << "every vertex lies on the spline";
    }
    // The sign of the count only chooses arcs; a count of 0 still gives one piece a span.
    EXPECT_EQ(HostGeUtils::NURBSToPolyline2DAsSplineFit(*s, 0)->numVertices(), 3u);
}

TEST(HostGeUtils, HalvingKeepsWithinTheToleranceAndArcsFollowCloserThanChords)
{
    OdDbSplinePtr s = wave();
    const OdDb2dPolylinePtr coarse = HostGeUtils::NURBSToPolyline2DAsSplineFit(*s, 2);
    const OdDb2dPolylinePtr tight = HostGeUtils::NURBSToPolyline2DAsSplineFit(*s, 2, 0.05);
    const OdDb2dPolylinePtr arcs = HostGeUtils::NURBSToPolyline2DAsSplineFit(*s, -2);
    EXPECT_GT(tight->numVertices(), 4u * coarse->numVertices());
    EXPECT_LT(largestDistance(*tight, *s), 0.1);
    EXPECT_GT(largestDistance(*coarse, *s), 1.0);
    EXPECT_EQ(arcs->polyType(), OdDb::k2dFitCurvePoly);
    EXPECT_LT(largestDistance(*arcs, *s), 0.5 * largestDistance(*coarse, *s));
}

TEST(HostGeUtils, TiltedClosedAndFitPointSplinesAndRefusals)
{
    // A closed periodic cubic in a tilted plane: a closed polyline in that plane.
    OdDbSplinePtr ring = OdDbSpline::createObject();
    std::vector<OdGePoint3d> control;
    for (int i = 0; i < 6; ++i) {
        const double a = std::numbers::pi * i / 3;
        control.emplace_back(10 * std::cos(a), 10 * std::sin(a) * std::sqrt(0.5), 10 * std::sin(a) * std::sqrt(0.5));
    }
    for (int i = 0; i < 3; ++i)
        control.push_back(control[static_cast<std::size_t>(i)]);
    std::vector<double> knots(13);
    std::iota(knots.begin(), knots.end(), 0.0);
    ring->setNurbsData(3, false, true, true, control, knots, {});
    OdDb2dPolylinePtr pl = HostGeUtils::NURBSToPolyline2DAsSplineFit(*ring, 4);
    ASSERT_TRUE(pl);
    EXPECT_TRUE(pl->isClosed());
    EXPECT_EQ(pl->numVertices(), 6u * 4u);
    EXPECT_TRUE(pl->normal().isParallelTo(OdGeVector3d(0, -1, 1)));
    OdGePlane plane(OdGePoint3d::kOrigin, OdGeVector3d(0, -1, 1));
    for (auto it = pl->vertexIterator(); !it->done(); it->step())
        EXPECT_LT(plane.distanceTo(pl->vertexPosition(*OdDb2dVertexPtr(it->vertex()))), 1e-9);

    // Fit points only: a span between each two of them.
    OdDbSplinePtr fitted = OdDbSpline::createObject();
    fitted->setFitData({{0, 0, 0}, {10, 5, 0}, {20, 0, 0}, {30, 5, 0}}, 3, 0.0, {}, {});
    fitted->dataForWrite(vantrel::dbKey()).controlPoints.clear();
    fitted->dataForWrite(vantrel::dbKey()).knots.clear();
    EXPECT_EQ(HostGeUtils::NURBSToPolyline2DAsSplineFit(*fitted, 3)->numVertices(), 3u * 3u + 1u);

    OdDbSplinePtr twisted = OdDbSpline::createObject();
    twisted->setNurbsData(3, false, false, false, {{0, 0, 0}, {10, 0, 0}, {10, 10, 5}, {0, 10, 20}},
                          {0, 0, 0, 0, 1, 1, 1, 1}, {});
    EXPECT_FALSE(HostGeUtils::NURBSToPolyline2DAsSplineFit(*twisted, 8)) << "a spline out of plane";
}

TEST(HostGeUtils, ALightweightPolylineTakesTheDrawnPathOfA2dPolyline)
{
    OdDb2dPolylinePtr pl = OdDb2dPolyline::createObject();
    for (const OdGePoint3d& p : {OdGePoint3d(0, 0, 0), OdGePoint3d(10, 5, 0), OdGePoint3d(20, 0, 0)}) {
        OdDb2dVertexPtr v = OdDb2dVertex::createObject();
        v->setPosition(p);
        v->setStartWidth(0.5);
        v->setEndWidth(0.5);
        pl->appendVertex(v.get());
    }
    pl->setElevation(3.0);
    pl->setLinetypeGenerationOn();
    pl->setColorIndex(4);
    pl->curveFit();
    OdDbPolylinePtr lw = HostGeUtils::polyFrom2dPoly(*pl);
    ASSERT_TRUE(lw);
    ASSERT_EQ(lw->numVerts(), 5u) << "the generated vertices are part of the path";
    EXPECT_NE(lw->getBulgeAt(0), 0.0);
    EXPECT_EQ(lw->getConstantWidth(), 0.5);
    EXPECT_EQ(lw->elevation(), 3.0);
    EXPECT_TRUE(lw->hasPlinegen());
    EXPECT_EQ(lw->colorIndex(), 4);
    EXPECT_FALSE(HostGeUtils::polyFrom2dPoly(*OdDb2dPolyline::createObject()));
}

} // namespace
