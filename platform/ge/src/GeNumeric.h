// Numerical kernels shared by the curve classes: adaptive Gauss-Legendre quadrature,
// safeguarded Newton for closest points, bracketing root refinement, and the angle
// ranges of arcs.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

namespace vantrel::ge {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Nodes and weights of the 16-point Gauss-Legendre rule on [-1, 1], found once by
// Newton iteration on the Legendre polynomial.
struct GaussLegendre16 {
    static constexpr size_t kN = 16;
    std::array<double, kN> node{};
    std::array<double, kN> weight{};

    GaussLegendre16()
    {
        constexpr double n = kN;
        for (size_t i = 0; i < kN; ++i) {
            double x = std::cos(std::numbers::pi * (static_cast<double>(i) + 0.75) / (n + 0.5));
            double dp = 0.0;
            for (int it = 0; it < 100; ++it) {
                double p0 = 1.0, p1 = x;
                for (int k = 2; k <= static_cast<int>(kN); ++k) {
                    const double p2 = ((2.0 * k - 1.0) * x * p1 - (k - 1.0) * p0) / k;
                    p0 = p1;
                    p1 = p2;
                }
                dp = n * (x * p1 - p0) / (x * x - 1.0);
                const double dx = p1 / dp;
                x -= dx;
                if (std::fabs(dx) < 1e-16)
                    break;
            }
            node[i] = x;
            weight[i] = 2.0 / ((1.0 - x * x) * dp * dp);
        }
    }

    static const GaussLegendre16& instance()
    {
        static const GaussLegendre16 rule;
        return rule;
    }

    template <class F>
    double integrate(F&& f, double a, double b) const
    {
        const double half = 0.5 * (b - a), mid = 0.5 * (a + b);
        double s = 0.0;
        for (size_t i = 0; i < kN; ++i)
            s += weight[i] * f(mid + half * node[i]);
        return s * half;
    }
};

template <class F>
double adaptiveIntegrateSegment(F& f, double a, double b, double whole, double absTol, int depth)
{
    const auto& gl = GaussLegendre16::instance();
    const double m = 0.5 * (a + b);
    const double left = gl.integrate(f, a, m), right = gl.integrate(f, m, b);
    const double sum = left + right;
    // A non-finite integrand cannot converge: stop rather than recurse 2^30 times.
    if (std::fabs(sum - whole) <= absTol || depth >= 30 || !std::isfinite(sum))
        return sum;
    return adaptiveIntegrateSegment(f, a, m, left, 0.5 * absTol, depth + 1)
        + adaptiveIntegrateSegment(f, m, b, right, 0.5 * absTol, depth + 1);
}

// Integral of f over [a, b], which is first cut at the given break points (where f
// may lose smoothness, e.g. knots). relTol is relative to the integral's magnitude.
template <class F>
double adaptiveIntegrate(F f, double a, double b, const std::vector<double>& breaks, double relTol)
{
    if (a == b)
        return 0.0;
    const double sign = a < b ? 1.0 : -1.0;
    const double lo = std::min(a, b), hi = std::max(a, b);
    std::vector<double> cuts{lo};
    for (double t : breaks)
        if (t > lo && t < hi)
            cuts.push_back(t);
    cuts.push_back(hi);
    const auto& gl = GaussLegendre16::instance();
    std::vector<double> est(cuts.size() - 1);
    double total = 0.0;
    for (size_t i = 0; i + 1 < cuts.size(); ++i) {
        est[i] = gl.integrate(f, cuts[i], cuts[i + 1]);
        total += std::fabs(est[i]);
    }
    const double absTol = std::max(relTol * total, 1e-300) / static_cast<double>(est.size());
    double sum = 0.0;
    for (size_t i = 0; i < est.size(); ++i)
        sum += adaptiveIntegrateSegment(f, cuts[i], cuts[i + 1], est[i], absTol, 0);
    return sign * sum;
}

// Parameter in [lo, hi] of the curve point nearest to target. eval(t, p, d1, d2) fills
// the point and first two derivatives; sampling seeds Newton on (C - P).C' = 0.
template <class P, class V, class Eval>
double closestParam(const Eval& eval, const P& target, const std::vector<double>& samples, double lo, double hi)
{
    P p;
    V d1, d2;
    double best = samples.front(), bestDist = std::numeric_limits<double>::max();
    size_t bestIdx = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        eval(samples[i], p, d1, d2);
        const double d = (p - target).lengthSqrd();
        if (d < bestDist) {
            bestDist = d;
            best = samples[i];
            bestIdx = i;
        }
    }
    // Newton can only work within the neighbouring sample intervals of the seed.
    const double segLo = bestIdx > 0 ? samples[bestIdx - 1] : lo;
    const double segHi = bestIdx + 1 < samples.size() ? samples[bestIdx + 1] : hi;
    double t = best;
    for (int it = 0; it < 50; ++it) {
        eval(t, p, d1, d2);
        const V diff = p - target;
        const double f = diff.dotProduct(d1);
        const double df = d1.dotProduct(d1) + diff.dotProduct(d2);
        if (df <= 0.0)
            break;
        const double tn = std::clamp(t - f / df, segLo, segHi);
        const double step = std::fabs(tn - t);
        t = tn;
        if (step <= 1e-15 * std::max(1.0, std::fabs(t)))
            break;
    }
    eval(t, p, d1, d2);
    return (p - target).lengthSqrd() <= bestDist ? t : best;
}

