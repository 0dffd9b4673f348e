// Finds what lies in the visible area without looking at the rest: a loose grid in levels, each
// box kept at the level whose cells are as large as it is, in the cell of its centre. A query
// looks only at the cells that can hold a box reaching into the area, unless there are so many of
// them that reading every box in turn is quicker (a view of much of the drawing). No Qt here.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

namespace vantrel::studio {

struct Box {
    double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;

    // A box that overlaps nothing.
    static constexpr Box nowhere()
    {
        constexpr double inf = std::numeric_limits<double>::infinity();
        return {inf, inf, -inf, -inf};
    }

    bool overlaps(const Box& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
    double width() const { return x1 - x0; }
    double height() const { return y1 - y0; }
};

class SpatialIndex {
public:
    static constexpr int kLevels = 12;
    // A cell looked up costs about as much as this many boxes read in turn.
    static constexpr double kBoxesPerCell = 8.0;

    // Boxes whose centre lies outside `bounds` are kept apart and tested on every query, so
    // bounds need not hold all that is ever added; a drawing that grows far beyond them is
    // better served by a new index.
    explicit SpatialIndex(const Box& bounds);

    // value is a small number chosen by the caller (a slot); each value is in the index once.
    void insert(std::uint32_t value, const Box& box);
    // Answers false when the value is not in the index.
    bool remove(std::uint32_t value);
    bool contains(std::uint32_t value) const { return value < m_where.size() && m_where[value].level != kAbsent; }
    std::size_t size() const { return m_count; }

    // Calls visit(value, box) for every box that overlaps the area, in no particular order.
    template <class Visit>
    void query(const Box& area, Visit&& visit) const
    {
        double cells = 0.0;
        for (int level = 0; level < kLevels; ++level)
            cells += cellsToLookUp(level, area);
        if (cells * kBoxesPerCell > static_cast<double>(m_boxes.size())) {
            // Boxes not in the index are nowhere, so every box can be read.
            for (std::uint32_t v = 0; v < m_boxes.size(); ++v)
                if (m_boxes[v].overlaps(area))
                    visit(v, m_boxes[v]);
            return;
        }
        for (std::uint32_t v : m_outside)
            if (m_boxes[v].overlaps(area))
                visit(v, m_boxes[v]);
        for (int level = 0; level < kLevels; ++level)
            queryLevel(level, area, visit);
    }

private:
    static constexpr std::int8_t kAbsent = -2;
    static constexpr std::int8_t kOutside = -1;

    struct Where {
        std::int8_t level = kAbsent;
        std::uint64_t cell = 0;
        std::uint32_t position = 0;
    };
    using Cells = std::unordered_map<std::uint64_t, std::vector<std::uint32_t>>;

    static std::uint64_t cellKey(std::int64_t i, std::int64_t j)
    {
        return (static_cast<std::uint64_t>(i) << 32) | static_cast<std::uint32_t>(j);
    }
    double cellSize(int level) const { return m_side / static_cast<double>(std::int64_t{1} << level); }
    std::int64_t cellsPerSide(int level) const { return std::int64_t{1} << level; }

    // The cells of a level that can hold boxes reaching into the area; empty when none can.
    struct CellRange {
        std::int64_t i0 = 0, i1 = -1, j0 = 0, j1 = -1;
        double count() const { return static_cast<double>(i1 - i0 + 1) * static_cast<double>(j1 - j0 + 1); }
    };
    CellRange cellsReaching(int level, const Box& area) const
    {
        const double size = cellSize(level);
        // A box may reach half a cell beyond its own cell.
        const double reach = size / 2.0;
        if (area.x1 + reach < m_bounds.x0 || area.y1 + reach < m_bounds.y0 || area.x0 - reach > m_bounds.x0 + m_side
            || area.y0 - reach > m_bounds.y0 + m_side)
            return {};
        const std::int64_t last = cellsPerSide(level) - 1;
        auto clampIndex = [last](double t) {
            return t < 0.0 ? std::int64_t{0} : t > static_cast<double>(last) ? last : static_cast<std::int64_t>(t);
        };
        return {clampIndex((area.x0 - reach - m_bounds.x0) / size), clampIndex((area.x1 + reach - m_bounds.x0) / size),
                clampIndex((area.y0 - reach - m_bounds.y0) / size), clampIndex((area.y1 + reach - m_bounds.y0) / size)};
    }
    // How many cells a query of the level looks at: those of the area, or all that are occupied
    // when they are fewer.
    double cellsToLookUp(int level, const Box& area) const
    {
        const Cells& cells = m_cells[level];
        return cells.empty() ? 0.0 : std::min(cellsReaching(level, area).count(), static_cast<double>(cells.size()));
    }

    template <class Visit>
    void queryLevel(int level, const Box& area, Visit& visit) const
    {
        const Cells& cells = m_cells[level];
        if (cells.empty())
            return;
        const auto [i0, i1, j0, j1] = cellsReaching(level, area);
        if (i1 < i0)
            return;
        auto visitCell = [&](const std::vector<std::uint32_t>& items) {
            for (std::uint32_t v : items)
                if (m_boxes[v].overlaps(area))
                    visit(v, m_boxes[v]);
        };
        const double wanted = static_cast<double>(i1 - i0 + 1) * static_cast<double>(j1 - j0 + 1);
        if (wanted > static_cast<double>(cells.size())) {
            // Fewer cells are occupied than the area covers: walk those.
            for (const auto& [key, items] : cells) {
                const auto i = static_cast<std::int64_t>(key >> 32);
                const auto j = static_cast<std::int64_t>(key & 0xFFFFFFFFu);
                if (i >= i0 && i <= i1 && j >= j0 && j <= j1)
                    visitCell(items);
            }
            return;
        }
        for (std::int64_t i = i0; i <= i1; ++i)
            for (std::int64_t j = j0; j <= j1; ++j)
                if (auto it = cells.find(cellKey(i, j)); it != cells.end())
                    visitCell(it->second);
    }

    Box m_bounds;
    double m_side;
    Cells m_cells[kLevels];
    std::vector<std::uint32_t> m_outside;
    std::vector<Box> m_boxes;
    std::vector<Where> m_where;
    std::size_t m_count = 0;
};

} // namespace vantrel::studio
