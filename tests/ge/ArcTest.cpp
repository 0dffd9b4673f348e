// Circular arcs: bulge and three-point construction, parameters, lengths, transforms,
// and crossings with lines and other arcs checked by lying on both curves.
#include <gtest/gtest.h>

#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeCircArc3d.h>
#include <vantrel/ge/OdGeLine2d.h>
#include <vantrel/ge/OdGeLineSeg2d.h>
#include <vantrel/ge/OdGeLineSeg3d.h>
#include <vantrel/ge/OdGeMatrix2d.h>
#include <vantrel/ge/OdGeMatrix3d.h>

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

TEST(CircArc2dBulge, BulgeOneIsASemicircleOnTheRightSide)
{
    // Counterclockwise from (0,0) to (2,0): the arc passes below the chord.
    const OdGeCircArc2d ccw(OdGePoint2d(0, 0), OdGePoint2d(2, 0), 1.0);
    EXPECT_TRUE(ccw.center().isEqualTo({1, 0}));
    EXPECT_NEAR(ccw.radius(), 1.0, 1e-15);
    EXPECT_NEAR(ccw.sweep(), kPi, 1e-15);
    EXPECT_FALSE(ccw.isClockWise());
    EXPECT_TRUE(ccw.startPoint().isEqualTo({0, 0}));
    EXPECT_TRUE(ccw.endPoint().isEqualTo({2, 0}));
    EXPECT_TRUE(ccw.midPoint().isEqualTo({1, -1}));
    EXPECT_NEAR(ccw.length(), kPi, 1e-14);

    const OdGeCircArc2d cw(OdGePoint2d(0, 0), OdGePoint2d(2, 0), -1.0);
    EXPECT_TRUE(cw.isClockWise());
    EXPECT_TRUE(cw.midPoint().isEqualTo({1, 1}));
    EXPECT_TRUE(cw.endPoint().isEqualTo({2, 0}));
}

TEST(CircArc2dBulge, BulgeRoundTripsAndSagittaFormAgrees)
{
    const OdGePoint2d a(1, 2), b(4, -2);
    for (double bulge : {0.05, 0.4, -0.7, 1.0, 2.5, -3.0}) {
        const OdGeCircArc2d arc(a, b, bulge);
        EXPECT_TRUE(arc.startPoint().isEqualTo(a, OdGeTol(1e-12))) << bulge;
        EXPECT_TRUE(arc.endPoint().isEqualTo(b, OdGeTol(1e-12))) << bulge;
        EXPECT_NEAR(arc.bulge(), bulge, 1e-12);
        // Sagitta = bulge * chord / 2, measured from the chord midpoint to the arc midpoint.
        const double sagitta = bulge * a.distanceTo(b) / 2.0;
        const OdGeCircArc2d bySagitta(a, b, sagitta, false);
        EXPECT_TRUE(bySagitta.midPoint().isEqualTo(arc.midPoint(), OdGeTol(1e-9)));
        EXPECT_NEAR(arc.midPoint().distanceTo(a + (b - a) * 0.5), std::fabs(sagitta), 1e-12);
    }
}

TEST(CircArc2d, ThreePointsAndParameterRoundTrip)
{
    const OdGePoint2d s(3, 0), m(0, 3), e(-3, 0);
    OdGeCircArc2d arc(s, m, e);
    EXPECT_TRUE(arc.center().isEqualTo({0, 0}));
    EXPECT_NEAR(arc.radius(), 3.0, 1e-15);
    EXPECT_FALSE(arc.isClockWise());
    EXPECT_TRUE(arc.isOn(m));
    EXPECT_FALSE(arc.isOn({0, -3}));

    const OdGeCircArc2d cwArc(e, m, s);
    EXPECT_TRUE(cwArc.isClockWise());
    EXPECT_TRUE(cwArc.isOn(m));
    EXPECT_TRUE(cwArc.startPoint().isEqualTo(e));
    EXPECT_TRUE(cwArc.endPoint().isEqualTo(s));

    for (double t = arc.startAng(); t <= arc.endAng(); t += 0.3)
        EXPECT_NEAR(arc.paramOf(arc.evalPoint(t)), t, 1e-12);
    // Outside the arc, the nearer end.
    EXPECT_TRUE(arc.closestPointTo({2, -1}).isEqualTo(s));
    EXPECT_TRUE(arc.closestPointTo({-2, -1}).isEqualTo(e));
    EXPECT_FALSE(arc.set(OdGePoint2d(0, 0), OdGePoint2d(1, 1), OdGePoint2d(2, 2)));
    EXPECT_NEAR(arc.radius(), 3.0, 1e-15); // unchanged by the failed set
}

