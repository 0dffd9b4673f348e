// B-spline algorithms shared by the 2d and 3d NURBS curves, written over the point
// and vector types: evaluation with derivatives (rational through homogeneous
// coordinates), knot insertion, splitting, interpolation of fit points, and the
// definition checks, arc conversion and search seeds of the two curve classes.
#pragma once

#include <vantrel/ge/OdGeKnotVector.h>
#include <vantrel/ge/OdGeTol.h>

#include <algorithm>
#include <cassert>
#include <cmath>
#include <memory>
#include <numbers>
#include <optional>
#include <type_traits>
#include <vector>

namespace vantrel::ge {

// The algorithms below count with signed knot and control point indices, as the knot vector
// does; an index is non-negative by the time it reaches a vector.
inline size_t ix(int i)
{
    assert(i >= 0 && "negative index");
    return static_cast<size_t>(i);
}

// A dense table of doubles indexed (row, column) as the basis function algorithms count.
class BasisTable {
public:
    BasisTable(int rows, int cols) : m_cols(cols), m_values(ix(rows) * ix(cols), 0.0) {}
    double& operator()(int r, int c) { return m_values[at(r, c)]; }
    double operator()(int r, int c) const { return m_values[at(r, c)]; }
    std::vector<double> row(int r) const
    {
        const auto first = m_values.begin() + static_cast<std::ptrdiff_t>(at(r, 0));
        return {first, first + m_cols};
    }

private:
    size_t at(int r, int c) const
    {
        assert(c < m_cols);
        return ix(r) * ix(m_cols) + ix(c);
    }

    int m_cols;
    std::vector<double> m_values;
};

template <class P, class V>
struct NurbsData {
    int degree = 1;
    OdGeKnotVector knots;
    std::vector<P> ctrl;
    std::vector<double> weights; // empty for a polynomial curve

    int numCtrl() const { return static_cast<int>(ctrl.size()); }
    double weight(int i) const { return weights.empty() ? 1.0 : weights[ix(i)]; }
    double startParam() const { return knots[degree]; }
    double endParam() const { return knots[numCtrl()]; }
};

// Basis functions and their derivatives up to nd at u in span i: ders(k, j) is the
// k-th derivative of N_{i-p+j,p}.
inline BasisTable basisDerivs(int i, double u, int p, int nd, const OdGeKnotVector& U)
{
    BasisTable ndu(p + 1, p + 1), left(1, p + 1), right(1, p + 1);
    ndu(0, 0) = 1.0;
    for (int j = 1; j <= p; ++j) {
        left(0, j) = u - U[i + 1 - j];
        right(0, j) = U[i + j] - u;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            ndu(j, r) = right(0, r + 1) + left(0, j - r);
            const double temp = ndu(r, j - 1) / ndu(j, r);
            ndu(r, j) = saved + right(0, r + 1) * temp;
            saved = left(0, j - r) * temp;
        }
        ndu(j, j) = saved;
    }
    BasisTable ders(nd + 1, p + 1);
    for (int j = 0; j <= p; ++j)
        ders(0, j) = ndu(j, p);
    BasisTable a(2, p + 1);
    for (int r = 0; r <= p; ++r) {
        int s1 = 0, s2 = 1;
        a(0, 0) = 1.0;
        for (int k = 1; k <= std::min(nd, p); ++k) {
            double d = 0.0;
            const int rk = r - k, pk = p - k;
            if (r >= k) {
                a(s2, 0) = a(s1, 0) / ndu(pk + 1, rk);
                d = a(s2, 0) * ndu(rk, pk);
            }
            const int j1 = rk >= -1 ? 1 : -rk;
            const int j2 = (r - 1 <= pk) ? k - 1 : p - r;
            for (int j = j1; j <= j2; ++j) {
                a(s2, j) = (a(s1, j) - a(s1, j - 1)) / ndu(pk + 1, rk + j);
                d += a(s2, j) * ndu(rk + j, pk);
            }
            if (r <= pk) {
                a(s2, k) = -a(s1, k - 1) / ndu(pk + 1, r);
                d += a(s2, k) * ndu(r, pk);
            }
            ders(k, r) = d;
            std::swap(s1, s2);
        }
    }
    double factor = p;
    for (int k = 1; k <= std::min(nd, p); ++k) {
        for (int j = 0; j <= p; ++j)
            ders(k, j) *= factor;
        factor *= (p - k);
    }
    return ders;
}

