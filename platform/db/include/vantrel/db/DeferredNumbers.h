// Numbers whose text is made later, by whoever writes the output: a producer that only walks
// the drawing notes each number's place and how it is printed, and the thread that writes the
// file does the printing. The text comes out exactly as if each number had been printed in place.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
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

// The most characters text with numbers printed in it can take.
inline std::size_t roomWithNumbers(std::string_view text, std::span<const DeferredNumber> numbers)
{
    return text.size() + numbers.size() * kNumberChars;
}

// A piece of text with the numbers still to be printed in it (their places counted from the
// piece's start), in storage of a fixed room that is handed on whole: from the side that makes
// the text to the side that prints the numbers and writes the file, which gives back storage of
// the same room, empty, for the next piece. No piece is copied on its way.
struct VANTREL_DB_EXPORT NumberedText {
    NumberedText() = default;
    // Room for textRoom characters and numberRoom numbers.
    NumberedText(std::size_t textRoom, std::size_t numberRoom);

    std::unique_ptr<char[]> text;
    std::size_t size = 0; // characters of text
    std::size_t textRoom = 0;
    std::unique_ptr<DeferredNumber[]> numbers;
    std::size_t count = 0; // numbers
    std::size_t numberRoom = 0;

    std::string_view view() const { return {text.get(), size}; }
    std::span<const DeferredNumber> deferred() const { return {numbers.get(), count}; }
    // The most characters the piece can take once its numbers are printed.
    std::size_t weight() const { return roomWithNumbers(view(), deferred()); }
    bool empty() const { return size == 0 && count == 0; }
    void clear()
    {
        size = 0;
        count = 0;
    }
    bool sameRoom(const NumberedText& other) const
    {
        return textRoom == other.textRoom && numberRoom == other.numberRoom;
    }
    // Whether the text and numbers of other fit after these.
    bool holds(const NumberedText& other) const
    {
        return textRoom - size >= other.size && numberRoom - count >= other.count;
    }
    // Adds them there (their places moved along); they must fit.
    void append(const NumberedText& other);
};

// Takes a piece, leaving piece empty storage of the same room in its place. Answers whether the
// numbers of the text that follows are better printed by whoever makes it, as the side that
// prints them is behind: the text comes out the same either way, and the two sides share the
// printing as their loads go.
using NumberSink = std::function<bool(NumberedText& piece)>;

// Writes text at out with each number printed at its place (numbers in the order of their
// places, each within the text or at its end) and answers the end of what it wrote. out must
// have roomWithNumbers(text, numbers) characters.
VANTREL_DB_EXPORT char* writeWithNumbers(char* out, std::string_view text, std::span<const DeferredNumber> numbers);

} // namespace vantrel
