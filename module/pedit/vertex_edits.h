// The edits of "Edit vertex" as the drawing sees them, on lightweight, 2D and 3D polylines, by the
// number of a defining vertex: where it is, inserting and moving one, straightening or breaking
// the polyline between two, and the widths and tangent of one. A fitted or splined polyline is
// edited through unfit and refit (polyline_edits.h): these work on plain vertices only.
#pragma once

#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDb3dPolyline.h>
#include <vantrel/db/OdDbPolyline.h>

namespace vantrel::pedit {

// Defining vertex `index` in world coordinates.
OdGePoint3d definingVertexPosition(const OdDbCurve& polyline, unsigned index);
// Defining vertex `index` of a 2D polyline, opened in the mode.
OdDb2dVertexPtr definingVertex2d(const OdDb2dPolyline& polyline, unsigned index, OdDb::OpenMode mode);

// A new vertex after vertex `index` at the world point (taken into the polyline's plane), with a
// straight segment to the next; its widths are the end width of vertex `index`.
void insertVertexAfter(OdDbCurve& polyline, unsigned index, const OdGePoint3d& point);
// Vertex `index` to the world point (taken into the polyline's plane).
void moveVertex(OdDbCurve& polyline, unsigned index, const OdGePoint3d& point);
// The vertices between lo and hi are removed and the segment from lo is straight.
void straightenBetween(OdDbCurve& polyline, unsigned lo, unsigned hi);

// Breaks the polyline between vertices lo and hi (lo <= hi), removing the segments between them;
// a closed polyline is opened at vertex 0 first (a copy of vertex 0 closes its path). With lo
// above 0 the polyline keeps vertices 0 to lo and the piece is a new polyline of the same kind
// (outside the drawing, with the polyline's properties) from vertex hi to the last, unless hi is
// the last; with lo 0 the polyline keeps vertices hi to the last and there is no piece (null).
// False when there is
// nothing to break: lo and hi are the first and last vertex, or both the first, or both the last
// of an open polyline.
bool breakBetween(OdDbCurve& polyline, unsigned lo, unsigned hi, OdDbCurvePtr& piece);

// The widths of the segment from vertex `index` of a lightweight or 2D polyline; a constant width
// of a lightweight polyline is given to every vertex first.
void setSegmentWidths(OdDbCurve& polyline, unsigned index, double startWidth, double endWidth);
// The widths of that segment as they are drawn.
void segmentWidths(const OdDbCurve& polyline, unsigned index, double& startWidth, double& endWidth);

} // namespace vantrel::pedit
