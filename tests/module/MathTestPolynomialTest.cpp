// The pieces of the AD solver on their own: separable quartic records, complex roots, and the
// closed-form polynomial solvers on polynomials whose roots are known.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <span>
#include <cmath>
#include <numbers>
#include <vector>

#include "mathtest/SeparableQuartic.h"
#include "mathtest/complex_roots.h"
#include "mathtest/polynomial_roots.h"

namespace {

using vantrel::Complex;
using vantrel::SeparableQuartic;

const OdGeTol kTol(1e-10, 1e-10);

// The x-polynomial with the given roots times `lead`, highest degree first in the record.
SeparableQuartic withRoots(const std::vector<Complex>& roots, double lead = 1.0)
{
    std::vector<Complex> coeffs{lead}; // highest first
    for (const Complex& r : roots) {
        coeffs.push_back(0.0);
        for (std::size_t i = coeffs.size() - 1; i > 0; --i)
            coeffs[i] -= r * coeffs[i - 1];
    }
    while (coeffs.size() < 5)
        coeffs.insert(coeffs.begin(), 0.0);
    for (const Complex& c : coeffs)
        EXPECT_NEAR(c.imag(), 0.0, 1e-12) << "roots must come in conjugate pairs";
    return SeparableQuartic::inX(coeffs[0].real(), coeffs[1].real(), coeffs[2].real(), coeffs[3].real(),
                                 coeffs[4].real());
}

// Every expected root is matched by its own found root within tol (relative to its size).
void expectRoots(std::vector<Complex> found, const std::vector<Complex>& expected, double tol)
{
    ASSERT_EQ(found.size(), expected.size());
    for (const Complex& e : expected) {
        auto best = std::min_element(found.begin(), found.end(), [&](const Complex& a, const Complex& b) {
            return std::abs(a - e) < std::abs(b - e);
        });
        EXPECT_LE(std::abs(*best - e), tol * std::max(1.0, std::abs(e)))
            << "root " << e.real() << "+" << e.imag() << "i";
        found.erase(best);
    }
}

using Solver = bool (*)(const SeparableQuartic&, vantrel::ComplexRoots&, const OdGeTol&);
template <Solver solve>
std::vector<Complex> solved(const SeparableQuartic& p)
{
    vantrel::ComplexRoots r;
    solve(p, r, kTol);
    return std::vector<Complex>(r.begin(), r.end());
}
const auto quadratic = solved<vantrel::solveQuadratic>;
const auto cubic = solved<vantrel::solveCubic>;
const auto quartic = solved<vantrel::solveQuartic>;

// The solver finds the roots the polynomial (times `lead`) was built from.
void expectOwnRoots(std::vector<Complex> (*solve)(const SeparableQuartic&), const std::vector<Complex>& roots,
                    double tol, double lead = 1.0)
{
    expectRoots(solve(withRoots(roots, lead)), roots, tol);
}

} // namespace

TEST(MathTestRecord, NormaliseRefusesACoefficientWithinTheGlobalTolerance)
{
    SeparableQuartic c = SeparableQuartic::circle(1.0, 2.0, 3.0);
    const SeparableQuartic before = c;
    EXPECT_FALSE(c.normalise(1e-11));
    EXPECT_EQ(c.c, before.c);
    EXPECT_TRUE(c.normalise(-2.0));
    EXPECT_DOUBLE_EQ(c.c[3], 1.0);
    EXPECT_DOUBLE_EQ(c.c[2], -0.5);
}

