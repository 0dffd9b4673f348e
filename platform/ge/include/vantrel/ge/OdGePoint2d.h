// A 2d position. Differences of points are vectors; arithmetic is inline.
#pragma once

#include <vantrel/ge/OdGeVector2d.h>

class VANTREL_GE_EXPORT OdGePoint2d {
public:
    double x;
    double y;

    constexpr OdGePoint2d() noexcept : x(0.0), y(0.0) {}
    constexpr OdGePoint2d(double xx, double yy) noexcept : x(xx), y(yy) {}

    static const OdGePoint2d kOrigin;

    OdGePoint2d& set(double xx, double yy)
    {
        x = xx;
        y = yy;
        return *this;
    }

    OdGeVector2d operator-(const OdGePoint2d& p) const { return {x - p.x, y - p.y}; }
    OdGePoint2d operator+(const OdGeVector2d& v) const { return {x + v.x, y + v.y}; }
    OdGePoint2d operator-(const OdGeVector2d& v) const { return {x - v.x, y - v.y}; }
    OdGePoint2d operator*(double s) const { return {x * s, y * s}; }
    OdGePoint2d operator/(double s) const { return {x / s, y / s}; }
    OdGePoint2d& operator+=(const OdGeVector2d& v)
    {
        x += v.x;
        y += v.y;
        return *this;
    }
    OdGePoint2d& operator-=(const OdGeVector2d& v)
    {
        x -= v.x;
        y -= v.y;
        return *this;
    }
    bool operator==(const OdGePoint2d& p) const { return x == p.x && y == p.y; }
    bool operator!=(const OdGePoint2d& p) const { return !(*this == p); }

    double distanceTo(const OdGePoint2d& p) const { return std::hypot(x - p.x, y - p.y); }
    double distanceSqrdTo(const OdGePoint2d& p) const { return (*this - p).lengthSqrd(); }
    bool isEqualTo(const OdGePoint2d& p, const OdGeTol& tol = OdGeContext::gTol) const
    {
        return distanceTo(p) <= tol.equalPoint();
    }

    OdGeVector2d asVector() const { return {x, y}; }

    OdGePoint2d& rotateBy(double ang, const OdGePoint2d& center = OdGePoint2d())
    {
        OdGeVector2d d = *this - center;
        d.rotateBy(ang);
        return *this = center + d;
    }
    OdGePoint2d& scaleBy(double factor, const OdGePoint2d& center = OdGePoint2d())
    {
        return *this = center + (*this - center) * factor;
    }
    OdGePoint2d& transformBy(const OdGeMatrix2d& m);
};

inline OdGePoint2d operator*(double s, const OdGePoint2d& p) { return p * s; }

inline OdGePoint2d OdGeVector2d::asPoint() const { return {x, y}; }
