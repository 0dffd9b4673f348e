// Transformation of planar (OCS) entities.
#include "PlanarTransform.h"

#include <cmath>

#include "entity_math.h"

namespace vantrel {

PlanarTransform::PlanarTransform(const OdGeMatrix3d& m, const OdGeVector3d& normal, double elevation)
    : m_m(m), m_normal(normal.normal()), m_elevation(elevation)
{
    entmath::requireInvertible(m);
    m_xAxis = entmath::ocsXAxis(m_normal);
    m_yAxis = entmath::ocsYAxis(m_normal);
    OdGeVector3d x = m_xAxis, y = m_yAxis, n = m_normal;
    x.transformBy(m);
    y.transformBy(m);
    n.transformBy(m);
    const double lx = x.length(), ly = y.length();
    m_similarity = std::fabs(lx - ly) <= 1e-9 * std::max(lx, ly) && std::fabs(x.dotProduct(y)) <= 1e-9 * lx * ly;
    m_scale = std::sqrt(lx * ly);
    // The image plane's normal, on the side the old normal went to; when the plane's own axes
    // then turn the other way round it, the curve's sense flips.
    m_newNormal = x.crossProduct(y).normal();
    if (m_newNormal.dotProduct(n) < 0.0) {
        m_newNormal = -m_newNormal;
        m_mirrored = true;
    }
    m_normalScale = n.dotProduct(m_newNormal);
    OdGePoint3d origin = entmath::toWorld(m_normal, OdGePoint3d(0.0, 0.0, elevation));
    origin.transformBy(m);
    m_newElevation = entmath::toOcs(m_newNormal, origin).z;
}

OdGePoint2d PlanarTransform::point(const OdGePoint2d& ocs) const
{
    OdGePoint3d w = entmath::toWorld(m_normal, OdGePoint3d(ocs.x, ocs.y, m_elevation));
    w.transformBy(m_m);
    const OdGePoint3d p = entmath::toOcs(m_newNormal, w);
    return {p.x, p.y};
}

double PlanarTransform::angle(double ocsAngle) const
{
    OdGeVector3d d = m_xAxis * std::cos(ocsAngle) + m_yAxis * std::sin(ocsAngle);
    d.transformBy(m_m);
    return std::atan2(d.dotProduct(entmath::ocsYAxis(m_newNormal)), d.dotProduct(entmath::ocsXAxis(m_newNormal)));
}

} // namespace vantrel
