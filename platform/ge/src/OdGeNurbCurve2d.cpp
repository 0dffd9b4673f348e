// NURBS curves in the plane over the shared B-spline kernels, and exact conversions of
// lines and arcs.
#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeEllipArc2d.h>
#include <vantrel/ge/OdGeLineSeg2d.h>
#include <vantrel/ge/OdGeMatrix2d.h>
#include <vantrel/ge/OdGeNurbCurve2d.h>

#include "NurbsCore.h"

#include <cassert>

using Data = vantrel::ge::NurbsData<OdGePoint2d, OdGeVector2d>;

namespace {

Data toData(int degree, const OdGeKnotVector& knots, const std::vector<OdGePoint2d>& ctrl,
            const std::vector<double>& weights)
{
    Data d;
    d.degree = degree;
    d.knots = knots;
    d.ctrl = ctrl;
    d.weights = weights;
    return d;
}

} // namespace

OdGeNurbCurve2d::OdGeNurbCurve2d()
    : m_knots(std::vector<double>{0.0, 0.0, 1.0, 1.0}), m_ctrl{OdGePoint2d(0, 0), OdGePoint2d(1, 0)}
{
}

OdGeNurbCurve2d::OdGeNurbCurve2d(int degree, const OdGeKnotVector& knots,
                                 const std::vector<OdGePoint2d>& controlPoints, const std::vector<double>& weights)
{
    set(degree, knots, controlPoints, weights);
}

OdGeNurbCurve2d::OdGeNurbCurve2d(const OdGeLineSeg2d& line)
    : m_knots(std::vector<double>{0.0, 0.0, 1.0, 1.0}), m_ctrl{line.startPoint(), line.endPoint()}
{
}

OdGeNurbCurve2d::OdGeNurbCurve2d(const OdGeCircArc2d& arc) : OdGeNurbCurve2d(OdGeEllipArc2d(arc))
{
}

OdGeNurbCurve2d::OdGeNurbCurve2d(const OdGeEllipArc2d& arc)
{
    // Each piece is the affine image of a circular quadratic arc: middle control point
    // where the end tangents meet, weight cos(half the piece's angle).
    const double t0 = arc.startAng(), sweep = arc.endAng() - arc.startAng();
    const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / (std::numbers::pi / 2) - 1e-12)));
    const double step = sweep / pieces, w = std::cos(step / 2);
    const OdGeVector2d x = arc.majorAxis() * arc.majorRadius(), y = arc.minorAxis() * arc.minorRadius();
    std::vector<double> knots{t0, t0, t0};
    m_degree = 2;
    m_ctrl.push_back(arc.evalPoint(t0));
    m_weights.push_back(1.0);
    for (int i = 0; i < pieces; ++i) {
        const double a = t0 + step * i, mid = a + step / 2, b = a + step;
        m_ctrl.push_back(arc.center() + (x * std::cos(mid) + y * std::sin(mid)) / w);
        m_weights.push_back(w);
        m_ctrl.push_back(arc.evalPoint(b));
        m_weights.push_back(1.0);
        knots.push_back(b);
        knots.push_back(b);
    }
    knots.push_back(t0 + sweep);
    m_knots = OdGeKnotVector(knots);
}

std::optional<OdGeNurbCurve2d> OdGeNurbCurve2d::interpolate(const std::vector<OdGePoint2d>& fitPoints,
                                                            const OdGeVector2d& startTangent,
                                                            const OdGeVector2d& endTangent, bool closed, int degree,
                                                            const OdGeTol& tol)
{
    auto d = vantrel::ge::interpolate<OdGePoint2d, OdGeVector2d>(fitPoints, startTangent, endTangent, closed, degree,
                                                                  tol.equalPoint());
    if (!d)
        return std::nullopt;
    return OdGeNurbCurve2d(d->degree, d->knots, d->ctrl);
}

OdGeNurbCurve2d& OdGeNurbCurve2d::set(int degree, const OdGeKnotVector& knots,
                                      const std::vector<OdGePoint2d>& controlPoints, const std::vector<double>& weights)
{
    m_degree = degree;
    m_knots = knots;
    m_ctrl = controlPoints;
    m_weights = weights;
    assert(isValid() && "inconsistent NURBS definition");
    return *this;
}

