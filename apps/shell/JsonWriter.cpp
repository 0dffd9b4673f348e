// The writer's layout and escapes follow nlohmann's serializer, so the text is that of a
// document built whole and dumped, but for points on one line; numbers are the shortest digits
// that read back as the same double, laid out as that library lays out its own.
#include "JsonWriter.h"

#include <array>
#include <bit>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <nlohmann/json.hpp>

#include <vantrel/db/decimal_digits.h>

namespace vantrel {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101;
constexpr std::uint64_t kHighs = 0x8080808080808080;

// Whether eight characters are all printable ASCII that JSON takes as it is. Each test sets the
// high bit of some byte exactly when a byte is what it looks for: one below a space, one above
// '~', a '"', a backslash.
bool plainWord(std::uint64_t w)
{
    const std::uint64_t control = (w - kOnes * 0x20) & ~w & kHighs;
    const std::uint64_t beyond = ((w + kOnes) | w) & kHighs;
    const std::uint64_t quote = w ^ (kOnes * '"');
    const std::uint64_t backslash = w ^ (kOnes * '\\');
    const std::uint64_t quotes = (quote - kOnes) & ~quote & kHighs;
    const std::uint64_t backslashes = (backslash - kOnes) & ~backslash & kHighs;
    return (control | beyond | quotes | backslashes) == 0;
}

template <class Word>
std::uint64_t load(const char* at)
{
    Word w;
    std::memcpy(&w, at, sizeof w);
    return w;
}

// Printable ASCII that JSON takes as it is, looked at eight characters at a time. Shorter texts
// and the end of longer ones are read as words that overlap; what a short text does not fill is
// a plain letter.
bool plain(std::string_view s)
{
    const char* p = s.data();
    const std::size_t n = s.size();
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 <= n; i += 8)
            if (!plainWord(load<std::uint64_t>(p + i)))
                return false;
        return plainWord(load<std::uint64_t>(p + n - 8));
    }
    constexpr std::uint64_t kLetters = kOnes * 'a';
    std::uint64_t w = kLetters;
    if (n >= 4)
        w = load<std::uint32_t>(p) | load<std::uint32_t>(p + n - 4) << 32;
    else if (n >= 2)
        w = (kLetters << 32) | load<std::uint16_t>(p) | load<std::uint16_t>(p + n - 2) << 16;
    else if (n == 1)
        w = (kLetters & ~std::uint64_t{0xFF}) | static_cast<unsigned char>(p[0]);
    return plainWord(w);
}

// A finite magnitude above zero: its shortest digits, written without an exponent from 1e-4 up
// to below 1e15, with ".0" after whole numbers, else as "d.ddde+XX" with at least two exponent
// digits.
char* magnitudeText(char* t, double magnitude)
{
    const DecimalDigits shortest = shortestDigits(magnitude);
    constexpr int kLastWholeDigit = 15;
    if (shortest.count <= shortest.point && shortest.point <= kLastWholeDigit) {
        t = shortest.fixed(t);
        std::memcpy(t, ".0", 2);
        return t + 2;
    }
    if (-4 < shortest.point && shortest.point <= kLastWholeDigit)
        return shortest.fixed(t);
    return shortest.scientific(t);
}

// The texts of magnitudes printed lately on this thread, by their bits. A drawing repeats many
// numbers (1.0, widths, text heights, the bulge of a quarter circle), whose digits are then
// copied instead of being searched for again; a number met once only takes a slot.
struct PrintedMagnitude {
    std::uint64_t bits = 0; // none: zero is never looked up
    std::array<char, 24> text;
    std::size_t size;
};
// Seventeen digits, a point and up to four zeros before them, or an exponent of three digits.
constexpr std::size_t kLongestMagnitude = 23;
static_assert(kLongestMagnitude <= std::tuple_size_v<decltype(PrintedMagnitude::text)>);
thread_local std::array<PrintedMagnitude, 256> t_printed;

// A finite number's text: its sign, then its magnitude's, "0.0" for zero. Written in place: a
// copy of text put together elsewhere would wait for its stores.
char* numberText(char* out, double value)
{
    static_assert(1 + DecimalDigits::kFixedRoom <= kNumberChars, "a sign and the longest fixed form");
    char* t = out;
    if (std::signbit(value))
        *t++ = '-';
    if (value == 0) {
        std::memcpy(t, "0.0", 3);
        return t + 3;
    }
    const double magnitude = std::fabs(value);
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    // (The golden ratio's multiple spreads bits that differ only low down over the slots.)
    PrintedMagnitude& printed = t_printed[(bits * 0x9E3779B97F4A7C15) >> 56];
    if (printed.bits == bits) {
        std::memcpy(t, printed.text.data(), printed.text.size());
        return t + printed.size;
    }
    char* end = magnitudeText(t, magnitude);
    printed.size = static_cast<std::size_t>(end - t);
    assert(printed.size <= kLongestMagnitude);
    // (The room of a number's text covers the whole slot, whatever the text's own length.)
    std::memcpy(printed.text.data(), t, printed.text.size());
    printed.bits = bits;
    return end;
}

