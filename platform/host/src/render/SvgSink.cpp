// SVG output of WorldDraw primitives. Drawing coordinates are written as they are, with Y negated
// so the picture is upright; arcs in the XY plane stay exact SVG arcs, anything else is tessellated.
#include <vantrel/host/SvgSink.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <iterator>
#include <numbers>
#include <optional>
#include <vector>

#include <fmt/format.h>

namespace vantrel {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Arcs that must be tessellated are cut into steps of at most 5 degrees.
constexpr double kStepAngle = std::numbers::pi / 36.0;
// Of a glyph's half-size: a spot light's smaller sun, the ring around a web light's.
constexpr double kSpotGlyphShare = 0.7;
constexpr double kWebRingRadius = 1.5;

std::string num(double v)
{
    assert(std::isfinite(v));
    if (std::fabs(v) < 1e-12)
        return "0";
    return fmt::format("{:.10g}", v);
}

// "x,y" in SVG coordinates.
std::string xy(double x, double y) { return num(x) + "," + num(-y); }
std::string xy(const OdGePoint3d& p) { return xy(p.x, p.y); }

std::string colour(std::uint32_t rgb) { return fmt::format("#{:06x}", rgb & 0xFFFFFF); }

bool isAlongZ(const OdGeVector3d& normal)
{
    return normal.isZeroLength() || (std::fabs(normal.x) < 1e-12 && std::fabs(normal.y) < 1e-12);
}

OdGeVector3d planeNormal(const OdGeVector3d& normal)
{
    return normal.isZeroLength() ? OdGeVector3d::kZAxis : normal.normal();
}

int stepsFor(double sweep) { return std::max(4, static_cast<int>(std::ceil(std::fabs(sweep) / kStepAngle))); }

// The circle a bulged segment lies on: points are center + u cos t + v sin t for t in [0, sweep].
struct BulgeArc {
    OdGePoint3d center;
    OdGeVector3d u, v;
    double sweep;
    double radius;
};

BulgeArc bulgeArc(const OdGePoint3d& a, const OdGePoint3d& b, double bulge, const OdGeVector3d& n)
{
    OdGeVector3d chord = b - a;
    double half = chord.length() / 2.0;
    double sweep = 4.0 * std::atan(bulge);
    OdGeVector3d left = n.crossProduct(chord).normal();
    OdGePoint3d center = a + chord / 2.0 + left * (half / std::tan(sweep / 2.0));
    OdGeVector3d u = a - center;
    return {center, u, n.crossProduct(u), sweep, u.length()};
}

// The arc of a path segment; nothing for a straight one, which a bulge so slight that the
// radius is beyond any number also is.
std::optional<BulgeArc> segmentArc(const OdGePoint3d& a, const OdGePoint3d& b, double bulge, const OdGeVector3d& n)
{
    if (bulge == 0.0 || a.isEqualTo(b))
        return std::nullopt;
    BulgeArc arc = bulgeArc(a, b, bulge, n);
    if (!(arc.radius > 0.0) || !std::isfinite(arc.radius) || !std::isfinite(arc.center.x)
        || !std::isfinite(arc.center.y) || !std::isfinite(arc.center.z))
        return std::nullopt;
    return arc;
}

// Escapes text for XML character data and drops what XML 1.0 cannot hold at all.
std::string xmlText(const OdString& text)
{
    std::wstring clean;
    for (wchar_t c : text.str()) {
        auto cp = static_cast<char32_t>(c);
        if (cp < 0x20 && cp != U'\t')
            continue;
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE || cp == 0xFFFF || cp > 0x10FFFF)
            cp = 0xFFFD;
        clean += static_cast<wchar_t>(cp);
    }
    std::string out;
    for (char c : OdString(clean).toUtf8()) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// Lineweights in hundredths of a millimetre name the stroke classes ("w25"), whose widths the
// document's style sets once the picture's scale is known.
int weightKey(const DrawTraits& traits) { return static_cast<int>(std::lround(traits.lineWeightMm * 100.0)); }

std::string strokeAttributes(const DrawTraits& traits)
{
    return fmt::format(R"(class="s w{}" fill="none" stroke="{}")", weightKey(traits), colour(traits.rgb));
}

// Filled shapes get a hairline outline too, so that a degenerate one still shows. A mask is
// filled with the background.
std::string fillAttributes(const DrawTraits& traits)
{
    std::string c = traits.background ? std::string(SvgSink::kBackground) : colour(traits.rgb);
    return fmt::format(R"(class="s w0" fill="{}" stroke="{}")", c, c);
}

// A lamp glyph: a disc with eight rays around it, reaching r.
std::string sunSvg(double x, double y, double r, const DrawTraits& traits)
{
    std::string d;
    for (int k = 0; k < 8; ++k) {
        double t = k * std::numbers::pi / 4.0;
        double c = std::cos(t), s = std::sin(t);
        d += (d.empty() ? "M" : " M") + xy(x + c * r * 0.6, y + s * r * 0.6) + " L" + xy(x + c * r, y + s * r);
    }
    return fmt::format(R"(<circle cx="{}" cy="{}" r="{}" {}/>)"
                       "\n",
                       num(x), num(-y), num(r * 0.45), fillAttributes(traits))
        + fmt::format(R"(<path d="{}" {}/>)"
                      "\n",
                      d, strokeAttributes(traits));
}

// dashing: the stroke's dash attributes, if any.
std::string polylineSvg(std::span<const OdGePoint3d> points, bool closed, const DrawTraits& traits,
                        const std::string& dashing = {})
{
    std::string pts;
    for (const auto& p : points) {
        if (!pts.empty())
            pts += ' ';
        pts += xy(p);
    }
    return fmt::format(R"(<{} points="{}" {}{}/>)"
                       "\n",
                       closed ? "polygon" : "polyline", pts, strokeAttributes(traits), dashing);
}

double polylineLength(std::span<const OdGePoint3d> points, bool closed)
{
    double length = 0.0;
    for (std::size_t i = 1; i < points.size(); ++i)
        length += points[i - 1].distanceTo(points[i]);
    if (closed && points.size() > 2)
        length += points.back().distanceTo(points.front());
    return length;
}

// A marker glyph of half-size h centred on (x, y).
std::string markerSvg(double x, double y, MarkerKind kind, double h, const DrawTraits& traits)
{
    std::string d;
    switch (kind) {
    case MarkerKind::Light: return sunSvg(x, y, h, traits);
    case MarkerKind::SpotLight: return sunSvg(x, y, h * kSpotGlyphShare, traits);
    case MarkerKind::WebLight:
        return sunSvg(x, y, h, traits)
            + fmt::format(R"(<circle cx="{}" cy="{}" r="{}" {}/>)"
                          "\n",
                          num(x), num(-y), num(h * kWebRingRadius), strokeAttributes(traits));
    case MarkerKind::Vertex:
        d = "M" + xy(x - h, y - h) + " L" + xy(x + h, y - h) + " L" + xy(x + h, y + h) + " L" + xy(x - h, y + h) + " Z";
        break;
    case MarkerKind::Cross:
        d = "M" + xy(x - h, y - h) + " L" + xy(x + h, y + h) + " M" + xy(x - h, y + h) + " L" + xy(x + h, y - h);
        break;
    }
    return fmt::format(R"(<path d="{}" {}/>)"
                       "\n",
                       d, strokeAttributes(traits));
}

std::vector<OdGePoint3d> scaled(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size)
{
    std::vector<OdGePoint3d> points;
    for (const OdGeVector3d& offset : offsets)
        points.push_back(position + offset * size);
    return points;
}

} // namespace

