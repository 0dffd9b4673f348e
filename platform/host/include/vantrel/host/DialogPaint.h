// What one owner-drawn item (or owner-drawn static) drew the last time it was painted: the
// drawing context's operations in the control's own pixel coordinates, kept so that tests can
// check them and pictures can replay them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <vantrel/host/ColorRef.h>
#include <vantrel/host/PixelRect.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

struct VANTREL_HOST_EXPORT DialogPaint {
    struct Op {
        enum class Kind {
            Fill,      // rect filled with color
            Line,      // from `from` to `to` (the end point left out) with pen color
            Rectangle, // rect outlined with pen color and filled with brush
            Text,      // text in rect with color, aligned by format (DialogDC's kText… bits)
        };
        Kind kind = Kind::Fill;
        PixelRect rect;
        PixelPoint from;
        PixelPoint to;
        ColorRef color = 0;
        ColorRef brush = 0;
        std::wstring text;
        unsigned format = 0;
    };

    int item = 0;       // the item index; 0 for a static
    unsigned state = 0; // the item state bits of the drawing request
    PixelRect rect;     // the item's rectangle
    std::vector<Op> ops;

    // The colour of the last fill (or filled rectangle) that covers the point, if any.
    std::optional<ColorRef> fillColorAt(PixelPoint p) const;
    // The texts drawn, in order.
    std::vector<std::wstring> texts() const;
};

} // namespace vantrel
