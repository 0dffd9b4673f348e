// Axis-aligned 2d bounding box. A default-constructed box is empty (invalid) until a
// point is added.
#pragma once

#include <algorithm>
#include <limits>

#include <vantrel/ge/OdGePoint2d.h>

class VANTREL_GE_EXPORT OdGeExtents2d {
public:
    OdGeExtents2d() = default;
    OdGeExtents2d(const OdGePoint2d& p1, const OdGePoint2d& p2) { set(p1, p2); }

    const OdGePoint2d& minPoint() const { return m_min; }
    const OdGePoint2d& maxPoint() const { return m_max; }
    OdGePoint2d center() const { return m_min + (m_max - m_min) * 0.5; }

    bool isValidExtents() const { return m_min.x <= m_max.x && m_min.y <= m_max.y; }

    OdGeExtents2d& set(const OdGePoint2d& p1, const OdGePoint2d& p2)
    {
        m_min.set(std::min(p1.x, p2.x), std::min(p1.y, p2.y));
        m_max.set(std::max(p1.x, p2.x), std::max(p1.y, p2.y));
        return *this;
    }
    OdGeExtents2d& addPoint(const OdGePoint2d& p)
    {
        m_min.set(std::min(m_min.x, p.x), std::min(m_min.y, p.y));
        m_max.set(std::max(m_max.x, p.x), std::max(m_max.y, p.y));
        return *this;
    }
    OdGeExtents2d& addExt(const OdGeExtents2d& e)
    {
        if (e.isValidExtents()) {
            addPoint(e.m_min);
            addPoint(e.m_max);
        }
        return *this;
    }
    bool contains(const OdGePoint2d& p, const OdGeTol& tol = OdGeContext::gTol) const
    {
        const double t = tol.equalPoint();
        return p.x >= m_min.x - t && p.x <= m_max.x + t && p.y >= m_min.y - t && p.y <= m_max.y + t;
    }
    bool isDisjoint(const OdGeExtents2d& e, const OdGeTol& tol = OdGeContext::gTol) const
    {
        const double t = tol.equalPoint();
        return !isValidExtents() || !e.isValidExtents() || e.m_min.x > m_max.x + t || e.m_max.x < m_min.x - t
            || e.m_min.y > m_max.y + t || e.m_max.y < m_min.y - t;
    }

private:
    static constexpr double kBig = std::numeric_limits<double>::max();
    OdGePoint2d m_min{kBig, kBig};
    OdGePoint2d m_max{-kBig, -kBig};
};
