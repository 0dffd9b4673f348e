// Splines that a file gives only as fit points, as other programs write them: the curve is
// interpolated for queries and drawing, the file data is written back as read, and fit data that
// describes no curve leaves the spline inert instead of failing.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <sstream>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/db/Template.h>

#include "RecordingDraw.h"
#include "ezdxf_check.h"
#include "curve_queries.h"
#include "db_key.h"

using namespace vantrel;

namespace {

constexpr double kPi = std::numbers::pi;

std::string num(double v)
{
    std::ostringstream s;
    s.precision(17);
    s << v;
    return s.str();
}

std::string point(int code, const OdGePoint3d& p)
{
    return " " + std::to_string(code) + "\n" + num(p.x) + "\n " + std::to_string(code + 10) + "\n" + num(p.y) + "\n "
        + std::to_string(code + 20) + "\n" + num(p.z) + "\n";
}

// A drawing holding one SPLINE with fit points and no control points or knots, as other programs
// write a spline drawn through points.
std::string fitSplineDxf(int flags, const std::vector<OdGePoint3d>& fit, const OdGeVector3d& startTangent = {},
                         const OdGeVector3d& endTangent = {})
{
    std::string s = "  0\nSECTION\n  2\nENTITIES\n  0\nSPLINE\n  5\n2A\n100\nAcDbEntity\n  8\n0\n100\nAcDbSpline\n"
                    "210\n0.0\n220\n0.0\n230\n1.0\n 70\n"
        + std::to_string(flags) + "\n 71\n3\n 72\n0\n 73\n0\n 74\n" + std::to_string(fit.size())
        + "\n 42\n1e-10\n 43\n1e-10\n 44\n1e-10\n";
    if (!startTangent.isZeroLength())
        s += point(12, OdGePoint3d::kOrigin + startTangent);
    if (!endTangent.isZeroLength())
        s += point(13, OdGePoint3d::kOrigin + endTangent);
    for (const auto& p : fit)
        s += point(11, p);
    return s + "  0\nENDSEC\n  0\nEOF\n";
}

OdDbSplinePtr firstSpline(OdDbDatabase& db)
{
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject();
    auto it = ms->newIterator();
    return it->done() ? OdDbSplinePtr() : OdDbSplinePtr(it->entity());
}

class FitSplineFile : public ::testing::Test {
protected:
    // Reads the text and answers its spline, which the test keeps open with its database.
    OdDbSplinePtr read(const std::string& text)
    {
        DxfReadResult r = readDxfText(text);
        EXPECT_TRUE(r.database) << r.error;
        if (!r.database)
            return {};
        db = r.database;
        return firstSpline(*db);
    }

    OdDbDatabasePtr db;
};

} // namespace

TEST_F(FitSplineFile, FitPointsOnALineOrAnArcGiveThatCurveToWalkAndDraw)
{
    // Unevenly spaced points along the direction (0.6, 0.8): the interpolant is that segment.
    const OdGePoint3d base(1, 2, 0);
    const OdGeVector3d dir(0.6, 0.8, 0.0);
    std::vector<OdGePoint3d> fit;
    for (double d : {0.0, 1.5, 4.0, 4.5, 10.0})
        fit.push_back(base + dir * d);
    OdDbSplinePtr s = read(fitSplineDxf(8, fit));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->numControlPoints(), 0);
    EXPECT_NEAR(lengthOf(*s), 10.0, 1e-9);
    EXPECT_FALSE(s->isClosed());
    EXPECT_LE(pointAtDist(*s, 7.0).distanceTo(base + dir * 7.0), 1e-9);
    std::vector<OdGePoint3d> points;
    const std::vector<double> dists{10.0, 2.5, 0.0};
    ASSERT_EQ(s->getPointsAtDists(dists, points), eOk);
    for (std::size_t i = 0; i < dists.size(); ++i)
        EXPECT_LE(points[i].distanceTo(base + dir * dists[i]), 1e-9) << i;
    RecordingDraw draw;
    s->subWorldDraw(draw);
    ASSERT_EQ(draw.paths.size(), 1U);
    ASSERT_GE(draw.paths[0].size(), 2U);
    EXPECT_LE(draw.paths[0].front().point.distanceTo(fit.front()), 1e-9);
    EXPECT_LE(draw.paths[0].back().point.distanceTo(fit.back()), 1e-9);

    // Every 10 degrees of a quarter circle of radius 10, with its end directions.
    fit.clear();
    for (int deg = 0; deg <= 90; deg += 10)
        fit.emplace_back(10 * std::cos(deg * kPi / 180), 10 * std::sin(deg * kPi / 180), 0.0);
    s = read(fitSplineDxf(8, fit, {0, 1, 0}, {-1, 0, 0}));
    ASSERT_TRUE(s);
    const double len = lengthOf(*s);
    EXPECT_NEAR(len, 5 * kPi, 1e-4 * len);
    const OdGePoint3d mid = pointAtDist(*s, len / 2);
    EXPECT_NEAR(mid.x, 10 * std::sqrt(0.5), 1e-3);
    EXPECT_NEAR(mid.y, mid.x, 1e-9); // the data is symmetric about the diagonal
    double start = 0.0;
    OdGeVector3d d;
    ASSERT_EQ(s->getStartParam(start), eOk);
    ASSERT_EQ(s->getFirstDeriv(start, d), eOk);
    EXPECT_TRUE(d.isCodirectionalTo(OdGeVector3d::kYAxis));
}

