// Transforming a box means boxing its transformed corners; an arc is boxed by its end points and
// the points where each coordinate turns.
#include <vantrel/ge/OdGeExtents3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Whether angle t lies on the arc that starts at start and turns by sweep (either sign).
bool onArc(double t, double start, double sweep)
{
    if (std::fabs(sweep) >= kTwoPi)
        return true;
    double d = std::fmod(sweep >= 0.0 ? t - start : start - t, kTwoPi);
    if (d < 0.0)
        d += kTwoPi;
    return d <= std::fabs(sweep);
}

} // namespace

OdGeExtents3d& OdGeExtents3d::transformBy(const OdGeMatrix3d& m)
{
    if (!isValidExtents())
        return *this;
    const OdGePoint3d lo = m_min, hi = m_max;
    *this = OdGeExtents3d();
    for (int i = 0; i < 8; ++i) {
        OdGePoint3d c((i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z);
        addPoint(c.transformBy(m));
    }
    return *this;
}

OdGeExtents3d& OdGeExtents3d::addArc(const OdGePoint3d& center, const OdGeVector3d& u, const OdGeVector3d& v,
                                     double start, double sweep)
{
    // At a zero angle (where most arcs start) the cosine and sine are known exactly.
    auto at
        = [&](double t) { return t == 0.0 ? center + u * 1.0 + v * t : center + u * std::cos(t) + v * std::sin(t); };
    addPoint(at(start));
    addPoint(at(start + sweep));
    // A coordinate c + u_k cos t + v_k sin t turns where -u_k sin t + v_k cos t = 0.
    for (double base : {std::atan2(v.x, u.x), std::atan2(v.y, u.y), std::atan2(v.z, u.z)})
        for (double t : {base, base + std::numbers::pi})
            if (onArc(t, start, sweep))
                addPoint(at(t));
    return *this;
}
