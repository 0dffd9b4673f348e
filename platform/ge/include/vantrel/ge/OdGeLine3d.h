// An unbounded 3d line through a point along a direction vector.
#pragma once

#include <vantrel/ge/OdGeLinearEnt3d.h>

class VANTREL_GE_EXPORT OdGeLine3d : public OdGeLinearEnt3d {
public:
    OdGeLine3d() = default; // the X axis
    OdGeLine3d(const OdGePoint3d& point, const OdGeVector3d& dir) : OdGeLinearEnt3d(point, dir) {}
    OdGeLine3d(const OdGePoint3d& point1, const OdGePoint3d& point2) : OdGeLinearEnt3d(point1, point2 - point1) {}

    OdGeLine3d& set(const OdGePoint3d& point, const OdGeVector3d& dir);
    OdGeLine3d& set(const OdGePoint3d& point1, const OdGePoint3d& point2);

    std::unique_ptr<OdGeCurve3d> copy() const override;
    void getInterval(double& startParam, double& endParam) const override; // (-inf, +inf)
    // An unbounded line has no bounded pieces: both come back null.
    void getSplitCurves(double param, std::unique_ptr<OdGeCurve3d>& piece1,
                        std::unique_ptr<OdGeCurve3d>& piece2) const override;
};
