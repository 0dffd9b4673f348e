// Tests of the curve entities: queries against closed-form values, round trips between
// parameters, points and distances, transformations, open modes, undo and cloning.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/db/Template.h>
#include <vantrel/ge/OdGePlane.h>

#include "RecordingDraw.h"
#include "db_key.h"
#include "entity_math.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTol = 1e-9;

#define EXPECT_POINT_NEAR(a, b, tol)                                                                                   \
    do {                                                                                                               \
        const OdGePoint3d pa = (a), pb = (b);                                                                          \
        EXPECT_LE(pa.distanceTo(pb), tol)                                                                              \
            << "(" << pa.x << "," << pa.y << "," << pa.z << ") vs (" << pb.x << "," << pb.y << "," << pb.z << ")";     \
    } while (0)

OdGePoint3d pointAt(const OdDbCurve& c, double param)
{
    OdGePoint3d p;
    EXPECT_EQ(c.getPointAtParam(param, p), eOk) << param;
    return p;
}

double paramAt(const OdDbCurve& c, const OdGePoint3d& p)
{
    double t = 0.0;
    EXPECT_EQ(c.getParamAtPoint(p, t), eOk);
    return t;
}

double distAt(const OdDbCurve& c, double param)
{
    double d = 0.0;
    EXPECT_EQ(c.getDistAtParam(param, d), eOk);
    return d;
}

double paramAtDist(const OdDbCurve& c, double dist)
{
    double t = 0.0;
    EXPECT_EQ(c.getParamAtDist(dist, t), eOk);
    return t;
}

OdGePoint3d closest(const OdDbCurve& c, const OdGePoint3d& p, bool extend = false)
{
    OdGePoint3d q;
    EXPECT_EQ(c.getClosestPointTo(p, q, extend), eOk);
    return q;
}

double endParam(const OdDbCurve& c)
{
    double t = 0.0;
    EXPECT_EQ(c.getEndParam(t), eOk);
    return t;
}

// Walks the whole curve: point -> param -> dist -> param -> point must come back.
void expectRoundTrips(const OdDbCurve& c, int steps = 7)
{
    double s = 0.0, e = 0.0;
    ASSERT_EQ(c.getStartParam(s), eOk);
    ASSERT_EQ(c.getEndParam(e), eOk);
    for (int i = 0; i <= steps; ++i) {
        const double t = s + (e - s) * i / steps;
        const OdGePoint3d p = pointAt(c, t);
        EXPECT_POINT_NEAR(pointAt(c, paramAt(c, p)), p, 1e-8);
        EXPECT_NEAR(paramAtDist(c, distAt(c, t)), t, 1e-7) << i;
        EXPECT_POINT_NEAR(closest(c, p), p, 1e-8);
    }
}

} // namespace

TEST(OdDbLine, AnswersQueriesByDistanceFromStart)
{
    OdDbLinePtr line = OdDbLine::createObject();
    line->setStartPoint({1, 2, 3});
    line->setEndPoint({4, 6, 3});
    EXPECT_EQ(endParam(*line), 5.0);
    EXPECT_POINT_NEAR(pointAt(*line, 2.5), OdGePoint3d(2.5, 4, 3), kTol);
    EXPECT_NEAR(paramAt(*line, {3.4, 5.2, 3}), 4.0, kTol);
    EXPECT_NEAR(paramAtDist(*line, 1.0), 1.0, kTol);
    EXPECT_POINT_NEAR(closest(*line, {-2, -2, 3}), OdGePoint3d(1, 2, 3), kTol);
    EXPECT_POINT_NEAR(closest(*line, {-2, -2, 3}, true), OdGePoint3d(-2, -2, 3), kTol);

    OdGeVector3d d1, d2;
    ASSERT_EQ(line->getFirstDeriv(1.0, d1), eOk);
    ASSERT_EQ(line->getSecondDeriv(1.0, d2), eOk);
    EXPECT_TRUE(d1.isEqualTo({0.6, 0.8, 0}));
    EXPECT_TRUE(d2.isZeroLength());

    OdGePlane plane;
    ASSERT_EQ(line->getPlane(plane), eOk);
    EXPECT_TRUE(plane.isOn({1, 2, 3}) && plane.isOn({4, 6, 3}));
    EXPECT_TRUE(plane.normal().isParallelTo(OdGeVector3d::kZAxis));

    OdGePoint3d p;
    double t;
    EXPECT_EQ(line->getPointAtParam(5.1, p), eInvalidInput);
    EXPECT_EQ(line->getParamAtDist(-0.1, t), eInvalidInput);
    EXPECT_EQ(line->getParamAtPoint({1, 2, 4}, t), eInvalidInput);
    expectRoundTrips(*line);
}

