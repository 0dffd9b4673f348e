// The complex argument and the n-th roots of a complex number, as the closed-form polynomial
// solvers of the AD self-test take them.
#pragma once

#include <complex>
#include <span>

namespace vantrel {

using Complex = std::complex<double>;

// The angle of z in (−π/2, 3π/2]: 0 for z = 0; acos of the normalised real part when the
// imaginary part is not negative; asin of the normalised imaginary part when the real part is
// not negative; otherwise π plus asin of the normalised magnitude of the imaginary part.
double complexArgument(Complex z);

// The n = roots.size() roots of z, of magnitude |z|^(1/n) at the angles (arg z + 2πk)/n for
// k = 0 … n−1, written in that order. False, with nothing written, for n < 1 or z = 0.
bool complexRoots(Complex z, std::span<Complex> roots);

} // namespace vantrel
