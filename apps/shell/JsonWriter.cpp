// The writer's layout follows nlohmann's serializer, and its numbers and escapes are that
// library's own, so the text is the same as a document built whole and dumped.
#include "JsonWriter.h"

#include <cassert>
#include <charconv>
#include <cmath>

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

void JsonWriter::indent(std::size_t depth)
{
    constexpr std::string_view kSpaces = "                                ";
    for (std::size_t n = 2 * depth; n > 0;) {
        const std::size_t piece = std::min(n, kSpaces.size());
        m_out.append(kSpaces.substr(0, piece));
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
    m_out.append(m_filled.back() ? ",\n" : "\n");
    m_filled.back() = true;
    indent(m_filled.size());
}

void JsonWriter::end(char close)
{
    assert(!m_filled.empty() && !m_afterKey);
    const bool filled = m_filled.back();
    m_filled.pop_back();
    if (filled) {
        m_out.append('\n');
        indent(m_filled.size());
    }
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
    char* at = m_out.room(64);
    m_out.advance(nlohmann::detail::to_chars(at, at + 64, v));
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
