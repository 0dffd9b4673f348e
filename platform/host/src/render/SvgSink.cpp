// SVG output of WorldDraw primitives. Drawing coordinates are written as they are, with Y negated
// so the picture is upright; arcs in the XY plane stay exact SVG arcs, the edges of wide arcs
// are cubic curves, anything else is tessellated.
#include <vantrel/host/SvgSink.h>

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

#include <vantrel/host/svg_number.h>

#include "wide_arc.h"

namespace vantrel {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Arcs that must be tessellated are cut into steps of at most 5 degrees.
constexpr double kStepAngle = std::numbers::pi / 36.0;
// Of a glyph's half-size: a spot light's smaller sun, the ring around a web light's.
constexpr double kSpotGlyphShare = 0.7;
constexpr double kWebRingRadius = 1.5;

// Numbers nearer zero than any drawing means are written as 0.
void num(TextOutput& out, double v)
{
    assert(std::isfinite(v));
    if (std::fabs(v) < 1e-12) {
        out.append('0');
        return;
    }
    out.number(v, formatSvgNumber);
}

// "x,y" in SVG coordinates.
void xy(TextOutput& out, double x, double y)
{
    num(out, x);
    out.append(',');
    num(out, -y);
}
void xy(TextOutput& out, const OdGePoint3d& p) { xy(out, p.x, p.y); }

// Points separated by blanks, as polygons and polylines list them.
void points(TextOutput& out, std::span<const OdGePoint3d> ps)
{
    for (std::size_t i = 0; i < ps.size(); ++i) {
        if (i > 0)
            out.append(' ');
        xy(out, ps[i]);
    }
}

// A filled outline as path data after its "M": its corners as a polygon lists them, or its two
// edges of cubic curves joined by straight lines.
void outlineData(TextOutput& out, std::span<const OdGePoint3d> ps, int curves)
{
    if (curves == 0) {
        points(out, ps);
        return;
    }
    const std::size_t edge = 3 * static_cast<std::size_t>(curves) + 1;
    xy(out, ps[0]);
    out.append(" C");
    points(out, ps.subspan(1, edge - 1));
    out.append(" L");
    xy(out, ps[edge]);
    out.append(" C");
    points(out, ps.subspan(edge + 1));
}

void integer(TextOutput& out, long v)
{
    char* p = out.room(24);
    out.advance(std::to_chars(p, p + 24, v).ptr);
}

// Pieces of the picture's text: strings as they are, numbers and points ("x,y") as above.
struct Num {
    double value;
};
struct Int {
    long value;
};
void put(TextOutput& out, std::string_view s) { out.append(s); }
void put(TextOutput& out, char c) { out.append(c); }
void put(TextOutput& out, Num n) { num(out, n.value); }
void put(TextOutput& out, Int i) { integer(out, i.value); }
void put(TextOutput& out, const OdGePoint3d& p) { xy(out, p); }
template <class... Pieces>
void write(TextOutput& out, const Pieces&... pieces)
{
    (put(out, pieces), ...);
}

std::string colour(std::uint32_t rgb)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string c = "#000000";
    for (int i = 6; i > 0; --i, rgb >>= 4)
        c[static_cast<std::size_t>(i)] = kHex[rgb & 0xF];
    return c;
}

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

