// Closed forms shared by the 2d and 3d straight curves, over the carrier
// t -> point + t * dir and the curve's own parameter interval.
#pragma once

#include <vantrel/ge/OdGeTol.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace vantrel::ge::linear {

template <class P, class V>
P evalDerivs(const P& point, const V& dir, double t, int numDeriv, std::vector<V>& derivatives)
{
    derivatives.assign(static_cast<size_t>(std::max(numDeriv, 0)), V());
    if (numDeriv > 0)
        derivatives[0] = dir;
    return point + dir * t;
}

template <class Ent, class V>
double paramAtLength(const Ent& e, const V& dir, double fromParam, double len, bool forward)
{
    double lo, hi;
    e.getInterval(lo, hi);
    return std::clamp(fromParam + (forward ? len : -len) / dir.length(), lo, hi);
}

// The parameter of the foot of the perpendicular from pt, clamped to the interval.
template <class Ent, class P, class V>
double paramOf(const Ent& e, const P& point, const V& dir, const P& pt)
{
    double lo, hi;
    e.getInterval(lo, hi);
    return std::clamp((pt - point).dotProduct(dir) / dir.lengthSqrd(), lo, hi);
}

template <class Ent, class V>
bool isInInterval(const Ent& e, const V& dir, double param, const OdGeTol& tol)
{
    double lo, hi;
    e.getInterval(lo, hi);
    const double slack = tol.equalPoint() / dir.length();
    return param >= lo - slack && param <= hi + slack;
}

// Reverses the direction but keeps the interval: the new curve at t is the old one at
// lo + hi - t.
template <class Ent, class P, class V>
void reverse(const Ent& e, P& point, V& dir)
{
    double lo, hi;
    e.getInterval(lo, hi);
    if (std::isfinite(lo) && std::isfinite(hi))
        point = point + dir * (lo + hi);
    dir = -dir;
}

// The pieces of a segment over [0, 1] before and after param, each null when param lies at
// or beyond its end.
template <class Seg, class Base>
void splitSegment(const Seg& seg, double param, std::unique_ptr<Base>& piece1, std::unique_ptr<Base>& piece2)
{
    const auto mid = seg.evalPoint(param);
    piece1.reset();
    piece2.reset();
    if (param > 0.0)
        piece1 = std::make_unique<Seg>(seg.pointOnLine(), param >= 1.0 ? seg.evalPoint(1.0) : mid);
    if (param < 1.0)
        piece2 = std::make_unique<Seg>(param <= 0.0 ? seg.pointOnLine() : mid, seg.evalPoint(1.0));
}

} // namespace vantrel::ge::linear
