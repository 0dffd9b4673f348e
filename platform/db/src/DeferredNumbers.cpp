#include <vantrel/db/DeferredNumbers.h>

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
    for (const DeferredNumber& n : numbers) {
        assert(n.at >= from && n.at <= text.size());
        copyTo(n.at);
        out = n.format(out, n.value);
    }
    copyTo(text.size());
    return out;
}

} // namespace vantrel
