// Elliptical arcs: length against an independent series, parameters, closest points,
// crossings, and affine images.
#include <gtest/gtest.h>

#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeEllipArc2d.h>
#include <vantrel/ge/OdGeEllipArc3d.h>
#include <vantrel/ge/OdGeLine2d.h>
#include <vantrel/ge/OdGeLineSeg3d.h>
#include <vantrel/ge/OdGeMatrix2d.h>
#include <vantrel/ge/OdGeMatrix3d.h>

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// Gauss-Kummer series for the perimeter: pi (a + b) sum (binom(1/2, n))^2 h^n.
double perimeterBySeries(double a, double b)
{
    const double h = (a - b) * (a - b) / ((a + b) * (a + b));
    double sum = 0.0, coef = 1.0, hn = 1.0;
    for (int n = 0; n < 200; ++n) {
        sum += coef * coef * hn;
        coef *= (0.5 - n) / (n + 1.0);
        hn *= h;
    }
    return kPi * (a + b) * sum;
}

class EllipArc3dTest : public ::testing::Test {
protected:
    const OdGeVector3d major{1, 1, 0};
    const OdGeVector3d minor{-1, 1, 2};
    OdGeEllipArc3d ellipse{OdGePoint3d(1, -2, 3), major, minor, 4.0, 1.5};
};

TEST_F(EllipArc3dTest, PerimeterMatchesSeriesToTenDigits)
{
    const double expected = perimeterBySeries(4.0, 1.5);
    EXPECT_NEAR(ellipse.length() / expected, 1.0, 1e-10);
    EXPECT_NEAR(OdGeEllipArc2d(OdGePoint2d(), OdGeVector2d(0, 1), OdGeVector2d(-1, 0), 7.0, 0.3).length()
                    / perimeterBySeries(7.0, 0.3),
                1.0, 1e-10);
    // Quarter arcs share the perimeter by symmetry; lengths add across a cut.
    EXPECT_NEAR(ellipse.length(0.0, kPi / 2), expected / 4, 1e-9);
    EXPECT_NEAR(ellipse.length(0.3, 1.1) + ellipse.length(1.1, 2.0), ellipse.length(0.3, 2.0), 1e-12);
}

TEST_F(EllipArc3dTest, ParamAtLengthInvertsLength)
{
    for (double len : {0.5, 3.0, 12.0}) {
        const double t = ellipse.paramAtLength(0.4, len);
        EXPECT_NEAR(ellipse.length(0.4, t), len, 1e-9);
    }
    const double back = ellipse.paramAtLength(3.0, 2.0, false);
    EXPECT_LT(back, 3.0);
    EXPECT_NEAR(ellipse.length(back, 3.0), 2.0, 1e-9);
}

TEST_F(EllipArc3dTest, EvalParamOfRoundTripAndClosestPoint)
{
    EXPECT_TRUE(ellipse.minorAxis().isPerpendicularTo(ellipse.majorAxis()));
    for (double t = 0.0; t < 2 * kPi; t += 0.37)
        EXPECT_NEAR(ellipse.paramOf(ellipse.evalPoint(t)), t, 1e-9) << t;
    // A point pushed out along the normal of the curve comes back to the foot.
    std::vector<OdGeVector3d> d;
    const OdGePoint3d foot = ellipse.evalPoint(2.2, 1, d);
    const OdGeVector3d out = d[0].crossProduct(ellipse.normal()).normal();
    const OdGePoint3d probe = foot + out * 0.3 + ellipse.normal() * 2.0;
    EXPECT_TRUE(ellipse.closestPointTo(probe).isEqualTo(foot, OdGeTol(1e-8)));
    // Derivatives agree with central differences.
    const double h = 1e-6;
    const OdGeVector3d fd = (ellipse.evalPoint(2.2 + h) - ellipse.evalPoint(2.2 - h)) / (2 * h);
    EXPECT_TRUE(fd.isEqualTo(d[0], OdGeTol(1e-6, 1e-6)));
}

TEST_F(EllipArc3dTest, PlaneAndLineCrossingsLieOnBoth)
{
    const OdGePlane cut(ellipse.center() + major.normal() * 2.0, major);
    std::vector<OdGePoint3d> pts;
    ASSERT_TRUE(ellipse.intersectWith(cut, pts));
    ASSERT_EQ(pts.size(), 2u);
    for (const OdGePoint3d& p : pts) {
        EXPECT_NEAR(cut.distanceTo(p), 0.0, 1e-12);
        EXPECT_LT(ellipse.distanceTo(p), 1e-9);
    }
    // Tangent plane at the major vertex touches once.
    ASSERT_TRUE(ellipse.intersectWith(OdGePlane(ellipse.evalPoint(0.0), major), pts));
    EXPECT_EQ(pts.size(), 1u);

    int n = 0;
    OdGePoint3d p1, p2;
    const OdGeLineSeg3d chord(ellipse.evalPoint(0.5) - (ellipse.evalPoint(4.0) - ellipse.evalPoint(0.5)),
                              ellipse.evalPoint(4.0) + (ellipse.evalPoint(4.0) - ellipse.evalPoint(0.5)));
    ASSERT_TRUE(ellipse.intersectWith(chord, n, p1, p2));
    ASSERT_EQ(n, 2);
    EXPECT_TRUE(p1.isEqualTo(ellipse.evalPoint(0.5), OdGeTol(1e-9))
                || p2.isEqualTo(ellipse.evalPoint(0.5), OdGeTol(1e-9)));
    // Piercing the plane inside the ellipse misses the curve.
    EXPECT_FALSE(ellipse.intersectWith(
        OdGeLineSeg3d(ellipse.center() - ellipse.normal(), ellipse.center() + ellipse.normal()), n, p1, p2));
}

