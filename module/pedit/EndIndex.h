// The free ends of the objects Join may still take, so that the ends near a point, and how near
// the nearest is, are found without looking at every object: a k-d tree over both ends of each object,
// built once; an object's ends are taken out (and put back) as the join goes on, and the tree
// keeps counts of the ends still in each branch so that empty branches cost nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <vantrel/ge/OdGePoint3d.h>

namespace vantrel::pedit {

class EndIndex {
public:
    // One end of an object: the object's number (its place in the caller's list) and which end.
    struct End {
        OdGePoint3d point;
        std::uint32_t item = 0;
        bool atEnd = false;
    };

    explicit EndIndex(std::vector<End> ends);

    // Both ends of the object leave the index (nothing happens when they are out already), or
    // come back.
    void remove(std::uint32_t item);
    void restore(std::uint32_t item);

    // Every end in the index within `radius` of the point (the distance at most the radius).
    std::vector<End> within(const OdGePoint3d& point, double radius) const;

    // The distance from the point to the nearest end in the index; nothing when it is empty.
    std::optional<double> nearestDistance(const OdGePoint3d& point) const;

private:
    static constexpr std::uint32_t kNone = UINT32_MAX;
    // Branches of at most this many ends are searched end by end.
    static constexpr std::uint32_t kLeafSize = 8;

    struct Box {
        OdGePoint3d min, max;
        double squaredDistanceTo(const OdGePoint3d& p) const;
    };
    // A branch of the tree: the ends [lo, hi) of m_ends, its bounds and how many are in the index.
    struct Node {
        std::uint32_t lo = 0, hi = 0;
        Box box;
        std::uint32_t live = 0;
    };

    void build(std::uint32_t node, std::uint32_t lo, std::uint32_t hi);
    bool isLeaf(const Node& node) const { return node.hi - node.lo <= kLeafSize; }
    // Changes the count of ends in the index along the path to the end at `position`.
    void count(std::uint32_t position, int change);
    void withinNode(std::uint32_t node, const OdGePoint3d& point, double radius, std::vector<End>& found) const;
    void nearestInNode(std::uint32_t node, const OdGePoint3d& point, double& squaredDistance) const;

    // The ends in k-d order; node k has the children 2k and 2k + 1 (the root is 1).
    std::vector<End> m_ends;
    std::vector<Node> m_nodes;
    std::vector<bool> m_isLive;
    // Where each object's two ends are (kNone where an object has no end in the index).
    std::vector<std::uint32_t> m_positionOf;
};

} // namespace vantrel::pedit
