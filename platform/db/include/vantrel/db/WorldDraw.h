// The one interface through which entities describe themselves for display: paths with bulges
// and widths, filled polygons, circles and arcs, text and markers, all in world coordinates.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

#include <vantrel/db/OdCmColor.h>
#include <vantrel/db/OdString.h>
#include <vantrel/db/TextFont.h>
#include <vantrel/ge/OdGeExtents3d.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

// One vertex of a path: the segment to the next vertex is an arc when bulge is not zero
// (bulge = tan(sweep / 4), positive counter-clockwise about the path's normal).
struct VANTREL_DB_EXPORT PathVertex {
    OdGePoint3d point;
    double bulge = 0.0;
    double startWidth = 0.0;
    double endWidth = 0.0;
};

// How far from the middle of its chord a segment of a path reaches: max(1, |bulge|) half chords
// (nearer on a minor arc, at most that far on a major one), and a margin for the rounding of
// points worked out from the arc's centre, which grows with the radius.
inline double segmentReach(double halfChord, double bulge)
{
    const double slope = std::fabs(bulge);
    const double radius = slope > 0.0 ? halfChord * (1.0 + slope * slope) / (2.0 * slope) : 0.0;
    return std::max(1.0, slope) * halfChord + 1e-9 * radius;
}

// Whether everything within reach of center lies inside box: in X and Y, and in Z too unless
// flat (every point then has center's Z exactly). The margin is far wider than the rounding of
// points worked out from center. False for anything not a number, and for an empty box.
inline bool withinReach(const OdGeExtents3d& box, const OdGePoint3d& center, double reach, bool flat)
{
    const double r
        = reach * (1.0 + 1e-9) + 1e-9 * (std::fabs(center.x) + std::fabs(center.y) + std::fabs(center.z) + 1.0);
    const double rz = flat ? 0.0 : r;
    const OdGePoint3d& lo = box.minPoint();
    const OdGePoint3d& hi = box.maxPoint();
    return center.x - r >= lo.x && center.x + r <= hi.x && center.y - r >= lo.y && center.y + r <= hi.y
        && center.z - rz >= lo.z && center.z + rz <= hi.z;
}

// Light is the sun glyph of a point light; SpotLight is a smaller one and WebLight the sun in a ring.
enum class MarkerKind { Light, SpotLight, WebLight, Vertex, Cross };

// How an entity's linetype applies to the lines it draws: not at all (symbols such as lights),
// starting again at each vertex of a path, or running on through the vertices (a spline's
// points, a polyline with linetype generation).
enum class LinetypeUse { None, PerSegment, ThroughVertices };

// One line of text in one face, laid out by the font (TextFont.h): the baseline starts at origin
// and runs `width` along advance; glyphs stand `height` (of capitals) tall along up, slanted
// forward by oblique and stretched along the baseline by widthFactor, which width includes.
struct VANTREL_DB_EXPORT TextRun {
    OdGePoint3d origin;
    OdGeVector3d advance{1.0, 0.0, 0.0}; // unit
    OdGeVector3d up{0.0, 1.0, 0.0};      // unit, square to advance (either way round: mirrored text)
    double height = 1.0;
    double widthFactor = 1.0;
    double oblique = 0.0; // radians
    double width = 0.0;
    FontFace face;
    OdString text;
};

struct VANTREL_DB_EXPORT DrawTraits {
    std::uint32_t rgb = 0xFFFFFF; // the resolved display colour
    double lineWeightMm = 0.0;    // 0 for the thinnest line
    // The dash pattern of lines in drawing units, as a linetype stores it (positive a dash,
    // negative a gap, zero a dot) and already scaled; empty for continuous lines.
    std::vector<double> dashes;
    bool dashesThroughVertices = false;
    // Filled areas are drawn in the picture's background colour, hiding what lies below them in
    // draw order (a wipeout's mask).
    bool background = false;
};

class VANTREL_DB_EXPORT WorldDraw {
public:
    virtual ~WorldDraw() = default;
    virtual void setTraits(const DrawTraits& traits) = 0;
    // A path of straight and bulged segments in the plane with the given normal.
    virtual void path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal) = 0;
    virtual void polygon(std::span<const OdGePoint3d> corners, bool filled) = 0;
    // An area filled by the even-odd rule: a point is inside when a ray from it crosses the
    // loops an odd number of times, so loops inside loops are holes (a hatch and its islands).
    virtual void region(std::span<const std::vector<OdGePoint3d>> loops) = 0;
    virtual void circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                             const OdGeVector3d& startVector, double sweepAngle)
        = 0;
    virtual void ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                             double startAngle, double endAngle)
        = 0;
    virtual void text(const TextRun& run) = 0;
    virtual void marker(const OdGePoint3d& position, MarkerKind kind, double size) = 0;
    // An open polyline drawn with a marker and scaled like it: point i is position + offsets[i] * s,
    // s being the size a marker of this size gets (the sink's default when size <= 0), so that a
    // symbol around a glyph keeps its proportions to it at any zoom.
    virtual void markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size) = 0;
};

} // namespace vantrel
