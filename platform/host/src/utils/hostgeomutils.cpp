// A spline followed by a 2D polyline, piece by piece with halving where the spline bends away
// from a chord, and a 2D polyline's drawn path as a lightweight polyline.
#include <vantrel/host/hostgeomutils.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGePlane.h>

namespace {

constexpr int kMostHalvings = 10;

// Where the spline's pieces begin and end: its distinct knots within the curve's range, or for a
// spline known by its fit points alone, equal steps between as many breaks as it has points.
std::vector<double> spanBreaks(const OdDbSpline& spline, double start, double end)
{
    const OdDbSpline::Data& d = spline.data();
    const double apart = 1e-12 * (end - start);
    std::vector<double> breaks{start};
    if (!d.controlPoints.empty()) {
        for (double knot : d.knots)
            if (knot > breaks.back() + apart && knot < end - apart)
                breaks.push_back(knot);
    } else {
        const int pieces = std::max(1, spline.numFitPoints() - 1);
        for (int i = 1; i < pieces; ++i)
            breaks.push_back(start + (end - start) * i / pieces);
    }
    breaks.push_back(end);
    return breaks;
}

double distanceToChord(const OdGePoint3d& p, const OdGePoint3d& a, const OdGePoint3d& b)
{
    const OdGeVector3d ab = b - a;
    const double length2 = ab.dotProduct(ab);
    if (length2 == 0.0)
        return p.distanceTo(a);
    const double t = std::clamp((p - a).dotProduct(ab) / length2, 0.0, 1.0);
    return p.distanceTo(a + ab * t);
}

// Points along the spline with their parameters.
struct Samples {
    std::vector<OdGePoint3d> points;
    std::vector<double> params;
};

// Appends the end of the piece from u0 to u1, after the points that halving it needs.
void addPiece(const OdDbSpline& spline, double u0, const OdGePoint3d& p0, double u1, const OdGePoint3d& p1,
              double tolerance, int halvings, Samples& samples)
{
    if (tolerance > 0.0 && halvings < kMostHalvings) {
        const double middle = 0.5 * (u0 + u1);
        OdGePoint3d pm;
        if (spline.getPointAtParam(middle, pm) == eOk && distanceToChord(pm, p0, p1) > tolerance) {
            addPiece(spline, u0, p0, middle, pm, tolerance, halvings + 1, samples);
            addPiece(spline, middle, pm, u1, p1, tolerance, halvings + 1, samples);
            return;
        }
    }
    samples.points.push_back(p1);
    samples.params.push_back(u1);
}

} // namespace

OdDb2dPolylinePtr HostGeUtils::NURBSToPolyline2DAsSplineFit(const OdDbSpline& spline, int segments, double tolerance)
{
    double start = 0.0, end = 0.0;
    OdGePlane plane;
    if (spline.getStartParam(start) != eOk || spline.getEndParam(end) != eOk || !(end > start)
        || spline.getPlane(plane) != eOk)
        return OdDb2dPolylinePtr();
    // The spline's own normal where the plane agrees with it, so that a spline drawn in the XY
    // plane gives a polyline seen from above.
    OdGeVector3d normal = plane.normal();
    if (normal.dotProduct(spline.data().normal) < 0.0)
        normal = -normal;

    const int perSpan = std::max(1, std::abs(segments));
    const std::vector<double> breaks = spanBreaks(spline, start, end);
    Samples samples;
    OdGePoint3d previous;
    if (spline.getPointAtParam(start, previous) != eOk)
        return OdDb2dPolylinePtr();
    samples.points.push_back(previous);
    samples.params.push_back(start);
    for (std::size_t s = 0; s + 1 < breaks.size(); ++s) {
        for (int k = 1; k <= perSpan; ++k) {
            const double u0 = breaks[s] + (breaks[s + 1] - breaks[s]) * (k - 1) / perSpan;
            const double u1 = k == perSpan ? breaks[s + 1] : breaks[s] + (breaks[s + 1] - breaks[s]) * k / perSpan;
            OdGePoint3d next;
            if (spline.getPointAtParam(u1, next) != eOk)
                return OdDb2dPolylinePtr();
            addPiece(spline, u0, previous, u1, next, tolerance, 0, samples);
            previous = next;
        }
    }
    const bool closed = spline.isClosed();
    if (closed && samples.points.size() > 2 && samples.points.back().isEqualTo(samples.points.front())) {
        samples.points.pop_back();
        samples.params.pop_back();
    }
    if (samples.points.size() < 2)
        return OdDb2dPolylinePtr();

    const OdGeMatrix3d toPlane = OdGeMatrix3d::worldToPlane(normal);
    OdDb2dPolylinePtr polyline = OdDb2dPolyline::createObject();
    polyline->setNormal(normal);
    polyline->setElevation(OdGePoint3d(samples.points.front()).transformBy(toPlane).z);
    for (std::size_t i = 0; i < samples.points.size(); ++i) {
        const OdGePoint3d local = OdGePoint3d(samples.points[i]).transformBy(toPlane);
        OdDb2dVertexPtr vertex = OdDb2dVertex::createObject();
        vertex->setPosition(OdGePoint3d(local.x, local.y, 0.0));
        // Arcs leave and reach each point along the spline itself.
        OdGeVector3d tangent;
        if (segments < 0 && spline.getFirstDeriv(samples.params[i], tangent) == eOk && !tangent.isZeroLength()) {
            tangent.transformBy(toPlane);
            vertex->setTangent(std::atan2(tangent.y, tangent.x));
            vertex->useTangent();
        }
        polyline->appendVertex(vertex.get());
    }
    if (closed)
        polyline->makeClosed();
    if (segments < 0)
        polyline->curveFit();
    return polyline;
}

OdDbPolylinePtr HostGeUtils::polyFrom2dPoly(OdDb2dPolyline& polyline)
{
    if (polyline.numVertices() == 0)
        return OdDbPolylinePtr();
    OdDbPolylinePtr result = OdDbPolyline::createObject();
    if (result->convertFrom(&polyline, false) != eOk)
        return OdDbPolylinePtr();
    return result;
}
