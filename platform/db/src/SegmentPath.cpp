// World-space segments of a polyline and the exact curve queries over them.
#include "SegmentPath.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

#include "entity_math.h"

namespace vantrel {

namespace {
OdGePoint3d lift(const OdGePoint2d& p, const OdGeVector3d& normal, double elevation)
{
    return entmath::toWorld(normal, OdGePoint3d(p.x, p.y, elevation));
}
} // namespace

SegmentPath SegmentPath::fromBulges(std::span<const OdGePoint2d> points, std::span<const double> bulges, bool closed,
                                    const OdGeVector3d& normal, double elevation)
{
    assert(points.size() == bulges.size());
    SegmentPath path;
    path.m_vertexCount = points.size();
    path.m_closed = closed;
    if (!points.empty())
        path.m_single = lift(points[0], normal, elevation);
    const OdGeVector3d n = normal.normal();
    const std::size_t count = points.size() < 2 ? 0 : (closed ? points.size() : points.size() - 1);
    for (std::size_t i = 0; i < count; ++i) {
        const OdGePoint2d& a = points[i];
        const OdGePoint2d& b = points[(i + 1) % points.size()];
        const OdGePoint3d wa = lift(a, normal, elevation), wb = lift(b, normal, elevation);
        const double bulge = bulges[i];
        const OdGeVector2d chord = b - a;
        const double chordLen = chord.length();
        // An arc that bends less than this is measured as its chord: the centre of so flat an
        // arc lies so far away that rounding would swamp every point computed from it.
        constexpr double kFlattestBulge = 1e-9;
        if (std::fabs(bulge) < kFlattestBulge || chordLen == 0.0) {
            path.addLine(wa, wb);
            continue;
        }
        // Sweep 4*atan(bulge); the center lies on the chord's bisector, to its left for a
        // counter-clockwise arc of less than half a turn.
        const double theta = 4.0 * std::atan(bulge);
        const OdGeVector2d left = chord.perpVector() / chordLen;
        const OdGePoint2d mid = a + chord * 0.5;
        const OdGePoint2d c2 = mid + left * (0.5 * chordLen / std::tan(0.5 * theta));
        Segment s;
        s.start = wa;
        s.end = wb;
        s.isArc = true;
        s.center = lift(c2, normal, elevation);
        s.axis = theta > 0.0 ? n : -n;
        s.radius = 0.5 * chordLen / std::sin(0.5 * std::fabs(theta));
        s.startDir = (wa - s.center).normal();
        s.sweep = std::fabs(theta);
        s.length = s.radius * s.sweep;
        path.m_segments.push_back(s);
    }
    path.finish();
    return path;
}

SegmentPath SegmentPath::fromPoints(std::span<const OdGePoint3d> points, bool closed)
{
    SegmentPath path;
    path.m_vertexCount = points.size();
    path.m_closed = closed;
    if (!points.empty())
        path.m_single = points[0];
    const std::size_t count = points.size() < 2 ? 0 : (closed ? points.size() : points.size() - 1);
    for (std::size_t i = 0; i < count; ++i)
        path.addLine(points[i], points[(i + 1) % points.size()]);
    path.finish();
    return path;
}

void SegmentPath::addLine(const OdGePoint3d& a, const OdGePoint3d& b)
{
    Segment s;
    s.start = a;
    s.end = b;
    s.length = a.distanceTo(b);
    m_segments.push_back(s);
}

void SegmentPath::finish()
{
    double total = 0.0;
    double extent = m_single.asVector().length();
    for (const Segment& s : m_segments) {
        total += s.length;
        m_cumulative.push_back(total);
        extent = std::max({extent, s.start.asVector().length(), s.end.asVector().length()});
    }
    m_size = extent + total;
}

std::size_t SegmentPath::locate(double param, double& t) const
{
    assert(!m_segments.empty());
    const double clamped = std::clamp(param, 0.0, endParam());
    std::size_t i = std::min(static_cast<std::size_t>(std::floor(clamped)), m_segments.size() - 1);
    t = clamped - static_cast<double>(i);
    return i;
}

namespace {
OdGePoint3d arcPoint(const SegmentPath::Segment& s, double angle)
{
    const OdGeVector3d v = s.axis.crossProduct(s.startDir);
    return s.center + (s.startDir * std::cos(angle) + v * std::sin(angle)) * s.radius;
}
} // namespace

OdGePoint3d SegmentPath::pointAt(double param) const
{
    if (m_segments.empty())
        return m_single;
    double t;
    const Segment& s = m_segments[locate(param, t)];
    if (!s.isArc)
        return s.start + (s.end - s.start) * t;
    if (t >= 1.0)
        return s.end; // exact vertex, free of rounding
    return arcPoint(s, t * s.sweep);
}

OdGeVector3d SegmentPath::firstDeriv(double param) const
{
    if (m_segments.empty())
        return OdGeVector3d();
    double t;
    const Segment& s = m_segments[locate(param, t)];
    if (!s.isArc)
        return s.end - s.start;
    const double a = t * s.sweep;
    const OdGeVector3d v = s.axis.crossProduct(s.startDir);
    return (s.startDir * -std::sin(a) + v * std::cos(a)) * (s.radius * s.sweep);
}

OdGeVector3d SegmentPath::secondDeriv(double param) const
{
    if (m_segments.empty())
        return OdGeVector3d();
    double t;
    const Segment& s = m_segments[locate(param, t)];
    if (!s.isArc)
        return OdGeVector3d();
    const double a = t * s.sweep;
    const OdGeVector3d v = s.axis.crossProduct(s.startDir);
    return (s.startDir * -std::cos(a) - v * std::sin(a)) * (s.radius * s.sweep * s.sweep);
}

double SegmentPath::distAt(double param) const
{
    if (m_segments.empty())
        return 0.0;
    double t;
    const std::size_t i = locate(param, t);
    const double before = i == 0 ? 0.0 : m_cumulative[i - 1];
    return before + t * m_segments[i].length;
}

double SegmentPath::paramAtDist(double dist) const
{
    if (m_segments.empty())
        return 0.0;
    const auto it = std::lower_bound(m_cumulative.begin(), m_cumulative.end(), dist);
    std::size_t i = std::min(static_cast<std::size_t>(it - m_cumulative.begin()), m_segments.size() - 1);
    // The first segment that reaches the distance: a distance at a vertex ends the segment before it.
    const double before = i == 0 ? 0.0 : m_cumulative[i - 1];
    const double len = m_segments[i].length;
    const double t = len > 0.0 ? std::clamp((dist - before) / len, 0.0, 1.0) : 0.0;
    return static_cast<double>(i) + t;
}

OdGePoint3d SegmentPath::closestPoint(const OdGePoint3d& given, bool extend, double& param) const
{
    if (m_segments.empty()) {
        param = 0.0;
        return m_single;
    }
    double best = std::numeric_limits<double>::infinity();
    OdGePoint3d bestPoint;
    const std::size_t last = m_segments.size() - 1;
    for (std::size_t i = 0; i < m_segments.size(); ++i) {
        const Segment& s = m_segments[i];
        double t = 0.0;
        OdGePoint3d p;
        if (!s.isArc) {
            const OdGeVector3d d = s.end - s.start;
            const double len2 = d.lengthSqrd();
            t = len2 > 0.0 ? d.dotProduct(given - s.start) / len2 : 0.0;
            const bool free0 = extend && !m_closed && i == 0;
            const bool free1 = extend && !m_closed && i == last;
            if (!free0)
                t = std::max(t, 0.0);
            if (!free1)
                t = std::min(t, 1.0);
            p = s.start + d * t;
        } else {
            const OdGeVector3d v = s.axis.crossProduct(s.startDir);
            const OdGeVector3d r = given - s.center;
            const double x = r.dotProduct(s.startDir), y = r.dotProduct(v);
            double a = std::atan2(y, x);
            if (a < 0.0)
                a += entmath::kTwoPi;
            if (std::hypot(x, y) > 0.0 && a <= s.sweep) {
                t = a / s.sweep;
                p = arcPoint(s, a);
            } else {
                const bool toEnd = given.distanceTo(s.end) < given.distanceTo(s.start);
                t = toEnd ? 1.0 : 0.0;
                p = toEnd ? s.end : s.start;
            }
        }
        const double d = p.distanceTo(given);
        if (d < best) {
            best = d;
            bestPoint = p;
            param = static_cast<double>(i) + t;
        }
    }
    return bestPoint;
}

} // namespace vantrel