// Points along a path segment and the direction to its left at each of them: its ends, or an
// arc's points every few degrees.
void alongSegment(const OdGePoint3d& a, const OdGePoint3d& b, const std::optional<BulgeArc>& curved,
                  const OdGeVector3d& n, std::vector<OdGePoint3d>& along, std::vector<OdGeVector3d>& left)
{
    along.clear();
    left.clear();
    if (!curved) {
        OdGeVector3d side = n.crossProduct(b - a).normal();
        along = {a, b};
        left = {side, side};
        return;
    }
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

// The polygon around the points along a segment: on the left from its start, back on the right,
// the half width running from the start width's to the end width's.
void polygonOutline(const PathVertex& a, std::span<const OdGePoint3d> along, std::span<const OdGeVector3d> left,
                    std::vector<OdGePoint3d>& outline)
{
    const std::size_t count = along.size();
    outline.resize(2 * count);
    for (std::size_t k = 0; k < count; ++k) {
        const double t = static_cast<double>(k) / static_cast<double>(count - 1);
        const OdGeVector3d side = left[k] * ((a.startWidth + (a.endWidth - a.startWidth) * t) / 2.0);
        outline[k] = along[k] + side;
        outline[2 * count - 1 - k] = along[k] - side;
    }
}

// Escapes text for XML character data and drops what XML 1.0 cannot hold at all.
std::string xmlText(const OdString& text)
{
    std::string out;
    out.reserve(text.str().size());
    for (wchar_t c : text.str()) {
        auto cp = static_cast<char32_t>(c);
        if (cp < 0x20 && cp != U'\t')
            continue;
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE || cp == 0xFFFF || cp > 0x10FFFF)
            cp = 0xFFFD;
        switch (cp) {
        case U'<': out += "&lt;"; break;
        case U'>': out += "&gt;"; break;
        case U'&': out += "&amp;"; break;
        case U'"': out += "&quot;"; break;
        default: OdString::appendUtf8(out, cp);
        }
    }
    return out;
}

// Lineweights in hundredths of a millimetre name the stroke classes ("w25"), whose widths the
// document's style sets once the picture's scale is known.
int weightKey(const DrawTraits& traits) { return static_cast<int>(std::lround(traits.lineWeightMm * 100.0)); }

std::string strokeAttributes(const DrawTraits& traits)
{
    return "class=\"s w" + std::to_string(weightKey(traits)) + "\" fill=\"none\" stroke=\"" + colour(traits.rgb) + '"';
}

// Filled shapes get a hairline outline too, so that a degenerate one still shows. A mask is
// filled with the background.
std::string fillAttributes(const DrawTraits& traits)
{
    std::string c = traits.background ? std::string(SvgSink::kBackground) : colour(traits.rgb);
    return "class=\"s w0\" fill=\"" + c + "\" stroke=\"" + c + '"';
}

// A lamp glyph: a disc with eight rays around it, reaching r.
void sunSvg(TextOutput& out, double x, double y, double r, const DrawTraits& traits)
{
    write(out, "<circle cx=\"", Num{x}, "\" cy=\"", Num{-y}, "\" r=\"", Num{r * 0.45}, "\" ", fillAttributes(traits),
          "/>\n<path d=\"");
    for (int k = 0; k < 8; ++k) {
        double t = k * std::numbers::pi / 4.0;
        double c = std::cos(t), s = std::sin(t);
        out.append(k == 0 ? "M" : " M");
        xy(out, x + c * r * 0.6, y + s * r * 0.6);
        out.append(" L");
        xy(out, x + c * r, y + s * r);
    }
    write(out, "\" ", strokeAttributes(traits), "/>\n");
}

