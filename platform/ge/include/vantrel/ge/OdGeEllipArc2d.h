// A 2d elliptical arc. evalPoint(t) = center + majorRadius * cos t * majorAxis
// + minorRadius * sin t * minorAxis, with unit perpendicular axes (minorAxis may be
// clockwise of majorAxis) and t running from startAng to endAng.
#pragma once

#include <numbers>

#include <vantrel/ge/OdGeCurve2d.h>

class OdGeCircArc2d;
class OdGeLinearEnt2d;

class VANTREL_GE_EXPORT OdGeEllipArc2d : public OdGeCurve2d {
public:
    using OdGeCurve2d::length;

    OdGeEllipArc2d() = default; // unit circle about the origin
    // minorAxis is made perpendicular to majorAxis on its side; endAng below startAng is
    // taken one turn later.
    OdGeEllipArc2d(const OdGePoint2d& center, const OdGeVector2d& majorAxis, const OdGeVector2d& minorAxis,
                   double majorRadius, double minorRadius, double startAng = 0.0,
                   double endAng = 2.0 * std::numbers::pi);
    explicit OdGeEllipArc2d(const OdGeCircArc2d& arc);

    OdGeEllipArc2d& set(const OdGePoint2d& center, const OdGeVector2d& majorAxis, const OdGeVector2d& minorAxis,
                        double majorRadius, double minorRadius, double startAng = 0.0,
                        double endAng = 2.0 * std::numbers::pi);
    OdGeEllipArc2d& setAngles(double startAng, double endAng);

    const OdGePoint2d& center() const { return m_center; }
    const OdGeVector2d& majorAxis() const { return m_majorAxis; }
    const OdGeVector2d& minorAxis() const { return m_minorAxis; }
    double majorRadius() const { return m_majorRadius; }
    double minorRadius() const { return m_minorRadius; }
    double startAng() const { return m_startAng; }
    double endAng() const { return m_endAng; }
    bool isClockWise() const { return m_majorAxis.crossProduct(m_minorAxis) < 0.0; }
    bool isCircular(const OdGeTol& tol = OdGeContext::gTol) const
    {
        return std::fabs(m_majorRadius - m_minorRadius) <= tol.equalPoint();
    }

    // Crossings with a line, within both intervals.
    bool intersectWith(const OdGeLinearEnt2d& line, int& numInt, OdGePoint2d& p1, OdGePoint2d& p2,
                       const OdGeTol& tol = OdGeContext::gTol) const;

    std::unique_ptr<OdGeCurve2d> copy() const override;
    void getInterval(double& startParam, double& endParam) const override;
    OdGePoint2d evalPoint(double param) const override;
    OdGePoint2d evalPoint(double param, int numDeriv, std::vector<OdGeVector2d>& derivatives) const override;
    bool isClosed(const OdGeTol& tol = OdGeContext::gTol) const override;
    double length(double fromParam, double toParam, double tol = 1e-10) const override;
    void getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                        std::unique_ptr<OdGeCurve2d>& piece2) const override;
    // Any affine map; the image's principal axes are found again.
    OdGeEllipArc2d& transformBy(const OdGeMatrix2d& m) override;
    OdGeEllipArc2d& reverseParam() override;

private:
    OdGePoint2d m_center;
    OdGeVector2d m_majorAxis{1.0, 0.0};
    OdGeVector2d m_minorAxis{0.0, 1.0};
    double m_majorRadius = 1.0;
    double m_minorRadius = 1.0;
    double m_startAng = 0.0;
    double m_endAng = 2.0 * std::numbers::pi;
};
