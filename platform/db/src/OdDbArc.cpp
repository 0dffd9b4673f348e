// Arc entity: analytic curve queries in the OCS of the normal.
#include <vantrel/db/OdDbArc.h>

#include "entity_math.h"

#include <cassert>

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbArc, OdDbCurve, "ARC")

namespace {
CircleFrame frameOf(const OdDbArc::Data& d) { return CircleFrame(toWorld(d.normal, d.ocsCenter), d.normal, d.radius); }
} // namespace

OdDbArc::OdDbArc(const OdGePoint3d& center, const OdGeVector3d& normal, double radius, double startAngle,
                 double endAngle)
{
    requireFinite(center, "a centre");
    requirePositive(radius, "a radius");
    requireFinite(startAngle, "a start angle");
    requireFinite(endAngle, "an end angle");
    m_data.normal = unitNormal(normal);
    m_data.ocsCenter = toOcs(m_data.normal, center);
    m_data.radius = radius;
    m_data.startAngle = normalizeAngle(startAngle);
    m_data.endAngle = normalizeAngle(endAngle);
}

OdGePoint3d OdDbArc::center() const
{
    assertReadEnabled();
    return toWorld(m_data.normal, m_data.ocsCenter);
}

void OdDbArc::setCenter(const OdGePoint3d& center)
{
    requireFinite(center, "a centre");
    assertWriteEnabled();
    m_data.ocsCenter = toOcs(m_data.normal, center);
}

void OdDbArc::setRadius(double radius)
{
    requirePositive(radius, "a radius");
    assertWriteEnabled();
    m_data.radius = radius;
}

void OdDbArc::setStartAngle(double angle)
{
    requireFinite(angle, "a start angle");
    assertWriteEnabled();
    m_data.startAngle = normalizeAngle(angle);
}

void OdDbArc::setEndAngle(double angle)
{
    requireFinite(angle, "an end angle");
    assertWriteEnabled();
    m_data.endAngle = normalizeAngle(angle);
}

double OdDbArc::totalAngle() const
{
    assertReadEnabled();
    return sweepOf(m_data.startAngle, m_data.endAngle);
}

double OdDbArc::length() const { return totalAngle() * m_data.radius; }

void OdDbArc::setThickness(double thickness)
{
    requireFinite(thickness, "a thickness");
    assertWriteEnabled();
    m_data.thickness = thickness;
}

void OdDbArc::setNormal(const OdGeVector3d& normal)
{
    const OdGeVector3d n = unitNormal(normal);
    const OdGePoint3d c = center();
    assertWriteEnabled();
    m_data.normal = n;
    m_data.ocsCenter = toOcs(n, c);
}

OdResult OdDbArc::getStartParam(double& param) const
{
    assertReadEnabled();
    param = m_data.startAngle;
    return eOk;
}

OdResult OdDbArc::getEndParam(double& param) const
{
    param = m_data.startAngle + totalAngle();
    return eOk;
}

OdResult OdDbArc::getPointAtParam(double param, OdGePoint3d& point) const
{
    const double sweep = totalAngle();
    return frameOf(m_data).pointAtParam(param, m_data.startAngle, sweep, point);
}

OdResult OdDbArc::getParamAtPoint(const OdGePoint3d& point, double& param) const
{
    return frameOf(m_data).paramOf(point, m_data.startAngle, totalAngle(), param) ? eOk : eInvalidInput;
}

OdResult OdDbArc::getDistAtParam(double param, double& dist) const
{
    const double sweep = totalAngle();
    return frameOf(m_data).distAtParam(param, m_data.startAngle, sweep, dist);
}

OdResult OdDbArc::getParamAtDist(double dist, double& param) const
{
    const double sweep = totalAngle();
    return frameOf(m_data).paramAtDist(dist, m_data.startAngle, sweep, param);
}

OdResult OdDbArc::getFirstDeriv(double param, OdGeVector3d& deriv) const
{
    const double sweep = totalAngle();
    return frameOf(m_data).derivAt(param, m_data.startAngle, sweep, 1, deriv);
}

OdResult OdDbArc::getSecondDeriv(double param, OdGeVector3d& deriv) const
{
    const double sweep = totalAngle();
    return frameOf(m_data).derivAt(param, m_data.startAngle, sweep, 2, deriv);
}

OdResult OdDbArc::getClosestPointTo(const OdGePoint3d& given, OdGePoint3d& closest, bool extend) const
{
    closest = extend ? frameOf(m_data).closestPoint(given, 0.0, kTwoPi)
                     : frameOf(m_data).closestPoint(given, m_data.startAngle, totalAngle());
    return eOk;
}

OdResult OdDbArc::getPlane(OdGePlane& plane) const
{
    plane.set(center(), m_data.normal);
    return eOk;
}

void OdDbArc::transformBy(const OdGeMatrix3d& xform)
{
    requireConformal(xform, "an arc");
    const CircleFrame before = frameOf(m_data);
    const double sweep = totalAngle();
    OdGePoint3d c = before.center;
    c.transformBy(xform);
    const Extrusion e = transformExtrusion(xform, m_data.normal, m_data.thickness);
    const CircleFrame after(c, e.normal, m_data.radius * xform.scale());
    // A mirroring reverses the turning sense about the carried normal: the old end becomes
    // the new start.
    OdGePoint3d first = before.pointAt(xform.det() < 0.0 ? m_data.startAngle + sweep : m_data.startAngle);
    first.transformBy(xform);
    double start = 0.0;
    const bool found = after.angleOf(first, start);
    assert(found);
    (void)found;
    assertWriteEnabled();
    m_data.normal = after.normal;
    m_data.thickness = e.thickness;
    m_data.radius = after.radius;
    m_data.ocsCenter = toOcs(after.normal, c);
    m_data.startAngle = start;
    m_data.endAngle = normalizeAngle(start + sweep);
}

void OdDbArc::subWorldDraw(vantrel::WorldDraw& wd) const
{
    const CircleFrame f = frameOf(data());
    const double sweep = totalAngle();
    const OdGeVector3d startVector = f.xAxis * std::cos(m_data.startAngle) + f.yAxis * std::sin(m_data.startAngle);
    wd.circularArc(f.center, f.radius, f.normal, startVector, sweep);
    // Seen from above, an extrusion straight up lies on the curve itself.
    if (m_data.thickness != 0.0 && !extrudesAlongZ(f.normal))
        wd.circularArc(f.center + f.normal * m_data.thickness, f.radius, f.normal, startVector, sweep);
}
