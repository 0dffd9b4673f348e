// Checked conversions of DXF value text: every refusal is one DxfError naming the line.
#include "dxf_values.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "DxfError.h"

namespace vantrel {

namespace {

[[noreturn]] void refuse(std::string_view text, int code, std::size_t line, const char* expectation)
{
    throw DxfError(line, "group code " + std::to_string(code) + " expects " + expectation + ", got " +
                             quoteDxfValue(text));
}

template <typename Int>
Int parseInteger(std::string_view text, int code, std::size_t line, const char* expectation)
{
    std::string_view s = trimDxfBlanks(text);
    if (s.size() > 1 && s.front() == '+' && s[1] != '-')
        s.remove_prefix(1);
    Int value{};
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc{} || end != s.data() + s.size())
        refuse(text, code, line, expectation);
    return value;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

double parseDxfDouble(std::string_view text, int code, std::size_t line)
{
    std::string_view s = trimDxfBlanks(text);
    if (s.size() > 1 && s.front() == '+' && s[1] != '-')
        s.remove_prefix(1);
    double value = 0;
    if (parsePlainDxfDecimal(s, value))
        return value; // at most 19 digits before the point: always finite and within 1e100
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (s.empty() || ec != std::errc{} || end != s.data() + s.size())
        refuse(text, code, line, "a number");
    if (!std::isfinite(value) || std::fabs(value) > 1e100)
        refuse(text, code, line, "a finite number of magnitude at most 1e100");
    return value;
}

std::int16_t parseDxfInt16(std::string_view text, int code, std::size_t line)
{
    return parseInteger<std::int16_t>(text, code, line, "an integer from -32768 to 32767");
}

std::int32_t parseDxfInt32(std::string_view text, int code, std::size_t line)
{
    return parseInteger<std::int32_t>(text, code, line, "a 32-bit integer");
}

std::int64_t parseDxfInt64(std::string_view text, int code, std::size_t line)
{
    return parseInteger<std::int64_t>(text, code, line, "a 64-bit integer");
}

bool parseDxfBool(std::string_view text, int code, std::size_t line)
{
    std::string_view s = trimDxfBlanks(text);
    if (s == "0")
        return false;
    if (s == "1")
        return true;
    refuse(text, code, line, "0 or 1");
}

std::uint64_t parseDxfHandle(std::string_view text, int code, std::size_t line)
{
    std::string_view s = trimDxfBlanks(text);
    if (s.empty() || s.size() > 16)
        refuse(text, code, line, "a handle of 1 to 16 hex digits");
    std::uint64_t value = 0;
    for (char c : s) {
        int d = hexDigit(c);
        if (d < 0)
            refuse(text, code, line, "a handle of 1 to 16 hex digits");
        value = value << 4 | static_cast<std::uint64_t>(d);
    }
    return value;
}

void checkDxfBinary(std::string_view text, int code, std::size_t line)
{
    std::string_view s = trimDxfBlanks(text);
    if (s.size() % 2 != 0)
        refuse(text, code, line, "an even number of hex digits");
    for (char c : s)
        if (hexDigit(c) < 0)
            refuse(text, code, line, "hex digits");
}

std::string_view checkedDxfValue(std::string_view text, int code, std::size_t line)
{
    switch (dxfValueType(code)) {
    case DxfValueType::Double: parseDxfDouble(text, code, line); break;
    case DxfValueType::Int16: parseDxfInt16(text, code, line); break;
    case DxfValueType::Int32: parseDxfInt32(text, code, line); break;
    case DxfValueType::Int64: parseDxfInt64(text, code, line); break;
    case DxfValueType::Bool: parseDxfBool(text, code, line); break;
    case DxfValueType::Handle: parseDxfHandle(text, code, line); break;
    case DxfValueType::Binary: checkDxfBinary(text, code, line); break;
    case DxfValueType::Unknown:
    case DxfValueType::String:
    case DxfValueType::Comment: return text;
    }
    return trimDxfBlanks(text);
}

std::string quoteDxfValue(std::string_view text)
{
    constexpr std::size_t kShown = 40;
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c >= 0x7f) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    out += text.size() > kShown ? "\"..." : "\"";
    return out;
}

} // namespace vantrel
