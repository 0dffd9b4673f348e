// NURBS curves in the plane over the shared B-spline kernels, and exact conversions of
// lines and arcs.
#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeEllipArc2d.h>
#include <vantrel/ge/OdGeLineSeg2d.h>
#include <vantrel/ge/OdGeMatrix2d.h>
#include <vantrel/ge/OdGeNurbCurve2d.h>

#include "NurbsCore.h"

#include <cassert>

namespace ge = vantrel::ge;

OdGeNurbCurve2d::OdGeNurbCurve2d()
    : m_knots(std::vector<double>{0.0, 0.0, 1.0, 1.0}), m_ctrl{OdGePoint2d(0, 0), OdGePoint2d(1, 0)}
{
}

OdGeNurbCurve2d::OdGeNurbCurve2d(int degree, const OdGeKnotVector& knots, const std::vector<OdGePoint2d>& controlPoints,
                                 const std::vector<double>& weights)
{
    set(degree, knots, controlPoints, weights);
}

OdGeNurbCurve2d::OdGeNurbCurve2d(const OdGeLineSeg2d& line)
    : m_knots(std::vector<double>{0.0, 0.0, 1.0, 1.0}), m_ctrl{line.startPoint(), line.endPoint()}
{
}

OdGeNurbCurve2d::OdGeNurbCurve2d(const OdGeCircArc2d& arc) : OdGeNurbCurve2d(OdGeEllipArc2d(arc)) {}

OdGeNurbCurve2d::OdGeNurbCurve2d(const OdGeEllipArc2d& arc)
{
    ge::assign(ge::ellipticalArcData(arc), m_degree, m_knots, m_ctrl, m_weights);
}

std::optional<OdGeNurbCurve2d> OdGeNurbCurve2d::interpolate(const std::vector<OdGePoint2d>& fitPoints,
                                                            const OdGeVector2d& startTangent,
                                                            const OdGeVector2d& endTangent, bool closed, int degree,
                                                            const OdGeTol& tol)
{
    auto d = ge::interpolate<OdGePoint2d, OdGeVector2d>(fitPoints, startTangent, endTangent, closed, degree,
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
                                        const std::vector<OdGePoint2d>& controlPoints,
                                        const std::vector<double>& weights)
{
    return ge::isValidDefinition(degree, knots, controlPoints, weights);
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
    auto d = ge::dataOf(*this);
    ge::insertKnot(d, param, d.knots.multiplicityAt(param) + 1);
    ge::assign(std::move(d), m_degree, m_knots, m_ctrl, m_weights);
    return *this;
}

std::unique_ptr<OdGeCurve2d> OdGeNurbCurve2d::copy() const { return std::make_unique<OdGeNurbCurve2d>(*this); }

void OdGeNurbCurve2d::getInterval(double& startParam, double& endParam) const
{
    startParam = m_knots[m_degree];
    endParam = m_knots[numControlPoints()];
}

OdGePoint2d OdGeNurbCurve2d::evalPoint(double param) const
{
    return ge::evalDerivs<OdGePoint2d, OdGeVector2d>(m_degree, m_knots, m_ctrl, m_weights, param, 0)[0].asPoint();
}

OdGePoint2d OdGeNurbCurve2d::evalPoint(double param, int numDeriv, std::vector<OdGeVector2d>& derivatives) const
{
    const auto d
        = ge::evalDerivs<OdGePoint2d, OdGeVector2d>(m_degree, m_knots, m_ctrl, m_weights, param, std::max(numDeriv, 0));
    derivatives.assign(d.begin() + 1, d.end());
    return d[0].asPoint();
}

void OdGeNurbCurve2d::getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                                     std::unique_ptr<OdGeCurve2d>& piece2) const
{
    ge::splitCurve(*this, param, piece1, piece2);
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

std::vector<double> OdGeNurbCurve2d::seedParams() const { return ge::seedParams(*this); }
