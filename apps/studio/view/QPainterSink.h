// The world-draw sink of the drawing view: what entities draw lands on a QPainter through the
// view's transform, seen from above. Lines are drawn with their lineweight in pixels and their
// dash pattern where it is coarse enough to see; curves are cut into steps of a few pixels.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <vantrel/db/WorldDraw.h>

#include "view/ViewTransform.h"

namespace vantrel::studio {

class QPainterSink : public WorldDraw {
public:
    // Markers drawn at the sink's own size are this many pixels across.
    static constexpr double kDefaultMarkerPixels = 18.0;

    QPainterSink(QPainter& painter, const ViewTransform& view);

    // Highlighted entities are drawn dashed and brighter; preview entities take their own colour.
    void setHighlighted(bool on) { m_highlighted = on; }
    // A colour that replaces every entity's (rubber bands), or an invalid one for none.
    void setOverrideColor(const QColor& colour) { m_override = colour; }

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
    QPointF at(const OdGePoint3d& p) const;
    QColor currentColor() const;
    QPen linePen() const;
    // Points along an arc center + u cos t + v sin t for t from start over sweep, a few pixels apart.
    void addArc(QPolygonF& out, const OdGePoint3d& center, const OdGeVector3d& u, const OdGeVector3d& v, double start,
                double sweep) const;
    void stroke(const QPolygonF& points, bool closed);
    void fill(const QPolygonF& outline);
    void wideSegment(const QPolygonF& along, const OdGeVector3d& direction, double startWidth, double endWidth,
                     bool isArc, const OdGePoint3d& center);
    double markerPixels(double size) const;

    QPainter& m_painter;
    const ViewTransform& m_view;
    DrawTraits m_traits;
    QColor m_override;
    bool m_highlighted = false;
};

} // namespace vantrel::studio
