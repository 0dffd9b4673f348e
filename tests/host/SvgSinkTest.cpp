// SvgSink: the view box follows what is drawn, bulges become exact SVG arcs, traits become
// colours and stroke widths, and the document stays well-formed XML whatever the text holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <numbers>
#include <random>
#include <regex>
#include <sstream>
#include <vector>

#include <unistd.h>

#include <vantrel/host/SvgSink.h>

using vantrel::PathVertex;
using vantrel::SvgSink;

namespace {

std::vector<double> viewBox(const std::string& svg)
{
    std::smatch m;
    std::regex re(R"(viewBox="([^ ]+) ([^ ]+) ([^ ]+) ([^"]+)\")");
    EXPECT_TRUE(std::regex_search(svg, m, re)) << svg;
    if (m.empty())
        return {};
    return {std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])};
}

// Parses the document with an independent XML parser; skips when none is installed.
bool parsesAsXml(const std::string& svg)
{
    auto file = std::filesystem::temp_directory_path() / ("vantrel_svg_" + std::to_string(::getpid()) + ".svg");
    std::ofstream(file) << svg;
    std::string cmd = "/usr/bin/python3 -c 'import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])' "
        + file.string() + " 2>/dev/null";
    int rc = std::system(cmd.c_str());
    std::filesystem::remove(file);
    return rc == 0;
}

std::vector<PathVertex> segment(OdGePoint3d a, OdGePoint3d b, double bulge)
{
    return {PathVertex{a, bulge, 0.0, 0.0}, PathVertex{b, 0.0, 0.0, 0.0}};
}

} // namespace

TEST(SvgSinkTest, ViewBoxIsTheExtentsWithAFivePercentMargin)
{
    SvgSink empty;
    EXPECT_EQ(viewBox(empty.document()), (std::vector<double>{0, -100, 100, 100}));

    SvgSink sink;
    auto v = segment({0, 0, 0}, {100, 50, 0}, 0.0);
    sink.path(v, false, OdGeVector3d::kZAxis);
    // Y is flipped: the drawing's top (50) is the view box's top (-50) before the margin.
    EXPECT_EQ(viewBox(sink.document()), (std::vector<double>{-5, -55, 110, 60}));

    // A full circle counts with its whole outline, not just its centre and start point.
    SvgSink circle;
    circle.circularArc({10, 10, 0}, 10, OdGeVector3d::kZAxis, OdGeVector3d::kXAxis, 2 * std::numbers::pi);
    EXPECT_EQ(viewBox(circle.document()), (std::vector<double>{-1, -21, 22, 22}));
    EXPECT_NE(circle.document().find(R"(<circle cx="10" cy="-10" r="10")"), std::string::npos);

    // A light without a size of its own is drawn at 3% of the picture (110 wide here), on top.
    SvgSink lamp;
    lamp.marker({50, 0, 0}, vantrel::MarkerKind::Light, 0.0);
    v = segment({0, 0, 0}, {100, 0, 0}, 0.0);
    lamp.path(v, false, OdGeVector3d::kZAxis);
    std::string doc = lamp.document();
    EXPECT_EQ(viewBox(doc), (std::vector<double>{-5, -5, 110, 10}));
    EXPECT_GT(doc.find(R"(<circle cx="50" cy="0" r="0.7425")"), doc.find("<path")) << doc;

    // The other light glyphs and a symbol beside them take the same default size (3.3 here); a
    // symbol of its own size counts in the extents at once.
    const OdGeVector3d offsets[] = {{0, 0, 0}, {1, -0.5, 0}};
    lamp.marker({20, 0, 0}, vantrel::MarkerKind::SpotLight, 0.0);
    lamp.marker({80, 0, 0}, vantrel::MarkerKind::WebLight, 0.0);
    lamp.markerPolyline({50, 0, 0}, offsets, 0.0);
    lamp.markerPolyline({50, 10, 0}, offsets, 2.0);
    doc = lamp.document();
    EXPECT_EQ(viewBox(doc), (std::vector<double>{-5, -15, 110, 20})) << doc;
    for (const char* drawn : {R"(<circle cx="20" cy="0" r="0.51975")", R"(<circle cx="80" cy="0" r="2.475")",
                              R"(points="50,0 53.3,1.65")", R"(points="50,-10 52,-9")"})
        EXPECT_NE(doc.find(drawn), std::string::npos) << drawn << "\n" << doc;
}

