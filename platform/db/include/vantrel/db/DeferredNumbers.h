// Numbers whose text is made later, by whoever writes the output: a producer that only walks
// the drawing notes each number's place and how it is printed, and the thread that writes the
// file does the printing. The text comes out exactly as if each number had been printed in place.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string_view>

#include <vantrel/db/OdDbExport.h>

namespace vantrel {

// Prints value at out and answers the end of its text: at most kNumberChars characters. It may
// write anywhere in the kNumberChars characters from out (what lies past the end is written over).
using NumberFormat = char* (*)(char* out, double value);
inline constexpr std::size_t kNumberChars = 48;

struct DeferredNumber {
    std::size_t at; // offset into the text it goes with, before the character there
    NumberFormat format;
    double value;
};

// Takes a piece of text with the numbers still to be printed in it (their places counted from
// the piece's start). Answers whether the numbers of the text that follows are better printed by
// whoever makes it, as the side that prints them is behind: the text comes out the same either
// way, and the two sides share the printing as their loads go.
using NumberSink = std::function<bool(std::string_view text, std::span<const DeferredNumber> numbers)>;

// The most characters text with numbers printed in it can take.
inline std::size_t roomWithNumbers(std::string_view text, std::span<const DeferredNumber> numbers)
{
    return text.size() + numbers.size() * kNumberChars;
}

// Writes text at out with each number printed at its place (numbers in the order of their
// places, each within the text or at its end) and answers the end of what it wrote. out must
// have roomWithNumbers(text, numbers) characters.
VANTREL_DB_EXPORT char* writeWithNumbers(char* out, std::string_view text, std::span<const DeferredNumber> numbers);

} // namespace vantrel
