// An unbounded 2d line through a point along a direction vector.
#pragma once

#include <vantrel/ge/OdGeLinearEnt2d.h>

class VANTREL_GE_EXPORT OdGeLine2d : public OdGeLinearEnt2d {
public:
    OdGeLine2d() = default; // the X axis
    OdGeLine2d(const OdGePoint2d& point, const OdGeVector2d& dir) : OdGeLinearEnt2d(point, dir) {}
    OdGeLine2d(const OdGePoint2d& point1, const OdGePoint2d& point2) : OdGeLinearEnt2d(point1, point2 - point1) {}

    OdGeLine2d& set(const OdGePoint2d& point, const OdGeVector2d& dir);
    OdGeLine2d& set(const OdGePoint2d& point1, const OdGePoint2d& point2);

    std::unique_ptr<OdGeCurve2d> copy() const override;
    void getInterval(double& startParam, double& endParam) const override; // (-inf, +inf)
    // An unbounded line has no bounded pieces: both come back null.
    void getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                        std::unique_ptr<OdGeCurve2d>& piece2) const override;
};
