// The world-draw sink of the drawing view: what entities draw lands on a QPainter through the
// view's transform, seen from above. Lines are drawn with their lineweight in pixels and their
// dash pattern where it is coarse enough to see; curves are cut into steps of a few pixels. The
// wide segments of a path that are at most kThinBandPixels across on screen are drawn as one band
// along the path rather than one piece each: they look the same at that size, and a polyline far
// away costs one fill rather than one per segment.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <span>
#include <vector>

#include <vantrel/db/WorldDraw.h>

#include "view/ViewTransform.h"

namespace vantrel::studio {

class QPainterSink : public WorldDraw {
public:
    // Markers drawn at the sink's own size are this many pixels across.
    static constexpr double kDefaultMarkerPixels = 18.0;
    static constexpr double kThinBandPixels = 2.0;

    QPainterSink(QPainter& painter, const ViewTransform& view);

    // Highlighted entities are drawn dashed and brighter; preview entities take their own colour.
    void setHighlighted(bool on)
    {
        m_styled = m_styled && m_highlighted == on;
        m_highlighted = on;
    }
    // A colour that replaces every entity's (rubber bands), or an invalid one for none.
    void setOverrideColor(const QColor& colour)
    {
        m_override = colour;
        m_styled = false;
    }

    void setTraits(const DrawTraits& traits) override;
    void path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal) override;
    void polygon(std::span<const OdGePoint3d> corners, bool filled) override;
    void circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                     const OdGeVector3d& startVector, double sweepAngle) override;
    void ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                     double startAngle, double endAngle) override;
    void region(std::span<const std::vector<OdGePoint3d>> loops) override;
    void text(const TextRun& run) override;
    void marker(const OdGePoint3d& position, MarkerKind kind, double size) override;
    void markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size) override;

private:
    // The colour, pens and brush of what is drawn now, made again only when the traits, the
    // highlight or the override colour change.
    struct Style {
        QColor color;
        QPen line;
        QPen edge; // outlines of fills and markers
        QBrush brush;
    };

    QPointF at(const OdGePoint3d& p) const;
    const Style& style();
    QColor currentColor() const;
    QPen linePen(const QColor& color) const;
    // The points of the segment from a to b on screen (an arc when a has a bulge) into out.
    void addSegment(QPolygonF& out, const PathVertex& a, const OdGePoint3d& b, const OdGeVector3d& normal) const;
    // Points along an arc center + u cos t + v sin t for t from start over sweep, a few pixels apart.
    void addArc(QPolygonF& out, const OdGePoint3d& center, const OdGeVector3d& u, const OdGeVector3d& v, double start,
                double sweep) const;
    void stroke(const QPolygonF& points, bool closed);
    void fill(const QPolygonF& outline);
    // Fills the band of the given half widths (pixels) either side of a line of points on screen.
    void fillBand(const QPolygonF& along, std::span<const double> halfWidths);
    double markerPixels(double size) const;

    QPainter& m_painter;
    const ViewTransform& m_view;
    DrawTraits m_traits;
    QColor m_override;
    bool m_highlighted = false;
    Style m_style;
    bool m_styled = false;
    // Room for the points of one primitive, kept from one to the next.
    QPolygonF m_along, m_thin, m_band, m_outline;
    std::vector<double> m_bandHalves;
};

} // namespace vantrel::studio
