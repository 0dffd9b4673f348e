// The writer's layout follows nlohmann's serializer, and its numbers and escapes are that
// library's own, so the text is the same as a document built whole and dumped.
#include "JsonWriter.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstring>

#include <nlohmann/json.hpp>

namespace vantrel {

namespace {

// Printable ASCII that JSON takes as it is.
bool plain(std::string_view s)
{
    for (char c : s)
        if (c < 0x20 || c > 0x7E || c == '"' || c == '\\')
            return false;
    return true;
}

} // namespace

// A separator, a line end and the indentation of a depth: one piece of text for the depths a
// drawing has, so that each element costs one copy.
void JsonWriter::newLine(bool comma, std::size_t depth)
{
    static constexpr std::string_view kLines
        = ",\n                                                                                "
          "                                                                                ";
    static constexpr std::size_t kShortLine = 64;
    static_assert(kShortLine + 1 <= kLines.size());
    const std::size_t start = comma ? 0 : 1;
    if (2 + 2 * depth <= kShortLine) {
        // One copy of fixed length, of which the line's own characters are kept.
        char* at = m_out.room(kShortLine);
        std::memcpy(at, kLines.data() + start, kShortLine);
        m_out.advance(at + 2 - start + 2 * depth);
        return;
    }
    m_out.append(kLines.substr(start, 2 - start));
    for (std::size_t n = 2 * depth; n > 0;) {
        const std::size_t piece = std::min(n, kLines.size() - 2);
        m_out.append(kLines.substr(2, piece));
        n -= piece;
    }
}

void JsonWriter::element()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_filled.empty())
        return;
    newLine(m_filled.back(), m_filled.size());
    m_filled.back() = true;
}

void JsonWriter::end(char close)
{
    assert(!m_filled.empty() && !m_afterKey);
    const bool filled = m_filled.back();
    m_filled.pop_back();
    if (filled)
        newLine(false, m_filled.size());
    m_out.append(close);
}

void JsonWriter::beginObject()
{
    element();
    m_out.append('{');
    m_filled.push_back(false);
}

void JsonWriter::endObject() { end('}'); }

void JsonWriter::beginArray()
{
    element();
    m_out.append('[');
    m_filled.push_back(false);
}

void JsonWriter::endArray() { end(']'); }

void JsonWriter::key(std::string_view utf8)
{
    element();
    string(utf8);
    m_out.append(": ");
    m_afterKey = true;
}

void JsonWriter::value(std::string_view utf8)
{
    element();
    string(utf8);
}

void JsonWriter::value(double v)
{
    element();
    if (!std::isfinite(v)) {
        m_out.append("null");
        return;
    }
    m_out.number(v,
                 [](char* out, double finite) { return nlohmann::detail::to_chars(out, out + kNumberChars, finite); });
}

void JsonWriter::value(std::int64_t v)
{
    element();
    char* at = m_out.room(24);
    m_out.advance(std::to_chars(at, at + 24, v).ptr);
}

void JsonWriter::value(bool v)
{
    element();
    m_out.append(v ? "true" : "false");
}

void JsonWriter::null()
{
    element();
    m_out.append("null");
}

void JsonWriter::string(std::string_view utf8)
{
    if (plain(utf8)) {
        if (utf8.size() <= 62) {
            char* at = m_out.room(utf8.size() + 2);
            at[0] = '"';
            std::memcpy(at + 1, utf8.data(), utf8.size());
            at[utf8.size() + 1] = '"';
            m_out.advance(at + utf8.size() + 2);
            return;
        }
        m_out.append('"');
        m_out.append(utf8);
        m_out.append('"');
        return;
    }
    // Escapes, and the replacement of broken UTF-8, exactly as the library writes them.
    m_out.append(nlohmann::ordered_json(std::string(utf8))
                     .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

} // namespace vantrel
