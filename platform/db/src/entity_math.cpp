// Shared checks and OCS computations of the entity classes.
#include "entity_math.h"

#include <algorithm>
#include <cassert>
#include <string>

namespace vantrel::entmath {

namespace {
[[noreturn]] void invalid(const char* what, const char* why) { throw OdError(eInvalidInput, std::string(what) + why); }

// The normal nearly every entity has, (+0, +0, 1): the arbitrary axis rule gives the world's
// axes for it exactly, so they need not be worked out.
bool isWorldNormal(const OdGeVector3d& n)
{
    return n.z == 1.0 && n.x == 0.0 && n.y == 0.0 && !std::signbit(n.x) && !std::signbit(n.y);
}

OdGeVector3d unit(const OdGeVector3d& normal) { return isWorldNormal(normal) ? normal : normal.normal(); }
} // namespace

void requireFinite(double value, const char* what)
{
    if (!std::isfinite(value))
        invalid(what, " must be a finite number");
}

void requireWidth(double width)
{
    requireFinite(width, "a width");
    if (width < 0.0)
        throw OdError(eInvalidInput, "a width must not be negative");
}

void requireLinetypeScale(double scale)
{
    if (!(scale > 0.0) || !std::isfinite(scale))
        throw OdError(eInvalidInput, "a linetype scale must be a positive number");
}

void requireLineweight(int weight)
{
    if (weight < -3 || weight > 211)
        throw OdError(eInvalidInput, "a lineweight is -3 to 211");
}

void requireFinite(const OdGePoint3d& p, const char* what)
{
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
        invalid(what, " must have finite coordinates");
}

void requireFinite(const OdGeVector3d& v, const char* what)
{
    if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
        invalid(what, " must have finite coordinates");
}

void requireFinite(const OdGePoint2d& p, const char* what)
{
    if (!std::isfinite(p.x) || !std::isfinite(p.y))
        invalid(what, " must have finite coordinates");
}

void requirePositive(double value, const char* what)
{
    if (!std::isfinite(value) || !(value > 0.0))
        invalid(what, " must be a positive number");
}

OdGeVector3d unitNormal(const OdGeVector3d& n)
{
    requireFinite(n, "a normal");
    if (n.isZeroLength())
        invalid("a normal", " must not be a zero vector");
    return n.normal();
}

void requireInvertible(const OdGeMatrix3d& m)
{
    for (const auto& row : m.entry)
        for (double v : row)
            if (!std::isfinite(v))
                invalid("a transformation", " must have finite entries");
    if (m.isSingular())
        invalid("a transformation", " must not be singular");
}

void requireConformal(const OdGeMatrix3d& m, const char* what)
{
    requireInvertible(m);
    if (!m.isUniScaledOrtho())
        throw OdError(eNotImplementedYet, std::string(what) + " cannot take a non-uniform scaling");
}

double normalizeAngle(double a)
{
    double r = std::fmod(a, kTwoPi);
    if (r < 0.0)
        r += kTwoPi;
    return r >= kTwoPi ? 0.0 : r;
}

double sweepOf(double start, double end)
{
    double s = normalizeAngle(end - start);
    return s <= 1e-12 ? kTwoPi : s;
}

OdGePoint3d toWorld(const OdGeVector3d& normal, const OdGePoint3d& ocsPoint)
{
    // The world's own plane, as most entities lie in: the sum below with its zero terms, which
    // turns a negative zero into zero and changes nothing else.
    if (isWorldNormal(normal))
        return {ocsPoint.x + 0.0, ocsPoint.y + 0.0, ocsPoint.z + 0.0};
    return OdGePoint3d::kOrigin + ocsXAxis(normal) * ocsPoint.x + ocsYAxis(normal) * ocsPoint.y
        + unit(normal) * ocsPoint.z;
}

OdGePoint3d toOcs(const OdGeVector3d& normal, const OdGePoint3d& worldPoint)
{
    const OdGeVector3d v = worldPoint - OdGePoint3d::kOrigin;
    return {v.dotProduct(ocsXAxis(normal)), v.dotProduct(ocsYAxis(normal)), v.dotProduct(unit(normal))};
}

OdGeVector3d ocsXAxis(const OdGeVector3d& normal)
{
    return isWorldNormal(normal) ? OdGeVector3d(1.0, 0.0, 0.0) : normal.perpVector();
}

OdGeVector3d ocsYAxis(const OdGeVector3d& normal)
{
    return isWorldNormal(normal) ? OdGeVector3d(0.0, 1.0, 0.0) : normal.normal().crossProduct(normal.perpVector());
}

Extrusion transformExtrusion(const OdGeMatrix3d& m, const OdGeVector3d& normal, double thickness)
{
    // The new normal is that of the image plane (the inverse transpose carries plane normals),
    // on the side the matrix carries the old one; the thickness is the carried extrusion's
    // height over that plane.
    OdGeVector3d carried = normal;
    carried.transformBy(m);
    OdGeVector3d n = normal;
    n.transformBy(m.inverse().transpose());
    n.normalize();
    if (n.dotProduct(carried) < 0.0)
        n = -n;
    return {n, thickness * carried.dotProduct(n)};
}

double pointTolerance(double size) { return std::max(OdGeContext::gTol.equalPoint(), 1e-9 * size); }

bool withinRange(double value, double lo, double hi)
{
    const double eps = 1e-10 * std::max({1.0, std::fabs(lo), std::fabs(hi)});
    return value >= lo - eps && value <= hi + eps;
}

CircleFrame::CircleFrame(const OdGePoint3d& worldCenter, const OdGeVector3d& unitNormal, double r)
    : center(worldCenter), xAxis(ocsXAxis(unitNormal)), yAxis(ocsYAxis(unitNormal)), normal(unitNormal), radius(r)
{
}

OdGePoint3d CircleFrame::pointAt(double angle) const
{
    return center + (xAxis * std::cos(angle) + yAxis * std::sin(angle)) * radius;
}

OdGeVector3d CircleFrame::firstDeriv(double angle) const
{
    return (xAxis * -std::sin(angle) + yAxis * std::cos(angle)) * radius;
}

OdGeVector3d CircleFrame::secondDeriv(double angle) const
{
    return (xAxis * -std::cos(angle) - yAxis * std::sin(angle)) * radius;
}

bool CircleFrame::angleOf(const OdGePoint3d& point, double& angle) const
{
    const OdGeVector3d v = point - center;
    const double x = v.dotProduct(xAxis), y = v.dotProduct(yAxis);
    if (std::hypot(x, y) <= OdGeContext::gTol.equalPoint() * 1e-3 * std::max(1.0, radius))
        return false;
    angle = normalizeAngle(std::atan2(y, x));
    return true;
}

OdGePoint3d CircleFrame::closestPoint(const OdGePoint3d& given, double start, double sweep) const
{
    double a;
    if (!angleOf(given, a))
        return pointAt(start);
    if (normalizeAngle(a - start) <= sweep)
        return pointAt(a);
    const OdGePoint3d s = pointAt(start), e = pointAt(start + sweep);
    return s.distanceTo(given) <= e.distanceTo(given) ? s : e;
}

bool CircleFrame::paramOf(const OdGePoint3d& point, double start, double sweep, double& param) const
{
    const OdGePoint3d near = closestPoint(point, start, sweep);
    if (near.distanceTo(point) > pointTolerance(radius + (center - OdGePoint3d::kOrigin).length()))
        return false;
    double a;
    if (!angleOf(near, a))
        return false;
    double rel = normalizeAngle(a - start);
    // Just short of a full turn is the start point seen from the other side.
    if (rel > sweep)
        rel = kTwoPi - rel < rel - sweep ? 0.0 : sweep;
    param = start + rel;
    return true;
}

OdResult CircleFrame::pointAtParam(double param, double start, double sweep, OdGePoint3d& point) const
{
    if (!withinRange(param, start, start + sweep))
        return eInvalidInput;
    point = pointAt(param);
    return eOk;
}

OdResult CircleFrame::distAtParam(double param, double start, double sweep, double& dist) const
{
    if (!withinRange(param, start, start + sweep))
        return eInvalidInput;
    dist = std::clamp(param - start, 0.0, sweep) * radius;
    return eOk;
}

OdResult CircleFrame::paramAtDist(double dist, double start, double sweep, double& param) const
{
    const double total = sweep * radius;
    if (!withinRange(dist, 0.0, total))
        return eInvalidInput;
    param = start + std::clamp(dist, 0.0, total) / radius;
    return eOk;
}

OdResult CircleFrame::derivAt(double param, double start, double sweep, int order, OdGeVector3d& deriv) const
{
    assert(order == 1 || order == 2);
    if (!withinRange(param, start, start + sweep))
        return eInvalidInput;
    deriv = order == 1 ? firstDeriv(param) : secondDeriv(param);
    return eOk;
}

} // namespace vantrel::entmath
