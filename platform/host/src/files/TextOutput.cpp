// The buffer of TextOutput: handed on whole when full, to a plain sink as text, to a number sink
// as it is (for another of the same room).
#include <vantrel/host/TextOutput.h>

#include <algorithm>

namespace vantrel {

namespace {

// Numbers and other small pieces are written straight into the buffer's free room.
constexpr std::size_t kLargestPiece = 128;

} // namespace

TextOutput::TextOutput(Sink sink, std::size_t bufferBytes)
    : m_buffer(std::max(bufferBytes, 2 * kLargestPiece), 0), m_sink(std::move(sink))
{
}

// As many numbers as would fill the buffer once printed.
TextOutput::TextOutput(NumberSink sink, std::size_t bufferBytes)
    : m_buffer(std::max(bufferBytes, 2 * kLargestPiece), std::max(bufferBytes, 2 * kLargestPiece) / kNumberChars),
      m_numberSink(std::move(sink))
{
}

void TextOutput::flush()
{
    if (m_buffer.empty())
        return;
    if (m_numberSink)
        m_printHere = m_numberSink(m_buffer);
    else
        m_sink(m_buffer.view());
    m_buffer.clear();
}

void TextOutput::appendLong(std::string_view text)
{
    flush();
    if (text.size() < m_buffer.textRoom) {
        std::memcpy(m_buffer.text.get(), text.data(), text.size());
        m_buffer.size = text.size();
        return;
    }
    if (!m_numberSink) {
        m_sink(text);
        return;
    }
    NumberedText whole(text.size(), 0);
    std::memcpy(whole.text.get(), text.data(), text.size());
    whole.size = text.size();
    m_printHere = m_numberSink(whole);
}

} // namespace vantrel
