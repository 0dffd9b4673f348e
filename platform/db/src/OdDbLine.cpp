// Line entity: exact curve queries by projection onto the segment.
#include <vantrel/db/OdDbLine.h>

#include "entity_math.h"

#include <algorithm>
#include <array>

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbLine, OdDbCurve, "LINE")

OdDbLine::OdDbLine(const OdGePoint3d& start, const OdGePoint3d& end)
{
    requireFinite(start, "a start point");
    requireFinite(end, "an end point");
    m_data.start = start;
    m_data.end = end;
}

void OdDbLine::setStartPoint(const OdGePoint3d& point)
{
    requireFinite(point, "a start point");
    assertWriteEnabled();
    m_data.start = point;
}

void OdDbLine::setEndPoint(const OdGePoint3d& point)
{
    requireFinite(point, "an end point");
    assertWriteEnabled();
    m_data.end = point;
}

void OdDbLine::setThickness(double thickness)
{
    requireFinite(thickness, "a thickness");
    assertWriteEnabled();
    m_data.thickness = thickness;
}

void OdDbLine::setNormal(const OdGeVector3d& normal)
{
    const OdGeVector3d n = unitNormal(normal);
    assertWriteEnabled();
    m_data.normal = n;
}

OdResult OdDbLine::getStartParam(double& param) const
{
    assertReadEnabled();
    param = 0.0;
    return eOk;
}

OdResult OdDbLine::getEndParam(double& param) const
{
    assertReadEnabled();
    param = length();
    return eOk;
}

OdResult OdDbLine::getPointAtParam(double param, OdGePoint3d& point) const
{
    assertReadEnabled();
    const double len = length();
    if (!withinRange(param, 0.0, len))
        return eInvalidInput;
    point = len > 0.0 ? m_data.start + (m_data.end - m_data.start) * (param / len) : m_data.start;
    return eOk;
}

OdResult OdDbLine::getParamAtPoint(const OdGePoint3d& point, double& param) const
{
    OdGePoint3d onLine;
    if (const OdResult found = getClosestPointTo(point, onLine, false); found != eOk)
        return found;
    if (onLine.distanceTo(point) > pointTolerance(length() + (point - OdGePoint3d::kOrigin).length()))
        return eInvalidInput;
    param = onLine.distanceTo(m_data.start);
    return eOk;
}

OdResult OdDbLine::getDistAtParam(double param, double& dist) const
{
    assertReadEnabled();
    if (!withinRange(param, 0.0, length()))
        return eInvalidInput;
    dist = std::clamp(param, 0.0, length());
    return eOk;
}

OdResult OdDbLine::getParamAtDist(double dist, double& param) const
{
    assertReadEnabled();
    if (!withinRange(dist, 0.0, length()))
        return eInvalidInput;
    param = std::clamp(dist, 0.0, length());
    return eOk;
}

OdResult OdDbLine::getFirstDeriv(double param, OdGeVector3d& deriv) const
{
    assertReadEnabled();
    const double len = length();
    if (!withinRange(param, 0.0, len))
        return eInvalidInput;
    deriv = len > 0.0 ? (m_data.end - m_data.start) / len : OdGeVector3d();
    return eOk;
}

OdResult OdDbLine::getSecondDeriv(double param, OdGeVector3d& deriv) const
{
    assertReadEnabled();
    if (!withinRange(param, 0.0, length()))
        return eInvalidInput;
    deriv = OdGeVector3d();
    return eOk;
}

OdResult OdDbLine::getClosestPointTo(const OdGePoint3d& given, OdGePoint3d& closest, bool extend) const
{
    assertReadEnabled();
    const OdGeVector3d d = m_data.end - m_data.start;
    const double l2 = d.lengthSqrd();
    if (l2 == 0.0) {
        closest = m_data.start;
        return eOk;
    }
    double t = (given - m_data.start).dotProduct(d) / l2;
    if (!extend)
        t = std::clamp(t, 0.0, 1.0);
    closest = m_data.start + d * t;
    return eOk;
}

OdResult OdDbLine::getPlane(OdGePlane& plane) const
{
    assertReadEnabled();
    const OdGeVector3d d = m_data.end - m_data.start;
    OdGeVector3d n = m_data.normal;
    if (!d.isZeroLength() && !d.isPerpendicularTo(n))
        n = d.perpVector();
    plane.set(m_data.start, n);
    return eOk;
}

void OdDbLine::transformBy(const OdGeMatrix3d& xform)
{
    requireInvertible(xform);
    assertWriteEnabled();
    m_data.start.transformBy(xform);
    m_data.end.transformBy(xform);
    const Extrusion e = transformExtrusion(xform, m_data.normal, m_data.thickness);
    m_data.normal = e.normal;
    m_data.thickness = e.thickness;
}

void OdDbLine::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    if (m_data.thickness != 0.0) {
        const OdGeVector3d up = m_data.normal * m_data.thickness;
        const std::array<OdGePoint3d, 4> sides{m_data.start, m_data.end, m_data.end + up, m_data.start + up};
        wd.polygon(sides, false);
        return;
    }
    const std::array<vantrel::PathVertex, 2> path{vantrel::PathVertex{m_data.start}, vantrel::PathVertex{m_data.end}};
    wd.path(path, false, m_data.normal);
}
