// Ellipse–circle and ellipse–line intersection by elimination. Everything is solved in the
// ellipse's own frame with lengths divided by its larger radius, so the fixed zero tests of the
// root solvers mean the same for every drawing size. The closed-form roots only locate the
// points: each candidate is refined by Newton's method on the two curve equations written
// about their own centres, taken to the touching point where the curves touch within the point
// tolerance, then checked against both curves and merged with a candidate that found the same
// point.
#include "mathtest/ellipse_intersection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include <vantrel/ge/OdGeContext.h>
#include <vantrel/ge/OdGeLine3d.h>
#include <vantrel/ge/OdGePlane.h>

#include "mathtest/polynomial_roots.h"

namespace vantrel {

namespace {

// When the explicit x = g(y) magnifies errors of y more than this, it cannot tell apart points of
// nearly the same height: each root then also gets both points of the ellipse at its height.
// Every candidate is checked against both curves, so extra ones cost time, never a wrong point.
constexpr double kWeakExplicitX = 100.0;
// Roots beyond this height (the ellipse reaches 1) are removed before the closed-form solve:
// next to them the formulas lose the digits of the roots that matter. A leading coefficient
// below kNegligibleLead of the largest other one changes the polynomial by less than that share
// where the points are, so it is dropped; a far real root is divided out.
constexpr double kFarRoot = 1e3;
constexpr double kNegligibleLead = 1e-7;
// Curves that cross at a smaller sine of their angle count as touching: no Newton step there.
constexpr double kTouchingSine = 1e-9;
// Two refined candidates closer than this share of the smaller curve's size are one point.
constexpr double kSamePoint = 1e-7;
// A touching point is looked for this far (a share of the smaller curve's size) from where
// Newton's method left a candidate. The equations hold within 1e-5 up to about 3e-3 from a
// touching point, and a candidate may be anywhere in that band.
constexpr double kTouchingReach = 1e-2;

// Common points in a plane, at most four, with room for the unmerged ones of a touching point.
using PlanePoints = FixedList<OdGePoint2d, 12>;

// An ellipse with radii a and b centred at the origin along the axes, a circle about (p, q).
struct Curves {
    double a, b, p, q, r;

