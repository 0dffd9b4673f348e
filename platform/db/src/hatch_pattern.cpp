// Pattern lines against loops: per line, the crossings with every ring edge sorted along the
// line pair up into inside stretches; dashes are laid from the family's base point, so the
// pattern lines up across stretches and across lines the way the offset shifts it.
#include "hatch_pattern.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrel::hatch {

namespace {

double cross(const OdGeVector2d& a, const OdGeVector2d& b) { return a.x * b.y - a.y * b.x; }

// Parameters along the line origin + t * direction where it crosses the rings' edges. A vertex on
// the line counts as lying on its positive side, so a line through a vertex crosses there once
// (or not at all where the ring only touches it).
std::vector<double> crossings(const OdGePoint2d& origin, const OdGeVector2d& direction, const OdGeVector2d& normal,
                              std::span<const Ring> rings)
{
    std::vector<double> ts;
    const double level = normal.x * origin.x + normal.y * origin.y;
    for (const Ring& ring : rings) {
        const std::size_t n = ring.size();
        for (std::size_t i = 0; i < n; ++i) {
            const OdGePoint2d& a = ring[i];
            const OdGePoint2d& b = ring[(i + 1) % n];
            const double sa = normal.x * a.x + normal.y * a.y - level;
            const double sb = normal.x * b.x + normal.y * b.y - level;
            if ((sa < 0.0) == (sb < 0.0))
                continue;
            const OdGePoint2d p = a + (b - a) * (sa / (sa - sb));
            ts.push_back(direction.x * (p.x - origin.x) + direction.y * (p.y - origin.y));
        }
    }
    std::sort(ts.begin(), ts.end());
    return ts;
}

// Adds the dashes of one inside stretch [t0, t1]; false once over the budget.
bool addDashes(const LineFamily& f, const OdGePoint2d& origin, double t0, double t1, std::vector<Segment>& out,
               std::size_t maxSegments)
{
    auto at = [&](double t) { return origin + f.direction * t; };
    if (f.dashes.empty()) {
        out.push_back({at(t0), at(t1)});
        return out.size() <= maxSegments;
    }
    double period = 0.0;
    for (double d : f.dashes)
        period += std::fabs(d);
    if (!(period > 0.0)) {
        out.push_back({at(t0), at(t1)});
        return out.size() <= maxSegments;
    }
    double t = std::floor(t0 / period) * period;
    while (t < t1) {
        for (double d : f.dashes) {
            const double len = std::fabs(d);
            if (d >= 0.0) {
                const double a = std::max(t, t0), b = std::min(t + len, t1);
                if (d == 0.0 ? (t >= t0 && t <= t1) : a < b) {
                    out.push_back({at(a), at(d == 0.0 ? a : b)});
                    if (out.size() > maxSegments)
                        return false;
                }
            }
            t += len;
            if (t >= t1)
                break;
        }
    }
    return true;
}

} // namespace

std::optional<std::vector<Segment>> clipPattern(std::span<const LineFamily> families, std::span<const Ring> rings,
                                                std::size_t maxSegments)
{
    std::vector<Segment> out;
    for (const LineFamily& f : families) {
        const OdGeVector2d normal(-f.direction.y, f.direction.x);
        const double spacing = cross(f.direction, f.offset); // of one line from the next, signed
        if (!(std::fabs(spacing) > 1e-12 * std::max(1.0, f.offset.length())))
            continue;
        double lo = std::numeric_limits<double>::max(), hi = -lo;
        for (const Ring& ring : rings)
            for (const OdGePoint2d& p : ring) {
                const double s = normal.x * (p.x - f.base.x) + normal.y * (p.y - f.base.y);
                lo = std::min(lo, s);
                hi = std::max(hi, s);
            }
        if (lo > hi)
            return out;
        const double k0 = std::ceil(std::min(lo / spacing, hi / spacing));
        const double k1 = std::floor(std::max(lo / spacing, hi / spacing));
        if (k1 - k0 > static_cast<double>(maxSegments))
            return std::nullopt;
        for (double k = k0; k <= k1; ++k) {
            const OdGePoint2d origin = f.base + f.offset * k;
            const std::vector<double> ts = crossings(origin, f.direction, normal, rings);
            for (std::size_t i = 0; i + 1 < ts.size(); i += 2)
                if (ts[i + 1] > ts[i] && !addDashes(f, origin, ts[i], ts[i + 1], out, maxSegments))
                    return std::nullopt;
        }
    }
    return out;
}

} // namespace vantrel::hatch
