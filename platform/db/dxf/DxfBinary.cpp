// Binary DXF to ASCII: group codes of one byte (files before R13, 255 escaping a two-byte code)
// or two bytes, little-endian; strings and handles ended by a zero byte; numbers by the type of
// their code; binary chunks with a length byte.
#include "DxfBinary.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

#include <vantrel/db/OdError.h>

#include "dxf_values.h"

namespace vantrel {

namespace {

constexpr std::string_view kSentinelEnd = " Binary DXF\r\n\x1a";
constexpr std::size_t kSentinelEndAt = 7;
constexpr std::size_t kSentinelSize = 22;

class BinaryTags {
public:
    BinaryTags(std::string_view data, std::size_t at) : m_data(data), m_at(at) {}

    bool atEnd() const { return m_at >= m_data.size(); }
    std::size_t offset() const { return m_at; }

    template <typename T>
    T take()
    {
        need(sizeof(T));
        T value;
        std::memcpy(&value, m_data.data() + m_at, sizeof(T));
        m_at += sizeof(T);
        if constexpr (std::endian::native == std::endian::big)
            value = byteswap(value);
        return value;
    }

    std::string_view takeString()
    {
        const std::size_t end = m_data.find('\0', m_at);
        if (end == std::string_view::npos)
            fail("a text value is not ended");
        std::string_view s = m_data.substr(m_at, end - m_at);
        m_at = end + 1;
        return s;
    }

    std::string_view takeBytes(std::size_t n)
    {
        need(n);
        std::string_view s = m_data.substr(m_at, n);
        m_at += n;
        return s;
    }

    [[noreturn]] void fail(const std::string& problem) const
    {
        throw OdError(eBadDxfFile, "byte offset " + std::to_string(m_at) + ": " + problem);
    }

private:
    template <typename T>
    static T byteswap(T v)
    {
        unsigned char b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));
        for (std::size_t i = 0; i < sizeof(T) / 2; ++i)
            std::swap(b[i], b[sizeof(T) - 1 - i]);
        std::memcpy(&v, b, sizeof(T));
        return v;
    }
    void need(std::size_t n) const
    {
        if (m_data.size() - m_at < n)
            fail("the file ends inside a value");
    }

    std::string_view m_data;
    std::size_t m_at;
};

void appendNumber(std::string& out, auto value)
{
    char text[32];
    const auto r = std::to_chars(text, text + sizeof text, value);
    out.append(text, static_cast<std::size_t>(r.ptr - text));
}

void appendCode(std::string& out, int code)
{
    if (code < 10)
        out += "  ";
    else if (code < 100)
        out += ' ';
    appendNumber(out, code);
    out += '\n';
}

} // namespace

bool isBinaryDxf(std::string_view data)
{
    return data.size() >= kSentinelSize && data.substr(kSentinelEndAt).starts_with(kSentinelEnd);
}

std::string binaryDxfToText(std::string_view data, std::vector<std::size_t>& tagOffsets)
{
    // The first tag is 0 SECTION: its code takes one byte in old files, two in newer ones.
    const bool wideCodes = data.size() > kSentinelSize + 1 && data[kSentinelSize] == 0 && data[kSentinelSize + 1] == 0;
    BinaryTags in(data, kSentinelSize);
    std::string out;
    out.reserve(data.size() * 2);
    tagOffsets.clear();
    while (!in.atEnd()) {
        tagOffsets.push_back(in.offset());
        int code = wideCodes ? in.take<std::int16_t>() : in.take<std::uint8_t>();
        if (!wideCodes && code == 255)
            code = in.take<std::int16_t>();
        if (code < 0 || code > kMaxDxfGroupCode)
            in.fail("group code " + std::to_string(code) + " is outside the DXF range 0-"
                    + std::to_string(kMaxDxfGroupCode));
        appendCode(out, code);
        switch (dxfValueType(code)) {
        case DxfValueType::Double: appendNumber(out, in.take<double>()); break;
        case DxfValueType::Int16: appendNumber(out, in.take<std::int16_t>()); break;
        case DxfValueType::Int32: appendNumber(out, in.take<std::int32_t>()); break;
        case DxfValueType::Int64: appendNumber(out, in.take<std::int64_t>()); break;
        case DxfValueType::Bool: appendNumber(out, int(in.take<std::uint8_t>())); break;
        case DxfValueType::Binary: {
            static constexpr char kHex[] = "0123456789ABCDEF";
            for (char c : in.takeBytes(in.take<std::uint8_t>())) {
                const auto byte = static_cast<unsigned char>(c);
                out += kHex[byte >> 4];
                out += kHex[byte & 15];
            }
            break;
        }
        default:
            // Control characters, which ASCII lines cannot hold, as the ^-escapes ASCII files use.
            for (char c : in.takeString()) {
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += '^';
                    out += static_cast<char>(c + 64);
                } else {
                    out += c;
                }
            }
        }
        out += '\n';
        if (code == 0 && out.ends_with("\nEOF\n"))
            break;
    }
    return out;
}

} // namespace vantrel
