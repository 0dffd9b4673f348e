// Raster images and wipeouts: the frame, the clip boundary in world coordinates, and drawing.
#include <vantrel/db/OdDbRasterImage.h>
#include <vantrel/db/OdDbWipeout.h>

#include <algorithm>

#include "entity_math.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbRasterImage, OdDbEntity, "IMAGE")
ODRX_DEFINE_MEMBERS(OdDbWipeout, OdDbRasterImage, "WIPEOUT")

void OdDbRasterImage::checkData() const
{
    requireFinite(m_data.origin, "an origin");
    requireFinite(m_data.uPixel, "a pixel vector");
    requireFinite(m_data.vPixel, "a pixel vector");
    requireFinite(m_data.imageSize, "an image size");
    for (const OdGePoint2d& p : m_data.clipBoundary)
        requireFinite(p, "a clip boundary point");
}

std::vector<OdGePoint3d> OdDbRasterImage::frame() const
{
    assertReadEnabled();
    const OdGeVector3d u = m_data.uPixel * m_data.imageSize.x;
    const OdGeVector3d v = m_data.vPixel * m_data.imageSize.y;
    return {m_data.origin, m_data.origin + u, m_data.origin + u + v, m_data.origin + v};
}

OdGePoint3d OdDbRasterImage::pixelToWorld(const OdGePoint2d& pixel) const
{
    assertReadEnabled();
    return m_data.origin + m_data.uPixel * (pixel.x + 0.5) + m_data.vPixel * (m_data.imageSize.y - pixel.y - 0.5);
}

std::vector<OdGePoint3d> OdDbRasterImage::boundary() const
{
    assertReadEnabled();
    const auto& clip = m_data.clipBoundary;
    if (!m_data.clipping || clip.size() < 2)
        return frame();
    if (clip.size() == 2 || m_data.clipBoundaryType == 1) {
        const OdGePoint2d& a = clip.front();
        const OdGePoint2d& b = clip.back();
        return {pixelToWorld(a), pixelToWorld({b.x, a.y}), pixelToWorld(b), pixelToWorld({a.x, b.y})};
    }
    std::vector<OdGePoint3d> out;
    out.reserve(clip.size());
    for (const OdGePoint2d& p : clip)
        out.push_back(pixelToWorld(p));
    if (out.size() > 1 && out.front().isEqualTo(out.back()))
        out.pop_back();
    return out;
}

void OdDbRasterImage::transformBy(const OdGeMatrix3d& xform)
{
    requireInvertible(xform);
    assertWriteEnabled();
    m_data.origin.transformBy(xform);
    m_data.uPixel.transformBy(xform);
    m_data.vPixel.transformBy(xform);
}

void OdDbRasterImage::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    const std::vector<OdGePoint3d> outline = boundary();
    wd.polygon(outline, false);
    const std::vector<OdGePoint3d> f = frame();
    const vantrel::PathVertex diagonal1[2] = {{f[0]}, {f[2]}};
    const vantrel::PathVertex diagonal2[2] = {{f[1]}, {f[3]}};
    const OdGeVector3d normal = m_data.uPixel.crossProduct(m_data.vPixel);
    wd.path(diagonal1, false, normal);
    wd.path(diagonal2, false, normal);
}

OdDbWipeout::OdDbWipeout()
{
    m_data.displayFlags = kShow | kShowUnaligned | kClip;
    m_data.clipping = 1;
    m_data.clipBoundaryType = 2;
}

void OdDbWipeout::setBoundary(const std::vector<OdGePoint3d>& points)
{
    if (points.size() < 3)
        throw OdError(eInvalidInput, "a wipeout needs at least three points");
    double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
    for (const OdGePoint3d& p : points) {
        requireFinite(p, "a wipeout point");
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    if (!(x1 > x0) || !(y1 > y0))
        throw OdError(eInvalidInput, "a wipeout covers an area");
    assertWriteEnabled();
    m_data.origin = OdGePoint3d(x0, y0, 0.0);
    m_data.uPixel = OdGeVector3d(x1 - x0, 0.0, 0.0);
    m_data.vPixel = OdGeVector3d(0.0, y1 - y0, 0.0);
    m_data.imageSize = OdGePoint2d(1.0, 1.0);
    m_data.clipBoundary.clear();
    for (const OdGePoint3d& p : points)
        m_data.clipBoundary.emplace_back((p.x - x0) / (x1 - x0) - 0.5, 0.5 - (p.y - y0) / (y1 - y0));
    m_data.clipBoundary.push_back(m_data.clipBoundary.front());
}

void OdDbWipeout::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    vantrel::DrawTraits mask;
    mask.background = true;
    wd.setTraits(mask);
    const std::vector<OdGePoint3d> outline = boundary();
    wd.polygon(outline, true);
}
