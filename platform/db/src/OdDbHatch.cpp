// Hatch and multi-polygon: loops cut into point rings, fills and pattern lines drawn from them.
#include <vantrel/db/OdDbHatch.h>

#include <algorithm>
#include <cmath>

#include <vantrel/ge/OdGeNurbCurve2d.h>

#include "entity_math.h"
#include "hatch_pattern.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbHatch, OdDbEntity, "HATCH")
ODRX_DEFINE_MEMBERS(OdDbMPolygon, OdDbHatch, "MPOLYGON")

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// Arcs are cut into steps of at most 5 degrees, spline spans into 16 pieces.
constexpr double kStepAngle = 5.0 * kDegree;
constexpr int kSplineStepsPerSpan = 16;
// Pattern lines one hatch may draw before it is drawn filled instead.
constexpr std::size_t kMaxPatternSegments = 20000;

using Ring = std::vector<OdGePoint2d>;

void append(Ring& ring, const OdGePoint2d& p)
{
    if (ring.empty() || !ring.back().isEqualTo(p, OdGeTol(1e-12)))
        ring.push_back(p);
}

int stepsFor(double sweep) { return std::max(2, static_cast<int>(std::ceil(std::fabs(sweep) / kStepAngle))); }

// A circular or elliptical arc edge: angles (parameters for an ellipse) in degrees as stored; a
// clockwise edge stores them mirrored, so it runs from -start down to -end.
void appendArc(Ring& ring, const OdDbHatch::Edge& e)
{
    const OdGeVector2d major = e.type == OdDbHatch::kCircArc ? OdGeVector2d(e.radius, 0.0) : e.majorAxis;
    const double ratio = e.type == OdDbHatch::kCircArc ? 1.0 : e.radius;
    const OdGeVector2d minor = OdGeVector2d(-major.y, major.x) * ratio;
    double sweep = std::fmod(e.endAngle - e.startAngle, 360.0);
    if (sweep <= 0.0)
        sweep += 360.0;
    const double sign = e.counterClockwise ? 1.0 : -1.0;
    const int steps = stepsFor(sweep * kDegree);
    for (int k = 0; k <= steps; ++k) {
        const double a = sign * (e.startAngle + sweep * k / steps) * kDegree;
        append(ring, e.center + major * std::cos(a) + minor * std::sin(a));
    }
}

void appendSpline(Ring& ring, const OdDbHatch::Edge& e)
{
    if (e.controlPoints.size() >= 2
        && OdGeNurbCurve2d::isValidDefinition(e.degree, OdGeKnotVector(e.knots), e.controlPoints, e.weights)) {
        const OdGeNurbCurve2d curve(e.degree, OdGeKnotVector(e.knots), e.controlPoints, e.weights);
        double t0 = 0.0, t1 = 0.0;
        curve.getInterval(t0, t1);
        const int steps = kSplineStepsPerSpan * static_cast<int>(e.controlPoints.size());
        for (int k = 0; k <= steps; ++k)
            append(ring, curve.evalPoint(t0 + (t1 - t0) * k / steps));
        return;
    }
    // A spline known by its fit points alone runs through them.
    for (const OdGePoint2d& p : e.fitPoints)
        append(ring, p);
}

void appendBulge(Ring& ring, const OdGePoint2d& a, const OdGePoint2d& b, double bulge)
{
    const double sweep = 4.0 * std::atan(bulge);
    const OdGeVector2d chord = b - a;
    const double half = chord.length() / 2.0;
    if (!(half > 0.0))
        return;
    const OdGeVector2d left = OdGeVector2d(-chord.y, chord.x) / (2.0 * half);
    const OdGePoint2d center = a + chord / 2.0 + left * (half / std::tan(sweep / 2.0));
    const OdGeVector2d u = a - center;
    const int steps = stepsFor(sweep);
    for (int k = 1; k < steps; ++k) {
        const double t = sweep * k / steps;
        append(ring,
               center + OdGeVector2d(u.x * std::cos(t) - u.y * std::sin(t), u.x * std::sin(t) + u.y * std::cos(t)));
    }
}

Ring ringOf(const OdDbHatch::Loop& loop)
{
    Ring ring;
    if (loop.flags & OdDbHatch::kPolyline) {
        const std::size_t n = loop.vertices.size();
        for (std::size_t i = 0; i < n; ++i) {
            append(ring, loop.vertices[i].point);
            if (loop.vertices[i].bulge != 0.0 && (i + 1 < n || loop.closed))
                appendBulge(ring, loop.vertices[i].point, loop.vertices[(i + 1) % n].point, loop.vertices[i].bulge);
        }
    } else {
        for (const OdDbHatch::Edge& e : loop.edges) {
            switch (e.type) {
            case OdDbHatch::kLine:
                append(ring, e.start);
                append(ring, e.end);
                break;
            case OdDbHatch::kCircArc:
            case OdDbHatch::kEllipArc: appendArc(ring, e); break;
            default: appendSpline(ring, e); break;
            }
        }
    }
    // The ring closes by itself: a last point on the first is dropped.
    if (ring.size() > 1 && ring.back().isEqualTo(ring.front(), OdGeTol(1e-12)))
        ring.pop_back();
    return ring;
}