bool OdGeNurbCurve2d::isValidDefinition(int degree, const OdGeKnotVector& knots,
                                        const std::vector<OdGePoint2d>& controlPoints, const std::vector<double>& weights)
{
    const int n = static_cast<int>(controlPoints.size());
    if (degree < 1 || n < degree + 1 || knots.length() != n + degree + 1 || !knots.isValid())
        return false;
    if (!weights.empty()
        && (static_cast<int>(weights.size()) != n
            || std::any_of(weights.begin(), weights.end(), [](double w) { return !(w > 0.0); })))
        return false;
    return knots[degree] < knots[n];
}

OdGeNurbCurve2d& OdGeNurbCurve2d::setControlPointAt(int i, const OdGePoint2d& pt)
{
    m_ctrl[static_cast<size_t>(i)] = pt;
    return *this;
}

OdGeNurbCurve2d& OdGeNurbCurve2d::setWeightAt(int i, double weight)
{
    if (m_weights.empty())
        m_weights.assign(m_ctrl.size(), 1.0);
    m_weights[static_cast<size_t>(i)] = weight;
    return *this;
}

OdGeNurbCurve2d& OdGeNurbCurve2d::insertKnot(double param)
{
    Data d = toData(m_degree, m_knots, m_ctrl, m_weights);
    vantrel::ge::insertKnot(d, param, d.knots.multiplicityAt(param) + 1);
    m_knots = d.knots;
    m_ctrl = d.ctrl;
    m_weights = d.weights;
    return *this;
}

std::unique_ptr<OdGeCurve2d> OdGeNurbCurve2d::copy() const
{
    return std::make_unique<OdGeNurbCurve2d>(*this);
}

void OdGeNurbCurve2d::getInterval(double& startParam, double& endParam) const
{
    startParam = m_knots[m_degree];
    endParam = m_knots[numControlPoints()];
}

OdGePoint2d OdGeNurbCurve2d::evalPoint(double param) const
{
    return vantrel::ge::evalDerivs<OdGePoint2d, OdGeVector2d>(m_degree, m_knots, m_ctrl, m_weights, param, 0)[0]
        .asPoint();
}

OdGePoint2d OdGeNurbCurve2d::evalPoint(double param, int numDeriv, std::vector<OdGeVector2d>& derivatives) const
{
    const auto d = vantrel::ge::evalDerivs<OdGePoint2d, OdGeVector2d>(m_degree, m_knots, m_ctrl, m_weights, param,
                                                                       std::max(numDeriv, 0));
    derivatives.assign(d.begin() + 1, d.end());
    return d[0].asPoint();
}

void OdGeNurbCurve2d::getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                                     std::unique_ptr<OdGeCurve2d>& piece2) const
{
    piece1.reset();
    piece2.reset();
    double lo, hi;
    getInterval(lo, hi);
    if (param <= lo + m_knots.tolerance()) {
        piece2 = copy();
        return;
    }
    if (param >= hi - m_knots.tolerance()) {
        piece1 = copy();
        return;
    }
    Data a, b;
    vantrel::ge::splitAt(toData(m_degree, m_knots, m_ctrl, m_weights), param, a, b);
    piece1 = std::make_unique<OdGeNurbCurve2d>(a.degree, a.knots, a.ctrl, a.weights);
    piece2 = std::make_unique<OdGeNurbCurve2d>(b.degree, b.knots, b.ctrl, b.weights);
}

OdGeNurbCurve2d& OdGeNurbCurve2d::transformBy(const OdGeMatrix2d& m)
{
    // B-splines are affinely invariant: moving the control points moves the curve.
    for (OdGePoint2d& p : m_ctrl)
        p.transformBy(m);
    return *this;
}

OdGeNurbCurve2d& OdGeNurbCurve2d::reverseParam()
{
    std::reverse(m_ctrl.begin(), m_ctrl.end());
    std::reverse(m_weights.begin(), m_weights.end());
    m_knots.reverse();
    return *this;
}

std::vector<double> OdGeNurbCurve2d::seedParams() const
{
    double lo, hi;
    getInterval(lo, hi);
    std::vector<double> distinct, out;
    m_knots.getDistinctKnots(distinct);
    const int perSpan = 2 * (m_degree + 1);
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
