// Checks and small computations shared by the entity classes: finite input, unit normals,
// angles, the OCS of a normal and how a transformation carries an extrusion.
#pragma once

#include <vantrel/db/OdDbExport.h>
#include <vantrel/db/OdError.h>
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>

#include <cmath>
#include <numbers>

namespace vantrel::entmath {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Raise OdError(eInvalidInput) naming `what` for NaN or infinite input.
void requireFinite(double value, const char* what);
void requireFinite(const OdGePoint3d& p, const char* what);
void requireFinite(const OdGeVector3d& v, const char* what);
void requireFinite(const OdGePoint2d& p, const char* what);
void requirePositive(double value, const char* what);
// A polyline or vertex width: finite and not negative.
void requireWidth(double width);
// What every entity has: a positive linetype scale and a lineweight of -3 to 211.
void requireLinetypeScale(double scale);
void requireLineweight(int weight);
// The unit vector of a finite, non-zero direction.
OdGeVector3d unitNormal(const OdGeVector3d& n);
// Refuses matrices that are not finite or collapse space.
void requireInvertible(const OdGeMatrix3d& m);

// Curves that must stay circular take only rotations, mirrorings, uniform scalings and
// translations: others raise OdError(eNotImplementedYet).
void requireConformal(const OdGeMatrix3d& m, const char* what);

// The angle reduced into [0, 2*pi).
double normalizeAngle(double a);
// The sweep from start to end counter-clockwise, in (0, 2*pi]; equal angles give a full turn.
double sweepOf(double start, double end);

// Points in the OCS (arbitrary-axis frame) of a normal and back.
VANTREL_DB_FOR_TESTS OdGePoint3d toWorld(const OdGeVector3d& normal, const OdGePoint3d& ocsPoint);
VANTREL_DB_FOR_TESTS OdGePoint3d toOcs(const OdGeVector3d& normal, const OdGePoint3d& worldPoint);
// The OCS axes of a normal.
VANTREL_DB_FOR_TESTS OdGeVector3d ocsXAxis(const OdGeVector3d& normal);
VANTREL_DB_FOR_TESTS OdGeVector3d ocsYAxis(const OdGeVector3d& normal);

// The extrusion (normal and thickness) after an invertible transformation.
struct Extrusion {
    OdGeVector3d normal;
    double thickness;
};
Extrusion transformExtrusion(const OdGeMatrix3d& m, const OdGeVector3d& normal, double thickness);
// An extrusion along this normal is seen from above as no more than the base it rises from.
inline bool extrudesAlongZ(const OdGeVector3d& normal)
{
    return std::fabs(normal.x) <= 1e-12 && std::fabs(normal.y) <= 1e-12;
}

// A circle in the OCS of its normal: the parameter is the angle from the OCS X axis.
struct CircleFrame {
    CircleFrame(const OdGePoint3d& worldCenter, const OdGeVector3d& unitNormal, double radius);

    OdGePoint3d pointAt(double angle) const;
    OdGeVector3d firstDeriv(double angle) const;
    OdGeVector3d secondDeriv(double angle) const;
    // The angle in [0, 2*pi) of a point projected into the circle's plane; false when the
    // point lies on the axis, where every angle is as near.
    bool angleOf(const OdGePoint3d& point, double& angle) const;
    // The point of the arc [start, start + sweep] nearest to a given point.
    OdGePoint3d closestPoint(const OdGePoint3d& given, double start, double sweep) const;
    // The parameter (start .. start + sweep) of a point on the arc; false when it is off it.
    bool paramOf(const OdGePoint3d& point, double start, double sweep, double& param) const;
    // Curve queries over the arc [start, start + sweep], parameter the angle: eInvalidInput
    // outside it (up to the rounding allowance of withinRange, then clamped).
    OdResult pointAtParam(double param, double start, double sweep, OdGePoint3d& point) const;
    OdResult distAtParam(double param, double start, double sweep, double& dist) const;
    OdResult paramAtDist(double dist, double start, double sweep, double& param) const;
    // The first or second (order 1 or 2) derivative.
    OdResult derivAt(double param, double start, double sweep, int order, OdGeVector3d& deriv) const;

    OdGePoint3d center;
    OdGeVector3d xAxis, yAxis, normal;
    double radius;
};

// Parameters and distances within [lo, hi] up to a rounding allowance.
bool withinRange(double value, double lo, double hi);
// How far a point may lie from a curve of the given size and still count as on it.
double pointTolerance(double size);

} // namespace vantrel::entmath