TEST(OdDbCircle, MeasuresAnglesInTheOcsOfItsNormal)
{
    OdDbCirclePtr c = OdDbCircle::createObject();
    c->setCenter({1, 1, 0});
    c->setRadius(2);
    EXPECT_POINT_NEAR(pointAt(*c, kPi / 2), OdGePoint3d(1, 3, 0), kTol);
    EXPECT_NEAR(distAt(*c, kPi), 2 * kPi, kTol);
    EXPECT_NEAR(paramAtDist(*c, kPi), kPi / 2, kTol);
    EXPECT_POINT_NEAR(closest(*c, {5, 1, 7}), OdGePoint3d(3, 1, 0), kTol);
    EXPECT_TRUE(c->isClosed());
    expectRoundTrips(*c);

    // Normal -Z: the OCS X axis is world -X.
    c->setNormal({0, 0, -1});
    EXPECT_POINT_NEAR(pointAt(*c, 0), OdGePoint3d(-1, 1, 0), kTol);
    EXPECT_POINT_NEAR(pointAt(*c, kPi / 2), OdGePoint3d(1, 3, 0), kTol);

    // Normal +X: OCS axes are world Y and Z; DXF keeps the centre in those coordinates.
    OdDbCirclePtr side = OdDbCircle::createObject();
    side->setNormal({2, 0, 0});
    side->setCenter({1, 2, 3});
    EXPECT_POINT_NEAR(side->data().ocsCenter, OdGePoint3d(2, 3, 1), kTol);
    EXPECT_POINT_NEAR(side->center(), OdGePoint3d(1, 2, 3), kTol);
    EXPECT_TRUE(side->normal().isEqualTo({1, 0, 0}));
    EXPECT_POINT_NEAR(pointAt(*side, 0), OdGePoint3d(1, 3, 3), kTol);

    EXPECT_THROW(c->setRadius(0), OdError);
    EXPECT_THROW(c->setNormal({0, 0, 0}), OdError);
    EXPECT_THROW(c->setCenter({NAN, 0, 0}), OdError);
}

TEST(OdDbArc, RunsCounterClockwiseAcrossZero)
{
    OdDbArcPtr arc = OdDbArc::createObject();
    arc->setRadius(10);
    arc->setStartAngle(-10 * kPi / 180);
    arc->setEndAngle(10 * kPi / 180);
    EXPECT_NEAR(arc->startAngle(), 350 * kPi / 180, kTol);
    EXPECT_NEAR(arc->totalAngle(), 20 * kPi / 180, kTol);
    EXPECT_NEAR(endParam(*arc), 370 * kPi / 180, kTol);
    EXPECT_NEAR(arc->length(), 10 * 20 * kPi / 180, kTol);
    EXPECT_NEAR(paramAt(*arc, {10, 0, 0}), 2 * kPi, kTol);
    EXPECT_NEAR(distAt(*arc, 2 * kPi), arc->length() / 2, kTol);

    // Off the arc the nearest point is an end, unless the arc is extended to its circle.
    EXPECT_POINT_NEAR(closest(*arc, {0, -20, 0}), pointAt(*arc, arc->startAngle()), kTol);
    EXPECT_POINT_NEAR(closest(*arc, {0, -20, 0}, true), OdGePoint3d(0, -10, 0), kTol);
    double t;
    EXPECT_EQ(arc->getParamAtPoint({-10, 0, 0}, t), eInvalidInput);

    OdGeVector3d d1, d2;
    ASSERT_EQ(arc->getFirstDeriv(2 * kPi, d1), eOk);
    ASSERT_EQ(arc->getSecondDeriv(2 * kPi, d2), eOk);
    EXPECT_TRUE(d1.isEqualTo({0, 10, 0}));
    EXPECT_TRUE(d2.isEqualTo({-10, 0, 0}));
    expectRoundTrips(*arc);

    RecordingDraw draw;
    arc->subWorldDraw(draw);
    ASSERT_EQ(draw.arcs.size(), 1u);
    EXPECT_NEAR(draw.arcs[0].sweep, 20 * kPi / 180, kTol);
    EXPECT_POINT_NEAR(draw.arcs[0].center + draw.arcs[0].startVector * 10, pointAt(*arc, arc->startAngle()), kTol);
}

