// What a control's style and kind say about how it behaves and looks.
#include <vantrel/host/DialogControl.h>

namespace vantrel {

namespace {

// The closed field of a combo box: the item height with the frame and padding around it.
constexpr int kFieldPadding = 6;
constexpr int kPlainItemHeight = 15;

} // namespace

bool DialogControl::isOwnerDrawn() const
{
    switch (kind) {
    case DialogControlKind::Static: return (style & DialogStyle::kStaticTypeMask) == DialogStyle::kStaticOwnerDraw;
    case DialogControlKind::ComboBox:
        return (style & (DialogStyle::kComboOwnerDrawFixed | DialogStyle::kComboOwnerDrawVariable)) != 0;
    default: return false;
    }
}

bool DialogControl::isAutoRadio() const
{
    return kind == DialogControlKind::RadioButton
        && (style & DialogStyle::kButtonTypeMask) == DialogStyle::kAutoRadioButton;
}

bool DialogControl::isDefaultButton() const
{
    return kind == DialogControlKind::PushButton
        && (style & DialogStyle::kButtonTypeMask) == DialogStyle::kDefPushButton;
}

std::wstring DialogControl::shownText() const
{
    if (kind != DialogControlKind::ComboBox)
        return text;
    return curSel >= 0 && curSel < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(curSel)].text
                                                                  : std::wstring();
}

std::optional<ColorRef> DialogControl::fillColorAt(PixelPoint p) const
{
    std::optional<ColorRef> color;
    for (const DialogPaint& paint : paints)
        if (std::optional<ColorRef> c = paint.fillColorAt(p))
            color = c;
    return color;
}

int DialogControl::fieldHeight() const { return (itemHeight > 0 ? itemHeight : kPlainItemHeight) + kFieldPadding; }

} // namespace vantrel
