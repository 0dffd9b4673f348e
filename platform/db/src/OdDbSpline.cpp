// Spline entity: control or fit data, evaluated by the geometry library's NURBS curve.
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/ge/OdGeNurbCurve3d.h>

#include "entity_math.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbSpline, OdDbCurve, "SPLINE")

namespace {
constexpr int kMaxDegree = 25;
// Relative accuracy of arc lengths, and so of distances along the curve.
constexpr double kLengthTol = 1e-12;

double sizeOf(const std::vector<OdGePoint3d>& points)
{
    double size = 0.0;
    for (const auto& p : points)
        size = std::max(size, (p - OdGePoint3d::kOrigin).length());
    return size;
}

// The normal of the plane through the points: zero when they are collinear, nullopt when no
// plane holds them all.
std::optional<OdGeVector3d> planeNormal(const std::vector<OdGePoint3d>& points, double tol)
{
    OdGeVector3d axis, normal;
    for (const auto& p : points) {
        const OdGeVector3d v = p - points.front();
        if (axis.isZeroLength(OdGeTol(tol))) {
            axis = v;
            continue;
        }
        if (normal.isZeroLength()) {
            const OdGeVector3d c = axis.normal().crossProduct(v);
            if (c.length() > tol)
                normal = c.normal();
            continue;
        }
        if (std::fabs(normal.dotProduct(v)) > tol)
            return std::nullopt;
    }
    return normal;
}

bool isFinite(const OdGeVector3d& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

bool isFinite(const OdGePoint3d& p) { return isFinite(p - OdGePoint3d::kOrigin); }

// The curve through fit points, shared by setFitData and by fit data read from a file so that
// both give the same curve. Closed also when the last point repeats the first.
std::optional<OdGeNurbCurve3d> interpolateFit(const std::vector<OdGePoint3d>& fitPoints, int degree,
                                              const OdGeVector3d& startTangent, const OdGeVector3d& endTangent,
                                              bool closed)
{
    closed = closed || (fitPoints.size() >= 3 && fitPoints.front().isEqualTo(fitPoints.back()));
    return OdGeNurbCurve3d::interpolate(fitPoints, startTangent, endTangent, closed, degree);
}

bool inInterval(const OdGeNurbCurve3d& c, double param)
{
    double start, end;
    c.getInterval(start, end);
    return withinRange(param, start, end);
}

double speedAt(const OdGeNurbCurve3d& c, double param)
{
    std::vector<OdGeVector3d> d;
    c.evalPoint(param, 1, d);
    return d[0].length();
}

// The start of the interval, the distinct knots inside it and its end, with the arc length from
// the start to each: integrated once per span, so that a walk need not start from the beginning.
struct SpanTable {
    std::vector<double> params, lengths;
};

// Measures span by span from the start, up to the last knot not beyond `lastParam` and no further
// than the first span whose end lies farther along than `enoughLength`: a query about one place
// needs the spans before it only.
SpanTable spanTable(const OdGeNurbCurve3d& c, double lastParam = std::numeric_limits<double>::infinity(),
                    double enoughLength = std::numeric_limits<double>::infinity())
{
    double start, end;
    c.getInterval(start, end);
    std::vector<double> knots;
    c.knots().getDistinctKnots(knots);
    knots.erase(std::upper_bound(knots.begin(), knots.end(), end), knots.end());
    knots.push_back(end);
    const double last = std::min(lastParam, end);
    SpanTable t{{start}, {0.0}};
    for (double k : knots) {
        if (k > last || t.lengths.back() > enoughLength)
            break;
        if (k > t.params.back()) {
            t.lengths.push_back(t.lengths.back() + c.length(t.params.back(), k, kLengthTol));
            t.params.push_back(k);
        }
    }
    return t;
}

// The parameter in (from, to) where the length from `from` reaches `need`, given that the whole
// of [from, to] is `whole` > need; `reached` is the length from `from` to it. Newton on the arc
// length, kept inside a shrinking bracket.
double paramWithin(const OdGeNurbCurve3d& c, double from, double to, double need, double whole, double tolerance,
                   double& reached)
{
    double lo = from, hi = to, t = from + (to - from) * (need / whole);
    for (int it = 0; it < 100; ++it) {
        reached = c.length(from, t, kLengthTol);
        const double excess = reached - need;
        if (std::fabs(excess) <= tolerance)
            break;
        (excess < 0.0 ? lo : hi) = t;
        const double speed = speedAt(c, t);
        double next = speed > 0.0 ? t - excess / speed : 0.5 * (lo + hi);
        if (!((next - lo) * (next - hi) < 0.0))
            next = 0.5 * (lo + hi);
        if (std::fabs(next - t) <= 1e-15 * std::max(1.0, std::fabs(t)))
            break;
        t = next;
    }
    return t;
}

// Finds parameters at rising distances, each search going on from where the last one stopped:
// whole spans are skipped by the table, and the arc length is integrated only inside the span
// that holds the distance.
class SpanWalk {
public:
    SpanWalk(const OdGeNurbCurve3d& c, const SpanTable& spans)
        : m_curve(c), m_spans(spans), m_param(spans.params.front()), m_tolerance(kLengthTol * spans.lengths.back())
    {
    }

    // dist within [0, the table's last length] and not less than the one asked before.
    double paramAt(double dist)
    {
        const auto& params = m_spans.params;
        const auto& lengths = m_spans.lengths;
        while (m_span + 2 < params.size() && lengths[m_span + 1] < dist) {
            ++m_span;
            m_param = params[m_span];
            m_reached = lengths[m_span];
        }
        if (dist >= lengths[m_span + 1]) {
            m_param = params[m_span + 1];
            m_reached = lengths[m_span + 1];
        } else if (dist > m_reached) {
            double step;
            m_param = paramWithin(m_curve, m_param, params[m_span + 1], dist - m_reached,
                                  lengths[m_span + 1] - m_reached, m_tolerance, step);
            m_reached += step;
        }
        return m_param;
    }

private:
    const OdGeNurbCurve3d& m_curve;
    const SpanTable& m_spans;
    std::size_t m_span = 0;
    double m_param, m_reached = 0.0; // where the walk is, and its distance from the start
    double m_tolerance;
};
} // namespace

namespace {

void requireNurbs(int degree, bool rational, const std::vector<OdGePoint3d>& controlPoints,
                  const std::vector<double>& knots, const std::vector<double>& weights)
{
    const int n = static_cast<int>(controlPoints.size());
    if (degree < 1 || degree > kMaxDegree)
        throw OdError(eInvalidInput, "a spline degree is 1 to 25");
    if (n < degree + 1)
        throw OdError(eInvalidInput, "a spline needs more control points than its degree");
    if (static_cast<int>(knots.size()) != n + degree + 1)
        throw OdError(eInvalidInput, "a spline needs control points + degree + 1 knots");
    for (const auto& p : controlPoints)
        requireFinite(p, "a control point");
    for (std::size_t i = 0; i < knots.size(); ++i) {
        requireFinite(knots[i], "a knot");
        if (i > 0 && knots[i] < knots[i - 1])
            throw OdError(eInvalidInput, "knots must not decrease");
    }
    if (!(knots[static_cast<std::size_t>(degree)] < knots[static_cast<std::size_t>(n)]))
        throw OdError(eInvalidInput, "the knots leave the spline an empty interval");
    if (rational) {
        if (static_cast<int>(weights.size()) != n)
            throw OdError(eInvalidInput, "a rational spline needs one weight per control point");
        for (double w : weights)
            requirePositive(w, "a weight");
    }
}

void requireFitTolerance(double fitTolerance)
{
    requireFinite(fitTolerance, "a fit tolerance");
    if (fitTolerance < 0.0)
        throw OdError(eInvalidInput, "a fit tolerance must not be negative");
}

} // namespace

void OdDbSpline::setNurbsData(int degree, bool rational, bool closed, bool periodic,
                              const std::vector<OdGePoint3d>& controlPoints, const std::vector<double>& knots,
                              const std::vector<double>& weights, double controlPtTol, double knotTol)
{
    requireNurbs(degree, rational, controlPoints, knots, weights);
    requireFinite(controlPtTol, "a tolerance");
    requireFinite(knotTol, "a tolerance");
    assertWriteEnabled();
    m_data.degree = static_cast<std::int16_t>(degree);
    m_data.controlPoints = controlPoints;
    m_data.knots = knots;
    m_data.weights = rational ? weights : std::vector<double>();
    m_data.fitPoints.clear();
    m_data.startTangent = m_data.endTangent = OdGeVector3d();
    m_data.controlPointTolerance = controlPtTol;
    m_data.knotTolerance = knotTol;
    m_data.flags
        = static_cast<std::int16_t>((closed ? kClosed : 0) | (periodic ? kPeriodic : 0) | (rational ? kRational : 0));
    updatePlanarity();
}

void OdDbSpline::checkData() const
{
    assertReadEnabled();
    const Data& d = m_data;
    if (d.controlPoints.empty() && !d.fitPoints.empty()) {
        // A curve given by its fit points alone.
        if (d.degree < 1 || d.degree > kMaxDegree)
            throw OdError(eInvalidInput, "a spline degree is 1 to 25");
    } else {
        requireNurbs(d.degree, d.flags & kRational, d.controlPoints, d.knots, d.weights);
    }
    requireFitTolerance(d.fitTolerance);
}

void OdDbSpline::getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                              std::vector<OdGePoint3d>& controlPoints, std::vector<double>& knots,
                              std::vector<double>& weights, double& controlPtTol, double& knotTol) const
{
    assertReadEnabled();
    degree = m_data.degree;
    rational = m_data.flags & kRational;
    closed = m_data.flags & kClosed;
    periodic = m_data.flags & kPeriodic;
    controlPoints = m_data.controlPoints;
    knots = m_data.knots;
    weights = m_data.weights;
    controlPtTol = m_data.controlPointTolerance;
    knotTol = m_data.knotTolerance;
}