// Point (as a vector from the origin) and derivatives 1..nd at u.
template <class P, class V>
std::vector<V> evalDerivs(int p, const OdGeKnotVector& U, const std::vector<P>& ctrl,
                          const std::vector<double>& weights, double u, int nd)
{
    const int n = static_cast<int>(ctrl.size());
    u = std::clamp(u, U[p], U[n]);
    const int span = U.findSpan(p, n, u);
    const auto N = basisDerivs(span, u, p, nd, U);
    std::vector<V> A(ix(nd + 1));
    std::vector<double> w(ix(nd + 1), 0.0);
    for (int k = 0; k <= std::min(nd, p); ++k) {
        for (int j = 0; j <= p; ++j) {
            const size_t idx = ix(span - p + j);
            const double wj = weights.empty() ? 1.0 : weights[idx];
            A[ix(k)] += ctrl[idx].asVector() * (N(k, j) * wj);
            w[ix(k)] += N(k, j) * wj;
        }
    }
    if (weights.empty())
        return A;
    // Rational: C^(k) = (A^(k) - sum_{i=1..k} C(k,i) w^(i) C^(k-i)) / w.
    std::vector<V> C(ix(nd + 1));
    for (size_t k = 0; k < C.size(); ++k) {
        V v = A[k];
        double binom = 1.0;
        for (size_t i = 1; i <= k; ++i) {
            binom = binom * static_cast<double>(k - i + 1) / static_cast<double>(i);
            v -= C[k - i] * (binom * w[i]);
        }
        C[k] = v / w[0];
    }
    return C;
}

// Inserts u until its multiplicity reaches target (Boehm), in homogeneous coordinates.
template <class P, class V>
void insertKnot(NurbsData<P, V>& c, double u, int target)
{
    const int p = c.degree;
    const bool rational = !c.weights.empty();
    int s = c.knots.multiplicityAt(u);
    if (s > 0) {
        // Snap to the existing knot value so that it is not duplicated by a near copy.
        for (int i = 0; i < c.knots.length(); ++i)
            if (std::fabs(c.knots[i] - u) <= c.knots.tolerance()) {
                u = c.knots[i];
                break;
            }
    }
    for (; s < target; ++s) {
        const int n = c.numCtrl();
        const int k = c.knots.findSpan(p, n, u);
        std::vector<V> Q(ix(n + 1));
        std::vector<double> W(ix(n + 1));
        auto hom = [&](int i) { return c.ctrl[ix(i)].asVector() * c.weight(i); };
        for (int i = 0; i <= k - p; ++i) {
            Q[ix(i)] = hom(i);
            W[ix(i)] = c.weight(i);
        }
        for (int i = k - s; i < n; ++i) {
            Q[ix(i + 1)] = hom(i);
            W[ix(i + 1)] = c.weight(i);
        }
        for (int i = k - p + 1; i <= k - s; ++i) {
            const double alpha = (u - c.knots[i]) / (c.knots[i + p] - c.knots[i]);
            Q[ix(i)] = hom(i) * alpha + hom(i - 1) * (1.0 - alpha);
            W[ix(i)] = c.weight(i) * alpha + c.weight(i - 1) * (1.0 - alpha);
        }
        c.knots.insertAt(k + 1, u);
        c.ctrl.resize(ix(n + 1));
        for (size_t i = 0; i < c.ctrl.size(); ++i)
            c.ctrl[i] = (Q[i] / W[i]).asPoint();
        if (rational)
            c.weights = W;
    }
}