void SvgSink::setTraits(const DrawTraits& traits)
{
    m_traits = traits;
    if (!m_lineweights)
        m_traits.lineWeightMm = 0.0;
    m_weights.insert(weightKey(m_traits));
    m_dashes = SvgDashes::of(traits.dashes);
    m_dashBudget = kMaxDashesPerEntity;
}

std::string SvgSink::dashing(double length, std::size_t pieces)
{
    if (m_dashes.solid())
        return {};
    // Each piece starts the pattern again, so it may end in a part of a repetition.
    const double count = (length / m_dashes.period + static_cast<double>(pieces)) * m_dashes.drawnPerPeriod;
    if (!(count <= m_dashBudget))
        return {};
    m_dashBudget -= count;
    return m_dashes.attributes;
}

void SvgSink::addPoint(double x, double y, double pad)
{
    m_extents.addPoint(OdGePoint3d(x - pad, y - pad, 0.0));
    m_extents.addPoint(OdGePoint3d(x + pad, y + pad, 0.0));
}

void SvgSink::addArcExtents(const OdGePoint3d& center, const OdGeVector3d& u, const OdGeVector3d& v, double start,
                            double sweep, double pad)
{
    OdGeExtents3d arc;
    arc.addArc(center, u, v, start, sweep);
    addPoint(arc.minPoint().x, arc.minPoint().y, pad);
    addPoint(arc.maxPoint().x, arc.maxPoint().y, pad);
}

