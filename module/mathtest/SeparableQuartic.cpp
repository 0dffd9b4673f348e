// Arithmetic on separable quartic records: building, normalising, solving for one variable and
// substituting one variable by a polynomial in the other.
#include "mathtest/SeparableQuartic.h"

#include <cmath>

#include <vantrel/ge/OdGeContext.h>

namespace vantrel {

namespace {

// A polynomial in one variable, lowest degree first.
using Poly = std::array<double, 5>;

Poly product(const Poly& a, const Poly& b)
{
    Poly out{};
    for (std::size_t i = 0; i < out.size(); ++i)
        for (std::size_t j = 0; i + j < out.size(); ++j)
            out[i + j] += a[i] * b[j];
    return out;
}

// c4·v⁴ + c3·v³ + c2·v² + c1·v with v the polynomial `v`, by Horner's scheme, truncated above
// degree 4.
Poly hornerTerms(double c4, double c3, double c2, double c1, const Poly& v)
{
    if (v[1] == 0.0 && v[2] == 0.0 && v[3] == 0.0 && v[4] == 0.0) {
        const double x = v[0];
        return Poly{(((c4 * x + c3) * x + c2) * x + c1) * x};
    }
    Poly h{c4};
    for (double next : {c3, c2, c1}) {
        h = product(h, v);
        h[0] += next;
    }
    return product(h, v);
}

bool nearZero(double v, const OdGeTol& tol) { return std::fabs(v) <= tol.equalVector(); }

} // namespace

SeparableQuartic SeparableQuartic::ellipse(double a, double b)
{
    SeparableQuartic e;
    e.c[2] = 1.0 / (a * a);
    e.c[6] = 1.0 / (b * b);
    e.c[8] = -1.0;
    return e;
}

SeparableQuartic SeparableQuartic::circle(double p, double q, double r)
{
    SeparableQuartic e;
    e.c[2] = 1.0;
    e.c[3] = -2.0 * p;
    e.c[6] = 1.0;
    e.c[7] = -2.0 * q;
    e.c[8] = p * p + q * q - r * r;
    return e;
}

SeparableQuartic SeparableQuartic::inX(double x4, double x3, double x2, double x1, double x0)
{
    SeparableQuartic e;
    e.c = {x4, x3, x2, x1, 0.0, 0.0, 0.0, 0.0, x0};
    return e;
}

SeparableQuartic SeparableQuartic::inY(double y4, double y3, double y2, double y1, double y0)
{
    SeparableQuartic e;
    e.c = {0.0, 0.0, 0.0, 0.0, y4, y3, y2, y1, y0};
    return e;
}

bool SeparableQuartic::normalise(double d)
{
    if (std::fabs(d) <= OdGeContext::gTol.equalVector())
        return false;
    for (double& v : c)
        v /= d;
    return true;
}

SeparableQuartic SeparableQuartic::operator-(const SeparableQuartic& other) const
{
    SeparableQuartic d;
    for (std::size_t i = 0; i < c.size(); ++i)
        d.c[i] = c[i] - other.c[i];
    return d;
}

double SeparableQuartic::evaluate(double x, double y) const
{
    return (((c[0] * x + c[1]) * x + c[2]) * x + c[3]) * x + (((c[4] * y + c[5]) * y + c[6]) * y + c[7]) * y + c[8];
}

bool SeparableQuartic::hasXTerms(const OdGeTol& tol) const
{
    return !(nearZero(c[0], tol) && nearZero(c[1], tol) && nearZero(c[2], tol) && nearZero(c[3], tol));
}

bool SeparableQuartic::hasYTerms(const OdGeTol& tol) const
{
    return !(nearZero(c[4], tol) && nearZero(c[5], tol) && nearZero(c[6], tol) && nearZero(c[7], tol));
}

bool SeparableQuartic::explicitX(SeparableQuartic& x, const OdGeTol& tol) const
{
    if (!(nearZero(c[0], tol) && nearZero(c[1], tol) && nearZero(c[2], tol) && nearZero(c[4], tol)
          && nearZero(c[5], tol)))
        return false;
    SeparableQuartic n = *this;
    if (!n.normalise(c[3]))
        return false;
    for (double& v : n.c)
        v = -v;
    n.c[3] = 0.0;
    x = n;
    return true;
}

bool SeparableQuartic::explicitY(SeparableQuartic& y, const OdGeTol& tol) const
{
    if (!(nearZero(c[4], tol) && nearZero(c[5], tol) && nearZero(c[6], tol) && nearZero(c[0], tol)
          && nearZero(c[1], tol)))
        return false;
    SeparableQuartic n = *this;
    if (!n.normalise(c[7]))
        return false;
    for (double& v : n.c)
        v = -v;
    n.c[7] = 0.0;
    y = n;
    return true;
}

SeparableQuartic SeparableQuartic::substituteX(const SeparableQuartic& xOfY) const
{
    const Poly g{xOfY.c[8], xOfY.c[7], xOfY.c[6], xOfY.c[5], xOfY.c[4]};
    const Poly h = hornerTerms(c[0], c[1], c[2], c[3], g);
    return inY(c[4] + h[4], c[5] + h[3], c[6] + h[2], c[7] + h[1], c[8] + h[0]);
}

SeparableQuartic SeparableQuartic::substituteY(const SeparableQuartic& yOfX) const
{
    const Poly f{yOfX.c[8], yOfX.c[3], yOfX.c[2], yOfX.c[1], yOfX.c[0]};
    const Poly h = hornerTerms(c[4], c[5], c[6], c[7], f);
    return inX(c[0] + h[4], c[1] + h[3], c[2] + h[2], c[3] + h[1], c[8] + h[0]);
}

SeparableQuartic SeparableQuartic::yAsX() const { return inX(c[4], c[5], c[6], c[7], c[8]); }

} // namespace vantrel
