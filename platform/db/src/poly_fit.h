// Fitting shared by the polyline and mesh classes: tangent arcs for curve fitting, uniform
// B-spline curves for spline fitting, and B-spline and Bezier surfaces for mesh smoothing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector2d.h>
#include <vantrel/ge/OdGeVector3d.h>

class OdDbDatabase;

namespace vantrel::polyfit {

// Unit tangents at the vertices of a polygon for a smooth curve through them: at an inner
// vertex the tangent of the circle through it and its neighbours, at an open end the chord
// direction mirrored about the neighbour's tangent (two vertices: the chord's direction, or
// closed, that of the circle on the chord); a given tangent is used as it is.
std::vector<OdGeVector2d> vertexTangents(std::span<const OdGePoint2d> points, bool closed,
                                         std::span<const std::optional<OdGeVector2d>> given);

// The bulge of the arc from a to b that leaves a in direction t.
double bulgeLeaving(const OdGePoint2d& a, const OdGeVector2d& t, const OdGePoint2d& b);
// The bulge of the arc from a to b that arrives at b in direction t.
double bulgeArriving(const OdGePoint2d& a, const OdGePoint2d& b, const OdGeVector2d& t);

// Two tangent-continuous arcs from a (leaving along ta) to b (arriving along tb), meeting at
// the junction.
struct BiArc {
    OdGePoint2d junction;
    double bulge1 = 0.0;
    double bulge2 = 0.0;
};
BiArc biarc(const OdGePoint2d& a, const OdGeVector2d& ta, const OdGePoint2d& b, const OdGeVector2d& tb);

// A uniform B-spline of a control polygon: clamped (through the end points) when open,
// periodic when closed. The degree is lowered to fit the number of control points.
struct SplineSamples {
    std::vector<OdGePoint3d> points;
    std::vector<OdGeVector3d> tangents;
    std::vector<double> params; // 0..1 along the control polygon's parameter range
};
// perSpan points per knot span; an open curve also gets its end point.
SplineSamples sampleSpline(std::span<const OdGePoint3d> control, int degree, bool closed, int perSpan);

// The spline fit a drawing asks for: its SPLINETYPE (5 quadratic, otherwise cubic) and
// SPLINESEGS; cubic with 8 segments for an object outside a database.
struct SplineFitSettings {
    bool quadratic = false;
    std::int16_t segments = 8;
};
SplineFitSettings splineFitSettings(const OdDbDatabase* db);

// A surface over a row-major grid of control points (mCount rows of nCount): uniform B-spline
// of the given degree per direction, or (degree 0) Bezier of the full grid. A closed direction
// wraps. Answers rows x cols points, row-major; open directions include both edges.
std::vector<OdGePoint3d> sampleSurface(std::span<const OdGePoint3d> control, int mCount, int nCount, int degree,
                                       bool closedM, bool closedN, int rows, int cols);

} // namespace vantrel::polyfit
