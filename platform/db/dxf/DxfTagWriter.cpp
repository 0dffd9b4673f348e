// DXF tag formatting straight into one buffer: numbers as to_chars writes them, no streams, so
// that a large drawing is written about as fast as the bytes can be produced.
#include "DxfTagWriter.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include <vantrel/db/OdError.h>
#include <vantrel/db/decimal_digits.h>

#include "DxfTagList.h"

namespace vantrel {

namespace {

bool needsEscapes(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == '^')
            return true;
    return false;
}

} // namespace

// Coordinates of drawings are mostly whole numbers or have a few decimals. For those the
// shortest text is the digits of value * 10^k, rounded, for the least k whose digits read back
// to value; checking that reading is one exact division (digits below 2^53 and a power of ten
// up to 10^22 are exact doubles, so the division rounds once, as reading does). While half an
// ulp of value * 10^k is at most 1/8, no k-decimal text but the rounded one can read back to
// value, so the text found is the shortest, the one to_chars writes. The fixed form is kept
// only where to_chars keeps it (not longer than the exponent form); the rest is left to it.
char* formatShortDecimal(char* out, double value)
{
    constexpr int kMaxDecimals = 4;
    constexpr double kPow10[kMaxDecimals + 1] = {1e0, 1e1, 1e2, 1e3, 1e4};
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-3 && magnitude < 1e15))
        return nullptr;
    const auto biasedExponent = std::bit_cast<std::uint64_t>(magnitude) >> 52;
    const double halfUlp = std::bit_cast<double>((biasedExponent - 53) << 52);
    // A value that one of these texts reads back to lies within half an ulp of it, so value *
    // 10^4 lies within 10^4 half ulps of a whole number, and its rounded product within 2^14
    // more: a product farther than that from every whole number (as a coordinate of 17 digits
    // is) rules them all out without trying each with a division.
    const double product = magnitude * kPow10[kMaxDecimals];
    const double reach = halfUlp * (1e4 + 0x1p14);
    if (product < 0x1p51 && reach < 0.25 && std::fabs(product - ((product + 0x1p52) - 0x1p52)) > reach)
        return nullptr;
    int decimals = 0;
    double digits = 0;
    for (;; ++decimals) {
        if (decimals > kMaxDecimals || halfUlp * kPow10[decimals] > 0.125)
            return nullptr;
        // Rounded to the nearest integer without a library call: below 2^51, adding 2^52 leaves
        // no fraction bits, and taking it away again is exact.
        digits = (magnitude * kPow10[decimals] + 0x1p52) - 0x1p52;
        if (digits / kPow10[decimals] == magnitude)
            break;
    }
    char text[24];
    const auto whole = static_cast<std::uint64_t>(digits);
    char* const textEnd = std::to_chars(text, text + sizeof text, whole).ptr;
    const int count = static_cast<int>(textEnd - text);
    int significant = count;
    if (decimals == 0)
        while (text[significant - 1] == '0')
            --significant;
    const int exponent = count - 1 - decimals;
    const int exponentDigits = exponent <= -100 || exponent >= 100 ? 3 : 2;
    const int scientificLength = significant + (significant > 1 ? 1 : 0) + 2 + exponentDigits;
    const int fixedLength = decimals == 0 ? count : count > decimals ? count + 1 : decimals + 2;
    if (fixedLength > scientificLength)
        return nullptr;

    if (value < 0)
        *out++ = '-';
    if (count > decimals) {
        std::memcpy(out, text, static_cast<std::size_t>(count - decimals));
        out += count - decimals;
    } else {
        *out++ = '0';
    }
    if (decimals > 0) {
        *out++ = '.';
        for (int i = count; i < decimals; ++i)
            *out++ = '0';
        const int fraction = std::min(count, decimals);
        std::memcpy(out, textEnd - fraction, static_cast<std::size_t>(fraction));
        out += fraction;
    }
    return out;
}

DxfTagWriter::DxfTagWriter(std::size_t reserveBytes) : m_buffer(reserveBytes, 0) {}

// value as to_chars writes it, from its shortest digits: the fixed form unless the exponent form
// is shorter. Magnitudes from 2^53 up, of which to_chars may write a whole number's exact digits
// in the fixed form, and zero are left to it.
char* formatShortest(char* out, double value)
{
    const double magnitude = std::fabs(value);
    if (!(magnitude > 0 && magnitude < 0x1p53)) {
        auto [end, ec] = std::to_chars(out, out + kNumberChars, value);
        assert(ec == std::errc{});
        return end;
    }
    const DecimalDigits shortest = shortestDigits(magnitude);
    const int count = shortest.count;
    const int point = shortest.point; // at most 16, below 2^53
    const int power = point - 1;
    const int scientificLength = count + (count > 1 ? 1 : 0) + 2 + (power <= -100 ? 3 : 2);
    const int fixedLength = point <= 0 ? 2 - point + count : point >= count ? point : count + 1;
    // (Written in place: a copy of text put together elsewhere would wait for its stores.)
    static_assert(1 + DecimalDigits::kFixedRoom <= kNumberChars, "a sign and the longest fixed form");
    *out = '-';
    out += value < 0;
    return fixedLength <= scientificLength ? shortest.fixed(out) : shortest.scientific(out);
}