// The pieces before and after an interior parameter u.
template <class P, class V>
void splitAt(const NurbsData<P, V>& c, double u, NurbsData<P, V>& first, NurbsData<P, V>& second)
{
    NurbsData<P, V> r = c;
    insertKnot(r, u, r.degree);
    for (int i = 0; i < r.knots.length(); ++i)
        if (std::fabs(r.knots[i] - u) <= r.knots.tolerance())
            u = r.knots[i];
    const int p = r.degree;
    int k = 0; // last knot equal to u
    for (int i = 0; i < r.knots.length(); ++i)
        if (r.knots[i] == u)
            k = i;
    const std::vector<double>& K = r.knots.asVector();
    first.degree = second.degree = p;
    std::vector<double> k1(K.begin(), K.begin() + k + 1);
    k1.push_back(u);
    std::vector<double> k2{u};
    k2.insert(k2.end(), K.begin() + (k - p + 1), K.end());
    first.knots = OdGeKnotVector(k1, r.knots.tolerance());
    second.knots = OdGeKnotVector(k2, r.knots.tolerance());
    first.ctrl.assign(r.ctrl.begin(), r.ctrl.begin() + (k - p + 1));
    second.ctrl.assign(r.ctrl.begin() + (k - p), r.ctrl.end());
    first.weights.clear();
    second.weights.clear();
    if (!r.weights.empty()) {
        first.weights.assign(r.weights.begin(), r.weights.begin() + (k - p + 1));
        second.weights.assign(r.weights.begin() + (k - p), r.weights.end());
    }
}

// Solves the banded system A x = b by elimination without pivoting, which is stable
// for B-spline collocation matrices (totally positive). Rows hold (first column, values).
template <class V>
std::vector<V> solveBanded(std::vector<std::pair<int, std::vector<double>>> rows, std::vector<V> rhs)
{
    const int n = static_cast<int>(rows.size());
    int kl = 0, ku = 0;
    for (int i = 0; i < n; ++i) {
        const auto& [first, values] = rows[ix(i)];
        kl = std::max(kl, i - first);
        ku = std::max(ku, first + static_cast<int>(values.size()) - 1 - i);
    }
    // Band storage a(i, j - i + kl); fill-in stays inside kl + ku.
    const int width = kl + ku + 1;
    BasisTable a(n, width + kl);
    auto at = [&](int i, int j) -> double& { return a(i, j - i + kl); };
    for (int i = 0; i < n; ++i) {
        const auto& [first, values] = rows[ix(i)];
        for (size_t j = 0; j < values.size(); ++j)
            at(i, first + static_cast<int>(j)) = values[j];
    }
    const int hi = ku + kl; // upper reach of a row after fill-in
    for (int k = 0; k < n; ++k) {
        const double piv = at(k, k);
        assert(piv != 0.0 && "singular interpolation system");
        for (int i = k + 1; i <= std::min(n - 1, k + kl); ++i) {
            const double f = at(i, k) / piv;
            if (f == 0.0)
                continue;
            for (int j = k; j <= std::min(n - 1, k + hi); ++j)
                if (j - i + kl >= 0 && j - i + kl < width + kl)
                    at(i, j) -= f * at(k, j);
            rhs[ix(i)] -= rhs[ix(k)] * f;
        }
    }
    std::vector<V> x(ix(n));
    for (int i = n - 1; i >= 0; --i) {
        V s = rhs[ix(i)];
        for (int j = i + 1; j <= std::min(n - 1, i + hi); ++j)
            if (j - i + kl < width + kl)
                s -= x[ix(j)] * at(i, j);
        x[ix(i)] = s / at(i, i);
    }
    return x;
}

