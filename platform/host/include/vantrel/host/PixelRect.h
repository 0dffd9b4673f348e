// Places and areas on a dialog in pixels: left and top inclusive, right and bottom exclusive,
// the way owner drawing and moved controls measure them.
#pragma once

#include <vantrel/host/HostExport.h>

namespace vantrel {

struct VANTREL_HOST_EXPORT PixelPoint {
    int x = 0;
    int y = 0;

    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct VANTREL_HOST_EXPORT PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(PixelPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    PixelRect movedTo(int x, int y) const { return {x, y, x + width(), y + height()}; }

    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

} // namespace vantrel