TEST(CircArc2d, DxfAnglesWrapAndTangentIsDerivativeDirection)
{
    const OdGeCircArc2d arc(OdGePoint2d(1, 1), 2.0, 1.5 * kPi, 0.5 * kPi); // through angle 0
    EXPECT_NEAR(arc.sweep(), kPi, 1e-15);
    EXPECT_TRUE(arc.isOn({3, 1}));
    EXPECT_FALSE(arc.isOn({-1, 1}));
    std::vector<OdGeVector2d> d;
    arc.evalPoint(2.0 * kPi, 2, d);
    EXPECT_TRUE(d[0].isEqualTo({0, 2}));
    EXPECT_TRUE(d[1].isEqualTo({-2, 0}));
    EXPECT_TRUE(arc.tangent(2.0 * kPi).isEqualTo({0, 1}));
}

TEST(CircArc2d, LineCrossingsLieOnBothAndRespectBounds)
{
    const OdGeCircArc2d arc(OdGePoint2d(0, 0), 5.0, 0.0, kPi); // upper half
    int n = 0;
    OdGePoint2d p1, p2;
    ASSERT_TRUE(arc.intersectWith(OdGeLine2d(OdGePoint2d(-10, 3), OdGeVector2d(1, 0)), n, p1, p2));
    ASSERT_EQ(n, 2);
    EXPECT_TRUE(p1.isEqualTo({-4, 3}) || p1.isEqualTo({4, 3}));
    EXPECT_TRUE(arc.isOn(p1) && arc.isOn(p2));
    EXPECT_FALSE(p1.isEqualTo(p2));

    // The lower crossing of a vertical line is outside the upper half.
    ASSERT_TRUE(arc.intersectWith(OdGeLine2d(OdGePoint2d(3, 0), OdGeVector2d(0, 1)), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({3, 4}));
    // A segment ending before the circle.
    EXPECT_FALSE(arc.intersectWith(OdGeLineSeg2d({3, 0}, {3, 3.9}), n, p1, p2));
    EXPECT_EQ(n, 0);
    // Tangent contact: one point.
    ASSERT_TRUE(arc.intersectWith(OdGeLine2d(OdGePoint2d(-1, 5), OdGeVector2d(1, 0)), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({0, 5}));
}

TEST(CircArc2d, ArcArcCrossingsAndFullCircles)
{
    const OdGeCircArc2d c1(OdGePoint2d(0, 0), 5.0), c2(OdGePoint2d(8, 0), 5.0);
    int n = 0;
    OdGePoint2d p1, p2;
    ASSERT_TRUE(c1.intersectWith(c2, n, p1, p2));
    ASSERT_EQ(n, 2);
    for (const OdGePoint2d& p : {p1, p2}) {
        EXPECT_NEAR(p.distanceTo(c1.center()), 5.0, 1e-12);
        EXPECT_NEAR(p.distanceTo(c2.center()), 5.0, 1e-12);
        EXPECT_NEAR(std::fabs(p.y), 3.0, 1e-12);
    }
    // Only the upper crossing is on an upper half arc.
    const OdGeCircArc2d upper(OdGePoint2d(0, 0), 5.0, 0.0, kPi);
    ASSERT_TRUE(upper.intersectWith(c2, n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({4, 3}));
    // External tangency, containment, concentric.
    ASSERT_TRUE(c1.intersectWith(OdGeCircArc2d(OdGePoint2d(7, 0), 2.0), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({5, 0}));
    EXPECT_FALSE(c1.intersectWith(OdGeCircArc2d(OdGePoint2d(1, 0), 1.0), n, p1, p2));
    EXPECT_FALSE(c1.intersectWith(OdGeCircArc2d(OdGePoint2d(0, 0), 5.0), n, p1, p2));
}

TEST(CircArc2d, TransformSplitAndReverse)
{
    OdGeCircArc2d arc(OdGePoint2d(1, 0), 2.0, 0.2, 2.0);
    const OdGePoint2d s = arc.startPoint(), m = arc.midPoint(), e = arc.endPoint();
    const OdGeMatrix2d mirror
        = OdGeMatrix2d::mirroring(OdGePoint2d(0, 0), OdGeVector2d(0, 1)) * OdGeMatrix2d::scaling(1.5);
    OdGeCircArc2d t = arc;
    t.transformBy(mirror);
    EXPECT_TRUE(t.isClockWise());
    EXPECT_TRUE(t.startPoint().isEqualTo(OdGePoint2d(s).transformBy(mirror), OdGeTol(1e-12)));
    EXPECT_TRUE(t.midPoint().isEqualTo(OdGePoint2d(m).transformBy(mirror), OdGeTol(1e-12)));
    EXPECT_NEAR(t.radius(), 3.0, 1e-12);

    std::unique_ptr<OdGeCurve2d> a, b;
    arc.getSplitCurves(1.1, a, b);
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->endPoint().isEqualTo(b->startPoint()));
    EXPECT_NEAR(a->length() + b->length(), arc.length(), 1e-12);

    arc.reverseParam();
    EXPECT_TRUE(arc.startPoint().isEqualTo(e, OdGeTol(1e-12)));
    EXPECT_TRUE(arc.endPoint().isEqualTo(s, OdGeTol(1e-12)));
    EXPECT_TRUE(arc.midPoint().isEqualTo(m, OdGeTol(1e-12)));
}

TEST(CircArc3d, FrameMatchesOcsAndThreePointsRoundTrip)
{
    const OdGeVector3d n(0.2, -0.4, 0.9);
    const OdGeCircArc3d circle(OdGePoint3d(1, 2, 3), n, 2.0);
    EXPECT_TRUE(circle.refVec().isEqualTo(n.perpVector()));
    EXPECT_TRUE(circle.isClosed());
    EXPECT_NEAR(circle.length(), 4.0 * kPi, 1e-12);

    const OdGePoint3d s = circle.evalPoint(0.3), m = circle.evalPoint(1.4), e = circle.evalPoint(2.9);
    const OdGeCircArc3d arc(s, m, e);
    EXPECT_TRUE(arc.center().isEqualTo(circle.center(), OdGeTol(1e-12)));
    EXPECT_NEAR(arc.radius(), 2.0, 1e-12);
    EXPECT_NEAR(arc.sweep(), 2.6, 1e-12);
    EXPECT_TRUE(arc.isOn(m));
    EXPECT_TRUE(arc.endPoint().isEqualTo(e, OdGeTol(1e-12)));
    for (double t : {0.1, 1.0, 2.5})
        EXPECT_NEAR(arc.paramOf(arc.evalPoint(t)), t, 1e-12);
    // A point off the plane projects onto the arc.
    EXPECT_TRUE(arc.closestPointTo(arc.evalPoint(1.0) + n * 5.0).isEqualTo(arc.evalPoint(1.0), OdGeTol(1e-12)));
}

// The products of the circumcentre formula (of the fifth power of the size) would overflow near 1e100;
// the circle through three points is found all the same.
TEST(CircArc3d, ThreePointsFarOut)
{
    for (double size : {1e100, 1e150}) {
        OdGeCircArc3d arc;
        ASSERT_TRUE(arc.set(OdGePoint3d(size, 0, 0), OdGePoint3d(0, size, 0), OdGePoint3d(-size, 0, 0))) << size;
        EXPECT_NEAR(arc.radius() / size, 1.0, 1e-12) << size;
        EXPECT_LE(arc.center().distanceTo(OdGePoint3d::kOrigin), size * 1e-12) << size;
        EXPECT_TRUE(arc.normal().isEqualTo(OdGeVector3d::kZAxis)) << size;
        EXPECT_NEAR(arc.sweep(), kPi, 1e-12) << size;
    }
    OdGeCircArc3d arc;
    EXPECT_FALSE(arc.set(OdGePoint3d(-1e100, 0, 0), OdGePoint3d(0, 0, 0), OdGePoint3d(1e100, 0, 0)));
}

TEST(CircArc3d, LineAndPlaneCrossings)
{
    const OdGeCircArc3d circle(OdGePoint3d(0, 0, 0), OdGeVector3d(0, 0, 1), 5.0);
    int n = 0;
    OdGePoint3d p1, p2;
    ASSERT_TRUE(circle.intersectWith(OdGeLineSeg3d({-10, 3, 0}, {10, 3, 0}), n, p1, p2));
    EXPECT_EQ(n, 2);
    EXPECT_TRUE(circle.isOn(p1) && circle.isOn(p2));
    // Through the plane: hits only when piercing the circle itself.
    ASSERT_TRUE(circle.intersectWith(OdGeLineSeg3d({3, 4, -1}, {3, 4, 1}), n, p1, p2));
    EXPECT_EQ(n, 1);
    EXPECT_TRUE(p1.isEqualTo({3, 4, 0}));
    EXPECT_FALSE(circle.intersectWith(OdGeLineSeg3d({0, 0, -1}, {0, 0, 1}), n, p1, p2));

    std::vector<OdGePoint3d> pts;
    ASSERT_TRUE(circle.intersectWith(OdGePlane(OdGePoint3d(3, 0, 0), OdGeVector3d(1, 0, 1)), pts));
    ASSERT_EQ(pts.size(), 2u);
    for (const OdGePoint3d& p : pts) {
        EXPECT_TRUE(circle.isOn(p));
        EXPECT_NEAR(p.x, 3.0, 1e-12);
    }
    EXPECT_FALSE(circle.intersectWith(OdGePlane(OdGePoint3d(0, 0, 1), OdGeVector3d(0, 0, 1)), pts));
}

TEST(CircArc3d, ArcArcCoplanarAndAcrossPlanes)
{
    const OdGeVector3d n(1, 1, 1);
    const OdGeCircArc3d a(OdGePoint3d(0, 0, 0), n, 5.0);
    // Coplanar, centre 8 away along the plane's u axis, and with the opposite normal.
    const OdGeCircArc3d b(OdGePoint3d(0, 0, 0) + n.perpVector() * 8.0, -n, 5.0);
    int count = 0;
    OdGePoint3d p1, p2;
    ASSERT_TRUE(a.intersectWith(b, count, p1, p2));
    ASSERT_EQ(count, 2);
    for (const OdGePoint3d& p : {p1, p2})
        EXPECT_TRUE(a.isOn(p) && b.isOn(p));

    // Two unit circles in perpendicular planes sharing the X axis diameter.
    const OdGeCircArc3d xy(OdGePoint3d(0, 0, 0), OdGeVector3d(0, 0, 1), 1.0);
    const OdGeCircArc3d xz(OdGePoint3d(0, 0, 0), OdGeVector3d(0, 1, 0), 1.0);
    ASSERT_TRUE(xy.intersectWith(xz, count, p1, p2));
    ASSERT_EQ(count, 2);
    EXPECT_NEAR(std::fabs(p1.x), 1.0, 1e-12);
    EXPECT_TRUE(p1.isEqualTo((-p2.asVector()).asPoint()));
    // Parallel planes apart: nothing.
    EXPECT_FALSE(xy.intersectWith(OdGeCircArc3d(OdGePoint3d(0, 0, 1), OdGeVector3d(0, 0, 1), 1.0), count, p1, p2));
}

TEST(CircArc3d, MirrorFlipsNormalAndKeepsPoints)
{
    OdGeCircArc3d arc(OdGePoint3d(1, 1, 1), OdGeVector3d(0, 0, 1), OdGeVector3d(1, 0, 0), 2.0, 0.5, 2.5);
    const OdGePoint3d s = arc.startPoint(), m = arc.midPoint();
    const OdGeMatrix3d mirror = OdGeMatrix3d::mirroring(OdGePlane(OdGePoint3d(0, 0, 0), OdGeVector3d(1, 0, 0)));
    arc.transformBy(mirror);
    EXPECT_TRUE(arc.normal().isEqualTo({0, 0, -1}));
    EXPECT_TRUE(arc.startPoint().isEqualTo(OdGePoint3d(s).transformBy(mirror), OdGeTol(1e-12)));
    EXPECT_TRUE(arc.midPoint().isEqualTo(OdGePoint3d(m).transformBy(mirror), OdGeTol(1e-12)));
    arc.reverseParam();
    EXPECT_TRUE(arc.endPoint().isEqualTo(OdGePoint3d(s).transformBy(mirror), OdGeTol(1e-12)));
}

} // namespace