TEST(MathTestRecord, ExplicitFormsAndSubstitutionAgreeWithEvaluation)
{
    // 2x + y² − 3y + 1 = 0 gives x = −(y² − 3y + 1)/2.
    SeparableQuartic line = SeparableQuartic::inY(0.0, 0.0, 1.0, -3.0, 1.0);
    line.c[3] = 2.0;
    SeparableQuartic x;
    ASSERT_TRUE(line.explicitX(x, kTol));
    const SeparableQuartic c = SeparableQuartic::circle(0.5, 1.5, 2.0);
    const SeparableQuartic inY = c.substituteX(x);
    EXPECT_DOUBLE_EQ(inY.c[0] + inY.c[1] + inY.c[2] + inY.c[3], 0.0);
    for (double y = -2.0; y <= 2.0; y += 0.5) {
        EXPECT_NEAR(line.evaluate(x.evaluate(0.0, y), y), 0.0, 1e-13);
        EXPECT_NEAR(inY.evaluate(0.0, y), c.evaluate(x.evaluate(0.0, y), y), 1e-12);
        EXPECT_NEAR(inY.yAsX().evaluate(y, 0.0), inY.evaluate(0.0, y), 1e-12);
    }

    // y in terms of x, and its substitution, serve the ellipse–line route, which the intersection
    // tests hold against their reference.
    SeparableQuartic y;
    // Not explicit: x squared, a y³ term, or no x at all.
    EXPECT_FALSE(SeparableQuartic::circle(1.0, 1.0, 1.0).explicitX(x, kTol));
    SeparableQuartic cubicInY = SeparableQuartic::inY(0.0, 1.0, 0.0, 0.0, 1.0);
    cubicInY.c[3] = 1.0;
    EXPECT_FALSE(cubicInY.explicitX(x, kTol));
    EXPECT_FALSE(SeparableQuartic::inY(0.0, 0.0, 1.0, 1.0, 1.0).explicitX(x, kTol));
    EXPECT_FALSE(SeparableQuartic::inX(0.0, 0.0, 1.0, 1.0, 1.0).explicitY(y, kTol));
}

TEST(MathTestComplex, ArgumentCoversEveryQuadrant)
{
    using std::numbers::pi;
    EXPECT_DOUBLE_EQ(vantrel::complexArgument({0.0, 0.0}), 0.0);
    EXPECT_DOUBLE_EQ(vantrel::complexArgument({1.0, 1.0}), pi / 4);
    EXPECT_DOUBLE_EQ(vantrel::complexArgument({-1.0, 1.0}), 3 * pi / 4);
    EXPECT_DOUBLE_EQ(vantrel::complexArgument({-1.0, 0.0}), pi);
    EXPECT_DOUBLE_EQ(vantrel::complexArgument({1.0, -1.0}), -pi / 4);
    EXPECT_DOUBLE_EQ(vantrel::complexArgument({-1.0, -1.0}), 5 * pi / 4);
    EXPECT_DOUBLE_EQ(vantrel::complexArgument({0.0, -2.0}), -pi / 2);
}

TEST(MathTestComplex, NthRootsComeInTheOrderOfTheirAngle)
{
    std::array<Complex, 3> cube;
    ASSERT_TRUE(vantrel::complexRoots({-8.0, 0.0}, cube));
    EXPECT_NEAR(std::abs(cube[0] - std::polar(2.0, std::numbers::pi / 3)), 0.0, 1e-14);
    EXPECT_NEAR(std::abs(cube[1] - Complex(-2.0, 0.0)), 0.0, 1e-14);
    EXPECT_NEAR(std::abs(cube[2] - std::polar(2.0, 5 * std::numbers::pi / 3)), 0.0, 1e-14);
    std::array<Complex, 2> square;
    // Square roots in the order of the angles arg/2 and arg/2 + π, in every quadrant and on the
    // axes (−0 imaginary parts included).
    for (Complex z : {Complex(3, 4), Complex(-3, 4), Complex(-3, -4), Complex(3, -4), Complex(-4, 0.0),
                      Complex(-4, -0.0), Complex(0, -4), Complex(4, -0.0)}) {
        ASSERT_TRUE(vantrel::complexRoots(z, square));
        const double half = vantrel::complexArgument(z) / 2;
        EXPECT_NEAR(std::abs(square[0] - std::polar(std::sqrt(std::abs(z)), half)), 0.0, 1e-14)
            << z.real() << "," << z.imag();
        EXPECT_NEAR(std::abs(square[1] + square[0]), 0.0, 1e-15);
    }
    square = {Complex(7.0), Complex(7.0)};
    EXPECT_FALSE(vantrel::complexRoots({0.0, 0.0}, square));
    EXPECT_EQ(square[0], Complex(7.0)); // nothing written
    EXPECT_FALSE(vantrel::complexRoots({1.0, 0.0}, std::span<Complex>()));
}