    double ellipseValue(double x, double y) const
    {
        const double u = x / a, v = y / b;
        return u * u + v * v - 1.0;
    }
    double circleValue(double x, double y) const
    {
        const double dx = x - p, dy = y - q;
        return (dx * dx + dy * dy) / (r * r) - 1.0;
    }
    double size() const { return std::min({a, b, r}); }
};

SeparableQuartic constant(double v)
{
    SeparableQuartic k;
    k.c[8] = v;
    return k;
}

// The polynomial of the x coefficients without its far roots: negligible leading terms dropped,
// and each far real root found by Newton's method from the ratio of the two leading
// coefficients and divided out from the constant term up, which is stable for a large root.
SeparableQuartic withoutFarRoots(const SeparableQuartic& poly)
{
    std::array<double, 5> a{poly.c[8], poly.c[3], poly.c[2], poly.c[1], poly.c[0]}; // lowest first
    std::size_t n = 4;
    while (n > 2) {
        const double others
            = std::fabs(*std::max_element(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n),
                                          [](double l, double r) { return std::fabs(l) < std::fabs(r); }));
        if (std::fabs(a[n]) <= kNegligibleLead * others) {
            a[n--] = 0.0;
            continue;
        }
        double root = -a[n - 1] / a[n];
        if (!(std::fabs(root) > kFarRoot))
            break;
        double value = 0.0, size = 0.0;
        for (int i = 0; i < 8; ++i) {
            double slope = 0.0;
            value = 0.0;
            size = 0.0;
            for (std::size_t k = n + 1; k-- > 0;) {
                slope = slope * root + value;
                value = value * root + a[k];
                size = size * std::fabs(root) + std::fabs(a[k]);
            }
            if (slope == 0.0)
                break;
            root -= value / slope;
        }
        if (!(std::fabs(value) <= 1e-8 * size) || !(std::fabs(root) > kFarRoot))
            break;
        std::array<double, 5> reduced{};
        reduced[0] = -a[0] / root;
        for (std::size_t k = 1; k < n; ++k)
            reduced[k] = (reduced[k - 1] - a[k]) / root;
        a = reduced;
        --n;
    }
    return SeparableQuartic::inX(a[4], a[3], a[2], a[1], a[0]);
}

// (x, y) for each real root x of `curve` with y fixed.
void pointsAtY(double y, const SeparableQuartic& curve, CandidateList& out)
{
    RealRoots xs;
    realRoots(curve.substituteY(constant(y)), xs, OdGeContext::gTol);
    for (double x : xs)
        out.emplace_back(x, y);
}

// (x, y) for each real root y of `curve` with x fixed.
void pointsAtX(double x, const SeparableQuartic& curve, CandidateList& out)
{
    RealRoots ys;
    realRoots(curve.substituteX(constant(x)).yAsX(), ys, OdGeContext::gTol);
    for (double y : ys)
        out.emplace_back(x, y);
}

// Newton's method on the two equations from the candidate; stops where the curves touch, where
// a step would leave the neighbourhood, or once the step is lost in rounding.
OdGePoint2d refine(const Curves& k, OdGePoint2d pt)
{
    const double maxStep = 0.25 * k.size();
    for (int i = 0; i < 8; ++i) {
        const double ex = pt.x / k.a, ey = pt.y / k.b;
        const double e = ex * ex + ey * ey - 1.0;
        const double dx = pt.x - k.p, dy = pt.y - k.q;
        const double c = dx * dx + dy * dy - k.r * k.r;
        const double j11 = 2.0 * ex / k.a, j12 = 2.0 * ey / k.b, j21 = 2.0 * dx, j22 = 2.0 * dy;
        const double det = j11 * j22 - j12 * j21;
        if (!(det * det > kTouchingSine * kTouchingSine * (j11 * j11 + j12 * j12) * (j21 * j21 + j22 * j22)))
            break;
        const double sx = (e * j22 - c * j12) / det;
        const double sy = (j11 * c - j21 * e) / det;
        if (!(sx * sx + sy * sy <= maxStep * maxStep))
            break;
        pt.x -= sx;
        pt.y -= sy;
        if (std::fabs(sx) + std::fabs(sy) <= 1e-16 * (std::fabs(pt.x) + std::fabs(pt.y)))
            break;
    }
    return pt;
}

// Where the circle comes closest to the ellipse near pt, when the curves meet there within the
// point tolerance: they touch (or cross at an angle below about its square root, too close to
// tell apart). Newton's method on the two equations only halves its distance from such a point
// per step, so the two roots of a touching point can be left 2e-4 of its size apart. Here the
// circle's equation along the ellipse, g(t) = C(a cos t, b sin t), is taken to its extremum, a
// simple root of g'. Nothing when the extremum is farther or the curves are apart there
// (crossing at a sine s, the curves are about s² apart at the extremum between two crossings).
std::optional<OdGePoint2d> touchingPoint(const Curves& k, const OdGePoint2d& pt, const OdGeTol& tol)
{
    const double reach = kTouchingReach * k.size();
    const double start = std::atan2(pt.y / k.b, pt.x / k.a);
    double t = start;
    for (int i = 0; i < 16; ++i) {
        const double c = std::cos(t), s = std::sin(t);
        const double dx = k.a * c - k.p, dy = k.b * s - k.q;
        const double slope = -dx * k.a * s + dy * k.b * c; // g'(t) r² / 2
        const double bend = k.a * k.a * s * s + k.b * k.b * c * c - dx * k.a * c - dy * k.b * s;
        if (!(std::fabs(bend) > 0.0))
            return std::nullopt;
        const double step = slope / bend;
        t -= step;
        if (!(std::fabs(t - start) * std::max(k.a, k.b) <= reach))
            return std::nullopt;
        if (std::fabs(step) <= 1e-16 * (1.0 + std::fabs(t)))
            break;
    }
    const OdGePoint2d at(k.a * std::cos(t), k.b * std::sin(t));
    if (!(std::fabs(k.circleValue(at.x, at.y)) <= tol.equalPoint()))
        return std::nullopt;
    return at;
}

// Refines the candidates and keeps, in their order, those on both curves. Candidates that found
// the same point are one point at their mean.
void keepCommonPoints(const Curves& k, const CandidateList& candidates, PlanePoints& kept, const OdGeTol& tol)
{
    const double same = kSamePoint * k.size();
    std::array<int, PlanePoints::kCapacity> merged{};
    for (const OdGePoint2d& candidate : candidates) {
        OdGePoint2d pt = refine(k, candidate);
        if (std::optional<OdGePoint2d> touching = touchingPoint(k, pt, tol))
            pt = *touching;
        if (!(std::fabs(k.ellipseValue(pt.x, pt.y)) <= tol.equalVector()
              && std::fabs(k.circleValue(pt.x, pt.y)) <= tol.equalVector()))
            continue;
        const auto seen = std::find_if(kept.begin(), kept.end(), [&](const OdGePoint2d& other) {
            return (other - pt).lengthSqrd() <= same * same;
        });
        if (seen == kept.end()) {
            merged[kept.size()] = 1;
            kept.push_back(pt);
            continue;
        }
        int& count = merged[static_cast<std::size_t>(seen - kept.begin())];
        ++count;
        *seen = *seen + (pt - *seen) / count;
    }
}

bool validRadius(double r) { return std::isfinite(r) && r > 0.0; }

// The common points of the ellipse x²/a² + y²/b² = 1 and the circle about (p, q), in the
// ellipse's axes. The lengths are divided by the larger radius for the solve.
bool solveInAxes(double a, double b, double p, double q, double r, PlanePoints& points, const OdGeTol& tol)
{
    if (!validRadius(a) || !validRadius(b) || !validRadius(r) || !std::isfinite(p) || !std::isfinite(q))
        return false;
    const double s = std::max(a, b);
    const Curves k{a / s, b / s, p / s, q / s, r / s};
    CandidateList candidates;
    ellipseCircleCandidates(SeparableQuartic::ellipse(k.a, k.b), SeparableQuartic::circle(k.p, k.q, k.r), candidates,
                            tol);
    keepCommonPoints(k, candidates, points, tol);
    for (OdGePoint2d& pt : points)
        pt = OdGePoint2d(pt.x * s, pt.y * s);
    return !points.empty();
}

} // namespace

