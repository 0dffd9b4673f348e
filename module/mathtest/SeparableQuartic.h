// An equation in x and y without mixed terms, up to degree 4 in each variable: the form in which
// the AD self-test writes ellipses, circles and lines so that one can be solved into another.
#pragma once

#include <array>

#include <vantrel/ge/OdGeTol.h>

namespace vantrel {

// c[0]·x⁴ + c[1]·x³ + c[2]·x² + c[3]·x + c[4]·y⁴ + c[5]·y³ + c[6]·y² + c[7]·y + c[8] = 0.
// A polynomial in one variable is held in the x coefficients (c[8] is its constant term); an
// explicit x = g(y) holds g in the y coefficients and c[8], an explicit y = f(x) holds f in the
// x coefficients and c[8].
class SeparableQuartic {
public:
    std::array<double, 9> c{};

    // x²/a² + y²/b² − 1.
    static SeparableQuartic ellipse(double a, double b);
    // (x − p)² + (y − q)² − r², expanded.
    static SeparableQuartic circle(double p, double q, double r);
    // A polynomial in x (or in y) alone.
    static SeparableQuartic inX(double x4, double x3, double x2, double x1, double x0);
    static SeparableQuartic inY(double y4, double y3, double y2, double y1, double y0);

    // Divides every coefficient by d; false, with the record unchanged, when |d| is within the
    // global equal-vector tolerance of zero.
    bool normalise(double d);
    SeparableQuartic operator-(const SeparableQuartic& other) const;
    double evaluate(double x, double y) const;

    bool hasXTerms(const OdGeTol& tol) const;
    bool hasYTerms(const OdGeTol& tol) const;

    // x = −(c6·y² + c7·y + c8)/c3: only when x appears linearly, y at most squared, and c3 can
    // be normalised by. The result is the explicit-x record (evaluate(0, y) is x).
    bool explicitX(SeparableQuartic& x, const OdGeTol& tol) const;
    // y = −(c2·x² + c3·x + c8)/c7, the mirror of explicitX (evaluate(x, 0) is y).
    bool explicitY(SeparableQuartic& y, const OdGeTol& tol) const;

    // This record with x replaced by the explicit x = g(y) (Horner's scheme, terms above y⁴
    // dropped): a polynomial in y. A constant g substitutes a number.
    SeparableQuartic substituteX(const SeparableQuartic& xOfY) const;
    // The mirror: y replaced by f(x), a polynomial in x.
    SeparableQuartic substituteY(const SeparableQuartic& yOfX) const;
    // A polynomial in y moved into the x coefficients, where the root solvers read it.
    SeparableQuartic yAsX() const;
};

} // namespace vantrel
