// 2d elliptical arcs: closed-form evaluation and line crossings, quadrature for length,
// and re-derivation of the principal axes after an affine map.
#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeEllipArc2d.h>
#include <vantrel/ge/OdGeLinearEnt2d.h>
#include <vantrel/ge/OdGeMatrix2d.h>

#include "EllipseCore.h"

#include <cassert>

using namespace vantrel::ge;

OdGeEllipArc2d::OdGeEllipArc2d(const OdGePoint2d& center, const OdGeVector2d& majorAxis, const OdGeVector2d& minorAxis,
                               double majorRadius, double minorRadius, double startAng, double endAng)
{
    set(center, majorAxis, minorAxis, majorRadius, minorRadius, startAng, endAng);
}

OdGeEllipArc2d::OdGeEllipArc2d(const OdGeCircArc2d& arc)
{
    const OdGeVector2d y = arc.isClockWise() ? -arc.refVec().perpVector() : arc.refVec().perpVector();
    set(arc.center(), arc.refVec(), y, arc.radius(), arc.radius(), arc.startAng(), arc.endAng());
}

OdGeEllipArc2d& OdGeEllipArc2d::set(const OdGePoint2d& center, const OdGeVector2d& majorAxis,
                                    const OdGeVector2d& minorAxis, double majorRadius, double minorRadius,
                                    double startAng, double endAng)
{
    assert(majorAxis.crossProduct(minorAxis) != 0.0 && "ellipse axes must not be parallel");
    m_center = center;
    m_majorAxis = majorAxis.normal();
    const OdGeVector2d perp = m_majorAxis.perpVector();
    m_minorAxis = m_majorAxis.crossProduct(minorAxis) < 0.0 ? -perp : perp;
    m_majorRadius = majorRadius;
    m_minorRadius = minorRadius;
    return setAngles(startAng, endAng);
}

OdGeEllipArc2d& OdGeEllipArc2d::setAngles(double startAng, double endAng)
{
    setArcRange(startAng, endAng, m_startAng, m_endAng);
    return *this;
}

std::unique_ptr<OdGeCurve2d> OdGeEllipArc2d::copy() const { return std::make_unique<OdGeEllipArc2d>(*this); }

void OdGeEllipArc2d::getInterval(double& startParam, double& endParam) const
{
    startParam = m_startAng;
    endParam = m_endAng;
}

OdGePoint2d OdGeEllipArc2d::evalPoint(double param) const
{
    return m_center + m_majorAxis * (m_majorRadius * std::cos(param)) + m_minorAxis * (m_minorRadius * std::sin(param));
}

OdGePoint2d OdGeEllipArc2d::evalPoint(double param, int numDeriv, std::vector<OdGeVector2d>& derivatives) const
{
    return evalTrig(m_center, m_majorAxis * m_majorRadius, m_minorAxis * m_minorRadius, param, numDeriv, derivatives);
}

bool OdGeEllipArc2d::isClosed(const OdGeTol& tol) const { return m_endAng - m_startAng >= kTwoPi - tol.equalVector(); }

double OdGeEllipArc2d::length(double fromParam, double toParam, double tol) const
{
    return ellipseLength(m_majorRadius, m_minorRadius, fromParam, toParam, tol);
}

bool OdGeEllipArc2d::intersectWith(const OdGeLinearEnt2d& line, int& numInt, OdGePoint2d& p1, OdGePoint2d& p2,
                                   const OdGeTol& tol) const
{
    OdGePoint2d* out[2] = {&p1, &p2};
    numInt = arcLineCrossings(*this, line, tol, out);
    return numInt > 0;
}

void OdGeEllipArc2d::getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                                    std::unique_ptr<OdGeCurve2d>& piece2) const
{
    splitArc(param, m_startAng, m_endAng, piece1, piece2, [this](double from, double to) {
        return std::make_unique<OdGeEllipArc2d>(m_center, m_majorAxis, m_minorAxis, m_majorRadius, m_minorRadius, from,
                                                to);
    });
}

OdGeEllipArc2d& OdGeEllipArc2d::transformBy(const OdGeMatrix2d& m)
{
    OdGeVector2d u = m_majorAxis * m_majorRadius, v = m_minorAxis * m_minorRadius;
    u.transformBy(m);
    v.transformBy(m);
    m_center.transformBy(m);
    double shift = 0.0;
    principalAxes(u, v, m_majorAxis, m_minorAxis, m_majorRadius, m_minorRadius, shift);
    m_startAng -= shift;
    m_endAng -= shift;
    return *this;
}

OdGeEllipArc2d& OdGeEllipArc2d::reverseParam()
{
    m_minorAxis = -m_minorAxis;
    const double s = m_startAng;
    m_startAng = -m_endAng;
    m_endAng = -s;
    return *this;
}
