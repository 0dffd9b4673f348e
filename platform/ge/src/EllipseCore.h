// Ellipse computations shared by the 2d and 3d elliptical arcs, in the ellipse's own
// (major, minor) coordinates.
#pragma once

#include "GeNumeric.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace vantrel::ge {

// Arc length of t -> (a cos t, b sin t) between two parameters.
inline double ellipseLength(double a, double b, double from, double to, double tol)
{
    std::vector<double> quarterTurns;
    const double lo = std::min(from, to), hi = std::max(from, to);
    for (double q = std::ceil(lo / (std::numbers::pi / 2)) * (std::numbers::pi / 2); q < hi; q += std::numbers::pi / 2)
        quarterTurns.push_back(q);
    auto speed = [a, b](double t) {
        const double s = std::sin(t), c = std::cos(t);
        return std::sqrt(a * a * s * s + b * b * c * c);
    };
    return std::fabs(adaptiveIntegrate(speed, from, to, quarterTurns, tol));
}

inline bool paramInArc(double t, double start, double end, double eps)
{
    const double rel = angleFrom(t, start);
    return rel <= (end - start) + eps || rel >= kTwoPi - eps;
}

// Parameter reduced into the arc's [start, start + 2*pi) window.
inline double paramInWindow(double t, double start)
{
    return start + angleFrom(t, start);
}

// Parameters where the line p + s*d (ellipse coordinates) meets (a cos t, b sin t);
// a tangent contact within tolEq gives one parameter.
inline std::vector<double> ellipseLineParams(double px, double py, double dx, double dy, double a, double b,
                                             double tolEq)
{
    std::vector<double> out;
    const double sx = px / a, sy = py / b, ex = dx / a, ey = dy / b;
    const double A = ex * ex + ey * ey, B = sx * ex + sy * ey, C = sx * sx + sy * sy - 1.0;
    if (A == 0.0)
        return out;
    const double disc = B * B - A * C;
    auto paramAt = [&](double s) { return std::atan2(sy + s * ey, sx + s * ex); };
    const double s0 = -B / A;
    const double rootLen = disc > 0.0 ? std::sqrt(disc) / A : 0.0;
    // Half the distance between the two crossings, in model units.
    const double halfGap = rootLen * std::hypot(dx, dy);
    if (disc < 0.0) {
        const double rho = std::hypot(sx + s0 * ex, sy + s0 * ey);
        if ((rho - 1.0) * std::max(a, b) <= tolEq)
            out.push_back(paramAt(s0));
    } else if (halfGap <= tolEq) {
        out.push_back(paramAt(s0));
    } else {
        out.push_back(paramAt(s0 - rootLen));
        out.push_back(paramAt(s0 + rootLen));
    }
    return out;
}

// Principal axes of the ellipse t -> u cos t + v sin t (u, v conjugate semi-diameters):
// fills unit axes, radii, and the shift such that new t = old t - shift.
template <class V>
void principalAxes(const V& u, const V& v, V& major, V& minor, double& a, double& b, double& shift)
{
    const double t0 = 0.5 * std::atan2(2.0 * u.dotProduct(v), u.dotProduct(u) - v.dotProduct(v));
    V p1 = u * std::cos(t0) + v * std::sin(t0);
    V p2 = u * -std::sin(t0) + v * std::cos(t0);
    shift = t0;
    if (p2.length() > p1.length()) {
        // Make the longer one the major axis: (p1, p2) -> (p2, -p1) shifts t by pi/2.
        const V tmp = p1;
        p1 = p2;
        p2 = -tmp;
        shift += std::numbers::pi / 2;
    }
    a = p1.length();
    b = p2.length();
    major = p1 / a;
    minor = b > 0.0 ? p2 / b : p2;
}

} // namespace vantrel::ge
