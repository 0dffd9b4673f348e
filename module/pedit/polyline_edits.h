// The whole-polyline edits of PEdit as the drawing sees them, apart from the command's prompts
// and messages: closing (with a closing arc tangent to the last arc) and opening, fitting a curve,
// fitting a spline, decurving, and the exchange between lightweight and 2D polylines that turns
// one kind into the other under the same id.
#pragma once

#include <cstdint>
#include <optional>

#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDb3dPolyline.h>
#include <vantrel/db/OdDbPolyline.h>

namespace vantrel::pedit {

// The vertices that define the shape: every vertex of a lightweight polyline; the plain ones and
// the spline frame of 2D and 3D polylines (not those a fit generated).
unsigned definingVertexCount(const OdDbCurve& polyline);

// How the path of a 2D or 3D polyline is generated from its defining vertices: not at all, a fit
// curve, or a spline of the polyline's type.
struct PathFit {
    enum class Kind { None, Curve, Spline2d, Spline3d };
    Kind kind = Kind::None;
    OdDb::Poly2dType type2d = OdDb::k2dSimplePoly;
    OdDb::Poly3dType type3d = OdDb::k3dSimplePoly;
};
// Drops the generated vertices of a fitted or splined polyline (its defining vertices become
// plain ones with straight segments between them) and answers how to generate them again; any
// other polyline is left as it is.
PathFit unfit(OdDbCurve& polyline);
// Generates the path again after the defining vertices changed: a fit curve through them, without
// those that begin a zero-length segment; a spline with the given segments per span.
void refit(OdDbCurve& polyline, const PathFit& fit, std::int16_t splineSegments);

// The bulge of the segment from the last vertex of an open polyline back to vertex 0 that
// continues its last arc tangentially; 0 when vertex 0 lies on the tangent line (no arc
// reaches it). Nothing when the polyline has fewer than two vertices or its last drawn
// segment is not an arc.
std::optional<double> tangentClosingBulge(const OdDbPolyline& polyline);

// Each leaves a polyline that is already open (or closed) as it is. Closing a lightweight
// polyline whose last segment is an arc and whose closing bulge is 0 closes it with an arc tangent
// to that one; a zero-length last segment keeps it open. A fitted or splined 2D or 3D polyline
// is fitted again as it was: splines with the given segments per span, fit curves through their
// defining vertices without those that begin a zero-length segment.
void closeOrOpen(OdDbPolyline& polyline, bool open);
void closeOrOpen(OdDb2dPolyline& polyline, bool open, std::int16_t splineSegments);
void closeOrOpen(OdDb3dPolyline& polyline, bool open, std::int16_t splineSegments);

// The following work on the polyline of the drawing that the id names (opened for write here)
// and answer whether they changed it; the id keeps naming it, whatever its kind becomes.
//
// A curve fitted through the defining vertices. A lightweight polyline becomes a 2D polyline
// of the fit-curve type, without the vertices that begin a zero-length segment; a single straight
// segment, a fit curve already, a polyline on a locked layer and one that has fewer than two
// distinct vertices are left as they are.
bool fitCurve(OdDbDatabase& db, OdDbObjectId id);
// A quadratic or cubic spline with the defining vertices as its frame; a lightweight polyline
// becomes a 2D polyline (unless on a locked layer). 3D polylines take the same spline.
bool fitSpline(OdDbDatabase& db, OdDbObjectId id, bool quadratic, std::int16_t segments);
// Straight segments between the defining vertices: a lightweight polyline loses its bulges; a 2D
// polyline becomes a lightweight one without arcs or generated vertices; a 3D polyline loses
// its spline.
bool decurve(OdDbDatabase& db, OdDbObjectId id);

// A new 2D polyline outside the drawing with the database's defaults, then the vertices and
// properties of the lightweight polyline.
OdDb2dPolylinePtr toPolyline2d(OdDbDatabase& db, OdDbPolyline& polyline);
// A new lightweight polyline outside the drawing with the database's defaults, then the drawn
// path and properties of the 2D polyline; a fitted or splined one gives its defining vertices
// joined by straight segments. The source is not changed. Null when it has no vertices.
OdDbPolylinePtr toLightweight(OdDbDatabase& db, const OdDb2dPolyline& polyline);

bool onLockedLayer(const OdDbEntity& entity);

// The object behind the id generated afresh: a copy of it takes its place, id and extended data,
// and is redrawn.
void regenerate(OdDbObjectId id);

} // namespace vantrel::pedit
