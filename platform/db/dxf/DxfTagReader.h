// Reads a DXF file as a sequence of (group code, value) tags over one in-memory buffer;
// values are views into that buffer and are converted, with checks, only when asked for.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DxfTextCodec.h"
#include "dxf_values.h"

#include <vantrel/db/OdDbExport.h>

namespace vantrel {

class BackgroundPrefault;
class DxfTagList;

struct VANTREL_DB_FOR_TESTS DxfTag {
    int code = 0;
    std::string_view value; // without the line end; blanks kept
    std::size_t line = 0;   // 1-based line of the group code
};

class VANTREL_DB_FOR_TESTS DxfTagReader {
public:
    // Maps the whole file into memory; OdError(eFileError) naming the path when it cannot be read.
    static DxfTagReader fromFile(const std::filesystem::path& path);
    // Reads from a copy of text.
    explicit DxfTagReader(std::string_view text);
    DxfTagReader(DxfTagReader&&) noexcept;
    DxfTagReader& operator=(DxfTagReader&&) = delete;
    ~DxfTagReader();

    // Moves to the next tag, skipping 999 comments. False at the end of the text. A code line
    // that is not a group code, or a code without its value line, raises DxfError.
    // Inline, as it runs for every tag of a drawing.
    bool next();
    // Makes the next call of next() return the current tag again.
    void pushBack() { m_pushedBack = true; }

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
    double asDouble() const
    {
        double value;
        return parsePlainDxfDecimal(m_tag.value, value) ? value
                                                        : parseDxfDoubleNotPlain(m_tag.value, m_tag.code, valueLine());
    }
    std::int16_t asInt16() const;
    std::int32_t asInt32() const;
    std::int64_t asInt64() const;
    bool asBool() const;
    std::uint64_t asHandle() const;
    // The string value in UTF-8, escapes decoded.
    std::string asString() const;
    // The same as a view: of the text itself when it needs no conversion, else of scratch.
    std::string_view asText(std::string& scratch) const { return m_codec.decode(m_tag.value, scratch); }

    // Appends the current tag to a list of kept tags in the form to write back: a value of its
    // code's type trimmed, anything else (strings, and whatever a code holds that is not of its
    // type) as UTF-8 text.
    void appendTo(DxfTagList& list) const;

    // Raises DxfError about the current tag's value.
    [[noreturn]] void fail(const std::string& problem) const;

    // Where a line of the text is in the file: the line itself, or for a binary file (read as
    // the ASCII text it stands for) the byte offset of its tag.
    std::string placeOfLine(std::size_t line) const;
    bool isBinary() const { return !m_binaryTagOffsets.empty(); }

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
    // The first '\n' at or after p, or end.
    static const char* lineEnd(const char* p, const char* end);
    // The code of the line at p when it is written right-justified in three columns, else -1.
    static int columnCode(const char* p, const char* end);
    // The code of any other code line at p, read as it is scanned; leaves q at its line end.
    int scannedCode(const char* p, const char* end, std::size_t number, const char*& q) const;
    [[noreturn]] void failCodeLine(const char* line, std::size_t number) const;
    [[noreturn]] static void failCodeRange(int code, std::size_t number);
    [[noreturn]] static void failNoValue(int code, std::size_t number);
    // Lets the pages of a mapped file read more than kKeptBehind ago go from memory.
    void releaseBehind();

