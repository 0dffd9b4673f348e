// JSON written as it is produced, in the layout nlohmann's dump(2) gives a whole document (two
// spaces of indentation per level, "key": value, empty containers as {} and []), except that an
// array of numbers given at once (a point, a vector) takes one line: [1.0, 2.5, 0.0]. A large
// drawing is dumped without first being built as a document in memory.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include <vantrel/host/TextOutput.h>

namespace vantrel {

class JsonWriter {
public:
    explicit JsonWriter(TextOutput& out) : m_out(out) {}

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The key of the next value of the object being written.
    void key(std::string_view utf8);
    // The same for a name the code declares (a property's): printable ASCII without quotes or
    // backslashes, which needs no look for escapes.
    void name(std::string_view ascii);

    void value(std::string_view utf8);
    void value(const char* utf8) { value(std::string_view(utf8)); }
    // Shortest text that reads back the same, "1.0" for whole numbers; null when not finite.
    void value(double v);
    void value(std::int64_t v);
    void value(bool v);
    void null();
    // An array of numbers on one line, "[x, y, z]" (as beginArray and endArray write it when
    // empty).
    void numbers(std::span<const double> values);

private:
    // Before a value: the separator and indentation it needs in its container.
    void element();
    void end(char close);
    // A line end, after a comma when asked, and the indentation of depth.
    void newLine(bool comma, std::size_t depth);
    // A quoted, escaped string; text that is not valid UTF-8 is written as U+FFFD.
    void string(std::string_view utf8);
    // The key's line and the quoted key in one piece of room, when both are short.
    bool shortKey(std::string_view ascii);
    // Any other key: the separator and indentation, then the key quoted and escaped.
    void longKey(std::string_view utf8);
    // A number's text after its separator: null when it is not finite.
    void number(double v);

    TextOutput& m_out;
    // Of each open container: whether it has an element yet (a byte each, read at every value).
    std::vector<std::uint8_t> m_filled;
    // Whether the next value follows a key, which put its separator already.
    bool m_afterKey = false;
};

} // namespace vantrel