TEST(MathTestQuadratic, RootsInTheStatedOrderAndWithoutCancellation)
{
    // (−b + √Δ)/2a first whatever the sign of a, a double root once, a complex pair.
    EXPECT_EQ(quadratic(withRoots({2.0, -3.0})), (std::vector<Complex>{2.0, -3.0}));
    EXPECT_EQ(quadratic(withRoots({2.0, 5.0}, -1.0)), (std::vector<Complex>{2.0, 5.0}));
    EXPECT_EQ(quadratic(withRoots({1.5, 1.5})), (std::vector<Complex>{1.5}));
    EXPECT_EQ(quadratic(withRoots({{-1.0, 2.0}, {-1.0, -2.0}})), (std::vector<Complex>{{-1.0, 2.0}, {-1.0, -2.0}}));
    // x² − 1e8·x + 1: the small root keeps its digits.
    const std::vector<Complex> r = quadratic(SeparableQuartic::inX(0.0, 0.0, 1.0, -1e8, 1.0));
    ASSERT_EQ(r.size(), 2u);
    EXPECT_NEAR(r[1].real(), 1e-8, 1e-23);
}

TEST(MathTestQuadratic, VanishingCoefficientsLowerTheDegree)
{
    expectRoots(quadratic(SeparableQuartic::inX(0.0, 0.0, 1e-14, 2.0, -4.0)), {2.0}, 1e-12);
    expectRoots(quadratic(SeparableQuartic::inX(0.0, 0.0, 4.0, 0.0, -9.0)), {1.5, -1.5}, 1e-15);
    expectRoots(quadratic(SeparableQuartic::inX(0.0, 0.0, 4.0, 0.0, 9.0)), {{0.0, 1.5}, {0.0, -1.5}}, 1e-15);
    expectRoots(quadratic(SeparableQuartic::inX(0.0, 0.0, 3.0, 0.0, 0.0)), {0.0}, 0.0);
    vantrel::ComplexRoots none;
    EXPECT_FALSE(vantrel::solveQuadratic(SeparableQuartic::inX(0.0, 0.0, 1e-14, 1e-15, 1.0), none, kTol));
    EXPECT_FALSE(vantrel::solveQuadratic(SeparableQuartic(), none, kTol));
    EXPECT_TRUE(none.empty());
}

TEST(MathTestQuadratic, RealRootsDropComplexPairs)
{
    vantrel::RealRoots r;
    EXPECT_FALSE(vantrel::realRoots(SeparableQuartic::inX(0.0, 0.0, 1.0, 0.0, 1.0), r, kTol));
    EXPECT_TRUE(r.empty());
    EXPECT_TRUE(vantrel::realRoots(withRoots({-1.0, 4.0}), r, kTol));
    EXPECT_EQ(std::vector<double>(r.begin(), r.end()), (std::vector<double>{4.0, -1.0}));
    r.clear();
    EXPECT_TRUE(vantrel::realRoots(withRoots({3.0, {0.0, 1.0}, {0.0, -1.0}, -2.0}), r, kTol));
    std::sort(r.begin(), r.end());
    ASSERT_EQ(r.size(), 2u);
    EXPECT_NEAR(r[0], -2.0, 1e-12);
    EXPECT_NEAR(r[1], 3.0, 1e-12);
}