// attributes: of the stroke; dashing: its dash attributes, if any.
void polylineSvg(TextOutput& out, std::span<const OdGePoint3d> ps, bool closed, std::string_view attributes,
                 std::string_view dashing = {})
{
    out.append(closed ? "<polygon points=\"" : "<polyline points=\"");
    points(out, ps);
    write(out, "\" ", attributes, dashing, "/>\n");
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
void markerSvg(TextOutput& out, double x, double y, MarkerKind kind, double h, const DrawTraits& traits)
{
    const OdGePoint3d lowLeft(x - h, y - h, 0), lowRight(x + h, y - h, 0), upRight(x + h, y + h, 0),
        upLeft(x - h, y + h, 0);
    switch (kind) {
    case MarkerKind::Light: return sunSvg(out, x, y, h, traits);
    case MarkerKind::SpotLight: return sunSvg(out, x, y, h * kSpotGlyphShare, traits);
    case MarkerKind::WebLight:
        sunSvg(out, x, y, h, traits);
        write(out, "<circle cx=\"", Num{x}, "\" cy=\"", Num{-y}, "\" r=\"", Num{h * kWebRingRadius}, "\" ",
              strokeAttributes(traits), "/>\n");
        return;
    case MarkerKind::Vertex:
        write(out, "<path d=\"M", lowLeft, " L", lowRight, " L", upRight, " L", upLeft, " Z");
        break;
    case MarkerKind::Cross: write(out, "<path d=\"M", lowLeft, " L", upRight, " M", upLeft, " L", lowRight); break;
    }
    write(out, "\" ", strokeAttributes(traits), "/>\n");
}

std::vector<OdGePoint3d> scaled(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size)
{
    std::vector<OdGePoint3d> points;
    for (const OdGeVector3d& offset : offsets)
        points.push_back(position + offset * size);
    return points;
}

} // namespace

SvgSink::SvgSink()
    : m_collect(std::make_unique<TextOutput>([this](std::string_view piece) { m_body.append(piece); })),
      m_measures(true)
{
    m_out = m_collect.get();
    setTraits(m_traits);
}

SvgSink::SvgSink(TextOutput* out) : SvgSink(out, out == nullptr) {}

SvgSink::SvgSink(TextOutput* out, bool measure) : m_out(out), m_measures(measure) { setTraits(m_traits); }

SvgSink::~SvgSink() = default;

void SvgSink::setTraits(const DrawTraits& traits)
{
    m_traits = traits;
    if (!m_lineweights)
        m_traits.lineWeightMm = 0.0;
    if (measures())
        m_weights.insert(weightKey(m_traits));
    if (!m_out)
        return;
    // Entities one after another mostly look alike: their attributes are made once.
    const Look look{weightKey(m_traits), m_traits.rgb, m_traits.background};
    if (!m_look || *m_look != look) {
        m_stroke = strokeAttributes(m_traits);
        m_fill = fillAttributes(m_traits);
        m_look = look;
    }
    m_dashes = SvgDashes::of(traits.dashes);
    m_dashBudget = kMaxDashesPerEntity;
}

const std::string& SvgSink::dashing(double length, std::size_t pieces)
{
    static const std::string none;
    if (m_dashes.solid())
        return none;
    // Each piece starts the pattern again, so it may end in a part of a repetition.
    const double count = (length / m_dashes.period + static_cast<double>(pieces)) * m_dashes.drawnPerPeriod;
    if (!(count <= m_dashBudget))
        return none;
    m_dashBudget -= count;
    return m_dashes.attributes;
}

void SvgSink::addPoint(double x, double y, double pad)
{
    if (!measures())
        return;
    if (pad == 0.0) {
        m_extents.addPoint(OdGePoint3d(x, y, 0.0));
        return;
    }
    m_extents.addPoint(OdGePoint3d(x - pad, y - pad, 0.0));
    m_extents.addPoint(OdGePoint3d(x + pad, y + pad, 0.0));
}

