// The shortest digits of a double, by fmt's digit search (the one its own formatting runs).
#include <vantrel/db/decimal_digits.h>

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

} // namespace vantrel
