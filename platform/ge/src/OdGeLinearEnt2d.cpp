// Closed forms for straight 2d curves, and the unbounded line and bounded segment.
#include <vantrel/ge/OdGeLine2d.h>
#include <vantrel/ge/OdGeLineSeg2d.h>
#include <vantrel/ge/OdGeMatrix2d.h>

#include "LinearCore.h"

#include <cmath>
#include <limits>

OdGePoint2d OdGeLinearEnt2d::evalPoint(double param, int numDeriv, std::vector<OdGeVector2d>& derivatives) const
{
    return vantrel::ge::linear::evalDerivs(m_point, m_dir, param, numDeriv, derivatives);
}

bool OdGeLinearEnt2d::isClosed(const OdGeTol&) const { return false; }

double OdGeLinearEnt2d::length(double fromParam, double toParam, double) const
{
    return std::fabs(toParam - fromParam) * m_dir.length();
}

double OdGeLinearEnt2d::paramAtLength(double fromParam, double len, bool forward, double) const
{
    return vantrel::ge::linear::paramAtLength(*this, m_dir, fromParam, len, forward);
}

double OdGeLinearEnt2d::paramOf(const OdGePoint2d& pt, const OdGeTol&) const
{
    return vantrel::ge::linear::paramOf(*this, m_point, m_dir, pt);
}

OdGePoint2d OdGeLinearEnt2d::closestPointTo(const OdGePoint2d& pt, const OdGeTol& tol) const
{
    return evalPoint(paramOf(pt, tol));
}

bool OdGeLinearEnt2d::isInInterval(double param, const OdGeTol& tol) const
{
    return vantrel::ge::linear::isInInterval(*this, m_dir, param, tol);
}

bool OdGeLinearEnt2d::isParallelTo(const OdGeLinearEnt2d& line, const OdGeTol& tol) const
{
    return m_dir.isParallelTo(line.m_dir, tol);
}

bool OdGeLinearEnt2d::isPerpendicularTo(const OdGeLinearEnt2d& line, const OdGeTol& tol) const
{
    return m_dir.isPerpendicularTo(line.m_dir, tol);
}

bool OdGeLinearEnt2d::isColinearTo(const OdGeLinearEnt2d& line, const OdGeTol& tol) const
{
    return isParallelTo(line, tol) && std::fabs(direction().crossProduct(line.m_point - m_point)) <= tol.equalPoint();
}

bool OdGeLinearEnt2d::intersectWith(const OdGeLinearEnt2d& line, OdGePoint2d& point, const OdGeTol& tol) const
{
    if (isParallelTo(line, tol))
        return false;
    const double denom = m_dir.crossProduct(line.m_dir);
    const OdGeVector2d w = line.m_point - m_point;
    const double s = w.crossProduct(line.m_dir) / denom;
    const double t = w.crossProduct(m_dir) / denom;
    if (!isInInterval(s, tol) || !line.isInInterval(t, tol))
        return false;
    point = evalPoint(s);
    return true;
}

OdGeLinearEnt2d& OdGeLinearEnt2d::transformBy(const OdGeMatrix2d& m)
{
    m_point.transformBy(m);
    m_dir.transformBy(m);
    return *this;
}

OdGeLinearEnt2d& OdGeLinearEnt2d::reverseParam()
{
    vantrel::ge::linear::reverse(*this, m_point, m_dir);
    return *this;
}

OdGeLine2d& OdGeLine2d::set(const OdGePoint2d& point, const OdGeVector2d& dir)
{
    m_point = point;
    m_dir = dir;
    return *this;
}

OdGeLine2d& OdGeLine2d::set(const OdGePoint2d& point1, const OdGePoint2d& point2)
{
    return set(point1, point2 - point1);
}

std::unique_ptr<OdGeCurve2d> OdGeLine2d::copy() const { return std::make_unique<OdGeLine2d>(*this); }

void OdGeLine2d::getInterval(double& startParam, double& endParam) const
{
    startParam = -std::numeric_limits<double>::infinity();
    endParam = std::numeric_limits<double>::infinity();
}

void OdGeLine2d::getSplitCurves(double, std::unique_ptr<OdGeCurve2d>& piece1,
                                std::unique_ptr<OdGeCurve2d>& piece2) const
{
    piece1.reset();
    piece2.reset();
}

OdGeLineSeg2d& OdGeLineSeg2d::set(const OdGePoint2d& start, const OdGePoint2d& end)
{
    m_point = start;
    m_dir = end - start;
    return *this;
}

std::unique_ptr<OdGeCurve2d> OdGeLineSeg2d::copy() const { return std::make_unique<OdGeLineSeg2d>(*this); }

void OdGeLineSeg2d::getInterval(double& startParam, double& endParam) const
{
    startParam = 0.0;
    endParam = 1.0;
}

void OdGeLineSeg2d::getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                                   std::unique_ptr<OdGeCurve2d>& piece2) const
{
    vantrel::ge::linear::splitSegment(*this, param, piece1, piece2);
}