void SvgSink::addArcExtents(const OdGePoint3d& center, const OdGeVector3d& u, const OdGeVector3d& v, double start,
                            double sweep, double pad)
{
    if (!measures())
        return;
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
    if (m_out)
        polylineSvg(*m_out, points, closed, m_stroke, dashing(polylineLength(points, closed), 1));
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
    // Each segment as an SVG path command will write it, with its length for the dashing.
    m_segments.clear();
    double length = 0.0;
    for (std::size_t i = 0; i < segments; ++i) {
        const PathVertex& a = vertices[i];
        const OdGePoint3d& b = vertices[(i + 1) % vertices.size()].point;
        const bool measured = measures() && !withinExtents(a, b);
        if (!m_out && !measured)
            continue;
        if (measured)
            addPoint(a.point.x, a.point.y, pad);
        const std::optional<BulgeArc> curved = segmentArc(a.point, b, a.bulge, n);
        if (!curved) {
            m_segments.push_back({&b, 0.0, false, false});
            length += a.point.distanceTo(b);
            continue;
        }
        const BulgeArc& arc = *curved;
        if (measured)
            addArcExtents(arc.center, arc.u, arc.v, 0.0, arc.sweep, pad);
        // Seen from above with Y up an arc counter-clockwise about +Z is, once Y is flipped, an SVG
        // arc with sweep-flag 0.
        m_segments.push_back({&b, arc.radius, std::fabs(a.bulge) > 1.0, (a.bulge > 0.0) == (n.z > 0.0)});
        length += arc.radius * std::fabs(arc.sweep);
    }
    addPoint(vertices.back().point.x, vertices.back().point.y, pad);
    if (!m_out)
        return;

    // A pattern that starts again at each vertex is drawn as one subpath per segment.
    TextOutput& out = *m_out;
    const bool restart = !m_traits.dashesThroughVertices;
    const std::string& dashes = dashing(length, restart ? segments : 1);
    const bool perSegment = restart && !dashes.empty();
    out.append("<path d=\"M");
    xy(out, vertices[0].point);
    for (std::size_t i = 0; i < segments; ++i) {
        if (perSegment && i > 0) {
            out.append(" M");
            xy(out, vertices[i].point);
        }
        const PathSegment& s = m_segments[i];
        if (s.radius == 0.0)
            out.append(" L");
        else
            write(out, " A", Num{s.radius}, ' ', Num{s.radius}, s.large ? " 0 1 " : " 0 0 ",
                  s.counterClockwise ? "0 " : "1 ");
        xy(out, *s.end);
    }
    if (closed && !perSegment)
        out.append(" Z");

    if (width > 0.0) {
        // A constant width is a stroke in drawing units, ending flat at the end vertices as a wide
        // polyline does.
        write(out, "\" fill=\"none\" stroke=\"", colour(m_traits.rgb), "\" stroke-width=\"", Num{width},
              "\" stroke-linejoin=\"miter\" stroke-linecap=\"butt\"");
    } else {
        write(out, "\" ", m_stroke);
    }
    write(out, dashes, "/>\n");
}

// Segments with widths become filled outlines (tapering where the widths differ); segments without
// width are thin lines. Works in the path's own plane, so any normal is drawn correctly.
void SvgSink::widePath(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal)
{
    OdGeVector3d n = planeNormal(normal);
    std::size_t segments = closed ? vertices.size() : vertices.size() - 1;
    m_thin.clear();
    auto flushThin = [&] {
        if (m_thin.size() >= 2)
            polyline(m_thin, false);
        m_thin.clear();
    };
    for (std::size_t i = 0; i < segments; ++i) {
        const PathVertex& a = vertices[i];
        const OdGePoint3d& b = vertices[(i + 1) % vertices.size()].point;
        const bool measured = measures() && !withinExtents(a, b);
        if (!m_out && !measured)
            continue;
        const std::optional<BulgeArc> curved = segmentArc(a.point, b, a.bulge, n);
        if (a.startWidth == 0.0 && a.endWidth == 0.0) {
            // The outlines before it are drawn before it.
            endOutlines();
            alongSegment(a.point, b, curved, n, m_along, m_left);
            if (m_thin.empty())
                m_thin.push_back(m_along.front());
            m_thin.insert(m_thin.end(), m_along.begin() + 1, m_along.end());
            continue;
        }
        flushThin();
        // An outline stays simple while it keeps nearer the segment than the centre of its arc.
        const bool simple = a.startWidth >= 0.0 && a.endWidth >= 0.0
            && (!curved || std::max(a.startWidth, a.endWidth) / 2.0 < curved->radius);
        // An arc's polygon through points of its edges every few degrees measures it; drawn, its
        // edges are curves.
        if (!simple || !curved || measured) {
            alongSegment(a.point, b, curved, n, m_along, m_left);
            polygonOutline(a, m_along, m_left, m_outline.points);
            m_outline.curves = 0;
        }
        if (!simple) {
            endOutlines();
            polygon(m_outline.points, true);
            continue;
        }
        if (measured)
            for (const OdGePoint3d& p : m_outline.points)
                addPoint(p.x, p.y);
        if (!m_out)
            continue;
        if (curved)
            m_outline.curves
                = wideArcOutline({curved->center, curved->u, curved->v, curved->sweep, a.startWidth, a.endWidth},
                                 stepsFor(curved->sweep), m_outline.points);
        addOutline(m_outline);
    }
    endOutlines();
    flushThin();
}