TEST_F(FitSplineFile, ClosedOrPeriodicFlagClosesTheCurveThroughPointsThatDoNotRepeat)
{
    std::vector<OdGePoint3d> fit;
    for (int deg = 0; deg < 360; deg += 30)
        fit.emplace_back(5 * std::cos(deg * kPi / 180), 5 * std::sin(deg * kPi / 180), 0.0);
    for (int flags : {1 | 8, 1 | 2 | 8}) {
        OdDbSplinePtr s = read(fitSplineDxf(flags, fit));
        ASSERT_TRUE(s);
        EXPECT_TRUE(s->isClosed()) << flags;
        EXPECT_NEAR(lengthOf(*s), 10 * kPi, 1e-3 * 10 * kPi) << flags;
    }
    OdDbSplinePtr open = read(fitSplineDxf(8, fit));
    ASSERT_TRUE(open);
    EXPECT_FALSE(open->isClosed());
}

TEST_F(FitSplineFile, IsWrittenBackAsReadAndAnIndependentReaderSeesTheFitPoints)
{
    const std::vector<OdGePoint3d> fit{{0, 0, 0}, {2, 1.25, 0}, {4, -0.5, 0}, {7, 3, 0}};
    OdDbSplinePtr s = read(fitSplineDxf(8, fit, {1, 0, 0}, {0, 1, 0}));
    ASSERT_TRUE(s);
    const OdDbSpline::Data before = s->data();
    const std::string text = dxfText(*db);
    DxfReadResult again = readDxfText(text);
    ASSERT_TRUE(again.database) << again.error;
    OdDbSplinePtr back = firstSpline(*again.database);
    ASSERT_TRUE(back);
    const OdDbSpline::Data& after = back->data();
    EXPECT_EQ(after.fitPoints, before.fitPoints);
    EXPECT_TRUE(after.controlPoints.empty() && after.knots.empty()) << "no control data the file did not have";
    EXPECT_EQ(after.startTangent, before.startTangent);
    EXPECT_EQ(after.endTangent, before.endTangent);
    EXPECT_EQ(after.flags, before.flags);
    EXPECT_EQ(dxfText(*again.database), text);

    const EzdxfCheck check = runEzdxfCheck(*db, "fitspline", R"(doc = ezdxf.readfile(sys.argv[1])
s = doc.modelspace().query('SPLINE')[0]
fit = [tuple(p) for p in s.fit_points]
assert fit == [(0, 0, 0), (2, 1.25, 0), (4, -0.5, 0), (7, 3, 0)], fit
assert len(s.control_points) == 0, len(s.control_points)
assert tuple(s.dxf.start_tangent) == (1, 0, 0) and tuple(s.dxf.end_tangent) == (0, 1, 0)
assert s.dxf.degree == 3
assert not doc.audit().errors
print('ok')
)");
    EXPECT_TRUE(check.passed) << check.output;
}

// Fit data that describes no curve: every query answers an error, nothing is drawn, and the
// data is kept.
TEST(FitSplineData, WithoutACurveTheSplineAnswersErrorsAndDrawsNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        std::vector<OdGePoint3d> fit;
        OdGeVector3d startTangent;
        int degree;
    };
    const std::vector<Case> cases{
        {"one point", {{1, 1, 0}}, {}, 3},
        {"coincident points", {{1, 1, 0}, {1, 1, 0}, {1, 1, 0}}, {}, 3},
        {"a point not finite", {{0, 0, 0}, {nan, 1, 0}, {2, 0, 0}}, {}, 3},
        {"a tangent not finite", {{0, 0, 0}, {2, 0, 0}}, {inf, 0, 0}, 3},
        {"chords overflowing", {{-1e308, 0, 0}, {1e308, 0, 0}}, {}, 3},
        // The last chord vanishes against the whole length: the points would share a parameter.
        {"a chord lost in rounding", {{0, 0, 0}, {1e10, 0, 0}, {1e10, 0, 1e-6}, {2e10, 0, 0}}, {}, 3},
        {"degree 0", {{0, 0, 0}, {2, 0, 0}}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OdDbSplinePtr s = OdDbSpline::createObject();
        OdDbSpline::Data& d = s->dataForWrite(vantrel::dbKey());
        d.fitPoints = c.fit;
        d.startTangent = c.startTangent;
        d.degree = static_cast<std::int16_t>(c.degree);
        OdGePoint3d p;
        std::vector<OdGePoint3d> points;
        const std::vector<double> dists{0.0};
        EXPECT_EQ(s->getStartPoint(p), eDegenerateGeometry);
        EXPECT_EQ(s->getPointsAtDists(dists, points), eDegenerateGeometry);
        EXPECT_FALSE(s->isClosed());
        RecordingDraw draw;
        s->subWorldDraw(draw);
        EXPECT_TRUE(draw.paths.empty());
        s->transformBy(OdGeMatrix3d::translation({1, 0, 0}));
        EXPECT_EQ(s->numFitPoints(), static_cast<int>(c.fit.size()));
    }
    OdDbSplinePtr s = OdDbSpline::createObject();
    EXPECT_THROW(s->setFitData({{0, 0, 0}, {1e10, 0, 0}, {1e10, 0, 1e-6}, {2e10, 0, 0}}, 3, 0.0, {}, {}), OdError);
}
