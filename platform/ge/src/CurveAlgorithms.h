// The numerical defaults of OdGeCurve2d/OdGeCurve3d written once for both dimensions.
#pragma once

#include "GeNumeric.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace vantrel::ge {

template <class C, class P, class V>
struct CurveAlgorithms {
    static void eval2(const C& c, double t, P& p, V& d1, V& d2)
    {
        std::vector<V> d;
        p = c.evalPoint(t, 2, d);
        d1 = d[0];
        d2 = d[1];
    }

    static double speed(const C& c, double t)
    {
        std::vector<V> d;
        c.evalPoint(t, 1, d);
        return d[0].length();
    }

    static double length(const C& c, double from, double to, double tol, const std::vector<double>& seeds)
    {
        return std::fabs(adaptiveIntegrate([&c](double t) { return speed(c, t); }, from, to, seeds, tol));
    }

    // Newton on the arc-length function, kept inside a shrinking bracket.
    static double paramAtLength(const C& c, double from, double len, bool forward, double tol)
    {
        double lo, hi;
        c.getInterval(lo, hi);
        const double endParam = forward ? hi : lo;
        const double total = c.length(from, endParam, tol);
        if (len <= 0.0)
            return from;
        if (len >= total)
            return endParam;
        auto excess = [&](double t) { return c.length(from, t, tol) - len; };
        double a = from, b = endParam; // excess(a) < 0 < excess(b) along the walk
        double t = from + (endParam - from) * (len / total);
        for (int it = 0; it < 100; ++it) {
            const double f = excess(t);
            if (std::fabs(f) <= tol * std::max(total, 1.0))
                return t;
            if (f < 0.0)
                a = t;
            else
                b = t;
            const double s = speed(c, t);
            double tn = s > 0.0 ? t - (forward ? f / s : -f / s) : 0.5 * (a + b);
            if (!((tn - a) * (tn - b) < 0.0))
                tn = 0.5 * (a + b);
            if (std::fabs(tn - t) <= 1e-15 * std::max(1.0, std::fabs(t)))
                return tn;
            t = tn;
        }
        return t;
    }

    static double paramOf(const C& c, const P& pt, const std::vector<double>& seeds)
    {
        double lo, hi;
        c.getInterval(lo, hi);
        return closestParam<P, V>([&c](double t, P& p, V& d1, V& d2) { eval2(c, t, p, d1, d2); }, pt, seeds, lo, hi);
    }

    static double distToChord(const P& p, const P& a, const P& b)
    {
        const V ab = b - a;
        const double l2 = ab.lengthSqrd();
        const double s = l2 > 0.0 ? std::clamp((p - a).dotProduct(ab) / l2, 0.0, 1.0) : 0.0;
        return (p - (a + ab * s)).length();
    }

    // The most points one call of appendSamplePoints adds, whatever the curve and the tolerance.
    static constexpr std::size_t kMaxSamples = std::size_t(1) << 15;

    // Whether p lies within eps of the chord; a distance that is not a number (an overflow far
    // out) cannot be made smaller by splitting, and counts as within.
    static bool nearChord(const P& p, const P& a, const P& b, double eps)
    {
        const double d = distToChord(p, a, b);
        return d <= eps || !std::isfinite(d);
    }

    static void subdivide(const C& c, double t0, const P& p0, double t1, const P& p1, double eps, int depth,
                          std::size_t budgetEnd, std::vector<P>& out)
    {
        const double tm = 0.5 * (t0 + t1);
        const P pm = c.evalPoint(tm);
        // Quarter points too, so that an S-bend whose middle sits on the chord still splits.
        const bool flat = nearChord(pm, p0, p1, eps) && nearChord(c.evalPoint(0.5 * (t0 + tm)), p0, p1, eps)
            && nearChord(c.evalPoint(0.5 * (tm + t1)), p0, p1, eps);
        if (flat || depth >= 20 || out.size() >= budgetEnd) {
            out.push_back(p1);
            return;
        }
        subdivide(c, t0, p0, tm, pm, eps, depth + 1, budgetEnd, out);
        subdivide(c, tm, pm, t1, p1, eps, depth + 1, budgetEnd, out);
    }

    static void appendSamplePoints(const C& c, double from, double to, double eps, const std::vector<double>& seeds,
                                   std::vector<P>& out)
    {
        std::vector<double> cuts{from};
        const double lo = std::min(from, to), hi = std::max(from, to);
        if (from <= to) {
            for (double t : seeds)
                if (t > lo && t < hi)
                    cuts.push_back(t);
        } else {
            for (auto it = seeds.rbegin(); it != seeds.rend(); ++it)
                if (*it > lo && *it < hi)
                    cuts.push_back(*it);
        }
        cuts.push_back(to);
        P prev = c.evalPoint(from);
        out.push_back(prev);
        // Each span keeps a share of the budget for itself, so that every cut is reached.
        const std::size_t budgetEnd = out.size() + std::max(kMaxSamples, cuts.size());
        for (size_t i = 0; i + 1 < cuts.size(); ++i) {
            const P next = c.evalPoint(cuts[i + 1]);
            subdivide(c, cuts[i], prev, cuts[i + 1], next, eps, 0, budgetEnd - (cuts.size() - 2 - i), out);
            prev = next;
        }
    }

    static void samplePoints(const C& c, int count, std::vector<P>& out)
    {
        double lo, hi;
        c.getInterval(lo, hi);
        out.clear();
        for (double t : uniformParams(lo, hi, std::max(count, 2) - 1))
            out.push_back(c.evalPoint(t));
    }
};

} // namespace vantrel::ge
