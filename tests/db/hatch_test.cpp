// Hatches drawn from their loops: pattern lines lie at the spacing their offset gives, stop at
// the boundary and at islands (even-odd), carry their dashes; solid and gradient hatches fill
// the loops; arcs of either turning run the way their flag says. Expected geometry is computed
// here from the loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include <vantrel/db/OdDbHatch.h>

#include "RecordingDraw.h"
#include "db_key.h"

namespace {

constexpr double kTol = 1e-9;
using Hatch = OdDbHatch;

Hatch::Loop square(double x0, double y0, double size, std::int32_t flags = Hatch::kExternal)
{
    Hatch::Loop loop;
    loop.flags = flags | Hatch::kPolyline;
    for (const auto& p : {OdGePoint2d(x0, y0), OdGePoint2d(x0 + size, y0), OdGePoint2d(x0 + size, y0 + size),
                          OdGePoint2d(x0, y0 + size)})
        loop.vertices.push_back({p, 0.0});
    return loop;
}

OdDbHatchPtr patterned(std::vector<Hatch::Loop> loops, Hatch::PatternLine line)
{
    OdDbHatchPtr h = OdDbHatch::createObject();
    Hatch::Data& d = h->dataForWrite(vantrel::dbKey());
    d.solidFill = false;
    d.patternName = L"TEST";
    d.loops = std::move(loops);
    d.patternLines = {std::move(line)};
    return h;
}

struct Drawn {
    double x0, y0, x1, y1;
    double length() const { return std::hypot(x1 - x0, y1 - y0); }
};

std::vector<Drawn> segments(const OdDbHatch& h)
{
    RecordingDraw d;
    h.subWorldDraw(d);
    std::vector<Drawn> out;
    for (const auto& p : d.paths) {
        EXPECT_EQ(p.size(), 2u);
        out.push_back({p[0].point.x, p[0].point.y, p[1].point.x, p[1].point.y});
    }
    return out;
}

} // namespace

TEST(Hatch, PatternLinesLieAtTheirSpacingInsideTheBoundaryAndOutsideIslands)
{
    // Horizontal lines one unit apart from y = 0.5 over a 10 x 10 square with a 4 x 4 island.
    Hatch::PatternLine line{0.0, {0.0, 0.5}, {0.0, 1.0}, {}};
    const auto segs = segments(*patterned({square(0, 0, 10), square(3, 3, 4, 0)}, line));
    // Ten lines; the four through the island (y = 3.5 .. 6.5) in two pieces of 3 each.
    ASSERT_EQ(segs.size(), 14u);
    for (const Drawn& s : segs) {
        EXPECT_NEAR(s.y0, s.y1, kTol);
        EXPECT_NEAR(std::fmod(s.y0, 1.0), 0.5, kTol);
        const bool throughIsland = s.y0 > 3.0 && s.y0 < 7.0;
        EXPECT_NEAR(s.length(), throughIsland ? 3.0 : 10.0, kTol) << s.y0;
        EXPECT_NEAR(std::min(s.x0, s.x1), throughIsland && std::min(s.x0, s.x1) > 1.0 ? 7.0 : 0.0, kTol);
    }
}

TEST(Hatch, SlantedFamiliesKeepTheirPerpendicularSpacingAndDashes)
{
    // 45 degree lines whose offset (0, 2) puts them sqrt(2) apart, dashed 1 on, 0.5 off.
    const double a = std::numbers::pi / 4.0;
    Hatch::PatternLine line{45.0, {0.0, 0.0}, {0.0, 2.0}, {1.0, -0.5}};
    const auto segs = segments(*patterned({square(0, 0, 10)}, line));
    ASSERT_FALSE(segs.empty());
    std::vector<double> levels; // of each dash's line, across the lines
    for (const Drawn& s : segs) {
        EXPECT_LE(s.length(), 1.0 + kTol);
        EXPECT_NEAR(std::atan2(s.y1 - s.y0, s.x1 - s.x0), a, 1e-9);
        for (double v : {s.x0, s.y0, s.x1, s.y1}) {
            EXPECT_GE(v, -kTol);
            EXPECT_LE(v, 10.0 + kTol);
        }
        // Dashes start on multiples of the 1.5 period from the line's base point, or at the boundary.
        const double level = -std::sin(a) * s.x0 + std::cos(a) * s.y0;
        const double along = std::cos(a) * s.x0 + std::sin(a) * s.y0;
        const double base = std::round(level / std::sqrt(2.0)) * 2.0; // y of the base point of this line
        const double phase = std::fmod(along - std::sin(a) * base + 150.0, 1.5);
        const bool onBoundary = std::fabs(s.x0) < kTol || std::fabs(s.y0) < kTol || std::fabs(s.x0 - 10) < kTol
            || std::fabs(s.y0 - 10) < kTol;
        EXPECT_TRUE(phase < 1e-6 || phase > 1.5 - 1e-6 || onBoundary) << phase;
        levels.push_back(level);
    }
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end(), [](double p, double q) { return std::fabs(p - q) < 1e-6; }),
                 levels.end());
    for (std::size_t i = 1; i < levels.size(); ++i)
        EXPECT_NEAR(levels[i] - levels[i - 1], std::sqrt(2.0), 1e-9);
}

