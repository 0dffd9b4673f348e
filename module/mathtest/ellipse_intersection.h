// The AD self-test's algebraic intersection of an ellipse with a circle (and, for curves in
// different planes, of an ellipse with a line): curves written as separable quartic equations,
// one variable eliminated, the rest solved by the closed-form root formulas.
#pragma once

#include <vector>

#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeCircArc3d.h>
#include <vantrel/ge/OdGeEllipArc2d.h>
#include <vantrel/ge/OdGeEllipArc3d.h>
#include <vantrel/ge/OdGeLine2d.h>
#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeTol.h>

#include "mathtest/FixedList.h"
#include "mathtest/SeparableQuartic.h"

namespace vantrel {

// The common points of the whole ellipse and the whole circle, appended to `points`; true when
// there is at least one. Coplanar curves are solved in the ellipse's plane; otherwise the line in
// which the two planes meet is intersected with the ellipse, and the points on the circle kept.
// tol.equalVector() bounds the imaginary part of a root taken as real and the value of each
// curve's equation, written to be −1 at its centre, at a kept point; tol.equalPoint(), relative
// to the size of the coordinates, decides whether the planes coincide.
bool intersectEllipseCircle(const OdGeEllipArc3d& ellipse, const OdGeCircArc3d& circle,
                            std::vector<OdGePoint3d>& points, const OdGeTol& tol);

// The same in a plane, for an ellipse with any axes.
bool intersectEllipseCircle2d(const OdGeEllipArc2d& ellipse, const OdGeCircArc2d& circle,
                              std::vector<OdGePoint2d>& points, const OdGeTol& tol);

// The points where a line crosses or touches the whole ellipse, appended to `points`.
bool intersectEllipseLine2d(const OdGeEllipArc2d& ellipse, const OdGeLine2d& line, std::vector<OdGePoint2d>& points,
                            const OdGeTol& tol);

// Candidate points of the system solver: four roots, each with up to two further points of the
// ellipse at its height where the elimination is ill-conditioned.
using CandidateList = FixedList<OdGePoint2d, 12>;

// Candidate common points of e = 0 (an ellipse centred at the origin with its axes on x and y,
// or any record in y alone) and c = 0 (a circle), appended to `candidates`: not yet refined or
// checked against the curves.
void ellipseCircleCandidates(const SeparableQuartic& e, const SeparableQuartic& c, CandidateList& candidates,
                             const OdGeTol& tol);

} // namespace vantrel
