// Walking along a curve by distance, as laying points along any curve kind needs it: length,
// distance at a parameter, point at a distance, direction and closedness against closed-form
// values, and the batch query agreeing with the single one.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbSpline.h>
#include "curve_queries.h"
#include "db_key.h"

namespace {

constexpr double kPi = std::numbers::pi;

// The unit direction of the curve where it is `dist` from its start.
OdGeVector3d directionAtDist(const OdDbCurve& c, double dist)
{
    double param = 0.0;
    OdGeVector3d d;
    EXPECT_EQ(c.getParamAtDist(dist, param), eOk);
    EXPECT_EQ(c.getFirstDeriv(param, d), eOk);
    return d.normal();
}

// Arc length of a spline from its start to `to`, summed apart from the entity's own quadrature:
// 5-point Gauss-Legendre on 40 equal pieces between neighbouring knots (the speed may jump at a
// knot).
double referenceDistAtParam(const OdDbSpline& s, double to)
{
    constexpr double x[] = {0.0, 0.5384693101056831, 0.9061798459386640};
    constexpr double w[] = {0.5688888888888889, 0.4786286704993665, 0.2369268850561891};
    constexpr int kPieces = 40;
    double start = 0.0;
    EXPECT_EQ(s.getStartParam(start), eOk);
    std::vector<double> cuts{start};
    for (double k : s.data().knots)
        if (k > cuts.back() && k < to)
            cuts.push_back(k);
    cuts.push_back(to);
    auto speed = [&s](double t) {
        OdGeVector3d d;
        EXPECT_EQ(s.getFirstDeriv(t, d), eOk);
        return d.length();
    };
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const double h = (cuts[i + 1] - cuts[i]) / kPieces;
        for (int j = 0; j < kPieces; ++j) {
            const double mid = cuts[i] + (j + 0.5) * h, r = 0.5 * h;
            sum += r * w[0] * speed(mid);
            for (int k = 1; k < 3; ++k)
                sum += r * w[k] * (speed(mid - r * x[k]) + speed(mid + r * x[k]));
        }
    }
    return sum;
}

// What every walk relies on: the walk starts at the start point, ends at the end point (the start
// again when closed), and every point lies as far along the curve as asked.
void expectWalkable(const OdDbCurve& c, double length, bool closed)
{
    SCOPED_TRACE(c.isA()->name());
    const double len = lengthOf(c);
    EXPECT_NEAR(len, length, 1e-9 * length);
    EXPECT_EQ(c.isClosed(), closed);
    OdGePoint3d start, end;
    ASSERT_EQ(c.getStartPoint(start), eOk);
    ASSERT_EQ(c.getEndPoint(end), eOk);
    EXPECT_LE(pointAtDist(c, 0.0).distanceTo(start), 1e-9);
    EXPECT_LE(pointAtDist(c, len).distanceTo(end), 1e-9);
    EXPECT_EQ(start.isEqualTo(end), closed);
    for (double f : {0.35, 0.8}) {
        double dist = -1.0;
        ASSERT_EQ(c.getDistAtPoint(pointAtDist(c, f * len), dist), eOk);
        EXPECT_NEAR(dist, f * len, 1e-7 * len) << f;
    }
    OdGePoint3d beyond;
    EXPECT_NE(c.getPointAtDist(len * 1.01 + 1e-6, beyond), eOk);
    EXPECT_NE(c.getPointAtDist(-len * 0.01 - 1e-6, beyond), eOk);

    std::vector<double> dists;
    for (int i = 0; i <= 4; ++i)
        dists.push_back(len * i / 4.0);
    std::vector<OdGePoint3d> points;
    ASSERT_EQ(c.getPointsAtDists(dists, points), eOk);
    ASSERT_EQ(points.size(), dists.size());
    for (std::size_t i = 0; i < dists.size(); ++i)
        EXPECT_LE(points[i].distanceTo(pointAtDist(c, dists[i])), 1e-12) << i;
}

} // namespace

TEST(CurveWalk, LinesArcsAndCirclesMatchTheirClosedForms)
{
    OdDbLinePtr line = OdDbLine::createObject();
    line->setStartPoint({1, 1, 0});
    line->setEndPoint({31, 41, 0});
    expectWalkable(*line, 50.0, false);
    EXPECT_TRUE(directionAtDist(*line, 20).isEqualTo({0.6, 0.8, 0}));

    OdDbCirclePtr circle = OdDbCircle::createObject();
    circle->setCenter({2, 3, 0});
    circle->setRadius(100.0 / (2 * kPi)); // circumference 100
    expectWalkable(*circle, 100.0, true);
    // A quarter of the way round from the start at angle 0: the top, heading -X.
    EXPECT_LE(pointAtDist(*circle, 25).distanceTo({2, 3 + circle->radius(), 0}), 1e-9);
    EXPECT_TRUE(directionAtDist(*circle, 25).isEqualTo({-1, 0, 0}));

    OdDbArcPtr arc = OdDbArc::createObject();
    arc->setRadius(10);
    arc->setStartAngle(kPi / 2);
    arc->setEndAngle(kPi);
    expectWalkable(*arc, 5 * kPi, false);
    EXPECT_TRUE(directionAtDist(*arc, 0).isEqualTo({-1, 0, 0}));
}