TEST(OdDbEllipse, MeasuresLengthsByQuadrature)
{
    // Circumference of the ellipse with semi-axes 4 and 2, from the arithmetic-geometric mean.
    const double circumference = 19.376896441095352;
    OdDbEllipsePtr e = OdDbEllipse::createObject();
    e->set({0, 0, 0}, {0, 0, 1}, {4, 0, 0}, 0.5);
    EXPECT_TRUE(e->isClosed());
    EXPECT_NEAR(distAt(*e, 2 * kPi), circumference, 1e-10);
    EXPECT_NEAR(distAt(*e, kPi / 2), circumference / 4, 1e-10);
    EXPECT_NEAR(paramAtDist(*e, circumference / 2), kPi, 1e-9);
    EXPECT_POINT_NEAR(pointAt(*e, kPi / 2), OdGePoint3d(0, 2, 0), kTol);
    EXPECT_POINT_NEAR(closest(*e, {10, 0, 0}), OdGePoint3d(4, 0, 0), 1e-8);
    EXPECT_POINT_NEAR(closest(*e, {0, 5, 0}), OdGePoint3d(0, 2, 0), 1e-8);
    expectRoundTrips(*e, 11);

    // An arc over the second quadrant, tilted out of the XY plane.
    OdDbEllipsePtr arc = OdDbEllipse::createObject();
    arc->set({1, 1, 1}, {0, -1, 0}, {0, 0, 3}, 1.0 / 3, kPi / 2, kPi);
    const OdGeVector3d minor = arc->minorAxis();
    EXPECT_TRUE(minor.isEqualTo({-1, 0, 0})); // normal x major, scaled by the ratio
    EXPECT_POINT_NEAR(pointAt(*arc, kPi / 2), OdGePoint3d(0, 1, 1), kTol);
    EXPECT_NEAR(arc->sweepParam(), kPi / 2, kTol);
    EXPECT_FALSE(arc->isClosed());
    double t;
    EXPECT_EQ(arc->getParamAtPoint({1, 1, 4}, t), eInvalidInput); // parameter 0 is outside the arc
    EXPECT_POINT_NEAR(closest(*arc, {1, 1, 10}, true), OdGePoint3d(1, 1, 4), 1e-8);
    expectRoundTrips(*arc);

    EXPECT_THROW(arc->set({0, 0, 0}, {0, 0, 1}, {1, 0, 1}, 0.5), OdError);
    EXPECT_THROW(arc->setRadiusRatio(1.5), OdError);
}