void OdDbSpline::setFitData(const std::vector<OdGePoint3d>& fitPoints, int degree, double fitTolerance,
                            const OdGeVector3d& startTangent, const OdGeVector3d& endTangent)
{
    if (degree < 1 || degree > kMaxDegree)
        throw OdError(eInvalidInput, "a spline degree is 1 to 25");
    for (const auto& p : fitPoints)
        requireFinite(p, "a fit point");
    requireFinite(startTangent, "a start tangent");
    requireFinite(endTangent, "an end tangent");
    requireFitTolerance(fitTolerance);
    const auto curve = interpolateFit(fitPoints, degree, startTangent, endTangent, false);
    if (!curve)
        throw OdError(eInvalidInput, "a spline needs at least two distinct fit points, not too close together");
    assertWriteEnabled();
    m_data.degree = static_cast<std::int16_t>(curve->degree());
    m_data.knots = curve->knots().asVector();
    m_data.controlPoints = curve->controlPoints();
    m_data.weights.clear();
    m_data.fitPoints = fitPoints;
    m_data.fitTolerance = fitTolerance;
    m_data.startTangent = startTangent;
    m_data.endTangent = endTangent;
    m_data.flags = curve->startPoint().isEqualTo(curve->endPoint()) ? kClosed : 0;
    updatePlanarity();
}

