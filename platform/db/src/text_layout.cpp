// Shared pieces of text layout: %% codes, faces of text styles, runs with their lines.
#include "text_layout.h"

#include <cwctype>

#include <vantrel/db/OdDbTables.h>

namespace vantrel::textlayout {

namespace {
// Where the lines lie, in capital heights above the baseline.
constexpr double kUnderline = -0.2;
constexpr double kOverline = 1.25;
constexpr double kStrike = 0.5;

// An open stretch per kind while its switch is on.
struct Switches {
    int start[3] = {-1, -1, -1};

    void toggle(Decoration::Kind kind, int at, std::vector<Decoration>& lines)
    {
        int& s = start[kind];
        if (s < 0) {
            s = at;
            return;
        }
        if (at > s)
            lines.push_back({kind, s, at});
        s = -1;
    }
    void closeAll(int at, std::vector<Decoration>& lines)
    {
        for (int k = 0; k < 3; ++k)
            if (start[k] >= 0)
                toggle(static_cast<Decoration::Kind>(k), at, lines);
    }
};
} // namespace

DecodedText decodePercentCodes(const OdString& text)
{
    const std::wstring& in = text.str();
    DecodedText out;
    if (in.find(L"%%") == std::wstring::npos) {
        out.text = text;
        return out;
    }
    std::wstring& s = out.text.str();
    s.reserve(in.size());
    Switches on;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != L'%' || i + 2 >= in.size() || in[i + 1] != L'%') {
            s += in[i];
            continue;
        }
        const wchar_t c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(in[i + 2])));
        const int at = static_cast<int>(s.size());
        switch (c) {
        case L'c': s += L'\u2300'; break;
        case L'd': s += L'\u00B0'; break;
        case L'p': s += L'\u00B1'; break;
        case L'%': s += L'%'; break;
        case L'u': on.toggle(Decoration::Underline, at, out.lines); break;
        case L'o': on.toggle(Decoration::Overline, at, out.lines); break;
        case L'k': on.toggle(Decoration::Strike, at, out.lines); break;
        default:
            if (std::iswdigit(static_cast<std::wint_t>(c))) {
                std::size_t j = i + 2;
                int code = 0;
                for (; j < in.size() && j < i + 5 && std::iswdigit(static_cast<std::wint_t>(in[j])); ++j)
                    code = code * 10 + (in[j] - L'0');
                s += static_cast<wchar_t>(code);
                i = j - 1;
                continue;
            }
            s += in[i];
            continue;
        }
        i += 2;
    }
    on.closeAll(static_cast<int>(s.size()), out.lines);
    return out;
}

FontFace styleFace(OdDbObjectId textStyle)
{
    if (textStyle.isNull())
        return {};
    OdDbTextStyleTableRecordPtr style = OdDbTextStyleTableRecord::cast(textStyle.openObject().get());
    return style ? fontFaceFor(style->fileName()) : FontFace{};
}

void drawRun(WorldDraw& wd, const TextRun& run, const std::vector<Decoration>& lines)
{
    if (run.text.isEmpty())
        return;
    wd.text(run);
    if (lines.empty())
        return;
    const double natural = textAdvance(run.text, run.face);
    const double scale = natural > 0.0 ? run.width / natural : 0.0;
    for (const Decoration& d : lines) {
        const double lift = d.kind == Decoration::Underline ? kUnderline
            : d.kind == Decoration::Overline                ? kOverline
                                                            : kStrike;
        const auto at = [&](int index) {
            const double along
                = textAdvance(OdString(run.text.str().substr(0, static_cast<std::size_t>(index))), run.face) * scale;
            return run.origin + run.advance * along + run.up * (lift * run.height);
        };
        const PathVertex ends[] = {{at(d.from)}, {at(d.to)}};
        wd.path(ends, false, run.advance.crossProduct(run.up));
    }
}

} // namespace vantrel::textlayout