TEST(OdDbSpline, EvaluatesControlAndFitData)
{
    // The rational quadratic quarter circle.
    const double w = std::sqrt(0.5);
    OdDbSplinePtr quarter = OdDbSpline::createObject();
    quarter->setNurbsData(2, true, false, false, {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {0, 0, 0, 1, 1, 1}, {1, w, 1});
    EXPECT_TRUE(quarter->isRational());
    for (double t : {0.1, 0.37, 0.5, 0.9})
        EXPECT_NEAR((pointAt(*quarter, t) - OdGePoint3d::kOrigin).length(), 1.0, 1e-12);
    EXPECT_NEAR(distAt(*quarter, 1.0), kPi / 2, 1e-10);
    EXPECT_NEAR(distAt(*quarter, 0.5), kPi / 4, 1e-10); // symmetric weights: half way at 0.5
    EXPECT_POINT_NEAR(closest(*quarter, {3, 3, 0}), OdGePoint3d(w, w, 0), 1e-8);
    OdGePlane plane;
    ASSERT_EQ(quarter->getPlane(plane), eOk);
    EXPECT_TRUE(plane.normal().isParallelTo(OdGeVector3d::kZAxis));
    expectRoundTrips(*quarter);

    // Through fit points: the curve passes through each, and a bent one is not planar.
    const std::vector<OdGePoint3d> fit{{0, 0, 0}, {2, 1, 0}, {4, 0, 1}, {6, 2, 0}};
    OdDbSplinePtr s = OdDbSpline::createObject();
    s->setFitData(fit, 3, 0.0, OdGeVector3d(), OdGeVector3d());
    EXPECT_TRUE(s->hasFitData());
    for (const auto& p : fit) {
        double t;
        EXPECT_EQ(s->getParamAtPoint(p, t), eOk);
    }
    OdGePoint3d end;
    ASSERT_EQ(s->getEndPoint(end), eOk);
    EXPECT_POINT_NEAR(end, fit.back(), 1e-9);
    EXPECT_EQ(s->getPlane(plane), eNotImplementedYet);
    expectRoundTrips(*s);

    // Moving a control point keeps the control data and drops the fit data.
    s->setControlPointAt(1, {1, 5, 0});
    EXPECT_FALSE(s->hasFitData());
    EXPECT_THROW(s->setControlPointAt(s->numControlPoints(), {0, 0, 0}), OdError_InvalidIndex);

    const std::vector<OdGePoint3d> two{{0, 0, 0}, {1, 0, 0}};
    EXPECT_THROW(s->setNurbsData(1, false, false, false, two, {0, 0, 1}, {}), OdError);        // knot count
    EXPECT_THROW(s->setNurbsData(1, false, false, false, two, {0, 1, 0.5, 1}, {}), OdError);   // decreasing
    EXPECT_THROW(s->setNurbsData(1, true, false, false, two, {0, 0, 1, 1}, {1, -1}), OdError); // weight
    EXPECT_THROW(s->setFitData({{1, 1, 1}, {1, 1, 1}}, 3, 0.0, {}, {}), OdError);
}

TEST(CurveTransforms, KeepGeometryConsistent)
{
    OdDbArcPtr arc = OdDbArc::createObject();
    arc->setCenter({2, 0, 5});
    arc->setRadius(3);
    arc->setStartAngle(0);
    arc->setEndAngle(kPi / 2);
    const OdGePoint3d s0 = pointAt(*arc, 0), mid0 = pointAt(*arc, kPi / 4), e0 = pointAt(*arc, kPi / 2);
    auto image = [](OdGePoint3d p, const OdGeMatrix3d& m) { return p.transformBy(m); };

    // Rotation and translation carry every point; start stays start.
    const OdGeMatrix3d rot = OdGeMatrix3d::rotation(kPi / 3, {1, 1, 1}, {1, 2, 3});
    OdDbArcPtr rotated = OdDbArc::cast(arc->clone().get());
    rotated->transformBy(rot);
    OdGePoint3d p;
    ASSERT_EQ(rotated->getStartPoint(p), eOk);
    EXPECT_POINT_NEAR(p, image(s0, rot), kTol);
    EXPECT_POINT_NEAR(pointAt(*rotated, rotated->startAngle() + kPi / 4), image(mid0, rot), kTol);
    EXPECT_NEAR(rotated->radius(), 3, kTol);

    // A mirror in a plane holding the normal keeps the normal and swaps the ends.
    const OdGeMatrix3d mirror = OdGeMatrix3d::mirroring(OdGePlane({0, 0, 0}, {1, 0, 0}));
    OdDbArcPtr mirrored = OdDbArc::cast(arc->clone().get());
    mirrored->transformBy(mirror);
    EXPECT_TRUE(mirrored->normal().isEqualTo({0, 0, 1}));
    ASSERT_EQ(mirrored->getStartPoint(p), eOk);
    EXPECT_POINT_NEAR(p, image(e0, mirror), kTol);
    ASSERT_EQ(mirrored->getEndPoint(p), eOk);
    EXPECT_POINT_NEAR(p, image(s0, mirror), kTol);
    EXPECT_POINT_NEAR(closest(*mirrored, image(mid0, mirror)), image(mid0, mirror), kTol);
    EXPECT_NEAR(mirrored->totalAngle(), kPi / 2, kTol);

    // A mirror across the arc's own plane turns the normal over; the points stay.
    const OdGeMatrix3d flip = OdGeMatrix3d::mirroring(OdGePlane({0, 0, 5}, {0, 0, 1}));
    OdDbArcPtr flipped = OdDbArc::cast(arc->clone().get());
    flipped->transformBy(flip);
    EXPECT_TRUE(flipped->normal().isEqualTo({0, 0, -1}));
    EXPECT_POINT_NEAR(closest(*flipped, mid0), mid0, kTol);
    EXPECT_POINT_NEAR(closest(*flipped, s0), s0, kTol);
    EXPECT_POINT_NEAR(closest(*flipped, e0), e0, kTol);

    // Uniform scaling scales the radius and the thickness.
    OdDbCirclePtr circle = OdDbCircle::createObject();
    circle->setCenter({1, 1, 0});
    circle->setThickness(2);
    circle->transformBy(OdGeMatrix3d::scaling(2, {1, 0, 0}));
    EXPECT_POINT_NEAR(circle->center(), OdGePoint3d(1, 2, 0), kTol);
    EXPECT_NEAR(circle->radius(), 2, kTol);
    EXPECT_NEAR(circle->thickness(), 4, kTol);

    // A non-uniform scaling is refused and leaves the circle as it was.
    OdGeMatrix3d stretch;
    stretch.entry[0][0] = 3;
    const OdDbCircle::Data before = circle->data();
    try {
        circle->transformBy(stretch);
        ADD_FAILURE() << "a stretched circle was accepted";
    } catch (const OdError& e) {
        EXPECT_EQ(e.code(), eNotImplementedYet);
    }
    EXPECT_POINT_NEAR(circle->data().ocsCenter, before.ocsCenter, 0);
    EXPECT_EQ(circle->radius(), before.radius);
    EXPECT_THROW(arc->transformBy(stretch), OdError);

    // An ellipse takes the stretch: the unit circle becomes semi-axes 3 and 1.
    OdDbEllipsePtr e = OdDbEllipse::createObject();
    e->set({0, 0, 0}, {0, 0, 1}, {0, 1, 0}, 1.0, 0, kPi / 2);
    const OdGePoint3d es = pointAt(*e, 0), ee = pointAt(*e, kPi / 2);
    e->transformBy(stretch);
    EXPECT_TRUE(e->majorAxis().isParallelTo({1, 0, 0}));
    EXPECT_NEAR(e->majorAxis().length(), 3, kTol);
    EXPECT_NEAR(e->radiusRatio(), 1.0 / 3, kTol);
    ASSERT_EQ(e->getStartPoint(p), eOk);
    EXPECT_POINT_NEAR(p, image(es, stretch), kTol);
    ASSERT_EQ(e->getEndPoint(p), eOk);
    EXPECT_POINT_NEAR(p, image(ee, stretch), kTol);
    // Mirrored, the elliptical arc keeps its points with the normal still +Z.
    e->transformBy(mirror);
    EXPECT_TRUE(e->normal().isEqualTo({0, 0, 1}));
    ASSERT_EQ(e->getStartPoint(p), eOk);
    EXPECT_POINT_NEAR(p, image(image(ee, stretch), mirror), kTol);

    // A line and a spline carry their points under any affine map.
    OdGeMatrix3d shear = OdGeMatrix3d::translation({1, 2, 3});
    shear.entry[0][1] = 0.5;
    OdDbLinePtr line = OdDbLine::createObject();
    line->setEndPoint({0, 4, 0});
    line->transformBy(shear);
    EXPECT_POINT_NEAR(line->endPoint(), OdGePoint3d(3, 6, 3), kTol);
    OdDbSplinePtr spline = OdDbSpline::createObject();
    spline->setFitData({{0, 0, 0}, {1, 2, 0}, {3, 1, 0}, {4, 4, 0}}, 3, 0.0, {}, {});
    const OdGePoint3d sp = pointAt(*spline, 0.4);
    spline->transformBy(shear);
    EXPECT_POINT_NEAR(pointAt(*spline, 0.4), image(sp, shear), kTol);
}

class CurveInDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = vantrel::newDrawing();
        OdDbCirclePtr c = OdDbCircle::createObject();
        c->setCenter({5, 5, 0});
        c->setRadius(2);
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        circleId = ms->appendOdDbEntity(c.get());
    }
    OdDbCirclePtr open(OdDb::OpenMode mode) { return circleId.safeOpenObject(mode); }

    OdDbDatabasePtr db;
    OdDbObjectId circleId;
};