bool OdDbSpline::getFitData(std::vector<OdGePoint3d>& fitPoints, int& degree, double& fitTolerance,
                            OdGeVector3d& startTangent, OdGeVector3d& endTangent) const
{
    if (!hasFitData())
        return false;
    fitPoints = m_data.fitPoints;
    degree = m_data.degree;
    fitTolerance = m_data.fitTolerance;
    startTangent = m_data.startTangent;
    endTangent = m_data.endTangent;
    return true;
}

bool OdDbSpline::hasFitData() const
{
    assertReadEnabled();
    return !m_data.fitPoints.empty();
}

int OdDbSpline::numControlPoints() const
{
    assertReadEnabled();
    return static_cast<int>(m_data.controlPoints.size());
}

void OdDbSpline::getControlPointAt(int index, OdGePoint3d& point) const
{
    if (index < 0 || index >= numControlPoints())
        throw OdError_InvalidIndex();
    point = m_data.controlPoints[static_cast<std::size_t>(index)];
}

void OdDbSpline::setControlPointAt(int index, const OdGePoint3d& point)
{
    if (index < 0 || index >= numControlPoints())
        throw OdError_InvalidIndex();
    requireFinite(point, "a control point");
    assertWriteEnabled();
    m_data.controlPoints[static_cast<std::size_t>(index)] = point;
    m_data.fitPoints.clear();
    m_data.startTangent = m_data.endTangent = OdGeVector3d();
    updatePlanarity();
}

double OdDbSpline::weightAt(int index) const
{
    if (index < 0 || index >= numControlPoints())
        throw OdError_InvalidIndex();
    return m_data.weights.empty() ? 1.0 : m_data.weights[static_cast<std::size_t>(index)];
}

int OdDbSpline::numFitPoints() const
{
    assertReadEnabled();
    return static_cast<int>(m_data.fitPoints.size());
}

