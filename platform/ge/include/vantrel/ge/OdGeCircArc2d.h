// A 2d circular arc. evalPoint(a) = center + radius * (refVec * cos a + Y * sin a), where
// Y is refVec turned 90 degrees counterclockwise, or clockwise for a clockwise arc;
// the parameter runs from startAng to endAng (endAng - startAng <= 2*pi).
#pragma once

#include <numbers>

#include <vantrel/ge/OdGeCurve2d.h>

class OdGeLinearEnt2d;

class VANTREL_GE_EXPORT OdGeCircArc2d : public OdGeCurve2d {
public:
    using OdGeCurve2d::length;

    OdGeCircArc2d() = default; // unit circle about the origin
    // endAng below startAng is taken one turn later (the DXF convention).
    OdGeCircArc2d(const OdGePoint2d& center, double radius, double startAng = 0.0,
                  double endAng = 2.0 * std::numbers::pi, const OdGeVector2d& refVec = OdGeVector2d::kXAxis,
                  bool isClockWise = false);
    // The arc from start through mid to end; the points must not be colinear.
    OdGeCircArc2d(const OdGePoint2d& start, const OdGePoint2d& mid, const OdGePoint2d& end);
    // The polyline-segment arc: with bulgeFlag, bulge = tan(sweep / 4), negative for a
    // clockwise arc; without it, bulge is the signed sagitta (arc height over the chord).
    // bulge must be non-zero and the points distinct: a zero bulge is a straight segment.
    OdGeCircArc2d(const OdGePoint2d& start, const OdGePoint2d& end, double bulge, bool bulgeFlag = true);

    OdGeCircArc2d& set(const OdGePoint2d& center, double radius, double startAng = 0.0,
                       double endAng = 2.0 * std::numbers::pi, const OdGeVector2d& refVec = OdGeVector2d::kXAxis,
                       bool isClockWise = false);
    // False (arc unchanged) when the points are colinear or coincide.
    bool set(const OdGePoint2d& start, const OdGePoint2d& mid, const OdGePoint2d& end,
             const OdGeTol& tol = OdGeContext::gTol);
    OdGeCircArc2d& set(const OdGePoint2d& start, const OdGePoint2d& end, double bulge, bool bulgeFlag = true);

    const OdGePoint2d& center() const { return m_center; }
    double radius() const { return m_radius; }
    double startAng() const { return m_startAng; }
    double endAng() const { return m_endAng; }
    const OdGeVector2d& refVec() const { return m_refVec; }
    bool isClockWise() const { return m_clockWise; }
    double sweep() const { return m_endAng - m_startAng; }
    // tan(sweep / 4), negative when clockwise.
    double bulge() const;

    OdGeCircArc2d& setCenter(const OdGePoint2d& center)
    {
        m_center = center;
        return *this;
    }
    OdGeCircArc2d& setRadius(double radius)
    {
        m_radius = radius;
        return *this;
    }
    OdGeCircArc2d& setAngles(double startAng, double endAng);
    OdGeCircArc2d& setRefVec(const OdGeVector2d& refVec)
    {
        m_refVec = refVec.normal();
        return *this;
    }

    OdGePoint2d midPoint() const { return evalPoint(0.5 * (m_startAng + m_endAng)); }
    // Unit tangent in the direction of increasing parameter.
    OdGeVector2d tangent(double param) const;
    // Whether pt's direction from the center falls within the arc's angular range.
    bool isInAngularRange(const OdGePoint2d& pt, const OdGeTol& tol = OdGeContext::gTol) const;

    // Crossings with a (bounded or not) line, or with another arc, both bounded by
    // their intervals. A tangent contact counts once. Concentric arcs yield none.
    bool intersectWith(const OdGeLinearEnt2d& line, int& numInt, OdGePoint2d& p1, OdGePoint2d& p2,
                       const OdGeTol& tol = OdGeContext::gTol) const;
    bool intersectWith(const OdGeCircArc2d& arc, int& numInt, OdGePoint2d& p1, OdGePoint2d& p2,
                       const OdGeTol& tol = OdGeContext::gTol) const;

    std::unique_ptr<OdGeCurve2d> copy() const override;
    void getInterval(double& startParam, double& endParam) const override;
    OdGePoint2d evalPoint(double param) const override;
    OdGePoint2d evalPoint(double param, int numDeriv, std::vector<OdGeVector2d>& derivatives) const override;
    bool isClosed(const OdGeTol& tol = OdGeContext::gTol) const override;
    double length(double fromParam, double toParam, double tol = 1e-10) const override;
    double paramAtLength(double fromParam, double length, bool forward = true, double tol = 1e-10) const override;
    double paramOf(const OdGePoint2d& pt, const OdGeTol& tol = OdGeContext::gTol) const override;
    OdGePoint2d closestPointTo(const OdGePoint2d& pt, const OdGeTol& tol = OdGeContext::gTol) const override;
    void getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                        std::unique_ptr<OdGeCurve2d>& piece2) const override;
    // Only rotations, mirrorings, uniform scalings and translations keep an arc circular.
    OdGeCircArc2d& transformBy(const OdGeMatrix2d& m) override;
    OdGeCircArc2d& reverseParam() override;

private:
    OdGeVector2d yAxis() const { return m_clockWise ? -m_refVec.perpVector() : m_refVec.perpVector(); }
    // Angle of pt about the center in the arc's sense, reduced to [startAng, startAng + 2*pi).
    double angleOf(const OdGePoint2d& pt) const;

    OdGePoint2d m_center;
    double m_radius = 1.0;
    double m_startAng = 0.0;
    double m_endAng = 2.0 * std::numbers::pi;
    OdGeVector2d m_refVec{1.0, 0.0};
    bool m_clockWise = false;
};