TEST_F(CurveInDrawing, SettersNeedWriteMode)
{
    OdDbCirclePtr c = open(OdDb::kForRead);
    try {
        c->setRadius(4);
        ADD_FAILURE() << "a read-open circle took a new radius";
    } catch (const OdError& e) {
        EXPECT_EQ(e.code(), eNotOpenForWrite);
    }
    EXPECT_THROW(c->transformBy(OdGeMatrix3d::translation({1, 0, 0})), OdError);
    EXPECT_THROW(c->dataForWrite(vantrel::dbKey()), OdError);
    EXPECT_EQ(c->radius(), 2);
    EXPECT_POINT_NEAR(c->center(), OdGePoint3d(5, 5, 0), 0);
}

TEST_F(CurveInDrawing, UndoBackRestoresAModifiedEntity)
{
    db->startUndoRecord();
    db->setUndoMark();
    {
        OdDbCirclePtr c = open(OdDb::kForWrite);
        c->setRadius(7);
        c->transformBy(OdGeMatrix3d::rotation(kPi / 2, {1, 0, 0}));
    }
    EXPECT_EQ(open(OdDb::kForRead)->radius(), 7);
    db->undoBack();
    OdDbCirclePtr c = open(OdDb::kForRead);
    EXPECT_EQ(c->radius(), 2);
    EXPECT_POINT_NEAR(c->center(), OdGePoint3d(5, 5, 0), 0);
    EXPECT_TRUE(c->normal().isEqualTo({0, 0, 1}));
}

