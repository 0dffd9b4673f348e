// Measuring what is drawn: the box of each primitive in world coordinates.
#include <vantrel/db/ExtentsDraw.h>

#include <algorithm>
#include <cmath>

namespace vantrel {

void ExtentsDraw::path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal)
{
    const std::size_t n = vertices.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto& v = vertices[i];
        double w = std::max(v.startWidth, v.endWidth) / 2.0;
        addPoint(v.point, w);
        bool hasNext = i + 1 < n || closed;
        if (hasNext && v.bulge != 0.0) {
            const auto& next = vertices[(i + 1) % n].point;
            arcThrough(v.point, next, v.bulge, normal, w);
        }
        const bool hasPrevious = i > 0 || closed;
        if (hasPrevious && hasNext && n > 2) {
            const auto& previous = vertices[(i + n - 1) % n];
            const double h = std::max(previous.endWidth, v.startWidth) / 2.0;
            if (h > 0.0 && previous.bulge == 0.0 && v.bulge == 0.0)
                addMiter(previous.point, v.point, vertices[(i + 1) % n].point, normal, h);
        }
    }
}

void ExtentsDraw::polygon(std::span<const OdGePoint3d> corners, bool)
{
    for (const auto& p : corners)
        m_ext.addPoint(p);
}

void ExtentsDraw::circularArc(const OdGePoint3d& c, double r, const OdGeVector3d& normal, const OdGeVector3d& start,
                              double sweep)
{
    const bool flat = normal.x == 0.0 && normal.y == 0.0 && start.z == 0.0;
    if (withinReach(m_known, c, std::fabs(r), flat)) {
        passOver();
        return;
    }
    OdGeVector3d u = start.normal();
    OdGeVector3d v = normal.normal().crossProduct(u);
    m_ext.addArc(c, u * r, v * r, 0.0, sweep);
}

void ExtentsDraw::ellipticArc(const OdGePoint3d& c, const OdGeVector3d& major, const OdGeVector3d& minor, double a0,
                              double a1)
{
    if (withinReach(m_known, c, major.length() + minor.length(), major.z == 0.0 && minor.z == 0.0)) {
        passOver();
        return;
    }
    m_ext.addArc(c, major, minor, a0, a1 - a0);
}

void ExtentsDraw::region(std::span<const std::vector<OdGePoint3d>> loops)
{
    for (const auto& loop : loops)
        for (const auto& p : loop)
            m_ext.addPoint(p);
}

void ExtentsDraw::text(const TextRun& run)
{
    const OdGeVector3d along = run.advance * run.width;
    const OdGeVector3d below = run.up * (-fontMetrics(run.face).descent * run.height);
    const OdGeVector3d above = run.up * run.height + run.advance * (run.height * std::tan(run.oblique));
    for (const OdGePoint3d& p : {run.origin + below, run.origin + above})
        for (const OdGePoint3d& q : {p, p + along})
            m_ext.addPoint(q);
}

void ExtentsDraw::marker(const OdGePoint3d& p, MarkerKind, double) { m_ext.addPoint(p); }

void ExtentsDraw::markerPolyline(const OdGePoint3d& p, std::span<const OdGeVector3d> offsets, double size)
{
    m_ext.addPoint(p);
    if (size > 0.0)
        for (const OdGeVector3d& offset : offsets)
            m_ext.addPoint(p + offset * size);
}

void ExtentsDraw::addPoint(const OdGePoint3d& p, double halfWidth)
{
    m_ext.addPoint(p);
    if (halfWidth > 0.0) {
        m_ext.addPoint(p + OdGeVector3d(halfWidth, halfWidth, 0));
        m_ext.addPoint(p - OdGeVector3d(halfWidth, halfWidth, 0));
    }
}

// Where the edges of a wide path meet at a corner between two straight segments: further out
// than half the width, as wide paths are drawn with mitred corners. Corners that turn nearly back
// on themselves are left at half the width rather than reaching far out.
void ExtentsDraw::addMiter(const OdGePoint3d& a, const OdGePoint3d& corner, const OdGePoint3d& b,
                           const OdGeVector3d& normal, double halfWidth)
{
    const OdGeVector3d up = normal.isZeroLength() ? OdGeVector3d::kZAxis : normal.normal();
    const OdGeVector3d in = corner - a;
    const OdGeVector3d out = b - corner;
    if (in.isZeroLength() || out.isZeroLength())
        return;
    const OdGeVector3d n1 = up.crossProduct(in.normal());
    const OdGeVector3d n2 = up.crossProduct(out.normal());
    const double cosine = n1.dotProduct(n2);
    if (1.0 + cosine < 0.02)
        return;
    const OdGeVector3d miter = (n1 + n2) * (halfWidth / (1.0 + cosine));
    m_ext.addPoint(corner + miter);
    m_ext.addPoint(corner - miter);
}

void ExtentsDraw::arcThrough(const OdGePoint3d& a, const OdGePoint3d& b, double bulge, const OdGeVector3d& normal,
                             double w)
{
    OdGeVector3d chord = b - a;
    double half = chord.length() / 2.0;
    if (half == 0.0)
        return;
    // An arc within what is known cannot move it.
    const OdGePoint3d middle = a + chord / 2.0;
    const bool flat = normal.x == 0.0 && normal.y == 0.0 && chord.z == 0.0;
    if (withinReach(m_known, middle, segmentReach(half, bulge) + w, flat)) {
        passOver();
        return;
    }
    OdGeVector3d n = normal.isZeroLength() ? OdGeVector3d::kZAxis : normal.normal();
    double sweep = 4.0 * std::atan(bulge);
    OdGeVector3d left = n.crossProduct(chord).normal();
    OdGePoint3d center = a + chord / 2.0 + left * (half / std::tan(sweep / 2.0));
    OdGeVector3d u = a - center;
    OdGeExtents3d arc;
    arc.addArc(center, u, n.crossProduct(u), 0.0, sweep);
    addPoint(arc.minPoint(), w);
    addPoint(arc.maxPoint(), w);
}

// What is passed over still counts, with a point the known extents hold (so that, taken into
// them, these extents change nothing the passed over primitive would not have changed).
void ExtentsDraw::passOver() { m_ext.addPoint(m_known.minPoint()); }

} // namespace vantrel