TEST(CurveWalk, EllipsesWholeAndHalf)
{
    const double circumference = 19.376896441095352; // semi-axes 4 and 2
    OdDbEllipsePtr whole = OdDbEllipse::createObject();
    whole->set({0, 0, 0}, {0, 0, 1}, {4, 0, 0}, 0.5);
    expectWalkable(*whole, circumference, true);
    EXPECT_TRUE(directionAtDist(*whole, circumference / 4).isEqualTo({-1, 0, 0}));

    OdDbEllipsePtr half = OdDbEllipse::createObject();
    half->set({0, 0, 0}, {0, 0, 1}, {4, 0, 0}, 0.5, 0.0, kPi);
    expectWalkable(*half, circumference / 2, false);
    EXPECT_LE(pointAtDist(*half, circumference / 4).distanceTo({0, 2, 0}), 1e-8);
}

TEST(CurveWalk, PolylinesWithBulgesOpenAndClosed)
{
    // A line along X, back over the semicircle of radius 5 above it (bulge 1, counter-clockwise),
    // then down 4; closed adds the line up to the first vertex. The 2D polyline is the same.
    const double open = 5 * kPi + 10 + 4;
    for (bool isClosed : {false, true}) {
        OdDbPolylinePtr pl = OdDbPolyline::createObject();
        pl->addVertexAt(0, {0, 0});
        pl->addVertexAt(1, {10, 0}, 1.0);
        pl->addVertexAt(2, {0, 0});
        pl->addVertexAt(3, {0, -4});
        pl->setClosed(isClosed);
        OdDb2dPolylinePtr pl2d = OdDb2dPolyline::createObject();
        ASSERT_EQ(pl->convertTo(pl2d.get(), false), eOk);
        for (const OdDbCurve* c : {static_cast<OdDbCurve*>(pl.get()), static_cast<OdDbCurve*>(pl2d.get())}) {
            expectWalkable(*c, isClosed ? open + 4 : open, isClosed);
            // Half way round the semicircle: its top, heading -X.
            EXPECT_LE(pointAtDist(*c, 10 + 2.5 * kPi).distanceTo({5, 5, 0}), 1e-9);
            EXPECT_TRUE(directionAtDist(*c, 10 + 2.5 * kPi).isEqualTo({-1, 0, 0}));
        }
    }
}

TEST(CurveWalk, SplinesOpenAndClosed)
{
    const double w = std::sqrt(0.5);
    OdDbSplinePtr quarter = OdDbSpline::createObject();
    quarter->setNurbsData(2, true, false, false, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 0, 0, 1, 1, 1}, {1, w, 1});
    expectWalkable(*quarter, kPi / 2, false);
    EXPECT_LE(pointAtDist(*quarter, kPi / 4).distanceTo({w, w, 0}), 1e-9);

    // The full rational circle of radius 1 as four quarters: closed, length 2 pi.
    OdDbSplinePtr circle = OdDbSpline::createObject();
    circle->setNurbsData(
        2, true, false, false,
        {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {-1, 1, 0}, {-1, 0, 0}, {-1, -1, 0}, {0, -1, 0}, {1, -1, 0}, {1, 0, 0}},
        {0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4}, {1, w, 1, w, 1, w, 1, w, 1});
    expectWalkable(*circle, 2 * kPi, true);
    EXPECT_TRUE(directionAtDist(*circle, kPi).isEqualTo({0, -1, 0}, OdGeTol(1e-9)));
}

TEST(CurveWalk, BatchOnALongPolylineAgreesAndRefusesADistanceOffIt)
{
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    for (unsigned i = 0; i < 2000; ++i)
        pl->addVertexAt(i, {static_cast<double>(i), (i % 2) ? 1.0 : 0.0}, (i % 3) ? -0.5 : 0.0);
    const double len = lengthOf(*pl);
    std::vector<double> dists;
    for (double d = 0.0; d <= len; d += 7.3)
        dists.push_back(d);
    std::vector<OdGePoint3d> points;
    ASSERT_EQ(pl->getPointsAtDists(dists, points), eOk);
    for (std::size_t i = 0; i < dists.size(); i += 37)
        EXPECT_LE(points[i].distanceTo(pointAtDist(*pl, dists[i])), 1e-12);

    const std::vector<OdGePoint3d> before = points;
    dists.push_back(len + 1.0);
    EXPECT_EQ(pl->getPointsAtDists(dists, points), eInvalidInput);
    EXPECT_EQ(points, before); // untouched on failure
    OdDbPolylinePtr empty = OdDbPolyline::createObject();
    EXPECT_EQ(empty->getPointsAtDists(dists, points), eDegenerateGeometry);
}

