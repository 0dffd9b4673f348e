// A list of at most N items kept inside the object: root and candidate lists of the AD solver,
// whose sizes the degree of the equations bounds, so a solve allocates nothing.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <utility>

namespace vantrel {

template <class T, std::size_t N>
class FixedList {
public:
    static constexpr std::size_t kCapacity = N;

    template <class... Args>
    void emplace_back(Args&&... args)
    {
        assert(m_size < N && "more items than the equations allow");
        m_items[m_size++] = T(std::forward<Args>(args)...);
    }
    void push_back(const T& item) { emplace_back(item); }
    void clear() { m_size = 0; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    T& operator[](std::size_t i) { return m_items[i]; }
    const T& operator[](std::size_t i) const { return m_items[i]; }
    T* begin() { return m_items.data(); }
    T* end() { return m_items.data() + m_size; }
    const T* begin() const { return m_items.data(); }
    const T* end() const { return m_items.data() + m_size; }

private:
    std::array<T, N> m_items{};
    std::size_t m_size = 0;
};

} // namespace vantrel
