// 2d elliptical arcs: closed-form evaluation and line crossings, quadrature for length,
// and re-derivation of the principal axes after an affine map.
#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeEllipArc2d.h>
#include <vantrel/ge/OdGeLinearEnt2d.h>
#include <vantrel/ge/OdGeMatrix2d.h>

#include "EllipseCore.h"

#include <cassert>

using namespace vantrel::ge;

OdGeEllipArc2d::OdGeEllipArc2d(const OdGePoint2d& center, const OdGeVector2d& majorAxis,
                               const OdGeVector2d& minorAxis, double majorRadius, double minorRadius,
                               double startAng, double endAng)
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
    if (endAng < startAng)
        endAng = startAng + angleFrom(endAng, startAng);
    m_startAng = startAng;
    m_endAng = std::min(endAng, startAng + kTwoPi);
    return *this;
}

std::unique_ptr<OdGeCurve2d> OdGeEllipArc2d::copy() const
{
    return std::make_unique<OdGeEllipArc2d>(*this);
}

void OdGeEllipArc2d::getInterval(double& startParam, double& endParam) const
{
    startParam = m_startAng;
    endParam = m_endAng;
}

OdGePoint2d OdGeEllipArc2d::evalPoint(double param) const
{
    return m_center + m_majorAxis * (m_majorRadius * std::cos(param))
        + m_minorAxis * (m_minorRadius * std::sin(param));
}

OdGePoint2d OdGeEllipArc2d::evalPoint(double param, int numDeriv, std::vector<OdGeVector2d>& derivatives) const
{
    derivatives.clear();
    const OdGeVector2d x = m_majorAxis * m_majorRadius, y = m_minorAxis * m_minorRadius;
    const double c = std::cos(param), s = std::sin(param);
    for (int k = 1; k <= numDeriv; ++k) {
        switch (k % 4) {
        case 1: derivatives.push_back(x * -s + y * c); break;
        case 2: derivatives.push_back(x * -c + y * -s); break;
        case 3: derivatives.push_back(x * s + y * -c); break;
        default: derivatives.push_back(x * c + y * s); break;
        }
    }
    return m_center + x * c + y * s;
}

bool OdGeEllipArc2d::isClosed(const OdGeTol& tol) const
{
    return m_endAng - m_startAng >= kTwoPi - tol.equalVector();
}

double OdGeEllipArc2d::length(double fromParam, double toParam, double tol) const
{
    return ellipseLength(m_majorRadius, m_minorRadius, fromParam, toParam, tol);
}

bool OdGeEllipArc2d::intersectWith(const OdGeLinearEnt2d& line, int& numInt, OdGePoint2d& p1, OdGePoint2d& p2,
                                   const OdGeTol& tol) const
{
    numInt = 0;
    OdGePoint2d* out[2] = {&p1, &p2};
    const OdGeVector2d o = line.pointOnLine() - m_center, dir = line.direction();
    const double eps = tol.equalPoint() / std::max(m_minorRadius, 1e-300);
    for (double t : ellipseLineParams(o.dotProduct(m_majorAxis), o.dotProduct(m_minorAxis),
                                      dir.dotProduct(m_majorAxis), dir.dotProduct(m_minorAxis), m_majorRadius,
                                      m_minorRadius, tol.equalPoint())) {
        const OdGePoint2d p = evalPoint(t);
        if (paramInArc(t, m_startAng, m_endAng, eps) && line.isOn(p, tol))
            *out[numInt++] = p;
    }
    return numInt > 0;
}

void OdGeEllipArc2d::getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                                    std::unique_ptr<OdGeCurve2d>& piece2) const
{
    piece1.reset();
    piece2.reset();
    if (param > m_startAng)
        piece1 = std::make_unique<OdGeEllipArc2d>(m_center, m_majorAxis, m_minorAxis, m_majorRadius, m_minorRadius,
                                                  m_startAng, std::min(param, m_endAng));
    if (param < m_endAng)
        piece2 = std::make_unique<OdGeEllipArc2d>(m_center, m_majorAxis, m_minorAxis, m_majorRadius, m_minorRadius,
                                                  std::max(param, m_startAng), m_endAng);
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
