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

// Writes the ten digits of n (below 10^10, leading zeros kept) at out: two halves of five, each
// a leading digit and two pairs, all by multiplications rather than a loop.
void tenDigits(char* out, std::uint64_t n)
{
    const auto halves = {static_cast<std::uint32_t>(n / 100000), static_cast<std::uint32_t>(n % 100000)};
    for (std::uint32_t half : halves) {
        const std::uint32_t rest = half % 10000;
        *out = static_cast<char>('0' + half / 10000);
        std::memcpy(out + 1, kPairs + 2 * std::size_t{rest / 100}, 2);
        std::memcpy(out + 3, kPairs + 2 * std::size_t{rest % 100}, 2);
        out += 5;
    }
}

// The count of zeros that end the decimal digits of n (n not 0).
int trailingZeros(std::uint64_t n)
{
    int zeros = 0;
    for (; n % 10 == 0; n /= 10)
        ++zeros;
    return zeros;
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
    const double fraction = scaled - static_cast<double>(static_cast<std::uint64_t>(scaled));
    const auto digits = static_cast<std::uint64_t>(rounded);
    if (std::fabs(fraction - 0.5) <= 0x1p-18 || digits < kLowest || digits >= kBeyond)
        return general(out, value);

    // The text is laid out in a scratch buffer with copies of fixed length, then copied once.
    // Zeros after the digits, which the copies below read past them (and leave out of the text).
    char digitText[32];
    std::memset(digitText + 8, '0', 24);
    tenDigits(digitText, digits);
    const int zeros = trailingZeros(digits);
    char text[48];
    int length = 0;
    if (exponent >= 0) {
        // The whole part, then the decimals without their trailing zeros. The whole part is the
        // rounded digits' own: rounding may carry into it (9.9999999999 gives 10), which the
        // exponent estimate then already counted, as the digits are below 10^10.
        const int whole = exponent + 1;
        const int decimals = kDigits - whole - std::min(zeros, kDigits - whole);
        std::memcpy(text, digitText, 16);
        text[whole] = '.';
        std::memcpy(text + whole + 1, digitText + whole, 16);
        length = decimals > 0 ? whole + 1 + decimals : whole;
    } else {
        // "0." and the zeros before the first significant digit (at most three).
        const int leading = -exponent - 1;
        std::copy_n("0.000", 5, text);
        std::memcpy(text + 2 + leading, digitText, 16);
        length = 2 + leading + kDigits - zeros;
    }
    *out = '-';
    out += value < 0;
    std::memcpy(out, text, static_cast<std::size_t>(length));
    return out + length;
}

} // namespace vantrel
