// Numerical defaults of the 2d curve base.
#include <vantrel/ge/OdGeCurve2d.h>

#include "CurveAlgorithms.h"

using Algo = vantrel::ge::CurveAlgorithms<OdGeCurve2d, OdGePoint2d, OdGeVector2d>;

OdGeCurve2d::~OdGeCurve2d() = default;

OdGePoint2d OdGeCurve2d::startPoint() const
{
    double s, e;
    getInterval(s, e);
    return evalPoint(s);
}

OdGePoint2d OdGeCurve2d::endPoint() const
{
    double s, e;
    getInterval(s, e);
    return evalPoint(e);
}

bool OdGeCurve2d::isClosed(const OdGeTol& tol) const { return startPoint().isEqualTo(endPoint(), tol); }

double OdGeCurve2d::length(double fromParam, double toParam, double tol) const
{
    return Algo::length(*this, fromParam, toParam, tol, seedParams());
}

double OdGeCurve2d::length() const
{
    double s, e;
    getInterval(s, e);
    return length(s, e);
}

double OdGeCurve2d::paramAtLength(double fromParam, double len, bool forward, double tol) const
{
    return Algo::paramAtLength(*this, fromParam, len, forward, tol);
}

double OdGeCurve2d::paramOf(const OdGePoint2d& pt, const OdGeTol&) const
{
    return Algo::paramOf(*this, pt, seedParams());
}

OdGePoint2d OdGeCurve2d::closestPointTo(const OdGePoint2d& pt, const OdGeTol& tol) const
{
    return evalPoint(paramOf(pt, tol));
}

double OdGeCurve2d::distanceTo(const OdGePoint2d& pt, const OdGeTol& tol) const
{
    return closestPointTo(pt, tol).distanceTo(pt);
}

bool OdGeCurve2d::isOn(const OdGePoint2d& pt, const OdGeTol& tol) const
{
    return distanceTo(pt, tol) <= tol.equalPoint();
}

void OdGeCurve2d::getSamplePoints(int numSample, std::vector<OdGePoint2d>& points) const
{
    Algo::samplePoints(*this, numSample, points);
}

void OdGeCurve2d::appendSamplePoints(double fromParam, double toParam, double approxEps,
                                     std::vector<OdGePoint2d>& points) const
{
    Algo::appendSamplePoints(*this, fromParam, toParam, approxEps, seedParams(), points);
}

std::vector<double> OdGeCurve2d::seedParams() const
{
    double s, e;
    getInterval(s, e);
    return vantrel::ge::uniformParams(s, e, 64);
}
