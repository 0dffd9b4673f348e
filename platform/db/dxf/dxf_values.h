// The value type of every DXF group code and the checked conversions of value text to numbers,
// shared by the tag reader, the kept-tag lists and the class tables.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <string>
#include <string_view>

#include <vantrel/db/OdDbExport.h>

namespace vantrel {

enum class DxfValueType : std::uint8_t {
    Unknown, // a code the DXF reference assigns no type; kept as text
    String,
    Double,
    Int16,
    Int32,
    Int64,
    Bool,
    Handle,
    Binary,  // hex digits, two per byte
    Comment, // 999
};

inline constexpr int kMaxDxfGroupCode = 1071;

namespace detail {
constexpr std::array<DxfValueType, kMaxDxfGroupCode + 1> makeDxfValueTypeTable()
{
    std::array<DxfValueType, kMaxDxfGroupCode + 1> t{};
    auto range = [&t](int first, int last, DxfValueType type) {
        for (int c = first; c <= last; ++c)
            t[static_cast<std::size_t>(c)] = type;
    };
    using T = DxfValueType;
    range(0, 9, T::String);
    range(10, 59, T::Double);
    range(60, 79, T::Int16);
    range(90, 99, T::Int32);
    range(100, 100, T::String);
    range(102, 102, T::String);
    range(105, 105, T::Handle);
    range(110, 149, T::Double);
    range(160, 169, T::Int64);
    range(170, 179, T::Int16);
    range(210, 239, T::Double);
    range(270, 289, T::Int16);
    range(290, 299, T::Bool);
    range(300, 309, T::String);
    range(310, 319, T::Binary);
    range(320, 369, T::Handle);
    range(370, 389, T::Int16);
    range(390, 399, T::Handle);
    range(400, 409, T::Int16);
    range(410, 419, T::String);
    range(420, 429, T::Int32);
    range(430, 439, T::String);
    range(440, 459, T::Int32);
    range(460, 469, T::Double);
    range(470, 479, T::String);
    range(480, 481, T::Handle);
    range(999, 999, T::Comment);
    range(1000, 1003, T::String);
    range(1004, 1004, T::Binary);
    range(1005, 1005, T::Handle);
    range(1006, 1009, T::String);
    range(1010, 1059, T::Double);
    range(1060, 1070, T::Int16);
    range(1071, 1071, T::Int32);
    return t;
}
inline constexpr auto kDxfValueTypes = makeDxfValueTypeTable();
} // namespace detail

// The value type of a group code; Unknown for codes outside 0..1071 or unassigned ones.
constexpr DxfValueType dxfValueType(int code)
{
    return code >= 0 && code <= kMaxDxfGroupCode ? detail::kDxfValueTypes[static_cast<std::size_t>(code)]
                                                 : DxfValueType::Unknown;
}

constexpr bool isDxfStringType(DxfValueType t)
{
    return t == DxfValueType::String || t == DxfValueType::Unknown || t == DxfValueType::Comment;
}

// digits * 10^-decimals correctly rounded, for digits of at most 19 decimal digits (not 0) and
// decimals from 0 to 19, by one product with a 128-bit power of ten; false in the rare case the
// product cannot tell which way to round, which from_chars then decides.
VANTREL_DB_FOR_TESTS bool longDecimalToDouble(std::uint64_t digits, int decimals, double& out);

// Whether the characters at p that fill a Chunk (8 or 4) are all digits, and then their values
// paired: each byte of even place holds ten times its digit plus the next one (on a machine of
// another byte order, always false).
template <class Chunk>
inline bool pairedDxfDigits(const char* p, Chunk& chunk)
{
    if constexpr (std::endian::native != std::endian::little)
        return false;
    constexpr Chunk kOnes = static_cast<Chunk>(~Chunk(0)) / 0xFF;
    std::memcpy(&chunk, p, sizeof chunk);
    // A byte below '0' sets its top bit in the difference, one above '9' in the sum.
    if (((chunk + kOnes * 0x46) | (chunk - kOnes * 0x30)) & (kOnes * 0x80))
        return false;
    chunk -= kOnes * 0x30;
    chunk = chunk * 10 + (chunk >> 8);
    return true;
}

// Whether the eight characters at p are all digits, and then their value: all eight at once, as
// long runs of decimals are common.
inline bool eightDxfDigits(const char* p, std::uint32_t& value)
{
    std::uint64_t chunk;
    if (!pairedDxfDigits(p, chunk))
        return false;
    value = static_cast<std::uint32_t>(((chunk & 0x000000FF000000FFu) * 0x000F424000000064u
                                        + ((chunk >> 16) & 0x000000FF000000FFu) * 0x0000271000000001u)
                                       >> 32);
    return true;
}

// The same for four characters, for what a run of decimals has left after its eights.
inline bool fourDxfDigits(const char* p, std::uint32_t& value)
{
    std::uint32_t chunk;
    if (!pairedDxfDigits(p, chunk))
        return false;
    value = (chunk & 0xFFu) * 100 + ((chunk >> 16) & 0xFFu);
    return true;
}

// A plain decimal ("-12.375") of at most 19 digits: when its digits fit in 53 bits, the digits
// and the power of ten are exact doubles, so one correctly rounded division gives the same value
// as from_chars, at a fraction of its cost; more digits (as coordinates of 17 significant digits
// have) go to longDecimalToDouble. False for any other form, which from_chars then takes.
inline bool parsePlainDxfDecimal(std::string_view s, double& out)
{
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = s.data();
    const char* const end = p + s.size();
    const bool negative = p < end && *p == '-';
    if (negative)
        ++p;
    std::uint64_t digits = 0;
    const char* const first = p;
    while (p < end && static_cast<unsigned>(*p - '0') < 10)
        digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
    const std::uint64_t whole = digits;
    std::ptrdiff_t count = p - first;
    std::ptrdiff_t fraction = 0;
    unsigned fractionDigits = 0; // zero while every decimal is 0 ("10.0"): then no division
    if (count == 0)
        return false;
    if (p < end && *p == '.') {
        const char* const point = ++p;
        for (std::uint32_t eight; end - p >= 8 && eightDxfDigits(p, eight); p += 8) {
            digits = digits * 100000000 + eight;
            fractionDigits |= eight;
        }
        if (std::uint32_t four; end - p >= 4 && fourDxfDigits(p, four)) {
            digits = digits * 10000 + four;
            fractionDigits |= four;
            p += 4;
        }
        for (unsigned d; p < end && (d = static_cast<unsigned>(*p - '0')) < 10; ++p) {
            digits = digits * 10 + d;
            fractionDigits |= d;
        }
        fraction = p - point;
        if (fraction == 0)
            return false;
        count += fraction;
    }
    if (p != end || count > 19)
        return false;
    if (digits > (std::uint64_t(1) << 53)) {
        if (!longDecimalToDouble(digits, static_cast<int>(fraction), out))
            return false;
        if (negative)
            out = -out;
        return true;
    }
    const double value = fractionDigits ? static_cast<double>(digits) / kPow10[fraction] : static_cast<double>(whole);
    out = negative ? -value : value;
    return true;
}

// Conversions that answer whether the text is a value of the type. Blanks around numbers are
// allowed (old files right-justify integers); doubles must be finite, of any magnitude.
VANTREL_DB_FOR_TESTS bool tryParseDxfDouble(std::string_view text, double& out);
template <typename Int>
bool tryParseDxfInteger(std::string_view text, Int& out);
// 1 to 16 hex digits.
VANTREL_DB_FOR_TESTS bool tryParseDxfHandle(std::string_view text, std::uint64_t& out);
// An even number of hex digits.
VANTREL_DB_FOR_TESTS bool isDxfBinary(std::string_view text);
// Whether text is a value of the given type; strings always are.
VANTREL_DB_FOR_TESTS bool isDxfValueOf(std::string_view text, DxfValueType type);

// The same, raising DxfError naming `line` for text that is not a value of the type.
VANTREL_DB_FOR_TESTS double parseDxfDouble(std::string_view text, int code, std::size_t line);
// The same for text that parsePlainDxfDecimal did not take as it stands.
VANTREL_DB_FOR_TESTS double parseDxfDoubleNotPlain(std::string_view text, int code, std::size_t line);
VANTREL_DB_FOR_TESTS std::int16_t parseDxfInt16(std::string_view text, int code, std::size_t line);
VANTREL_DB_FOR_TESTS std::int32_t parseDxfInt32(std::string_view text, int code, std::size_t line);
VANTREL_DB_FOR_TESTS std::int64_t parseDxfInt64(std::string_view text, int code, std::size_t line);
VANTREL_DB_FOR_TESTS bool parseDxfBool(std::string_view text, int code, std::size_t line);
VANTREL_DB_FOR_TESTS std::uint64_t parseDxfHandle(std::string_view text, int code, std::size_t line);
VANTREL_DB_FOR_TESTS void checkDxfBinary(std::string_view text, int code, std::size_t line);

// Angles are degrees in files and radians in the drawing; the one conversion of the reader.
inline double dxfDegreesToRadians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// The degrees to write for an angle: the shortest text that reads back as the same radians, so
// that an angle read (or typed) as 250 is written as 250, not 249.99999999999997.
VANTREL_DB_FOR_TESTS double stableDegrees(double radians);

// The records that give a file its structure, which no entity or object is named.
constexpr bool isDxfStructureRecord(std::string_view name)
{
    // Asked for every record read: most names are told apart by their length or first letter.
    switch (name.size()) {
    case 3: return name == "EOF";
    case 5: return name == "TABLE" || name == "BLOCK";
    case 6: return name[0] == 'E' && (name == "ENDSEC" || name == "ENDTAB" || name == "ENDBLK");
    case 7: return name == "SECTION";
    default: return false;
    }
}

// The AC number of an $ACADVER value ("AC1024" gives 1024), 0 for anything else.
VANTREL_DB_FOR_TESTS int dxfVersionNumber(std::string_view acadver);

// Value text quoted for an error message: shortened, bytes outside printable ASCII shown as \xNN.
VANTREL_DB_FOR_TESTS std::string quoteDxfValue(std::string_view text);

// Equality of the short texts compared for every record (names, markers), without a library call.
constexpr bool sameDxfText(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

// Whether a subclass marker read is a misspelling of the one expected: at most two letters
// changed, added or dropped.
VANTREL_DB_FOR_TESTS bool misspeltDxfMarker(std::string_view read, std::string_view expected);

constexpr std::string_view trimDxfBlanks(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

} // namespace vantrel