void SvgSink::polyline(std::span<const OdGePoint3d> points, bool closed)
{
    if (points.empty())
        return;
    for (const auto& p : points)
        addPoint(p.x, p.y);
    m_body += polylineSvg(points, closed, m_traits, dashing(polylineLength(points, closed), 1));
}

void SvgSink::path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal)
{
    if (vertices.size() < 2) {
        for (const PathVertex& v : vertices)
            addPoint(v.point.x, v.point.y);
        return;
    }
    std::size_t segments = closed ? vertices.size() : vertices.size() - 1;
    double width = vertices[0].startWidth;
    bool constantWidth = true;
    for (std::size_t i = 0; i < segments; ++i)
        constantWidth = constantWidth && vertices[i].startWidth == width && vertices[i].endWidth == width;
    if (!isAlongZ(normal) || !constantWidth) {
        widePath(vertices, closed, normal);
        return;
    }

    OdGeVector3d n = planeNormal(normal);
    double pad = width / 2.0;
    // Each segment as an SVG path command, with its length for the dashing.
    std::vector<std::string> commands;
    double length = 0.0;
    for (std::size_t i = 0; i < segments; ++i) {
        const PathVertex& a = vertices[i];
        const OdGePoint3d& b = vertices[(i + 1) % vertices.size()].point;
        addPoint(a.point.x, a.point.y, pad);
        const std::optional<BulgeArc> curved = segmentArc(a.point, b, a.bulge, n);
        if (!curved) {
            commands.push_back(" L" + xy(b));
            length += a.point.distanceTo(b);
            continue;
        }
        const BulgeArc& arc = *curved;
        addArcExtents(arc.center, arc.u, arc.v, 0.0, arc.sweep, pad);
        // Seen from above with Y up an arc counter-clockwise about +Z is, once Y is flipped, an SVG
        // arc with sweep-flag 0.
        bool counterClockwise = (a.bulge > 0.0) == (n.z > 0.0);
        commands.push_back(fmt::format(" A{} {} 0 {} {} {}", num(arc.radius), num(arc.radius),
                                       std::fabs(a.bulge) > 1.0 ? 1 : 0, counterClockwise ? 0 : 1, xy(b)));
        length += arc.radius * std::fabs(arc.sweep);
    }
    addPoint(vertices.back().point.x, vertices.back().point.y, pad);

    // A pattern that starts again at each vertex is drawn as one subpath per segment.
    const bool restart = !m_traits.dashesThroughVertices;
    const std::string dashes = dashing(length, restart ? segments : 1);
    const bool perSegment = restart && !dashes.empty();
    std::string d = "M" + xy(vertices[0].point);
    for (std::size_t i = 0; i < segments; ++i) {
        if (perSegment && i > 0)
            d += " M" + xy(vertices[i].point);
        d += commands[i];
    }
    if (closed && !perSegment)
        d += " Z";

    if (width > 0.0) {
        // A constant width is a stroke in drawing units, ending flat at the end vertices as a wide
        // polyline does.
        fmt::format_to(std::back_inserter(m_body),
                       R"(<path d="{}" fill="none" stroke="{}" stroke-width="{}" stroke-linejoin="miter" )"
                       R"(stroke-linecap="butt"{}/>)"
                       "\n",
                       d, colour(m_traits.rgb), num(width), dashes);
    } else {
        fmt::format_to(std::back_inserter(m_body),
                       R"(<path d="{}" {}{}/>)"
                       "\n",
                       d, strokeAttributes(m_traits), dashes);
    }
}

