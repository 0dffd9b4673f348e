// Numbers whose text is made later, by whoever writes the output: a producer that only walks
// the drawing notes each number's place and how it is printed, and the thread that writes the
// file does the printing. The text comes out exactly as if each number had been printed in place.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include <vantrel/db/OdDbExport.h>

namespace vantrel {

// Prints value at out and answers the end of its text: at most kNumberChars characters. It may
// write anywhere in the kNumberChars characters from out (what lies past the end is written over).
using NumberFormat = char* (*)(char* out, double value);
inline constexpr std::size_t kNumberChars = 32;

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

// Text with the numbers still to be printed in it (their places counted from its start), in a
// buffer that goes where the text goes: a producer hands a full block on whole and goes on in
// another, so that the text is not copied on its way to the file.
struct VANTREL_DB_EXPORT TextBlock {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::size_t capacity = 0;
    std::vector<DeferredNumber> numbers;

    std::string_view text() const { return {data.get(), size}; }
    bool empty() const { return size == 0 && numbers.empty(); }
    // The most characters it takes once its numbers are printed.
    std::size_t weight() const { return roomWithNumbers(text(), numbers); }
    // Empties it, keeping at least room for characters and for numbers (reused when it has it).
    void clearWithRoom(std::size_t characters, std::size_t numberCount);
    // Room for n more characters: the buffer grows (at least twice as large) when it has not.
    void makeRoom(std::size_t n);
    // Appends text and the numbers placed in it, growing the buffer as needed.
    void append(std::string_view more, std::span<const DeferredNumber> moreNumbers = {});
};

// Takes the text and numbers of a block, and leaves in it a buffer to go on with: empty, of any
// capacity.
using BlockSink = std::function<void(TextBlock& block)>;

// Writes text at out with each number printed at its place (numbers in the order of their
// places, each within the text or at its end) and answers the end of what it wrote. out must
// have roomWithNumbers(text, numbers) characters.
VANTREL_DB_EXPORT char* writeWithNumbers(char* out, std::string_view text, std::span<const DeferredNumber> numbers);

} // namespace vantrel
