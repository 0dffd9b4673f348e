// The DXF tokenizer's file mapping, checked conversions and errors; its loop over the tags is
// inline in the header, because that loop decides how fast a drawing loads.
#include "DxfTagReader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "DxfBinary.h"
#include "DxfError.h"
#include "DxfTagList.h"
#include "background_prefault.h"
#include "dxf_values.h"

namespace vantrel {

namespace {

[[noreturn]] void fileError(const std::filesystem::path& path, int err)
{
    throw OdError(eFileError, "cannot read " + path.string() + ": " + std::strerror(err));
}

} // namespace

void DxfTagReader::Release::operator()(const char* p) const
{
    if (mapped)
        ::munmap(const_cast<char*>(p), size);
    else
        delete[] p;
}

// Mapping rather than reading spares a copy and, above all, the page faults of a fresh buffer
// as large as the file. A small file's cached pages are mapped in one go (MAP_POPULATE); a large
// one's on the other core, from its start, while this one reads what is already there.
DxfTagReader DxfTagReader::fromFile(const std::filesystem::path& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fileError(path, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        fileError(path, errno);
    if (!S_ISREG(st.st_mode))
        fileError(path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    auto size = static_cast<std::size_t>(st.st_size);
    if (size == 0)
        return DxfTagReader(std::string_view());
    const bool ahead = size >= BackgroundPrefault::kWorthAThread;
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | (ahead ? 0 : MAP_POPULATE), fd, 0);
    if (map == MAP_FAILED)
        fileError(path, errno);
    DxfTagReader reader(Text(static_cast<const char*>(map), Release{true, size}));
    // (A binary file has been read into text of its own by now, and its mapping let go.)
    if (reader.m_data.get() == map) {
        reader.m_releaseAt = kKeptBehind + kReleaseStep;
        if (ahead) {
            reader.m_prefault = std::make_unique<BackgroundPrefault>();
            reader.m_prefault->add(reader.m_data.get(), reader.m_data.get() + size, BackgroundPrefault::Access::Read);
        }
    }
    return reader;
}

// (The mapping starts on a page, and both the step and what is kept are whole pages.)
void DxfTagReader::releaseBehind()
{
    const std::size_t upTo = m_pos - kKeptBehind - (m_pos - kKeptBehind) % kReleaseStep;
    // A refusal only leaves the pages where they are.
    if (upTo > m_released
        && ::madvise(const_cast<char*>(m_data.get()) + m_released, upTo - m_released, MADV_DONTNEED) == 0)
        m_released = upTo;
    m_releaseAt = upTo + kKeptBehind + kReleaseStep;
}

DxfTagReader::DxfTagReader(DxfTagReader&&) noexcept = default;
DxfTagReader::~DxfTagReader() = default;

DxfTagReader::Text DxfTagReader::copyOf(std::string_view text)
{
    auto data = std::make_unique_for_overwrite<char[]>(text.size());
    if (!text.empty())
        std::memcpy(data.get(), text.data(), text.size());
    return DxfTagReader::Text(data.release(), {false, text.size()});
}

DxfTagReader::DxfTagReader(std::string_view text) : DxfTagReader(copyOf(text)) {}

DxfTagReader::DxfTagReader(Text text) : m_data(std::move(text)), m_size(m_data.get_deleter().size)
{
    std::string_view all(m_data.get(), m_size);
    if (isBinaryDxf(all)) {
        std::vector<std::size_t> offsets;
        const std::string ascii = binaryDxfToText(all, offsets);
        m_binaryTagOffsets = std::move(offsets);
        m_data = copyOf(ascii);
        m_size = ascii.size();
        return;
    }
    if (all.starts_with("\xEF\xBB\xBF"))
        m_pos = 3;
}

std::string DxfTagReader::placeOfLine(std::size_t line) const
{
    if (m_binaryTagOffsets.empty())
        return "line " + std::to_string(line);
    const std::size_t tag = std::min((line - 1) / 2, m_binaryTagOffsets.size() - 1);
    return "byte offset " + std::to_string(m_binaryTagOffsets[tag]);
}

void DxfTagReader::failCodeLine(const char* line, std::size_t number) const
{
    std::string_view text(line, static_cast<std::size_t>(lineEnd(line, m_data.get() + m_size) - line));
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    throw DxfError(number, "expected a group code, got " + quoteDxfValue(text));
}

void DxfTagReader::failCodeRange(int code, std::size_t number)
{
    throw DxfError(number,
                   "group code " + std::to_string(code) + " is outside the DXF range 0-"
                       + std::to_string(kMaxDxfGroupCode));
}

void DxfTagReader::failNoValue(int code, std::size_t number)
{
    throw DxfError(number, "group code " + std::to_string(code) + " has no value: the file ends");
}

std::int16_t DxfTagReader::asInt16() const { return parseDxfInt16(m_tag.value, m_tag.code, valueLine()); }

std::int32_t DxfTagReader::asInt32() const { return parseDxfInt32(m_tag.value, m_tag.code, valueLine()); }

std::int64_t DxfTagReader::asInt64() const { return parseDxfInt64(m_tag.value, m_tag.code, valueLine()); }

bool DxfTagReader::asBool() const { return parseDxfBool(m_tag.value, m_tag.code, valueLine()); }

std::uint64_t DxfTagReader::asHandle() const { return parseDxfHandle(m_tag.value, m_tag.code, valueLine()); }

std::string DxfTagReader::asString() const { return m_codec.decode(m_tag.value); }

void DxfTagReader::appendTo(DxfTagList& list) const
{
    // A kept value is not this system's to judge: one that is not of its code's type (a name
    // under a pointer code, nothing at all) stays the text it is, as other readers keep it.
    const DxfValueType type = dxfValueType(m_tag.code);
    if (!isDxfStringType(type) && isDxfValueOf(m_tag.value, type))
        list.append(m_tag.code, trimDxfBlanks(m_tag.value));
    else
        list.append(m_tag.code, m_codec.toUtf8(m_tag.value));
}

void DxfTagReader::fail(const std::string& problem) const { throw DxfError(valueLine(), problem); }

} // namespace vantrel