TEST_F(EllipArc3dTest, ArcsRespectTheirRange)
{
    const OdGeEllipArc3d arc(OdGePoint3d(0, 0, 0), OdGeVector3d::kXAxis, OdGeVector3d::kYAxis, 3.0, 1.0, 0.0, kPi / 2);
    std::vector<OdGePoint3d> pts;
    ASSERT_TRUE(arc.intersectWith(OdGePlane(OdGePoint3d(1, 0, 0), OdGeVector3d::kXAxis), pts));
    ASSERT_EQ(pts.size(), 1u);
    EXPECT_GT(pts[0].y, 0.0);
    EXPECT_TRUE(arc.closestPointTo({-5, -5, 0}).isEqualTo(arc.endPoint()));
    EXPECT_FALSE(arc.isClosed());
    std::unique_ptr<OdGeCurve3d> a, b;
    arc.getSplitCurves(0.7, a, b);
    ASSERT_TRUE(a && b);
    EXPECT_NEAR(a->length() + b->length(), arc.length(), 1e-10);
    EXPECT_TRUE(a->endPoint().isEqualTo(b->startPoint()));
}

TEST(EllipArcTransform, NonUniformScaleOfACircleGivesTheExpectedEllipse)
{
    OdGeEllipArc2d e(OdGeCircArc2d(OdGePoint2d(1, 1), 2.0, 0.0, kPi));
    const OdGePoint2d before[] = {e.evalPoint(0.0), e.evalPoint(1.0), e.evalPoint(kPi)};
    OdGeMatrix2d stretch;
    stretch.entry[1][1] = 3.0; // y * 3
    e.transformBy(stretch);
    EXPECT_NEAR(e.majorRadius(), 6.0, 1e-12);
    EXPECT_NEAR(e.minorRadius(), 2.0, 1e-12);
    EXPECT_TRUE(e.majorAxis().isParallelTo(OdGeVector2d::kYAxis));
    // The arc's ends and an interior point map to the transformed originals.
    EXPECT_TRUE(e.startPoint().isEqualTo(OdGePoint2d(before[0]).transformBy(stretch), OdGeTol(1e-12)));
    EXPECT_TRUE(e.endPoint().isEqualTo(OdGePoint2d(before[2]).transformBy(stretch), OdGeTol(1e-12)));
    EXPECT_TRUE(e.isOn(OdGePoint2d(before[1]).transformBy(stretch), OdGeTol(1e-9)));

    // A sheared 3d ellipse: every sampled point maps onto the image curve.
    OdGeEllipArc3d e3(OdGePoint3d(0, 0, 0), OdGeVector3d(1, 0, 0), OdGeVector3d(0, 1, 0), 2.0, 1.0, 0.5, 3.0);
    OdGeMatrix3d shear;
    shear.entry[0][1] = 0.8;
    shear.entry[2][0] = 0.3;
    std::vector<OdGePoint3d> pts;
    e3.getSamplePoints(7, pts);
    OdGeEllipArc3d img = e3;
    img.transformBy(shear);
    EXPECT_TRUE(img.majorAxis().isPerpendicularTo(img.minorAxis()));
    EXPECT_TRUE(img.startPoint().isEqualTo(OdGePoint3d(pts.front()).transformBy(shear), OdGeTol(1e-12)));
    for (OdGePoint3d p : pts)
        EXPECT_LT(img.distanceTo(p.transformBy(shear)), 1e-9);
}

TEST(EllipArc2d, LineCrossingsAndReverse)
{
    OdGeEllipArc2d e(OdGePoint2d(0, 0), OdGeVector2d(1, 0), OdGeVector2d(0, -1), 4.0, 2.0);
    EXPECT_TRUE(e.isClockWise());
    int n = 0;
    OdGePoint2d p1, p2;
    ASSERT_TRUE(e.intersectWith(OdGeLine2d(OdGePoint2d(0, 0), OdGeVector2d(1, 1)), n, p1, p2));
    ASSERT_EQ(n, 2);
    const double x = 4.0 / std::sqrt(5.0); // x^2/16 + x^2/4 = 1
    EXPECT_TRUE(p1.isEqualTo({x, x}, OdGeTol(1e-12)) || p2.isEqualTo({x, x}, OdGeTol(1e-12)));
    ASSERT_TRUE(e.intersectWith(OdGeLine2d(OdGePoint2d(0, 2), OdGeVector2d(1, 0)), n, p1, p2));
    EXPECT_EQ(n, 1);

    OdGeEllipArc2d arc = e;
    arc.setAngles(0.3, 2.0);
    const OdGePoint2d s = arc.startPoint(), end = arc.endPoint();
    arc.reverseParam();
    EXPECT_TRUE(arc.startPoint().isEqualTo(end, OdGeTol(1e-12)));
    EXPECT_TRUE(arc.endPoint().isEqualTo(s, OdGeTol(1e-12)));
}

} // namespace