// A segment's outline reaches half the wider width beyond the segment.
bool SvgSink::withinExtents(const PathVertex& a, const OdGePoint3d& b) const
{
    const double reach = segmentReach(a.point.distanceTo(b) / 2.0, a.bulge)
        + std::max(std::fabs(a.startWidth), std::fabs(a.endWidth)) / 2.0;
    return withinReach(m_extents, OdGePoint3d((a.point.x + b.x) / 2.0, (a.point.y + b.y) / 2.0, 0.0), reach, true);
}

void SvgSink::addOutline(const Outline& outline)
{
    TextOutput& out = *m_out;
    // The first is held: alone, a polygon is written as the polygon it is.
    if (m_outlines == 0) {
        m_firstOutline = outline;
    } else {
        if (m_outlines == 1) {
            out.append("<path d=\"M");
            outlineData(out, m_firstOutline.points, m_firstOutline.curves);
            out.append(" Z");
        }
        out.append(" M");
        outlineData(out, outline.points, outline.curves);
        out.append(" Z");
    }
    ++m_outlines;
}

void SvgSink::endOutlines()
{
    if (m_outlines == 1) {
        if (m_firstOutline.curves == 0) {
            m_out->append("<polygon points=\"");
            points(*m_out, m_firstOutline.points);
        } else {
            m_out->append("<path d=\"M");
            outlineData(*m_out, m_firstOutline.points, m_firstOutline.curves);
            m_out->append(" Z");
        }
    }
    if (m_outlines > 0) {
        m_out->append("\" ");
        m_out->append(m_fill);
        m_out->append("/>\n");
    }
    m_outlines = 0;
}

void SvgSink::polygon(std::span<const OdGePoint3d> corners, bool filled)
{
    if (!filled) {
        polyline(corners, true);
        return;
    }
    if (corners.empty())
        return;
    for (const auto& p : corners)
        addPoint(p.x, p.y);
    if (m_out)
        polylineSvg(*m_out, corners, true, m_fill);
}

