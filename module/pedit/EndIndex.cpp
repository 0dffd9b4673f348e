// The k-d tree of Join's free ends: built by splitting each branch at the median of its widest
// extent down to small leaves, searched within a radius or for the nearest end (branches passed
// over when their bounds are farther than what is found).
#include "pedit/EndIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrel::pedit {

namespace {

double coordinate(const OdGePoint3d& p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

} // namespace

double EndIndex::Box::squaredDistanceTo(const OdGePoint3d& p) const
{
    auto gap = [](double v, double lo, double hi) { return v < lo ? lo - v : v > hi ? v - hi : 0.0; };
    const double dx = gap(p.x, min.x, max.x), dy = gap(p.y, min.y, max.y), dz = gap(p.z, min.z, max.z);
    return dx * dx + dy * dy + dz * dz;
}

EndIndex::EndIndex(std::vector<End> ends) : m_ends(std::move(ends)), m_isLive(m_ends.size(), true)
{
    // Halving down to leaves: a depth of log2(n / kLeafSize) + 1 at most.
    std::size_t nodes = 2;
    for (std::size_t size = m_ends.size(); size > kLeafSize; size = (size + 1) / 2)
        nodes *= 2;
    m_nodes.resize(nodes);
    if (!m_ends.empty())
        build(1, 0, static_cast<std::uint32_t>(m_ends.size()));
    std::uint32_t items = 0;
    for (const End& e : m_ends)
        items = std::max(items, e.item + 1);
    m_positionOf.assign(2 * static_cast<std::size_t>(items), kNone);
    for (std::uint32_t i = 0; i < m_ends.size(); ++i)
        m_positionOf[2 * static_cast<std::size_t>(m_ends[i].item) + (m_ends[i].atEnd ? 1 : 0)] = i;
}

void EndIndex::build(std::uint32_t node, std::uint32_t lo, std::uint32_t hi)
{
    Node& n = m_nodes[node];
    n.lo = lo;
    n.hi = hi;
    n.live = hi - lo;
    n.box = Box{m_ends[lo].point, m_ends[lo].point};
    for (std::uint32_t i = lo + 1; i < hi; ++i) {
        const OdGePoint3d& p = m_ends[i].point;
        n.box.min.set(std::min(n.box.min.x, p.x), std::min(n.box.min.y, p.y), std::min(n.box.min.z, p.z));
        n.box.max.set(std::max(n.box.max.x, p.x), std::max(n.box.max.y, p.y), std::max(n.box.max.z, p.z));
    }
    if (isLeaf(n))
        return;
    const OdGeVector3d extent = n.box.max - n.box.min;
    const int axis = extent.x >= extent.y && extent.x >= extent.z ? 0 : extent.y >= extent.z ? 1 : 2;
    const std::uint32_t mid = lo + (hi - lo) / 2;
    std::nth_element(
        m_ends.begin() + lo, m_ends.begin() + mid, m_ends.begin() + hi,
        [axis](const End& a, const End& b) { return coordinate(a.point, axis) < coordinate(b.point, axis); });
    build(2 * node, lo, mid);
    build(2 * node + 1, mid, hi);
}

void EndIndex::count(std::uint32_t position, int change)
{
    for (std::uint32_t node = 1;;) {
        Node& n = m_nodes[node];
        n.live = static_cast<std::uint32_t>(static_cast<int>(n.live) + change);
        if (isLeaf(n))
            return;
        node = 2 * node + (position < n.lo + (n.hi - n.lo) / 2 ? 0 : 1);
    }
}

void EndIndex::remove(std::uint32_t item)
{
    for (int end = 0; end < 2; ++end) {
        const std::size_t slot = 2 * static_cast<std::size_t>(item) + static_cast<std::size_t>(end);
        if (slot >= m_positionOf.size() || m_positionOf[slot] == kNone || !m_isLive[m_positionOf[slot]])
            continue;
        m_isLive[m_positionOf[slot]] = false;
        count(m_positionOf[slot], -1);
    }
}

void EndIndex::restore(std::uint32_t item)
{
    for (int end = 0; end < 2; ++end) {
        const std::size_t slot = 2 * static_cast<std::size_t>(item) + static_cast<std::size_t>(end);
        if (slot >= m_positionOf.size() || m_positionOf[slot] == kNone || m_isLive[m_positionOf[slot]])
            continue;
        m_isLive[m_positionOf[slot]] = true;
        count(m_positionOf[slot], +1);
    }
}

std::vector<EndIndex::End> EndIndex::within(const OdGePoint3d& point, double radius) const
{
    std::vector<End> found;
    if (!m_ends.empty())
        withinNode(1, point, radius, found);
    return found;
}

void EndIndex::withinNode(std::uint32_t node, const OdGePoint3d& point, double radius, std::vector<End>& found) const
{
    const Node& n = m_nodes[node];
    if (n.live == 0 || n.box.squaredDistanceTo(point) > radius * radius)
        return;
    if (!isLeaf(n)) {
        withinNode(2 * node, point, radius, found);
        withinNode(2 * node + 1, point, radius, found);
        return;
    }
    for (std::uint32_t i = n.lo; i < n.hi; ++i)
        if (m_isLive[i] && m_ends[i].point.distanceTo(point) <= radius)
            found.push_back(m_ends[i]);
}

std::optional<double> EndIndex::nearestDistance(const OdGePoint3d& point) const
{
    double squared = std::numeric_limits<double>::infinity();
    if (!m_ends.empty())
        nearestInNode(1, point, squared);
    if (squared == std::numeric_limits<double>::infinity())
        return std::nullopt;
    return std::sqrt(squared);
}

void EndIndex::nearestInNode(std::uint32_t node, const OdGePoint3d& point, double& squaredDistance) const
{
    const Node& n = m_nodes[node];
    if (n.live == 0 || n.box.squaredDistanceTo(point) > squaredDistance)
        return;
    if (isLeaf(n)) {
        for (std::uint32_t i = n.lo; i < n.hi; ++i)
            if (m_isLive[i])
                squaredDistance = std::min(squaredDistance, m_ends[i].point.distanceSqrdTo(point));
        return;
    }
    // The nearer branch first, so that the farther one is often passed over.
    std::uint32_t nearer = 2 * node, farther = 2 * node + 1;
    if (m_nodes[farther].box.squaredDistanceTo(point) < m_nodes[nearer].box.squaredDistanceTo(point))
        std::swap(nearer, farther);
    nearestInNode(nearer, point, squaredDistance);
    nearestInNode(farther, point, squaredDistance);
}

} // namespace vantrel::pedit
