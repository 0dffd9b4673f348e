// Complex argument and n-th roots.
#include "mathtest/complex_roots.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vantrel {

double complexArgument(Complex z)
{
    const double magnitude = std::abs(z);
    if (magnitude == 0.0)
        return 0.0;
    // Rounding can put the normalised parts a hair beyond ±1.
    const double re = std::clamp(z.real() / magnitude, -1.0, 1.0);
    const double im = std::clamp(z.imag() / magnitude, -1.0, 1.0);
    if (z.imag() >= 0.0)
        return std::acos(re);
    if (z.real() >= 0.0)
        return std::asin(im);
    return std::asin(-im) + std::numbers::pi;
}

bool complexRoots(Complex z, std::span<Complex> roots)
{
    if (roots.empty() || z == Complex(0.0, 0.0))
        return false;
    if (roots.size() == 2) {
        // The principal square root has the angle arg(z)/2 except where the argument above
        // runs past π: in the third quadrant, and on the negative real axis with a −0 imaginary
        // part. The order of the two roots stays that of the angles.
        Complex first = std::sqrt(z);
        if (z.real() < 0.0 && z.imag() <= 0.0)
            first = z.imag() == 0.0 ? Complex(0.0, std::sqrt(-z.real())) : -first;
        roots[0] = first;
        roots[1] = -first;
        return true;
    }
    const double n = static_cast<double>(roots.size());
    const double magnitude = std::pow(std::abs(z), 1.0 / n);
    const double argument = complexArgument(z);
    for (std::size_t k = 0; k < roots.size(); ++k)
        roots[k] = std::polar(magnitude, (argument + 2.0 * std::numbers::pi * static_cast<double>(k)) / n);
    return true;
}

} // namespace vantrel
