// The WorldDraw through which a block's entities draw themselves where an insert places them:
// every primitive is carried by the insert's transformation to the sink, and the entities find
// here the properties by-block values resolve to and the blocks being drawn around them.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include <vantrel/db/WorldDraw.h>
#include <vantrel/ge/OdGeMatrix3d.h>

#include "display_props.h"

namespace vantrel {

// A sink seen through an affine transformation. Circles and arcs stay circular where the
// transformation keeps their plane's axes perpendicular and equally long; elsewhere they become
// elliptic arcs.
class TransformedDraw : public WorldDraw {
public:
    TransformedDraw(WorldDraw& target, const OdGeMatrix3d& xform);

    WorldDraw& target() const { return m_target; }
    const OdGeMatrix3d& transform() const { return m_xform; }

    void setTraits(const DrawTraits& traits) override { m_target.setTraits(traits); }
    void path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal) override;
    void polygon(std::span<const OdGePoint3d> corners, bool filled) override;
    void circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                     const OdGeVector3d& startVector, double sweepAngle) override;
    void ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                     double startAngle, double endAngle) override;
    void region(std::span<const std::vector<OdGePoint3d>> loops) override;
    void text(const TextRun& run) override;
    void marker(const OdGePoint3d& position, MarkerKind kind, double size) override;
    void markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size) override;

private:
    OdGePoint3d point(const OdGePoint3d& p) const;
    OdGeVector3d vector(const OdGeVector3d& v) const;
    // The normal of the plane that the plane of `normal` becomes, keeping its sense of turning.
    OdGeVector3d planeNormal(const OdGeVector3d& normal) const;
    // An arc center + u cos t + v sin t, t from start to end, carried over as an elliptic arc.
    void conjugateArc(const OdGePoint3d& center, const OdGeVector3d& u, const OdGeVector3d& v, double start,
                      double end);

    WorldDraw& m_target;
    OdGeMatrix3d m_xform;
    double m_scale; // the mean length scale, for markers
};

// What the drawing of one outermost insert shares over its whole nest of blocks.
struct BlockNest {
    // Entities drawn inside blocks before the rest are left out, so that arrays of nested
    // arrays cannot keep the drawing busy for hours.
    static constexpr std::size_t kMaxDraws = 250'000;
    // Blocks inside blocks deeper than this are left out, as no drawing needs them.
    static constexpr std::size_t kMaxDepth = 64;

    std::size_t drawsLeft = kMaxDraws;
    std::vector<OdDbObjectId> blocks; // the blocks being drawn, outermost first
};

class BlockDraw : public TransformedDraw {
public:
    BlockDraw(WorldDraw& target, const OdGeMatrix3d& xform, const ResolvedProps& props, BlockNest& nest)
        : TransformedDraw(target, xform), m_props(props), m_nest(nest)
    {
    }
    const ResolvedProps& props() const { return m_props; }
    BlockNest& nest() const { return m_nest; }

private:
    ResolvedProps m_props;
    BlockNest& m_nest;
};

// Draws the entities of a block once per placement i < count (block coordinates to the coordinates of wd)
// with by-block values taken from `reference`, the insert or dimension. A block that is already
// being drawn further out (one that inserts itself) is not drawn again. Answers false when the
// block was left out for that reason or for the nest's limits.
// Each placement counts against the nest's limit like an entity, so that a vast array of an
// empty block ends too.
bool drawBlock(WorldDraw& wd, OdDbObjectId block, std::size_t count,
               const std::function<OdGeMatrix3d(std::size_t)>& placement, const OdDbEntity& reference);

// Draws entities that belong to `reference` (an insert's attributes) as the block's entities
// are drawn, with its by-block values.
void drawOwned(WorldDraw& wd, std::span<const OdDbEntity* const> entities, const OdDbEntity& reference);

} // namespace vantrel
