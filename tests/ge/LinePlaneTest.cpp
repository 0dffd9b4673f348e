// Straight curves and planes: crossings with their bounds and tolerances, projections,
// parameters, splitting and reversal.
#include <gtest/gtest.h>

#include <vantrel/ge/OdGeLine2d.h>
#include <vantrel/ge/OdGeLine3d.h>
#include <vantrel/ge/OdGeLineSeg2d.h>
#include <vantrel/ge/OdGeLineSeg3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGePlane.h>

namespace {

TEST(Line2d, IntersectionRespectsSegmentBounds)
{
    const OdGeLineSeg2d a({0, 0}, {4, 4}), b({0, 4}, {4, 0});
    OdGePoint2d p;
    ASSERT_TRUE(a.intersectWith(b, p));
    EXPECT_TRUE(p.isEqualTo({2, 2}));
    EXPECT_TRUE(a.isOn(p) && b.isOn(p));

    const OdGeLineSeg2d shortSeg({0, 4}, {1, 3});
    EXPECT_FALSE(a.intersectWith(shortSeg, p));
    EXPECT_TRUE(a.intersectWith(OdGeLine2d(OdGePoint2d(0, 4), OdGePoint2d(1, 3)), p));
    EXPECT_TRUE(p.isEqualTo({2, 2}));

    // Touching at an end point counts, within tolerance.
    const OdGeLineSeg2d touching({4 + 1e-12, 4}, {6, 0});
    EXPECT_TRUE(a.intersectWith(touching, p));
    EXPECT_FALSE(a.intersectWith(OdGeLineSeg2d({5, 5}, {9, 9}), p)); // colinear
    EXPECT_TRUE(a.isColinearTo(OdGeLineSeg2d({5, 5}, {9, 9})));
    EXPECT_FALSE(a.isColinearTo(OdGeLineSeg2d({5, 6}, {9, 10})));
}

TEST(Line3d, SkewAndCrossingLines)
{
    const OdGeLine3d x(OdGePoint3d(0, 0, 0), OdGeVector3d(1, 0, 0));
    OdGePoint3d p;
    EXPECT_TRUE(x.intersectWith(OdGeLine3d(OdGePoint3d(3, -1, 0), OdGePoint3d(3, 1, 0)), p));
    EXPECT_TRUE(p.isEqualTo({3, 0, 0}));
    // Skew by 1e-3: no crossing at the default tolerance, one at a coarse one.
    const OdGeLineSeg3d skew({3, -1, 1e-3}, {3, 1, 1e-3});
    EXPECT_FALSE(x.intersectWith(skew, p));
    EXPECT_TRUE(x.intersectWith(skew, p, OdGeTol(1e-2)));
    EXPECT_NEAR(p.z, 5e-4, 1e-12);
    EXPECT_FALSE(OdGeLineSeg3d({0, 0, 0}, {1, 0, 0}).intersectWith(OdGeLineSeg3d({3, -1, 0}, {3, 1, 0}), p));
}

TEST(Line3d, ClosestPointParametersAndLength)
{
    const OdGeLineSeg3d seg({1, 1, 1}, {5, 1, 4});
    EXPECT_DOUBLE_EQ(seg.length(), 5.0);
    EXPECT_TRUE(seg.closestPointTo({-10, 0, 0}).isEqualTo(seg.startPoint()));
    EXPECT_TRUE(seg.closestPointTo({3, 7, 2.5}).isEqualTo({3, 1, 2.5}));
    EXPECT_NEAR(seg.paramOf(seg.midPoint()), 0.5, 1e-15);
    EXPECT_NEAR(seg.paramAtLength(0.0, 2.0), 0.4, 1e-15);
    EXPECT_NEAR(seg.paramAtLength(1.0, 10.0, false), 0.0, 1e-15);
    EXPECT_NEAR(seg.distanceTo({3, 7, 2.5}), 6.0, 1e-12);

    const OdGeLine3d line(OdGePoint3d(0, 0, 0), OdGeVector3d(0, 2, 0));
    EXPECT_TRUE(line.closestPointTo({1, -6, 1}).isEqualTo({0, -6, 0}));
    EXPECT_NEAR(line.paramOf({0, -6, 0}), -3.0, 1e-15);
}

TEST(Line3d, SplitAndReverseKeepGeometry)
{
    const OdGeLineSeg3d seg({0, 0, 0}, {4, 0, 0});
    std::unique_ptr<OdGeCurve3d> a, b;
    seg.getSplitCurves(0.25, a, b);
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->endPoint().isEqualTo(b->startPoint()));
    EXPECT_NEAR(a->length() + b->length(), 4.0, 1e-12);
    EXPECT_NEAR(a->length(), 1.0, 1e-12);
    seg.getSplitCurves(1.0, a, b);
    EXPECT_TRUE(a != nullptr);
    EXPECT_TRUE(b == nullptr);

