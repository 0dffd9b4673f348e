// A bounded 3d segment; parameter 0 at the start point, 1 at the end point.
#pragma once

#include <vantrel/ge/OdGeLinearEnt3d.h>

class VANTREL_GE_EXPORT OdGeLineSeg3d : public OdGeLinearEnt3d {
public:
    OdGeLineSeg3d() = default; // (0,0,0) to (1,0,0)
    OdGeLineSeg3d(const OdGePoint3d& start, const OdGePoint3d& end) : OdGeLinearEnt3d(start, end - start) {}

    OdGeLineSeg3d& set(const OdGePoint3d& start, const OdGePoint3d& end);

    OdGePoint3d midPoint() const { return m_point + m_dir * 0.5; }

    std::unique_ptr<OdGeCurve3d> copy() const override;
    void getInterval(double& startParam, double& endParam) const override; // [0, 1]
    void getSplitCurves(double param, std::unique_ptr<OdGeCurve3d>& piece1,
                        std::unique_ptr<OdGeCurve3d>& piece2) const override;
};
