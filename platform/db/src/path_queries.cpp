// Curve queries over a polyline's drawn path.
#include "path_queries.h"

#include "entity_math.h"

namespace vantrel::pathquery {

using entmath::withinRange;

OdResult startParam(const SegmentPath& path, double& param)
{
    if (path.isEmpty())
        return eDegenerateGeometry;
    param = 0.0;
    return eOk;
}

OdResult endParam(const SegmentPath& path, double& param)
{
    if (path.isEmpty())
        return eDegenerateGeometry;
    param = path.endParam();
    return eOk;
}

OdResult pointAtParam(const SegmentPath& path, double param, OdGePoint3d& point)
{
    if (path.isEmpty())
        return eDegenerateGeometry;
    if (!withinRange(param, 0.0, path.endParam()))
        return eInvalidInput;
    point = path.pointAt(param);
    return eOk;
}

OdResult paramAtPoint(const SegmentPath& path, const OdGePoint3d& point, double& param)
{
    if (path.isEmpty())
        return eDegenerateGeometry;
    double p;
    const OdGePoint3d near = path.closestPoint(point, false, p);
    if (near.distanceTo(point) > entmath::pointTolerance(path.size()))
        return eInvalidInput;
    param = p;
    return eOk;
}

OdResult distAtParam(const SegmentPath& path, double param, double& dist)
{
    if (path.isEmpty())
        return eDegenerateGeometry;
    if (!withinRange(param, 0.0, path.endParam()))
        return eInvalidInput;
    dist = path.distAt(param);
    return eOk;
}

OdResult paramAtDist(const SegmentPath& path, double dist, double& param)
{
    if (path.isEmpty())
        return eDegenerateGeometry;
    if (!withinRange(dist, 0.0, path.length()))
        return eInvalidInput;
    param = path.paramAtDist(dist);
    return eOk;
}

OdResult pointsAtDists(const SegmentPath& path, std::span<const double> dists, std::vector<OdGePoint3d>& points)
{
    if (path.isEmpty())
        return eDegenerateGeometry;
    std::vector<OdGePoint3d> found;
    found.reserve(dists.size());
    for (double dist : dists) {
        if (!withinRange(dist, 0.0, path.length()))
            return eInvalidInput;
        found.push_back(path.pointAt(path.paramAtDist(dist)));
    }
    points = std::move(found);
    return eOk;
}

OdResult firstDeriv(const SegmentPath& path, double param, OdGeVector3d& deriv)
{
    if (path.numSegments() == 0)
        return eDegenerateGeometry;
    if (!withinRange(param, 0.0, path.endParam()))
        return eInvalidInput;
    deriv = path.firstDeriv(param);
    return eOk;
}

OdResult secondDeriv(const SegmentPath& path, double param, OdGeVector3d& deriv)
{
    if (path.numSegments() == 0)
        return eDegenerateGeometry;
    if (!withinRange(param, 0.0, path.endParam()))
        return eInvalidInput;
    deriv = path.secondDeriv(param);
    return eOk;
}

OdResult closestPoint(const SegmentPath& path, const OdGePoint3d& given, OdGePoint3d& closest, bool extend)
{
    if (path.isEmpty())
        return eDegenerateGeometry;
    double p;
    closest = path.closestPoint(given, extend, p);
    return eOk;
}

} // namespace vantrel::pathquery
