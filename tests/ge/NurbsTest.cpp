// NURBS curves: exact conversions, derivatives, interpolation, knot insertion and
// splitting, numerical searches and polyline approximation.
#include <gtest/gtest.h>

#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeCircArc3d.h>
#include <vantrel/ge/OdGeEllipArc3d.h>
#include <vantrel/ge/OdGeLineSeg3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGeNurbCurve2d.h>
#include <vantrel/ge/OdGeNurbCurve3d.h>

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// A non-uniform, non-rational cubic with an interior double knot.
OdGeNurbCurve3d sampleCubic()
{
    const OdGeKnotVector knots(std::vector<double>{0, 0, 0, 0, 1, 2, 2, 4, 4, 4, 4});
    const std::vector<OdGePoint3d> ctrl{{0, 0, 0}, {1, 2, 0}, {3, 3, 1}, {4, 0, 2}, {6, -1, 1}, {7, 2, 0}, {9, 1, 0}};
    return OdGeNurbCurve3d(3, knots, ctrl);
}

TEST(NurbsConversion, LineAndArcsAreReproducedExactly)
{
    const OdGeLineSeg3d seg({1, 2, 3}, {4, 6, 3});
    const OdGeNurbCurve3d line(seg);
    EXPECT_NEAR(line.length(), 5.0, 1e-12);
    EXPECT_TRUE(line.evalPoint(0.5).isEqualTo(seg.midPoint()));

    const OdGeCircArc3d arc(OdGePoint3d(1, 1, 1), OdGeVector3d(1, -2, 2), OdGeVector3d(2, 1, 0), 3.0, 0.4, 5.9);
    const OdGeNurbCurve3d nurb(arc);
    EXPECT_TRUE(nurb.isValid());
    EXPECT_TRUE(nurb.isRational());
    EXPECT_NEAR(nurb.length(), 3.0 * 5.5, 1e-9);
    EXPECT_TRUE(nurb.startPoint().isEqualTo(arc.startPoint(), OdGeTol(1e-12)));
    EXPECT_TRUE(nurb.endPoint().isEqualTo(arc.endPoint(), OdGeTol(1e-12)));
    std::vector<OdGePoint3d> pts;
    nurb.getSamplePoints(40, pts);
    for (const OdGePoint3d& p : pts) {
        EXPECT_NEAR(p.distanceTo(arc.center()), 3.0, 1e-12);
        EXPECT_NEAR(arc.getPlane().distanceTo(p), 0.0, 1e-12);
    }

    const OdGeEllipArc3d ell(OdGePoint3d(0, 0, 0), OdGeVector3d(0, 1, 0), OdGeVector3d(0, 0, 1), 5.0, 2.0);
    const OdGeNurbCurve3d nell(ell);
    EXPECT_NEAR(nell.length(), ell.length(), 1e-9);
    EXPECT_TRUE(nell.isClosed());
    for (double t = 0.0; t < 2 * kPi; t += 0.5)
        EXPECT_LT(ell.distanceTo(nell.evalPoint(t)), 1e-12);
}

TEST(NurbsEvaluation, DerivativesMatchFiniteDifferences)
{
    const OdGeCircArc3d arc(OdGePoint3d(0, 0, 0), OdGeVector3d(0, 0, 1), OdGeVector3d(1, 0, 0), 2.0, 0.0, 3.0);
    const OdGeNurbCurve3d curves[] = {sampleCubic(), OdGeNurbCurve3d(arc)};
    for (const OdGeNurbCurve3d& c : curves) {
        for (double t : {0.3, 1.2, 2.6}) { // away from knots, where C'' may jump
            std::vector<OdGeVector3d> d;
            c.evalPoint(t, 2, d);
            ASSERT_EQ(d.size(), 2u);
            const double h = 1e-5;
            std::vector<OdGeVector3d> dp, dm;
            c.evalPoint(t + h, 1, dp);
            c.evalPoint(t - h, 1, dm);
            const OdGeVector3d fd1 = (c.evalPoint(t + h) - c.evalPoint(t - h)) / (2 * h);
            const OdGeVector3d fd2 = (dp[0] - dm[0]) / (2 * h);
            EXPECT_TRUE(fd1.isEqualTo(d[0], OdGeTol(1e-6, 1e-6))) << t;
            EXPECT_TRUE(fd2.isEqualTo(d[1], OdGeTol(1e-4, 1e-4))) << t;
        }
    }
}

