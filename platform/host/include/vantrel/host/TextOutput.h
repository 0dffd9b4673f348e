// Text written piece by piece into a buffer and handed to a sink in large blocks, so that an
// output of any size is streamed to its file without being held in memory whole. A sink that
// takes numbers with the text gets them unprinted, to print them where it writes the file, and
// takes the buffer itself, giving back another of the same room.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

#include <vantrel/db/DeferredNumbers.h>

#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT TextOutput {
public:
    using Sink = std::function<void(std::string_view)>;
    using NumberSink = vantrel::NumberSink;

    // The sink receives the text in order, in blocks of up to about bufferBytes.
    explicit TextOutput(Sink sink, std::size_t bufferBytes = std::size_t(1) << 18);
    // The same, with the numbers of each block still to be printed in it: the sink takes the
    // buffer itself and gives back another of the same room.
    explicit TextOutput(NumberSink sink, std::size_t bufferBytes = std::size_t(1) << 18);
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    void append(std::string_view text)
    {
        if (text.size() > m_buffer.textRoom - m_buffer.size)
            return appendLong(text);
        if (!text.empty()) // an empty view may hold no pointer at all
            std::memcpy(m_buffer.text.get() + m_buffer.size, text.data(), text.size());
        m_buffer.size += text.size();
    }
    void append(char c)
    {
        *room(1) = c;
        ++m_buffer.size;
    }
    // Room for n more characters (n at most 128); advance(end) keeps what was written up to end.
    char* room(std::size_t n)
    {
        if (n > m_buffer.textRoom - m_buffer.size)
            flush();
        return m_buffer.text.get() + m_buffer.size;
    }
    void advance(const char* end) { m_buffer.size = static_cast<std::size_t>(end - m_buffer.text.get()); }
    // value as format prints it: here, or by a number sink.
    void number(double value, NumberFormat format)
    {
        if (!m_numberSink || m_printHere) {
            advance(format(room(kNumberChars), value));
            return;
        }
        // (An array of fixed room rather than a growing vector keeps this path free of the
        // vector's reallocation, which the compiler would otherwise prepare for at every number.)
        if (m_buffer.count == m_buffer.numberRoom)
            flush();
        m_buffer.numbers[m_buffer.count++] = {m_buffer.size, format, value};
    }

    // Hands what is buffered to the sink.
    void flush();

private:
    void appendLong(std::string_view text);

    NumberedText m_buffer; // numbers only for a number sink
    Sink m_sink;
    NumberSink m_numberSink;
    bool m_printHere = false; // the number sink's wish, at its last piece
};

} // namespace vantrel
