// Painting the view from a cached frame of the drawing with the live graphics over it, and the
// mouse as the command line's input.
#include "view/DrawingView.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <vantrel/host/HostDocument.h>

#include "input/StudioInputSource.h"
#include "view/QPainterSink.h"

namespace vantrel::studio {

namespace {

constexpr double kExtentsMargin = 0.05;
const QColor kCrosshair(0xdddddd);
const QColor kRubberBand(0xb0b0b0);
const QColor kSnapMarker(0xffc030);
const QColor kWindowBox(0x4080ff);
const QColor kCrossingBox(0x40c060);

QString number(double v) { return QString::number(v, 'g', 17); }

const char* snapName(SnapKind kind)
{
    switch (kind) {
    case SnapKind::End: return "End";
    case SnapKind::Mid: return "Mid";
    case SnapKind::Center: return "Center";
    }
    return "";
}

} // namespace

DrawingView::DrawingView(StudioInputSource& source, QWidget* parent)
    : QWidget(parent), m_source(source), m_drawer([this] { update(); })
{
    setMouseTracking(true);
    setCursor(Qt::BlankCursor);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

DrawingView::~DrawingView() = default;

void DrawingView::setDocument(HostDocument* doc)
{
    m_scene.reset();
    m_doc = doc;
    if (m_doc) {
        m_scene = std::make_unique<DrawingScene>(*m_doc->database());
        m_doc->engine().setDrawer(m_drawer);
        zoomExtents();
    }
    drawingChanged();
}

void DrawingView::drawingChanged()
{
    m_frame.invalidate();
    update();
}

void DrawingView::viewChanged()
{
    if (m_doc) {
        if (m_viewSetsPicks)
            m_doc->setViewExtents(m_view.visibleExtents());
        m_commandLineView = m_doc->viewExtents();
    }
    // The frame sees the view move and paints what it must.
    update();
}

void DrawingView::setViewSetsPicks(bool on)
{
    m_viewSetsPicks = on;
    viewChanged();
}

void DrawingView::zoomExtents()
{
    if (!m_scene)
        return;
    m_view.setSize(width(), height());
    OdGeExtents3d all = m_scene->extents();
    if (!all.isValidExtents())
        all = OdGeExtents3d(OdGePoint3d(0.0, 0.0, 0.0), OdGePoint3d(100.0, 100.0, 0.0));
    m_view.fit(all, kExtentsMargin);
    viewChanged();
}

void DrawingView::followCommandLineView()
{
    if (!m_doc)
        return;
    const OdGeExtents3d asked = m_doc->viewExtents();
    if (asked.minPoint() == m_commandLineView.minPoint() && asked.maxPoint() == m_commandLineView.maxPoint())
        return;
    m_view.fit(asked, 0.0);
    viewChanged();
}

void DrawingView::setSnapsOn(bool on)
{
    m_snapsOn = on;
    if (!on)
        m_snap.reset();
    update();
    emit snapsToggled(on);
}

void DrawingView::resizeEvent(QResizeEvent*)
{
    m_view.setSize(width(), height());
    viewChanged();
}

void DrawingView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_scene)
        painter.drawImage(0, 0, m_frame.render(*m_scene, m_view, devicePixelRatioF()));
    else
        painter.fillRect(rect(), QColor::fromRgb(kBackground));
    painter.setRenderHint(QPainter::Antialiasing, true);
    paintOverlay(painter);
}

