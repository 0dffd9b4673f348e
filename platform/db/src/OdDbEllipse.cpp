// Ellipse entity: evaluation in closed form, lengths by the geometry library's quadrature.
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/ge/OdGeEllipArc3d.h>

#include "entity_math.h"

#include <algorithm>

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbEllipse, OdDbCurve, "ELLIPSE")

namespace {
// Start in [0, 2*pi), end in (start, start + 2*pi].
void normalizeParams(double& start, double& end)
{
    const double sweep = sweepOf(start, end);
    start = normalizeAngle(start);
    end = start + sweep;
}
} // namespace

OdDbEllipse::OdDbEllipse(const OdGePoint3d& center, const OdGeVector3d& normal, const OdGeVector3d& majorAxis,
                         double radiusRatio, double startParam, double endParam)
{
    set(center, normal, majorAxis, radiusRatio, startParam, endParam);
}

namespace {

void requireRatio(double ratio)
{
    requirePositive(ratio, "a radius ratio");
    if (ratio > 1.0 + 1e-12)
        throw OdError(eInvalidInput, "a radius ratio must not exceed 1");
}

void requireAxes(const OdGeVector3d& normal, const OdGeVector3d& majorAxis, double ratio)
{
    requireFinite(majorAxis, "a major axis");
    if (majorAxis.isZeroLength())
        throw OdError(eInvalidInput, "a major axis must not be a zero vector");
    if (std::fabs(normal.dotProduct(majorAxis.normal())) > 1e-9)
        throw OdError(eInvalidInput, "the major axis must be perpendicular to the normal");
    requireRatio(ratio);
}

} // namespace

void OdDbEllipse::checkData() const
{
    assertReadEnabled();
    requireAxes(unitNormal(m_data.normal), m_data.majorAxis, m_data.radiusRatio);
}

void OdDbEllipse::set(const OdGePoint3d& center, const OdGeVector3d& normal, const OdGeVector3d& majorAxis,
                      double radiusRatio, double startParam, double endParam)
{
    requireFinite(center, "a centre");
    const OdGeVector3d n = unitNormal(normal);
    requireAxes(n, majorAxis, radiusRatio);
    requireFinite(startParam, "a start parameter");
    requireFinite(endParam, "an end parameter");
    assertWriteEnabled();
    m_data.center = center;
    m_data.normal = n;
    m_data.majorAxis = majorAxis.orthoProject(n);
    m_data.radiusRatio = std::min(radiusRatio, 1.0);
    normalizeParams(startParam, endParam);
    m_data.startParam = startParam;
    m_data.endParam = endParam;
}

void OdDbEllipse::setCenter(const OdGePoint3d& center)
{
    requireFinite(center, "a centre");
    assertWriteEnabled();
    m_data.center = center;
}

OdGeVector3d OdDbEllipse::minorAxis() const
{
    assertReadEnabled();
    return m_data.normal.crossProduct(m_data.majorAxis) * m_data.radiusRatio;
}

void OdDbEllipse::setRadiusRatio(double ratio)
{
    requireRatio(ratio);
    assertWriteEnabled();
    m_data.radiusRatio = std::min(ratio, 1.0);
}

void OdDbEllipse::setStartParam(double param)
{
    requireFinite(param, "a start parameter");
    double end = m_data.endParam;
    normalizeParams(param, end);
    assertWriteEnabled();
    m_data.startParam = param;
    m_data.endParam = end;
}

void OdDbEllipse::setEndParam(double param)
{
    requireFinite(param, "an end parameter");
    double start = m_data.startParam;
    normalizeParams(start, param);
    assertWriteEnabled();
    m_data.startParam = start;
    m_data.endParam = param;
}

double OdDbEllipse::sweepParam() const
{
    assertReadEnabled();
    return sweepOf(m_data.startParam, m_data.endParam);
}

OdGeEllipArc3d OdDbEllipse::geArc(bool whole) const
{
    assertReadEnabled();
    const double a = m_data.majorAxis.length();
    const OdGeVector3d major = m_data.majorAxis / a;
    const double start = m_data.startParam;
    return OdGeEllipArc3d(m_data.center, major, m_data.normal.crossProduct(major), a, a * m_data.radiusRatio, start,
                          start + (whole ? kTwoPi : sweepParam()));
}