// Segments with widths become filled outlines (tapering where the widths differ); segments without
// width are thin lines. Works in the path's own plane, so any normal is drawn correctly.
void SvgSink::widePath(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal)
{
    OdGeVector3d n = planeNormal(normal);
    std::size_t segments = closed ? vertices.size() : vertices.size() - 1;
    std::vector<OdGePoint3d> thin;
    auto flushThin = [&] {
        if (thin.size() >= 2)
            polyline(thin, false);
        thin.clear();
    };
    for (std::size_t i = 0; i < segments; ++i) {
        const PathVertex& a = vertices[i];
        const OdGePoint3d& b = vertices[(i + 1) % vertices.size()].point;
        // Points along the segment and the direction to its left at each of them.
        std::vector<OdGePoint3d> along;
        std::vector<OdGeVector3d> left;
        const std::optional<BulgeArc> curved = segmentArc(a.point, b, a.bulge, n);
        if (!curved) {
            OdGeVector3d side = n.crossProduct(b - a.point).normal();
            along = {a.point, b};
            left = {side, side};
        } else {
            const BulgeArc& arc = *curved;
            int steps = stepsFor(arc.sweep);
            for (int k = 0; k <= steps; ++k) {
                double t = arc.sweep * k / steps;
                OdGeVector3d radial = arc.u * std::cos(t) + arc.v * std::sin(t);
                along.push_back(arc.center + radial);
                // Left of the direction of travel is toward the centre on a counter-clockwise arc.
                left.push_back(radial.normal() * (arc.sweep > 0.0 ? -1.0 : 1.0));
            }
        }
        if (a.startWidth == 0.0 && a.endWidth == 0.0) {
            if (thin.empty())
                thin.push_back(along.front());
            thin.insert(thin.end(), along.begin() + 1, along.end());
            continue;
        }
        flushThin();
        std::vector<OdGePoint3d> outline;
        const std::size_t count = along.size();
        // The half width at the k-th point, from the start width to the end width.
        auto halfWidth = [&](std::size_t k) {
            const double t = static_cast<double>(k) / static_cast<double>(count - 1);
            return (a.startWidth + (a.endWidth - a.startWidth) * t) / 2.0;
        };
        for (std::size_t k = 0; k < count; ++k)
            outline.push_back(along[k] + left[k] * halfWidth(k));
        for (std::size_t k = count; k-- > 0;)
            outline.push_back(along[k] - left[k] * halfWidth(k));
        polygon(outline, true);
    }
    flushThin();
}

void SvgSink::polygon(std::span<const OdGePoint3d> corners, bool filled)
{
    if (!filled) {
        polyline(corners, true);
        return;
    }
    if (corners.empty())
        return;
    std::string pts;
    for (const auto& p : corners) {
        if (!pts.empty())
            pts += ' ';
        pts += xy(p);
        addPoint(p.x, p.y);
    }
    fmt::format_to(std::back_inserter(m_body),
                   R"(<polygon points="{}" {}/>)"
                   "\n",
                   pts, fillAttributes(m_traits));
}

void SvgSink::circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                          const OdGeVector3d& startVector, double sweepAngle)
{
    OdGeVector3d n = planeNormal(normal);
    OdGeVector3d u = (startVector.isZeroLength() ? n.perpVector() : startVector.normal()) * radius;
    OdGeVector3d v = n.crossProduct(u);
    double sweep = std::clamp(sweepAngle, -kTwoPi, kTwoPi);
    addArcExtents(center, u, v, 0.0, sweep);
    if (!isAlongZ(normal)) {
        std::vector<OdGePoint3d> pts;
        int steps = stepsFor(sweep);
        for (int k = 0; k <= steps; ++k) {
            double t = sweep * k / steps;
            pts.push_back(center + u * std::cos(t) + v * std::sin(t));
        }
        polyline(pts, false);
        return;
    }
    if (std::fabs(sweep) >= kTwoPi - 1e-12) {
        fmt::format_to(std::back_inserter(m_body),
                       R"(<circle cx="{}" cy="{}" r="{}" {}{}/>)"
                       "\n",
                       num(center.x), num(-center.y), num(radius), strokeAttributes(m_traits),
                       dashing(kTwoPi * radius, 1));
        return;
    }
    OdGePoint3d start = center + u;
    OdGePoint3d end = center + u * std::cos(sweep) + v * std::sin(sweep);
    bool counterClockwise = (sweep > 0.0) == (n.z > 0.0);
    fmt::format_to(std::back_inserter(m_body),
                   R"(<path d="M{} A{} {} 0 {} {} {}" {}{}/>)"
                   "\n",
                   xy(start), num(radius), num(radius), std::fabs(sweep) > std::numbers::pi ? 1 : 0,
                   counterClockwise ? 0 : 1, xy(end), strokeAttributes(m_traits),
                   dashing(std::fabs(sweep) * radius, 1));
}