TEST(NurbsInterpolation, PassesThroughEveryFitPointWithGivenTangents)
{
    const std::vector<OdGePoint3d> fit{{0, 0, 0}, {1, 2, 0}, {3, 3, 1}, {3, 3, 1}, {5, 1, 2}, {8, 0, 0}, {9, 3, 1}};
    const OdGeVector3d t0(1, 0, 0), t1(0, 1, 0);
    const auto c = OdGeNurbCurve3d::interpolate(fit, t0, t1);
    ASSERT_TRUE(c.has_value());
    EXPECT_TRUE(c->isValid());
    EXPECT_EQ(c->degree(), 3);
    for (const OdGePoint3d& p : fit)
        EXPECT_LT(c->distanceTo(p), 1e-9);
    EXPECT_TRUE(c->startPoint().isEqualTo(fit.front()));
    EXPECT_TRUE(c->endPoint().isEqualTo(fit.back()));
    std::vector<OdGeVector3d> d;
    c->evalPoint(0.0, 1, d);
    EXPECT_TRUE(d[0].isCodirectionalTo(t0, OdGeTol(1e-10, 1e-9)));
    c->evalPoint(1.0, 1, d);
    EXPECT_TRUE(d[0].isCodirectionalTo(t1, OdGeTol(1e-10, 1e-9)));

    // Definitions from outside are checked before a curve is built from them.
    const OdGeKnotVector k(std::vector<double>{0, 0, 1, 1});
    const std::vector<OdGePoint3d> two{{0, 0, 0}, {1, 0, 0}};
    EXPECT_TRUE(OdGeNurbCurve3d::isValidDefinition(1, k, two, {}));
    EXPECT_FALSE(OdGeNurbCurve3d::isValidDefinition(2, k, two, {}));
    EXPECT_FALSE(OdGeNurbCurve3d::isValidDefinition(1, OdGeKnotVector(std::vector<double>{0, 1, 0, 1}), two, {}));
    EXPECT_FALSE(OdGeNurbCurve3d::isValidDefinition(1, k, two, {1.0, 0.0}));
    EXPECT_FALSE(OdGeNurbCurve3d::isValidDefinition(1, k, two, {1.0}));

    // Without tangents, and with few points, the degree drops to what the points allow.
    const auto line = OdGeNurbCurve3d::interpolate({{0, 0, 0}, {2, 0, 0}});
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->degree(), 1);
    EXPECT_NEAR(line->length(), 2.0, 1e-12);
    EXPECT_FALSE(OdGeNurbCurve3d::interpolate({{1, 1, 1}, {1, 1, 1}}).has_value());
}

TEST(NurbsInterpolation, ClosedCurveJoinsSmoothly)
{
    std::vector<OdGePoint3d> fit;
    fit.reserve(8);
    for (int i = 0; i < 8; ++i)
        fit.emplace_back(3 * std::cos(i * kPi / 4), 2 * std::sin(i * kPi / 4), 0.0);
    const auto c = OdGeNurbCurve3d::interpolate(fit, OdGeVector3d(), OdGeVector3d(), true);
    ASSERT_TRUE(c.has_value());
    EXPECT_TRUE(c->isClosed());
    for (const OdGePoint3d& p : fit)
        EXPECT_LT(c->distanceTo(p), 1e-9);
    std::vector<OdGeVector3d> ds, de;
    double lo, hi;
    c->getInterval(lo, hi);
    c->evalPoint(lo, 1, ds);
    c->evalPoint(hi, 1, de);
    EXPECT_TRUE(ds[0].isCodirectionalTo(de[0], OdGeTol(1e-10, 1e-9)));
    // Close to the ellipse it samples.
    const OdGeEllipArc3d ell(OdGePoint3d(), OdGeVector3d::kXAxis, OdGeVector3d::kYAxis, 3.0, 2.0);
    EXPECT_NEAR(c->length(), ell.length(), 0.05);

    const auto c2 = OdGeNurbCurve2d::interpolate({{0, 0}, {1, 1}, {2, 0}, {3, 1}});
    ASSERT_TRUE(c2.has_value());
    EXPECT_LT(c2->distanceTo({2, 0}), 1e-9);
}

