// What one entity draws, kept in world coordinates so that a frame can draw it again without
// opening the entity: the traits and primitives exactly as the entity gave them, played back in
// the same order to any WorldDraw. A list is made at the entity's first draw and dropped when the
// entity changes; nothing in it depends on the view.
#pragma once

#include <cstdint>
#include <vector>

#include <vantrel/db/WorldDraw.h>

namespace vantrel::studio {

class DisplayList final : public WorldDraw {
public:
    void replay(WorldDraw& to) const;
    bool empty() const { return m_ops.empty(); }
    // Gives back what the vectors hold beyond their contents, once the entity has drawn.
    void shrink();

    void setTraits(const DrawTraits& traits) override;
    void path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal) override;
    void polygon(std::span<const OdGePoint3d> corners, bool filled) override;
    void region(std::span<const std::vector<OdGePoint3d>> loops) override;
    void circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                     const OdGeVector3d& startVector, double sweepAngle) override;
    void ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                     double startAngle, double endAngle) override;
    void text(const TextRun& run) override;
    void marker(const OdGePoint3d& position, MarkerKind kind, double size) override;
    void markerPolyline(const OdGePoint3d& position, std::span<const OdGeVector3d> offsets, double size) override;

private:
    enum class Kind : std::uint8_t {
        Traits,
        Path,
        Polygon,
        Region,
        CircularArc,
        EllipticArc,
        Text,
        Marker,
        MarkerPolyline
    };
    // One call. Its values follow in the pools in the order of the calls, so playing back walks
    // each pool from the start: numbers (coordinates, sizes, angles, colour), path vertices, texts.
    struct Op {
        Kind kind;
        bool flag;               // closed, filled, dashes through vertices
        std::uint8_t extra;      // marker kind; a background fill
        std::uint32_t count = 0; // vertices, corners, loops, dashes or offsets
    };
    class Reader;

    void add(Kind kind, bool flag, std::uint8_t extra, std::size_t count);
    void put(double v) { m_numbers.push_back(v); }
    void put(const OdGePoint3d& p) { m_numbers.insert(m_numbers.end(), {p.x, p.y, p.z}); }
    void put(const OdGeVector3d& v) { m_numbers.insert(m_numbers.end(), {v.x, v.y, v.z}); }

    std::vector<Op> m_ops;
    std::vector<double> m_numbers;
    std::vector<PathVertex> m_vertices;
    std::vector<TextRun> m_texts;
};

} // namespace vantrel::studio