    OdGeLineSeg3d rev = seg;
    rev.reverseParam();
    EXPECT_TRUE(rev.startPoint().isEqualTo(seg.endPoint()));
    EXPECT_TRUE(rev.endPoint().isEqualTo(seg.startPoint()));

    OdGeLine3d line;
    line.getSplitCurves(0.0, a, b);
    EXPECT_TRUE(!a && !b);
}

TEST(Plane, LineCrossingsAndProjections)
{
    const OdGePlane plane(OdGePoint3d(0, 0, 2), OdGeVector3d(0, 1, 1));
    OdGePoint3d p;
    const OdGeLineSeg3d through({0, -5, -5}, {0, 5, 5});
    ASSERT_TRUE(plane.intersectWith(through, p));
    EXPECT_NEAR(plane.distanceTo(p), 0.0, 1e-12);
    EXPECT_TRUE(through.isOn(p));
    EXPECT_TRUE(p.isEqualTo({0, 1, 1}));

    EXPECT_FALSE(plane.intersectWith(OdGeLineSeg3d({0, -5, -5}, {0, -4, -4}), p));                  // stops short
    EXPECT_FALSE(plane.intersectWith(OdGeLine3d(OdGePoint3d(0, 0, 0), OdGeVector3d(1, 1, -1)), p)); // parallel

    std::vector<OdGePoint3d> pts;
    EXPECT_TRUE(through.intersectWith(plane, pts));
    ASSERT_EQ(pts.size(), 1u);
    EXPECT_TRUE(pts[0].isEqualTo({0, 1, 1}));
}

TEST(Plane, PlanePlaneLineLiesOnBoth)
{
    const OdGePlane a(OdGePoint3d(1, 2, 3), OdGeVector3d(1, 2, -1));
    const OdGePlane b(OdGePoint3d(-2, 0, 5), OdGeVector3d(0, 3, 4));
    OdGeLine3d line;
    ASSERT_TRUE(a.intersectWith(b, line));
    for (double t : {-10.0, 0.0, 3.5}) {
        const OdGePoint3d p = line.evalPoint(t);
        EXPECT_NEAR(a.distanceTo(p), 0.0, 1e-12);
        EXPECT_NEAR(b.distanceTo(p), 0.0, 1e-12);
    }
    const OdGePlane shifted(OdGePoint3d(0, 0, 9), OdGeVector3d(1, 2, -1) * -3.0);
    EXPECT_FALSE(a.intersectWith(shifted, line));
    EXPECT_TRUE(a.isParallelTo(shifted));
    EXPECT_FALSE(a.isCoplanarTo(shifted));
    EXPECT_TRUE(a.isCoplanarTo(OdGePlane(OdGePoint3d(1, 2, 3) + OdGeVector3d(2, -1, 0), OdGeVector3d(-1, -2, 1))));
}

TEST(Plane, TransformMovesTheFrame)
{
    OdGePlane plane(OdGePoint3d(0, 0, 1), OdGeVector3d(0, 0, 1));
    const OdGePoint3d onPlane = plane.evalPoint(2, 3);
    const OdGeMatrix3d m = OdGeMatrix3d::rotation(0.7, OdGeVector3d(1, 1, 0), OdGePoint3d(4, 0, 0));
    plane.transformBy(m);
    OdGePoint3d moved = onPlane;
    moved.transformBy(m);
    EXPECT_NEAR(plane.distanceTo(moved), 0.0, 1e-12);
    const OdGePoint2d uv = moved.convert2d(plane);
    EXPECT_NEAR(uv.x, 2.0, 1e-12);
    EXPECT_NEAR(uv.y, 3.0, 1e-12);
}

} // namespace