char* formatDxfDouble(char* out, double value)
{
    char* end = formatShortDecimal(out, value);
    if (!end)
        end = formatShortest(out, value);
    // Only a whole number's text can lack both a point and an exponent: the text of any other
    // value is not looked at. (Doubles from 2^52 up are all whole.)
    const bool whole = std::fabs(value) >= 0x1p52 || static_cast<double>(static_cast<std::int64_t>(value)) == value;
    if (whole && std::find(out, end, 'e') == end) {
        *end++ = '.';
        *end++ = '0';
    }
    return end;
}

DxfTagWriter::DxfTagWriter(Sink sink, std::size_t bufferBytes) : DxfTagWriter(bufferBytes) { m_sink = std::move(sink); }

// As many numbers as would fill the buffer once printed.
DxfTagWriter::DxfTagWriter(NumberSink sink, std::size_t bufferBytes)
    : m_buffer(bufferBytes, bufferBytes / kNumberChars + 1), m_numberSink(std::move(sink))
{
}

void DxfTagWriter::flush()
{
    if (m_numberSink && !m_buffer.empty()) {
        m_printHere = m_numberSink(m_buffer);
        m_buffer.clear();
    } else if (m_sink && m_buffer.size > 0) {
        m_sink(text());
        m_buffer.clear();
    }
}

void DxfTagWriter::grow(std::size_t n)
{
    flush();
    if (m_buffer.textRoom - m_buffer.size >= n)
        return;
    NumberedText larger(std::max(m_buffer.textRoom * 2, m_buffer.size + n), m_buffer.numberRoom);
    larger.append(m_buffer);
    m_buffer = std::move(larger);
}

void DxfTagWriter::writeCode(int code)
{
    assert(code >= 0 && code <= 9999);
    char* p = reserve(6);
    if (code < 1000) {
        p[0] = code >= 100 ? static_cast<char>('0' + code / 100) : ' ';
        p[1] = code >= 10 ? static_cast<char>('0' + code / 10 % 10) : ' ';
        p[2] = static_cast<char>('0' + code % 10);
        p[3] = '\n';
        m_buffer.size += 4;
    } else {
        p[0] = static_cast<char>('0' + code / 1000);
        p[1] = static_cast<char>('0' + code / 100 % 10);
        p[2] = static_cast<char>('0' + code / 10 % 10);
        p[3] = static_cast<char>('0' + code % 10);
        p[4] = '\n';
        m_buffer.size += 5;
    }
}

void DxfTagWriter::writeLine(std::string_view text)
{
    char* p = reserve(text.size() + 1);
    if (!text.empty())
        std::memcpy(p, text.data(), text.size());
    p[text.size()] = '\n';
    m_buffer.size += text.size() + 1;
}

void DxfTagWriter::writeString(int code, std::string_view utf8)
{
    writeCode(code);
    if (!needsEscapes(utf8)) {
        writeLine(utf8);
        return;
    }
    std::string escaped;
    escaped.reserve(utf8.size() + 8);
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        char c = utf8[i];
        if (static_cast<unsigned char>(c) < 0x20) {
            escaped += '^';
            escaped += static_cast<char>(c + '@');
        } else if (c == '^' && i + 1 < utf8.size()
                   && (utf8[i + 1] == ' ' || (utf8[i + 1] >= '@' && utf8[i + 1] <= '_'))) {
            escaped += "^ ";
        } else {
            escaped += c;
        }
    }
    writeLine(escaped);
}

void DxfTagWriter::writeDouble(int code, double value)
{
    if (!std::isfinite(value))
        throw OdError(eInvalidInput,
                      "cannot write the non-finite number " + std::to_string(value) + " under DXF group code "
                          + std::to_string(code));
    writeCode(code);
    if (m_numberSink && !m_printHere) {
        if (m_buffer.count == m_buffer.numberRoom)
            flush();
        m_buffer.numbers[m_buffer.count++] = {m_buffer.size, formatDxfDouble, value};
        writeLine({});
        return;
    }
    char* p = reserve(kNumberChars + 1);
    char* end = formatDxfDouble(p, value);
    *end++ = '\n';
    m_buffer.size += static_cast<std::size_t>(end - p);
}

void DxfTagWriter::writeInt(int code, std::int64_t value)
{
    writeCode(code);
    char* p = reserve(24);
    auto [end, ec] = std::to_chars(p, p + 22, value);
    assert(ec == std::errc{});
    *end++ = '\n';
    m_buffer.size += static_cast<std::size_t>(end - p);
}

void DxfTagWriter::writeHandle(int code, std::uint64_t handle)
{
    writeCode(code);
    char* p = reserve(18);
    auto [end, ec] = std::to_chars(p, p + 16, handle, 16);
    assert(ec == std::errc{});
    for (char* q = p; q < end; ++q)
        if (*q >= 'a')
            *q = static_cast<char>(*q - 'a' + 'A');
    *end++ = '\n';
    m_buffer.size += static_cast<std::size_t>(end - p);
}

void DxfTagWriter::writePoint(int code, double x, double y, double z)
{
    writeDouble(code, x);
    writeDouble(code + 10, y);
    writeDouble(code + 20, z);
}

void DxfTagWriter::writePoint(int code, double x, double y)
{
    writeDouble(code, x);
    writeDouble(code + 10, y);
}

void DxfTagWriter::writeRaw(int code, std::string_view text)
{
    if (text.find('\n') != std::string_view::npos)
        throw OdError(eInvalidInput, "a DXF value under group code " + std::to_string(code) + " holds a line break");
    writeCode(code);
    writeLine(text);
}

void DxfTagWriter::writeTags(const DxfTagList& tags)
{
    for (DxfTagList::Tag t : tags)
        writeRaw(t.code, t.value);
}

} // namespace vantrel
