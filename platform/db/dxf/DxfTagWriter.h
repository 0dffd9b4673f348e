// Writes an ASCII DXF file tag by tag, into memory or streamed through a sink: group code
// right-justified to three columns, then the value, each line ended by "\n" (the line end that
// readers on every platform accept).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include <vantrel/db/DeferredNumbers.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

class DxfTagList;

// Writes the text to_chars writes for value when value is a whole number or has at most four
// decimals (and the text is not in exponent form), much faster; answers the end of the text, or
// null, having written nothing, for any other value. out must have room for 24 characters.
VANTREL_DB_FOR_TESTS char* formatShortDecimal(char* out, double value);

// The text to_chars writes for a finite value, from its shortest digits, much faster.
VANTREL_DB_FOR_TESTS char* formatShortest(char* out, double value);

// A finite value as DXF writes it: the shortest text that reads back to it, with ".0" added to
// whole numbers. out must have room for kNumberChars characters.
VANTREL_DB_FOR_TESTS char* formatDxfDouble(char* out, double value);

class VANTREL_DB_FOR_TESTS DxfTagWriter {
public:
    using Sink = std::function<void(std::string_view)>;
    using NumberSink = vantrel::NumberSink;

    // Collects the whole text in memory.
    explicit DxfTagWriter(std::size_t reserveBytes = 1 << 16);
    // Hands the text to sink in pieces of about bufferBytes, reusing one buffer (a large drawing
    // then costs no memory of its size); call flush() at the end.
    explicit DxfTagWriter(Sink sink, std::size_t bufferBytes = 1 << 20);
    // The same, handing on the doubles of each piece unprinted, for the sink to print: the sink
    // takes the buffer itself and gives back another of the same room. (Pieces are smaller here:
    // several are on their way at once, and a larger piece writes no faster.)
    explicit DxfTagWriter(NumberSink sink, std::size_t bufferBytes = 1 << 18);

    // UTF-8 text; control characters are written as ^-escapes ("^J"), a caret that would read
    // as one as "^ ".
    void writeString(int code, std::string_view utf8);
    // Shortest text that reads back to the same double, with ".0" added to whole numbers.
    // A non-finite value raises OdError(eInvalidInput): no reader could take it back.
    void writeDouble(int code, double value);
    void writeInt(int code, std::int64_t value);
    void writeBool(int code, bool value) { writeInt(code, value ? 1 : 0); }
    // Upper-case hex without leading zeros.
    void writeHandle(int code, std::uint64_t handle);
    // x, y and z under code, code + 10 and code + 20.
    void writePoint(int code, double x, double y, double z);
    void writePoint(int code, double x, double y);
    // Text already in file form (a kept tag); it must not hold a line break.
    void writeRaw(int code, std::string_view text);
    void writeTags(const DxfTagList& tags);

    // Gives the buffered text to the sink.
    void flush();

    // The text of a writer without a sink.
    std::string_view text() const { return m_buffer.view(); }

private:
    char* reserve(std::size_t n)
    {
        if (m_buffer.textRoom - m_buffer.size < n)
            grow(n);
        return m_buffer.text.get() + m_buffer.size;
    }
    void grow(std::size_t n);
    void writeCode(int code);
    void writeLine(std::string_view text);

    NumberedText m_buffer; // numbers only for a number sink
    Sink m_sink;
    NumberSink m_numberSink;
    bool m_printHere = false; // the number sink's wish, at its last piece
};

} // namespace vantrel
