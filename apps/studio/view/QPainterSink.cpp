// Drawing WorldDraw primitives with QPainter. Everything is turned into screen points first, so
// any plane of an arc or a path comes out as its view from above, and the number of steps of a
// curve follows its size on screen rather than in the drawing.
#include "view/QPainterSink.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QFontMetricsF>
#include <QPainterPath>
#include <QTransform>
#include <QVector>

namespace vantrel::studio {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Screen pixels per step along a curve, and the limits of steps for one arc.
constexpr double kStepPixels = 3.0;
constexpr int kMinSteps = 4;
constexpr int kMaxSteps = 720;
// Dash patterns finer than this on screen are drawn solid, as a screen cannot show them.
constexpr double kMinDashPixels = 2.0;
// Text smaller than this is not drawn: it would be a smudge.
constexpr double kMinTextPixels = 3.0;
// Of a glyph's half-size: a spot light's smaller sun, the ring around a web light's.
constexpr double kSpotGlyphShare = 0.7;
constexpr double kWebRingRadius = 1.5;

OdGeVector3d planeNormal(const OdGeVector3d& normal)
{
    return normal.isZeroLength() ? OdGeVector3d::kZAxis : normal.normal();
}

// The left side of the travel at each point of a polyline on screen.
QPointF leftOf(const QPolygonF& pts, qsizetype k)
{
    const QPointF a = pts[std::max<qsizetype>(k - 1, 0)];
    const QPointF b = pts[std::min<qsizetype>(k + 1, pts.size() - 1)];
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    if (!(len > 0.0))
        return {0.0, 0.0};
    // Y points down on screen: the left of (dx, dy) is (dy, -dx).
    return {d.y() / len, -d.x() / len};
}

} // namespace

QPainterSink::QPainterSink(QPainter& painter, const ViewTransform& view) : m_painter(painter), m_view(view) {}

QPointF QPainterSink::at(const OdGePoint3d& p) const
{
    const ScreenPoint s = m_view.toScreen(p);
    return {s.x, s.y};
}

QColor QPainterSink::currentColor() const
{
    if (m_override.isValid())
        return m_override;
    QColor c = QColor::fromRgb(m_traits.rgb & 0xFFFFFF);
    return m_highlighted ? c.lighter(140) : c;
}

const QPainterSink::Style& QPainterSink::style()
{
    if (!m_styled) {
        m_style.color = currentColor();
        m_style.line = linePen(m_style.color);
        // Caps and joins do not change a solid line of one pixel: lines and the edges of fills
        // share the pen then, and the painter is not given a new pen between them.
        if (m_style.line.widthF() == 1.0 && m_style.line.style() == Qt::SolidLine) {
            m_style.edge = m_style.line;
        } else {
            m_style.edge = QPen(m_style.color, 1.0);
            m_style.edge.setCosmetic(true);
        }
        m_style.brush = QBrush(m_style.color);
        m_styled = true;
    }
    return m_style;
}

