// Reads an ASCII DXF file as a sequence of (group code, value) tags over one in-memory buffer;
// values are views into that buffer and are converted, with checks, only when asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "DxfTextCodec.h"

namespace vantrel {

class DxfTagList;

struct DxfTag {
    int code = 0;
    std::string_view value; // without the line end; blanks kept
    std::size_t line = 0;   // 1-based line of the group code
};

class DxfTagReader {
public:
    // Maps the whole file into memory; OdError(eFileError) naming the path when it cannot be read.
    static DxfTagReader fromFile(const std::filesystem::path& path);
    // Reads from a copy of text.
    explicit DxfTagReader(std::string_view text);

    // Moves to the next tag, skipping 999 comments. False at the end of the text. A code line
    // that is not a group code, or a code without its value line, raises DxfError.
    bool next();
    // Makes the next call of next() return the current tag again.
    void pushBack();

    // A place in the text to come back to, for looking ahead within a record.
    struct Position {
        std::size_t pos;
        std::size_t nextLine;
        DxfTag tag;
        bool pushedBack;
    };
    Position position() const { return {m_pos, m_nextLine, m_tag, m_pushedBack}; }
    void seek(const Position& p)
    {
        m_pos = p.pos;
        m_nextLine = p.nextLine;
        m_tag = p.tag;
        m_pushedBack = p.pushedBack;
    }

    const DxfTag& tag() const { return m_tag; }
    int code() const { return m_tag.code; }
    std::string_view value() const { return m_tag.value; }
    std::size_t line() const { return m_tag.line; }
    // Line of the current value, which errors about the value name.
    std::size_t valueLine() const { return m_tag.line + 1; }

    // The current value converted; DxfError naming the value's line when it does not fit.
    double asDouble() const;
    std::int16_t asInt16() const;
    std::int32_t asInt32() const;
    std::int64_t asInt64() const;
    bool asBool() const;
    std::uint64_t asHandle() const;
    // The string value in UTF-8, escapes decoded.
    std::string asString() const;

    // Appends the current tag to a list of kept tags, checked against its code's type and in the
    // form to write back (strings in UTF-8, numbers trimmed).
    void appendTo(DxfTagList& list) const;

    // Raises DxfError about the current tag's value.
    [[noreturn]] void fail(const std::string& problem) const;

    DxfTextCodec& codec() { return m_codec; }
    const DxfTextCodec& codec() const { return m_codec; }
    std::size_t sizeBytes() const { return m_size; }

private:
    // Frees the text: delete[] for a copy, munmap for a mapped file.
    struct Release {
        bool mapped = false;
        std::size_t size = 0;
        void operator()(const char* p) const;
    };
    using Text = std::unique_ptr<const char, Release>;
    explicit DxfTagReader(Text text);
    static Text copyOf(std::string_view text);

    Text m_data;
    std::size_t m_size = 0;
    std::size_t m_pos = 0;      // offset of the next code line
    std::size_t m_nextLine = 1; // its line number
    bool m_pushedBack = false;
    DxfTag m_tag;
    DxfTextCodec m_codec;
};

} // namespace vantrel
