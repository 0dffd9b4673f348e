// Elliptical arcs in space: closed-form evaluation and plane crossings, quadrature for
// length, and re-derivation of the principal axes after an affine map.
#include <vantrel/ge/OdGeCircArc3d.h>
#include <vantrel/ge/OdGeEllipArc3d.h>
#include <vantrel/ge/OdGeLinearEnt3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>

#include "EllipseCore.h"

#include <cassert>

using namespace vantrel::ge;

OdGeEllipArc3d::OdGeEllipArc3d(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                               double majorRadius, double minorRadius, double startAng, double endAng)
{
    set(center, majorAxis, minorAxis, majorRadius, minorRadius, startAng, endAng);
}

OdGeEllipArc3d::OdGeEllipArc3d(const OdGeCircArc3d& arc)
{
    set(arc.center(), arc.refVec(), arc.normal().crossProduct(arc.refVec()), arc.radius(), arc.radius(), arc.startAng(),
        arc.endAng());
}

OdGeEllipArc3d& OdGeEllipArc3d::set(const OdGePoint3d& center, const OdGeVector3d& majorAxis,
                                    const OdGeVector3d& minorAxis, double majorRadius, double minorRadius,
                                    double startAng, double endAng)
{
    assert(!majorAxis.crossProduct(minorAxis).isZeroLength() && "ellipse axes must span a plane");
    m_center = center;
    m_majorAxis = majorAxis.normal();
    m_minorAxis = minorAxis.orthoProject(m_majorAxis).normal();
    m_majorRadius = majorRadius;
    m_minorRadius = minorRadius;
    return setAngles(startAng, endAng);
}

OdGeEllipArc3d& OdGeEllipArc3d::setAngles(double startAng, double endAng)
{
    setArcRange(startAng, endAng, m_startAng, m_endAng);
    return *this;
}

std::unique_ptr<OdGeCurve3d> OdGeEllipArc3d::copy() const { return std::make_unique<OdGeEllipArc3d>(*this); }

void OdGeEllipArc3d::getInterval(double& startParam, double& endParam) const
{
    startParam = m_startAng;
    endParam = m_endAng;
}

OdGePoint3d OdGeEllipArc3d::evalPoint(double param) const
{
    return m_center + m_majorAxis * (m_majorRadius * std::cos(param)) + m_minorAxis * (m_minorRadius * std::sin(param));
}

OdGePoint3d OdGeEllipArc3d::evalPoint(double param, int numDeriv, std::vector<OdGeVector3d>& derivatives) const
{
    return evalTrig(m_center, m_majorAxis * m_majorRadius, m_minorAxis * m_minorRadius, param, numDeriv, derivatives);
}

bool OdGeEllipArc3d::isClosed(const OdGeTol& tol) const { return m_endAng - m_startAng >= kTwoPi - tol.equalVector(); }

double OdGeEllipArc3d::length(double fromParam, double toParam, double tol) const
{
    return ellipseLength(m_majorRadius, m_minorRadius, fromParam, toParam, tol);
}

bool OdGeEllipArc3d::intersectWith(const OdGePlane& plane, std::vector<OdGePoint3d>& points, const OdGeTol& tol) const
{
    points.clear();
    const OdGeVector3d n = plane.normal();
    const double A = m_majorRadius * n.dotProduct(m_majorAxis), B = m_minorRadius * n.dotProduct(m_minorAxis);
    const double C = plane.signedDistanceTo(m_center);
    const double eps = tol.equalPoint() / std::max(m_minorRadius, 1e-300);
    for (double t : planeCrossingParams(A, B, C, tol.equalPoint())) {
        if (!paramInArc(t, m_startAng, m_endAng, eps))
            continue;
        const OdGePoint3d p = evalPoint(t);
        if (points.empty() || !points.front().isEqualTo(p, tol))
            points.push_back(p);
    }
    return !points.empty();
}

bool OdGeEllipArc3d::intersectWith(const OdGeLinearEnt3d& line, int& numInt, OdGePoint3d& p1, OdGePoint3d& p2,
                                   const OdGeTol& tol) const
{
    numInt = 0;
    const OdGePlane plane = getPlane();
    const OdGeVector3d dir = line.direction();
    OdGePoint3d* out[2] = {&p1, &p2};
    if (std::fabs(dir.dotProduct(normal())) <= tol.equalVector()) {
        if (!plane.isOn(line.pointOnLine(), tol))
            return false;
        numInt = arcLineCrossings(*this, line, tol, out);
        return numInt > 0;
    }
    OdGePoint3d p;
    if (plane.intersectWith(line, p, tol) && isOn(p, tol))
        *out[numInt++] = p;
    return numInt > 0;
}

void OdGeEllipArc3d::getSplitCurves(double param, std::unique_ptr<OdGeCurve3d>& piece1,
                                    std::unique_ptr<OdGeCurve3d>& piece2) const
{
    splitArc(param, m_startAng, m_endAng, piece1, piece2, [this](double from, double to) {
        return std::make_unique<OdGeEllipArc3d>(m_center, m_majorAxis, m_minorAxis, m_majorRadius, m_minorRadius, from,
                                                to);
    });
}

OdGeEllipArc3d& OdGeEllipArc3d::transformBy(const OdGeMatrix3d& m)
{
    OdGeVector3d u = m_majorAxis * m_majorRadius, v = m_minorAxis * m_minorRadius;
    u.transformBy(m);
    v.transformBy(m);
    m_center.transformBy(m);
    double shift = 0.0;
    principalAxes(u, v, m_majorAxis, m_minorAxis, m_majorRadius, m_minorRadius, shift);
    m_startAng -= shift;
    m_endAng -= shift;
    return *this;
}

OdGeEllipArc3d& OdGeEllipArc3d::reverseParam()
{
    // Negating the minor axis maps t to -t.
    m_minorAxis = -m_minorAxis;
    const double s = m_startAng;
    m_startAng = -m_endAng;
    m_endAng = -s;
    return *this;
}
