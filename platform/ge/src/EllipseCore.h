// Ellipse computations shared by the 2d and 3d elliptical (and circular) arcs, in the
// ellipse's own (major, minor) coordinates.
#pragma once

#include <vantrel/ge/OdGeTol.h>

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
inline double paramInWindow(double t, double start) { return start + angleFrom(t, start); }

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

// The point and the first numDeriv derivatives of t -> center + x cos t + y sin t.
template <class P, class V>
P evalTrig(const P& center, const V& x, const V& y, double t, int numDeriv, std::vector<V>& derivatives)
{
    derivatives.clear();
    const double c = std::cos(t), s = std::sin(t);
    // Derivatives cycle through (-s, c), (-c, -s), (s, -c), (c, s).
    for (int k = 1; k <= numDeriv; ++k) {
        switch (k % 4) {
        case 1: derivatives.push_back(x * -s + y * c); break;
        case 2: derivatives.push_back(x * -c + y * -s); break;
        case 3: derivatives.push_back(x * s + y * -c); break;
        default: derivatives.push_back(x * c + y * s); break;
        }
    }
    return center + x * c + y * s;
}

// Parameters where C + A cos t + B sin t = C + R cos(t - phi) is zero: the signed distance
// of t -> center + x cos t + y sin t from a plane, with A and B the normal's components along
// x and y and C the centre's distance. None when the curve misses the plane or lies in it.
inline std::vector<double> planeCrossingParams(double A, double B, double C, double tolEq)
{
    const double R = std::hypot(A, B);
    if (R <= tolEq || std::fabs(C) > R + tolEq)
        return {};
    const double phi = std::atan2(B, A);
    const double delta = std::acos(std::clamp(-C / R, -1.0, 1.0));
    return {phi - delta, phi + delta};
}

// Crossings of an elliptical arc with a line in its plane, within the arc and the line's
// interval, written to out; answers how many.
template <class Arc, class Line, class P>
int arcLineCrossings(const Arc& arc, const Line& line, const OdGeTol& tol, P* out[2])
{
    int numInt = 0;
    const auto o = line.pointOnLine() - arc.center();
    const auto dir = line.direction();
    const auto& major = arc.majorAxis();
    const auto& minor = arc.minorAxis();
    const double eps = tol.equalPoint() / std::max(arc.minorRadius(), 1e-300);
    for (double t : ellipseLineParams(o.dotProduct(major), o.dotProduct(minor), dir.dotProduct(major),
                                      dir.dotProduct(minor), arc.majorRadius(), arc.minorRadius(), tol.equalPoint())) {
        const P p = arc.evalPoint(t);
        if (paramInArc(t, arc.startAng(), arc.endAng(), eps) && line.isOn(p, tol))
            *out[numInt++] = p;
    }
    return numInt;
}

} // namespace vantrel::ge