TEST(SvgSinkTest, BulgesBecomeArcsWithRadiusAndSweepFlag)
{
    // Semicircle from (0,0) to (10,0) counter-clockwise: it dips below the chord (Y down on screen).
    SvgSink ccw;
    auto v = segment({0, 0, 0}, {10, 0, 0}, 1.0);
    ccw.path(v, false, OdGeVector3d::kZAxis);
    std::string doc = ccw.document();
    EXPECT_NE(doc.find("M0,0 A5 5 0 0 0 10,0"), std::string::npos) << doc;
    EXPECT_DOUBLE_EQ(ccw.extents().minPoint().y, -5.0);
    EXPECT_NEAR(ccw.extents().maxPoint().y, 0.0, 1e-12);

    SvgSink cw;
    v = segment({0, 0, 0}, {10, 0, 0}, -1.0);
    cw.path(v, false, OdGeVector3d::kZAxis);
    EXPECT_NE(cw.document().find("A5 5 0 0 1 10,0"), std::string::npos);
    EXPECT_DOUBLE_EQ(cw.extents().maxPoint().y, 5.0);

    // Seen from below, the same bulge turns the other way.
    SvgSink below;
    v = segment({0, 0, 0}, {10, 0, 0}, 1.0);
    below.path(v, false, -OdGeVector3d::kZAxis);
    EXPECT_NE(below.document().find("A5 5 0 0 1 10,0"), std::string::npos);
    EXPECT_DOUBLE_EQ(below.extents().maxPoint().y, 5.0);

    // Bulge 2: sweep 4*atan(2) > 180 degrees takes the large-arc flag; chord 8, radius 5.
    SvgSink large;
    v = segment({0, 0, 0}, {8, 0, 0}, 2.0);
    large.path(v, false, OdGeVector3d::kZAxis);
    EXPECT_NE(large.document().find("A5 5 0 1 0 8,0"), std::string::npos) << large.document();
    EXPECT_NEAR(large.extents().minPoint().y, -8.0, 1e-9);

    // A closed path ends with Z after its closing arc.
    SvgSink closed;
    std::vector<PathVertex> square{{{0, 0, 0}, 0.0}, {{10, 0, 0}, 0.0}, {{10, 10, 0}, 0.0}, {{0, 10, 0}, 1.0}};
    closed.path(square, true, OdGeVector3d::kZAxis);
    EXPECT_NE(closed.document().find("L10,-10 L0,-10 A5 5 0 0 0 0,0 Z"), std::string::npos) << closed.document();
    EXPECT_DOUBLE_EQ(closed.extents().minPoint().x, -5.0);

    // A bulge so slight that the radius overflows is drawn straight, never as "A inf inf".
    for (const auto& [end, bulge] :
         {std::pair{OdGePoint3d(10, 0, 0), 1e-320}, std::pair{OdGePoint3d(1e100, 0, 0), 1e-300}}) {
        SvgSink slight;
        v = segment({0, 0, 0}, end, bulge);
        slight.path(v, false, OdGeVector3d::kZAxis);
        EXPECT_EQ(slight.document().find("inf"), std::string::npos) << slight.document();
        EXPECT_NE(slight.document().find("M0,0 L"), std::string::npos) << slight.document();
    }
}

TEST(SvgSinkTest, TiltedPathsAreTessellatedInTheirPlane)
{
    SvgSink sink;
    // A semicircle in the XZ plane projects to a straight segment on XY.
    auto v = segment({0, 0, 0}, {10, 0, 0}, 1.0);
    sink.path(v, false, OdGeVector3d::kYAxis);
    std::string doc = sink.document();
    EXPECT_EQ(doc.find(" A"), std::string::npos);
    EXPECT_NE(doc.find("<polyline"), std::string::npos);
    EXPECT_NEAR(sink.extents().minPoint().y, 0.0, 1e-9);
    EXPECT_NEAR(sink.extents().maxPoint().y, 0.0, 1e-9);
}