void SvgSink::ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                          double startAngle, double endAngle)
{
    double sweep = std::clamp(endAngle - startAngle, -kTwoPi, kTwoPi);
    addArcExtents(center, majorAxis, minorAxis, startAngle, sweep);
    auto at = [&](double t) { return center + majorAxis * std::cos(t) + minorAxis * std::sin(t); };
    bool flat = std::fabs(majorAxis.z) < 1e-12 && std::fabs(minorAxis.z) < 1e-12
        && std::fabs(majorAxis.dotProduct(minorAxis)) <= 1e-9 * majorAxis.length() * minorAxis.length();
    if (!flat) {
        std::vector<OdGePoint3d> pts;
        int steps = stepsFor(sweep);
        for (int k = 0; k <= steps; ++k)
            pts.push_back(at(startAngle + sweep * k / steps));
        polyline(pts, false);
        return;
    }
    // SVG rotates clockwise on screen, the drawing counter-clockwise with Y up.
    double rotation = -std::atan2(majorAxis.y, majorAxis.x) * 180.0 / std::numbers::pi;
    double rx = majorAxis.length(), ry = minorAxis.length();
    // Ramanujan's perimeter, shared out by the angle: near enough to count dashes.
    double perimeter = std::numbers::pi * (3.0 * (rx + ry) - std::sqrt((3.0 * rx + ry) * (rx + 3.0 * ry)));
    std::string dashes = dashing(perimeter * std::fabs(sweep) / kTwoPi, 1);
    if (std::fabs(sweep) >= kTwoPi - 1e-12) {
        fmt::format_to(std::back_inserter(m_body),
                       R"~(<ellipse cx="{}" cy="{}" rx="{}" ry="{}" transform="rotate({} {} {})" {}{}/>)~"
                       "\n",
                       num(center.x), num(-center.y), num(rx), num(ry), num(rotation), num(center.x), num(-center.y),
                       strokeAttributes(m_traits), dashes);
        return;
    }
    bool counterClockwise = (sweep > 0.0) == (majorAxis.crossProduct(minorAxis).z > 0.0);
    fmt::format_to(std::back_inserter(m_body),
                   R"(<path d="M{} A{} {} {} {} {} {}" {}{}/>)"
                   "\n",
                   xy(at(startAngle)), num(rx), num(ry), num(rotation), std::fabs(sweep) > std::numbers::pi ? 1 : 0,
                   counterClockwise ? 0 : 1, xy(at(startAngle + sweep)), strokeAttributes(m_traits), dashes);
}

void SvgSink::region(std::span<const std::vector<OdGePoint3d>> loops)
{
    std::string d;
    for (const auto& loop : loops) {
        if (loop.size() < 3)
            continue;
        for (std::size_t k = 0; k < loop.size(); ++k) {
            d += (k == 0 ? (d.empty() ? "M" : " M") : " L") + xy(loop[k]);
            addPoint(loop[k].x, loop[k].y);
        }
        d += " Z";
    }
    if (!d.empty())
        fmt::format_to(std::back_inserter(m_body),
                       R"(<path d="{}" fill-rule="evenodd" {}/>)"
                       "\n",
                       d, fillAttributes(m_traits));
}

