// Text written piece by piece into a buffer and handed to a sink in large blocks, so that an
// output of any size is streamed to its file without being held in memory whole. A sink that
// takes whole blocks gets the numbers unprinted, to print them where it writes the file.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include <vantrel/db/DeferredNumbers.h>

#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT TextOutput {
public:
    using Sink = std::function<void(std::string_view)>;

    // The sink receives the text in order, in blocks of up to about bufferBytes.
    explicit TextOutput(Sink sink, std::size_t bufferBytes = std::size_t(1) << 18);
    // The same, each block handed on whole with its numbers still to be printed in it.
    explicit TextOutput(BlockSink sink, std::size_t bufferBytes = std::size_t(1) << 18);
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    void append(std::string_view text)
    {
        if (text.size() > m_block.capacity - m_block.size)
            return appendLong(text);
        if (!text.empty()) // an empty view may hold no pointer at all
            std::memcpy(m_block.data.get() + m_block.size, text.data(), text.size());
        m_block.size += text.size();
    }
    void append(char c)
    {
        *room(1) = c;
        ++m_block.size;
    }
    // Room for n more characters (n at most 128); advance(end) keeps what was written up to end.
    char* room(std::size_t n)
    {
        if (n > m_block.capacity - m_block.size)
            flush();
        return m_block.data.get() + m_block.size;
    }
    void advance(const char* end) { m_block.size = static_cast<std::size_t>(end - m_block.data.get()); }
    // value as format prints it: here, or by a block sink.
    void number(double value, NumberFormat format)
    {
        if (!m_blockSink) {
            advance(format(room(kNumberChars), value));
            return;
        }
        if (m_block.numbers.size() == m_block.numbers.capacity())
            flush();
        m_block.numbers.push_back({m_block.size, format, value});
    }

    // Hands what is buffered to the sink.
    void flush();

private:
    void appendLong(std::string_view text);
    // An empty buffer of the size asked for, with room for as many numbers as would fill it.
    void emptyBlock();

    std::size_t m_bufferBytes;
    TextBlock m_block;
    Sink m_sink;
    BlockSink m_blockSink;
};

} // namespace vantrel
