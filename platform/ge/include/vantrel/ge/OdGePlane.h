// An unbounded plane. Built from a normal, its (u, v) axes follow the DXF
// arbitrary-axis algorithm, so a plane through the origin is an entity's OCS.
#pragma once

#include <vantrel/ge/OdGePlanarEnt.h>

class OdGeLinearEnt3d;
class OdGeLine3d;
class OdGeMatrix3d;

class VANTREL_GE_EXPORT OdGePlane : public OdGePlanarEnt {
public:
    OdGePlane() = default; // the world XY plane
    OdGePlane(const OdGePoint3d& origin, const OdGeVector3d& normal) { set(origin, normal); }
    OdGePlane(const OdGePoint3d& origin, const OdGeVector3d& uAxis, const OdGeVector3d& vAxis)
    {
        set(origin, uAxis, vAxis);
    }

    static const OdGePlane kXYPlane;
    static const OdGePlane kYZPlane;
    static const OdGePlane kZXPlane;

    OdGePlane& set(const OdGePoint3d& origin, const OdGeVector3d& normal);
    OdGePlane& set(const OdGePoint3d& origin, const OdGeVector3d& uAxis, const OdGeVector3d& vAxis);

    // Positive on the side the normal points to.
    double signedDistanceTo(const OdGePoint3d& pt) const { return normal().dotProduct(pt - m_origin); }
    double distanceTo(const OdGePoint3d& pt) const { return std::fabs(signedDistanceTo(pt)); }

    // False when the line is parallel to the plane (also when it lies in it) or, for a
    // bounded line, when the crossing is outside it.
    bool intersectWith(const OdGeLinearEnt3d& line, OdGePoint3d& point, const OdGeTol& tol = OdGeContext::gTol) const;
    // False for parallel planes.
    bool intersectWith(const OdGePlane& plane, OdGeLine3d& line, const OdGeTol& tol = OdGeContext::gTol) const;

    OdGePlane& transformBy(const OdGeMatrix3d& m);
};
