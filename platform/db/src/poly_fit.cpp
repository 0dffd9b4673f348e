// Curve fitting with tangent arcs, uniform B-spline curves and B-spline/Bezier surfaces.
#include "poly_fit.h"

#include <vantrel/db/OdDbDatabase.h>

#include <algorithm>
#include <cassert>
#include <cmath>

namespace vantrel::polyfit {

namespace {

// Signed angle from u to v in (-pi, pi].
double signedAngle(const OdGeVector2d& u, const OdGeVector2d& v)
{
    return std::atan2(u.crossProduct(v), u.dotProduct(v));
}

OdGeVector2d direction(double angle) { return {std::cos(angle), std::sin(angle)}; }

// tan(sweep / 4); a turn left by rounding alone (a straight segment) is no arc at all.
double bulgeOfHalfSweep(double halfSweep) { return std::fabs(halfSweep) < 1e-12 ? 0.0 : std::tan(0.5 * halfSweep); }

// Tangent at b of the circle through a, b, c (see vertexTangents); falls back to the chords
// when neighbours coincide.
OdGeVector2d middleTangent(const OdGePoint2d& a, const OdGePoint2d& b, const OdGePoint2d& c)
{
    const OdGeVector2d ab = b - a, bc = c - b, ac = c - a;
    if (ab.isZeroLength())
        return bc.isZeroLength() ? OdGeVector2d(1.0, 0.0) : bc.normal();
    if (bc.isZeroLength() || ac.isZeroLength())
        return ab.normal();
    // Chord ab lies half the arc ab before the tangent at b, chord bc half the arc bc after it,
    // and chord ac in between: the tangent is ab + bc - ac in angles.
    return direction(ab.angle() + signedAngle(ab, bc) - signedAngle(ab, ac));
}

// The tangent at an end a mirrored from the tangent tb at its neighbour b about chord ab.
OdGeVector2d endTangent(const OdGePoint2d& a, const OdGePoint2d& b, const OdGeVector2d& tb)
{
    const OdGeVector2d ab = b - a;
    if (ab.isZeroLength())
        return tb;
    return direction(2.0 * ab.angle() - tb.angle());
}

// A B-spline curve of points in space, evaluated with de Boor's algorithm.
struct BSpline {
    int degree = 1;
    std::vector<double> knots;
    std::vector<OdGePoint3d> control;
    // de Boor's working points, kept between evaluations.
    mutable std::vector<OdGeVector3d> scratch;

    double lo() const { return knots[static_cast<std::size_t>(degree)]; }
    double hi() const { return knots[control.size()]; }

    static BSpline make(std::span<const OdGePoint3d> points, int degree, bool closed)
    {
        assert(points.size() >= 2);
        BSpline s;
        const int n = static_cast<int>(points.size());
        s.degree = std::clamp(degree, 1, n - 1);
        const int p = s.degree;
        s.control.assign(points.begin(), points.end());
        if (closed) {
            // Periodic: the first p points again at the end, uniform knots throughout.
            for (int i = 0; i < p; ++i)
                s.control.push_back(points[static_cast<std::size_t>(i)]);
            for (int i = 0; i < static_cast<int>(s.control.size()) + p + 1; ++i)
                s.knots.push_back(i);
        } else {
            // Clamped: p + 1 equal knots at each end, so the curve starts and ends at the ends.
            for (int i = 0; i <= p; ++i)
                s.knots.push_back(0.0);
            for (int i = 1; i < n - p; ++i)
                s.knots.push_back(i);
            for (int i = 0; i <= p; ++i)
                s.knots.push_back(n - p);
        }
        return s;
    }

    // The knot span of u: the last k in [degree, control count) with knots[k] <= u. A binary
    // search, so that sampling a long frame costs its length, not its length squared.
    std::size_t span(double u) const
    {
        const auto first = knots.begin() + degree + 1;
        const auto last = knots.begin() + static_cast<std::ptrdiff_t>(control.size());
        return static_cast<std::size_t>(std::upper_bound(first, last, u) - knots.begin()) - 1;
    }