QPen QPainterSink::linePen(const QColor& color) const
{
    const double px = std::max(1.0, m_traits.lineWeightMm * 96.0 / 25.4);
    QPen pen(color, px);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    if (m_highlighted) {
        pen.setStyle(Qt::DashLine);
        return pen;
    }
    if (m_traits.dashes.empty())
        return pen;
    // Qt counts dashes in pen widths and wants pairs of dash and gap.
    QVector<qreal> pattern;
    double shortest = std::numeric_limits<double>::max();
    for (double d : m_traits.dashes) {
        const double pixels = std::fabs(d) * m_view.scale();
        if (d != 0.0)
            shortest = std::min(shortest, pixels);
        // A dot is one pixel.
        pattern.push_back(std::max(pixels, 1.0) / px);
    }
    if (pattern.size() % 2 == 1)
        pattern.push_back(pattern.back());
    if (shortest < kMinDashPixels)
        return pen;
    pen.setDashPattern(pattern);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void QPainterSink::setTraits(const DrawTraits& traits)
{
    // Entity after entity of the same look keep the pens made for the first.
    m_styled = m_styled && traits.rgb == m_traits.rgb && traits.lineWeightMm == m_traits.lineWeightMm
        && traits.dashes == m_traits.dashes && traits.background == m_traits.background
        && traits.dashesThroughVertices == m_traits.dashesThroughVertices;
    m_traits = traits;
}

void QPainterSink::addArc(QPolygonF& out, const OdGePoint3d& center, const OdGeVector3d& u, const OdGeVector3d& v,
                          double start, double sweep) const
{
    const double scale = m_view.scale();
    const double radiusPixels = std::max(u.length(), v.length()) * scale;
    const double arcPixels = radiusPixels * std::fabs(sweep);
    const int steps = std::clamp(static_cast<int>(arcPixels / kStepPixels), kMinSteps, kMaxSteps);
    // On screen: c + U cos t + V sin t, U and V being u and v seen from above with Y down. Each
    // step turns (cos t, sin t) by the step's angle; the last point is computed, so that the arc
    // ends exactly where it should.
    const ScreenPoint c = m_view.toScreen(center);
    const double ux = u.x * scale, uy = -u.y * scale, vx = v.x * scale, vy = -v.y * scale;
    const double turnCos = std::cos(sweep / steps), turnSin = std::sin(sweep / steps);
    double cs = std::cos(start), sn = std::sin(start);
    for (int k = 0; k < steps; ++k) {
        out.push_back(QPointF(c.x + ux * cs + vx * sn, c.y + uy * cs + vy * sn));
        const double turned = cs * turnCos - sn * turnSin;
        sn = sn * turnCos + cs * turnSin;
        cs = turned;
    }
    cs = std::cos(start + sweep);
    sn = std::sin(start + sweep);
    out.push_back(QPointF(c.x + ux * cs + vx * sn, c.y + uy * cs + vy * sn));
}

void QPainterSink::stroke(const QPolygonF& points, bool closed)
{
    if (points.isEmpty())
        return;
    m_painter.setPen(style().line);
    // A polyline takes no brush.
    if (closed) {
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPolygon(points);
    } else {
        m_painter.drawPolyline(points);
    }
}

void QPainterSink::fill(const QPolygonF& outline)
{
    const Style& now = style();
    m_painter.setPen(now.edge);
    m_painter.setBrush(now.brush);
    m_painter.drawPolygon(outline, Qt::WindingFill);
}

void QPainterSink::fillBand(const QPolygonF& along, std::span<const double> halfWidths)
{
    m_outline.clear();
    const qsizetype count = along.size();
    for (qsizetype k = 0; k < count; ++k)
        m_outline << along[k] + leftOf(along, k) * halfWidths[static_cast<std::size_t>(k)];
    for (qsizetype k = count; k-- > 0;)
        m_outline << along[k] - leftOf(along, k) * halfWidths[static_cast<std::size_t>(k)];
    fill(m_outline);
}

void QPainterSink::addSegment(QPolygonF& out, const PathVertex& a, const OdGePoint3d& b,
                              const OdGeVector3d& normal) const
{
    if (a.bulge == 0.0 || a.point.isEqualTo(b)) {
        out << at(a.point) << at(b);
        return;
    }
    // The circle the bulged segment lies on, swept from a to b.
    const OdGeVector3d chord = b - a.point;
    const double sweep = 4.0 * std::atan(a.bulge);
    const OdGeVector3d left = normal.crossProduct(chord).normal();
    const OdGePoint3d center = a.point + chord / 2.0 + left * (chord.length() / 2.0 / std::tan(sweep / 2.0));
    const OdGeVector3d u = a.point - center;
    addArc(out, center, u, normal.crossProduct(u), 0.0, sweep);
}

void QPainterSink::path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal)
{
    if (vertices.empty())
        return;
    const OdGeVector3d n = planeNormal(normal);
    const std::size_t segments = closed ? vertices.size() : vertices.size() - 1;
    const double s = m_view.scale();
    m_thin.clear();
    m_band.clear();
    m_bandHalves.clear();
    // Thin segments gather into one polyline and thin wide ones into one band, each drawn when
    // a segment of the other kind comes, so that the pieces keep the path's order.
    auto flushThin = [&] {
        if (m_thin.size() >= 2)
            stroke(m_thin, false);
        m_thin.clear();
    };
    auto flushBand = [&] {
        if (!m_band.isEmpty())
            fillBand(m_band, m_bandHalves);
        m_band.clear();
        m_bandHalves.clear();
    };
    bool anyWide = false;
    for (std::size_t i = 0; i < segments; ++i) {
        const PathVertex& a = vertices[i];
        m_along.clear();
        addSegment(m_along, a, vertices[(i + 1) % vertices.size()].point, n);
        if (a.startWidth == 0.0 && a.endWidth == 0.0) {
            flushBand();
            if (m_thin.isEmpty())
                m_thin << m_along.front();
            for (qsizetype k = 1; k < m_along.size(); ++k)
                m_thin << m_along[k];
            continue;
        }
        anyWide = true;
        flushThin();
        const double w0 = a.startWidth * s / 2.0, w1 = a.endWidth * s / 2.0;
        const qsizetype count = m_along.size();
        const bool thinBand = 2.0 * std::max(w0, w1) <= kThinBandPixels;
        if (!thinBand)
            flushBand();
        // A band going on takes this segment from its second point; the point they share keeps
        // the wider of their widths there.
        qsizetype first = 0;
        if (!m_band.isEmpty()) {
            m_bandHalves.back() = std::max(m_bandHalves.back(), w0);
            first = 1;
        }
        for (qsizetype k = first; k < count; ++k) {
            m_band << m_along[k];
            m_bandHalves.push_back(w0 + (w1 - w0) * static_cast<double>(k) / static_cast<double>(count - 1));
        }
        if (!thinBand)
            flushBand();
    }
    if (anyWide) {
        flushBand();
        flushThin();
        return;
    }
    if (m_thin.size() >= 2) {
        // A closed path ends where it started; the polygon closes it.
        if (closed)
            m_thin.pop_back();
        stroke(m_thin, closed);
    } else if (vertices.size() == 1) {
        stroke(QPolygonF() << at(vertices[0].point) << at(vertices[0].point), false);
    }
}

