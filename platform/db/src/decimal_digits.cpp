// The shortest digits of a double, by fmt's digit search (the one its own formatting runs).
#include <vantrel/db/decimal_digits.h>

#include <cassert>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include <fmt/format.h>

namespace vantrel {

namespace {

// The count of decimal digits of n (below 2^57, at least 1): estimated from its bit width
// (log10(2) is about 1233 / 4096), then corrected by one comparison.
int digitCount(std::uint64_t n)
{
    static constexpr auto kPowers = [] {
        std::array<std::uint64_t, 18> powers{};
        std::uint64_t power = 1;
        for (std::uint64_t& p : powers) {
            p = power;
            power *= 10;
        }
        return powers;
    }();
    const std::size_t estimate = (std::bit_width(n | 1) * 1233) >> 12;
    return static_cast<int>(estimate) + (n >= kPowers[estimate]);
}

} // namespace

DecimalDigits shortestDigits(double magnitude)
{
    // (The search leaves no zeros at the end of the digits.)
    const auto decimal = fmt::detail::dragonbox::to_decimal(magnitude);
    const std::uint64_t n = decimal.significand;
    DecimalDigits d{};
    // The seventeen places a significand can fill, then zeros.
    d.text.fill('0');
    d.text[0] = static_cast<char>('0' + n / 10000000000000000);
    const std::uint64_t middle = eightDigits(static_cast<std::uint32_t>(n / 100000000 % 100000000));
    const std::uint64_t last = eightDigits(static_cast<std::uint32_t>(n % 100000000));
    std::memcpy(d.text.data() + 1, &middle, 8);
    std::memcpy(d.text.data() + 9, &last, 8);
    d.count = digitCount(n);
    d.first = 17 - d.count;
    d.point = d.count + decimal.exponent;
    return d;
}

// Both are put together by copies of fixed length, which the digits' trailing zeros make safe.
char* DecimalDigits::fixed(char* t) const
{
    assert(point > -22 && point <= 16);
    const char* d = digits();
    if (point <= 0) {
        std::memcpy(t, "0.0000000000000000000000", 24);
        std::memcpy(t + 2 - point, d, 24);
        return t + 2 - point + count;
    }
    // The digits, then the zeros of a whole number's text or the point and the rest.
    std::memcpy(t, d, 16);
    if (point >= count)
        return t + point;
    t[point] = '.';
    std::memcpy(t + point + 1, d + point, 16);
    return t + count + 1;
}

char* DecimalDigits::scientific(char* t) const
{
    const char* d = digits();
    *t = d[0];
    t[1] = '.';
    std::memcpy(t + 2, d + 1, 16);
    t += count > 1 ? count + 1 : 1;
    const int power = point - 1;
    *t++ = 'e';
    *t++ = power < 0 ? '-' : '+';
    if (std::abs(power) < 10)
        *t++ = '0';
    return std::to_chars(t, t + 3, std::abs(power)).ptr;
}

} // namespace vantrel
