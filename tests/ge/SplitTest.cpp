// Splitting, the same contract for every bounded curve in both dimensions: the pieces meet
// at the split point and keep the curve's ends, and a split at or beyond an end gives no
// piece on that side.
#include <gtest/gtest.h>

#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeCircArc3d.h>
#include <vantrel/ge/OdGeEllipArc2d.h>
#include <vantrel/ge/OdGeEllipArc3d.h>
#include <vantrel/ge/OdGeLineSeg2d.h>
#include <vantrel/ge/OdGeLineSeg3d.h>
#include <vantrel/ge/OdGeNurbCurve2d.h>
#include <vantrel/ge/OdGeNurbCurve3d.h>

#include <memory>
#include <vector>

namespace {

template <class Base>
void expectSplitContract(const Base& curve)
{
    double lo, hi;
    curve.getInterval(lo, hi);
    const double at = lo + 0.3 * (hi - lo);
    const OdGeTol tol(1e-9);
    std::unique_ptr<Base> a, b;
    curve.getSplitCurves(at, a, b);
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->startPoint().isEqualTo(curve.startPoint(), tol));
    EXPECT_TRUE(a->endPoint().isEqualTo(curve.evalPoint(at), tol));
    EXPECT_TRUE(b->startPoint().isEqualTo(curve.evalPoint(at), tol));
    EXPECT_TRUE(b->endPoint().isEqualTo(curve.endPoint(), tol));
    EXPECT_NEAR(a->length() + b->length(), curve.length(), 1e-8);

    curve.getSplitCurves(lo, a, b);
    EXPECT_FALSE(a);
    ASSERT_TRUE(b);
    EXPECT_NEAR(b->length(), curve.length(), 1e-8);
    curve.getSplitCurves(hi + 1.0, a, b);
    EXPECT_FALSE(b);
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->endPoint().isEqualTo(curve.endPoint(), tol));
}

} // namespace

TEST(SplitCurves, PlaneCurvesMeetAtTheSplitAndKeepTheirEnds)
{
    expectSplitContract<OdGeCurve2d>(OdGeLineSeg2d({1, 2}, {4, -2}));
    expectSplitContract<OdGeCurve2d>(OdGeCircArc2d(OdGePoint2d(1, 1), 2.0, 0.5, 4.0, OdGeVector2d::kXAxis, true));
    expectSplitContract<OdGeCurve2d>(OdGeEllipArc2d({1, 1}, {1, 1}, {-1, 1}, 3.0, 1.0, -0.5, 2.5));
    expectSplitContract<OdGeCurve2d>(*OdGeNurbCurve2d::interpolate({{0, 0}, {1, 2}, {3, 1}, {4, 3}}));
}

TEST(SplitCurves, SpaceCurvesMeetAtTheSplitAndKeepTheirEnds)
{
    expectSplitContract<OdGeCurve3d>(OdGeLineSeg3d({1, 2, 3}, {4, -2, 0}));
    expectSplitContract<OdGeCurve3d>(
        OdGeCircArc3d(OdGePoint3d(1, 1, 1), OdGeVector3d(1, 1, 1), OdGeVector3d(1, -1, 0), 2.0, 0.5, 4.0));
    expectSplitContract<OdGeCurve3d>(OdGeEllipArc3d({1, 1, 0}, {1, 0, 1}, {0, 1, 0}, 3.0, 1.0, -0.5, 2.5));
    expectSplitContract<OdGeCurve3d>(
        OdGeNurbCurve3d(OdGeEllipArc3d({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 2.0, 1.0, 0.0, 4.0)));
}
