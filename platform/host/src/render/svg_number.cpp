// Ten significant digits without the general formatter for the numbers a drawing mostly holds
// (magnitudes from 1e-4 to 1e10, printed without an exponent): the digits are the value scaled
// by a power of ten and rounded, which is exact unless the scaled value lies within an ulp of a
// rounding tie; those, and every other value, go to std::to_chars.
#include <vantrel/host/svg_number.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <vantrel/db/decimal_digits.h>

namespace vantrel {

namespace {

constexpr int kDigits = 10;
// Powers of ten that are exact doubles, up to the largest scale used (13 decimals for 1e-4).
constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13};
constexpr std::uint64_t kLowest = 1000000000;  // 10^(kDigits - 1)
constexpr std::uint64_t kBeyond = 10000000000; // 10^kDigits

// "00" to "99", so that the digits are written two at a time.
constexpr char kPairs[]
    = "0001020304050607080910111213141516171819202122232425262728293031323334353637383940414243444546474849"
      "5051525354555657585960616263646566676869707172737475767778798081828384858687888990919293949596979899";

char* general(char* out, double value)
{
    return std::to_chars(out, out + 24, value, std::chars_format::general, kDigits).ptr;
}

// The decimal exponent of magnitude (from 1e-4 to 1e10): estimated from the binary exponent
// (log10(2) is about 1233 / 4096, which never overestimates in this range), then corrected by one
// comparison; an estimate still off by one at a power of ten is caught by the count of digits it
// gives.
int exponentOf(double magnitude)
{
    static constexpr double kBounds[]
        = {1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    const int binary = static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7ff) - 1023;
    const int estimate = (binary * 1233) >> 12; // floor, also for negative exponents
    return estimate + (magnitude >= kBounds[estimate + 5]);
}

__extension__ using Wide = unsigned __int128;

// The ten digits of n (below 10^10, at least 10^9) as the low ten bytes of a 128-bit word, first
// digit lowest, and the count of zeros that end them, read off the digits' bytes.
struct TenDigits {
    Wide text;
    int trailingZeros;
};

TenDigits tenDigits(std::uint64_t n)
{
    constexpr std::uint64_t kZeros = 0x3030303030303030;
    const auto leading = static_cast<std::size_t>(n / 100000000);
    std::uint16_t pair = 0;
    std::memcpy(&pair, kPairs + 2 * leading, 2);
    const std::uint64_t rest = eightDigits(static_cast<std::uint32_t>(n % 100000000));
    // A '0' byte is a zero byte once the zeros are taken away; the last digit is the highest byte.
    // The first digit is never 0, so the pair has a byte that is not.
    const int zeros = rest != kZeros ? std::countl_zero(rest ^ kZeros) / 8
                                     : 8 + std::countl_zero(static_cast<std::uint16_t>(pair ^ 0x3030)) / 8;
    return {pair | static_cast<Wide>(rest) << 16, zeros};
}

} // namespace

char* formatSvgNumber(char* out, double value)
{
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-4 && magnitude < 1e10))
        return general(out, value);
    const int exponent = exponentOf(magnitude);
    const double scaled = magnitude * kPow10[kDigits - 1 - exponent];
    // Below 2^34 an ulp is at most 2^-19: a fraction this far from one half rounds as the exact
    // product does. Adding and taking away 2^52 rounds to the nearest integer.
    const double rounded = (scaled + 0x1p52) - 0x1p52;
    // The distance to the nearest integer is exact here; a tie is half way.
    const double fromTie = std::fabs(std::fabs(scaled - rounded) - 0.5);
    // (Through a signed integer, which the processor converts in one instruction; it is below 2^63.)
    const auto digits = static_cast<std::uint64_t>(static_cast<std::int64_t>(rounded));
    if (fromTie <= 0x1p-18 || digits < kLowest || digits >= kBeyond)
        return general(out, value);

    const auto [text, zeros] = tenDigits(digits);
    *out = '-';
    out += value < 0;
    if (exponent >= 0) {
        // The whole part, the point, then the decimals without their trailing zeros, each by a
        // copy of fixed length from the digits. The whole part is the rounded digits' own:
        // rounding may carry into it (9.9999999999 gives 10), which the exponent estimate then
        // already counted, as the digits are below 10^10.
        const int whole = exponent + 1;
        const int decimals = kDigits - whole - std::min(zeros, kDigits - whole);
        char digitText[32] = {};
        std::memcpy(digitText, &text, 16);
        std::memcpy(out, digitText, 16);
        out[whole] = '.';
        std::memcpy(out + whole + 1, digitText + whole, 16);
        return out + (decimals > 0 ? whole + 1 + decimals : whole);
    }
    // "0." and the zeros before the first significant digit (at most three), then the digits.
    const int leading = -exponent - 1;
    std::copy_n("0.000", 5, out);
    std::memcpy(out + 2 + leading, &text, 16);
    return out + 2 + leading + kDigits - zeros;
}

} // namespace vantrel
