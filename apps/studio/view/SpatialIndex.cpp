// Placing boxes in the levels of the loose grid and taking them out again.
#include "view/SpatialIndex.h"

#include <algorithm>
#include <cmath>

namespace vantrel::studio {

SpatialIndex::SpatialIndex(const Box& bounds) : m_bounds(bounds)
{
    m_side = std::max(bounds.width(), bounds.height());
    // An empty or degenerate area still gets cells of some size.
    if (!(m_side > 0.0) || !std::isfinite(m_side))
        m_side = 1.0;
}

void SpatialIndex::insert(std::uint32_t value, const Box& box)
{
    if (contains(value))
        remove(value);
    if (value >= m_where.size()) {
        m_where.resize(value + 1);
        m_boxes.resize(value + 1, Box::nowhere());
    }
    m_boxes[value] = box;
    ++m_count;
    Where& where = m_where[value];
    const double cx = (box.x0 + box.x1) / 2.0, cy = (box.y0 + box.y1) / 2.0;
    const double u = (cx - m_bounds.x0) / m_side, v = (cy - m_bounds.y0) / m_side;
    if (!(u >= 0.0 && u < 1.0 && v >= 0.0 && v < 1.0)) {
        where.level = kOutside;
        where.position = static_cast<std::uint32_t>(m_outside.size());
        m_outside.push_back(value);
        return;
    }
    const double extent = std::max(box.width(), box.height());
    int level = 0;
    while (level + 1 < kLevels && cellSize(level + 1) >= extent)
        ++level;
    const auto n = static_cast<double>(cellsPerSide(level));
    where.level = static_cast<std::int8_t>(level);
    where.cell = cellKey(static_cast<std::int64_t>(u * n), static_cast<std::int64_t>(v * n));
    std::vector<std::uint32_t>& items = m_cells[level][where.cell];
    where.position = static_cast<std::uint32_t>(items.size());
    items.push_back(value);
}

bool SpatialIndex::remove(std::uint32_t value)
{
    if (!contains(value))
        return false;
    Where& where = m_where[value];
    std::vector<std::uint32_t>* items = &m_outside;
    Cells::iterator cell;
    if (where.level != kOutside) {
        cell = m_cells[where.level].find(where.cell);
        items = &cell->second;
    }
    // The last item takes the removed one's place.
    const std::uint32_t moved = items->back();
    (*items)[where.position] = moved;
    m_where[moved].position = where.position;
    items->pop_back();
    if (where.level != kOutside && items->empty())
        m_cells[where.level].erase(cell);
    where.level = kAbsent;
    m_boxes[value] = Box::nowhere();
    --m_count;
    return true;
}

} // namespace vantrel::studio
