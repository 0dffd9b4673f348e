// The buffer of TextOutput: one allocation, handed on whole when full.
#include <vantrel/host/TextOutput.h>

#include <algorithm>

namespace vantrel {

namespace {

// Numbers and other small pieces are written straight into the buffer's free room.
constexpr std::size_t kLargestPiece = 128;

} // namespace

TextOutput::TextOutput(Sink sink, std::size_t bufferBytes)
    : m_data(std::make_unique_for_overwrite<char[]>(std::max(bufferBytes, 2 * kLargestPiece))),
      m_capacity(std::max(bufferBytes, 2 * kLargestPiece)), m_sink(std::move(sink))
{
}

TextOutput::TextOutput(NumberSink sink, std::size_t bufferBytes) : TextOutput(Sink(), bufferBytes)
{
    m_numberSink = std::move(sink);
    // As many numbers as would fill the buffer once printed.
    m_numberRoom = m_capacity / kNumberChars;
    m_numbers = std::make_unique_for_overwrite<DeferredNumber[]>(m_numberRoom);
}

void TextOutput::flush()
{
    if (m_size == 0 && m_numberCount == 0)
        return;
    pass(std::string_view(m_data.get(), m_size));
    m_size = 0;
    m_numberCount = 0;
}

void TextOutput::pass(std::string_view text)
{
    if (m_numberSink)
        m_printHere = m_numberSink(text, std::span<const DeferredNumber>(m_numbers.get(), m_numberCount));
    else
        m_sink(text);
}

void TextOutput::appendLong(std::string_view text)
{
    flush();
    if (text.size() >= m_capacity) {
        pass(text);
        return;
    }
    std::memcpy(m_data.get(), text.data(), text.size());
    m_size = text.size();
}

} // namespace vantrel
