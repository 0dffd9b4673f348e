// How a transformation carries a planar entity (an OCS at an elevation): the new normal and
// elevation, the new OCS coordinates of points and directions, the scale of widths, and
// whether the curve's turning sense flips about the new normal (bulges change sign).
#pragma once

#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGeVector3d.h>

namespace vantrel {

class PlanarTransform {
public:
    // Raises OdError(eInvalidInput) for a singular or non-finite matrix.
    PlanarTransform(const OdGeMatrix3d& m, const OdGeVector3d& normal, double elevation);

    // True when the plane is only moved, turned, mirrored and scaled uniformly, so that arcs
    // stay arcs and widths scale by scale().
    bool isSimilarity() const { return m_similarity; }
    const OdGeVector3d& newNormal() const { return m_newNormal; }
    double newElevation() const { return m_newElevation; }
    bool mirrored() const { return m_mirrored; }
    double scale() const { return m_scale; }
    // The factor of a length along the old normal (thickness) measured along the new one.
    double normalScale() const { return m_normalScale; }

    OdGePoint2d point(const OdGePoint2d& ocs) const;
    double angle(double ocsAngle) const;
    double bulge(double bulge) const { return m_mirrored ? -bulge : bulge; }

private:
    OdGeMatrix3d m_m;
    OdGeVector3d m_normal, m_xAxis, m_yAxis, m_newNormal;
    double m_elevation;
    double m_newElevation = 0.0;
    double m_scale = 1.0;
    double m_normalScale = 1.0;
    bool m_mirrored = false;
    bool m_similarity = true;
};

} // namespace vantrel