    OdGePoint3d eval(double u) const
    {
        const std::size_t k = span(u);
        const std::size_t p = static_cast<std::size_t>(degree);
        std::vector<OdGeVector3d>& d = scratch;
        d.resize(p + 1);
        for (std::size_t j = 0; j <= p; ++j)
            d[j] = control[j + k - p].asVector();
        for (std::size_t r = 1; r <= p; ++r) {
            for (std::size_t j = p; j >= r; --j) {
                const double k0 = knots[j + k - p], k1 = knots[j + 1 + k - r];
                const double alpha = k1 > k0 ? (u - k0) / (k1 - k0) : 0.0;
                d[j] = d[j - 1] * (1.0 - alpha) + d[j] * alpha;
            }
        }
        return d[p].asPoint();
    }

    // The derivative curve: degree one lower, control points from differences.
    BSpline derivative() const
    {
        BSpline der;
        der.degree = degree - 1;
        der.knots.assign(knots.begin() + 1, knots.end() - 1);
        for (std::size_t i = 0; i + 1 < control.size(); ++i) {
            const double dk = knots[i + static_cast<std::size_t>(degree) + 1] - knots[i + 1];
            const OdGeVector3d q = dk > 0.0 ? (control[i + 1] - control[i]) * (degree / dk) : OdGeVector3d();
            der.control.push_back(q.asPoint());
        }
        return der;
    }
};

// Parameters of `count` samples over [lo, hi], the end included unless the curve is closed.
double sampleParam(double lo, double hi, int i, int count, bool closed)
{
    const int steps = closed ? count : count - 1;
    return steps == 0 ? lo : lo + (hi - lo) * i / steps;
}

} // namespace

std::vector<OdGeVector2d> vertexTangents(std::span<const OdGePoint2d> points, bool closed,
                                         std::span<const std::optional<OdGeVector2d>> given)
{
    assert(points.size() == given.size());
    const std::size_t n = points.size();
    std::vector<OdGeVector2d> t(n, OdGeVector2d(1.0, 0.0));
    if (n < 2)
        return t;
    if (n == 2) {
        const OdGeVector2d chord = points[1] - points[0];
        t[0] = t[1] = chord.isZeroLength() ? OdGeVector2d(1.0, 0.0) : chord.normal();
        // Closed, the path runs there and back: smooth all round it is the circle on the chord.
        if (closed) {
            t[0] = t[0].perpVector();
            t[1] = -t[0];
        }
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            if (!closed && (i == 0 || i == n - 1))
                continue;
            t[i] = middleTangent(points[(i + n - 1) % n], points[i], points[(i + 1) % n]);
        }
        if (!closed) {
            t[0] = endTangent(points[0], points[1], given[1] ? given[1]->normal() : t[1]);
            t[n - 1] = endTangent(points[n - 1], points[n - 2], given[n - 2] ? given[n - 2]->normal() : t[n - 2]);
        }
    }
    for (std::size_t i = 0; i < n; ++i)
        if (given[i] && !given[i]->isZeroLength())
            t[i] = given[i]->normal();
    return t;
}

double bulgeLeaving(const OdGePoint2d& a, const OdGeVector2d& t, const OdGePoint2d& b)
{
    const OdGeVector2d chord = b - a;
    if (chord.isZeroLength() || t.isZeroLength())
        return 0.0;
    // The chord turns from the start tangent by half the sweep; bulge = tan(sweep / 4).
    return bulgeOfHalfSweep(signedAngle(t, chord));
}

double bulgeArriving(const OdGePoint2d& a, const OdGePoint2d& b, const OdGeVector2d& t)
{
    const OdGeVector2d chord = b - a;
    if (chord.isZeroLength() || t.isZeroLength())
        return 0.0;
    return bulgeOfHalfSweep(signedAngle(chord, t));
}

