// A 2d direction/displacement. Arithmetic is inline because it sits in every inner loop.
#pragma once

#include <cmath>
#include <numbers>

#include <vantrel/ge/OdGeContext.h>

class OdGePoint2d;
class OdGeMatrix2d;

class VANTREL_GE_EXPORT OdGeVector2d {
public:
    double x;
    double y;

    constexpr OdGeVector2d() noexcept : x(0.0), y(0.0) {}
    constexpr OdGeVector2d(double xx, double yy) noexcept : x(xx), y(yy) {}

    static const OdGeVector2d kIdentity; // the zero vector
    static const OdGeVector2d kXAxis;
    static const OdGeVector2d kYAxis;

    OdGeVector2d& set(double xx, double yy)
    {
        x = xx;
        y = yy;
        return *this;
    }

    OdGeVector2d operator+(const OdGeVector2d& v) const { return {x + v.x, y + v.y}; }
    OdGeVector2d operator-(const OdGeVector2d& v) const { return {x - v.x, y - v.y}; }
    OdGeVector2d operator-() const { return {-x, -y}; }
    OdGeVector2d operator*(double s) const { return {x * s, y * s}; }
    OdGeVector2d operator/(double s) const { return {x / s, y / s}; }
    OdGeVector2d& operator+=(const OdGeVector2d& v)
    {
        x += v.x;
        y += v.y;
        return *this;
    }
    OdGeVector2d& operator-=(const OdGeVector2d& v)
    {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    OdGeVector2d& operator*=(double s)
    {
        x *= s;
        y *= s;
        return *this;
    }
    OdGeVector2d& operator/=(double s)
    {
        x /= s;
        y /= s;
        return *this;
    }
    bool operator==(const OdGeVector2d& v) const { return x == v.x && y == v.y; }
    bool operator!=(const OdGeVector2d& v) const { return !(*this == v); }

    double lengthSqrd() const { return x * x + y * y; }
    double length() const { return std::hypot(x, y); }
    double dotProduct(const OdGeVector2d& v) const { return x * v.x + y * v.y; }
    // z component of the 3d cross product: positive when v lies counterclockwise.
    double crossProduct(const OdGeVector2d& v) const { return x * v.y - y * v.x; }

    bool isZeroLength(const OdGeTol& tol = OdGeContext::gTol) const { return length() <= tol.equalVector(); }
    bool isUnitLength(const OdGeTol& tol = OdGeContext::gTol) const
    {
        return std::fabs(length() - 1.0) <= tol.equalVector();
    }
    bool isEqualTo(const OdGeVector2d& v, const OdGeTol& tol = OdGeContext::gTol) const
    {
        return (*this - v).length() <= tol.equalVector();
    }

    // Unit vector in this direction; a zero-length vector is returned unchanged.
    OdGeVector2d normal(const OdGeTol& tol = OdGeContext::gTol) const
    {
        const double len = length();
        return len > tol.equalVector() ? OdGeVector2d(x / len, y / len) : *this;
    }
    OdGeVector2d& normalize(const OdGeTol& tol = OdGeContext::gTol) { return *this = normal(tol); }
    OdGeVector2d& negate()
    {
        x = -x;
        y = -y;
        return *this;
    }

    // The vector turned 90 degrees counterclockwise.
    OdGeVector2d perpVector() const { return {-y, x}; }

    // Direction angle from the X axis, in [0, 2*pi).
    double angle() const
    {
        double a = std::atan2(y, x);
        if (a < 0.0)
            a += 2.0 * std::numbers::pi;
        return a >= 2.0 * std::numbers::pi ? 0.0 : a; // -tiny + 2*pi rounds to 2*pi
    }
    // Counterclockwise angle from this vector to v, in [0, 2*pi).
    double angleTo(const OdGeVector2d& v) const
    {
        double a = std::atan2(crossProduct(v), dotProduct(v));
        if (a < 0.0)
            a += 2.0 * std::numbers::pi;
        return a >= 2.0 * std::numbers::pi ? 0.0 : a;
    }

    // Direction tests; a zero-length vector has no direction, so they return false for it.
    bool isParallelTo(const OdGeVector2d& v, const OdGeTol& tol = OdGeContext::gTol) const
    {
        if (isZeroLength(tol) || v.isZeroLength(tol))
            return false;
        return std::fabs(normal().crossProduct(v.normal())) <= tol.equalVector();
    }
    bool isCodirectionalTo(const OdGeVector2d& v, const OdGeTol& tol = OdGeContext::gTol) const
    {
        if (isZeroLength(tol) || v.isZeroLength(tol))
            return false;
        return (normal() - v.normal()).length() <= tol.equalVector();
    }
    bool isPerpendicularTo(const OdGeVector2d& v, const OdGeTol& tol = OdGeContext::gTol) const
    {
        if (isZeroLength(tol) || v.isZeroLength(tol))
            return false;
        return std::fabs(normal().dotProduct(v.normal())) <= tol.equalVector();
    }

    OdGeVector2d& rotateBy(double ang)
    {
        const double c = std::cos(ang), s = std::sin(ang);
        return set(x * c - y * s, x * s + y * c);
    }
    OdGeVector2d& mirror(const OdGeVector2d& line);
    OdGeVector2d& transformBy(const OdGeMatrix2d& m);

    OdGePoint2d asPoint() const;
};

inline OdGeVector2d operator*(double s, const OdGeVector2d& v) { return v * s; }

#include <vantrel/ge/OdGePoint2d.h>
