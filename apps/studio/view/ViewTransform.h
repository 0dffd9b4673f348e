// Where the drawing's XY plane lands on the screen: a centre in world units, a scale in pixels per
// unit and the size of the view in pixels, Y pointing up in the drawing and down on the screen.
#pragma once

#include <algorithm>
#include <cmath>

#include <vantrel/ge/OdGeExtents3d.h>

#include "view/SpatialIndex.h"

namespace vantrel::studio {

struct ScreenPoint {
    double x = 0.0, y = 0.0;
};

class ViewTransform {
public:
    static constexpr double kMinScale = 1e-9;
    static constexpr double kMaxScale = 1e9;

    void setSize(int width, int height)
    {
        m_width = std::max(1, width);
        m_height = std::max(1, height);
    }
    int width() const { return m_width; }
    int height() const { return m_height; }
    double scale() const { return m_scale; }
    double centerX() const { return m_cx; }
    double centerY() const { return m_cy; }

    ScreenPoint toScreen(double x, double y) const
    {
        return {m_width / 2.0 + (x - m_cx) * m_scale, m_height / 2.0 - (y - m_cy) * m_scale};
    }
    ScreenPoint toScreen(const OdGePoint3d& p) const { return toScreen(p.x, p.y); }
    OdGePoint3d toWorld(double sx, double sy) const
    {
        return {m_cx + (sx - m_width / 2.0) / m_scale, m_cy - (sy - m_height / 2.0) / m_scale, 0.0};
    }

    Box visibleArea() const
    {
        const double hw = m_width / 2.0 / m_scale, hh = m_height / 2.0 / m_scale;
        return {m_cx - hw, m_cy - hh, m_cx + hw, m_cy + hh};
    }
    OdGeExtents3d visibleExtents() const
    {
        const Box b = visibleArea();
        return {OdGePoint3d(b.x0, b.y0, 0.0), OdGePoint3d(b.x1, b.y1, 0.0)};
    }

    // Shows the area whole, centred, with a margin of `margin` of its size around it.
    void fit(const OdGeExtents3d& area, double margin)
    {
        if (!area.isValidExtents())
            return;
        const double w = area.maxPoint().x - area.minPoint().x, h = area.maxPoint().y - area.minPoint().y;
        m_cx = (area.minPoint().x + area.maxPoint().x) / 2.0;
        m_cy = (area.minPoint().y + area.maxPoint().y) / 2.0;
        const double grow = 1.0 + 2.0 * margin;
        double s = std::min(m_width / (w * grow), m_height / (h * grow));
        if (!(w > 0.0) && !(h > 0.0))
            s = m_scale;
        else if (!(w > 0.0))
            s = m_height / (h * grow);
        else if (!(h > 0.0))
            s = m_width / (w * grow);
        m_scale = std::clamp(s, kMinScale, kMaxScale);
    }
    // Zooms by factor keeping the world point under the screen point where it is.
    void zoomAbout(double sx, double sy, double factor)
    {
        const OdGePoint3d anchor = toWorld(sx, sy);
        m_scale = std::clamp(m_scale * factor, kMinScale, kMaxScale);
        m_cx = anchor.x - (sx - m_width / 2.0) / m_scale;
        m_cy = anchor.y + (sy - m_height / 2.0) / m_scale;
    }
    void panPixels(double dx, double dy)
    {
        m_cx -= dx / m_scale;
        m_cy += dy / m_scale;
    }

private:
    int m_width = 1, m_height = 1;
    double m_cx = 50.0, m_cy = 50.0;
    double m_scale = 1.0;
};

} // namespace vantrel::studio
