// Numerical defaults of the 3d curve base.
#include <vantrel/ge/OdGeCurve3d.h>
#include <vantrel/ge/OdGePlane.h>

#include "CurveAlgorithms.h"

using Algo = vantrel::ge::CurveAlgorithms<OdGeCurve3d, OdGePoint3d, OdGeVector3d>;

OdGeCurve3d::~OdGeCurve3d() = default;

OdGePoint3d OdGeCurve3d::startPoint() const
{
    double s, e;
    getInterval(s, e);
    return evalPoint(s);
}

OdGePoint3d OdGeCurve3d::endPoint() const
{
    double s, e;
    getInterval(s, e);
    return evalPoint(e);
}

bool OdGeCurve3d::isClosed(const OdGeTol& tol) const { return startPoint().isEqualTo(endPoint(), tol); }

double OdGeCurve3d::length(double fromParam, double toParam, double tol) const
{
    return Algo::length(*this, fromParam, toParam, tol, seedParams());
}

double OdGeCurve3d::length() const
{
    double s, e;
    getInterval(s, e);
    return length(s, e);
}

double OdGeCurve3d::paramAtLength(double fromParam, double len, bool forward, double tol) const
{
    return Algo::paramAtLength(*this, fromParam, len, forward, tol);
}

double OdGeCurve3d::paramOf(const OdGePoint3d& pt, const OdGeTol&) const
{
    return Algo::paramOf(*this, pt, seedParams());
}

OdGePoint3d OdGeCurve3d::closestPointTo(const OdGePoint3d& pt, const OdGeTol& tol) const
{
    return evalPoint(paramOf(pt, tol));
}

double OdGeCurve3d::distanceTo(const OdGePoint3d& pt, const OdGeTol& tol) const
{
    return closestPointTo(pt, tol).distanceTo(pt);
}

bool OdGeCurve3d::isOn(const OdGePoint3d& pt, const OdGeTol& tol) const
{
    return distanceTo(pt, tol) <= tol.equalPoint();
}

bool OdGeCurve3d::intersectWith(const OdGePlane& plane, std::vector<OdGePoint3d>& points, const OdGeTol& tol) const
{
    points.clear();
    const std::vector<double> seeds = seedParams();
    auto dist = [&](double t) { return plane.signedDistanceTo(evalPoint(t)); };
    std::vector<double> d(seeds.size());
    for (size_t i = 0; i < seeds.size(); ++i) {
        d[i] = dist(seeds[i]);
        if (std::fabs(d[i]) <= tol.equalPoint())
            d[i] = 0.0;
    }
    // A run of zero samples means the curve lies in the plane there: no isolated point.
    auto addPoint = [&](const OdGePoint3d& p) {
        for (const OdGePoint3d& q : points)
            if (q.isEqualTo(p, tol))
                return;
        points.push_back(p);
    };
    for (size_t i = 0; i < seeds.size(); ++i) {
        if (d[i] == 0.0) {
            const bool prevZero = i > 0 && d[i - 1] == 0.0;
            const bool nextZero = i + 1 < seeds.size() && d[i + 1] == 0.0;
            if (!prevZero && !nextZero)
                addPoint(evalPoint(seeds[i]));
        } else if (i + 1 < seeds.size() && d[i + 1] != 0.0 && (d[i] < 0.0) != (d[i + 1] < 0.0)) {
            const double t = vantrel::ge::refineRoot(dist, seeds[i], seeds[i + 1], d[i], d[i + 1]);
            addPoint(evalPoint(t));
        }
    }
    return !points.empty();
}

void OdGeCurve3d::getSamplePoints(int numSample, std::vector<OdGePoint3d>& points) const
{
    Algo::samplePoints(*this, numSample, points);
}

void OdGeCurve3d::appendSamplePoints(double fromParam, double toParam, double approxEps,
                                     std::vector<OdGePoint3d>& points) const
{
    Algo::appendSamplePoints(*this, fromParam, toParam, approxEps, seedParams(), points);
}

std::vector<double> OdGeCurve3d::seedParams() const
{
    double s, e;
    getInterval(s, e);
    return vantrel::ge::uniformParams(s, e, 64);
}
