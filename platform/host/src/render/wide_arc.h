// The outline of an arc drawn wide, its width running from the start width to the end width in
// step with the angle: each edge is then a spiral about the arc's centre, written as cubic curves.
#pragma once

#include <vector>

#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>

namespace vantrel {

// Points of the arc are center + u cos t + v sin t for t from 0 to sweep (either way round);
// u and v are perpendicular and as long as the radius.
struct WideArc {
    OdGePoint3d center;
    OdGeVector3d u, v;
    double sweep;
    double startWidth, endWidth;
};

// Fills `outline` with the edge on the left of the direction of travel from its start, as a
// point and then, for each of the curves, its two control points and its end; then the edge on
// the right from its end back to its start, likewise. Returns the count of curves on each edge.
// A curve spans at most a quarter turn, over which the half width changes by at most a tenth of
// the inner edge's least radius. That keeps it nearer its spiral than a polygon through the
// spiral's points every 5 degrees: about a third as far for a width that changes slowly, never
// much more than half as far for one that changes steeply. There are never more curves than
// `mostCurves` (the steps of such a polygon, whose chords are much further off than curves as
// short). The inner edge must keep its side of the centre: each half width less than the radius.
int wideArcOutline(const WideArc& arc, int mostCurves, std::vector<OdGePoint3d>& outline);

} // namespace vantrel
