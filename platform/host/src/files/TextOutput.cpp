// The buffer of TextOutput: one allocation, handed on whole when full.
#include <vantrel/host/TextOutput.h>

#include <algorithm>

namespace vantrel {

namespace {

// Numbers and other small pieces are written straight into the buffer's free room.
constexpr std::size_t kLargestPiece = 64;

} // namespace

TextOutput::TextOutput(Sink sink, std::size_t bufferBytes)
    : m_data(std::make_unique_for_overwrite<char[]>(std::max(bufferBytes, 2 * kLargestPiece))),
      m_capacity(std::max(bufferBytes, 2 * kLargestPiece)), m_sink(std::move(sink))
{
}

void TextOutput::flush()
{
    if (m_size == 0)
        return;
    m_sink(std::string_view(m_data.get(), m_size));
    m_size = 0;
}

void TextOutput::appendLong(std::string_view text)
{
    flush();
    if (text.size() >= m_capacity) {
        m_sink(text);
        return;
    }
    std::memcpy(m_data.get(), text.data(), text.size());
    m_size = text.size();
}

} // namespace vantrel