TEST_F(CurveInDrawing, ClonesAreIndependent)
{
    OdDbCirclePtr copy = OdDbCircle::cast(open(OdDb::kForRead)->clone().get());
    ASSERT_TRUE(copy);
    EXPECT_FALSE(copy->isDBRO());
    copy->setRadius(9);
    copy->setCenter({0, 0, 0});
    OdDbCirclePtr original = open(OdDb::kForRead);
    EXPECT_EQ(original->radius(), 2);
    EXPECT_POINT_NEAR(original->center(), OdGePoint3d(5, 5, 0), 0);
    EXPECT_EQ(copy->layerId(), original->layerId());
}

// The world's own normal takes a short way to its OCS axes: it must give, to the bit, what the
// arbitrary axis rule gives, as must every other normal (zero components of either sign among
// them), and points must come and go as the rule carries them.
TEST(OcsAxes, TheWorldNormalsShortWayMatchesTheArbitraryAxisRule)
{
    const auto bits = [](const OdGeVector3d& v) {
        return std::array{std::bit_cast<std::uint64_t>(v.x), std::bit_cast<std::uint64_t>(v.y),
                          std::bit_cast<std::uint64_t>(v.z)};
    };
    const auto pointBits = [&](const OdGePoint3d& p) { return bits(p - OdGePoint3d::kOrigin); };
    for (const OdGeVector3d& n : {OdGeVector3d(0, 0, 1), OdGeVector3d(-0.0, 0, 1), OdGeVector3d(0, -0.0, 1),
                                  OdGeVector3d(1e-300, 0, 1), OdGeVector3d(0, 0, 2), OdGeVector3d(0.6, 0, 0.8)}) {
        const OdGeVector3d x = n.perpVector(), y = n.normal().crossProduct(n.perpVector()), z = n.normal();
        EXPECT_EQ(bits(vantrel::entmath::ocsXAxis(n)), bits(x));
        EXPECT_EQ(bits(vantrel::entmath::ocsYAxis(n)), bits(y));
        for (const OdGePoint3d& p :
             {OdGePoint3d(-0.0, 2.5, -0.0), OdGePoint3d(3.25, -0.0, 7), OdGePoint3d(-1e9, 1e-9, 0)}) {
            EXPECT_EQ(pointBits(vantrel::entmath::toWorld(n, p)),
                      pointBits(OdGePoint3d::kOrigin + x * p.x + y * p.y + z * p.z));
            const OdGeVector3d v = p - OdGePoint3d::kOrigin;
            EXPECT_EQ(pointBits(vantrel::entmath::toOcs(n, p)),
                      pointBits(OdGePoint3d(v.dotProduct(x), v.dotProduct(y), v.dotProduct(z))));
        }
    }
}
