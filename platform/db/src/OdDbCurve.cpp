// Curve queries expressed through each other, so that a curve class implements only the
// parameter-based ones it can answer exactly.
#include <vantrel/db/OdDbCurve.h>

ODRX_DEFINE_ABSTRACT_MEMBERS(OdDbCurve, OdDbEntity)

bool OdDbCurve::isClosed() const { return false; }
bool OdDbCurve::isPeriodic() const { return false; }
OdResult OdDbCurve::getStartParam(double&) const { return eNotImplementedYet; }
OdResult OdDbCurve::getEndParam(double&) const { return eNotImplementedYet; }

OdResult OdDbCurve::getStartPoint(OdGePoint3d& point) const
{
    double p;
    OdResult r = getStartParam(p);
    return r == eOk ? getPointAtParam(p, point) : r;
}

OdResult OdDbCurve::getEndPoint(OdGePoint3d& point) const
{
    double p;
    OdResult r = getEndParam(p);
    return r == eOk ? getPointAtParam(p, point) : r;
}

OdResult OdDbCurve::getPointAtParam(double, OdGePoint3d&) const { return eNotImplementedYet; }
OdResult OdDbCurve::getParamAtPoint(const OdGePoint3d&, double&) const { return eNotImplementedYet; }
OdResult OdDbCurve::getDistAtParam(double, double&) const { return eNotImplementedYet; }
OdResult OdDbCurve::getParamAtDist(double, double&) const { return eNotImplementedYet; }

OdResult OdDbCurve::getDistAtPoint(const OdGePoint3d& point, double& dist) const
{
    double p;
    OdResult r = getParamAtPoint(point, p);
    return r == eOk ? getDistAtParam(p, dist) : r;
}

OdResult OdDbCurve::getPointAtDist(double dist, OdGePoint3d& point) const
{
    double p;
    OdResult r = getParamAtDist(dist, p);
    return r == eOk ? getPointAtParam(p, point) : r;
}

OdResult OdDbCurve::getPointsAtDists(std::span<const double> dists, std::vector<OdGePoint3d>& points) const
{
    std::vector<OdGePoint3d> found(dists.size());
    for (std::size_t i = 0; i < dists.size(); ++i)
        if (OdResult r = getPointAtDist(dists[i], found[i]); r != eOk)
            return r;
    points = std::move(found);
    return eOk;
}

OdResult OdDbCurve::getFirstDeriv(double, OdGeVector3d&) const { return eNotImplementedYet; }
OdResult OdDbCurve::getSecondDeriv(double, OdGeVector3d&) const { return eNotImplementedYet; }
OdResult OdDbCurve::getClosestPointTo(const OdGePoint3d&, OdGePoint3d&, bool) const { return eNotImplementedYet; }
OdResult OdDbCurve::getPlane(OdGePlane&) const { return eNotImplementedYet; }

bool OdDbCurve::isPlanar() const
{
    OdGePlane plane;
    return getPlane(plane) == eOk;
}
