// A WorldDraw sink that turns what entities draw into an SVG document, seen from above (the
// drawing's XY plane, Y pointing up) on a dark background like a CAD screen. Lines follow their
// linetype's dash pattern. A picture is either collected in memory, or streamed: a first sink
// measures the drawing (the view box needs its extents), a second writes each element as it is
// drawn, between the start and the end the first one writes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <vantrel/db/WorldDraw.h>
#include <vantrel/host/SvgDashes.h>
#include <vantrel/host/TextOutput.h>
#include <vantrel/ge/OdGeExtents3d.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT SvgSink : public WorldDraw {
public:
    static constexpr const char* kBackground = "#212830";
    static constexpr double kDefaultMarkerSize = 0.03;
    // Dashes and dots one entity may draw; lines that would need more are drawn solid, so that a
    // pattern far finer than the picture cannot swamp whoever renders it.
    static constexpr double kMaxDashesPerEntity = 10000.0;

    // Collects the picture in memory for document().
    SvgSink();
    // Writes each element to out as it is drawn, and measures nothing: the measuring sink of the
    // same drawing writes the start and the end. With no out it only measures (extents, the
    // lineweights in use, default-sized markers) and writes nothing.
    explicit SvgSink(TextOutput* out);
    // Writes each element to out (if any) as it is drawn, and measures too if asked: a sink that
    // does both gives its own writeStart and writeEnd once everything is drawn, the start then
    // going wherever the output can still take it (over room left at its beginning).
    SvgSink(TextOutput* out, bool measure);
    SvgSink(const SvgSink&) = delete;
    SvgSink& operator=(const SvgSink&) = delete;
    ~SvgSink() override;

    void setTraits(const DrawTraits& traits) override;
    void path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal) override;
    void polygon(std::span<const OdGePoint3d> corners, bool filled) override;
    void circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                     const OdGeVector3d& startVector, double sweepAngle) override;
    void ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                     double startAngle, double endAngle) override;
    void region(std::span<const std::vector<OdGePoint3d>> loops) override;
    // In the face the font measured, sized and stretched so that the run spans its width.
    void text(const TextRun& run) override;
    // A size of zero (or less) takes the default: kDefaultMarkerSize of the picture's longer side.
    void marker(const OdGePoint3d& position, MarkerKind kind, double size) override;
    // Sized like marker; a default-sized one is drawn under the markers.
    void markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size) override;

    // Lines drawn as wide as their lineweights (the default), or all as the thinnest line, as a
    // drawing whose LWDISPLAY is off shows them.
    void showLineweights(bool shown) { m_lineweights = shown; }

    // The XY extents of everything drawn so far (invalid when nothing was drawn, and always for
    // a sink that streams).
    const OdGeExtents3d& extents() const { return m_extents; }
    // The whole document of a collecting sink: the view box is the extents with a 5% margin, or
    // 0..100 when empty.
    std::string document() const;
    // What comes before the elements: the declaration, the view box, the lineweights' styles and
    // the background.
    void writeStart(TextOutput& out) const;
    // What comes after them: default-sized symbols and markers, and the end of the document.
    void writeEnd(TextOutput& out) const;

private:
    struct DefaultMarker {
        OdGePoint3d position;
        MarkerKind kind;
        DrawTraits traits;
    };
    struct DefaultSymbol {
        OdGePoint3d position;
        std::vector<OdGeVector3d> offsets;
        DrawTraits traits;
    };
    // The view box in drawing units and the pixels per unit.
    struct Frame {
        double x0, y0, w, h, scale;
    };
    // The outline of a wide segment: the corners of a polygon, or, for an arc, its edges as
    // `curves` cubic curves each (as wideArcOutline gives them).
    struct Outline {
        std::vector<OdGePoint3d> points;
        int curves = 0;
    };
    // A segment of a path of constant width, as the path's data writes it.
    struct PathSegment {
        const OdGePoint3d* end;
        double radius; // 0 for a straight segment
        bool large, counterClockwise;
    };

    Frame frame() const;

    // Extents grow by the point, or by a square of half-side pad around it.
    void addPoint(double x, double y, double pad = 0.0);
    void addArcExtents(const OdGePoint3d& center, const OdGeVector3d& u, const OdGeVector3d& v, double start,
                       double sweep, double pad = 0.0);
    void polyline(std::span<const OdGePoint3d> points, bool closed);
    void widePath(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal);
    // Whether the sink measures what is drawn.
    bool measures() const { return m_measures; }
    // Whether a path segment from a to b lies within the extents so far, so that measuring it
    // would not move them (the extents are flat: they take X and Y only): what a measuring sink
    // passes over.
    bool withinExtents(const PathVertex& a, const OdGePoint3d& b) const;
    // A filled outline of one wide segment. Consecutive outlines that are simple (which all of
    // them wind the same way round) become one path of several subpaths: it fills the same area
    // as an element for each, in far fewer elements. endOutlines() writes what is held.
    void addOutline(const Outline& outline);
    void endOutlines();
    // The dash attributes for a stroke of this length in `pieces` parts that each start the
    // pattern again; nothing for a solid line, or once the entity's dashes would exceed the cap.
    const std::string& dashing(double length, std::size_t pieces);

    DrawTraits m_traits;
    SvgDashes m_dashes;
    double m_dashBudget = kMaxDashesPerEntity;
    // The attributes of strokes and of fills in the current traits, and what they were made of.
    struct Look {
        int weightKey;
        std::uint32_t rgb;
        bool background;
        bool operator==(const Look&) const = default;
    };
    std::string m_stroke, m_fill;
    std::optional<Look> m_look;
    // A collecting sink's elements, gathered through m_collect.
    std::string m_body;
    std::unique_ptr<TextOutput> m_collect;
    TextOutput* m_out = nullptr; // null while measuring only
    bool m_measures = false;
    // Scratch reused from primitive to primitive.
    std::vector<PathSegment> m_segments;
    std::vector<OdGePoint3d> m_along, m_thin;
    Outline m_outline, m_firstOutline;
    std::vector<OdGeVector3d> m_left;
    int m_outlines = 0; // held by addOutline, not yet ended
    OdGeExtents3d m_extents;
    std::vector<DefaultMarker> m_defaultMarkers;
    std::vector<DefaultSymbol> m_defaultSymbols;
    std::set<int> m_weights{0}; // lineweight classes in use
    bool m_lineweights = true;
};

} // namespace vantrel
