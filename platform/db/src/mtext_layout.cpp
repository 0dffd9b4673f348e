// Parsing and layout of multi-line text. Lines are broken between words; a word longer than the
// width stands alone on its line. Lines are 5/3 of their text height apart times the spacing
// factor, the usual pitch of multi-line text.
#include "mtext_layout.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <numbers>
#include <optional>

#include <vantrel/db/OdCmColor.h>

#include "text_layout.h"

namespace vantrel::mtext {

namespace {

constexpr double kLinePitch = 5.0 / 3.0;
// A stacked fraction: its parts at this share of the height, the upper part's baseline, the
// lower part's and the bar's above the line's baseline, in heights.
constexpr double kStackScale = 0.6;
constexpr double kStackUpper = 0.55;
constexpr double kStackLower = -0.25;
constexpr double kStackBar = 0.43;

class Parser {
public:
    Parser(const std::wstring& s, const Style& base) : m_s(s), m_style(base) {}

    std::vector<Paragraph> run()
    {
        m_paragraphs.emplace_back();
        while (m_at < m_s.size()) {
            const wchar_t c = m_s[m_at++];
            if (c == L'{') {
                flush();
                m_stack.push_back(m_style);
            } else if (c == L'}') {
                flush();
                if (!m_stack.empty()) {
                    m_style = m_stack.back();
                    m_stack.pop_back();
                }
            } else if (c == L'\\' && m_at < m_s.size()) {
                code(m_s[m_at++]);
            } else {
                m_text += c;
            }
        }
        flush();
        return std::move(m_paragraphs);
    }

private:
    // The value of a code up to its ';' (or the end).
    std::wstring argument()
    {
        const std::size_t end = m_s.find(L';', m_at);
        std::wstring value = m_s.substr(m_at, end == std::wstring::npos ? std::wstring::npos : end - m_at);
        m_at = end == std::wstring::npos ? m_s.size() : end + 1;
        return value;
    }
    static double number(const std::wstring& s, double fallback)
    {
        try {
            const double v = std::stod(s);
            return std::isfinite(v) ? v : fallback;
        } catch (const std::exception&) {
            return fallback;
        }
    }
    // The character of "\U+XXXX" at the read position, when exactly four hex digits of a
    // character other than NUL follow; otherwise the code is not an escape.
    std::optional<wchar_t> unicodeEscape() const
    {
        if (m_at + 5 > m_s.size() || m_s[m_at] != L'+')
            return std::nullopt;
        wchar_t value = 0;
        for (std::size_t i = m_at + 1; i < m_at + 5; ++i) {
            const wchar_t d = m_s[i];
            const int digit = std::iswdigit(static_cast<std::wint_t>(d)) ? d - L'0'
                : (d >= L'a' && d <= L'f')                               ? d - L'a' + 10
                : (d >= L'A' && d <= L'F')                               ? d - L'A' + 10
                                                                         : -1;
            if (digit < 0)
                return std::nullopt;
            value = static_cast<wchar_t>(value * 16 + digit);
        }
        if (value == 0)
            return std::nullopt;
        return value;
    }
    // A height or width factor: absolute, or relative with a trailing x.
    static double scaled(const std::wstring& s, double current)
    {
        const bool relative = !s.empty() && (s.back() == L'x' || s.back() == L'X');
        const double v = number(relative ? s.substr(0, s.size() - 1) : s, 0.0);
        if (!(v > 0.0))
            return current;
        return relative ? current * v : v;
    }

    void restyle(auto change)
    {
        flush();
        change(m_style);
    }