void ellipseCircleCandidates(const SeparableQuartic& e, const SeparableQuartic& c, CandidateList& candidates,
                             const OdGeTol& tol)
{
    const OdGeTol& g = OdGeContext::gTol;
    SeparableQuartic ellipse = e;
    if (!ellipse.normalise(e.c[2])) {
        // No x²: only a record in y alone (a pair of lines y = const) has points to offer.
        if (e.hasXTerms(g))
            return;
        RealRoots ys;
        realRoots(e.yAsX(), ys, g);
        for (double y : ys)
            pointsAtY(y, c, candidates);
        return;
    }

    SeparableQuartic d = ellipse - c;
    if (d.normalise(d.c[6])) {
        SeparableQuartic xOfY;
        if (!d.explicitX(xOfY, g)) {
            // No x term: the circle's centre is on the line of the ellipse's minor axis, and d
            // alone gives the heights of the points.
            RealRoots ys;
            realRoots(d.yAsX(), ys, g);
            for (double y : ys)
                pointsAtY(y, ellipse, candidates);
            return;
        }
        ComplexRoots roots;
        if (!solveQuartic(withoutFarRoots(c.substituteX(xOfY).yAsX()), roots, g))
            return;
        for (const Complex& y : roots)
            if (std::fabs(y.imag()) <= tol.equalVector())
                candidates.emplace_back(xOfY.evaluate(0.0, y.real()), y.real());
        // A weak x term also splits the double roots of nearly symmetric points into complex
        // pairs: every root's height is then tried with both points of the ellipse there.
        if ((2.0 + std::fabs(d.c[7])) > kWeakExplicitX * std::fabs(d.c[3]))
            for (const Complex& y : roots)
                pointsAtY(y.real(), ellipse, candidates);
        return;
    }

    // The ellipse is a circle: d is the line through the points. Solve it for the variable with
    // the larger coefficient, put that into the ellipse, and each root into the circle.
    SeparableQuartic line;
    if (std::fabs(d.c[7]) >= std::fabs(d.c[3]) && d.explicitY(line, g)) {
        RealRoots xs;
        realRoots(ellipse.substituteY(line), xs, g);
        for (double x : xs)
            pointsAtX(x, c, candidates);
    } else if (d.explicitX(line, g)) {
        RealRoots ys;
        realRoots(ellipse.substituteX(line).yAsX(), ys, g);
        for (double y : ys)
            pointsAtY(y, c, candidates);
    }
}

bool intersectEllipseCircle2d(const OdGeEllipArc2d& ellipse, const OdGeCircArc2d& circle,
                              std::vector<OdGePoint2d>& points, const OdGeTol& tol)
{
    const OdGeVector2d u = ellipse.majorAxis().normal();
    const OdGeVector2d v = ellipse.minorAxis().normal();
    const OdGeVector2d offset = circle.center() - ellipse.center();
    PlanePoints found;
    if (!solveInAxes(ellipse.majorRadius(), ellipse.minorRadius(), offset.dotProduct(u), offset.dotProduct(v),
                     circle.radius(), found, tol))
        return false;
    for (const OdGePoint2d& pt : found)
        points.push_back(ellipse.center() + u * pt.x + v * pt.y);
    return true;
}