// Root of f in [a, b] given f(a), f(b) of opposite signs (or one zero): bisection
// safeguarding secant steps.
template <class F>
double refineRoot(const F& f, double a, double b, double fa, double fb)
{
    if (fa == 0.0)
        return a;
    if (fb == 0.0)
        return b;
    for (int it = 0; it < 200; ++it) {
        double m = a - fa * (b - a) / (fb - fa);
        if (!(m > a && m < b) || it % 3 == 2)
            m = 0.5 * (a + b);
        const double fm = f(m);
        if (fm == 0.0)
            return m;
        if ((fm < 0.0) == (fa < 0.0)) {
            a = m;
            fa = fm;
        } else {
            b = m;
            fb = fm;
        }
        if (b - a <= 1e-15 * std::max(1.0, std::fabs(a)))
            break;
    }
    return std::fabs(fa) < std::fabs(fb) ? a : b;
}

// Uniform parameters over [lo, hi], count + 1 of them.
inline std::vector<double> uniformParams(double lo, double hi, int count)
{
    std::vector<double> out(static_cast<size_t>(count) + 1);
    for (int i = 0; i <= count; ++i)
        out[static_cast<size_t>(i)] = lo + (hi - lo) * i / count;
    out.back() = hi;
    return out;
}

// a reduced into [from, from + 2*pi).
inline double angleFrom(double a, double from)
{
    double r = std::fmod(a - from, kTwoPi);
    if (r < 0.0)
        r += kTwoPi;
    return r >= kTwoPi ? 0.0 : r;
}

// The parameter range of an arc from startAng to endAng: an end below the start is taken
// one turn later, and the range spans at most a full turn.
inline void setArcRange(double startAng, double endAng, double& rangeStart, double& rangeEnd)
{
    if (endAng < startAng)
        endAng = startAng + angleFrom(endAng, startAng);
    rangeStart = startAng;
    rangeEnd = std::min(endAng, startAng + kTwoPi);
}

// The pieces of an arc over [start, end] before and after param, each null when param lies
// at or beyond its end; make(from, to) builds the arc over a sub-range.
template <class Base, class Make>
void splitArc(double param, double start, double end, std::unique_ptr<Base>& piece1, std::unique_ptr<Base>& piece2,
              const Make& make)
{
    piece1.reset();
    piece2.reset();
    if (param > start)
        piece1 = make(start, std::min(param, end));
    if (param < end)
        piece2 = make(std::max(param, start), end);
}

} // namespace vantrel::ge