    void code(wchar_t c)
    {
        switch (c) {
        case L'P':
        case L'N':
        case L'X':
            flush();
            m_paragraphs.emplace_back();
            break;
        case L'~': m_text += L'\u00A0'; break;
        case L'\\':
        case L'{':
        case L'}': m_text += c; break;
        case L'L': restyle([](Style& s) { s.underline = true; }); break;
        case L'l': restyle([](Style& s) { s.underline = false; }); break;
        case L'O': restyle([](Style& s) { s.overline = true; }); break;
        case L'o': restyle([](Style& s) { s.overline = false; }); break;
        case L'K': restyle([](Style& s) { s.strike = true; }); break;
        case L'k': restyle([](Style& s) { s.strike = false; }); break;
        case L'f':
        case L'F': font(argument()); break;
        case L'H': {
            const auto a = argument();
            restyle([&](Style& s) { s.height = scaled(a, s.height); });
            break;
        }
        case L'W': {
            const auto a = argument();
            restyle([&](Style& s) { s.widthFactor = scaled(a, s.widthFactor); });
            break;
        }
        case L'Q': {
            const double degrees = number(argument(), 0.0);
            restyle([&](Style& s) { s.oblique = std::clamp(degrees, -85.0, 85.0) * std::numbers::pi / 180.0; });
            break;
        }
        case L'C': {
            const int index = static_cast<int>(number(argument(), 256));
            restyle([&](Style& s) {
                if (index >= 1 && index <= 255)
                    s.rgb = OdCmColor::paletteRGB(index);
                else
                    s.rgb.reset(); // by layer or by block: the entity's own
            });
            break;
        }
        case L'c': {
            const double rgb = number(argument(), -1.0);
            restyle([&](Style& s) {
                if (rgb >= 0.0 && rgb <= 0xFFFFFF)
                    s.rgb = static_cast<std::uint32_t>(rgb);
            });
            break;
        }
        case L'S': stack(argument()); break;
        case L'T':
        case L'A':
        case L'p': (void)argument(); break; // tracking, alignment, paragraph layout: not drawn
        case L'U':
            if (const std::optional<wchar_t> cp = unicodeEscape()) {
                m_text += *cp;
                m_at += 5;
                break;
            }
            m_text += c;
            break;
        default: m_text += c; break; // not a code: the character stands for itself
        }
    }

    // "\fArial|b1|i0|c0|p34;": a family, then bold and italic switches.
    void font(const std::wstring& fontCode)
    {
        const std::size_t bar = fontCode.find(L'|');
        const std::wstring name = fontCode.substr(0, bar);
        const bool bold = fontCode.find(L"|b1") != std::wstring::npos;
        const bool italic = fontCode.find(L"|i1") != std::wstring::npos;
        restyle([&](Style& s) { s.face = fontFaceFor(OdString(name), bold, italic); });
    }

    void stack(const std::wstring& value)
    {
        flush();
        std::size_t split = value.find_first_of(L"^/#");
        Piece p;
        p.style = m_style;
        p.stacked = true;
        if (split == std::wstring::npos) {
            p.upper = OdString(value);
        } else {
            p.stackKind = value[split];
            p.upper = OdString(value.substr(0, split));
            p.lower = OdString(value.substr(split + 1));
        }
        p.upper = textlayout::decodePercentCodes(p.upper).text;
        p.lower = textlayout::decodePercentCodes(p.lower).text;
        m_paragraphs.back().push_back(std::move(p));
    }

    void flush()
    {
        if (m_text.empty())
            return;
        Piece p;
        p.text = textlayout::decodePercentCodes(OdString(m_text)).text;
        p.style = m_style;
        m_paragraphs.back().push_back(std::move(p));
        m_text.clear();
    }

