#include <vantrel/db/DeferredNumbers.h>

#include <algorithm>
#include <cassert>
#include <cstring>

namespace vantrel {

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

void TextBlock::clearWithRoom(std::size_t characters, std::size_t numberCount)
{
    size = 0;
    numbers.clear();
    if (capacity < characters) {
        data = std::make_unique_for_overwrite<char[]>(characters);
        capacity = characters;
    }
    numbers.reserve(numberCount);
}

void TextBlock::makeRoom(std::size_t n)
{
    if (n <= capacity - size)
        return;
    const std::size_t grown = std::max(2 * capacity, size + n);
    auto larger = std::make_unique_for_overwrite<char[]>(grown);
    if (size > 0)
        std::memcpy(larger.get(), data.get(), size);
    data = std::move(larger);
    capacity = grown;
}

void TextBlock::append(std::string_view more, std::span<const DeferredNumber> moreNumbers)
{
    makeRoom(more.size());
    if (!more.empty())
        std::memcpy(data.get() + size, more.data(), more.size());
    const std::size_t first = numbers.size();
    numbers.insert(numbers.end(), moreNumbers.begin(), moreNumbers.end());
    for (std::size_t i = first; i < numbers.size(); ++i)
        numbers[i].at += size;
    size += more.size();
}

} // namespace vantrel
