// The recording drawing context of owner-drawn controls. Text is measured with the dialog
// font's base units, so that layouts computed from it match the pictures.
#include <vantrel/host/DialogDC.h>

#include <utility>

#include <vantrel/host/DialogTemplate.h>

namespace vantrel {

ColorRef DialogDC::GetSysColor(int index)
{
    switch (index) {
    case kColorWindow: return rgbColor(255, 255, 255);
    case kColorWindowText: return rgbColor(0, 0, 0);
    case kColorHighlight: return rgbColor(0, 120, 215);
    case kColorHighlightText: return rgbColor(255, 255, 255);
    case kColorButtonFace: return rgbColor(240, 240, 240);
    case kColorGrayText: return rgbColor(109, 109, 109);
    default: return rgbColor(0, 0, 0);
    }
}

void DialogDC::FillSolidRect(const PixelRect& rect, ColorRef color)
{
    m_state.background = color;
    DialogPaint::Op op;
    op.kind = DialogPaint::Op::Kind::Fill;
    op.rect = rect;
    op.color = color;
    m_record.ops.push_back(std::move(op));
}

void DialogDC::FillSolidRect(int x, int y, int cx, int cy, ColorRef color)
{
    FillSolidRect(PixelRect{x, y, x + cx, y + cy}, color);
}

void DialogDC::FillRect(const PixelRect& rect, ColorRef brush)
{
    DialogPaint::Op op;
    op.kind = DialogPaint::Op::Kind::Fill;
    op.rect = rect;
    op.color = brush;
    m_record.ops.push_back(std::move(op));
}

void DialogDC::Rectangle(const PixelRect& rect)
{
    DialogPaint::Op op;
    op.kind = DialogPaint::Op::Kind::Rectangle;
    op.rect = rect;
    op.color = m_state.pen;
    op.brush = m_state.brush;
    m_record.ops.push_back(std::move(op));
}

PixelPoint DialogDC::MoveTo(int x, int y)
{
    PixelPoint before = m_state.position;
    m_state.position = {x, y};
    return before;
}

void DialogDC::LineTo(int x, int y)
{
    DialogPaint::Op op;
    op.kind = DialogPaint::Op::Kind::Line;
    op.from = m_state.position;
    op.to = {x, y};
    op.color = m_state.pen;
    m_record.ops.push_back(std::move(op));
    m_state.position = {x, y};
}

void DialogDC::TextOut(int x, int y, const std::wstring& text)
{
    Size size = GetTextExtent(text);
    DrawText(text, PixelRect{x, y, x + size.cx, y + size.cy}, kTextLeft | kTextSingleLine | kTextNoPrefix);
}

void DialogDC::DrawText(const std::wstring& text, const PixelRect& rect, unsigned format)
{
    DialogPaint::Op op;
    op.kind = DialogPaint::Op::Kind::Text;
    op.rect = rect;
    op.color = m_state.text;
    op.brush = m_state.background;
    op.text = text;
    op.format = format;
    m_record.ops.push_back(std::move(op));
}

DialogDC::Size DialogDC::GetTextExtent(const std::wstring& text) const
{
    return {static_cast<int>(text.size()) * DialogTemplate::kBaseUnitX, DialogTemplate::kBaseUnitY};
}

ColorRef DialogDC::SetTextColor(ColorRef color) { return std::exchange(m_state.text, color); }
ColorRef DialogDC::SetBkColor(ColorRef color) { return std::exchange(m_state.background, color); }
ColorRef DialogDC::SetPenColor(ColorRef color) { return std::exchange(m_state.pen, color); }
ColorRef DialogDC::SetBrushColor(ColorRef color) { return std::exchange(m_state.brush, color); }

int DialogDC::SaveDC()
{
    m_saved.push_back(m_state);
    return static_cast<int>(m_saved.size());
}

bool DialogDC::RestoreDC(int level)
{
    if (level == -1)
        level = static_cast<int>(m_saved.size());
    if (level < 1 || level > static_cast<int>(m_saved.size()))
        return false;
    m_state = m_saved[static_cast<std::size_t>(level - 1)];
    m_saved.resize(static_cast<std::size_t>(level - 1));
    return true;
}

} // namespace vantrel
