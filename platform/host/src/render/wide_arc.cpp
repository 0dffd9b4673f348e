// A spiral edge as cubic curves: each curve starts and ends on the spiral, in the spiral's
// direction there, its control points a third of the way along by the circle's proportion
// (4/3 tan(angle/4) of the tangent per radian), which draws a circular arc nearly exactly.
#include "wide_arc.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vantrel {

namespace {
constexpr double kLargestPiece = std::numbers::pi / 2.0;
// Of the inner edge's least radius: the most the half width may change along one curve.
constexpr double kLargestTaper = 0.1;

int piecesFor(const WideArc& arc, double radius, int mostCurves)
{
    // (A quarter turn, as a bulge gives it, is one piece, not two.)
    const double turns = std::fabs(arc.sweep) / kLargestPiece - 1e-9;
    const double innerRadius = radius - std::max(arc.startWidth, arc.endWidth) / 2.0;
    const double tapers = std::fabs(arc.endWidth - arc.startWidth) / 2.0 / (kLargestTaper * innerRadius) - 1e-9;
    const double pieces = std::max({1.0, std::ceil(turns), std::ceil(tapers)});
    return pieces < mostCurves ? static_cast<int>(pieces) : std::max(1, mostCurves);
}
} // namespace

int wideArcOutline(const WideArc& arc, int mostCurves, std::vector<OdGePoint3d>& outline)
{
    const double radius = arc.u.length();
    const int pieces = piecesFor(arc, radius, mostCurves);
    const double handle = 4.0 / 3.0 * std::tan(arc.sweep / pieces / 4.0);
    // Left of the direction of travel is toward the centre on a counter-clockwise arc.
    const double toLeft = arc.sweep > 0.0 ? -1.0 : 1.0;
    // An edge is center + e(t) k(t) with e(t) = u cos t + v sin t and k = 1 +- half width / radius.
    const double halfWidthPerAngle = (arc.endWidth - arc.startWidth) / 2.0 / arc.sweep;
    const std::size_t end = 3 * static_cast<std::size_t>(pieces);
    const std::size_t last = 2 * end + 1;
    outline.resize(last + 1);
    for (int j = 0; j <= pieces; ++j) {
        const double share = static_cast<double>(j) / pieces;
        const double t = arc.sweep * share;
        const OdGeVector3d e = arc.u * std::cos(t) + arc.v * std::sin(t);
        const OdGeVector3d de = arc.v * std::cos(t) - arc.u * std::sin(t);
        const double halfWidth = (arc.startWidth + (arc.endWidth - arc.startWidth) * share) / 2.0;
        const std::size_t at = 3 * static_cast<std::size_t>(j);
        for (const double side : {toLeft, -toLeft}) {
            const double k = 1.0 + side * halfWidth / radius;
            const double dk = side * halfWidthPerAngle / radius;
            const OdGePoint3d p = arc.center + e * k;
            const OdGeVector3d toward = (e * dk + de * k) * handle; // from p toward the next point
            // The right edge runs backwards: its points from the last one down.
            const bool left = side == toLeft;
            const std::size_t i = left ? at : last - at;
            outline[i] = p;
            if (j < pieces)
                outline[left ? i + 1 : i - 1] = p + toward;
            if (j > 0)
                outline[left ? i - 1 : i + 1] = p - toward;
        }
    }
    return pieces;
}

} // namespace vantrel