    const std::wstring& m_s;
    std::size_t m_at = 0;
    Style m_style;
    std::vector<Style> m_stack;
    std::wstring m_text;
    std::vector<Paragraph> m_paragraphs;
};

double advanceOf(const OdString& text, const Style& s) { return textAdvance(text, s.face) * s.height * s.widthFactor; }

double stackWidth(const Piece& p)
{
    return std::max(advanceOf(p.upper, p.style), advanceOf(p.lower, p.style)) * kStackScale;
}

// A word, a run of blanks, or a stacked fraction, as lines are built from them.
struct Token {
    const Piece* piece;
    OdString text;
    bool blank;
    double width;
};

std::vector<Token> tokens(const Paragraph& paragraph)
{
    std::vector<Token> out;
    for (const Piece& p : paragraph) {
        if (p.stacked) {
            out.push_back({&p, OdString(), false, stackWidth(p)});
            continue;
        }
        const std::wstring& s = p.text.str();
        std::size_t i = 0;
        while (i < s.size()) {
            const bool blank = s[i] == L' ';
            std::size_t j = i;
            while (j < s.size() && (s[j] == L' ') == blank)
                ++j;
            OdString part(s.substr(i, j - i));
            const double w = advanceOf(part, p.style);
            out.push_back({&p, std::move(part), blank, w});
            i = j;
        }
    }
    return out;
}

struct Line {
    std::vector<Token> tokens;
    double width = 0.0;
    double height = 0.0; // of its tallest text
};

std::vector<Line> breakLines(const Paragraph& paragraph, double wrapWidth, double nominalHeight)
{
    std::vector<Line> lines(1);
    std::vector<Token> blanks; // held until a word follows them on the same line
    double blanksWidth = 0.0;
    for (Token& t : tokens(paragraph)) {
        if (t.blank) {
            blanksWidth += t.width;
            blanks.push_back(std::move(t));
            continue;
        }
        // Blanks where a line breaks are dropped; others stay between their words.
        const Line& current = lines.back();
        const bool wrap = wrapWidth > 0.0 && !current.tokens.empty()
            && current.width + blanksWidth + t.width > wrapWidth * (1.0 + 1e-9);
        if (wrap)
            lines.emplace_back();
        Line& target = lines.back();
        if (!wrap) {
            for (Token& b : blanks)
                target.tokens.push_back(std::move(b));
            target.width += blanksWidth;
        }
        blanks.clear();
        blanksWidth = 0.0;
        target.width += t.width;
        target.tokens.push_back(std::move(t));
    }
    for (Line& line : lines) {
        line.height = 0.0;
        for (const Token& t : line.tokens)
            line.height = std::max(line.height, t.piece->style.height);
        if (line.height == 0.0)
            line.height = paragraph.empty() ? nominalHeight : paragraph.front().style.height;
    }
    return lines;
}

} // namespace

std::vector<Paragraph> parse(const OdString& contents, const Style& base) { return Parser(contents.str(), base).run(); }

Layout layout(const std::vector<Paragraph>& paragraphs, double wrapWidth, double nominalHeight, double spacingFactor,
              bool exactSpacing, int attachment)
{
    std::vector<Line> lines;
    for (const Paragraph& p : paragraphs)
        for (Line& l : breakLines(p, wrapWidth, nominalHeight))
            lines.push_back(std::move(l));

    Layout out;
    const int column = (attachment - 1) % 3; // 0 left, 1 centre, 2 right
    const int row = (attachment - 1) / 3;    // 0 top, 1 middle, 2 bottom
    double baseline = 0.0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        const double h = exactSpacing ? nominalHeight : line.height;
        baseline -= i == 0 ? line.height : kLinePitch * spacingFactor * h;
        double x = -line.width * column / 2.0;
        out.lineWidths.push_back(line.width);
        bool open = false; // the last run takes the next text of its style
        for (const Token& t : line.tokens) {
            const Style& s = t.piece->style;
            if (t.piece->stacked) {
                const Piece& p = *t.piece;
                Style small = s;
                small.height = s.height * kStackScale;
                const double wu = advanceOf(p.upper, small), wl = advanceOf(p.lower, small);
                out.runs.push_back(
                    {{x + (t.width - wu) / 2.0, baseline + kStackUpper * s.height}, wu, small.height, small, p.upper});
                out.runs.push_back(
                    {{x + (t.width - wl) / 2.0, baseline + kStackLower * s.height}, wl, small.height, small, p.lower});
                if (p.stackKind != L'^' && !p.lower.isEmpty()) {
                    const double y = baseline + kStackBar * s.height;
                    out.bars.push_back({{x, y}, {x + t.width, y}, s.rgb});
                }
                open = false;
            } else if (open && out.runs.back().style == s) {
                // One run while the style goes on, so the font's kerning applies across it.
                Run& r = out.runs.back();
                r.text += t.text;
                r.width = advanceOf(r.text, s);
            } else {
                out.runs.push_back({{x, baseline}, t.width, s.height, s, t.text});
                open = true;
            }
            x += t.width;
        }
    }
    out.height = -baseline;
    const double shift = out.height * row / 2.0;
    for (Run& r : out.runs)
        r.origin.y += shift;
    for (Bar& b : out.bars) {
        b.from.y += shift;
        b.to.y += shift;
    }
    return out;
}

OdString plainText(const OdString& contents)
{
    std::wstring out;
    bool first = true;
    for (const Paragraph& p : parse(contents, Style())) {
        if (!first)
            out += L'\n';
        first = false;
        for (const Piece& piece : p)
            out += piece.stacked ? piece.upper.str() + L"/" + piece.lower.str() : piece.text.str();
    }
    return OdString(out);
}

} // namespace vantrel::mtext
