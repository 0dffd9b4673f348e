// Axis-aligned 3d bounding box, grown point by point or by whole arcs. A default-constructed box is empty (invalid) until a
// point is added.
#pragma once

#include <algorithm>
#include <limits>

#include <vantrel/ge/OdGePoint3d.h>

class OdGeMatrix3d;

class VANTREL_GE_EXPORT OdGeExtents3d {
public:
    OdGeExtents3d() = default;
    OdGeExtents3d(const OdGePoint3d& p1, const OdGePoint3d& p2) { set(p1, p2); }

    const OdGePoint3d& minPoint() const { return m_min; }
    const OdGePoint3d& maxPoint() const { return m_max; }
    OdGePoint3d center() const { return m_min + (m_max - m_min) * 0.5; }

    bool isValidExtents() const { return m_min.x <= m_max.x && m_min.y <= m_max.y && m_min.z <= m_max.z; }

    // Any two opposite corners.
    OdGeExtents3d& set(const OdGePoint3d& p1, const OdGePoint3d& p2)
    {
        m_min.set(std::min(p1.x, p2.x), std::min(p1.y, p2.y), std::min(p1.z, p2.z));
        m_max.set(std::max(p1.x, p2.x), std::max(p1.y, p2.y), std::max(p1.z, p2.z));
        return *this;
    }
    OdGeExtents3d& addPoint(const OdGePoint3d& p)
    {
        m_min.set(std::min(m_min.x, p.x), std::min(m_min.y, p.y), std::min(m_min.z, p.z));
        m_max.set(std::max(m_max.x, p.x), std::max(m_max.y, p.y), std::max(m_max.z, p.z));
        return *this;
    }
    OdGeExtents3d& addExt(const OdGeExtents3d& e)
    {
        if (e.isValidExtents()) {
            addPoint(e.m_min);
            addPoint(e.m_max);
        }
        return *this;
    }
    OdGeExtents3d& expandBy(const OdGeVector3d& v)
    {
        if (isValidExtents()) {
            addPoint(m_min + v);
            addPoint(m_max + v);
        }
        return *this;
    }
    bool contains(const OdGePoint3d& p, const OdGeTol& tol = OdGeContext::gTol) const
    {
        const double t = tol.equalPoint();
        return p.x >= m_min.x - t && p.x <= m_max.x + t && p.y >= m_min.y - t && p.y <= m_max.y + t
            && p.z >= m_min.z - t && p.z <= m_max.z + t;
    }
    bool isDisjoint(const OdGeExtents3d& e, const OdGeTol& tol = OdGeContext::gTol) const
    {
        const double t = tol.equalPoint();
        return !isValidExtents() || !e.isValidExtents() || e.m_min.x > m_max.x + t || e.m_max.x < m_min.x - t
            || e.m_min.y > m_max.y + t || e.m_max.y < m_min.y - t || e.m_min.z > m_max.z + t || e.m_max.z < m_min.z - t;
    }
    // The box around the eight transformed corners.
    OdGeExtents3d& transformBy(const OdGeMatrix3d& m);
    // Grows the box by the arc center + u cos t + v sin t for t from start to start + sweep
    // (either sign; a full turn or more is the whole curve): its end points and the points where
    // it turns in x, y or z. Circular and elliptical arcs alike.
    OdGeExtents3d& addArc(const OdGePoint3d& center, const OdGeVector3d& u, const OdGeVector3d& v, double start,
                          double sweep);

private:
    static constexpr double kBig = std::numeric_limits<double>::max();
    OdGePoint3d m_min{kBig, kBig, kBig};
    OdGePoint3d m_max{-kBig, -kBig, -kBig};
};
