// Tags kept verbatim for writing back: the parts of a drawing no class models (unknown entities,
// objects, header variables, stray codes), in file order, with all value text in one arena.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <vantrel/db/OdDbExport.h>

namespace vantrel {

class VANTREL_DB_FOR_TESTS DxfTagList {
public:
    struct Tag {
        int code;
        std::string_view value; // text as written to a UTF-8 file
        friend bool operator==(const Tag&, const Tag&) = default;
    };

    class Iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Tag;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Tag;

        Iterator() = default;
        Tag operator*() const { return (*m_list)[m_index]; }
        Iterator& operator++()
        {
            ++m_index;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator old = *this;
            ++m_index;
            return old;
        }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.m_index == b.m_index; }

    private:
        friend class DxfTagList;
        Iterator(const DxfTagList* list, std::size_t index) : m_list(list), m_index(index) {}
        const DxfTagList* m_list = nullptr;
        std::size_t m_index = 0;
    };

    // The value is copied: a list never refers to the buffer it was read from.
    void append(int code, std::string_view value);
    void append(const DxfTagList& other);
    void clear();

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    Tag operator[](std::size_t i) const
    {
        const Entry& e = m_entries[i];
        return {e.code, std::string_view(m_arena).substr(e.offset, e.length)};
    }
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, m_entries.size()}; }

    // Index of the first tag with this code at or after `from`, or size().
    std::size_t find(int code, std::size_t from = 0) const;

    friend VANTREL_DB_FOR_TESTS bool operator==(const DxfTagList& a, const DxfTagList& b);

private:
    struct Entry {
        std::int32_t code;
        std::uint32_t length;
        std::size_t offset;
    };
    std::vector<Entry> m_entries;
    std::string m_arena;
};

} // namespace vantrel
