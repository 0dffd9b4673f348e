// How a revision cloud is made of arcs: every vertex carries the same bulge, so that consecutive
// arcs meet in cusps; the arc lengths, the style's widths, the random step between vertices, and
// the laying of a cloud along an existing curve. Shared by the tracker and the command.
#pragma once

#include <cstdint>

#include <vantrel/db/OdDbCurve.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/ge/OdGePlane.h>
#include <vantrel/ge/OdGePoint3d.h>

enum RevCloudStyle : std::int32_t {
    kRevCloudNormal = 0,
    kRevCloudCalligraphy = 1, // every arc widens from 0 to 3 drawing units
};

// The bulge of every vertex (close to tan 27.5 degrees: arcs of about 110 degrees, turning
// clockwise); a reversed cloud carries its opposite.
inline constexpr double kCloudBulge = -0.520567;
// The widths of a calligraphy arc, fixed in drawing units whatever the arc length or DIMSCALE.
inline constexpr double kCalligraphyStartWidth = 0.0;
inline constexpr double kCalligraphyEndWidth = 3.0;
// A curve shorter than this many minimum arcs, or longer than this many maximum arcs, is not
// laid with arcs.
inline constexpr double kFewestArcs = 5.0;
inline constexpr double kMostArcs = 10000.0;

// The arc lengths and style a cloud is laid with, in drawing units.
struct CloudArcs {
    double minArcLength = 15.0;
    double maxArcLength = 15.0;
    RevCloudStyle arcStyle = kRevCloudNormal;
};

// Appends one vertex: the point projected along the plane's normal into the plane's coordinates
// (which must be the polyline's own), the cloud bulge, and the calligraphy widths for that style.
void addCloudVertex(OdDbPolyline* cloud, const OdGePoint3d& point, RevCloudStyle style, const OdGePlane& plane);

// A step from min up to (not including) max, from the process's C pseudo-random generator,
// which the module never seeds, so that a session repeats its clouds.
double randomArcStep(double min, double max);

// The source's length; 0 when it cannot be measured (an empty polyline), so that it counts
// as too small.
double curveLength(const OdDbCurve& source);

// Lays the cloud along the source after its first vertex (the source's start point): vertices
// at random steps along the source while they stay within `length`, then the source's end
// unless the last step landed on it; closed when the source is. False, and the cloud has only
// its first vertex, when the first step already passes the end. Raises OdError when the source
// cannot answer a point.
bool layCloudAlong(OdDbPolyline* cloud, const OdDbCurve& source, double length, const CloudArcs& arcs,
                   const OdGePlane& plane);

// Turns every arc the other way (counter-clockwise); widths and vertex order stay.
void reverseCloud(OdDbPolyline* cloud);
