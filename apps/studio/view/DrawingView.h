// The drawing view: paints the active space of the document's drawing with its transient
// graphics and the trackers' previews over it, zooms with the wheel about the cursor, pans with the
// middle button (a double middle click shows everything), shows a crosshair with a pick box, and
// turns the mouse into input events: a click answers a point, a drag at a selection prompt is a
// window (left to right) or a crossing (right to left), the right button is Enter. Object snaps to
// end points, midpoints and centres move the cursor onto them (F3 toggles).
#pragma once

#include <optional>

#include <QImage>
#include <QPoint>
#include <QWidget>

#include <vantrel/db/OdDbDatabase.h>

#include "view/DrawingScene.h"
#include "view/ObjectSnap.h"
#include "view/PreviewDrawer.h"
#include "view/ViewFrame.h"
#include "view/ViewTransform.h"

class HostDocument;

namespace vantrel::studio {

class StudioInputSource;

class DrawingView : public QWidget {
    Q_OBJECT
public:
    static constexpr double kZoomStep = 1.2;
    // Pixels the mouse may move between press and release and still click.
    static constexpr int kDragThreshold = 4;
    // Half the side of the pick box, and how far snaps reach, in pixels.
    static constexpr int kPickBox = 5;
    static constexpr int kSnapAperture = 10;
    static constexpr unsigned kBackground = 0x212830;

    DrawingView(StudioInputSource& source, QWidget* parent = nullptr);
    ~DrawingView() override;

    // The document shown; its drawer becomes the view's. Null shows nothing.
    void setDocument(HostDocument* doc);
    HostDocument* document() const { return m_doc; }

    const ViewTransform& transform() const { return m_view; }
    void zoomExtents();
    // The drawing changed in ways the database does not announce (highlights): paint it again
    // whole.
    void drawingChanged();
    // Takes a view area set on the command line (ZOOM, !view) when it changed there.
    void followCommandLineView();
    // Whether zooming and panning set the command line's view area (the area picks are measured
    // against). A script leaves it as the shell has it, so that its picks choose what they choose
    // there, while the view shows the drawing whole.
    void setViewSetsPicks(bool on);

    bool snapsOn() const { return m_snapsOn; }
    void setSnapsOn(bool on);
    DrawingScene* scene() const { return m_scene.get(); }
    // What trackers show now.
    const PreviewDrawer& previews() const { return m_drawer; }

signals:
    void cursorMoved(double x, double y, const QString& snap);
    void snapsToggled(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void viewChanged();
    void paintOverlay(QPainter& painter);
    void paintSnapMarker(QPainter& painter);
    // The cursor in the drawing, on a snap point when one is in reach.
    OdGePoint3d cursorPoint(const QPoint& at);
    void postPoint(bool click, const OdGePoint3d& point);
    void postWindow(const QPoint& from, const QPoint& to);

    StudioInputSource& m_source;
    HostDocument* m_doc = nullptr;
    std::unique_ptr<DrawingScene> m_scene;
    PreviewDrawer m_drawer;
    ViewTransform m_view;
    OdGeExtents3d m_commandLineView;
    bool m_viewSetsPicks = true;
    ViewFrame m_frame{QColor::fromRgb(kBackground)};
    std::optional<QPoint> m_mouse;
    std::optional<SnapPoint> m_snap;
    bool m_snapsOn = true;
    std::optional<QPoint> m_leftPress;
    std::optional<QPoint> m_panFrom;
};

} // namespace vantrel::studio
