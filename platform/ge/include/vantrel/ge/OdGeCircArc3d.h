// A circular arc in space. evalPoint(a) = center + radius * (refVec * cos a + Y * sin a)
// with Y = normal x refVec; the parameter runs from startAng to endAng (sweep <= 2*pi).
#pragma once

#include <numbers>

#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeCurve3d.h>
#include <vantrel/ge/OdGePlane.h>

class OdGeLinearEnt3d;

class VANTREL_GE_EXPORT OdGeCircArc3d : public OdGeCurve3d {
public:
    using OdGeCurve3d::intersectWith;
    using OdGeCurve3d::length;

    OdGeCircArc3d() = default; // unit circle about the origin in the XY plane
    // Full circle; refVec follows the arbitrary-axis algorithm, matching an entity's OCS.
    OdGeCircArc3d(const OdGePoint3d& center, const OdGeVector3d& normal, double radius);
    // refVec is made perpendicular to normal; endAng below startAng is taken one turn later.
    OdGeCircArc3d(const OdGePoint3d& center, const OdGeVector3d& normal, const OdGeVector3d& refVec, double radius,
                  double startAng, double endAng);
    // The arc from start through mid to end; the points must not be colinear.
    OdGeCircArc3d(const OdGePoint3d& start, const OdGePoint3d& mid, const OdGePoint3d& end);

    OdGeCircArc3d& set(const OdGePoint3d& center, const OdGeVector3d& normal, double radius);
    OdGeCircArc3d& set(const OdGePoint3d& center, const OdGeVector3d& normal, const OdGeVector3d& refVec, double radius,
                       double startAng, double endAng);
    // False (arc unchanged) when the points are colinear or coincide.
    bool set(const OdGePoint3d& start, const OdGePoint3d& mid, const OdGePoint3d& end,
             const OdGeTol& tol = OdGeContext::gTol);

    const OdGePoint3d& center() const { return m_center; }
    const OdGeVector3d& normal() const { return m_normal; }
    const OdGeVector3d& refVec() const { return m_refVec; }
    double radius() const { return m_radius; }
    double startAng() const { return m_startAng; }
    double endAng() const { return m_endAng; }
    double sweep() const { return m_endAng - m_startAng; }

    OdGeCircArc3d& setCenter(const OdGePoint3d& center)
    {
        m_center = center;
        return *this;
    }
    OdGeCircArc3d& setRadius(double radius)
    {
        m_radius = radius;
        return *this;
    }
    OdGeCircArc3d& setAngles(double startAng, double endAng);

    // The plane of the arc with the arc's own frame: origin center, u = refVec,
    // v = normal x refVec, so that plane (u, v) angles are arc parameters.
    OdGePlane getPlane() const { return OdGePlane(m_center, m_refVec, yAxis()); }
    // The same arc in its own plane frame (centre at the origin, refVec = X).
    OdGeCircArc2d to2d() const;

    OdGePoint3d midPoint() const { return evalPoint(0.5 * (m_startAng + m_endAng)); }
    OdGeVector3d tangent(double param) const;

    // Crossings with a line (in the arc's plane or through it) and with another arc
    // (coplanar or not), bounded by the intervals. Coincident circles yield none.
    bool intersectWith(const OdGeLinearEnt3d& line, int& numInt, OdGePoint3d& p1, OdGePoint3d& p2,
                       const OdGeTol& tol = OdGeContext::gTol) const;
    bool intersectWith(const OdGeCircArc3d& arc, int& numInt, OdGePoint3d& p1, OdGePoint3d& p2,
                       const OdGeTol& tol = OdGeContext::gTol) const;

    std::unique_ptr<OdGeCurve3d> copy() const override;
    void getInterval(double& startParam, double& endParam) const override;
    OdGePoint3d evalPoint(double param) const override;
    OdGePoint3d evalPoint(double param, int numDeriv, std::vector<OdGeVector3d>& derivatives) const override;
    bool isClosed(const OdGeTol& tol = OdGeContext::gTol) const override;
    double length(double fromParam, double toParam, double tol = 1e-10) const override;
    double paramAtLength(double fromParam, double length, bool forward = true, double tol = 1e-10) const override;
    double paramOf(const OdGePoint3d& pt, const OdGeTol& tol = OdGeContext::gTol) const override;
    OdGePoint3d closestPointTo(const OdGePoint3d& pt, const OdGeTol& tol = OdGeContext::gTol) const override;
    bool intersectWith(const OdGePlane& plane, std::vector<OdGePoint3d>& points,
                       const OdGeTol& tol = OdGeContext::gTol) const override;
    void getSplitCurves(double param, std::unique_ptr<OdGeCurve3d>& piece1,
                        std::unique_ptr<OdGeCurve3d>& piece2) const override;
    // Only rotations, mirrorings, uniform scalings and translations keep an arc circular.
    OdGeCircArc3d& transformBy(const OdGeMatrix3d& m) override;
    OdGeCircArc3d& reverseParam() override;

private:
    OdGeVector3d yAxis() const { return m_normal.crossProduct(m_refVec); }
    OdGePoint3d fromPlane(const OdGePoint2d& p) const { return m_center + m_refVec * p.x + yAxis() * p.y; }

    OdGePoint3d m_center;
    OdGeVector3d m_normal{0.0, 0.0, 1.0};
    OdGeVector3d m_refVec{1.0, 0.0, 0.0};
    double m_radius = 1.0;
    double m_startAng = 0.0;
    double m_endAng = 2.0 * std::numbers::pi;
};
