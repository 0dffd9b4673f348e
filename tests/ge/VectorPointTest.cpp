// Points, vectors, tolerances and the arbitrary-axis frame.
#include <gtest/gtest.h>

#include <vantrel/ge/OdGeExtents3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGePlane.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

TEST(Vector3d, AnglesAreMeasuredInTheRequestedRange)
{
    const OdGeVector3d x = OdGeVector3d::kXAxis, y = OdGeVector3d::kYAxis, z = OdGeVector3d::kZAxis;
    EXPECT_NEAR(x.angleTo(y), kPi / 2, 1e-15);
    EXPECT_NEAR(x.angleTo(-x), kPi, 1e-15);
    EXPECT_NEAR(x.angleTo(y, z), kPi / 2, 1e-15);
    EXPECT_NEAR(x.angleTo(y, -z), 3 * kPi / 2, 1e-15);
    EXPECT_EQ(x.angleTo(x, z), 0.0);
    EXPECT_NEAR(OdGeVector2d(1, 0).angleTo(OdGeVector2d(0, -1)), 3 * kPi / 2, 1e-15);
    EXPECT_NEAR(OdGeVector2d(-1, -1e-300).angle(), kPi, 1e-15);
    EXPECT_LT(OdGeVector2d(1, -1e-17).angle(), 2 * kPi);
}

TEST(Vector3d, DirectionTestsRespectToleranceAndRejectZeroVectors)
{
    const OdGeVector3d a(1, 2, 3);
    EXPECT_TRUE(a.isParallelTo(a * -4));
    EXPECT_FALSE(a.isCodirectionalTo(a * -4));
    EXPECT_TRUE(a.isCodirectionalTo(a * 0.5));
    EXPECT_TRUE(a.isPerpendicularTo(a.perpVector()));
    EXPECT_FALSE(a.isParallelTo(OdGeVector3d()));
    EXPECT_FALSE(OdGeVector3d(1, 1e-6, 0).isParallelTo(OdGeVector3d::kXAxis));
    EXPECT_TRUE(OdGeVector3d(1, 1e-6, 0).isParallelTo(OdGeVector3d::kXAxis, OdGeTol(1e-10, 1e-5)));
    EXPECT_EQ(OdGeVector3d().normal(), OdGeVector3d());
    OdGeVector3d b(3, 0, 4);
    EXPECT_TRUE(b.normalize().isEqualTo({0.6, 0, 0.8}));
}

TEST(Vector3d, RotationFollowsRightHandRule)
{
    OdGeVector3d v = OdGeVector3d::kXAxis;
    v.rotateBy(kPi / 2, OdGeVector3d::kZAxis * 5);
    EXPECT_TRUE(v.isEqualTo(OdGeVector3d::kYAxis));
    OdGePoint3d p(2, 0, 7);
    p.rotateBy(kPi, OdGeVector3d::kZAxis, OdGePoint3d(1, 0, 0));
    EXPECT_TRUE(p.isEqualTo(OdGePoint3d(0, 0, 7)));
    OdGePoint2d q(2, 1);
    q.rotateBy(kPi / 2, OdGePoint2d(1, 1));
    EXPECT_TRUE(q.isEqualTo(OdGePoint2d(1, 2)));
}

TEST(Vector3d, PerpVectorIsTheArbitraryAxisXDirection)
{
    // Near-Z normals use Wy x N; others Wz x N.
    EXPECT_TRUE(OdGeVector3d::kZAxis.perpVector().isEqualTo(OdGeVector3d::kXAxis));
    EXPECT_TRUE((-OdGeVector3d::kZAxis).perpVector().isEqualTo(-OdGeVector3d::kXAxis));
    EXPECT_TRUE(OdGeVector3d::kXAxis.perpVector().isEqualTo(OdGeVector3d::kYAxis));
    const OdGeVector3d n(0.01, 0.01, 1);
    EXPECT_TRUE(n.perpVector().isEqualTo(OdGeVector3d::kYAxis.crossProduct(n).normal()));
}

