// Hit testing by outline: a WorldDraw sink flattens what an entity draws into XY segments (arcs
// and ellipses sampled finely enough for picking) and filled areas.
#include "select/EntityHitTest.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include <vantrel/db/OdDbCurve.h>
#include <vantrel/ge/OdGePlane.h>

namespace vantrel {

namespace {

constexpr double kFarAway = std::numeric_limits<double>::max();
constexpr int kSamplesPerTurn = 96;

OdGePoint2d flat(const OdGePoint3d& p) { return {p.x, p.y}; }

int samplesFor(double sweep)
{
    return std::max(4, static_cast<int>(std::ceil(std::fabs(sweep) / (2.0 * std::numbers::pi) * kSamplesPerTurn)));
}

class Flattener : public WorldDraw {
public:
    Flattener(std::vector<EntityHitTest::Segment>& segments, std::vector<EntityHitTest::Polygon>& filled)
        : m_segments(segments), m_filled(filled)
    {
    }

    void setTraits(const DrawTraits&) override {}

    void path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal) override
    {
        std::size_t n = vertices.size();
        if (n == 1)
            point(vertices[0].point);
        std::size_t spans = closed ? n : (n > 0 ? n - 1 : 0);
        for (std::size_t i = 0; i < spans; ++i) {
            const PathVertex& v = vertices[i];
            const OdGePoint3d& next = vertices[(i + 1) % n].point;
            if (v.bulge == 0.0)
                line(v.point, next);
            else
                bulgedSpan(v.point, next, v.bulge, normal);
        }
    }

    void polygon(std::span<const OdGePoint3d> corners, bool filled) override
    {
        EntityHitTest::Polygon outline;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            line(corners[i], corners[(i + 1) % corners.size()]);
            outline.push_back(flat(corners[i]));
        }
        if (filled && outline.size() >= 3)
            m_filled.push_back(std::move(outline));
    }

    void circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                     const OdGeVector3d& startVector, double sweepAngle) override
    {
        OdGeVector3d u = startVector.normal() * radius;
        OdGeVector3d v = normal.normal().crossProduct(u);
        sampled(
            sweepAngle, [&](double t) { return center + u * std::cos(t) + v * std::sin(t); }, 0.0);
    }

    void ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                     double startAngle, double endAngle) override
    {
        double sweep = endAngle - startAngle;
        if (sweep <= 0.0)
            sweep += 2.0 * std::numbers::pi;
        sampled(
            sweep, [&](double t) { return center + majorAxis * std::cos(t) + minorAxis * std::sin(t); }, startAngle);
    }

    // Picking treats a loop inside another as covered too: a hatch is picked in its islands.
    void region(std::span<const std::vector<OdGePoint3d>> loops) override
    {
        for (const auto& loop : loops)
            polygon(loop, true);
    }

    void text(const TextRun& run) override
    {
        const OdGeVector3d along = run.advance * run.width;
        const OdGeVector3d up = run.up * run.height;
        const OdGePoint3d corners[] = {run.origin, run.origin + along, run.origin + along + up, run.origin + up};
        polygon(corners, true);
    }

    void marker(const OdGePoint3d& position, MarkerKind, double) override { point(position); }
    void markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size) override
    {
        if (!(size > 0.0)) {
            point(position); // its size is only known on screen
            return;
        }
        for (std::size_t i = 1; i < offsets.size(); ++i)
            line(position + offsets[i - 1] * size, position + offsets[i] * size);
    }