TEST(SvgSinkTest, WidthsBecomeStrokesOrFilledOutlines)
{
    SvgSink constant;
    std::vector<PathVertex> v{{{0, 0, 0}, 0.0, 2.0, 2.0}, {{10, 0, 0}, 0.0, 2.0, 2.0}};
    constant.path(v, false, OdGeVector3d::kZAxis);
    EXPECT_NE(constant.document().find(R"(stroke-width="2" stroke-linejoin="miter")"), std::string::npos);
    EXPECT_DOUBLE_EQ(constant.extents().minPoint().y, -1.0);

    // A taper from 4 to 0: a filled quadrilateral whose wide end is at the start.
    SvgSink taper;
    v = {{{0, 0, 0}, 0.0, 4.0, 0.0}, {{10, 0, 0}, 0.0, 0.0, 0.0}};
    taper.path(v, false, OdGeVector3d::kZAxis);
    std::string doc = taper.document();
    EXPECT_NE(doc.find(R"(<polygon points="0,-2 10,0 10,0 0,2")"), std::string::npos) << doc;
    EXPECT_DOUBLE_EQ(taper.extents().maxPoint().y, 2.0);
}

// The outline a wide segment is drawn as when it is alone (a thin segment after it keeps a
// constant width from being drawn as a stroke): a polygon's points, or the data of a path of
// one subpath between its "M" and its " Z".
std::string outlineAlone(const PathVertex& a, const OdGePoint3d& b)
{
    SvgSink one;
    std::vector<PathVertex> v{a, {b}, {b + OdGeVector3d(1, 0, 0)}};
    one.path(v, false, OdGeVector3d::kZAxis);
    const std::string doc = one.document();
    std::smatch m;
    EXPECT_TRUE(std::regex_search(doc, m, std::regex(R"re(<polygon points="([^"]*)"|<path d="M([^"M]*) Z")re"))) << doc;
    return m.empty() ? std::string() : m[m[1].matched ? 1 : 2].str();
}

