// The OdDbCurve queries of the polyline classes, answered over their drawn SegmentPath with
// the result codes of OdDbCurve: eDegenerateGeometry for an empty path, eInvalidInput for a
// parameter, distance or point off the curve.
#pragma once

#include <span>
#include <vector>

#include <vantrel/db/OdResult.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>

#include "SegmentPath.h"

namespace vantrel::pathquery {

OdResult startParam(const SegmentPath& path, double& param);
OdResult endParam(const SegmentPath& path, double& param);
OdResult pointAtParam(const SegmentPath& path, double param, OdGePoint3d& point);
OdResult paramAtPoint(const SegmentPath& path, const OdGePoint3d& point, double& param);
OdResult distAtParam(const SegmentPath& path, double param, double& dist);
OdResult paramAtDist(const SegmentPath& path, double dist, double& param);
OdResult pointsAtDists(const SegmentPath& path, std::span<const double> dists, std::vector<OdGePoint3d>& points);
OdResult firstDeriv(const SegmentPath& path, double param, OdGeVector3d& deriv);
OdResult secondDeriv(const SegmentPath& path, double param, OdGeVector3d& deriv);
OdResult closestPoint(const SegmentPath& path, const OdGePoint3d& given, OdGePoint3d& closest, bool extend);

} // namespace vantrel::pathquery