bool OdDbEllipse::paramInRange(double param) const
{
    return withinRange(param, m_data.startParam, m_data.startParam + sweepParam());
}

bool OdDbEllipse::isClosed() const { return sweepParam() >= kTwoPi - 1e-12; }

OdResult OdDbEllipse::getStartParam(double& param) const
{
    assertReadEnabled();
    param = m_data.startParam;
    return eOk;
}

OdResult OdDbEllipse::getEndParam(double& param) const
{
    param = m_data.startParam + sweepParam();
    return eOk;
}

OdResult OdDbEllipse::getPointAtParam(double param, OdGePoint3d& point) const
{
    if (!paramInRange(param))
        return eInvalidInput;
    point = geArc(false).evalPoint(param);
    return eOk;
}

OdResult OdDbEllipse::getParamAtPoint(const OdGePoint3d& point, double& param) const
{
    const OdGeEllipArc3d arc = geArc(false);
    const double t = arc.paramOf(point);
    const double size = m_data.majorAxis.length() + (m_data.center - OdGePoint3d::kOrigin).length();
    if (arc.evalPoint(t).distanceTo(point) > pointTolerance(size))
        return eInvalidInput;
    param = std::clamp(t, m_data.startParam, m_data.startParam + sweepParam());
    return eOk;
}

OdResult OdDbEllipse::getDistAtParam(double param, double& dist) const
{
    if (!paramInRange(param))
        return eInvalidInput;
    const double end = m_data.startParam + sweepParam();
    dist = geArc(false).length(m_data.startParam, std::clamp(param, m_data.startParam, end), 1e-13);
    return eOk;
}

OdResult OdDbEllipse::getParamAtDist(double dist, double& param) const
{
    const OdGeEllipArc3d arc = geArc(false);
    const double end = m_data.startParam + sweepParam();
    const double total = arc.length(m_data.startParam, end, 1e-13);
    if (!withinRange(dist, 0.0, total))
        return eInvalidInput;
    param = arc.paramAtLength(m_data.startParam, std::clamp(dist, 0.0, total), true, 1e-13);
    return eOk;
}

OdResult OdDbEllipse::getFirstDeriv(double param, OdGeVector3d& deriv) const
{
    if (!paramInRange(param))
        return eInvalidInput;
    std::vector<OdGeVector3d> d;
    geArc(false).evalPoint(param, 1, d);
    deriv = d[0];
    return eOk;
}

OdResult OdDbEllipse::getSecondDeriv(double param, OdGeVector3d& deriv) const
{
    if (!paramInRange(param))
        return eInvalidInput;
    std::vector<OdGeVector3d> d;
    geArc(false).evalPoint(param, 2, d);
    deriv = d[1];
    return eOk;
}

OdResult OdDbEllipse::getClosestPointTo(const OdGePoint3d& given, OdGePoint3d& closest, bool extend) const
{
    closest = geArc(extend).closestPointTo(given);
    return eOk;
}

OdResult OdDbEllipse::getPlane(OdGePlane& plane) const
{
    assertReadEnabled();
    plane.set(m_data.center, m_data.normal);
    return eOk;
}

void OdDbEllipse::transformBy(const OdGeMatrix3d& xform)
{
    requireInvertible(xform);
    OdGeEllipArc3d arc = geArc(false);
    arc.transformBy(xform);
    OdGeVector3d carried = m_data.normal;
    carried.transformBy(xform);
    OdGeVector3d major = arc.majorAxis(), minor = arc.minorAxis();
    double start = arc.startAng(), end = arc.endAng();
    if (major.crossProduct(minor).dotProduct(carried) < 0.0) {
        // Keep the normal on the side the matrix carries it to: flipping the minor axis maps
        // t to -t, so the arc runs from -end to -start.
        minor = -minor;
        const double s = start;
        start = -end;
        end = -s;
    }
    normalizeParams(start, end);
    assertWriteEnabled();
    m_data.center = arc.center();
    m_data.majorAxis = major * arc.majorRadius();
    m_data.normal = major.crossProduct(minor).normal();
    m_data.radiusRatio = std::min(arc.minorRadius() / arc.majorRadius(), 1.0);
    m_data.startParam = start;
    m_data.endParam = end;
}

void OdDbEllipse::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    const double sweep = sweepParam();
    wd.ellipticArc(m_data.center, m_data.majorAxis, minorAxis(), m_data.startParam, m_data.startParam + sweep);
}
