// Conversions between curve kinds that commands need when they turn an object into a polyline:
// a spline followed by a 2D polyline, and the drawn path of a 2D polyline as a lightweight one.
// Every result is a new object outside the drawing, without the database's defaults.
#pragma once

#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/host/HostExport.h>

class VANTREL_HOST_EXPORT HostGeUtils {
public:
    // A 2D polyline in the spline's plane that follows it: |segments| pieces to each knot span
    // (at least one; a spline known by fit points alone counts a span between each two of them),
    // each halved while the spline strays from its chord by more than tolerance (no halving for a
    // tolerance of 0, at most ten halvings). A positive count gives straight pieces; a negative
    // one fits a curve through their ends along the spline's tangents there, so that the pieces
    // become arcs that follow it. A closed
    // spline gives a closed polyline. Null when the spline has no curve or does not lie in a plane.
    static OdDb2dPolylinePtr NURBSToPolyline2DAsSplineFit(const OdDbSpline& spline, int segments,
                                                          double tolerance = 0.0);

    // A lightweight polyline with the drawn path of a 2D polyline (generated vertices included,
    // spline frames left out), its widths, closure, plane, linetype generation and entity
    // properties. Null when the polyline has no vertices.
    static OdDbPolylinePtr polyFrom2dPoly(OdDb2dPolyline& polyline);
};