// Interpolating B-spline through fit points with chord-length parameters on [0, 1] and
// knots by averaging. A zero tangent leaves that end free; given tangents are taken as
// directions scaled by the total chord length. Closed: the end joins the start with a
// common tangent. Nullopt when fewer than two distinct points remain, or when points so close
// against the whole length that their parameters coincide would make the system singular.
template <class P, class V>
std::optional<NurbsData<P, V>> interpolate(std::vector<P> pts, V startTan, V endTan, bool closed, int degree,
                                           double eqPoint)
{
    // Drop consecutive duplicates: they would make zero-length chords.
    std::vector<P> q;
    for (const P& p : pts)
        if (q.empty() || !q.back().isEqualTo(p, OdGeTol(eqPoint)))
            q.push_back(p);
    if (closed && q.size() >= 3) {
        if (q.back().isEqualTo(q.front(), OdGeTol(eqPoint)))
            q.back() = q.front();
        else
            q.push_back(q.front());
        if (startTan.isZeroLength() && endTan.isZeroLength()) {
            const V t = q[1] - q[q.size() - 2];
            startTan = endTan = t;
        }
    }
    if (q.size() < 2)
        return std::nullopt;
    const int n = static_cast<int>(q.size()) - 1;
    std::vector<double> ub(q.size(), 0.0);
    double total = 0.0;
    for (size_t k = 1; k < q.size(); ++k)
        total += q[k].distanceTo(q[k - 1]);
    if (!std::isfinite(total))
        return std::nullopt;
    for (size_t k = 1; k < q.size(); ++k)
        ub[k] = ub[k - 1] + q[k].distanceTo(q[k - 1]) / total;
    ub.back() = 1.0;
    for (size_t k = 1; k < ub.size(); ++k)
        if (!(ub[k] > ub[k - 1]))
            return std::nullopt;

    const bool hasStart = !startTan.isZeroLength(), hasEnd = !endTan.isZeroLength();
    const int numCtrl = n + 1 + (hasStart ? 1 : 0) + (hasEnd ? 1 : 0);
    const int p = std::min(degree, numCtrl - 1);
    // Parameters with the ends repeated once per end condition, for knot averaging.
    std::vector<double> ext;
    if (hasStart)
        ext.push_back(0.0);
    ext.insert(ext.end(), ub.begin(), ub.end());
    if (hasEnd)
        ext.push_back(1.0);
    std::vector<double> knots(ix(numCtrl + p + 1), 0.0);
    for (int j = 1; j <= numCtrl - 1 - p; ++j) {
        double s = 0.0;
        for (int i = j; i <= j + p - 1; ++i)
            s += ext[ix(i)];
        knots[ix(j + p)] = s / p;
    }
    std::fill(knots.begin() + numCtrl, knots.end(), 1.0);

    NurbsData<P, V> c;
    c.degree = p;
    c.knots = OdGeKnotVector(knots);
    std::vector<std::pair<int, std::vector<double>>> rows;
    std::vector<V> rhs;
    auto addRow = [&](double u, int deriv, const V& value) {
        const int span = c.knots.findSpan(p, numCtrl, u);
        const auto N = basisDerivs(span, u, p, deriv, c.knots);
        rows.emplace_back(span - p, N.row(deriv));
        rhs.push_back(value);
    };
    addRow(0.0, 0, q[0].asVector());
    if (hasStart)
        addRow(0.0, 1, startTan.normal() * total);
    for (size_t k = 1; k + 1 < q.size(); ++k)
        addRow(ub[k], 0, q[k].asVector());
    if (hasEnd)
        addRow(1.0, 1, endTan.normal() * total);
    addRow(1.0, 0, q.back().asVector());
    const std::vector<V> x = solveBanded(std::move(rows), std::move(rhs));
    for (const V& v : x)
        c.ctrl.push_back(v.asPoint());
    return c;
}

// The definition of an OdGeNurbCurve2d or OdGeNurbCurve3d, read through its accessors.
template <class Curve>
auto dataOf(const Curve& c)
{
    using P = std::decay_t<decltype(c.controlPointAt(0))>;
    NurbsData<P, decltype(P() - P())> d;
    d.degree = c.degree();
    d.knots = c.knots();
    d.ctrl = c.controlPoints();
    d.weights = c.weights();
    return d;
}

