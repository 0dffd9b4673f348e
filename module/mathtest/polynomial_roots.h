// Closed-form roots of the x-polynomial of a separable quartic record (degree 2 to 4, constant
// term in c[8]) over the complex numbers, as the AD self-test's solver uses them.
#pragma once

#include <vantrel/ge/OdGeTol.h>

#include "mathtest/FixedList.h"
#include "mathtest/SeparableQuartic.h"
#include "mathtest/complex_roots.h"

namespace vantrel {

// The roots of one polynomial of degree 4 at most.
using ComplexRoots = FixedList<Complex, 4>;
using RealRoots = FixedList<double, 4>;

// A leading coefficient within tol.equalVector() of zero (the global tolerance for the quartic
// term) lowers the degree: the polynomial is solved as the cubic or quadratic it then is, so no
// finite root is lost to a vanishing coefficient. Each solver appends its roots to `roots` and
// answers whether it found any.

// c2·x² + c3·x + c8: the roots (−b + √Δ)/2a then (−b − √Δ)/2a, or one root for a vanishing
// discriminant, or the pair −b/2a ± i·√(−Δ)/2a.
bool solveQuadratic(const SeparableQuartic& poly, ComplexRoots& roots, const OdGeTol& tol);

// c1·x³ + c2·x² + c3·x + c8: three roots; with one real root, it comes first, then the complex
// pair (the member whose imaginary part has the sign of the depressed constant term first).
bool solveCubic(const SeparableQuartic& poly, ComplexRoots& roots, const OdGeTol& tol);

// c0·x⁴ + … + c8 by its resolvent cubic: four roots (repeated roots repeated).
bool solveQuartic(const SeparableQuartic& poly, ComplexRoots& roots, const OdGeTol& tol);

// The real roots of the polynomial (imaginary part within the global equal-vector tolerance of
// zero, relative to the root's size), appended in the solver's order.
bool realRoots(const SeparableQuartic& poly, RealRoots& roots, const OdGeTol& tol);

} // namespace vantrel
