// Handle to id lookup. Handles of a drawing are mostly small and dense, so they index a vector;
// the rare far-off handle goes to a hash map. Loading a large drawing then never rehashes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include <vantrel/db/OdDbStub.h>

namespace vantrel {

class HandleIndex {
public:
    OdDbStub* find(OdDbHandle handle) const
    {
        std::uint64_t h = handle.value();
        if (h < m_dense.size() && m_dense[h])
            return m_dense[h];
        if (m_sparse.empty())
            return nullptr;
        auto it = m_sparse.find(h);
        return it == m_sparse.end() ? nullptr : it->second;
    }

    void insert(OdDbHandle handle, OdDbStub* stub)
    {
        std::uint64_t h = handle.value();
        ++m_count;
        if (h < m_dense.size()) {
            m_dense[h] = stub;
        } else if (h < denseLimit()) {
            m_dense.resize(std::max<std::uint64_t>(h + 1, m_dense.size() * 2), nullptr);
            m_dense[h] = stub;
        } else {
            m_sparse.emplace(h, stub);
        }
    }

    std::size_t size() const { return m_count; }

    // Calls fn for every stub in ascending handle order.
    template <class Fn>
    void forEachInOrder(Fn&& fn) const
    {
        std::vector<std::pair<std::uint64_t, OdDbStub*>> far(m_sparse.begin(), m_sparse.end());
        std::sort(far.begin(), far.end());
        auto f = far.begin();
        for (std::uint64_t h = 0; h < m_dense.size(); ++h) {
            for (; f != far.end() && f->first < h; ++f)
                fn(f->second);
            if (m_dense[h])
                fn(m_dense[h]);
        }
        for (; f != far.end(); ++f)
            fn(f->second);
    }

private:
    // Dense storage may spend a few pointers per object on gaps, never more.
    std::uint64_t denseLimit() const { return std::max<std::uint64_t>(1u << 16, 4 * (m_count + 1)); }

    std::vector<OdDbStub*> m_dense;
    std::unordered_map<std::uint64_t, OdDbStub*> m_sparse;
    std::size_t m_count = 0;
};

} // namespace vantrel