void requireFinite2d(const OdGePoint2d& p, const char* what) { requireFinite(p, what); }

} // namespace

void OdDbHatch::checkData() const
{
    assertReadEnabled();
    requireFinite(m_data.elevationPoint, "an elevation");
    for (const Loop& loop : m_data.loops) {
        for (const PolylineVertex& v : loop.vertices) {
            requireFinite2d(v.point, "a loop vertex");
            requireFinite(v.bulge, "a bulge");
        }
        for (const Edge& e : loop.edges) {
            if (e.type < kLine || e.type > kSpline)
                throw OdError(eInvalidInput, "edge type (72) " + std::to_string(e.type) + " is not 1, 2, 3 or 4");
            for (const OdGePoint2d& p : {e.start, e.end, e.center})
                requireFinite2d(p, "an edge point");
            requireFinite(e.radius, "an edge radius");
            requireFinite(e.startAngle, "an edge angle");
            requireFinite(e.endAngle, "an edge angle");
            if (e.type == kSpline && !e.controlPoints.empty()
                && !OdGeNurbCurve2d::isValidDefinition(e.degree, OdGeKnotVector(e.knots), e.controlPoints, e.weights))
                throw OdError(eInvalidInput,
                              "a spline edge whose degree, knots, control points and weights do not agree");
        }
    }
    for (const PatternLine& line : m_data.patternLines) {
        requireFinite(line.angle, "a pattern line angle");
        requireFinite2d(line.base, "a pattern line base");
        requireFinite(line.offset.x, "a pattern line offset");
        requireFinite(line.offset.y, "a pattern line offset");
        for (double d : line.dashes)
            requireFinite(d, "a pattern dash");
    }
}

std::vector<std::vector<OdGePoint2d>> OdDbHatch::loopRings() const
{
    assertReadEnabled();
    std::vector<Ring> rings;
    const bool outerOnly = m_data.style == kIgnore
        && std::any_of(m_data.loops.begin(), m_data.loops.end(), [](const Loop& l) { return l.flags & kExternal; });
    for (const Loop& loop : m_data.loops) {
        if (outerOnly && !(loop.flags & kExternal))
            continue;
        Ring ring = ringOf(loop);
        if (ring.size() >= 3)
            rings.push_back(std::move(ring));
    }
    return rings;
}

std::vector<std::vector<OdGePoint3d>> OdDbHatch::worldRings() const
{
    std::vector<std::vector<OdGePoint3d>> out;
    for (const Ring& ring : loopRings()) {
        std::vector<OdGePoint3d>& world = out.emplace_back();
        world.reserve(ring.size());
        for (const OdGePoint2d& p : ring)
            world.push_back(toWorld(m_data.normal, OdGePoint3d(p.x, p.y, m_data.elevationPoint.z)));
    }
    return out;
}

void OdDbHatch::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    const std::vector<Ring> rings = loopRings();
    if (rings.empty())
        return;
    auto toWorld3
        = [&](const OdGePoint2d& p) { return toWorld(m_data.normal, OdGePoint3d(p.x, p.y, m_data.elevationPoint.z)); };
    auto fill = [&] {
        std::vector<std::vector<OdGePoint3d>> world;
        for (const Ring& ring : rings) {
            auto& w = world.emplace_back();
            for (const OdGePoint2d& p : ring)
                w.push_back(toWorld3(p));
        }
        wd.region(world);
    };
    if (m_data.gradient && m_data.gradient->kind != 0) {
        // Drawn in its first colour; a fill has no linetype or lineweight to keep.
        if (!m_data.gradient->colors.empty()) {
            const GradientColor& c = m_data.gradient->colors.front();
            vantrel::DrawTraits traits;
            traits.rgb = c.rgb ? static_cast<std::uint32_t>(*c.rgb) & 0xFFFFFF : OdCmColor::paletteRGB(c.index);
            wd.setTraits(traits);
        }
        fill();
        return;
    }
    if (m_data.solidFill) {
        fill();
        return;
    }
    std::vector<vantrel::hatch::LineFamily> families;
    for (const PatternLine& line : m_data.patternLines) {
        const double a = line.angle * kDegree;
        families.push_back({line.base, OdGeVector2d(std::cos(a), std::sin(a)), line.offset, line.dashes});
    }
    const auto segments = vantrel::hatch::clipPattern(families, rings, kMaxPatternSegments);
    if (!segments) {
        fill();
        return;
    }
    for (const vantrel::hatch::Segment& s : *segments) {
        const vantrel::PathVertex ends[] = {{toWorld3(s.start)}, {toWorld3(s.end)}};
        wd.path(ends, false, m_data.normal);
    }
}

void OdDbMPolygon::subWorldDraw(vantrel::WorldDraw& wd) const
{
    OdDbHatch::subWorldDraw(wd);
    for (const std::vector<OdGePoint3d>& ring : worldRings()) {
        std::vector<vantrel::PathVertex> path;
        path.reserve(ring.size());
        for (const OdGePoint3d& p : ring)
            path.push_back({p});
        wd.path(path, true, normal());
    }
}
