// Dialog pictures in a plain light style: a frame with a caption bar, then each shown control in
// creation order at its pixel rectangle. Owner-drawn controls replay their last painting,
// clipped to the control (an owner-drawn combo box shows its selection field only).
#include <vantrel/host/dialog_svg.h>

#include <string>

#include <fmt/format.h>

#include <vantrel/db/OdString.h>
#include <vantrel/host/DialogDC.h>
#include <vantrel/host/hostUiDialog.h>
#include <vantrel/host/write_file.h>

namespace vantrel {

namespace {

constexpr int kCaptionHeight = 30;
constexpr int kBorder = 1;
constexpr int kFontSize = 11;
constexpr const char* kFace = "#f0f0f0";
constexpr const char* kFrameLine = "#7a7a7a";
constexpr const char* kGrayText = "#6d6d6d";

std::string escaped(const std::wstring& text)
{
    std::string out;
    for (char c : OdString(text).toUtf8()) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string hex(ColorRef color)
{
    return fmt::format("#{:02x}{:02x}{:02x}", redOf(color), greenOf(color), blueOf(color));
}

std::string rect(const PixelRect& r, const std::string& fill, const std::string& stroke, const std::string& extra = {})
{
    return fmt::format(R"(<rect x="{}" y="{}" width="{}" height="{}" fill="{}" stroke="{}"{}/>)", r.left, r.top,
                       r.width(), r.height(), fill, stroke, extra)
        + "\n";
}

// A line of text at x, its middle at y.
std::string text(int x, int y, const std::wstring& content, const std::string& color, const char* anchor = "start")
{
    return fmt::format(R"(<text x="{}" y="{}" fill="{}" text-anchor="{}" dominant-baseline="central">{}</text>)", x, y,
                       color, anchor, escaped(content))
        + "\n";
}

std::string textColor(const DialogControl& control) { return control.enabled ? "#000000" : kGrayText; }

int middle(const PixelRect& r) { return (r.top + r.bottom) / 2; }

void replay(std::string& out, const DialogPaint& paint)
{
    for (const DialogPaint::Op& op : paint.ops) {
        switch (op.kind) {
        case DialogPaint::Op::Kind::Fill: out += rect(op.rect, hex(op.color), "none"); break;
        case DialogPaint::Op::Kind::Rectangle: out += rect(op.rect, hex(op.brush), hex(op.color)); break;
        case DialogPaint::Op::Kind::Line:
            out += fmt::format(R"(<line x1="{}" y1="{}" x2="{}" y2="{}" stroke="{}"/>)", op.from.x + 0.5,
                               op.from.y + 0.5, op.to.x + 0.5, op.to.y + 0.5, hex(op.color))
                + "\n";
            break;
        case DialogPaint::Op::Kind::Text: {
            const char* anchor = "start";
            int x = op.rect.left;
            if (op.format & DialogDC::kTextCenter) {
                anchor = "middle";
                x = (op.rect.left + op.rect.right) / 2;
            } else if (op.format & DialogDC::kTextRight) {
                anchor = "end";
                x = op.rect.right;
            }
            int y = op.rect.top + DialogTemplate::kBaseUnitY / 2;
            if (op.format & DialogDC::kTextVCenter)
                y = middle(op.rect);
            else if (op.format & DialogDC::kTextBottom)
                y = op.rect.bottom - DialogTemplate::kBaseUnitY / 2;
            out += text(x, y, op.text, hex(op.color), anchor);
            break;
        }
        }
    }
}

// A nested picture clips what it holds to its own area.
std::string clipped(const PixelRect& area, const std::string& body)
{
    return fmt::format(R"(<svg x="{}" y="{}" width="{}" height="{}">)", area.left, area.top, area.width(),
                       area.height())
        + "\n" + body + "</svg>\n";
}

std::string arrow(int cx, int cy, bool up, const std::string& color)
{
    const int d = up ? -2 : 2;
    return fmt::format(R"(<path d="M{} {} L{} {} L{} {} Z" fill="{}"/>)", cx - 3, cy - d, cx + 3, cy - d, cx, cy + d,
                       color)
        + "\n";
}

void drawCombo(std::string& out, const DialogControl& c)
{
    const PixelRect field{c.rect.left, c.rect.top, c.rect.right, c.rect.top + c.fieldHeight()};
    out += rect(field, c.enabled ? "#ffffff" : kFace, kFrameLine);
    const PixelRect button{field.right - DialogDC::kVScrollWidth, field.top + 1, field.right - 1, field.bottom - 1};
    out += rect(button, "#e5e5e5", "none");
    out += arrow((button.left + button.right) / 2, middle(button), false, textColor(c));
    if (!c.isOwnerDrawn()) {
        out += text(field.left + 4, middle(field), c.shownText(), textColor(c));
        return;
    }
    std::string body;
    for (const DialogPaint& paint : c.paints)
        if (paint.state & kItemComboBoxEdit)
            replay(body, paint);
    out += clipped(field, body);
}

void drawControl(std::string& out, const DialogControl& c, bool focused)
{
    const PixelRect& r = c.rect;
    switch (c.kind) {
    case DialogControlKind::GroupBox: {
        out += rect({r.left, r.top + 6, r.right, r.bottom}, "none", "#dcdcdc");
        if (!c.text.empty()) {
            const int width = static_cast<int>(c.text.size()) * DialogTemplate::kBaseUnitX + 4;
            out += rect({r.left + 6, r.top, r.left + 6 + width, r.top + 12}, kFace, "none");
            out += text(r.left + 8, r.top + 6, c.text, textColor(c));
        }
        break;
    }
    case DialogControlKind::Static:
        if (c.isOwnerDrawn()) {
            std::string body;
            for (const DialogPaint& paint : c.paints)
                replay(body, paint);
            out += clipped(r, body);
            if (c.style & DialogStyle::kStaticSunken)
                out += rect(r, "none", kFrameLine);
        } else if (!c.text.empty()) {
            // Clipped sideways only: a label's glyphs may reach a little above and below its box.
            const int slack = DialogTemplate::kBaseUnitY / 2;
            out += clipped({r.left, r.top - slack, r.right, r.bottom + slack},
                           text(0, slack + DialogTemplate::kBaseUnitY / 2, c.text, textColor(c)));
        }
        break;
    case DialogControlKind::Edit:
        out += rect(r, c.enabled ? "#ffffff" : kFace, kFrameLine);
        out += clipped(r, text(3, r.height() / 2, c.text, textColor(c)));
        break;
    case DialogControlKind::ComboBox: drawCombo(out, c); break;
    case DialogControlKind::PushButton:
        out += rect(r, "#e1e1e1", c.isDefaultButton() ? "#0078d7" : "#adadad",
                    c.isDefaultButton() ? R"( stroke-width="2")" : "");
        out += text((r.left + r.right) / 2, middle(r), c.text, textColor(c), "middle");
        break;
    case DialogControlKind::RadioButton: {
        const int cy = middle(r);
        out += fmt::format(R"(<circle cx="{}" cy="{}" r="6" fill="#ffffff" stroke="#333333"/>)", r.left + 6, cy) + "\n";
        if (c.check)
            out += fmt::format(R"(<circle cx="{}" cy="{}" r="3" fill="#333333"/>)", r.left + 6, cy) + "\n";
        out += text(r.left + 16, cy, c.text, textColor(c));
        break;
    }
    case DialogControlKind::UpDown: {
        const int split = middle(r);
        out += rect({r.left, r.top, r.right, split}, "#e1e1e1", "#adadad");
        out += rect({r.left, split, r.right, r.bottom}, "#e1e1e1", "#adadad");
        const int cx = (r.left + r.right) / 2;
        out += arrow(cx, (r.top + split) / 2, true, textColor(c));
        out += arrow(cx, (split + r.bottom) / 2, false, textColor(c));
        break;
    }
    }
    if (focused) {
        // A combo box's rectangle includes its list, which is closed.
        const int bottom = c.kind == DialogControlKind::ComboBox ? r.top + c.fieldHeight() : r.bottom;
        out += rect({r.left - 2, r.top - 2, r.right + 2, bottom + 2}, "none", "#000000", R"( stroke-dasharray="1,1")");
    }
}

} // namespace

std::string dialogSvg(const hostUiDialog& dialog)
{
    const DialogTemplate& tmpl = dialog.dialogTemplate();
    const PixelRect client = tmpl.clientRect();
    const int width = client.width() + 2 * kBorder;
    const int height = client.height() + kCaptionHeight + 2 * kBorder;

    std::string out = fmt::format(R"(<svg xmlns="http://www.w3.org/2000/svg" width="{0}" height="{1}" )"
                                  R"(viewBox="0 0 {0} {1}" font-family="sans-serif" font-size="{2}">)",
                                  width, height, kFontSize)
        + "\n";
    out += "<title>" + escaped(tmpl.caption) + "</title>\n";
    out += rect({0, 0, width, height}, kFace, kFrameLine);
    out += rect({kBorder, kBorder, width - kBorder, kCaptionHeight}, "#ffffff", "none");
    out += text(10, kCaptionHeight / 2, tmpl.caption, "#000000");
    out += fmt::format(R"svg(<g transform="translate({},{})">)svg", kBorder, kCaptionHeight + kBorder) + "\n";
    for (const auto& control : dialog.controls())
        if (control->visible)
            drawControl(out, *control, control->id != kNoControlId && control->id == dialog.focusId());
    out += "</g>\n</svg>\n";
    return out;
}

std::string writeDialogSvg(const hostUiDialog& dialog, const std::string& path)
{
    return writeFileAtomically(path, dialogSvg(dialog));
}

} // namespace vantrel
