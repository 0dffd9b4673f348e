// Parameters of a point in a planar frame whose axes need not be orthogonal or unit.
#include <vantrel/ge/OdGePlanarEnt.h>

OdGePoint2d OdGePlanarEnt::paramOf(const OdGePoint3d& pt) const
{
    // Normal equations of the projection: [uu uv; uv vv] (a, b) = (u.d, v.d).
    const OdGeVector3d d = pt - m_origin;
    const double uu = m_uAxis.dotProduct(m_uAxis);
    const double uv = m_uAxis.dotProduct(m_vAxis);
    const double vv = m_vAxis.dotProduct(m_vAxis);
    const double du = m_uAxis.dotProduct(d);
    const double dv = m_vAxis.dotProduct(d);
    const double det = uu * vv - uv * uv;
    return {(du * vv - dv * uv) / det, (dv * uu - du * uv) / det};
}
