// A 3d position. Differences of points are vectors; arithmetic is inline, plane and
// matrix operations live in the library.
#pragma once

#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGeVector3d.h>

class OdGePlane;
class OdGePlanarEnt;

class VANTREL_GE_EXPORT OdGePoint3d {
public:
    double x;
    double y;
    double z;

    constexpr OdGePoint3d() noexcept : x(0.0), y(0.0), z(0.0) {}
    constexpr OdGePoint3d(double xx, double yy, double zz) noexcept : x(xx), y(yy), z(zz) {}

    static const OdGePoint3d kOrigin;

    OdGePoint3d& set(double xx, double yy, double zz)
    {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }

    OdGeVector3d operator-(const OdGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    OdGePoint3d operator+(const OdGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    OdGePoint3d operator-(const OdGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    OdGePoint3d operator*(double s) const { return {x * s, y * s, z * s}; }
    OdGePoint3d operator/(double s) const { return {x / s, y / s, z / s}; }
    OdGePoint3d& operator+=(const OdGeVector3d& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    OdGePoint3d& operator-=(const OdGeVector3d& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    bool operator==(const OdGePoint3d& p) const { return x == p.x && y == p.y && z == p.z; }
    bool operator!=(const OdGePoint3d& p) const { return !(*this == p); }

    double distanceTo(const OdGePoint3d& p) const { return (*this - p).length(); }
    double distanceSqrdTo(const OdGePoint3d& p) const { return (*this - p).lengthSqrd(); }
    bool isEqualTo(const OdGePoint3d& p, const OdGeTol& tol = OdGeContext::gTol) const
    {
        return distanceTo(p) <= tol.equalPoint();
    }

    OdGeVector3d asVector() const { return {x, y, z}; }

    // Coordinates in the plane's own (u, v) system; for a plane built from a normal the
    // axes follow the arbitrary-axis algorithm, so this gives an entity's OCS x, y.
    OdGePoint2d convert2d(const OdGePlanarEnt& plane) const;
    // The point where the line through this point along dir meets the plane; the point
    // itself when dir is parallel to the plane.
    OdGePoint3d project(const OdGePlane& plane, const OdGeVector3d& dir) const;
    OdGePoint3d orthoProject(const OdGePlane& plane) const;

    OdGePoint3d& rotateBy(double ang, const OdGeVector3d& axis, const OdGePoint3d& center = OdGePoint3d())
    {
        OdGeVector3d d = *this - center;
        d.rotateBy(ang, axis);
        return *this = center + d;
    }
    OdGePoint3d& scaleBy(double factor, const OdGePoint3d& center = OdGePoint3d())
    {
        return *this = center + (*this - center) * factor;
    }
    OdGePoint3d& transformBy(const OdGeMatrix3d& m);
};

inline OdGePoint3d operator*(double s, const OdGePoint3d& p) { return p * s; }

inline OdGePoint3d OdGeVector3d::asPoint() const { return {x, y, z}; }