void OdDbSpline::updatePlanarity()
{
    const auto c = curve();
    if (!c)
        return;
    const std::vector<OdGePoint3d>& points = c->controlPoints();
    const auto n = planeNormal(points, pointTolerance(sizeOf(points)));
    m_data.flags = static_cast<std::int16_t>(m_data.flags & ~(kPlanar | kLinear));
    if (!n)
        return;
    m_data.flags = static_cast<std::int16_t>(m_data.flags | kPlanar | (n->isZeroLength() ? kLinear : 0));
    if (!n->isZeroLength())
        m_data.normal = n->dotProduct(m_data.normal) < 0.0 ? -*n : *n;
}

std::optional<OdGeNurbCurve3d> OdDbSpline::curve() const
{
    assertReadEnabled();
    const std::size_t n = m_data.controlPoints.size();
    const std::size_t p = m_data.degree > 0 ? static_cast<std::size_t>(m_data.degree) : 0;
    // Data read from a file may have falling knots or weights that are not positive.
    if (p > 0 && n > p && m_data.knots.size() == n + p + 1 && (m_data.weights.empty() || m_data.weights.size() == n)
        && m_data.knots[p] < m_data.knots[n]
        && OdGeNurbCurve3d::isValidDefinition(m_data.degree, OdGeKnotVector(m_data.knots), m_data.controlPoints,
                                              m_data.weights))
        return OdGeNurbCurve3d(m_data.degree, OdGeKnotVector(m_data.knots), m_data.controlPoints, m_data.weights);
    return fitCurve();
}

std::optional<OdGeNurbCurve3d> OdDbSpline::fitCurve() const
{
    const Data& d = m_data;
    if (d.degree < 1 || d.degree > kMaxDegree || d.fitPoints.size() < 2 || !isFinite(d.startTangent)
        || !isFinite(d.endTangent)
        || !std::all_of(d.fitPoints.begin(), d.fitPoints.end(), [](const OdGePoint3d& p) { return isFinite(p); }))
        return std::nullopt;
    return interpolateFit(d.fitPoints, d.degree, d.startTangent, d.endTangent, d.flags & (kClosed | kPeriodic));
}

bool OdDbSpline::isClosed() const
{
    const auto c = curve();
    return c && c->startPoint().isEqualTo(c->endPoint(), OdGeTol(pointTolerance(sizeOf(c->controlPoints()))));
}

bool OdDbSpline::isPeriodic() const
{
    assertReadEnabled();
    return m_data.flags & kPeriodic;
}

OdResult OdDbSpline::getStartParam(double& param) const
{
    const auto c = curve();
    if (!c)
        return eDegenerateGeometry;
    double end;
    c->getInterval(param, end);
    return eOk;
}

OdResult OdDbSpline::getEndParam(double& param) const
{
    const auto c = curve();
    if (!c)
        return eDegenerateGeometry;
    double start;
    c->getInterval(start, param);
    return eOk;
}

OdResult OdDbSpline::getPointAtParam(double param, OdGePoint3d& point) const
{
    const auto c = curve();
    if (!c)
        return eDegenerateGeometry;
    if (!inInterval(*c, param))
        return eInvalidInput;
    point = c->evalPoint(param);
    return eOk;
}

OdResult OdDbSpline::getParamAtPoint(const OdGePoint3d& point, double& param) const
{
    const auto c = curve();
    if (!c)
        return eDegenerateGeometry;
    const double t = c->paramOf(point);
    if (c->evalPoint(t).distanceTo(point) > pointTolerance(sizeOf(c->controlPoints())))
        return eInvalidInput;
    param = t;
    return eOk;
}

OdResult OdDbSpline::getDistAtParam(double param, double& dist) const
{
    const auto c = curve();
    if (!c)
        return eDegenerateGeometry;
    if (!inInterval(*c, param))
        return eInvalidInput;
    double start, end;
    c->getInterval(start, end);
    const double at = std::clamp(param, start, end);
    const SpanTable spans = spanTable(*c, at);
    dist = spans.lengths.back() + c->length(spans.params.back(), at, kLengthTol);
    return eOk;
}

OdResult OdDbSpline::getParamAtDist(double dist, double& param) const
{
    const auto c = curve();
    if (!c)
        return eDegenerateGeometry;
    // Measured past the distance only, or to the end when it is not beyond the start: the range
    // check then decides as it would against the whole length.
    const SpanTable spans = spanTable(*c, std::numeric_limits<double>::infinity(),
                                      dist > 0.0 ? dist : std::numeric_limits<double>::infinity());
    const double measured = spans.lengths.back();
    if (!withinRange(dist, 0.0, measured))
        return eInvalidInput;
    param = SpanWalk(*c, spans).paramAt(std::clamp(dist, 0.0, measured));
    return eOk;
}

