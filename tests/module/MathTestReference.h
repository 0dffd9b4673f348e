// An independent reference for ellipse–circle intersections: the ellipse is walked along its
// parameter in long double, and the points where it meets the circle are bracketed and bisected.
// It shares no code or method with the module's algebraic solver.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include <vantrel/ge/OdGeCircArc3d.h>
#include <vantrel/ge/OdGeEllipArc3d.h>

namespace mathref {

using Real = long double;

struct Vec {
    Real x = 0, y = 0, z = 0;
    Vec operator+(const Vec& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec operator-(const Vec& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec operator*(Real s) const { return {x * s, y * s, z * s}; }
    Real dot(const Vec& o) const { return x * o.x + y * o.y + z * o.z; }
    Vec cross(const Vec& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    Real length() const { return std::sqrt(dot(*this)); }
    Vec unit() const { return *this * (1 / length()); }
};

inline Vec vec(const OdGePoint3d& p) { return {p.x, p.y, p.z}; }
inline Vec vec(const OdGeVector3d& v) { return {v.x, v.y, v.z}; }

struct Ellipse {
    Vec centre, u, v;
    Real a, b;
    explicit Ellipse(const OdGeEllipArc3d& e)
        : centre(vec(e.center())), u(vec(e.majorAxis()).unit()), a(e.majorRadius()), b(e.minorRadius())
    {
        const Vec n = u.cross(vec(e.minorAxis())).unit();
        v = n.cross(u);
    }
    Vec normal() const { return u.cross(v); }
    Vec at(Real t) const { return centre + u * (a * std::cos(t)) + v * (b * std::sin(t)); }
    Vec tangentAt(Real t) const { return u * (-a * std::sin(t)) + v * (b * std::cos(t)); }
    // Distance of a point near the ellipse from it (first order off the curve, exact off the plane).
    Real distance(const Vec& p) const
    {
        const Vec w = p - centre;
        const Real x = w.dot(u), y = w.dot(v), z = w.dot(normal());
        const Real e = x * x / (a * a) + y * y / (b * b) - 1;
        const Real g = 2 * std::sqrt(x * x / (a * a * a * a) + y * y / (b * b * b * b));
        const Real inPlane = e / g;
        return std::sqrt(inPlane * inPlane + z * z);
    }
};

struct Circle {
    Vec centre, normal;
    Real r;
    explicit Circle(const OdGeCircArc3d& c) : centre(vec(c.center())), normal(vec(c.normal()).unit()), r(c.radius()) {}
    Real distance(const Vec& p) const
    {
        const Vec w = p - centre;
        const Real h = w.dot(normal);
        const Real inPlane = (w - normal * h).length() - r;
        return std::sqrt(inPlane * inPlane + h * h);
    }
};

struct Point {
    Vec at;
    bool touching;     // a double root: the curves touch there
    Real crossingSine; // sine of the angle between the curves (coplanar case)
};

// The largest extent of the two curves together, the yardstick of every tolerance.
inline Real drawingSize(const Ellipse& e, const Circle& c)
{
    return std::max({2 * e.a, 2 * c.r, (e.centre - c.centre).length() + e.a + c.r});
}

namespace detail {

template <class F>
Real bisect(F f, Real lo, Real hi)
{
    Real flo = f(lo);
    for (int i = 0; i < 200 && hi - lo > 0; ++i) {
        const Real mid = (lo + hi) / 2;
        if (mid <= lo || mid >= hi)
            break;
        const Real fm = f(mid);
        if ((fm < 0) == (flo < 0)) {
            lo = mid;
            flo = fm;
        } else {
            hi = mid;
        }
    }
    return (lo + hi) / 2;
}

// The roots of f on [0, 2π): sign changes between samples and between the extrema of f (found
// as sign changes of df), plus extrema where |f| is within `touch` of zero.
template <class F, class D>
std::vector<std::pair<Real, bool>> roots(F f, D df, Real touch, int samples)
{
    const Real step = 2 * std::numbers::pi_v<Real> / samples;
    std::vector<Real> breaks;
    std::vector<Real> extrema;
    for (int i = 0; i < samples; ++i) {
        const Real t0 = i * step, t1 = (i + 1) * step;
        breaks.push_back(t0);
        if ((df(t0) < 0) != (df(t1) < 0)) {
            const Real t = bisect(df, t0, t1);
            breaks.push_back(t);
            extrema.push_back(t);
        }
    }
    breaks.push_back(2 * std::numbers::pi_v<Real>);
    std::vector<std::pair<Real, bool>> found;
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i)
        if ((f(breaks[i]) < 0) != (f(breaks[i + 1]) < 0))
            found.emplace_back(bisect(f, breaks[i], breaks[i + 1]), false);
    // An extremum within `touch` of zero is a touching point; crossings that rounding put on
    // either side of it are that same point.
    for (Real t : extrema) {
        if (std::fabs(f(t)) > touch)
            continue;
        std::erase_if(found, [&](const auto& r) {
            const Real apart = std::fabs(r.first - t);
            return std::min(apart, 2 * std::numbers::pi_v<Real> - apart) < 1e-6L;
        });
        found.emplace_back(t, true);
    }
    return found;
}

} // namespace detail

// The common points of the whole ellipse and the whole circle.
inline std::vector<Point> intersections(const OdGeEllipArc3d& ellipse, const OdGeCircArc3d& circle, int samples = 4096)
{
    const Ellipse e(ellipse);
    const Circle c(circle);
    const Real size = drawingSize(e, c);
    const Vec n = e.normal();
    const Vec k = c.centre - e.centre;
    const Real p = k.dot(e.u), q = k.dot(e.v), h = k.dot(n);
    std::vector<Point> out;

    const bool coplanar = n.cross(c.normal).length() < 1e-12L && std::fabs(h) < 1e-12L * size;
    if (coplanar) {
        const auto f = [&](Real t) {
            const Real dx = e.a * std::cos(t) - p, dy = e.b * std::sin(t) - q;
            return dx * dx + dy * dy + h * h - c.r * c.r;
        };
        const auto df = [&](Real t) {
            const Real dx = e.a * std::cos(t) - p, dy = e.b * std::sin(t) - q;
            return -2 * dx * e.a * std::sin(t) + 2 * dy * e.b * std::cos(t);
        };
        for (auto [t, touching] : detail::roots(f, df, 1e-13L * size * size, samples)) {
            const Real sine = std::fabs(df(t)) / (2 * c.r * e.tangentAt(t).length());
            out.push_back({e.at(t), touching, sine});
        }
        return out;
    }

    // Different planes: the ellipse crosses (or touches) the circle's plane, and such a point is
    // common when it is on the circle.
    const auto g = [&](Real t) { return (e.at(t) - c.centre).dot(c.normal); };
    const auto dg = [&](Real t) { return e.tangentAt(t).dot(c.normal); };
    for (auto [t, touching] : detail::roots(g, dg, 1e-13L * size, samples)) {
        const Vec at = e.at(t);
        if (c.distance(at) <= 1e-10L * size)
            out.push_back({at, touching, 1});
    }
    return out;
}

} // namespace mathref