TEST(Hatch, SolidAndGradientFillsAreEvenOddRegionsOfTheLoops)
{
    OdDbHatchPtr h = OdDbHatch::createObject();
    Hatch::Data& d = h->dataForWrite(vantrel::dbKey());
    d.loops = {square(0, 0, 10), square(3, 3, 4, 0)};
    // An edge loop: a half circle of radius 2 about (20, 5), clockwise from the top down, closed by a line.
    Hatch::Loop edges;
    Hatch::Edge arc;
    arc.type = Hatch::kCircArc;
    arc.center = {20, 5};
    arc.radius = 2.0;
    arc.startAngle = 270.0; // stored mirrored: from -270 (= 90, the top) down to -90 (the bottom)
    arc.endAngle = 90.0;
    arc.counterClockwise = false;
    Hatch::Edge back;
    back.start = {20, 3};
    back.end = {20, 7};
    edges.edges = {arc, back};
    d.loops.push_back(edges);
    RecordingDraw drawn;
    h->subWorldDraw(drawn);
    ASSERT_EQ(drawn.regions.size(), 1u);
    const auto& loops = drawn.regions[0];
    ASSERT_EQ(loops.size(), 3u);
    EXPECT_EQ(loops[0].size(), 4u);
    for (const OdGePoint3d& p : loops[2]) {
        if (std::fabs(p.x - 20) > kTol) {
            EXPECT_NEAR(p.distanceTo({20, 5, 0}), 2.0, 1e-9);
            EXPECT_GT(p.x, 20.0); // clockwise from the top runs through the right
        }
    }
    EXPECT_TRUE(drawn.paths.empty());

    // A gradient fills in its first colour; one too dense to draw line by line is filled too.
    d.gradient = Hatch::Gradient{};
    d.gradient->colors = {{0.0, 0, 0x112233}, {1.0, 5, std::nullopt}};
    drawn = RecordingDraw();
    h->subWorldDraw(drawn);
    ASSERT_EQ(drawn.traits.size(), 1u);
    EXPECT_EQ(drawn.traits[0].rgb, 0x112233u);
    EXPECT_EQ(drawn.regions.size(), 1u);
    OdDbHatchPtr dense = patterned({square(0, 0, 1000)}, {0.0, {0, 0}, {0, 0.001}, {}});
    drawn = RecordingDraw();
    dense->subWorldDraw(drawn);
    EXPECT_EQ(drawn.regions.size(), 1u);
    EXPECT_TRUE(drawn.paths.empty());
}

TEST(Hatch, BulgedPolylineLoopsAndSplineEdgesFollowTheirCurves)
{
    // A polyline loop of two half circles: a full circle of radius 5 about (5, 0).
    Hatch::Loop circle;
    circle.flags = Hatch::kExternal | Hatch::kPolyline;
    circle.hasBulges = true;
    circle.vertices = {{{0, 0}, 1.0}, {{10, 0}, 1.0}};
    // A degree-2 spline edge closed by a line.
    Hatch::Loop curve;
    Hatch::Edge spline;
    spline.type = Hatch::kSpline;
    spline.degree = 2;
    spline.knots = {0, 0, 0, 1, 1, 1};
    spline.controlPoints = {{20, 0}, {25, 10}, {30, 0}};
    Hatch::Edge close;
    close.start = {30, 0};
    close.end = {20, 0};
    curve.edges = {spline, close};
    OdDbHatchPtr h = OdDbHatch::createObject();
    h->dataForWrite(vantrel::dbKey()).loops = {circle, curve};
    const auto rings = h->loopRings();
    ASSERT_EQ(rings.size(), 2u);
    for (const OdGePoint2d& p : rings[0])
        EXPECT_NEAR(p.distanceTo({5, 0}), 5.0, 1e-9);
    // The spline's middle is at (25, 5): the quadratic's peak is half its control point's height.
    const auto top = std::max_element(rings[1].begin(), rings[1].end(), [](auto& a, auto& b) { return a.y < b.y; });
    EXPECT_NEAR(top->y, 5.0, 1e-3);
    EXPECT_NEAR(top->x, 25.0, 1e-1);

    Hatch::Data& d = h->dataForWrite(vantrel::dbKey());
    d.loops[1].edges[0].knots.pop_back();
    EXPECT_THROW(h->checkData(), OdError);
}