// A comma, a line end and indentation, of which each line takes what it needs.
constexpr std::string_view kLines
    = ",\n                                                                                "
      "                                                                                ";
// Lines up to this long (a comma, the line end and 31 levels of indentation) are copied whole.
constexpr std::size_t kShortLine = 64;
static_assert(kShortLine + 1 <= kLines.size());
// Keys up to this long are put with their line at once.
constexpr std::size_t kShortKey = 32;

// A short line (a comma when asked, the line end, the indentation of depth) at at, by one copy of
// fixed length of which the line's own characters are kept; answers the end of the line. at
// must have room for kShortLine characters.
char* shortLine(char* at, bool comma, std::size_t depth)
{
    const std::size_t start = comma ? 0 : 1;
    std::memcpy(at, kLines.data() + start, kShortLine);
    return at + 2 - start + 2 * depth;
}

} // namespace

// A separator, a line end and the indentation of a depth: one piece of text for the depths a
// drawing has, so that each element costs one copy.
void JsonWriter::newLine(bool comma, std::size_t depth)
{
    if (2 + 2 * depth <= kShortLine) {
        m_out.advance(shortLine(m_out.room(kShortLine), comma, depth));
        return;
    }
    const std::size_t start = comma ? 0 : 1;
    m_out.append(kLines.substr(start, 2 - start));
    for (std::size_t n = 2 * depth; n > 0;) {
        const std::size_t piece = std::min(n, kLines.size() - 2);
        m_out.append(kLines.substr(2, piece));
        n -= piece;
    }
}

void JsonWriter::element()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_filled.empty())
        return;
    newLine(m_filled.back() != 0, m_filled.size());
    m_filled.back() = 1;
}

void JsonWriter::end(char close)
{
    assert(!m_filled.empty() && !m_afterKey);
    const bool filled = m_filled.back() != 0;
    m_filled.pop_back();
    if (filled)
        newLine(false, m_filled.size());
    m_out.append(close);
}

void JsonWriter::beginObject()
{
    element();
    m_out.append('{');
    m_filled.push_back(0);
}

void JsonWriter::endObject() { end('}'); }

void JsonWriter::beginArray()
{
    element();
    m_out.append('[');
    m_filled.push_back(0);
}

void JsonWriter::endArray() { end(']'); }

void JsonWriter::key(std::string_view utf8)
{
    if (!plain(utf8) || !shortKey(utf8))
        longKey(utf8);
}

void JsonWriter::name(std::string_view ascii)
{
    assert(plain(ascii));
    if (!shortKey(ascii))
        longKey(ascii);
}

void JsonWriter::longKey(std::string_view utf8)
{
    element();
    string(utf8);
    m_out.append(": ");
    m_afterKey = true;
}

bool JsonWriter::shortKey(std::string_view ascii)
{
    assert(!m_filled.empty() && !m_afterKey);
    const std::size_t depth = m_filled.size();
    if (ascii.size() > kShortKey || 2 + 2 * depth > kShortLine)
        return false;
    char* at = shortLine(m_out.room(kShortLine + kShortKey + 4), m_filled.back() != 0, depth);
    *at++ = '"';
    std::memcpy(at, ascii.data(), ascii.size());
    at += ascii.size();
    std::memcpy(at, "\": ", 3);
    m_out.advance(at + 3);
    m_filled.back() = 1;
    m_afterKey = true;
    return true;
}

void JsonWriter::value(std::string_view utf8)
{
    element();
    string(utf8);
}

void JsonWriter::value(double v)
{
    element();
    number(v);
}

void JsonWriter::number(double v)
{
    if (std::isfinite(v))
        m_out.number(v, numberText);
    else
        m_out.append("null");
}

// (Points are most of a drawing's arrays: on one line, they take a fifth less text, and their
// elements need no record of the array's own.)
void JsonWriter::numbers(std::span<const double> values)
{
    if (values.empty()) {
        beginArray();
        endArray();
        return;
    }
    element();
    m_out.append('[');
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            m_out.append(", ");
        number(values[i]);
    }
    m_out.append(']');
}

void JsonWriter::value(std::int64_t v)
{
    element();
    char* at = m_out.room(24);
    m_out.advance(std::to_chars(at, at + 24, v).ptr);
}

void JsonWriter::value(bool v)
{
    element();
    m_out.append(v ? "true" : "false");
}

void JsonWriter::null()
{
    element();
    m_out.append("null");
}

void JsonWriter::string(std::string_view utf8)
{
    if (plain(utf8)) {
        if (utf8.size() <= 62) {
            char* at = m_out.room(utf8.size() + 2);
            at[0] = '"';
            std::memcpy(at + 1, utf8.data(), utf8.size());
            at[utf8.size() + 1] = '"';
            m_out.advance(at + utf8.size() + 2);
            return;
        }
        m_out.append('"');
        m_out.append(utf8);
        m_out.append('"');
        return;
    }
    // Escapes, and the replacement of broken UTF-8, exactly as the library writes them.
    m_out.append(nlohmann::ordered_json(std::string(utf8))
                     .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

} // namespace vantrel