// The batch walk on splines goes span by span from the point found last: it must land where the
// single query does, whatever the order of the distances, on open and closed, polynomial and
// rational splines and on one that is only fit points. Both measure with one table of spans, so
// the single queries are held against a quadrature of the test's own.
TEST(CurveWalk, BatchOnSplinesAgreesWithTheSingleQueryInAnyOrder)
{
    std::vector<OdDbSplinePtr> splines;
    OdDbSplinePtr fit = OdDbSpline::createObject();
    std::vector<OdGePoint3d> fitPoints;
    fitPoints.reserve(12);
    for (int i = 0; i < 12; ++i)
        fitPoints.emplace_back(3.0 * i, 4.0 * std::sin(0.9 * i), 0.5 * (i % 3));
    fit->setFitData(fitPoints, 3, 0.0, {1, 0, 0}, {}); // spans of very different lengths
    splines.push_back(fit);

    // A closed rational cubic: the first and last control points meet, the weights vary.
    OdDbSplinePtr rational = OdDbSpline::createObject();
    rational->setNurbsData(3, true, true, false,
                           {{0, 0, 0}, {4, -2, 0}, {9, 1, 0}, {8, 7, 0}, {2, 9, 0}, {-3, 4, 0}, {0, 0, 0}},
                           {0, 0, 0, 0, 0.2, 0.5, 0.6, 1, 1, 1, 1}, {1, 3, 0.5, 2, 0.7, 4, 1});
    ASSERT_TRUE(rational->isClosed());
    splines.push_back(rational);

    OdDbSplinePtr onlyFit = OdDbSpline::createObject();
    OdDbSpline::Data& d = onlyFit->dataForWrite(vantrel::dbKey());
    d.flags = OdDbSpline::kClosed | OdDbSpline::kPeriodic;
    d.fitPoints = {{0, 0, 0}, {10, 1, 0}, {12, 8, 0}, {3, 11, 0}, {-2, 5, 0}};
    splines.push_back(onlyFit);

    for (std::size_t k = 0; k < splines.size(); ++k) {
        SCOPED_TRACE(k);
        const OdDbSpline& s = *splines[k];
        const double len = lengthOf(s);
        // Shuffled, repeated, both ends, and several close together within one span.
        std::vector<double> dists{0.7 * len, 0.0, len, 0.31 * len, 0.31 * len, 0.05 * len};
        for (int i = 0; i < 3; ++i)
            dists.push_back(len * (0.5 + 1e-3 * i));
        std::vector<OdGePoint3d> points;
        ASSERT_EQ(s.getPointsAtDists(dists, points), eOk);
        ASSERT_EQ(points.size(), dists.size());
        for (std::size_t i = 0; i < dists.size(); ++i)
            EXPECT_LE(points[i].distanceTo(pointAtDist(s, dists[i])), 1e-9 * len) << dists[i];
        // Each point is as far along as asked, measured from the start.
        double dist = -1.0;
        ASSERT_EQ(s.getDistAtPoint(points[0], dist), eOk);
        EXPECT_NEAR(dist, 0.7 * len, 1e-9 * len);

        const std::vector<OdGePoint3d> before = points;
        dists.push_back(-0.01 * len);
        EXPECT_EQ(s.getPointsAtDists(dists, points), eInvalidInput);
        EXPECT_EQ(points, before);

        double start = 0.0, end = 0.0, param = 0.0;
        ASSERT_EQ(s.getStartParam(start), eOk);
        ASSERT_EQ(s.getEndParam(end), eOk);
        // Just before the start within rounding, judged against the whole length, not the first span.
        ASSERT_EQ(s.getParamAtDist(-0.9e-10 * len, param), eOk);
        EXPECT_EQ(param, start);
        if (s.data().knots.empty())
            continue; // the reference needs the knots
        EXPECT_NEAR(len, referenceDistAtParam(s, end), 1e-9 * len);
        for (double f : {0.05, 0.31, 0.5, 0.999}) {
            ASSERT_EQ(s.getParamAtDist(f * len, param), eOk);
            EXPECT_NEAR(referenceDistAtParam(s, param), f * len, 1e-9 * len) << f;
        }
        for (double f : {0.2, 0.77}) {
            const double at = start + f * (end - start);
            double along = -1.0;
            ASSERT_EQ(s.getDistAtParam(at, along), eOk);
            EXPECT_NEAR(along, referenceDistAtParam(s, at), 1e-9 * len) << f;
        }
    }
    OdDbSplinePtr empty = OdDbSpline::createObject();
    std::vector<OdGePoint3d> points;
    EXPECT_EQ(empty->getPointsAtDists(std::vector<double>{0.0}, points), eDegenerateGeometry);
}