// Consecutive wide segments share one path, each its own subpath with the outline it has alone;
// a thin segment between them keeps its place, and an arc wider than its diameter, whose
// outline crosses itself, stays a polygon of its own.
TEST(SvgSinkTest, WideSegmentsShareOnePathAndKeepTheirOutlines)
{
    const std::vector<PathVertex> v{
        {{0, 0, 0}, 0.0, 0.5, 1.0},   // straight, tapered
        {{10, 0, 0}, 0.5, 1.0, 1.5},  // bulged, tapered
        {{10, 10, 0}, 0.0, 0.0, 0.0}, // thin
        {{20, 10, 0}, 0.0, 1.0, 1.0}, // straight
        {{30, 10, 0}, 1.0, 3.0, 3.0}, // a half circle of radius 1, 3 wide
        {{32, 10, 0}, 0.0, 0.2, 0.4}, // straight, tapered
        {{40, 10, 0}},
    };
    SvgSink sink;
    sink.path(v, false, OdGeVector3d::kZAxis);
    const std::string doc = sink.document();

    std::vector<std::pair<std::string, std::vector<std::string>>> elements;
    const std::regex element(R"re(<(path|polygon|polyline) (?:d|points)="([^"]*)")re");
    for (auto it = std::sregex_iterator(doc.begin(), doc.end(), element); it != std::sregex_iterator(); ++it) {
        std::vector<std::string> outlines;
        if ((*it)[1] == "path") {
            const std::string d = (*it)[2];
            const std::regex subpath(R"(M([^MZ]*) Z)");
            for (auto s = std::sregex_iterator(d.begin(), d.end(), subpath); s != std::sregex_iterator(); ++s)
                outlines.push_back((*s)[1]);
        } else {
            outlines.push_back((*it)[2]);
        }
        elements.emplace_back((*it)[1], outlines);
    }
    ASSERT_EQ(elements.size(), 5u) << doc;
    EXPECT_EQ(elements[0].first, "path");
    EXPECT_NE(elements[0].second[1].find(" C"), std::string::npos) << "the arc's edges are curves";
    EXPECT_EQ(elements[0].second,
              (std::vector<std::string>{outlineAlone(v[0], v[1].point), outlineAlone(v[1], v[2].point)}));
    EXPECT_EQ(elements[1].first, "polyline");
    EXPECT_EQ(elements[1].second, std::vector<std::string>{"10,-10 20,-10"});
    EXPECT_EQ(elements[2],
              std::make_pair(std::string("polygon"), std::vector<std::string>{outlineAlone(v[3], v[4].point)}));
    EXPECT_EQ(elements[3],
              std::make_pair(std::string("polygon"), std::vector<std::string>{outlineAlone(v[4], v[5].point)}));
    EXPECT_EQ(elements[4],
              std::make_pair(std::string("polygon"), std::vector<std::string>{outlineAlone(v[5], v[6].point)}));
    // The shared path is filled and outlined like the polygons.
    EXPECT_NE(doc.find(R"( Z" class="s w0" fill="#ffffff" stroke="#ffffff"/>)"), std::string::npos) << doc;
}

// A tapered arc's edges are spirals about its centre, the half width running with the angle;
// the curves drawn for them stay on them between their ends, whichever way the arc turns.
TEST(SvgSinkTest, TaperedArcsAreDrawnByCurvesAlongTheirSpiralEdges)
{
    struct Case {
        double bulge, startWidth, endWidth;
        std::size_t curvesPerEdge;
    };
    // A half turn counter-clockwise widening, a quarter turn clockwise narrowing to a point,
    // nearly a whole turn widening from a point, and a quarter turn whose inner edge ends next
    // to the centre. A curve spans at most a quarter turn, fewer degrees where the width changes
    // steeply for the radius, but never fewer than 5.
    for (const Case& c : {Case{1.0, 1.0, 3.0, 3}, Case{-0.41421356237309503, 2.0, 0.0, 2}, Case{20.0, 0.0, 9.0, 4},
                          Case{0.41421356237309503, 0.0, 14.0, 18}}) {
        SCOPED_TRACE(c.bulge);
        const PathVertex a{{0, 0, 0}, c.bulge, c.startWidth, c.endWidth};
        const std::string d = outlineAlone(a, {10, 0, 0});
        // The circle the segment lies on, as the bulge gives it.
        const double sweep = 4.0 * std::atan(c.bulge);
        const double radius = 5.0 / std::sin(std::fabs(sweep) / 2.0);
        const OdGePoint3d center(5.0, 5.0 / std::tan(sweep / 2.0), 0.0);
        const double start = std::atan2(-center.y, -center.x);

        // Data "x,y C x,y x,y x,y ... L x,y C x,y ..." read as the points of each edge's curves.
        std::vector<std::vector<OdGePoint3d>> edges;
        std::istringstream in(d);
        for (std::string token; in >> token;) {
            if (token[0] == 'C' || token[0] == 'L' || edges.empty()) {
                if (token[0] != 'C')
                    edges.emplace_back();
                token.erase(0, std::isalpha(static_cast<unsigned char>(token[0])) ? 1 : 0);
            }
            const std::size_t comma = token.find(',');
            ASSERT_NE(comma, std::string::npos) << d;
            edges.back().emplace_back(std::stod(token.substr(0, comma)), -std::stod(token.substr(comma + 1)), 0.0);
        }
        ASSERT_EQ(edges.size(), 2u) << d;
        for (std::size_t side = 0; side < 2; ++side) {
            const std::vector<OdGePoint3d>& e = edges[side];
            ASSERT_EQ(e.size(), 1 + 3 * c.curvesPerEdge) << d;
            for (std::size_t k = 0; k + 3 < e.size(); k += 3)
                for (int step = 0; step <= 16; ++step) {
                    const double u = step / 16.0, w = 1.0 - u;
                    const OdGePoint3d q = OdGePoint3d::kOrigin + e[k].asVector() * (w * w * w)
                        + e[k + 1].asVector() * (3 * w * w * u) + e[k + 2].asVector() * (3 * w * u * u)
                        + e[k + 3].asVector() * (u * u * u);
                    // How far round the arc q is (a little before its start counts as before
                    // it), and how far from the centre the edge is there.
                    constexpr double kTurn = 2 * std::numbers::pi;
                    double turned = std::copysign(1.0, sweep) * (std::atan2(q.y - center.y, q.x - center.x) - start);
                    turned -= kTurn * std::floor((turned + 0.1) / kTurn);
                    const double share = std::clamp(turned / std::fabs(sweep), 0.0, 1.0);
                    const double half = (c.startWidth + (c.endWidth - c.startWidth) * share) / 2.0;
                    // The left edge (drawn first) is the inner one on a counter-clockwise arc.
                    const bool inner = (side == 0) == (sweep > 0.0);
                    const double edgeRadius = radius + (inner ? -half : half);
                    EXPECT_NEAR(q.distanceTo(center), edgeRadius, 2e-3 * radius) << "point " << k << " u " << u;
                }
        }
    }
}

TEST(SvgSinkTest, TraitsGiveColourAndLineweight)
{
    SvgSink sink;
    sink.setTraits({0xFF8000, 0.5, {}, false});
    auto v = segment({0, 0, 0}, {1, 1, 0}, 0.0);
    sink.path(v, false, OdGeVector3d::kZAxis);
    sink.setTraits({0x0000FF, 0.0, {}, false});
    std::vector<OdGePoint3d> tri{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    sink.polygon(tri, true);
    std::string doc = sink.document();
    EXPECT_NE(doc.find(R"(class="s w50" fill="none" stroke="#ff8000")"), std::string::npos) << doc;
    // Stroke widths are in drawing units: the 1.1-unit picture is 1024 pixels wide, 0.5 mm is
    // 1.89 pixels at 96 dpi, and the thinnest line is one pixel.
    auto strokeWidth = [&](const std::string& cls) {
        std::smatch m;
        EXPECT_TRUE(std::regex_search(doc, m, std::regex("\\." + cls + "\\{stroke-width:([^}]+)\\}"))) << cls;
        return m.empty() ? 0.0 : std::stod(m[1]) * 1024 / 1.1;
    };
    EXPECT_NEAR(strokeWidth("w50"), 0.5 * 96 / 25.4, 1e-6);
    EXPECT_NEAR(strokeWidth("w0"), 1.0, 1e-6);
    EXPECT_NE(doc.find(R"(fill="#0000ff")"), std::string::npos);
    EXPECT_NE(doc.find(SvgSink::kBackground), std::string::npos);
}

// A sink that only measures passes over what lies within the extents so far; its extents stay
// exactly those of a sink that takes every point, after each primitive. Random paths (major and
// minor arcs, tapers, negative widths, bulges so slight the centre is far away, tilted planes)
// and circles around the edge of what is drawn.
TEST(SvgSinkTest, MeasuringAloneGivesTheExtentsOfEveryPoint)
{
    SvgSink measuring(nullptr);
    SvgSink everything;
    std::mt19937 random(20261207);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto same = [](const OdGeExtents3d& a, const OdGeExtents3d& b) {
        return a.minPoint().x == b.minPoint().x && a.minPoint().y == b.minPoint().y && a.maxPoint().x == b.maxPoint().x
            && a.maxPoint().y == b.maxPoint().y;
    };
    const std::vector<OdGePoint3d> square{{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}};
    for (SvgSink* sink : {&measuring, &everything})
        sink->polygon(square, true);
    const double bulges[] = {0.0, 0.3, -0.8, 1.0, 2.5, -4.0, 1e-7, -1e-9};
    for (int i = 0; i < 3000; ++i) {
        const int kind = i % 4;
        if (kind == 3) {
            const OdGePoint3d centre(uniform(-20, 120), uniform(-20, 120), 0);
            const double radius = uniform(0, 25);
            const OdGeVector3d start(uniform(-1, 1), uniform(-1, 1), 0);
            const double sweep = uniform(-7, 7);
            for (SvgSink* sink : {&measuring, &everything})
                sink->circularArc(centre, radius, OdGeVector3d::kZAxis, start, sweep);
        } else {
            const OdGePoint3d a(uniform(-20, 120), uniform(-20, 120), 0);
            const OdGePoint3d b = a + OdGeVector3d(uniform(-30, 30), uniform(-30, 30), 0);
            const double bulge = bulges[static_cast<std::size_t>(i / 4) % std::size(bulges)];
            const double width = kind == 0 ? 0.0 : uniform(-2, 8);
            const std::vector<PathVertex> v{{a, bulge, width, kind == 2 ? uniform(0, 8) : width},
                                            {b, 0.0, width, width}};
            const OdGeVector3d normal = i % 7 == 0 ? OdGeVector3d(0.3, -0.2, 1.0) : OdGeVector3d::kZAxis;
            for (SvgSink* sink : {&measuring, &everything})
                sink->path(v, false, normal);
        }
        ASSERT_TRUE(same(measuring.extents(), everything.extents())) << "after primitive " << i;
    }
    // The extents grew from the square, so that both the edge and the inside were met.
    EXPECT_LT(measuring.extents().minPoint().x, -20.0);
    EXPECT_GT(measuring.extents().maxPoint().y, 120.0);
}

// Entities in a row that differ in one part of their look only: each element has its own.
TEST(SvgSinkTest, EachElementHasTheLookOfItsOwnTraits)
{
    SvgSink sink;
    const std::vector<vantrel::DrawTraits> looks = {
        {0xFF8000, 0.5, {}, false, false},  {0xFF8000, 0.5, {}, false, false}, {0xFF8000, 0.25, {}, false, false},
        {0x00FF00, 0.25, {}, false, false}, {0x00FF00, 0.25, {}, false, true}, {0x00FF00, 0.25, {}, false, false},
    };
    std::vector<OdGePoint3d> tri{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    auto v = segment({0, 0, 0}, {1, 1, 0}, 0.0);
    for (const vantrel::DrawTraits& look : looks) {
        sink.setTraits(look);
        sink.path(v, false, OdGeVector3d::kZAxis);
        sink.polygon(tri, true);
    }
    const std::string doc = sink.document();
    std::vector<std::string> attributes;
    const std::regex element(R"(<(?:path|polygon) [^>]*?(class="[^"]*" fill="[^"]*" stroke="[^"]*"))");
    for (auto it = std::sregex_iterator(doc.begin(), doc.end(), element); it != std::sregex_iterator(); ++it)
        attributes.push_back((*it)[1]);
    const std::string background = SvgSink::kBackground;
    EXPECT_EQ(attributes,
              (std::vector<std::string>{
                  R"(class="s w50" fill="none" stroke="#ff8000")",
                  R"(class="s w0" fill="#ff8000" stroke="#ff8000")",
                  R"(class="s w50" fill="none" stroke="#ff8000")",
                  R"(class="s w0" fill="#ff8000" stroke="#ff8000")",
                  R"(class="s w25" fill="none" stroke="#ff8000")",
                  R"(class="s w0" fill="#ff8000" stroke="#ff8000")",
                  R"(class="s w25" fill="none" stroke="#00ff00")",
                  R"(class="s w0" fill="#00ff00" stroke="#00ff00")",
                  R"(class="s w25" fill="none" stroke="#00ff00")",
                  "class=\"s w0\" fill=\"" + background + "\" stroke=\"" + background + "\"",
                  R"(class="s w25" fill="none" stroke="#00ff00")",
                  R"(class="s w0" fill="#00ff00" stroke="#00ff00")",
              }))
        << doc;
}

TEST(SvgSinkTest, EllipsesKeepTheirRotationAndDirection)
{
    SvgSink full;
    full.ellipticArc({0, 0, 0}, {0, 10, 0}, {-5, 0, 0}, 0.0, 2 * std::numbers::pi);
    EXPECT_NE(full.document().find(R"~(rx="10" ry="5" transform="rotate(-90 0 0)")~"), std::string::npos);
    EXPECT_NEAR(full.extents().minPoint().x, -5.0, 1e-9);
    EXPECT_NEAR(full.extents().maxPoint().y, 10.0, 1e-9);

    // The upper half of an ellipse along X: counter-clockwise from (10,0) to (-10,0).
    SvgSink half;
    half.ellipticArc({0, 0, 0}, {10, 0, 0}, {0, 5, 0}, 0.0, std::numbers::pi);
    EXPECT_NE(half.document().find("M10,0 A10 5 0 0 0 -10,0"), std::string::npos) << half.document();
    EXPECT_NEAR(half.extents().maxPoint().y, 5.0, 1e-9);
    EXPECT_NEAR(half.extents().minPoint().y, 0.0, 1e-9);
}

TEST(SvgSinkTest, TextIsEscapedHeldToItsWidthAndTheDocumentIsWellFormed)
{
    SvgSink sink;
    // Upward from (1,2), capitals 2.5 tall, measured 10 long, stretched by 2.
    sink.text({.origin = {1, 2, 0},
               .advance = OdGeVector3d::kYAxis,
               .up = -OdGeVector3d::kXAxis,
               .height = 2.5,
               .widthFactor = 2.0,
               .width = 10.0,
               .face = {},
               .text = L"a<b & \"c\"\x01"});
    sink.marker({5, 5, 0}, vantrel::MarkerKind::Light, 2.0);
    std::string doc = sink.document();
    EXPECT_NE(doc.find("a&lt;b &amp; &quot;c&quot;</text>"), std::string::npos) << doc;
    // One unit of the text's own frame is a capital's height across and twice that along.
    EXPECT_NE(doc.find(R"~(transform="matrix(0 -5 2.5 0 1 -2)")~"), std::string::npos) << doc;
    EXPECT_NE(doc.find(R"~(font-family="DejaVu Sans")~"), std::string::npos);
    EXPECT_NE(doc.find(R"~(textLength="2")~"), std::string::npos); // 10 long in units of 5
    // The box reaches the measured width up and one height to the left.
    EXPECT_DOUBLE_EQ(sink.extents().maxPoint().y, 12.0);
    EXPECT_DOUBLE_EQ(sink.extents().minPoint().x, -1.5);
    if (!std::filesystem::exists("/usr/bin/python3"))
        GTEST_SKIP() << "no /usr/bin/python3 to parse the SVG";
    EXPECT_TRUE(parsesAsXml(doc));
    EXPECT_FALSE(parsesAsXml(doc + "<"));
}

TEST(SvgSinkTest, RegionsFillByTheEvenOddRule)
{
    SvgSink sink;
    const std::vector<std::vector<OdGePoint3d>> loops{{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}},
                                                      {{1, 1, 0}, {2, 1, 0}, {2, 2, 0}},
                                                      {{5, 5, 0}, {6, 5, 0}}}; // too few corners to fill
    sink.region(loops);
    const std::string doc = sink.document();
    EXPECT_NE(doc.find(R"(<path d="M0,0 L4,0 L4,-4 L0,-4 Z M1,-1 L2,-1 L2,-2 Z" fill-rule="evenodd")"),
              std::string::npos)
        << doc;
    EXPECT_DOUBLE_EQ(sink.extents().maxPoint().x, 4.0);
}

// A linetype pattern as SVG dashing: runs of one kind merged (also across the end of the pattern),
// the array starting with a dash, and the offset putting the pattern's own start back in place.
TEST(SvgDashesTest, PatternsBecomeDashArraysWithTheirStartKept)
{
    struct Case {
        std::vector<double> pattern;
        std::string attributes; // empty: solid
    };
    const std::vector<Case> cases{
        {{}, ""},
        {{0.5}, ""},  // nothing but dash
        {{-1.0}, ""}, // nothing but gap
        {{0.5, std::numeric_limits<double>::quiet_NaN()}, ""},
        {{0.5, -0.25}, R"( stroke-dasharray="0.5 0.25" stroke-dashoffset="0")"},
        {{0.5, -0.25, 0.0, -0.25}, R"( stroke-dasharray="0.5 0.25 0 0.25" stroke-dashoffset="0")"}, // a dot
        {{-0.25, 0.5}, R"( stroke-dasharray="0.5 0.25" stroke-dashoffset="0.5")"},
        {{0.5, -0.25, -0.25}, R"( stroke-dasharray="0.5 0.5" stroke-dashoffset="0")"},
        {{0.5, -0.2, 0.1}, R"( stroke-dasharray="0.6 0.2" stroke-dashoffset="0.1")"},
        {{-0.1, 0.5, -0.2}, R"( stroke-dasharray="0.5 0.3" stroke-dashoffset="0.7")"},
    };
    for (const Case& c : cases) {
        vantrel::SvgDashes dashes = vantrel::SvgDashes::of(c.pattern);
        EXPECT_EQ(dashes.attributes, c.attributes) << ::testing::PrintToString(c.pattern);
    }
    vantrel::SvgDashes center = vantrel::SvgDashes::of(std::vector<double>{2.0, -0.25, 0.25, -0.25});
    EXPECT_DOUBLE_EQ(center.period, 2.75);
    EXPECT_EQ(center.drawnPerPeriod, 2);
}

// One entity draws at most kMaxDashesPerEntity dashes: a line that would need more is drawn
// solid, and the next entity has the whole budget again. Circles and closed paths are dashed too;
// a closed path dashed per segment draws its closing segment itself.
TEST(SvgSinkTest, DashesAreCappedPerEntity)
{
    vantrel::DrawTraits traits;
    traits.dashes = {0.5, -0.5}; // one dash per unit of length
    SvgSink sink;
    sink.setTraits(traits);
    auto first = segment({0, 0, 0}, {6000, 0, 0}, 0.0);
    auto second = segment({0, 10, 0}, {6000, 10, 0}, 0.0);
    sink.path(first, false, OdGeVector3d::kZAxis);
    sink.path(second, false, OdGeVector3d::kZAxis); // 6000 more would pass the cap
    sink.setTraits(traits);
    auto third = segment({0, 20, 0}, {6000, 20, 0}, 0.0);
    sink.path(third, false, OdGeVector3d::kZAxis);
    sink.circularArc({0, 0, 0}, 1.0, OdGeVector3d::kZAxis, OdGeVector3d::kXAxis, 2.0 * std::numbers::pi);
    std::vector<PathVertex> square{{{0, 0, 0}}, {{1, 0, 0}}, {{1, 1, 0}}, {{0, 1, 0}}};
    sink.path(square, true, OdGeVector3d::kZAxis);
    const std::string doc = sink.document();
    EXPECT_NE(doc.find(R"(<path d="M0,0 L6000,0" class="s w0" fill="none" stroke="#ffffff" stroke-dasharray)"),
              std::string::npos)
        << doc;
    EXPECT_NE(doc.find(R"(<path d="M0,-10 L6000,-10" class="s w0" fill="none" stroke="#ffffff"/>)"), std::string::npos)
        << doc;
    EXPECT_NE(doc.find(R"(<path d="M0,-20 L6000,-20" class="s w0" fill="none" stroke="#ffffff" stroke-dasharray)"),
              std::string::npos)
        << doc;
    EXPECT_NE(doc.find(R"(<circle cx="0" cy="0" r="1" class="s w0" fill="none" stroke="#ffffff" stroke-dasharray)"),
              std::string::npos)
        << doc;
    EXPECT_NE(doc.find(R"(<path d="M0,0 L1,0 M1,0 L1,-1 M1,-1 L0,-1 M0,-1 L0,0" )"), std::string::npos) << doc;
    EXPECT_TRUE(parsesAsXml(doc));
}
