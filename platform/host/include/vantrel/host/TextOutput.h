// Text written piece by piece into one reused buffer and handed to a sink in large blocks, so
// that an output of any size is streamed to its file without being held in memory whole.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT TextOutput {
public:
    using Sink = std::function<void(std::string_view)>;

    // The sink receives the text in order, in blocks of up to about bufferBytes.
    explicit TextOutput(Sink sink, std::size_t bufferBytes = std::size_t(1) << 18);
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    void append(std::string_view text)
    {
        if (text.size() > m_capacity - m_size)
            return appendLong(text);
        if (!text.empty()) // an empty view may hold no pointer at all
            std::memcpy(m_data.get() + m_size, text.data(), text.size());
        m_size += text.size();
    }
    void append(char c)
    {
        *room(1) = c;
        ++m_size;
    }
    // Room for n more characters (n at most 64); advance(end) keeps what was written up to end.
    char* room(std::size_t n)
    {
        if (n > m_capacity - m_size)
            flush();
        return m_data.get() + m_size;
    }
    void advance(const char* end) { m_size = static_cast<std::size_t>(end - m_data.get()); }

    // Hands what is buffered to the sink.
    void flush();

private:
    void appendLong(std::string_view text);

    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    Sink m_sink;
};

} // namespace vantrel
