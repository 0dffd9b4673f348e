// NURBS curves in space over the shared B-spline kernels, and exact conversions of
// lines and arcs.
#include <vantrel/ge/OdGeCircArc3d.h>
#include <vantrel/ge/OdGeEllipArc3d.h>
#include <vantrel/ge/OdGeLineSeg3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGeNurbCurve3d.h>

#include "NurbsCore.h"

#include <cassert>

using Data = vantrel::ge::NurbsData<OdGePoint3d, OdGeVector3d>;

namespace {

Data toData(int degree, const OdGeKnotVector& knots, const std::vector<OdGePoint3d>& ctrl,
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

OdGeNurbCurve3d::OdGeNurbCurve3d()
    : m_knots(std::vector<double>{0.0, 0.0, 1.0, 1.0}), m_ctrl{OdGePoint3d(0, 0, 0), OdGePoint3d(1, 0, 0)}
{
}

OdGeNurbCurve3d::OdGeNurbCurve3d(int degree, const OdGeKnotVector& knots,
                                 const std::vector<OdGePoint3d>& controlPoints, const std::vector<double>& weights)
{
    set(degree, knots, controlPoints, weights);
}

OdGeNurbCurve3d::OdGeNurbCurve3d(const OdGeLineSeg3d& line)
    : m_knots(std::vector<double>{0.0, 0.0, 1.0, 1.0}), m_ctrl{line.startPoint(), line.endPoint()}
{
}

OdGeNurbCurve3d::OdGeNurbCurve3d(const OdGeCircArc3d& arc) : OdGeNurbCurve3d(OdGeEllipArc3d(arc))
{
}

OdGeNurbCurve3d::OdGeNurbCurve3d(const OdGeEllipArc3d& arc)
{
    // Each piece is the affine image of a circular quadratic arc: middle control point
    // where the end tangents meet, weight cos(half the piece's angle).
    const double t0 = arc.startAng(), sweep = arc.endAng() - arc.startAng();
    const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / (std::numbers::pi / 2) - 1e-12)));
    const double step = sweep / pieces, w = std::cos(step / 2);
    const OdGeVector3d x = arc.majorAxis() * arc.majorRadius(), y = arc.minorAxis() * arc.minorRadius();
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

std::optional<OdGeNurbCurve3d> OdGeNurbCurve3d::interpolate(const std::vector<OdGePoint3d>& fitPoints,
                                                            const OdGeVector3d& startTangent,
                                                            const OdGeVector3d& endTangent, bool closed, int degree,
                                                            const OdGeTol& tol)
{
    auto d = vantrel::ge::interpolate<OdGePoint3d, OdGeVector3d>(fitPoints, startTangent, endTangent, closed, degree,
                                                                  tol.equalPoint());
    if (!d)
        return std::nullopt;
    return OdGeNurbCurve3d(d->degree, d->knots, d->ctrl);
}

OdGeNurbCurve3d& OdGeNurbCurve3d::set(int degree, const OdGeKnotVector& knots,
                                      const std::vector<OdGePoint3d>& controlPoints, const std::vector<double>& weights)
{
    m_degree = degree;
    m_knots = knots;
    m_ctrl = controlPoints;
    m_weights = weights;
    assert(isValid() && "inconsistent NURBS definition");
    return *this;
}

bool OdGeNurbCurve3d::isValidDefinition(int degree, const OdGeKnotVector& knots,
                                        const std::vector<OdGePoint3d>& controlPoints, const std::vector<double>& weights)
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

OdGeNurbCurve3d& OdGeNurbCurve3d::setControlPointAt(int i, const OdGePoint3d& pt)
{
    m_ctrl[static_cast<size_t>(i)] = pt;
    return *this;
}

OdGeNurbCurve3d& OdGeNurbCurve3d::setWeightAt(int i, double weight)
{
    if (m_weights.empty())
        m_weights.assign(m_ctrl.size(), 1.0);
    m_weights[static_cast<size_t>(i)] = weight;
    return *this;
}

OdGeNurbCurve3d& OdGeNurbCurve3d::insertKnot(double param)
{
    Data d = toData(m_degree, m_knots, m_ctrl, m_weights);
    vantrel::ge::insertKnot(d, param, d.knots.multiplicityAt(param) + 1);
    m_knots = d.knots;
    m_ctrl = d.ctrl;
    m_weights = d.weights;
    return *this;
}

std::unique_ptr<OdGeCurve3d> OdGeNurbCurve3d::copy() const
{
    return std::make_unique<OdGeNurbCurve3d>(*this);
}

void OdGeNurbCurve3d::getInterval(double& startParam, double& endParam) const
{
    startParam = m_knots[m_degree];
    endParam = m_knots[numControlPoints()];
}

OdGePoint3d OdGeNurbCurve3d::evalPoint(double param) const
{
    return vantrel::ge::evalDerivs<OdGePoint3d, OdGeVector3d>(m_degree, m_knots, m_ctrl, m_weights, param, 0)[0]
        .asPoint();
}

OdGePoint3d OdGeNurbCurve3d::evalPoint(double param, int numDeriv, std::vector<OdGeVector3d>& derivatives) const
{
    const auto d = vantrel::ge::evalDerivs<OdGePoint3d, OdGeVector3d>(m_degree, m_knots, m_ctrl, m_weights, param,
                                                                       std::max(numDeriv, 0));
    derivatives.assign(d.begin() + 1, d.end());
    return d[0].asPoint();
}

void OdGeNurbCurve3d::getSplitCurves(double param, std::unique_ptr<OdGeCurve3d>& piece1,
                                     std::unique_ptr<OdGeCurve3d>& piece2) const
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
    piece1 = std::make_unique<OdGeNurbCurve3d>(a.degree, a.knots, a.ctrl, a.weights);
    piece2 = std::make_unique<OdGeNurbCurve3d>(b.degree, b.knots, b.ctrl, b.weights);
}

OdGeNurbCurve3d& OdGeNurbCurve3d::transformBy(const OdGeMatrix3d& m)
{
    // B-splines are affinely invariant: moving the control points moves the curve.
    for (OdGePoint3d& p : m_ctrl)
        p.transformBy(m);
    return *this;
}

OdGeNurbCurve3d& OdGeNurbCurve3d::reverseParam()
{
    std::reverse(m_ctrl.begin(), m_ctrl.end());
    std::reverse(m_weights.begin(), m_weights.end());
    m_knots.reverse();
    return *this;
}

std::vector<double> OdGeNurbCurve3d::seedParams() const
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
