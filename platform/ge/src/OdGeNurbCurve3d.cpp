// NURBS curves in space over the shared B-spline kernels, and exact conversions of
// lines and arcs.
#include <vantrel/ge/OdGeCircArc3d.h>
#include <vantrel/ge/OdGeEllipArc3d.h>
#include <vantrel/ge/OdGeLineSeg3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGeNurbCurve3d.h>

#include "NurbsCore.h"

#include <cassert>

namespace ge = vantrel::ge;

OdGeNurbCurve3d::OdGeNurbCurve3d()
    : m_knots(std::vector<double>{0.0, 0.0, 1.0, 1.0}), m_ctrl{OdGePoint3d(0, 0, 0), OdGePoint3d(1, 0, 0)}
{
}

OdGeNurbCurve3d::OdGeNurbCurve3d(int degree, const OdGeKnotVector& knots, const std::vector<OdGePoint3d>& controlPoints,
                                 const std::vector<double>& weights)
{
    set(degree, knots, controlPoints, weights);
}

OdGeNurbCurve3d::OdGeNurbCurve3d(const OdGeLineSeg3d& line)
    : m_knots(std::vector<double>{0.0, 0.0, 1.0, 1.0}), m_ctrl{line.startPoint(), line.endPoint()}
{
}

OdGeNurbCurve3d::OdGeNurbCurve3d(const OdGeCircArc3d& arc) : OdGeNurbCurve3d(OdGeEllipArc3d(arc)) {}

OdGeNurbCurve3d::OdGeNurbCurve3d(const OdGeEllipArc3d& arc)
{
    ge::assign(ge::ellipticalArcData(arc), m_degree, m_knots, m_ctrl, m_weights);
}

std::optional<OdGeNurbCurve3d> OdGeNurbCurve3d::interpolate(const std::vector<OdGePoint3d>& fitPoints,
                                                            const OdGeVector3d& startTangent,
                                                            const OdGeVector3d& endTangent, bool closed, int degree,
                                                            const OdGeTol& tol)
{
    auto d = ge::interpolate<OdGePoint3d, OdGeVector3d>(fitPoints, startTangent, endTangent, closed, degree,
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
                                        const std::vector<OdGePoint3d>& controlPoints,
                                        const std::vector<double>& weights)
{
    return ge::isValidDefinition(degree, knots, controlPoints, weights);
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
    auto d = ge::dataOf(*this);
    ge::insertKnot(d, param, d.knots.multiplicityAt(param) + 1);
    ge::assign(std::move(d), m_degree, m_knots, m_ctrl, m_weights);
    return *this;
}

std::unique_ptr<OdGeCurve3d> OdGeNurbCurve3d::copy() const { return std::make_unique<OdGeNurbCurve3d>(*this); }

void OdGeNurbCurve3d::getInterval(double& startParam, double& endParam) const
{
    startParam = m_knots[m_degree];
    endParam = m_knots[numControlPoints()];
}

OdGePoint3d OdGeNurbCurve3d::evalPoint(double param) const
{
    return ge::evalDerivs<OdGePoint3d, OdGeVector3d>(m_degree, m_knots, m_ctrl, m_weights, param, 0)[0].asPoint();
}

OdGePoint3d OdGeNurbCurve3d::evalPoint(double param, int numDeriv, std::vector<OdGeVector3d>& derivatives) const
{
    const auto d
        = ge::evalDerivs<OdGePoint3d, OdGeVector3d>(m_degree, m_knots, m_ctrl, m_weights, param, std::max(numDeriv, 0));
    derivatives.assign(d.begin() + 1, d.end());
    return d[0].asPoint();
}

void OdGeNurbCurve3d::getSplitCurves(double param, std::unique_ptr<OdGeCurve3d>& piece1,
                                     std::unique_ptr<OdGeCurve3d>& piece2) const
{
    ge::splitCurve(*this, param, piece1, piece2);
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

std::vector<double> OdGeNurbCurve3d::seedParams() const { return ge::seedParams(*this); }
