// Closed forms for straight 3d curves, and the unbounded line and bounded segment.
#include <vantrel/ge/OdGeLine3d.h>
#include <vantrel/ge/OdGeLineSeg3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGePlane.h>

#include "LinearCore.h"

#include <cmath>
#include <limits>

OdGePoint3d OdGeLinearEnt3d::evalPoint(double param, int numDeriv, std::vector<OdGeVector3d>& derivatives) const
{
    return vantrel::ge::linear::evalDerivs(m_point, m_dir, param, numDeriv, derivatives);
}

bool OdGeLinearEnt3d::isClosed(const OdGeTol&) const { return false; }

double OdGeLinearEnt3d::length(double fromParam, double toParam, double) const
{
    return std::fabs(toParam - fromParam) * m_dir.length();
}

double OdGeLinearEnt3d::paramAtLength(double fromParam, double len, bool forward, double) const
{
    return vantrel::ge::linear::paramAtLength(*this, m_dir, fromParam, len, forward);
}

double OdGeLinearEnt3d::paramOf(const OdGePoint3d& pt, const OdGeTol&) const
{
    return vantrel::ge::linear::paramOf(*this, m_point, m_dir, pt);
}

OdGePoint3d OdGeLinearEnt3d::closestPointTo(const OdGePoint3d& pt, const OdGeTol& tol) const
{
    return evalPoint(paramOf(pt, tol));
}

bool OdGeLinearEnt3d::isInInterval(double param, const OdGeTol& tol) const
{
    return vantrel::ge::linear::isInInterval(*this, m_dir, param, tol);
}

bool OdGeLinearEnt3d::isParallelTo(const OdGeLinearEnt3d& line, const OdGeTol& tol) const
{
    return m_dir.isParallelTo(line.m_dir, tol);
}

bool OdGeLinearEnt3d::isPerpendicularTo(const OdGeLinearEnt3d& line, const OdGeTol& tol) const
{
    return m_dir.isPerpendicularTo(line.m_dir, tol);
}

bool OdGeLinearEnt3d::isColinearTo(const OdGeLinearEnt3d& line, const OdGeTol& tol) const
{
    if (!isParallelTo(line, tol))
        return false;
    const OdGeVector3d w = line.m_point - m_point;
    return (w - direction() * w.dotProduct(direction())).length() <= tol.equalPoint();
}

bool OdGeLinearEnt3d::intersectWith(const OdGeLinearEnt3d& line, OdGePoint3d& point, const OdGeTol& tol) const
{
    if (isParallelTo(line, tol))
        return false;
    // Closest points of the two carrier lines.
    const OdGeVector3d& d1 = m_dir;
    const OdGeVector3d& d2 = line.m_dir;
    const OdGeVector3d w = m_point - line.m_point;
    const double a = d1.dotProduct(d1), b = d1.dotProduct(d2), c = d2.dotProduct(d2);
    const double d = d1.dotProduct(w), e = d2.dotProduct(w);
    const double denom = a * c - b * b;
    const double s = (b * e - c * d) / denom;
    const double t = (a * e - b * d) / denom;
    const OdGePoint3d p1 = evalPoint(s), p2 = line.evalPoint(t);
    if (p1.distanceTo(p2) > tol.equalPoint() || !isInInterval(s, tol) || !line.isInInterval(t, tol))
        return false;
    point = p1 + (p2 - p1) * 0.5;
    return true;
}

bool OdGeLinearEnt3d::intersectWith(const OdGePlane& plane, std::vector<OdGePoint3d>& points, const OdGeTol& tol) const
{
    points.clear();
    OdGePoint3d p;
    if (!plane.intersectWith(*this, p, tol))
        return false;
    points.push_back(p);
    return true;
}

OdGeLinearEnt3d& OdGeLinearEnt3d::transformBy(const OdGeMatrix3d& m)
{
    m_point.transformBy(m);
    m_dir.transformBy(m);
    return *this;
}

OdGeLinearEnt3d& OdGeLinearEnt3d::reverseParam()
{
    vantrel::ge::linear::reverse(*this, m_point, m_dir);
    return *this;
}

OdGeLine3d& OdGeLine3d::set(const OdGePoint3d& point, const OdGeVector3d& dir)
{
    m_point = point;
    m_dir = dir;
    return *this;
}

OdGeLine3d& OdGeLine3d::set(const OdGePoint3d& point1, const OdGePoint3d& point2)
{
    return set(point1, point2 - point1);
}

std::unique_ptr<OdGeCurve3d> OdGeLine3d::copy() const { return std::make_unique<OdGeLine3d>(*this); }

void OdGeLine3d::getInterval(double& startParam, double& endParam) const
{
    startParam = -std::numeric_limits<double>::infinity();
    endParam = std::numeric_limits<double>::infinity();
}

void OdGeLine3d::getSplitCurves(double, std::unique_ptr<OdGeCurve3d>& piece1,
                                std::unique_ptr<OdGeCurve3d>& piece2) const
{
    piece1.reset();
    piece2.reset();
}

OdGeLineSeg3d& OdGeLineSeg3d::set(const OdGePoint3d& start, const OdGePoint3d& end)
{
    m_point = start;
    m_dir = end - start;
    return *this;
}

std::unique_ptr<OdGeCurve3d> OdGeLineSeg3d::copy() const { return std::make_unique<OdGeLineSeg3d>(*this); }

void OdGeLineSeg3d::getInterval(double& startParam, double& endParam) const
{
    startParam = 0.0;
    endParam = 1.0;
}

void OdGeLineSeg3d::getSplitCurves(double param, std::unique_ptr<OdGeCurve3d>& piece1,
                                   std::unique_ptr<OdGeCurve3d>& piece2) const
{
    vantrel::ge::linear::splitSegment(*this, param, piece1, piece2);
}