TEST(MathTestCubic, AllRealRepeatedAndComplexRoots)
{
    expectOwnRoots(cubic, {1.0, 2.0, 3.0}, 1e-14);
    expectOwnRoots(cubic, {-7.5, 0.25, 40.0}, 1e-13, -3.0);
    expectOwnRoots(cubic, {1.0, 1.0, -2.0}, 1e-12);
    expectOwnRoots(cubic, {2.0, 2.0, 2.0}, 1e-14);
    expectOwnRoots(cubic, {0.0, 0.0, 5.0}, 1e-12);
    expectRoots(cubic(SeparableQuartic::inX(0.0, 1.0, 0.0, 0.0, -8.0)),
                {2.0, std::polar(2.0, 2 * std::numbers::pi / 3), std::polar(2.0, -2 * std::numbers::pi / 3)}, 1e-14);

    // One real root first, then the pair.
    std::vector<Complex> r = cubic(withRoots({3.0, {-1.0, 2.0}, {-1.0, -2.0}}));
    ASSERT_EQ(r.size(), 3u);
    EXPECT_NEAR(std::abs(r[0] - 3.0), 0.0, 1e-14);
    EXPECT_NEAR(std::abs(r[1] - std::conj(r[2])), 0.0, 1e-14);
    expectRoots(r, {3.0, {-1.0, 2.0}, {-1.0, -2.0}}, 1e-14);
    // A linear term tiny next to the constant: the trigonometric form would divide by a tangent
    // of zero there. Each root must satisfy x³ + x + 1e12 = 0 to rounding.
    r = cubic(SeparableQuartic::inX(0.0, 1.0, 0.0, 1.0, 1e12));
    ASSERT_EQ(r.size(), 3u);
    for (const Complex& x : r)
        EXPECT_LE(std::abs(x * x * x + x + 1e12), 1e-2) << x.real() << "+" << x.imag() << "i";
    EXPECT_EQ(r[0].imag(), 0.0);
}

TEST(MathTestQuartic, AllRealRepeatedAndComplexRoots)
{
    expectOwnRoots(quartic, {1.0, 2.0, 3.0, 4.0}, 1e-12);
    expectOwnRoots(quartic, {-0.5, 0.125, 3.0, 9.0}, 1e-12, 7.0);
    expectOwnRoots(quartic, {1.0, 1.0, 3.0, 3.0}, 1e-7);
    expectOwnRoots(quartic, {2.0, 2.0, 2.0, 2.0}, 1e-12);
    expectOwnRoots(quartic, {{0.0, 1.0}, {0.0, -1.0}, {0.0, 2.0}, {0.0, -2.0}}, 1e-12);
    expectOwnRoots(quartic, {1.0, -2.0, {-1.0, 2.0}, {-1.0, -2.0}}, 1e-12);
    expectOwnRoots(quartic, {{1.0, 1.0}, {1.0, -1.0}, {-3.0, 0.5}, {-3.0, -0.5}}, 1e-12);
    // x⁴ − 5x² + 4: no odd terms, so one resolvent root is 0 and its square root is 0 twice.
    expectOwnRoots(quartic, {1.0, -1.0, 2.0, -2.0}, 1e-14);
    expectOwnRoots(quartic, {1.0, -1.0, {0.0, 3.0}, {0.0, -3.0}}, 1e-14);
}

TEST(MathTestQuartic, VanishingLeadingCoefficientsLowerTheDegree)
{
    SeparableQuartic p = withRoots({2.0, 1.0});
    p.c[1] = 1e-13;
    expectRoots(cubic(p), {2.0, 1.0}, 1e-11);
    p = withRoots({1.0, 2.0, 3.0});
    p.c[0] = 1e-14;
    expectRoots(quartic(p), {1.0, 2.0, 3.0}, 1e-12);
    p = withRoots({-4.0, 0.5});
    p.c[0] = 1e-14;
    p.c[1] = -1e-13;
    expectRoots(quartic(p), {-4.0, 0.5}, 1e-12);
    vantrel::ComplexRoots none;
    EXPECT_FALSE(vantrel::solveQuartic(SeparableQuartic(), none, kTol));
}
