// Circle entity: analytic curve queries in the OCS of the normal.
#include <vantrel/db/OdDbCircle.h>

#include "entity_math.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbCircle, OdDbCurve, "CIRCLE")

namespace {
CircleFrame frameOf(const OdDbCircle::Data& d)
{
    return CircleFrame(toWorld(d.normal, d.ocsCenter), d.normal, d.radius);
}
} // namespace

OdDbCircle::OdDbCircle(const OdGePoint3d& center, const OdGeVector3d& normal, double radius)
{
    requireFinite(center, "a centre");
    requirePositive(radius, "a radius");
    m_data.normal = unitNormal(normal);
    m_data.ocsCenter = toOcs(m_data.normal, center);
    m_data.radius = radius;
}

OdGePoint3d OdDbCircle::center() const
{
    assertReadEnabled();
    return toWorld(m_data.normal, m_data.ocsCenter);
}

void OdDbCircle::setCenter(const OdGePoint3d& center)
{
    requireFinite(center, "a centre");
    assertWriteEnabled();
    m_data.ocsCenter = toOcs(m_data.normal, center);
}

void OdDbCircle::setRadius(double radius)
{
    requirePositive(radius, "a radius");
    assertWriteEnabled();
    m_data.radius = radius;
}

void OdDbCircle::setThickness(double thickness)
{
    requireFinite(thickness, "a thickness");
    assertWriteEnabled();
    m_data.thickness = thickness;
}

void OdDbCircle::setNormal(const OdGeVector3d& normal)
{
    const OdGeVector3d n = unitNormal(normal);
    const OdGePoint3d c = center();
    assertWriteEnabled();
    m_data.normal = n;
    m_data.ocsCenter = toOcs(n, c);
}

double OdDbCircle::circumference() const
{
    assertReadEnabled();
    return kTwoPi * m_data.radius;
}

OdResult OdDbCircle::getStartParam(double& param) const
{
    assertReadEnabled();
    param = 0.0;
    return eOk;
}

OdResult OdDbCircle::getEndParam(double& param) const
{
    assertReadEnabled();
    param = kTwoPi;
    return eOk;
}

OdResult OdDbCircle::getPointAtParam(double param, OdGePoint3d& point) const
{
    assertReadEnabled();
    return frameOf(m_data).pointAtParam(param, 0.0, kTwoPi, point);
}

OdResult OdDbCircle::getParamAtPoint(const OdGePoint3d& point, double& param) const
{
    assertReadEnabled();
    return frameOf(m_data).paramOf(point, 0.0, kTwoPi, param) ? eOk : eInvalidInput;
}

OdResult OdDbCircle::getDistAtParam(double param, double& dist) const
{
    assertReadEnabled();
    return frameOf(m_data).distAtParam(param, 0.0, kTwoPi, dist);
}

OdResult OdDbCircle::getParamAtDist(double dist, double& param) const
{
    assertReadEnabled();
    return frameOf(m_data).paramAtDist(dist, 0.0, kTwoPi, param);
}

OdResult OdDbCircle::getFirstDeriv(double param, OdGeVector3d& deriv) const
{
    assertReadEnabled();
    return frameOf(m_data).derivAt(param, 0.0, kTwoPi, 1, deriv);
}

OdResult OdDbCircle::getSecondDeriv(double param, OdGeVector3d& deriv) const
{
    assertReadEnabled();
    return frameOf(m_data).derivAt(param, 0.0, kTwoPi, 2, deriv);
}

OdResult OdDbCircle::getClosestPointTo(const OdGePoint3d& given, OdGePoint3d& closest, bool) const
{
    assertReadEnabled();
    closest = frameOf(m_data).closestPoint(given, 0.0, kTwoPi);
    return eOk;
}

OdResult OdDbCircle::getPlane(OdGePlane& plane) const
{
    plane.set(center(), m_data.normal);
    return eOk;
}

void OdDbCircle::transformBy(const OdGeMatrix3d& xform)
{
    requireConformal(xform, "a circle");
    OdGePoint3d c = center();
    c.transformBy(xform);
    const Extrusion e = transformExtrusion(xform, m_data.normal, m_data.thickness);
    const double radius = m_data.radius * xform.scale();
    assertWriteEnabled();
    m_data.normal = e.normal;
    m_data.thickness = e.thickness;
    m_data.radius = radius;
    m_data.ocsCenter = toOcs(e.normal, c);
}

void OdDbCircle::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    const CircleFrame f = frameOf(m_data);
    wd.circularArc(f.center, f.radius, f.normal, f.xAxis, kTwoPi);
    // Seen from above, an extrusion straight up lies on the curve itself.
    if (m_data.thickness != 0.0 && !extrudesAlongZ(f.normal))
        wd.circularArc(f.center + f.normal * m_data.thickness, f.radius, f.normal, f.xAxis, kTwoPi);
}
