// Kept DXF tags: appends copy into the arena; equality compares codes and text in order.
#include "DxfTagList.h"

#include <algorithm>
#include <limits>

#include <vantrel/db/OdError.h>

namespace vantrel {

void DxfTagList::append(int code, std::string_view value)
{
    if (value.size() > std::numeric_limits<std::uint32_t>::max())
        throw OdError(eInvalidInput, "DXF value of more than 4 GB");
    m_entries.push_back({code, static_cast<std::uint32_t>(value.size()), m_arena.size()});
    m_arena += value;
}

void DxfTagList::append(const DxfTagList& other)
{
    const std::size_t count = other.m_entries.size(); // other may be this list
    const std::size_t shift = m_arena.size();
    m_entries.reserve(m_entries.size() + count);
    for (std::size_t i = 0; i < count; ++i) {
        Entry e = other.m_entries[i];
        e.offset += shift;
        m_entries.push_back(e);
    }
    m_arena += other.m_arena;
}

void DxfTagList::clear()
{
    m_entries.clear();
    m_arena.clear();
}

std::size_t DxfTagList::find(int code, std::size_t from) const
{
    for (std::size_t i = from; i < m_entries.size(); ++i)
        if (m_entries[i].code == code)
            return i;
    return m_entries.size();
}

bool operator==(const DxfTagList& a, const DxfTagList& b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }

} // namespace vantrel