    Text m_data;
    // Maps a large file's pages ahead of the reading; after m_data, so that it stops first.
    std::unique_ptr<BackgroundPrefault> m_prefault;
    std::size_t m_size = 0;
    std::size_t m_pos = 0;      // offset of the next code line
    std::size_t m_nextLine = 1; // its line number
    // Of a mapped file, the pages already read are let go in steps as the reading moves on: the
    // file keeps them, so looking back costs only reading them again, and a large drawing is not
    // held in memory twice, as text and as objects.
    static constexpr std::size_t kKeptBehind = std::size_t(1) << 20;
    static constexpr std::size_t kReleaseStep = std::size_t(1) << 20;
    std::size_t m_released = 0;                                        // bytes let go from the start
    std::size_t m_releaseAt = std::numeric_limits<std::size_t>::max(); // reading position to let more go at
    bool m_pushedBack = false;
    DxfTag m_tag;
    DxfTextCodec m_codec;
    std::vector<std::size_t> m_binaryTagOffsets; // of a binary file: each tag's byte offset
};

// Most lines are a few bytes long: they are scanned eight bytes at a time, long ones left to memchr.
inline const char* DxfTagReader::lineEnd(const char* p, const char* end)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    for (int words = 0; words < 4 && end - p >= 8; ++words, p += 8) {
        std::uint64_t w;
        std::memcpy(&w, p, 8);
        w ^= kOnes * '\n';
        // The lowest byte of w that is zero (a '\n') sets the lowest bit of found.
        const std::uint64_t found = (w - kOnes) & ~w & (kOnes * 0x80);
        if (found)
            return p + (std::countr_zero(found) >> 3);
    }
    if (end - p >= 8) {
        auto* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        return nl ? nl : end;
    }
    while (p < end && *p != '\n')
        ++p;
    return p;
}

// Codes are mostly written right-justified in three columns ("  8", " 10", "330") and taken so at
// a glance.
[[gnu::always_inline]] inline int DxfTagReader::columnCode(const char* p, const char* end)
{
    if (end - p <= 4 || p[3] != '\n')
        return -1;
    const unsigned d0 = static_cast<unsigned>(p[0] - '0');
    const unsigned d1 = static_cast<unsigned>(p[1] - '0');
    const unsigned d2 = static_cast<unsigned>(p[2] - '0');
    if (d2 >= 10)
        return -1;
    if (d1 < 10 && d0 < 10)
        return static_cast<int>(d0 * 100 + d1 * 10 + d2);
    if (d1 < 10 && p[0] == ' ')
        return static_cast<int>(d1 * 10 + d2);
    if (p[1] == ' ' && p[0] == ' ')
        return static_cast<int>(d2);
    return -1;
}

// Blanks, digits, blanks, then the line end, which must be followed by a value line.
inline int DxfTagReader::scannedCode(const char* p, const char* end, std::size_t number, const char*& q) const
{
    q = p;
    while (q < end && (*q == ' ' || *q == '\t'))
        ++q;
    const char* const digits = q;
    int code = 0;
    while (q < end && static_cast<unsigned>(*q - '0') < 10 && q - digits < 5)
        code = code * 10 + (*q++ - '0');
    const bool anyDigit = q > digits;
    while (q < end && (*q == ' ' || *q == '\t' || *q == '\r'))
        ++q;
    if (!anyDigit || (q < end && *q != '\n')) [[unlikely]]
        failCodeLine(p, number);
    if (code > kMaxDxfGroupCode) [[unlikely]]
        failCodeRange(code, number);
    if (q >= end - 1) [[unlikely]]
        failNoValue(code, number);
    return code;
}

[[gnu::always_inline]] inline bool DxfTagReader::next()
{
    if (m_pushedBack) {
        m_pushedBack = false;
        return true;
    }
    if (m_pos >= m_releaseAt) [[unlikely]]
        releaseBehind();
    const char* const base = m_data.get();
    const char* const end = base + m_size;
    for (;;) {
        const char* p = base + m_pos;
        if (p == end)
            return false;
        const std::size_t codeLine = m_nextLine;

        const char* q = p + 3;
        int code = columnCode(p, end);
        if (code < 0)
            code = scannedCode(p, end, codeLine, q);

        const char* const v = q + 1;
        const char* vEnd = lineEnd(v, end);
        m_pos = vEnd < end ? static_cast<std::size_t>(vEnd + 1 - base) : m_size;
        m_nextLine = codeLine + 2;
        // Every carriage return before the newline ends the line (a file converted twice has
        // two), so a value never ends in one and reads back as it is written.
        while (vEnd > v && vEnd[-1] == '\r')
            --vEnd;
        if (code == 999)
            continue;
        m_tag.code = code;
        m_tag.value = std::string_view(v, static_cast<std::size_t>(vEnd - v));
        m_tag.line = codeLine;
        return true;
    }
}

} // namespace vantrel