// Moves data into the members of a curve class.
template <class P, class V>
void assign(NurbsData<P, V>&& d, int& degree, OdGeKnotVector& knots, std::vector<P>& ctrl, std::vector<double>& weights)
{
    degree = d.degree;
    knots = std::move(d.knots);
    ctrl = std::move(d.ctrl);
    weights = std::move(d.weights);
}

template <class P>
bool isValidDefinition(int degree, const OdGeKnotVector& knots, const std::vector<P>& ctrl,
                       const std::vector<double>& weights)
{
    const int n = static_cast<int>(ctrl.size());
    if (degree < 1 || n < degree + 1 || knots.length() != n + degree + 1 || !knots.isValid())
        return false;
    if (!weights.empty()
        && (static_cast<int>(weights.size()) != n
            || std::any_of(weights.begin(), weights.end(), [](double w) { return !(w > 0.0); })))
        return false;
    return knots[degree] < knots[n];
}

// An elliptical arc as a rational quadratic. Each piece is the affine image of a circular
// quadratic arc: middle control point where the end tangents meet, weight cos(half the
// piece's angle).
template <class Arc>
auto ellipticalArcData(const Arc& arc)
{
    using P = std::decay_t<decltype(arc.center())>;
    using V = std::decay_t<decltype(arc.majorAxis())>;
    NurbsData<P, V> d;
    const double t0 = arc.startAng(), sweep = arc.endAng() - arc.startAng();
    const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / (std::numbers::pi / 2) - 1e-12)));
    const double step = sweep / pieces, w = std::cos(step / 2);
    const V x = arc.majorAxis() * arc.majorRadius(), y = arc.minorAxis() * arc.minorRadius();
    std::vector<double> knots{t0, t0, t0};
    d.degree = 2;
    d.ctrl.push_back(arc.evalPoint(t0));
    d.weights.push_back(1.0);
    for (int i = 0; i < pieces; ++i) {
        const double a = t0 + step * i, mid = a + step / 2, b = a + step;
        d.ctrl.push_back(arc.center() + (x * std::cos(mid) + y * std::sin(mid)) / w);
        d.weights.push_back(w);
        d.ctrl.push_back(arc.evalPoint(b));
        d.weights.push_back(1.0);
        knots.push_back(b);
        knots.push_back(b);
    }
    knots.push_back(t0 + sweep);
    d.knots = OdGeKnotVector(knots);
    return d;
}

// The pieces of a curve before and after param, as the curve classes' getSplitCurves: a
// piece is null when param lies at or beyond that end.
template <class Curve, class Base>
void splitCurve(const Curve& c, double param, std::unique_ptr<Base>& piece1, std::unique_ptr<Base>& piece2)
{
    piece1.reset();
    piece2.reset();
    double lo, hi;
    c.getInterval(lo, hi);
    if (param <= lo + c.knots().tolerance()) {
        piece2 = c.copy();
        return;
    }
    if (param >= hi - c.knots().tolerance()) {
        piece1 = c.copy();
        return;
    }
    decltype(dataOf(c)) a, b;
    splitAt(dataOf(c), param, a, b);
    piece1 = std::make_unique<Curve>(a.degree, a.knots, a.ctrl, a.weights);
    piece2 = std::make_unique<Curve>(b.degree, b.knots, b.ctrl, b.weights);
}

// Several parameters in every knot span of a curve, so each polynomial piece is searched.
template <class Curve>
std::vector<double> seedParams(const Curve& c)
{
    double lo, hi;
    c.getInterval(lo, hi);
    std::vector<double> distinct, out;
    c.knots().getDistinctKnots(distinct);
    const int perSpan = 2 * (c.degree() + 1);
    for (size_t i = 0; i + 1 < distinct.size(); ++i) {
        const double a = std::max(distinct[i], lo), b = std::min(distinct[i + 1], hi);
        if (b <= a)
            continue;
        for (int k = 0; k < perSpan; ++k)
            out.push_back(a + (b - a) * k / perSpan);
    }
    out.push_back(hi);
    return out;
}

} // namespace vantrel::ge
