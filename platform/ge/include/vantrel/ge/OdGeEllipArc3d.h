// An elliptical arc in space. evalPoint(t) = center + majorRadius * cos t * majorAxis
// + minorRadius * sin t * minorAxis, with unit perpendicular axes and t (the parametric
// angle, as in DXF) running from startAng to endAng.
#pragma once

#include <numbers>

#include <vantrel/ge/OdGeCurve3d.h>
#include <vantrel/ge/OdGePlane.h>

class OdGeCircArc3d;
class OdGeLinearEnt3d;

class VANTREL_GE_EXPORT OdGeEllipArc3d : public OdGeCurve3d {
public:
    using OdGeCurve3d::intersectWith;
    using OdGeCurve3d::length;

    OdGeEllipArc3d() = default; // unit circle about the origin in the XY plane
    // minorAxis is made perpendicular to majorAxis; endAng below startAng is taken one turn later.
    OdGeEllipArc3d(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                   double majorRadius, double minorRadius, double startAng = 0.0,
                   double endAng = 2.0 * std::numbers::pi);
    explicit OdGeEllipArc3d(const OdGeCircArc3d& arc);

    OdGeEllipArc3d& set(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                        double majorRadius, double minorRadius, double startAng = 0.0,
                        double endAng = 2.0 * std::numbers::pi);
    OdGeEllipArc3d& setAngles(double startAng, double endAng);

    const OdGePoint3d& center() const { return m_center; }
    const OdGeVector3d& majorAxis() const { return m_majorAxis; }
    const OdGeVector3d& minorAxis() const { return m_minorAxis; }
    double majorRadius() const { return m_majorRadius; }
    double minorRadius() const { return m_minorRadius; }
    double startAng() const { return m_startAng; }
    double endAng() const { return m_endAng; }
    OdGeVector3d normal() const { return m_majorAxis.crossProduct(m_minorAxis); }
    // minorRadius / majorRadius, as stored in DXF.
    double radiusRatio() const { return m_minorRadius / m_majorRadius; }
    bool isCircular(const OdGeTol& tol = OdGeContext::gTol) const
    {
        return std::fabs(m_majorRadius - m_minorRadius) <= tol.equalPoint();
    }
    // The ellipse's plane with u = majorAxis, v = minorAxis.
    OdGePlane getPlane() const { return OdGePlane(m_center, m_majorAxis, m_minorAxis); }

    // Crossings with a line in the ellipse's plane or through it, within both intervals.
    bool intersectWith(const OdGeLinearEnt3d& line, int& numInt, OdGePoint3d& p1, OdGePoint3d& p2,
                       const OdGeTol& tol = OdGeContext::gTol) const;

    std::unique_ptr<OdGeCurve3d> copy() const override;
    void getInterval(double& startParam, double& endParam) const override;
    OdGePoint3d evalPoint(double param) const override;
    OdGePoint3d evalPoint(double param, int numDeriv, std::vector<OdGeVector3d>& derivatives) const override;
    bool isClosed(const OdGeTol& tol = OdGeContext::gTol) const override;
    double length(double fromParam, double toParam, double tol = 1e-10) const override;
    bool intersectWith(const OdGePlane& plane, std::vector<OdGePoint3d>& points,
                       const OdGeTol& tol = OdGeContext::gTol) const override;
    void getSplitCurves(double param, std::unique_ptr<OdGeCurve3d>& piece1,
                        std::unique_ptr<OdGeCurve3d>& piece2) const override;
    // Any affine map: the image's principal axes are found again and the
    // parameters shifted so that each point keeps its place on the arc.
    OdGeEllipArc3d& transformBy(const OdGeMatrix3d& m) override;
    OdGeEllipArc3d& reverseParam() override;

private:
    OdGePoint3d m_center;
    OdGeVector3d m_majorAxis{1.0, 0.0, 0.0};
    OdGeVector3d m_minorAxis{0.0, 1.0, 0.0};
    double m_majorRadius = 1.0;
    double m_minorRadius = 1.0;
    double m_startAng = 0.0;
    double m_endAng = 2.0 * std::numbers::pi;
};