private:
    void line(const OdGePoint3d& a, const OdGePoint3d& b) { m_segments.push_back({flat(a), flat(b)}); }
    void point(const OdGePoint3d& p) { line(p, p); }

    template <class At>
    void sampled(double sweep, At at, double start)
    {
        int n = samplesFor(sweep);
        OdGePoint3d prev = at(start);
        for (int i = 1; i <= n; ++i) {
            OdGePoint3d p = at(start + sweep * i / n);
            line(prev, p);
            prev = p;
        }
    }

    // The arc from a to b whose bulge is tan(sweep / 4), counter-clockwise about the normal.
    void bulgedSpan(const OdGePoint3d& a, const OdGePoint3d& b, double bulge, const OdGeVector3d& normal)
    {
        OdGeVector3d chord = b - a;
        double length = chord.length();
        if (length == 0.0) {
            point(a);
            return;
        }
        OdGeVector3d n = normal.normal();
        OdGeVector3d left = n.crossProduct(chord).normal();
        OdGePoint3d center = a + chord * 0.5 + left * (length * 0.5 * (1.0 - bulge * bulge) / (2.0 * bulge));
        OdGeVector3d u = a - center;
        OdGeVector3d v = n.crossProduct(u);
        sampled(
            4.0 * std::atan(bulge), [&](double t) { return center + u * std::cos(t) + v * std::sin(t); }, 0.0);
    }

    std::vector<EntityHitTest::Segment>& m_segments;
    std::vector<EntityHitTest::Polygon>& m_filled;
};

double distanceToSegment(const OdGePoint2d& p, const EntityHitTest::Segment& s)
{
    double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? std::clamp(((p.x - s.a.x) * dx + (p.y - s.a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - (s.a.x + t * dx), p.y - (s.a.y + t * dy));
}

bool insidePolygon(const OdGePoint2d& p, const EntityHitTest::Polygon& poly)
{
    bool inside = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const OdGePoint2d& a = poly[i];
        const OdGePoint2d& b = poly[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

// Liang-Barsky: does any part of the segment lie in the window?
bool segmentMeetsWindow(const EntityHitTest::Segment& s, const EntityHitTest::Window& w)
{
    double t0 = 0.0, t1 = 1.0;
    double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {s.a.x - w.xmin, w.xmax - s.a.x, s.a.y - w.ymin, w.ymax - s.a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        double r = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return false;
    }
    return true;
}

} // namespace

EntityHitTest::Window::Window(const OdGePoint2d& a, const OdGePoint2d& b)
    : xmin(std::min(a.x, b.x)), ymin(std::min(a.y, b.y)), xmax(std::max(a.x, b.x)), ymax(std::max(a.y, b.y))
{
}

bool EntityHitTest::Window::contains(const OdGePoint2d& p) const
{
    return p.x >= xmin && p.x <= xmax && p.y >= ymin && p.y <= ymax;
}

EntityHitTest::EntityHitTest(const OdDbEntity& entity) : m_entity(entity)
{
    Flattener flattener(m_segments, m_filled);
    entity.subWorldDraw(flattener);
}

double EntityHitTest::distanceTo(const OdGePoint2d& point) const
{
    for (const Polygon& poly : m_filled)
        if (insidePolygon(point, poly))
            return 0.0;
    // A curve in a plane seen square on answers exactly; any other (a 3D polyline, a tilted
    // arc) is measured as it is seen, by its outline: its nearest point in space is not the one
    // nearest in the view.
    OdGePlane plane;
    if (OdDbCurvePtr curve = OdDbCurve::cast(&m_entity);
        curve && curve->getPlane(plane) == eOk && plane.normal().isParallelTo(OdGeVector3d::kZAxis)) {
        OdGePoint3d closest;
        if (curve->getClosestPointTo(OdGePoint3d(point.x, point.y, plane.pointOnPlane().z), closest) == eOk)
            return std::hypot(closest.x - point.x, closest.y - point.y);
    }
    double best = kFarAway;
    for (const Segment& s : m_segments)
        best = std::min(best, distanceToSegment(point, s));
    return best;
}

bool EntityHitTest::insideWindow(const Window& window) const
{
    if (m_segments.empty())
        return false;
    return std::all_of(m_segments.begin(), m_segments.end(),
                       [&](const Segment& s) { return window.contains(s.a) && window.contains(s.b); });
}

bool EntityHitTest::crossesWindow(const Window& window) const
{
    for (const Segment& s : m_segments)
        if (segmentMeetsWindow(s, window))
            return true;
    // A filled area that covers the whole window.
    OdGePoint2d corner(window.xmin, window.ymin);
    return std::any_of(m_filled.begin(), m_filled.end(), [&](const Polygon& p) { return insidePolygon(corner, p); });
}

} // namespace vantrel