bool intersectEllipseLine2d(const OdGeEllipArc2d& ellipse, const OdGeLine2d& line, std::vector<OdGePoint2d>& points,
                            const OdGeTol& tol)
{
    const double a = ellipse.majorRadius(), b = ellipse.minorRadius();
    const OdGeVector2d dir = line.direction();
    if (!validRadius(a) || !validRadius(b) || dir.isZeroLength())
        return false;
    const double s = std::max(a, b);
    const OdGeVector2d u = ellipse.majorAxis().normal();
    const OdGeVector2d v = ellipse.minorAxis().normal();
    const OdGeVector2d offset = line.pointOnLine() - ellipse.center();
    const double x0 = offset.dotProduct(u) / s, y0 = offset.dotProduct(v) / s;
    const double dx = dir.dotProduct(u), dy = dir.dotProduct(v);

    // dy·x − dx·y + (dx·y0 − dy·x0) = 0, solved for the variable along which the line runs more.
    SeparableQuartic lineEq;
    lineEq.c[3] = dy;
    lineEq.c[7] = -dx;
    lineEq.c[8] = dx * y0 - dy * x0;
    const SeparableQuartic e = SeparableQuartic::ellipse(a / s, b / s);
    const OdGeTol& g = OdGeContext::gTol;
    FixedList<OdGePoint2d, 2> local;
    SeparableQuartic solved;
    if (std::fabs(dx) >= std::fabs(dy) && lineEq.explicitY(solved, g)) {
        RealRoots xs;
        realRoots(e.substituteY(solved), xs, g);
        for (double x : xs)
            local.emplace_back(x, solved.evaluate(x, 0.0));
    } else if (lineEq.explicitX(solved, g)) {
        RealRoots ys;
        realRoots(e.substituteX(solved).yAsX(), ys, g);
        for (double y : ys)
            local.emplace_back(solved.evaluate(0.0, y), y);
    }
    const std::size_t before = points.size();
    for (const OdGePoint2d& pt : local)
        if (std::fabs(e.evaluate(pt.x, pt.y)) <= tol.equalVector())
            points.push_back(ellipse.center() + u * (pt.x * s) + v * (pt.y * s));
    return points.size() > before;
}

bool intersectEllipseCircle(const OdGeEllipArc3d& ellipse, const OdGeCircArc3d& circle,
                            std::vector<OdGePoint3d>& points, const OdGeTol& tol)
{
    const double a = ellipse.majorRadius(), b = ellipse.minorRadius(), r = circle.radius();
    if (!validRadius(a) || !validRadius(b) || !validRadius(r))
        return false;

    // The ellipse's frame: origin at its centre, x along the major axis, y along the minor axis.
    // The circle is taken into it by differences first, so that far-off drawings keep their
    // precision.
    const OdGeVector3d u = ellipse.majorAxis().normal();
    const OdGeVector3d v = ellipse.minorAxis().normal();
    const OdGeVector3d n = u.crossProduct(v);
    const OdGeVector3d offset = circle.center() - ellipse.center();
    const OdGePoint3d centre(offset.dotProduct(u), offset.dotProduct(v), offset.dotProduct(n));
    const OdGeVector3d cn = circle.normal();
    const OdGeVector3d normal(cn.dotProduct(u), cn.dotProduct(v), cn.dotProduct(n));

    const auto toWorld = [&](const OdGePoint2d& pt) { return ellipse.center() + u * pt.x + v * pt.y; };
    const std::size_t before = points.size();

    // Parallel planes as OdGeVector3d::isParallelTo decides; the same plane when the circle's
    // centre is within the equal-point tolerance of it, relative to the size of the coordinates.
    const double extent
        = std::max({1.0, a, r, ellipse.center().asVector().length(), circle.center().asVector().length()});
    const double tilt = normal.x * normal.x + normal.y * normal.y;
    const bool parallel = tilt <= tol.equalVector() * tol.equalVector() * normal.lengthSqrd();
    if (parallel && std::fabs(centre.z) <= tol.equalPoint() * extent) {
        PlanePoints found;
        solveInAxes(a, b, centre.x, centre.y, r, found, tol);
        for (const OdGePoint2d& pt : found)
            points.push_back(toWorld(pt));
        return points.size() > before;
    }

    // Different planes: common points lie on the line in which the planes meet. The points of
    // that line on the ellipse are kept where they are on the circle too.
    const OdGePlane ellipsePlane(OdGePoint3d::kOrigin, OdGeVector3d::kZAxis);
    const OdGePlane circlePlane(centre, normal);
    OdGeLine3d meet;
    if (parallel || !ellipsePlane.intersectWith(circlePlane, meet, tol))
        return false;
    const OdGePoint3d on = meet.pointOnLine();
    const OdGeVector3d along = meet.direction();
    std::vector<OdGePoint2d> found;
    intersectEllipseLine2d(OdGeEllipArc2d(OdGePoint2d::kOrigin, OdGeVector2d::kXAxis, OdGeVector2d::kYAxis, a, b),
                           OdGeLine2d(OdGePoint2d(on.x, on.y), OdGeVector2d(along.x, along.y)), found, tol);
    for (const OdGePoint2d& pt : found) {
        const OdGeVector3d fromCentre = OdGePoint3d(pt.x, pt.y, 0.0) - centre;
        if (std::fabs(fromCentre.lengthSqrd() / (r * r) - 1.0) <= tol.equalVector())
            points.push_back(toWorld(pt));
    }
    return points.size() > before;
}

} // namespace vantrel