void QPainterSink::polygon(std::span<const OdGePoint3d> corners, bool filled)
{
    QPolygonF pts;
    for (const OdGePoint3d& p : corners)
        pts << at(p);
    if (filled)
        fill(pts);
    else
        stroke(pts, true);
}

void QPainterSink::circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                               const OdGeVector3d& startVector, double sweepAngle)
{
    const OdGeVector3d n = planeNormal(normal);
    const OdGeVector3d u = (startVector.isZeroLength() ? n.perpVector() : startVector.normal()) * radius;
    QPolygonF pts;
    const double sweep = std::clamp(sweepAngle, -kTwoPi, kTwoPi);
    addArc(pts, center, u, n.crossProduct(u), 0.0, sweep);
    stroke(pts, false);
}

void QPainterSink::ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                               double startAngle, double endAngle)
{
    QPolygonF pts;
    addArc(pts, center, majorAxis, minorAxis, startAngle, std::clamp(endAngle - startAngle, -kTwoPi, kTwoPi));
    stroke(pts, false);
}

void QPainterSink::region(std::span<const std::vector<OdGePoint3d>> loops)
{
    QPainterPath area;
    area.setFillRule(Qt::OddEvenFill);
    for (const std::vector<OdGePoint3d>& loop : loops) {
        QPolygonF pts;
        for (const OdGePoint3d& p : loop)
            pts << at(p);
        area.addPolygon(pts);
        area.closeSubpath();
    }
    m_painter.fillPath(area, style().brush);
}

void QPainterSink::text(const TextRun& run)
{
    const double s = m_view.scale();
    if (run.text.isEmpty() || !(run.height * s >= kMinTextPixels))
        return;
    const QString text = QString::fromWCharArray(run.text.c_str(), run.text.getLength());
    // The font at a size of its own, then mapped onto the run's baseline and up direction: the
    // glyphs' capitals stand the run's height, about 0.7 of the font size.
    constexpr int kFontPixels = 100;
    QFont font = m_painter.font();
    font.setPixelSize(kFontPixels);
    const double size = run.height / 0.7 / kFontPixels;
    const double drawn = QFontMetricsF(font).horizontalAdvance(text) * size;
    // The run's measured width wins over Qt's own, so text ends where the drawing says.
    const double stretch = run.width > 0.0 && drawn > 0.0 ? run.width / drawn : run.widthFactor;
    const QPointF o = at(run.origin);
    const QTransform place(s * run.advance.x * size * stretch, -s * run.advance.y * size * stretch,
                           -s * run.up.x * size, s * run.up.y * size, o.x(), o.y());
    m_painter.save();
    m_painter.setTransform(place, true);
    m_painter.setFont(font);
    m_painter.setPen(style().color);
    m_painter.drawText(QPointF(0.0, 0.0), text);
    m_painter.restore();
}

double QPainterSink::markerPixels(double size) const
{
    return size > 0.0 ? size * m_view.scale() : kDefaultMarkerPixels;
}

void QPainterSink::marker(const OdGePoint3d& position, MarkerKind kind, double size)
{
    const QPointF c = at(position);
    const double h = markerPixels(size) / 2.0;
    const Style& now = style();
    m_painter.setPen(now.edge);
    m_painter.setBrush(Qt::NoBrush);
    auto sun = [&](double r) {
        m_painter.setBrush(now.brush);
        m_painter.drawEllipse(c, r * 0.45, r * 0.45);
        m_painter.setBrush(Qt::NoBrush);
        for (int k = 0; k < 8; ++k) {
            const double t = k * std::numbers::pi / 4.0;
            const QPointF ray(std::cos(t), -std::sin(t));
            m_painter.drawLine(c + ray * r * 0.6, c + ray * r);
        }
    };
    switch (kind) {
    case MarkerKind::Light: sun(h); break;
    case MarkerKind::SpotLight: sun(h * kSpotGlyphShare); break;
    case MarkerKind::WebLight:
        sun(h);
        m_painter.drawEllipse(c, h * kWebRingRadius, h * kWebRingRadius);
        break;
    case MarkerKind::Vertex: m_painter.drawRect(QRectF(c.x() - h, c.y() - h, 2.0 * h, 2.0 * h)); break;
    case MarkerKind::Cross:
        m_painter.drawLine(c + QPointF(-h, -h), c + QPointF(h, h));
        m_painter.drawLine(c + QPointF(-h, h), c + QPointF(h, -h));
        break;
    }
}

void QPainterSink::markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size)
{
    const QPointF c = at(position);
    const double s = markerPixels(size);
    QPolygonF pts;
    // Offsets are in the drawing's axes: Y up.
    for (const OdGeVector3d& o : offsets)
        pts << c + QPointF(o.x * s, -o.y * s);
    stroke(pts, false);
}

} // namespace vantrel::studio
