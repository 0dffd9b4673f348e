// A 3d direction/displacement. Arithmetic is inline; matrix transforms live in the library.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>

#include <vantrel/ge/OdGeContext.h>

class OdGePoint3d;
class OdGeMatrix3d;

class VANTREL_GE_EXPORT OdGeVector3d {
public:
    double x;
    double y;
    double z;

    constexpr OdGeVector3d() noexcept : x(0.0), y(0.0), z(0.0) {}
    constexpr OdGeVector3d(double xx, double yy, double zz) noexcept : x(xx), y(yy), z(zz) {}

    static const OdGeVector3d kIdentity; // the zero vector
    static const OdGeVector3d kXAxis;
    static const OdGeVector3d kYAxis;
    static const OdGeVector3d kZAxis;

    OdGeVector3d& set(double xx, double yy, double zz)
    {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }

    OdGeVector3d operator+(const OdGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    OdGeVector3d operator-(const OdGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    OdGeVector3d operator-() const { return {-x, -y, -z}; }
    OdGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
    OdGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
    OdGeVector3d& operator+=(const OdGeVector3d& v)
    {
        x += v.x;
        y += v.y;
        z += v.z;
        return *this;
    }
    OdGeVector3d& operator-=(const OdGeVector3d& v)
    {
        x -= v.x;
        y -= v.y;
        z -= v.z;
        return *this;
    }
    OdGeVector3d& operator*=(double s)
    {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    OdGeVector3d& operator/=(double s)
    {
        x /= s;
        y /= s;
        z /= s;
        return *this;
    }
    bool operator==(const OdGeVector3d& v) const { return x == v.x && y == v.y && z == v.z; }
    bool operator!=(const OdGeVector3d& v) const { return !(*this == v); }

    double lengthSqrd() const { return x * x + y * y + z * z; }
    double length() const { return std::sqrt(lengthSqrd()); }
    double dotProduct(const OdGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    OdGeVector3d crossProduct(const OdGeVector3d& v) const
    {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }

    bool isZeroLength(const OdGeTol& tol = OdGeContext::gTol) const { return length() <= tol.equalVector(); }
    bool isUnitLength(const OdGeTol& tol = OdGeContext::gTol) const
    {
        return std::fabs(length() - 1.0) <= tol.equalVector();
    }
    bool isEqualTo(const OdGeVector3d& v, const OdGeTol& tol = OdGeContext::gTol) const
    {
        return (*this - v).length() <= tol.equalVector();
    }

    // Unit vector in this direction; a zero-length vector is returned unchanged.
    OdGeVector3d normal(const OdGeTol& tol = OdGeContext::gTol) const
    {
        const double len = length();
        return len > tol.equalVector() ? OdGeVector3d(x / len, y / len, z / len) : *this;
    }
    OdGeVector3d& normalize(const OdGeTol& tol = OdGeContext::gTol) { return *this = normal(tol); }
    OdGeVector3d& negate()
    {
        x = -x;
        y = -y;
        z = -z;
        return *this;
    }

    // Angle between the two directions, in [0, pi].
    double angleTo(const OdGeVector3d& v) const { return std::atan2(crossProduct(v).length(), dotProduct(v)); }
    // Angle from this vector to v measured counterclockwise about refVector, in [0, 2*pi).
    double angleTo(const OdGeVector3d& v, const OdGeVector3d& refVector) const
    {
        const OdGeVector3d c = crossProduct(v);
        double a = std::atan2(c.length(), dotProduct(v));
        if (c.dotProduct(refVector) < 0.0)
            a = 2.0 * std::numbers::pi - a;
        return a >= 2.0 * std::numbers::pi ? 0.0 : a;
    }

    // Direction tests; a zero-length vector has no direction, so they return false for it.
    bool isParallelTo(const OdGeVector3d& v, const OdGeTol& tol = OdGeContext::gTol) const
    {
        if (isZeroLength(tol) || v.isZeroLength(tol))
            return false;
        return normal().crossProduct(v.normal()).length() <= tol.equalVector();
    }
    bool isCodirectionalTo(const OdGeVector3d& v, const OdGeTol& tol = OdGeContext::gTol) const
    {
        if (isZeroLength(tol) || v.isZeroLength(tol))
            return false;
        return (normal() - v.normal()).length() <= tol.equalVector();
    }
    bool isPerpendicularTo(const OdGeVector3d& v, const OdGeTol& tol = OdGeContext::gTol) const
    {
        if (isZeroLength(tol) || v.isZeroLength(tol))
            return false;
        return std::fabs(normal().dotProduct(v.normal())) <= tol.equalVector();
    }

    // Unit vector perpendicular to this one: the X axis that the DXF arbitrary-axis
    // algorithm derives from this vector taken as an extrusion direction.
    OdGeVector3d perpVector() const
    {
        const double limit = 1.0 / 64.0;
        const OdGeVector3d n = normal();
        const OdGeVector3d ax = (std::fabs(n.x) < limit && std::fabs(n.y) < limit)
            ? OdGeVector3d(0.0, 1.0, 0.0).crossProduct(n)
            : OdGeVector3d(0.0, 0.0, 1.0).crossProduct(n);
        return ax.normal();
    }

    // The component of this vector perpendicular to planeNormal.
    OdGeVector3d orthoProject(const OdGeVector3d& planeNormal) const
    {
        const OdGeVector3d n = planeNormal.normal();
        return *this - n * dotProduct(n);
    }

    // Rodrigues rotation about axis (any length) by ang radians, counterclockwise
    // when looking down the axis towards its origin.
    OdGeVector3d& rotateBy(double ang, const OdGeVector3d& axis)
    {
        const OdGeVector3d k = axis.normal();
        const double c = std::cos(ang), s = std::sin(ang);
        return *this = *this * c + k.crossProduct(*this) * s + k * (k.dotProduct(*this) * (1.0 - c));
    }
    // Applies the linear part of m (translation does not move a vector).
    OdGeVector3d& transformBy(const OdGeMatrix3d& m);

    OdGePoint3d asPoint() const;
};

inline OdGeVector3d operator*(double s, const OdGeVector3d& v) { return v * s; }

#include <vantrel/ge/OdGePoint3d.h>