void SvgSink::circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                          const OdGeVector3d& startVector, double sweepAngle)
{
    const bool measured
        = measures() && !withinReach(m_extents, OdGePoint3d(center.x, center.y, 0.0), std::fabs(radius), true);
    if (!m_out && !measured)
        return;
    OdGeVector3d n = planeNormal(normal);
    OdGeVector3d u = (startVector.isZeroLength() ? n.perpVector() : startVector.normal()) * radius;
    OdGeVector3d v = n.crossProduct(u);
    double sweep = std::clamp(sweepAngle, -kTwoPi, kTwoPi);
    if (measured)
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
    if (!m_out)
        return;
    TextOutput& out = *m_out;
    if (std::fabs(sweep) >= kTwoPi - 1e-12) {
        write(out, "<circle cx=\"", Num{center.x}, "\" cy=\"", Num{-center.y}, "\" r=\"", Num{radius}, "\" ", m_stroke,
              dashing(kTwoPi * radius, 1), "/>\n");
        return;
    }
    OdGePoint3d start = center + u;
    OdGePoint3d end = center + u * std::cos(sweep) + v * std::sin(sweep);
    bool counterClockwise = (sweep > 0.0) == (n.z > 0.0);
    write(out, "<path d=\"M", start, " A", Num{radius}, ' ', Num{radius},
          std::fabs(sweep) > std::numbers::pi ? " 0 1 " : " 0 0 ", counterClockwise ? "0 " : "1 ", end, "\" ", m_stroke,
          dashing(std::fabs(sweep) * radius, 1), "/>\n");
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
    if (!m_out)
        return;
    TextOutput& out = *m_out;
    // SVG rotates clockwise on screen, the drawing counter-clockwise with Y up.
    double rotation = -std::atan2(majorAxis.y, majorAxis.x) * 180.0 / std::numbers::pi;
    double rx = majorAxis.length(), ry = minorAxis.length();
    // Ramanujan's perimeter, shared out by the angle: near enough to count dashes.
    double perimeter = std::numbers::pi * (3.0 * (rx + ry) - std::sqrt((3.0 * rx + ry) * (rx + 3.0 * ry)));
    const std::string& dashes = dashing(perimeter * std::fabs(sweep) / kTwoPi, 1);
    if (std::fabs(sweep) >= kTwoPi - 1e-12) {
        write(out, "<ellipse cx=\"", Num{center.x}, "\" cy=\"", Num{-center.y}, "\" rx=\"", Num{rx}, "\" ry=\"",
              Num{ry}, "\" transform=\"rotate(", Num{rotation}, ' ', Num{center.x}, ' ', Num{-center.y}, ")\" ",
              m_stroke, dashes, "/>\n");
        return;
    }
    bool counterClockwise = (sweep > 0.0) == (majorAxis.crossProduct(minorAxis).z > 0.0);
    write(out, "<path d=\"M", at(startAngle), " A", Num{rx}, ' ', Num{ry}, ' ', Num{rotation},
          std::fabs(sweep) > std::numbers::pi ? " 1 " : " 0 ", counterClockwise ? "0 " : "1 ", at(startAngle + sweep),
          "\" ", m_stroke, dashes, "/>\n");
}

void SvgSink::region(std::span<const std::vector<OdGePoint3d>> loops)
{
    bool any = false;
    for (const auto& loop : loops) {
        if (loop.size() < 3)
            continue;
        for (std::size_t k = 0; k < loop.size(); ++k) {
            addPoint(loop[k].x, loop[k].y);
            if (!m_out)
                continue;
            if (k == 0)
                m_out->append(any ? " M" : "<path d=\"M");
            else
                m_out->append(" L");
            xy(*m_out, loop[k]);
        }
        if (m_out)
            m_out->append(" Z");
        any = true;
    }
    if (any && m_out) {
        m_out->append("\" fill-rule=\"evenodd\" ");
        m_out->append(m_fill);
        m_out->append("/>\n");
    }
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
    if (!m_out)
        return;
    TextOutput& out = *m_out;
    // Glyphs are set at the origin in the text's own units (a capital 1 tall, SVG's Y down) and
    // carried to the drawing by one matrix; textLength holds the run to the width measured.
    const double sx = run.widthFactor * run.height, sy = run.height;
    write(out, "<text xml:space=\"preserve\" transform=\"matrix(", Num{along.x * sx}, ' ', Num{-along.y * sx}, ' ',
          Num{-up.x * sy}, ' ', Num{up.y * sy}, ' ', Num{run.origin.x}, ' ', Num{-run.origin.y}, ")\" font-family=\"",
          fontFamilyName(run.face), "\" font-size=\"", Num{metrics.emSize}, '"',
          run.face.bold ? R"( font-weight="bold")" : "", run.face.italic ? R"( font-style="italic")" : "",
          " textLength=\"", Num{run.width / sx}, "\" lengthAdjust=\"spacingAndGlyphs\" fill=\"", colour(m_traits.rgb),
          "\">", xmlText(run.text), "</text>\n");
}