void DrawingView::paintOverlay(QPainter& painter)
{
    if (m_doc) {
        QPainterSink sink(painter, m_view);
        for (const OdDbEntity* entity : m_doc->transients())
            entity->draw(sink);
        for (const RecordingDrawer::Shown& shown : m_drawer.shown()) {
            sink.setOverrideColor(shown.style == InputEngine::kRubberBandStyle ? kRubberBand : QColor());
            shown.entity->draw(sink);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (m_leftPress && m_mouse && (*m_mouse - *m_leftPress).manhattanLength() > kDragThreshold) {
        const bool crossing = m_mouse->x() < m_leftPress->x();
        QPen pen(crossing ? kCrossingBox : kWindowBox, 1.0, crossing ? Qt::DashLine : Qt::SolidLine);
        painter.setPen(pen);
        QColor fill = crossing ? kCrossingBox : kWindowBox;
        fill.setAlpha(40);
        painter.setBrush(fill);
        painter.drawRect(QRect(*m_leftPress, *m_mouse).normalized());
    }
    if (!m_mouse)
        return;
    painter.setPen(QPen(kCrosshair, 1.0));
    painter.setBrush(Qt::NoBrush);
    const QPoint c = *m_mouse;
    painter.drawLine(0, c.y(), width(), c.y());
    painter.drawLine(c.x(), 0, c.x(), height());
    painter.drawRect(c.x() - kPickBox, c.y() - kPickBox, 2 * kPickBox, 2 * kPickBox);
    paintSnapMarker(painter);
}

void DrawingView::paintSnapMarker(QPainter& painter)
{
    if (!m_snap)
        return;
    const ScreenPoint s = m_view.toScreen(m_snap->point);
    const QPointF p(s.x, s.y);
    const double h = 6.0;
    painter.setPen(QPen(kSnapMarker, 2.0));
    painter.setBrush(Qt::NoBrush);
    switch (m_snap->kind) {
    case SnapKind::End: painter.drawRect(QRectF(p.x() - h, p.y() - h, 2 * h, 2 * h)); break;
    case SnapKind::Mid:
        painter.drawPolygon(QPolygonF() << p + QPointF(0, -h) << p + QPointF(h, h) << p + QPointF(-h, h));
        break;
    case SnapKind::Center: painter.drawEllipse(p, h, h); break;
    }
}

OdGePoint3d DrawingView::cursorPoint(const QPoint& at)
{
    const OdGePoint3d world = m_view.toWorld(at.x(), at.y());
    m_snap.reset();
    // Snaps serve requests for points; the command name and selections take the cursor as it is.
    if (!m_snapsOn || !m_scene || m_source.atCommandPrompt())
        return world;
    const double reach = kSnapAperture / m_view.scale();
    std::vector<OdDbEntityPtr> near;
    for (OdDbObjectId id : m_scene->entitiesIn({world.x - reach, world.y - reach, world.x + reach, world.y + reach}))
        if (OdDbEntityPtr entity = OdDbEntity::cast(id.openObject().get()))
            near.push_back(entity);
    m_snap = nearestSnap(near, world, reach);
    return m_snap ? m_snap->point : world;
}

void DrawingView::postPoint(bool click, const OdGePoint3d& point)
{
    InputEvent e = InputEvent::of(click ? InputEvent::Kind::Click : InputEvent::Kind::Move);
    e.point = point;
    m_source.post(std::move(e));
}

void DrawingView::postWindow(const QPoint& from, const QPoint& to)
{
    // Typed corners are read in the UCS.
    const UserCoordinateSystem& ucs = m_doc->engine().ucs();
    const OdGePoint3d a = ucs.fromWorld(m_view.toWorld(from.x(), from.y()));
    const OdGePoint3d b = ucs.fromWorld(m_view.toWorld(to.x(), to.y()));
    const QString line = QString("%1 %2,%3 %4,%5")
                             .arg(to.x() < from.x() ? "C" : "W", number(a.x), number(a.y), number(b.x), number(b.y));
    m_source.post(InputEvent::textLine(line.toStdWString()));
}

void DrawingView::wheelEvent(QWheelEvent* event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0.0)
        return;
    const QPointF at = event->position();
    m_view.zoomAbout(at.x(), at.y(), std::pow(kZoomStep, steps));
    viewChanged();
}

void DrawingView::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    m_mouse = at;
    switch (event->button()) {
    case Qt::LeftButton:
        if (m_source.selectionAsked())
            m_leftPress = at; // a click or a window: the release tells
        else
            postPoint(true, cursorPoint(at));
        break;
    case Qt::MiddleButton: m_panFrom = at; break;
    case Qt::RightButton: m_source.post(InputEvent::textLine(L"")); break;
    default: break;
    }
}

void DrawingView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    m_mouse = at;
    if (m_panFrom) {
        m_view.panPixels(at.x() - m_panFrom->x(), at.y() - m_panFrom->y());
        m_panFrom = at;
        viewChanged();
    }
    const OdGePoint3d point = cursorPoint(at);
    emit cursorMoved(point.x, point.y, m_snap ? snapName(m_snap->kind) : "");
    if (m_doc && !m_panFrom)
        postPoint(false, point);
    update();
}

void DrawingView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::MiddleButton)
        m_panFrom.reset();
    if (event->button() != Qt::LeftButton || !m_leftPress)
        return;
    const QPoint from = *m_leftPress;
    m_leftPress.reset();
    if ((at - from).manhattanLength() > kDragThreshold)
        postWindow(from, at);
    else
        postPoint(true, m_view.toWorld(from.x(), from.y()));
    update();
}

void DrawingView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        zoomExtents();
        return;
    }
    mousePressEvent(event);
}

void DrawingView::leaveEvent(QEvent*)
{
    m_mouse.reset();
    m_snap.reset();
    update();
}

} // namespace vantrel::studio