TEST(PointPlane, ConvertToOcsAndBackRoundTrips)
{
    const OdGeVector3d normals[] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {0.3, -0.5, 0.8}, {0.001, 0.002, 1}};
    for (const OdGeVector3d& n : normals) {
        const OdGePlane ocs(OdGePoint3d::kOrigin, n);
        const OdGeMatrix3d w2p = OdGeMatrix3d::worldToPlane(n);
        const OdGePoint3d p(3.5, -2.25, 1.0);
        const OdGePoint3d onPlane = p.orthoProject(ocs);
        const OdGePoint2d uv = onPlane.convert2d(ocs);
        OdGePoint3d ocsPt = p;
        ocsPt.transformBy(w2p);
        EXPECT_NEAR(uv.x, ocsPt.x, 1e-12);
        EXPECT_NEAR(uv.y, ocsPt.y, 1e-12);
        EXPECT_NEAR(ocs.signedDistanceTo(p), ocsPt.z, 1e-12);
        EXPECT_TRUE(ocs.evalPoint(uv).isEqualTo(onPlane));
    }
    // A skewed, non-unit frame still round-trips.
    const OdGePlane skew(OdGePoint3d(1, 2, 3), OdGeVector3d(2, 0, 0), OdGeVector3d(1, 1, 1));
    const OdGePoint3d q = skew.evalPoint(0.25, -1.5);
    const OdGePoint2d uv = q.convert2d(skew);
    EXPECT_NEAR(uv.x, 0.25, 1e-12);
    EXPECT_NEAR(uv.y, -1.5, 1e-12);
}

TEST(PointPlane, ProjectionAlongDirection)
{
    const OdGePlane plane(OdGePoint3d(0, 0, 2), OdGeVector3d(0, 0, 1));
    const OdGePoint3d p(1, 1, 5);
    EXPECT_TRUE(p.project(plane, OdGeVector3d(1, 0, -1)).isEqualTo({4, 1, 2}));
    EXPECT_TRUE(p.project(plane, OdGeVector3d(1, 0, 0)).isEqualTo(p));
    EXPECT_TRUE(p.orthoProject(plane).isEqualTo({1, 1, 2}));
    EXPECT_NEAR(plane.signedDistanceTo(p), 3.0, 1e-15);
    EXPECT_NEAR(plane.signedDistanceTo({0, 0, 0}), -2.0, 1e-15);
}

TEST(Extents, GrowAndTransform)
{
    OdGeExtents3d e;
    EXPECT_FALSE(e.isValidExtents());
    e.addPoint({1, 2, 3});
    EXPECT_TRUE(e.isValidExtents());
    e.addExt(OdGeExtents3d({-1, 5, 0}, {0, 4, 1}));
    EXPECT_EQ(e.minPoint(), OdGePoint3d(-1, 2, 0));
    EXPECT_EQ(e.maxPoint(), OdGePoint3d(1, 5, 3));
    e.addExt(OdGeExtents3d());
    EXPECT_EQ(e.minPoint(), OdGePoint3d(-1, 2, 0));
    e.transformBy(OdGeMatrix3d::rotation(kPi / 2, OdGeVector3d::kZAxis));
    EXPECT_TRUE(e.minPoint().isEqualTo({-5, -1, 0}));
    EXPECT_TRUE(e.maxPoint().isEqualTo({-2, 1, 3}));
}

// An arc's box holds its ends and the points where it turns, whatever its direction, start or
// plane; the exact values come from the parametric form.
TEST(Extents, ArcsAreBoxedByTheirEndsAndTurningPoints)
{
    struct Case {
        OdGeVector3d u, v;
        double start, sweep;
        OdGePoint3d lo, hi;
    };
    const double s = std::sqrt(0.5);
    const std::vector<Case> cases{
        {{2, 0, 0}, {0, 1, 0}, 0, 2 * kPi, {-2, -1, 0}, {2, 1, 0}},       // whole ellipse
        {{1, 0, 0}, {0, 1, 0}, -kPi / 4, kPi / 2, {s, -s, 0}, {1, s, 0}}, // across angle 0
        {{1, 0, 0}, {0, 1, 0}, kPi / 4, -kPi / 2, {s, -s, 0}, {1, s, 0}}, // the same, clockwise
        {{1, 0, 0}, {0, 1, 0}, kPi / 4, kPi, {-1, -s, 0}, {s, 1, 0}},     // through the top and left
        {{0, 0, 3}, {1, 0, 0}, 0, kPi / 2, {0, 0, 0}, {1, 0, 3}},         // in a vertical plane
        {{s, s, 0},
         {-s * 0.5, s * 0.5, 0},
         0,
         2 * kPi,
         {-std::sqrt(0.625), -std::sqrt(0.625), 0},
         {std::sqrt(0.625), std::sqrt(0.625), 0}}, // a turned ellipse
    };
    for (const Case& c : cases) {
        OdGeExtents3d e;
        e.addArc(OdGePoint3d(), c.u, c.v, c.start, c.sweep);
        EXPECT_TRUE(e.minPoint().isEqualTo(c.lo))
            << c.start << " " << c.sweep << ": " << e.minPoint().x << "," << e.minPoint().y << "," << e.minPoint().z;
        EXPECT_TRUE(e.maxPoint().isEqualTo(c.hi))
            << c.start << " " << c.sweep << ": " << e.maxPoint().x << "," << e.maxPoint().y << "," << e.maxPoint().z;
    }
}

} // namespace
