// Base of straight 3d curves: evalPoint(t) = pointOnLine + t * (stored direction vector),
// over the subclass's interval (unbounded for OdGeLine3d, [0, 1] for OdGeLineSeg3d).
#pragma once

#include <vantrel/ge/OdGeCurve3d.h>

class VANTREL_GE_EXPORT OdGeLinearEnt3d : public OdGeCurve3d {
public:
    using OdGeCurve3d::intersectWith;
    using OdGeCurve3d::length;

    const OdGePoint3d& pointOnLine() const { return m_point; }
    // Unit direction.
    OdGeVector3d direction() const { return m_dir.normal(); }

    // The single crossing point, within both lines' intervals; false for parallel
    // (including colinear) lines and for skew lines farther apart than tol.
    bool intersectWith(const OdGeLinearEnt3d& line, OdGePoint3d& point, const OdGeTol& tol = OdGeContext::gTol) const;
    bool isParallelTo(const OdGeLinearEnt3d& line, const OdGeTol& tol = OdGeContext::gTol) const;
    bool isPerpendicularTo(const OdGeLinearEnt3d& line, const OdGeTol& tol = OdGeContext::gTol) const;
    bool isColinearTo(const OdGeLinearEnt3d& line, const OdGeTol& tol = OdGeContext::gTol) const;
    // Whether a parameter lies in the interval, allowing tol.equalPoint() of length.
    bool isInInterval(double param, const OdGeTol& tol = OdGeContext::gTol) const;

    OdGePoint3d evalPoint(double param) const override { return m_point + m_dir * param; }
    OdGePoint3d evalPoint(double param, int numDeriv, std::vector<OdGeVector3d>& derivatives) const override;
    bool isClosed(const OdGeTol& tol = OdGeContext::gTol) const override;
    double length(double fromParam, double toParam, double tol = 1e-10) const override;
    double paramAtLength(double fromParam, double length, bool forward = true, double tol = 1e-10) const override;
    double paramOf(const OdGePoint3d& pt, const OdGeTol& tol = OdGeContext::gTol) const override;
    OdGePoint3d closestPointTo(const OdGePoint3d& pt, const OdGeTol& tol = OdGeContext::gTol) const override;
    bool intersectWith(const OdGePlane& plane, std::vector<OdGePoint3d>& points,
                       const OdGeTol& tol = OdGeContext::gTol) const override;
    OdGeLinearEnt3d& transformBy(const OdGeMatrix3d& m) override;
    OdGeLinearEnt3d& reverseParam() override;

protected:
    OdGeLinearEnt3d() = default;
    OdGeLinearEnt3d(const OdGePoint3d& point, const OdGeVector3d& dir) : m_point(point), m_dir(dir) {}

    OdGePoint3d m_point;
    OdGeVector3d m_dir{1.0, 0.0, 0.0};
};