void SvgSink::text(const TextRun& run)
{
    if (run.text.isEmpty() || !(run.height > 0.0) || !(run.width > 0.0))
        return;
    // Seen from above: the run's frame in the XY plane, glyphs slanted by their obliquing.
    const OdGeVector3d along(run.advance.x, run.advance.y, 0.0);
    const OdGeVector3d up = OdGeVector3d(run.up.x, run.up.y, 0.0) + along * std::tan(run.oblique);
    if (along.isZeroLength() || up.isZeroLength() || along.crossProduct(up).isZeroLength())
        return;
    const FontMetrics metrics = fontMetrics(run.face);
    const OdGeVector3d w = along * run.width;
    const OdGeVector3d h = up * run.height;
    for (const OdGePoint3d& p : {run.origin - h * metrics.descent, run.origin + h})
        for (const OdGePoint3d& q : {p, p + w})
            addPoint(q.x, q.y);
    // Glyphs are set at the origin in the text's own units (a capital 1 tall, SVG's Y down) and
    // carried to the drawing by one matrix; textLength holds the run to the width measured.
    const double sx = run.widthFactor * run.height, sy = run.height;
    fmt::format_to(
        std::back_inserter(m_body),
        R"~(<text xml:space="preserve" transform="matrix({} {} {} {} {} {})" font-family="{}" font-size="{}"{}{} textLength="{}" lengthAdjust="spacingAndGlyphs" fill="{}">{}</text>)~"
        "\n",
        num(along.x * sx), num(-along.y * sx), num(-up.x * sy), num(up.y * sy), num(run.origin.x), num(-run.origin.y),
        fontFamilyName(run.face), num(metrics.emSize), run.face.bold ? R"( font-weight="bold")" : "",
        run.face.italic ? R"( font-style="italic")" : "", num(run.width / sx), colour(m_traits.rgb), xmlText(run.text));
}

void SvgSink::marker(const OdGePoint3d& position, MarkerKind kind, double size)
{
    if (!(size > 0.0)) {
        // Sized when the picture's extents are known.
        addPoint(position.x, position.y);
        m_defaultMarkers.push_back({position, kind, m_traits});
        return;
    }
    double h = size / 2.0;
    addPoint(position.x, position.y, h);
    m_body += markerSvg(position.x, position.y, kind, h, m_traits);
}

void SvgSink::markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size)
{
    if (offsets.empty())
        return;
    if (!(size > 0.0)) {
        addPoint(position.x, position.y);
        m_defaultSymbols.push_back({position, {offsets.begin(), offsets.end()}, m_traits});
        return;
    }
    polyline(scaled(position, offsets, size), false);
}

std::string SvgSink::document() const
{
    double x0 = 0.0, y0 = 0.0, w = 100.0, h = 100.0;
    if (m_extents.isValidExtents()) {
        const OdGePoint3d& lo = m_extents.minPoint();
        const OdGePoint3d& hi = m_extents.maxPoint();
        double margin = 0.05 * std::max(hi.x - lo.x, hi.y - lo.y);
        if (!(margin > 0.0))
            margin = 1.0;
        x0 = lo.x - margin;
        y0 = lo.y - margin;
        w = hi.x - lo.x + 2.0 * margin;
        h = hi.y - lo.y + 2.0 * margin;
    }
    // The picture is at most 1024 pixels on its longer side; the view box keeps drawing units.
    double scale = 1024.0 / std::max(w, h);
    // Lineweights are millimetres on screen at 96 dpi, the thinnest line one pixel; strokes are
    // given in drawing units because not every renderer honours non-scaling strokes.
    std::string weights;
    for (int key : m_weights) {
        double px = std::max(1.0, key / 100.0 * 96.0 / 25.4);
        weights += fmt::format(".w{}{{stroke-width:{}}}", key, num(px / scale));
    }
    std::string out;
    fmt::format_to(std::back_inserter(out),
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="{} {} {} {}" width="{}" height="{}">)"
                   "\n"
                   "<style>.s{{stroke-linecap:round;stroke-linejoin:round}}{}"
                   "text{{white-space:pre}}</style>\n"
                   R"(<rect x="{}" y="{}" width="{}" height="{}" fill="{}"/>)"
                   "\n",
                   num(x0), num(-(y0 + h)), num(w), num(h), std::max(1L, std::lround(w * scale)),
                   std::max(1L, std::lround(h * scale)), weights, num(x0), num(-(y0 + h)), num(w), num(h), kBackground);
    out += m_body;
    double size = kDefaultMarkerSize * std::max(w, h);
    for (const DefaultSymbol& symbol : m_defaultSymbols)
        out += polylineSvg(scaled(symbol.position, symbol.offsets, size), false, symbol.traits);
    double half = size / 2.0;
    for (const DefaultMarker& m : m_defaultMarkers)
        out += markerSvg(m.position.x, m.position.y, m.kind, half, m.traits);
    out += "</svg>\n";
    return out;
}

} // namespace vantrel
