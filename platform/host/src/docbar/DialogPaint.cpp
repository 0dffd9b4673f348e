// Queries over a recorded owner drawing.
#include <vantrel/host/DialogPaint.h>

namespace vantrel {

std::optional<ColorRef> DialogPaint::fillColorAt(PixelPoint p) const
{
    std::optional<ColorRef> color;
    for (const Op& op : ops) {
        if (op.kind == Op::Kind::Fill && op.rect.contains(p))
            color = op.color;
        else if (op.kind == Op::Kind::Rectangle && op.rect.contains(p))
            color = op.brush;
    }
    return color;
}

std::vector<std::wstring> DialogPaint::texts() const
{
    std::vector<std::wstring> out;
    for (const Op& op : ops)
        if (op.kind == Op::Kind::Text)
            out.push_back(op.text);
    return out;
}

} // namespace vantrel
