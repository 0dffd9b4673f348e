// Decimal digits for the number printers of the outputs: of integers, put together in registers
// eight at a time (no loop of divisions, and the text stored at once); of doubles, the shortest
// that read back the same.
#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include <vantrel/db/OdDbExport.h>

namespace vantrel {

static_assert(std::endian::native == std::endian::little, "digits are stored from words, lowest byte first");

// The eight digits of n (below 10^8, leading zeros kept) as the bytes of a word, first digit
// lowest, so that they are stored at once. The word is split into lanes (two of four digits,
// then four of two, then eight of one) and each lane divided by a multiplication and a shift,
// exact for the values the lanes hold, none carrying into the next.
inline std::uint64_t eightDigits(std::uint32_t n)
{
    std::uint64_t x = n / 10000 | std::uint64_t{n % 10000} << 32;
    std::uint64_t hundreds = (x * 10486 >> 20) & 0x0000007F0000007F;
    x = hundreds | (x - hundreds * 100) << 16;
    const std::uint64_t tens = (x * 103 >> 10) & 0x000F000F000F000F;
    x = tens | (x - tens * 10) << 8;
    return x + 0x3030303030303030;
}

// The shortest decimal digits that read back as a finite magnitude above zero, the nearest to it
// of those (at most seventeen, no zero at their end), and where the decimal point falls among
// them: the magnitude is digits × 10^(point − count).
struct DecimalDigits {
    // The digits from text[first] on, then zeros to the end, which copies of fixed length from
    // the digits may take along.
    std::array<char, 40> text;
    int first;
    int count;
    int point;
    const char* digits() const { return text.data() + first; }

    // These digits without an exponent at t ("123.45", "0.0012", a whole number's "1200" with no
    // point), for a point from -21 to 16; answers the end. t must have room for kFixedRoom
    // characters.
    VANTREL_DB_EXPORT char* fixed(char* t) const;
    static constexpr int kFixedRoom = 47;
    // These digits with an exponent of at least two digits at t ("1.2345e+05", "1e-300"), as
    // printf's %e writes them; answers the end. t must have room for 32 characters.
    VANTREL_DB_EXPORT char* scientific(char* t) const;
};
VANTREL_DB_EXPORT DecimalDigits shortestDigits(double magnitude);

} // namespace vantrel
