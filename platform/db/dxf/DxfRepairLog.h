// What the reader repaired while reading a drawing, counted per kind, so that a user is told of
// every repair in one line per kind instead of the drawing changing silently.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace vantrel {

class DxfRepairLog {
public:
    // Counts one repair of a kind: `what` says what was found and done ("draw-order entries
    // that name no entity dropped"), the same text for every repair of the kind.
    void note(const char* what, std::size_t count = 1)
    {
        for (auto& [kind, n] : m_kinds)
            if (kind == what) {
                n += count;
                return;
            }
        m_kinds.emplace_back(what, count);
    }

    // One line per kind, in the order first met: "what (N)".
    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        for (const auto& [kind, n] : m_kinds)
            out.push_back(std::string(kind) + " (" + std::to_string(n) + ")");
        return out;
    }

private:
    std::vector<std::pair<const char*, std::size_t>> m_kinds;
};

} // namespace vantrel
