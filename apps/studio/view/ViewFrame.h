// The picture of the drawing that the view shows, painted again only where it must be: after a
// pan by whole pixels the last picture is moved and only the strips that came into view are
// painted. That is the picture a whole paint gives but for lines that cross the edge of the view
// before or after the pan: Qt's antialiasing of a line follows where it cuts the line, so they may
// differ by a few levels or a step of a pixel along the line. Anything else (another scale or
// size, a change of the drawing, which the scene counts) paints it whole.
#pragma once

#include <cstdint>

#include <QColor>
#include <QImage>

#include "view/DrawingScene.h"
#include "view/ViewTransform.h"

namespace vantrel::studio {

class ViewFrame {
public:
    explicit ViewFrame(QColor background) : m_background(background) {}

    // The drawing changed: the next picture is painted whole.
    void invalidate() { m_valid = false; }
    // The picture of the scene in the view, in pixels of the screen (ratio of them to a pixel of
    // the view).
    const QImage& render(DrawingScene& scene, const ViewTransform& view, qreal ratio = 1.0);
    // What the last render painted: nothing, strips, or the whole picture.
    enum class Painted { Nothing, Strips, Whole };
    Painted lastPainted() const { return m_lastPainted; }
    // What the last render's paints drew (strips added up).
    const DrawingScene::PaintCount& lastCount() const { return m_count; }

private:
    // The pixels of the view the picture moves by from the last one, when it shows the same
    // drawing unchanged and moves by whole pixels of the screen at the same scale; false
    // otherwise.
    bool shiftFrom(const DrawingScene& scene, const ViewTransform& view, qreal ratio, int& dx, int& dy) const;
    void moveContents(int dx, int dy);
    void paintStrip(DrawingScene& scene, const ViewTransform& view, const QRect& pixels);

    QColor m_background;
    QImage m_image;
    // Where the strips are painted before they are copied into the picture.
    QImage m_scratch;
    const DrawingScene* m_scene = nullptr;
    std::uint64_t m_sceneChanges = 0;
    ViewTransform m_painted;
    qreal m_ratio = 1.0;
    bool m_valid = false;
    Painted m_lastPainted = Painted::Nothing;
    DrawingScene::PaintCount m_count;
};

} // namespace vantrel::studio
