// Base of straight 2d curves: evalPoint(t) = pointOnLine + t * (stored direction vector),
// over the subclass's interval (unbounded for OdGeLine2d, [0, 1] for OdGeLineSeg2d).
#pragma once

#include <vantrel/ge/OdGeCurve2d.h>

class VANTREL_GE_EXPORT OdGeLinearEnt2d : public OdGeCurve2d {
public:
    using OdGeCurve2d::length;

    const OdGePoint2d& pointOnLine() const { return m_point; }
    // Unit direction.
    OdGeVector2d direction() const { return m_dir.normal(); }

    // The single crossing point, within both lines' intervals; false for parallel
    // (including colinear) lines.
    bool intersectWith(const OdGeLinearEnt2d& line, OdGePoint2d& point, const OdGeTol& tol = OdGeContext::gTol) const;
    bool isParallelTo(const OdGeLinearEnt2d& line, const OdGeTol& tol = OdGeContext::gTol) const;
    bool isPerpendicularTo(const OdGeLinearEnt2d& line, const OdGeTol& tol = OdGeContext::gTol) const;
    bool isColinearTo(const OdGeLinearEnt2d& line, const OdGeTol& tol = OdGeContext::gTol) const;
    // Whether a parameter lies in the interval, allowing tol.equalPoint() of length.
    bool isInInterval(double param, const OdGeTol& tol = OdGeContext::gTol) const;

    OdGePoint2d evalPoint(double param) const override { return m_point + m_dir * param; }
    OdGePoint2d evalPoint(double param, int numDeriv, std::vector<OdGeVector2d>& derivatives) const override;
    bool isClosed(const OdGeTol& tol = OdGeContext::gTol) const override;
    double length(double fromParam, double toParam, double tol = 1e-10) const override;
    double paramAtLength(double fromParam, double length, bool forward = true, double tol = 1e-10) const override;
    double paramOf(const OdGePoint2d& pt, const OdGeTol& tol = OdGeContext::gTol) const override;
    OdGePoint2d closestPointTo(const OdGePoint2d& pt, const OdGeTol& tol = OdGeContext::gTol) const override;
    OdGeLinearEnt2d& transformBy(const OdGeMatrix2d& m) override;
    OdGeLinearEnt2d& reverseParam() override;

protected:
    OdGeLinearEnt2d() = default;
    OdGeLinearEnt2d(const OdGePoint2d& point, const OdGeVector2d& dir) : m_point(point), m_dir(dir) {}

    OdGePoint2d m_point;
    OdGeVector2d m_dir{1.0, 0.0};
};
