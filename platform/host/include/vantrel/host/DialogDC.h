// The drawing context an owner-drawn control gets: filled rectangles, lines, text, colours, and
// saved states. Every operation is recorded into the item's DialogPaint; a backend with a real
// surface replays the record.
#pragma once

#include <string>
#include <vector>

#include <vantrel/host/ColorRef.h>
#include <vantrel/host/DialogPaint.h>
#include <vantrel/host/PixelRect.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT DialogDC {
public:
    // DrawText format bits.
    static constexpr unsigned kTextLeft = 0x00;
    static constexpr unsigned kTextCenter = 0x01;
    static constexpr unsigned kTextRight = 0x02;
    static constexpr unsigned kTextVCenter = 0x04;
    static constexpr unsigned kTextBottom = 0x08;
    static constexpr unsigned kTextSingleLine = 0x20;
    static constexpr unsigned kTextNoPrefix = 0x800;

    // System colours by their usual indices.
    static constexpr int kColorWindow = 5;
    static constexpr int kColorWindowText = 8;
    static constexpr int kColorHighlight = 13;
    static constexpr int kColorHighlightText = 14;
    static constexpr int kColorButtonFace = 15;
    static constexpr int kColorGrayText = 17;
    static ColorRef GetSysColor(int index);
    // The width of a vertical scroll bar in pixels.
    static constexpr int kVScrollWidth = 17;

    struct Size {
        int cx = 0;
        int cy = 0;
    };

    explicit DialogDC(DialogPaint& record) : m_record(record) {}
    DialogDC(const DialogDC&) = delete;
    DialogDC& operator=(const DialogDC&) = delete;

    // Fills with the colour, which also becomes the background colour (as text backgrounds
    // are what a solid fill is drawn with).
    void FillSolidRect(const PixelRect& rect, ColorRef color);
    void FillSolidRect(int x, int y, int cx, int cy, ColorRef color);
    // Fills with a brush of the colour; the context's colours stay.
    void FillRect(const PixelRect& rect, ColorRef brush);
    // Outlined with the pen, filled with the brush.
    void Rectangle(const PixelRect& rect);

    PixelPoint MoveTo(int x, int y);
    // A line from the current position with the pen; the end point becomes the position.
    void LineTo(int x, int y);

    void TextOut(int x, int y, const std::wstring& text);
    void DrawText(const std::wstring& text, const PixelRect& rect, unsigned format);
    Size GetTextExtent(const std::wstring& text) const;

    // Each setter answers the previous colour.
    ColorRef SetTextColor(ColorRef color);
    ColorRef SetBkColor(ColorRef color);
    ColorRef SetPenColor(ColorRef color);
    ColorRef SetBrushColor(ColorRef color);
    ColorRef GetTextColor() const { return m_state.text; }
    ColorRef GetBkColor() const { return m_state.background; }
    ColorRef GetPenColor() const { return m_state.pen; }
    ColorRef GetBrushColor() const { return m_state.brush; }

    // Saves colours and position; answers the level (1 for the first save).
    int SaveDC();
    // Restores a level SaveDC answered (dropping the saves after it), or with -1 the last
    // save. False, and nothing changes, when there is no such level.
    bool RestoreDC(int level);

private:
    struct State {
        ColorRef text = 0x000000;
        ColorRef background = 0xFFFFFF;
        ColorRef pen = 0x000000;
        ColorRef brush = 0xFFFFFF;
        PixelPoint position;
    };

    DialogPaint& m_record;
    State m_state;
    std::vector<State> m_saved;
};

} // namespace vantrel
