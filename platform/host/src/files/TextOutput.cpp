// The buffer of TextOutput: handed on whole when full (to a block sink with the buffer itself).
#include <vantrel/host/TextOutput.h>

#include <algorithm>

namespace vantrel {

namespace {

// Numbers and other small pieces are written straight into the buffer's free room.
constexpr std::size_t kLargestPiece = 128;

} // namespace

TextOutput::TextOutput(Sink sink, std::size_t bufferBytes)
    : m_bufferBytes(std::max(bufferBytes, 2 * kLargestPiece)), m_sink(std::move(sink))
{
    emptyBlock();
}

TextOutput::TextOutput(BlockSink sink, std::size_t bufferBytes) : TextOutput(Sink(), bufferBytes)
{
    m_blockSink = std::move(sink);
    emptyBlock();
}

void TextOutput::emptyBlock() { m_block.clearWithRoom(m_bufferBytes, m_blockSink ? m_bufferBytes / kNumberChars : 0); }

void TextOutput::flush()
{
    if (m_block.empty())
        return;
    if (m_blockSink) {
        m_blockSink(m_block);
        emptyBlock();
        return;
    }
    m_sink(m_block.text());
    m_block.size = 0;
}

void TextOutput::appendLong(std::string_view text)
{
    flush();
    if (text.size() < m_block.capacity) {
        std::memcpy(m_block.data.get(), text.data(), text.size());
        m_block.size = text.size();
        return;
    }
    if (m_blockSink) {
        // Handed on as a block of its own.
        TextBlock whole;
        whole.append(text);
        m_blockSink(whole);
    } else {
        m_sink(text);
    }
}

} // namespace vantrel
