#include <vantrel/db/DeferredNumbers.h>

#include <cassert>
#include <cstring>

namespace vantrel {

NumberedText::NumberedText(std::size_t textRoom, std::size_t numberRoom)
    : text(std::make_unique_for_overwrite<char[]>(textRoom)), textRoom(textRoom),
      numbers(std::make_unique_for_overwrite<DeferredNumber[]>(numberRoom)), numberRoom(numberRoom)
{
}

void NumberedText::append(const NumberedText& other)
{
    assert(holds(other));
    if (other.size > 0)
        std::memcpy(text.get() + size, other.text.get(), other.size);
    for (std::size_t i = 0; i < other.count; ++i) {
        numbers[count + i] = other.numbers[i];
        numbers[count + i].at += size;
    }
    size += other.size;
    count += other.count;
}

char* writeWithNumbers(char* out, std::string_view text, std::span<const DeferredNumber> numbers)
{
    std::size_t from = 0;
    const auto copyTo = [&](std::size_t to) {
        if (to > from) // an empty text may have no characters to point at
            std::memcpy(out, text.data() + from, to - from);
        out += to - from;
        from = to;
    };
    constexpr std::size_t kShort = 16;
    static_assert(kShort <= kNumberChars);
    for (const DeferredNumber& n : numbers) {
        assert(n.at >= from && n.at <= text.size());
        // Most pieces between numbers are a separator or two: one copy of fixed length, when the
        // text has that many characters left. The room for the number that follows takes what
        // it copies beyond the piece, which the number then overwrites.
        if (n.at - from <= kShort && from + kShort <= text.size()) {
            std::memcpy(out, text.data() + from, kShort);
            out += n.at - from;
            from = n.at;
        } else {
            copyTo(n.at);
        }
        out = n.format(out, n.value);
    }
    copyTo(text.size());
    return out;
}

} // namespace vantrel
