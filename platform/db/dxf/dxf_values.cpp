// Checked conversions of DXF value text: every refusal is one DxfError naming the line.
#include "dxf_values.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "DxfError.h"

namespace vantrel {

namespace {

[[noreturn]] void refuse(std::string_view text, int code, std::size_t line, const char* expectation)
{
    throw DxfError(line,
                   "group code " + std::to_string(code) + " expects " + expectation + ", got " + quoteDxfValue(text));
}

std::string_view withoutPlus(std::string_view s)
{
    if (s.size() > 1 && s.front() == '+' && s[1] != '-')
        s.remove_prefix(1);
    return s;
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

template <typename Int>
Int parseInteger(std::string_view text, int code, std::size_t line, const char* expectation)
{
    Int value{};
    if (!tryParseDxfInteger(text, value))
        refuse(text, code, line, expectation);
    return value;
}

// Any finite number of the general form, of text already trimmed.
bool parseGeneralDouble(std::string_view s, double& out)
{
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out, std::chars_format::general);
    return !s.empty() && ec == std::errc{} && end == s.data() + s.size() && std::isfinite(out);
}

// 10^-q for q from 19 down to 0, scaled by a power of two to 128 bits with the top bit set and
// rounded up (a power of five of its own is exact): high and low halves.
constexpr std::uint64_t kTenths[20][2] = {
    {0xec1e4a7db69561a5u, 0x2b31e9e3d06c32e6u}, // 10^-19
    {0x9392ee8e921d5d07u, 0x3aff322e62439fd0u}, // 10^-18
    {0xb877aa3236a4b449u, 0x09befeb9fad487c3u}, // 10^-17
    {0xe69594bec44de15bu, 0x4c2ebe687989a9b4u}, // 10^-16
    {0x901d7cf73ab0acd9u, 0x0f9d37014bf60a11u}, // 10^-15
    {0xb424dc35095cd80fu, 0x538484c19ef38c95u}, // 10^-14
    {0xe12e13424bb40e13u, 0x2865a5f206b06fbau}, // 10^-13
    {0x8cbccc096f5088cbu, 0xf93f87b7442e45d4u}, // 10^-12
    {0xafebff0bcb24aafeu, 0xf78f69a51539d749u}, // 10^-11
    {0xdbe6fecebdedd5beu, 0xb573440e5a884d1cu}, // 10^-10
    {0x89705f4136b4a597u, 0x31680a88f8953031u}, // 10^-9
    {0xabcc77118461cefcu, 0xfdc20d2b36ba7c3eu}, // 10^-8
    {0xd6bf94d5e57a42bcu, 0x3d32907604691b4du}, // 10^-7
    {0x8637bd05af6c69b5u, 0xa63f9a49c2c1b110u}, // 10^-6
    {0xa7c5ac471b478423u, 0x0fcf80dc33721d54u}, // 10^-5
    {0xd1b71758e219652bu, 0xd3c36113404ea4a9u}, // 10^-4
    {0x83126e978d4fdf3bu, 0x645a1cac083126eau}, // 10^-3
    {0xa3d70a3d70a3d70au, 0x3d70a3d70a3d70a4u}, // 10^-2
    {0xccccccccccccccccu, 0xcccccccccccccccdu}, // 10^-1
    {0x8000000000000000u, 0x0000000000000000u}, // 10^0
};

} // namespace

bool longDecimalToDouble(std::uint64_t digits, int decimals, double& out)
{
    __extension__ using Wide = unsigned __int128;
    if (digits == 0 || decimals < 0 || decimals > 19)
        return false;
    const int q = -decimals;
    const int shift = std::countl_zero(digits);
    const std::uint64_t w = digits << shift;
    const std::uint64_t* const power = kTenths[19 - decimals];
    // The product's top 55 bits (the 53 of a double, one to round by, and one the product may
    // lack) come from the high half of the power unless the bits below them are all ones, when a
    // carry from the low half may still reach them.
    Wide product = Wide(w) * power[0];
    auto high = static_cast<std::uint64_t>(product >> 64);
    auto low = static_cast<std::uint64_t>(product);
    constexpr std::uint64_t kBelow = ~std::uint64_t(0) >> 55;
    if ((high & kBelow) == kBelow) {
        const auto carry = static_cast<std::uint64_t>((Wide(w) * power[1]) >> 64);
        low += carry;
        high += low < carry;
    }
    const int upper = static_cast<int>(high >> 63);
    std::uint64_t mantissa = high >> (upper + 9);
    // floor(log2(10^q)) + 63 gives the binary exponent of the power, biased below.
    const int exponent = (((152170 + 65536) * q) >> 16) + 63 + upper - shift + 1023;
    if (exponent <= 0)
        return false;
    // Exactly half way between two doubles: the product says so only where 10^q is exact
    // enough (q of -4 and above), and the even one is taken.
    if (low <= 1 && q >= -4 && (mantissa & 3) == 1 && (mantissa << (upper + 9)) == high)
        mantissa &= ~std::uint64_t(1);
    mantissa += mantissa & 1;
    mantissa >>= 1;
    int biased = exponent;
    if (mantissa >= (std::uint64_t(2) << 52)) {
        mantissa = std::uint64_t(1) << 52;
        ++biased;
    }
    mantissa &= ~(std::uint64_t(1) << 52);
    out = std::bit_cast<double>(mantissa | (static_cast<std::uint64_t>(biased) << 52));
    return true;
}

bool tryParseDxfDouble(std::string_view text, double& out)
{
    const std::string_view s = withoutPlus(trimDxfBlanks(text));
    return parsePlainDxfDecimal(s, out) || parseGeneralDouble(s, out);
}

double parseDxfDoubleNotPlain(std::string_view text, int code, std::size_t line)
{
    const std::string_view s = withoutPlus(trimDxfBlanks(text));
    double value = 0;
    // Only text that blanks or a sign kept from the plain reading is worth trying on it again.
    if ((s.size() != text.size() && parsePlainDxfDecimal(s, value)) || parseGeneralDouble(s, value))
        return value;
    refuse(text, code, line, "a finite number");
}

template <typename Int>
bool tryParseDxfInteger(std::string_view text, Int& out)
{
    const std::string_view s = withoutPlus(trimDxfBlanks(text));
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc{} && end == s.data() + s.size();
}

template bool tryParseDxfInteger(std::string_view, std::int16_t&);
template bool tryParseDxfInteger(std::string_view, std::int32_t&);
template bool tryParseDxfInteger(std::string_view, std::int64_t&);

bool tryParseDxfHandle(std::string_view text, std::uint64_t& out)
{
    const std::string_view s = trimDxfBlanks(text);
    if (s.empty() || s.size() > 16)
        return false;
    std::uint64_t value = 0;
    for (char c : s) {
        const int d = hexDigit(c);
        if (d < 0)
            return false;
        value = value << 4 | static_cast<std::uint64_t>(d);
    }
    out = value;
    return true;
}

bool isDxfBinary(std::string_view text)
{
    const std::string_view s = trimDxfBlanks(text);
    if (s.size() % 2 != 0)
        return false;
    for (char c : s)
        if (hexDigit(c) < 0)
            return false;
    return true;
}

bool isDxfValueOf(std::string_view text, DxfValueType type)
{
    double d;
    std::int16_t i16;
    std::int32_t i32;
    std::int64_t i64;
    std::uint64_t h;
    switch (type) {
    case DxfValueType::Double: return tryParseDxfDouble(text, d);
    case DxfValueType::Int16: return tryParseDxfInteger(text, i16);
    case DxfValueType::Int32: return tryParseDxfInteger(text, i32);
    case DxfValueType::Int64: return tryParseDxfInteger(text, i64);
    case DxfValueType::Bool: return trimDxfBlanks(text) == "0" || trimDxfBlanks(text) == "1";
    case DxfValueType::Handle: return tryParseDxfHandle(text, h);
    case DxfValueType::Binary: return isDxfBinary(text);
    case DxfValueType::Unknown:
    case DxfValueType::String:
    case DxfValueType::Comment: return true;
    }
    return true;
}

double parseDxfDouble(std::string_view text, int code, std::size_t line)
{
    double value = 0;
    if (!tryParseDxfDouble(text, value))
        refuse(text, code, line, "a finite number");
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
    const std::string_view s = trimDxfBlanks(text);
    if (s == "0")
        return false;
    if (s == "1")
        return true;
    refuse(text, code, line, "0 or 1");
}

std::uint64_t parseDxfHandle(std::string_view text, int code, std::size_t line)
{
    std::uint64_t value = 0;
    if (!tryParseDxfHandle(text, value))
        refuse(text, code, line, "a handle of 1 to 16 hex digits");
    return value;
}

void checkDxfBinary(std::string_view text, int code, std::size_t line)
{
    if (!isDxfBinary(text))
        refuse(text, code, line, "an even number of hex digits");
}

double stableDegrees(double radians)
{
    // The degree values that the reader turns into these very radians lie next to each other
    // about the exact conversion (the conversion only grows with its argument); of them the one
    // of the shortest text, which is the one a file or a user gave.
    const double degrees = radians * 180.0 / std::numbers::pi;
    if (!std::isfinite(degrees) || radians == 0.0)
        return degrees;
    // The next double up or down; d is finite and not zero, and so are its neighbours here.
    auto step = [](double d, int direction) {
        const auto bits = std::bit_cast<std::int64_t>(d);
        return std::bit_cast<double>(bits + ((d > 0) == (direction > 0) ? 1 : -1));
    };
    auto reads = [](double d) { return dxfDegreesToRadians(d); };
    // The first candidate that reads back exactly, walking from the exact conversion towards it.
    double first = degrees;
    for (int i = 0; i < 8 && reads(first) != radians; ++i)
        first = step(first, reads(first) < radians ? 1 : -1);
    if (reads(first) != radians)
        return degrees;
    double low = first;
    double high = first;
    for (double d = step(low, -1); reads(d) == radians && first - d < 8 * (first - step(first, -1)); d = step(d, -1))
        low = d;
    for (double d = step(high, 1); reads(d) == radians && d - first < 8 * (step(first, 1) - first); d = step(d, 1))
        high = d;
    if (low == high)
        return first;
    double best = first;
    std::size_t bestLength = SIZE_MAX;
    for (double d = low;; d = step(d, 1)) {
        char text[32];
        const auto length = static_cast<std::size_t>(std::to_chars(text, text + sizeof text, d).ptr - text);
        if (length < bestLength || (length == bestLength && std::fabs(d - degrees) < std::fabs(best - degrees))) {
            best = d;
            bestLength = length;
        }
        if (d == high)
            break;
    }
    return best;
}

int dxfVersionNumber(std::string_view acadver)
{
    int number = 0;
    acadver = trimDxfBlanks(acadver);
    if (acadver.size() > 2 && (acadver.starts_with("AC") || acadver.starts_with("ac"))) {
        auto [end, ec] = std::from_chars(acadver.data() + 2, acadver.data() + acadver.size(), number);
        if (ec != std::errc{} || end != acadver.data() + acadver.size())
            number = 0;
    }
    return number;
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

namespace vantrel {

bool misspeltDxfMarker(std::string_view read, std::string_view expected)
{
    constexpr std::size_t kMostEdits = 2;
    if (read.size() + kMostEdits < expected.size() || expected.size() + kMostEdits < read.size())
        return false;
    // Edit distance, row by row.
    std::vector<std::size_t> row(expected.size() + 1);
    for (std::size_t j = 0; j < row.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= read.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= expected.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (read[i - 1] == expected[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back() <= kMostEdits;
}

} // namespace vantrel
