// Tests of the 3D polyline: spline fitting (ends, planes kept, straighten), curve queries over
// its path, flatness, transformation and vertex editing.
#include <gtest/gtest.h>

#include <cmath>

#include <vantrel/db/OdDb3dPolyline.h>
#include <vantrel/ge/OdGeMatrix3d.h>

namespace {

OdDb3dPolylinePtr make3d(const std::vector<OdGePoint3d>& points, bool closed = false)
{
    OdDb3dPolylinePtr pl = OdDb3dPolyline::createObject();
    for (const auto& p : points) {
        OdDb3dPolylineVertexPtr v = OdDb3dPolylineVertex::createObject();
        v->setPosition(p);
        pl->appendVertex(v.get());
    }
    if (closed)
        pl->makeClosed();
    return pl;
}

std::vector<OdGePoint3d> positions(const OdDb3dPolyline& pl)
{
    std::vector<OdGePoint3d> out;
    for (unsigned int i = 0; i < pl.numVertices(); ++i)
        out.push_back(pl.vertexAt(i)->position());
    return out;
}

TEST(Polyline3d, SplineFitKeepsEndsAndPlaneAndStraightenRestores)
{
    // Control points in the tilted plane x + y + z = 10.
    const std::vector<OdGePoint3d> pts{{0, 0, 10}, {5, 0, 5}, {5, 5, 0}, {0, 10, 0}, {-5, 10, 5}};
    const OdGePlane plane(OdGePoint3d(0, 0, 10), OdGeVector3d(1, 1, 1));
    OdDb3dPolylinePtr pl = make3d(pts);
    pl->splineFit(OdDb::k3dCubicSplinePoly, 6);
    EXPECT_EQ(pl->polyType(), OdDb::k3dCubicSplinePoly);
    const auto path = pl->pathVertices();
    ASSERT_EQ(path.size(), 2u * 6u + 1u);
    EXPECT_TRUE(path.front()->position().isEqualTo(pts.front()));
    EXPECT_TRUE(path.back()->position().isEqualTo(pts.back()));
    for (const auto& v : path) {
        EXPECT_EQ(v->vertexType(), OdDb::k3dFitVertex);
        EXPECT_LT(plane.distanceTo(v->position()), 1e-9);
        EXPECT_GE(v->position().x, -5.0);
        EXPECT_LE(v->position().y, 10.0);
    }
    OdGePlane found;
    ASSERT_EQ(pl->getPlane(found), eOk);
    EXPECT_TRUE(found.normal().isParallelTo(plane.normal(), OdGeTol(1e-9, 1e-9)));

    pl->straighten();
    EXPECT_EQ(pl->polyType(), OdDb::k3dSimplePoly);
    EXPECT_EQ(positions(*pl), pts);
    EXPECT_EQ(pl->vertexAt(2)->vertexType(), OdDb::k3dSimpleVertex);
}

TEST(Polyline3d, CurveQueriesFollowTheStraightPath)
{
    OdDb3dPolylinePtr pl = make3d({{0, 0, 0}, {3, 4, 0}, {3, 4, 12}});
    double end, len, param;
    ASSERT_EQ(pl->getEndParam(end), eOk);
    EXPECT_EQ(end, 2.0);
    EXPECT_EQ(eOk, pl->getDistAtParam(end, len));
    EXPECT_DOUBLE_EQ(len, 17.0);
    ASSERT_EQ(pl->getParamAtPoint(OdGePoint3d(3, 4, 6), param), eOk);
    EXPECT_DOUBLE_EQ(param, 1.5);
    EXPECT_EQ(eOk, pl->getParamAtDist(2.5, param));
    EXPECT_DOUBLE_EQ(param, 0.5);
    OdGePoint3d closest;
    EXPECT_EQ(eOk, pl->getClosestPointTo(OdGePoint3d(10, 4, 20), closest));
    EXPECT_TRUE(closest.isEqualTo(OdGePoint3d(3, 4, 12)));
    OdGePlane plane;
    EXPECT_EQ(pl->getPlane(plane), eOk) << "three points are always flat";
    pl->makeClosed();
    EXPECT_EQ(eOk, pl->getDistAtParam(3.0, len));
    EXPECT_DOUBLE_EQ(len, 30.0);

    OdDb3dPolylinePtr twisted = make3d({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}});
    EXPECT_EQ(twisted->getPlane(plane), eNotImplementedYet);
}

TEST(Polyline3d, ClosedSplineTransformAndVertexEditing)
{
    OdDb3dPolylinePtr pl = make3d({{0, 0, 0}, {10, 0, 2}, {10, 10, 4}, {0, 10, 2}}, true);
    pl->splineFit(OdDb::k3dQuadSplinePoly, 3);
    EXPECT_EQ(pl->pathVertices().size(), 12u);
    EXPECT_EQ(pl->numVertices(), 16u);

    pl->transformBy(OdGeMatrix3d::translation(OdGeVector3d(0, 0, 5)));
    for (const auto& v : pl->pathVertices())
        EXPECT_GE(v->position().z, 5.0);
    pl->straighten();
    EXPECT_TRUE(pl->vertexAt(1)->position().isEqualTo(OdGePoint3d(10, 0, 7)));

    OdDb3dPolylineVertexPtr extra = OdDb3dPolylineVertex::createObject();
    extra->setPosition(OdGePoint3d(5, -1, 5));
    pl->insertVertexAt(pl->vertexAt(0).get(), extra.get());
    EXPECT_TRUE(pl->vertexAt(1)->position().isEqualTo(OdGePoint3d(5, -1, 5)));
    pl->removeVertexAt(1);
    EXPECT_EQ(pl->numVertices(), 4u);
    EXPECT_THROW(pl->removeVertexAt(4), OdError_InvalidIndex);
    EXPECT_THROW(pl->splineFit(OdDb::k3dSimplePoly, 3), OdError);
}

} // namespace