void SvgSink::marker(const OdGePoint3d& position, MarkerKind kind, double size)
{
    if (!(size > 0.0)) {
        // Sized when the picture's extents are known, and written by the sink that measured.
        addPoint(position.x, position.y);
        if (measures())
            m_defaultMarkers.push_back({position, kind, m_traits});
        return;
    }
    double h = size / 2.0;
    addPoint(position.x, position.y, h);
    if (m_out)
        markerSvg(*m_out, position.x, position.y, kind, h, m_traits);
}

void SvgSink::markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size)
{
    if (offsets.empty())
        return;
    if (!(size > 0.0)) {
        addPoint(position.x, position.y);
        if (measures())
            m_defaultSymbols.push_back({position, {offsets.begin(), offsets.end()}, m_traits});
        return;
    }
    polyline(scaled(position, offsets, size), false);
}

SvgSink::Frame SvgSink::frame() const
{
    Frame f{0.0, 0.0, 100.0, 100.0, 0.0};
    if (m_extents.isValidExtents()) {
        const OdGePoint3d& lo = m_extents.minPoint();
        const OdGePoint3d& hi = m_extents.maxPoint();
        double margin = 0.05 * std::max(hi.x - lo.x, hi.y - lo.y);
        if (!(margin > 0.0))
            margin = 1.0;
        f.x0 = lo.x - margin;
        f.y0 = lo.y - margin;
        f.w = hi.x - lo.x + 2.0 * margin;
        f.h = hi.y - lo.y + 2.0 * margin;
    }
    // The picture is at most 1024 pixels on its longer side; the view box keeps drawing units.
    f.scale = 1024.0 / std::max(f.w, f.h);
    return f;
}

void SvgSink::writeStart(TextOutput& out) const
{
    const Frame f = frame();
    const Num x0{f.x0}, top{-(f.y0 + f.h)}, w{f.w}, h{f.h};
    write(out, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"", x0,
          ' ', top, ' ', w, ' ', h, "\" width=\"", Int{std::max(1L, std::lround(f.w * f.scale))}, "\" height=\"",
          Int{std::max(1L, std::lround(f.h * f.scale))}, "\">\n<style>.s{stroke-linecap:round;stroke-linejoin:round}");
    // Lineweights are millimetres on screen at 96 dpi, the thinnest line one pixel; strokes are
    // given in drawing units because not every renderer honours non-scaling strokes.
    for (int key : m_weights) {
        double px = std::max(1.0, key / 100.0 * 96.0 / 25.4);
        write(out, ".w", Int{key}, "{stroke-width:", Num{px / f.scale}, '}');
    }
    // The background covers the view box.
    write(out, "text{white-space:pre}</style>\n<rect x=\"", x0, "\" y=\"", top, "\" width=\"", w, "\" height=\"", h,
          "\" fill=\"", kBackground, "\"/>\n");
}

void SvgSink::writeEnd(TextOutput& out) const
{
    const Frame f = frame();
    double size = kDefaultMarkerSize * std::max(f.w, f.h);
    for (const DefaultSymbol& symbol : m_defaultSymbols)
        polylineSvg(out, scaled(symbol.position, symbol.offsets, size), false, strokeAttributes(symbol.traits));
    double half = size / 2.0;
    for (const DefaultMarker& m : m_defaultMarkers)
        markerSvg(out, m.position.x, m.position.y, m.kind, half, m.traits);
    out.append("</svg>\n");
}

std::string SvgSink::document() const
{
    assert(m_collect && "only a collecting sink holds its document");
    m_collect->flush();
    std::string text;
    TextOutput out([&text](std::string_view piece) { text.append(piece); });
    writeStart(out);
    out.flush();
    text += m_body;
    writeEnd(out);
    out.flush();
    return text;
}

} // namespace vantrel
