// The quadratic, cubic and quartic formulas. Discriminants are compared with zero relative to
// their terms, so that a drawing in millimetres and the same drawing in kilometres take the same
// branch; the one-real-root cubic uses Cardano's form with the larger cube root first, which
// stays finite where the trigonometric form divides by a vanishing tangent; the quadratic takes
// its smaller root from the product of the roots, not from a difference of nearly equal terms.
#include "mathtest/polynomial_roots.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <numbers>

#include <vantrel/ge/OdGeContext.h>

namespace vantrel {

namespace {

bool negligible(double v, double scale, double tol) { return std::fabs(v) <= tol * scale; }

} // namespace

bool solveQuadratic(const SeparableQuartic& poly, ComplexRoots& roots, const OdGeTol& tol)
{
    const double a = poly.c[2], b = poly.c[3], c = poly.c[8];
    const double eps = tol.equalVector();
    const double gEps = OdGeContext::gTol.equalVector();
    if (std::fabs(a) <= eps && std::fabs(b) <= eps)
        return false;
    if (std::fabs(a) <= eps) {
        roots.emplace_back(-c / b);
        return true;
    }
    if (std::fabs(b) <= eps) {
        const double s = -c / a;
        if (std::fabs(s) <= gEps) {
            roots.emplace_back(0.0);
        } else if (s > 0.0) {
            roots.emplace_back(std::sqrt(s));
            roots.emplace_back(-std::sqrt(s));
        } else {
            roots.emplace_back(0.0, std::sqrt(-s));
            roots.emplace_back(0.0, -std::sqrt(-s));
        }
        return true;
    }
    const double delta = b * b - 4.0 * a * c;
    if (negligible(delta, std::max(b * b, std::fabs(4.0 * a * c)), gEps)) {
        roots.emplace_back(-b / (2.0 * a));
    } else if (delta > 0.0) {
        // Of −b ± √Δ, the sum without cancellation gives one root; c over it the other.
        const double big = -0.5 * (b + std::copysign(std::sqrt(delta), b));
        const double plusRoot = b >= 0.0 ? c / big : big / a;
        const double minusRoot = b >= 0.0 ? big / a : c / big;
        roots.emplace_back(plusRoot);
        roots.emplace_back(minusRoot);
    } else {
        const double re = -b / (2.0 * a);
        const double im = std::sqrt(-delta) / (2.0 * a);
        roots.emplace_back(re, im);
        roots.emplace_back(re, -im);
    }
    return true;
}

bool solveCubic(const SeparableQuartic& poly, ComplexRoots& roots, const OdGeTol& tol)
{
    const double a = poly.c[1], b = poly.c[2], c = poly.c[3], d = poly.c[8];
    if (std::fabs(a) <= tol.equalVector())
        return solveQuadratic(poly, roots, tol);

    // x = t − shift gives t³ + p·t + q = 0.
    const double shift = b / (3.0 * a);
    const double p = c / a - 3.0 * shift * shift;
    const double q = d / a - shift * c / a + 2.0 * shift * shift * shift;
    const double eps = OdGeContext::gTol.equalVector();

    const std::size_t first = roots.size();
    if (p == 0.0 && q == 0.0) {
        for (int i = 0; i < 3; ++i)
            roots.emplace_back(0.0);
    } else if (std::fabs(p) <= eps * std::cbrt(q * q)) {
        std::array<Complex, 3> cube;
        complexRoots(Complex(-q), cube);
        for (const Complex& root : cube)
            roots.push_back(root);
    } else {
        const double third = p / 3.0;
        const double half = q / 2.0;
        const double cubeOfThird = third * third * third;
        const double delta = cubeOfThird + half * half;
        if (delta < 0.0 && !negligible(delta, std::max(std::fabs(cubeOfThird), half * half), eps)) {
            // Three real roots.
            const double m = 2.0 * std::sqrt(-third);
            const double theta = std::acos(std::clamp(-half / std::sqrt(-cubeOfThird), -1.0, 1.0)) / 3.0;
            roots.emplace_back(m * std::cos(theta));
            roots.emplace_back(-m * std::cos(theta + std::numbers::pi / 3.0));
            roots.emplace_back(-m * std::cos(theta - std::numbers::pi / 3.0));
        } else {
            // One real root and a pair, which is a double real root when Δ vanishes.
            const double root = std::sqrt(std::max(delta, 0.0));
            const double u = std::cbrt(-half - std::copysign(root, half));
            const double v = u != 0.0 ? -third / u : 0.0;
            const double im = std::copysign(std::sqrt(3.0) / 2.0 * std::fabs(u - v), q);
            roots.emplace_back(u + v);
            roots.emplace_back(-(u + v) / 2.0, im);
            roots.emplace_back(-(u + v) / 2.0, -im);
        }
    }
    for (std::size_t i = first; i < roots.size(); ++i)
        roots[i] -= shift;
    return true;
}

bool solveQuartic(const SeparableQuartic& poly, ComplexRoots& roots, const OdGeTol& tol)
{
    const double e = poly.c[0];
    if (std::fabs(e) <= OdGeContext::gTol.equalVector()) {
        SeparableQuartic cubic = poly;
        cubic.c[0] = 0.0;
        return solveCubic(cubic, roots, tol);
    }

    // x = t − shift gives t⁴ + p·t² + q·t + r = 0.
    const double b3 = poly.c[1] / e, b2 = poly.c[2] / e, b1 = poly.c[3] / e, b0 = poly.c[8] / e;
    const double shift = b3 / 4.0;
    const double s2 = shift * shift;
    const double p = b2 - 6.0 * s2;
    const double q = b1 - 2.0 * b2 * shift + 8.0 * s2 * shift;
    const double r = b0 - b1 * shift + b2 * s2 - 3.0 * s2 * s2;

    ComplexRoots z;
    if (!solveCubic(SeparableQuartic::inX(0.0, 1.0, 2.0 * p, p * p - 4.0 * r, -q * q), z, OdGeContext::gTol)
        || z.size() != 3)
        return false;

    // Each resolvent root is the square of a sum of two roots; a zero one (the quartic is even
    // about its centre) has the square root 0 twice.
    std::array<std::array<Complex, 2>, 3> w{};
    for (std::size_t i = 0; i < 3; ++i)
        complexRoots(z[i], w[i]);

    // The three square roots must multiply to −q. The smallest resolvent root carries the
    // largest relative error, so its square root is taken as −q over the other two; only when
    // those vanish are the eight sign combinations tried for the product closest to −q.
    const std::size_t small = static_cast<std::size_t>(
        std::min_element(z.begin(), z.end(), [](Complex lhs, Complex rhs) { return std::abs(lhs) < std::abs(rhs); })
        - z.begin());
    Complex chosen[3] = {w[0][0], w[1][0], w[2][0]};
    const Complex others = chosen[(small + 1) % 3] * chosen[(small + 2) % 3];
    if (others != Complex(0.0)) {
        chosen[small] = -q / others;
    } else {
        double bestMiss = INFINITY;
        for (const Complex& c1 : w[0])
            for (const Complex& c2 : w[1])
                for (const Complex& c3 : w[2]) {
                    const double miss = std::abs(c1 * c2 * c3 + q);
                    if (miss < bestMiss) {
                        bestMiss = miss;
                        chosen[0] = c1;
                        chosen[1] = c2;
                        chosen[2] = c3;
                    }
                }
    }
    const Complex w1 = chosen[0], w2 = chosen[1], w3 = chosen[2];
    roots.push_back((w1 + w2 + w3) / 2.0 - shift);
    roots.push_back((w1 - w2 - w3) / 2.0 - shift);
    roots.push_back((-w1 + w2 - w3) / 2.0 - shift);
    roots.push_back((-w1 - w2 + w3) / 2.0 - shift);
    return true;
}

bool realRoots(const SeparableQuartic& poly, RealRoots& roots, const OdGeTol& tol)
{
    ComplexRoots all;
    const bool solved
        = poly.c[0] != 0.0 || poly.c[1] != 0.0 ? solveQuartic(poly, all, tol) : solveQuadratic(poly, all, tol);
    if (!solved)
        return false;
    const std::size_t before = roots.size();
    for (const Complex& root : all)
        if (std::fabs(root.imag()) <= OdGeContext::gTol.equalVector() * std::max(1.0, std::fabs(root.real())))
            roots.push_back(root.real());
    return roots.size() > before;
}

} // namespace vantrel
