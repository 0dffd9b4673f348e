// Keeping the view's picture from one frame to the next while it pans.
#include "view/ViewFrame.h"

#include <cmath>
#include <cstring>

#include <QPainter>

namespace vantrel::studio {

namespace {

// A shift this close to whole pixels is taken as whole: a pan by pixels, measured through the
// view's centre in drawing units, comes back with rounding in the last digits.
constexpr double kWholePixel = 1e-6;

} // namespace

bool ViewFrame::shiftFrom(const DrawingScene& scene, const ViewTransform& view, qreal ratio, int& dx, int& dy) const
{
    if (!m_valid || &scene != m_scene || scene.changes() != m_sceneChanges || ratio != m_ratio
        || ratio != std::round(ratio) || view.scale() != m_painted.scale() || view.width() != m_painted.width()
        || view.height() != m_painted.height())
        return false;
    // Where the old centre lands now, in pixels of the view.
    const double sx = (m_painted.centerX() - view.centerX()) * view.scale();
    const double sy = (view.centerY() - m_painted.centerY()) * view.scale();
    if (!(std::fabs(sx) < view.width() && std::fabs(sy) < view.height()))
        return false;
    if (std::fabs(sx - std::round(sx)) > kWholePixel || std::fabs(sy - std::round(sy)) > kWholePixel)
        return false;
    dx = static_cast<int>(std::round(sx));
    dy = static_cast<int>(std::round(sy));
    return true;
}

void ViewFrame::moveContents(int dx, int dy)
{
    // In pixels of the image: row y takes row y - dy, shifted dx along.
    const int w = m_image.width(), h = m_image.height();
    const int rx = dx * static_cast<int>(m_ratio), ry = dy * static_cast<int>(m_ratio);
    const int keep = w - std::abs(rx);
    auto moveRow = [&](int to) {
        const uchar* from = m_image.constScanLine(to - ry);
        uchar* into = m_image.scanLine(to);
        const int fromX = rx > 0 ? 0 : -rx, toX = rx > 0 ? rx : 0;
        std::memmove(into + std::ptrdiff_t{toX} * 4, from + std::ptrdiff_t{fromX} * 4,
                     static_cast<std::size_t>(keep) * 4);
    };
    if (ry > 0)
        for (int y = h - 1; y >= ry; --y)
            moveRow(y);
    else
        for (int y = 0; y < h + ry; ++y)
            moveRow(y);
}

void ViewFrame::paintStrip(DrawingScene& scene, const ViewTransform& view, const QRect& pixels)
{
    if (pixels.isEmpty())
        return;
    // Painted in an image of the whole view, so that lines are cut at its edges as in a whole
    // paint, and only the strip copied.
    if (m_scratch.size() != m_image.size())
        m_scratch = QImage(m_image.size(), QImage::Format_RGB32);
    m_scratch.setDevicePixelRatio(m_ratio);
    {
        QPainter painter(&m_scratch);
        painter.fillRect(pixels, m_background);
        const DrawingScene::PaintCount count = scene.paint(painter, view, pixels);
        m_count.drawn += count.drawn;
        m_count.dots += count.dots;
    }
    const int r = static_cast<int>(m_ratio);
    const QRect rows(pixels.x() * r, pixels.y() * r, pixels.width() * r, pixels.height() * r);
    for (int y = rows.top(); y <= rows.bottom(); ++y)
        std::memcpy(m_image.scanLine(y) + std::ptrdiff_t{rows.x()} * 4,
                    m_scratch.constScanLine(y) + std::ptrdiff_t{rows.x()} * 4,
                    static_cast<std::size_t>(rows.width()) * 4);
}

const QImage& ViewFrame::render(DrawingScene& scene, const ViewTransform& view, qreal ratio)
{
    m_count = {};
    int dx = 0, dy = 0;
    if (shiftFrom(scene, view, ratio, dx, dy)) {
        m_lastPainted = dx == 0 && dy == 0 ? Painted::Nothing : Painted::Strips;
        moveContents(dx, dy);
        const int w = view.width(), h = view.height();
        // The columns that came in, then the rows that came in beside them.
        const QRect columns = dx > 0 ? QRect(0, 0, dx, h) : QRect(w + dx, 0, -dx, h);
        const int restX = dx > 0 ? dx : 0, restW = w - std::abs(dx);
        const QRect rows = dy > 0 ? QRect(restX, 0, restW, dy) : QRect(restX, h + dy, restW, -dy);
        paintStrip(scene, view, columns);
        paintStrip(scene, view, rows);
    } else {
        m_lastPainted = Painted::Whole;
        const QSize size(static_cast<int>(view.width() * ratio), static_cast<int>(view.height() * ratio));
        if (m_image.size() != size)
            m_image = QImage(size, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(ratio);
        m_ratio = ratio;
        m_image.fill(m_background);
        QPainter painter(&m_image);
        m_count = scene.paint(painter, view);
    }
    m_painted = view;
    m_scene = &scene;
    m_sceneChanges = scene.changes();
    m_valid = true;
    return m_image;
}

} // namespace vantrel::studio