BiArc biarc(const OdGePoint2d& a, const OdGeVector2d& ta, const OdGePoint2d& b, const OdGeVector2d& tb)
{
    // Equal tangent lengths alpha: Q0 = a + alpha*ta and Q1 = b - alpha*tb lie 2*alpha apart,
    // and the junction is their midpoint.
    const OdGeVector2d d = b - a;
    const OdGeVector2d v = ta + tb;
    const double denom = 2.0 * (1.0 - ta.dotProduct(tb));
    double alpha = -1.0;
    if (denom > 1e-12) {
        const double dv = d.dotProduct(v);
        alpha = (-dv + std::sqrt(dv * dv + denom * d.dotProduct(d))) / denom;
    } else if (d.dotProduct(tb) > 0.0) {
        alpha = d.dotProduct(d) / (4.0 * d.dotProduct(tb));
    }
    BiArc r;
    if (alpha > 0.0 && std::isfinite(alpha)) {
        const OdGePoint2d q0 = a + ta * alpha, q1 = b - tb * alpha;
        r.junction = q0 + (q1 - q0) * 0.5;
    } else {
        r.junction = a + d * 0.5;
    }
    r.bulge1 = bulgeLeaving(a, ta, r.junction);
    r.bulge2 = bulgeArriving(r.junction, b, tb);
    return r;
}

SplineSamples sampleSpline(std::span<const OdGePoint3d> control, int degree, bool closed, int perSpan)
{
    assert(control.size() >= 2 && perSpan >= 1);
    const BSpline curve = BSpline::make(control, degree, closed);
    const BSpline der = curve.derivative();
    const double lo = curve.lo(), hi = curve.hi();
    const int spans = static_cast<int>(std::lround(hi - lo));
    const int count = closed ? spans * perSpan : spans * perSpan + 1;
    SplineSamples out;
    for (int i = 0; i < count; ++i) {
        const double u = sampleParam(lo, hi, i, count, closed);
        out.points.push_back(curve.eval(u));
        out.tangents.push_back(der.degree >= 0 && !der.control.empty() ? der.eval(u).asVector() : OdGeVector3d());
        out.params.push_back((u - lo) / (hi - lo));
    }
    return out;
}

std::vector<OdGePoint3d> sampleSurface(std::span<const OdGePoint3d> control, int mCount, int nCount, int degree,
                                       bool closedM, bool closedN, int rows, int cols)
{
    assert(static_cast<int>(control.size()) == mCount * nCount && mCount >= 2 && nCount >= 2);
    // A Bezier patch is the clamped B-spline whose degree is one less than its point count;
    // a closed direction repeats its first point so that the patch comes back round.
    const bool bezier = degree == 0;
    auto curveOf = [&](std::vector<OdGePoint3d> pts, bool closed) {
        if (bezier) {
            if (closed)
                pts.push_back(pts.front());
            return BSpline::make(pts, static_cast<int>(pts.size()) - 1, false);
        }
        return BSpline::make(pts, degree, closed);
    };
    // A closed direction ends where it starts (periodic, or Bezier come back round): its last
    // sample would repeat the first.
    const bool periodicM = closedM, periodicN = closedN;

    std::vector<OdGePoint3d> out(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
    // Evaluate every control row along N at the sample columns, then those columns along M.
    std::vector<BSpline> rowCurves;
    rowCurves.reserve(static_cast<std::size_t>(mCount));
    for (int m = 0; m < mCount; ++m) {
        const auto first = control.begin() + static_cast<std::ptrdiff_t>(m) * nCount;
        rowCurves.push_back(curveOf(std::vector<OdGePoint3d>(first, first + nCount), closedN));
    }
    for (int c = 0; c < cols; ++c) {
        const BSpline& r0 = rowCurves.front();
        const double v = sampleParam(r0.lo(), r0.hi(), c, cols, periodicN);
        std::vector<OdGePoint3d> column;
        column.reserve(rowCurves.size());
        for (const BSpline& rc : rowCurves)
            column.push_back(rc.eval(v));
        const BSpline colCurve = curveOf(column, closedM);
        for (int r = 0; r < rows; ++r) {
            const double u = sampleParam(colCurve.lo(), colCurve.hi(), r, rows, periodicM);
            out[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)]
                = colCurve.eval(u);
        }
    }
    return out;
}

SplineFitSettings splineFitSettings(const OdDbDatabase* db)
{
    SplineFitSettings settings;
    if (db) {
        settings.quadratic = db->sysVarInt(L"SPLINETYPE") == 5;
        settings.segments = static_cast<std::int16_t>(db->sysVarInt(L"SPLINESEGS"));
    }
    return settings;
}

} // namespace vantrel::polyfit
