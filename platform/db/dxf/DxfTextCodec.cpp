// Conversion of DXF string values to UTF-8: ANSI_1252 by table (the common case, and available
// without iconv), other code pages through glibc's iconv, UTF-8 checked byte by byte.
#include "DxfTextCodec.h"

#include "dxf_values.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <cstdint>

#include <vantrel/db/OdString.h>

namespace vantrel {

namespace {

constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t cp1252ToUnicode(unsigned char c) { return c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c; }

bool isAscii(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// Length of the valid UTF-8 sequence at s[i], or 0 when the bytes there are not one.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i)
{
    auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    auto cont = [&](std::size_t k) { return i + k < s.size() && (b(k) & 0xC0) == 0x80; };
    unsigned char c = b(0);
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return cont(1) ? 2 : 0;
    if (c >= 0xE0 && c <= 0xEF) {
        if (!cont(1) || !cont(2))
            return 0;
        if ((c == 0xE0 && b(1) < 0xA0) || (c == 0xED && b(1) >= 0xA0)) // overlong, surrogate
            return 0;
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3))
            return 0;
        if ((c == 0xF0 && b(1) < 0x90) || (c == 0xF4 && b(1) >= 0x90)) // overlong, > U+10FFFF
            return 0;
        return 4;
    }
    return 0;
}

std::string upper(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// The iconv name of a $DWGCODEPAGE value.
std::string iconvName(std::string_view dwgcodepage)
{
    std::string name = upper(dwgcodepage);
    for (std::string_view prefix : {"ANSI_", "DOS"})
        if (name.starts_with(prefix))
            return "CP" + name.substr(prefix.size());
    if (name.starts_with("ISO8859-"))
        return "ISO-8859-" + name.substr(8);
    return name;
}

// The four hex digits of a \U+XXXX escape at s[i], or -1.
long unicodeEscapeAt(std::string_view s, std::size_t i)
{
    if (i + 7 > s.size() || s[i] != '\\' || (s[i + 1] != 'U' && s[i + 1] != 'u') || s[i + 2] != '+')
        return -1;
    unsigned value = 0;
    auto [end, ec] = std::from_chars(s.data() + i + 3, s.data() + i + 7, value, 16);
    if (ec != std::errc{} || end != s.data() + i + 7)
        return -1;
    return static_cast<long>(value);
}

std::string decodeEscapes(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char c = s[i];
        if (c == '^' && i + 1 < s.size()) {
            char n = s[i + 1];
            if (n == ' ') {
                out += '^';
                i += 2;
                continue;
            }
            if (n >= '@' && n <= '_') {
                out += static_cast<char>(n - '@');
                i += 2;
                continue;
            }
        } else if (c == '\\') {
            long cp = unicodeEscapeAt(s, i);
            if (cp >= 0xD800 && cp <= 0xDBFF) {
                long low = unicodeEscapeAt(s, i + 7);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    OdString::appendUtf8(out, static_cast<char32_t>(0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00)));
                    i += 14;
                    continue;
                }
            } else if (cp > 0 && !(cp >= 0xDC00 && cp <= 0xDFFF)) {
                OdString::appendUtf8(out, static_cast<char32_t>(cp));
                i += 7;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

} // namespace

struct DxfTextCodec::Iconv {
    iconv_t handle;
    explicit Iconv(iconv_t h) : handle(h) {}
    ~Iconv() { iconv_close(handle); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
};

DxfTextCodec::DxfTextCodec() = default;
DxfTextCodec::~DxfTextCodec() = default;
DxfTextCodec::DxfTextCodec(DxfTextCodec&&) noexcept = default;
DxfTextCodec& DxfTextCodec::operator=(DxfTextCodec&&) noexcept = default;

void DxfTextCodec::setVersion(std::string_view acadver) { m_utf8 = dxfVersionNumber(acadver) >= 1021; }

void DxfTextCodec::setCodePage(std::string_view dwgcodepage)
{
    std::string name = iconvName(dwgcodepage);
    m_iconv.reset();
    m_codePageKnown = true;
    if (name == "CP1252")
        return;
    iconv_t h = iconv_open("UTF-8", name.c_str());
    if (reinterpret_cast<std::intptr_t>(h) == -1) { // iconv_open's failure
        m_codePageKnown = false;
        return;
    }
    m_iconv = std::make_unique<Iconv>(h);
}

void DxfTextCodec::convertAppend(std::string_view raw, std::string& out) const
{
    if (isAscii(raw)) {
        out += raw;
        return;
    }
    if (m_utf8 || !m_iconv) {
        for (std::size_t i = 0; i < raw.size();) {
            std::size_t n = m_utf8 ? utf8SequenceLength(raw, i) : 0;
            if (n > 0) {
                out.append(raw, i, n);
                i += n;
            } else {
                OdString::appendUtf8(out, cp1252ToUnicode(static_cast<unsigned char>(raw[i])));
                ++i;
            }
        }
        return;
    }
    iconv(m_iconv->handle, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(raw.data()); // iconv's signature; the input is not written
    std::size_t inLeft = raw.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t r = iconv(m_iconv->handle, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A byte that is not text in this code page: shown as U+FFFD, and reading goes on.
            OdString::appendUtf8(out, 0xFFFD);
            ++in;
            --inLeft;
            iconv(m_iconv->handle, nullptr, nullptr, nullptr, nullptr);
        }
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(m_iconv->handle, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
}

std::string DxfTextCodec::toUtf8(std::string_view raw) const
{
    std::string out;
    convertAppend(raw, out);
    return out;
}

std::string_view DxfTextCodec::decode(std::string_view raw, std::string& scratch) const
{
    bool plain = true;
    for (char c : raw)
        plain = plain && static_cast<unsigned char>(c) < 0x80 && c != '^' && c != '\\';
    if (plain)
        return raw;
    scratch = decode(raw);
    return scratch;
}

std::string DxfTextCodec::decode(std::string_view raw) const
{
    std::string text;
    convertAppend(raw, text);
    if (text.find_first_of("^\\") == std::string::npos)
        return text;
    return decodeEscapes(text);
}

} // namespace vantrel
