// A planar frame: an origin and two in-plane axes (u, v) spanning the plane. The
// axes are kept as given, so (u, v) parameters match whatever frame built the plane.
#pragma once

#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>

class VANTREL_GE_EXPORT OdGePlanarEnt {
public:
    const OdGePoint3d& pointOnPlane() const { return m_origin; }
    // Unit normal, u x v.
    OdGeVector3d normal() const { return m_uAxis.crossProduct(m_vAxis).normal(); }
    void getCoordSystem(OdGePoint3d& origin, OdGeVector3d& uAxis, OdGeVector3d& vAxis) const
    {
        origin = m_origin;
        uAxis = m_uAxis;
        vAxis = m_vAxis;
    }
    const OdGeVector3d& uAxis() const { return m_uAxis; }
    const OdGeVector3d& vAxis() const { return m_vAxis; }

    OdGePoint3d evalPoint(double u, double v) const { return m_origin + m_uAxis * u + m_vAxis * v; }
    OdGePoint3d evalPoint(const OdGePoint2d& uv) const { return evalPoint(uv.x, uv.y); }
    // (u, v) of the orthogonal projection of pt onto the plane.
    OdGePoint2d paramOf(const OdGePoint3d& pt) const;

    OdGePoint3d closestPointTo(const OdGePoint3d& pt) const
    {
        const OdGeVector3d n = normal();
        return pt - n * n.dotProduct(pt - m_origin);
    }
    bool isOn(const OdGePoint3d& pt, const OdGeTol& tol = OdGeContext::gTol) const
    {
        return std::fabs(normal().dotProduct(pt - m_origin)) <= tol.equalPoint();
    }
    bool isParallelTo(const OdGePlanarEnt& other, const OdGeTol& tol = OdGeContext::gTol) const
    {
        return normal().isParallelTo(other.normal(), tol);
    }
    bool isPerpendicularTo(const OdGePlanarEnt& other, const OdGeTol& tol = OdGeContext::gTol) const
    {
        return normal().isPerpendicularTo(other.normal(), tol);
    }
    bool isCoplanarTo(const OdGePlanarEnt& other, const OdGeTol& tol = OdGeContext::gTol) const
    {
        return isParallelTo(other, tol) && isOn(other.m_origin, tol);
    }

protected:
    OdGePlanarEnt() = default;
    OdGePlanarEnt(const OdGePoint3d& origin, const OdGeVector3d& uAxis, const OdGeVector3d& vAxis)
        : m_origin(origin), m_uAxis(uAxis), m_vAxis(vAxis)
    {
    }

    OdGePoint3d m_origin;
    OdGeVector3d m_uAxis{1.0, 0.0, 0.0};
    OdGeVector3d m_vAxis{0.0, 1.0, 0.0};
};