TEST(NurbsKnots, InsertionAndSplitKeepTheShape)
{
    const OdGeNurbCurve3d c = sampleCubic();
    OdGeNurbCurve3d refined = c;
    refined.insertKnot(0.5).insertKnot(3.0).insertKnot(3.0);
    EXPECT_EQ(refined.numControlPoints(), c.numControlPoints() + 3);
    EXPECT_EQ(refined.knots().multiplicityAt(3.0), 2);
    for (double t = 0.0; t <= 4.0; t += 0.25)
        EXPECT_TRUE(refined.evalPoint(t).isEqualTo(c.evalPoint(t), OdGeTol(1e-12))) << t;

    const double total = c.length();
    for (double at : {0.7, 2.0, 3.3}) {
        std::unique_ptr<OdGeCurve3d> a, b;
        c.getSplitCurves(at, a, b);
        ASSERT_TRUE(a && b);
        EXPECT_TRUE(a->startPoint().isEqualTo(c.startPoint(), OdGeTol(1e-12)));
        EXPECT_TRUE(a->endPoint().isEqualTo(c.evalPoint(at), OdGeTol(1e-12)));
        EXPECT_TRUE(b->startPoint().isEqualTo(c.evalPoint(at), OdGeTol(1e-12)));
        EXPECT_TRUE(b->endPoint().isEqualTo(c.endPoint(), OdGeTol(1e-12)));
        EXPECT_NEAR(a->length() + b->length(), total, 1e-9);
        EXPECT_TRUE(a->evalPoint(at * 0.5).isEqualTo(c.evalPoint(at * 0.5), OdGeTol(1e-12)));
    }
    // A rational curve splits in homogeneous space: the pieces stay on the circle.
    const OdGeNurbCurve3d circle(OdGeCircArc3d(OdGePoint3d(0, 0, 0), OdGeVector3d(0, 0, 1), 2.0));
    std::unique_ptr<OdGeCurve3d> a, b;
    circle.getSplitCurves(1.0, a, b);
    ASSERT_TRUE(a && b);
    for (double t : {0.2, 0.9})
        EXPECT_NEAR(a->evalPoint(t).distanceTo(OdGePoint3d()), 2.0, 1e-12);
    EXPECT_NEAR(a->length() + b->length(), 4 * kPi, 1e-9);
}

TEST(NurbsSearch, ClosestPointPlaneCrossingsAndSampling)
{
    const OdGeNurbCurve3d c = sampleCubic();
    for (double t : {0.2, 1.7, 2.9, 3.8})
        EXPECT_NEAR(c.paramOf(c.evalPoint(t)), t, 1e-8) << t;
    // Arc length walks across knots in both directions.
    const double fwd = c.paramAtLength(0.5, 6.0);
    EXPECT_NEAR(c.length(0.5, fwd), 6.0, 1e-8);
    const double bwd = c.paramAtLength(3.5, 4.0, false);
    EXPECT_NEAR(c.length(bwd, 3.5), 4.0, 1e-8);
    EXPECT_EQ(c.paramAtLength(0.5, 1e6), 4.0);

    std::vector<OdGePoint3d> pts;
    const OdGePlane plane(OdGePoint3d(0, 1, 0), OdGeVector3d(0, 1, 0));
    ASSERT_TRUE(c.intersectWith(plane, pts));
    EXPECT_GE(pts.size(), 2u);
    for (const OdGePoint3d& p : pts) {
        EXPECT_NEAR(plane.distanceTo(p), 0.0, 1e-9);
        EXPECT_LT(c.distanceTo(p), 1e-9);
    }

    const double eps = 1e-3;
    std::vector<OdGePoint3d> poly;
    c.appendSamplePoints(0.0, 4.0, eps, poly);
    ASSERT_GE(poly.size(), 3u);
    EXPECT_TRUE(poly.front().isEqualTo(c.startPoint()));
    EXPECT_TRUE(poly.back().isEqualTo(c.endPoint()));
    // Every curve point is within eps of the polyline.
    for (double t = 0.0; t <= 4.0; t += 0.01) {
        const OdGePoint3d p = c.evalPoint(t);
        double best = 1e9;
        for (size_t i = 0; i + 1 < poly.size(); ++i)
            best = std::min(best, OdGeLineSeg3d(poly[i], poly[i + 1]).distanceTo(p));
        EXPECT_LE(best, eps * 1.01) << t;
    }
}

TEST(NurbsTransform, TransformAndReverse)
{
    OdGeNurbCurve3d c = sampleCubic();
    const OdGeMatrix3d m
        = OdGeMatrix3d::rotation(0.9, OdGeVector3d(1, 2, 3), OdGePoint3d(1, 0, 0)) * OdGeMatrix3d::scaling(2.0);
    const OdGePoint3d mid = c.evalPoint(1.3);
    const double len = c.length();
    c.transformBy(m);
    EXPECT_TRUE(c.evalPoint(1.3).isEqualTo(OdGePoint3d(mid).transformBy(m), OdGeTol(1e-12)));
    EXPECT_NEAR(c.length(), 2.0 * len, 1e-8);

    OdGeNurbCurve3d r = c;
    r.reverseParam();
    double lo, hi;
    c.getInterval(lo, hi);
    EXPECT_TRUE(r.startPoint().isEqualTo(c.endPoint()));
    EXPECT_TRUE(r.evalPoint(lo + hi - 1.3).isEqualTo(c.evalPoint(1.3), OdGeTol(1e-12)));

    OdGeNurbCurve2d arc2(OdGeCircArc2d(OdGePoint2d(1, 1), 1.0, 0.0, kPi, OdGeVector2d::kXAxis, true));
    EXPECT_TRUE(arc2.evalPoint(kPi / 2).isEqualTo({1, 0}, OdGeTol(1e-12)) || arc2.distanceTo({1, 0}) < 1e-12);
    EXPECT_NEAR(arc2.length(), kPi, 1e-9);
}

} // namespace
