// A bounded 2d segment; parameter 0 at the start point, 1 at the end point.
#pragma once

#include <vantrel/ge/OdGeLinearEnt2d.h>

class VANTREL_GE_EXPORT OdGeLineSeg2d : public OdGeLinearEnt2d {
public:
    OdGeLineSeg2d() = default; // (0,0) to (1,0)
    OdGeLineSeg2d(const OdGePoint2d& start, const OdGePoint2d& end) : OdGeLinearEnt2d(start, end - start) {}

    OdGeLineSeg2d& set(const OdGePoint2d& start, const OdGePoint2d& end);

    OdGePoint2d midPoint() const { return m_point + m_dir * 0.5; }

    std::unique_ptr<OdGeCurve2d> copy() const override;
    void getInterval(double& startParam, double& endParam) const override; // [0, 1]
    void getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                        std::unique_ptr<OdGeCurve2d>& piece2) const override;
};
