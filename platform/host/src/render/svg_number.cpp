// Ten significant digits without the general formatter for the numbers a drawing mostly holds
// (magnitudes from 1e-4 to 1e10, printed without an exponent): the digits are the value scaled
// by a power of ten and rounded, which is exact unless the scaled value lies within an ulp of a
// rounding tie; those, and every other value, go to std::to_chars.
#include <vantrel/host/svg_number.h>

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

// The decimal exponent of magnitude (from 1e-4 to 1e10) as far as the table tells it, counted
// without branches; an estimate off by one at a power of ten is caught by the count of digits
// it gives.
int exponentOf(double magnitude)
{
    static constexpr double kSteps[] = {1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    int e = -4;
    for (double step : kSteps)
        e += magnitude >= step;
    return e;
}

// Writes the last `count` digits of n (with leading zeros) ending at end, two at a time.
void digitsBefore(char* end, std::uint64_t n, int count)
{
    for (; count >= 2; count -= 2, n /= 100) {
        end -= 2;
        std::memcpy(end, kPairs + 2 * (n % 100), 2);
    }
    if (count == 1)
        end[-1] = static_cast<char>('0' + n % 10);
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

    *out = '-';
    out += value < 0;
    if (exponent >= 0) {
        // The whole part, then the decimals without their trailing zeros. The whole part is the
        // value's own unless rounding carried into it.
        const int places = kDigits - 1 - exponent;
        const auto scale = static_cast<std::uint64_t>(kPow10[places]);
        auto whole = static_cast<std::uint64_t>(magnitude);
        std::uint64_t decimals = digits - whole * scale;
        if (decimals >= scale) {
            ++whole;
            decimals -= scale;
        }
        digitsBefore(out + exponent + 1, whole, exponent + 1);
        out += exponent + 1;
        if (decimals == 0)
            return out;
        int shown = places;
        for (; decimals % 10 == 0; decimals /= 10)
            --shown;
        *out++ = '.';
        digitsBefore(out + shown, decimals, shown);
        return out + shown;
    }
    *out++ = '0';
    *out++ = '.';
    for (int i = -1; i > exponent; --i)
        *out++ = '0';
    std::uint64_t significant = digits;
    int shown = kDigits;
    for (; significant % 10 == 0; significant /= 10)
        --shown;
    digitsBefore(out + shown, significant, shown);
    return out + shown;
}

} // namespace vantrel