OdResult OdDbSpline::getPointsAtDists(std::span<const double> dists, std::vector<OdGePoint3d>& points) const
{
    const auto c = curve();
    if (!c)
        return eDegenerateGeometry;
    const SpanTable spans = spanTable(*c);
    const double total = spans.lengths.back();
    for (double d : dists)
        if (!withinRange(d, 0.0, total))
            return eInvalidInput;
    std::vector<std::size_t> order(dists.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return dists[a] < dists[b]; });

    std::vector<OdGePoint3d> found(dists.size());
    SpanWalk walk(*c, spans);
    for (std::size_t i : order)
        found[i] = c->evalPoint(walk.paramAt(std::clamp(dists[i], 0.0, total)));
    points = std::move(found);
    return eOk;
}

OdResult OdDbSpline::derivAt(double param, int order, OdGeVector3d& deriv) const
{
    const auto c = curve();
    if (!c)
        return eDegenerateGeometry;
    if (!inInterval(*c, param))
        return eInvalidInput;
    std::vector<OdGeVector3d> d;
    c->evalPoint(param, order, d);
    deriv = d[static_cast<std::size_t>(order - 1)];
    return eOk;
}

OdResult OdDbSpline::getFirstDeriv(double param, OdGeVector3d& deriv) const { return derivAt(param, 1, deriv); }

OdResult OdDbSpline::getSecondDeriv(double param, OdGeVector3d& deriv) const { return derivAt(param, 2, deriv); }

OdResult OdDbSpline::getClosestPointTo(const OdGePoint3d& given, OdGePoint3d& closest, bool) const
{
    const auto c = curve();
    if (!c)
        return eDegenerateGeometry;
    closest = c->closestPointTo(given);
    return eOk;
}

OdResult OdDbSpline::getPlane(OdGePlane& plane) const
{
    const auto c = curve();
    if (!c)
        return eDegenerateGeometry;
    const std::vector<OdGePoint3d>& points = c->controlPoints();
    const auto n = planeNormal(points, pointTolerance(sizeOf(points)));
    if (!n)
        return eNotImplementedYet;
    OdGeVector3d normal = *n;
    if (normal.isZeroLength()) {
        // A straight spline lies in many planes: prefer the one across its normal.
        const OdGeVector3d along = points.back() - points.front();
        normal = along.isZeroLength() || along.isPerpendicularTo(m_data.normal) ? m_data.normal : along.perpVector();
    }
    plane.set(points.front(), normal);
    return eOk;
}

void OdDbSpline::transformBy(const OdGeMatrix3d& xform)
{
    requireInvertible(xform);
    OdGeVector3d normal = m_data.normal;
    normal.transformBy(xform.inverse().transpose());
    assertWriteEnabled();
    for (auto& p : m_data.controlPoints)
        p.transformBy(xform);
    for (auto& p : m_data.fitPoints)
        p.transformBy(xform);
    m_data.startTangent.transformBy(xform);
    m_data.endTangent.transformBy(xform);
    m_data.normal = normal.normal();
    updatePlanarity();
}

void OdDbSpline::subWorldDraw(vantrel::WorldDraw& wd) const
{
    const auto curveOrNone = curve();
    if (!curveOrNone)
        return;
    const OdGeNurbCurve3d& c = *curveOrNone;
    double start, end;
    c.getInterval(start, end);
    OdGePoint3d lo = c.controlPoints().front(), hi = lo;
    for (const auto& p : c.controlPoints()) {
        lo.set(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi.set(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
    // Chords within a ten-thousandth of the curve's size, but never finer than the doubles far
    // from the origin can tell apart: the number of chords follows the curve's shape, not where
    // it lies.
    const double reach = std::max(
        {std::fabs(lo.x), std::fabs(lo.y), std::fabs(lo.z), std::fabs(hi.x), std::fabs(hi.y), std::fabs(hi.z)});
    std::vector<OdGePoint3d> points;
    c.appendSamplePoints(start, end, std::max({1e-4 * lo.distanceTo(hi), 1e-12 * reach, 1e-9}), points);
    std::vector<vantrel::PathVertex> path(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        path[i].point = points[i];
    wd.path(path, false, m_data.normal);
}
