// Object snaps: the end points, midpoints and centres of what entities draw, learnt through the
// world-draw interface so that every kind of entity offers its points without knowing of snaps.
// No Qt here.
#pragma once

#include <optional>
#include <vector>

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/WorldDraw.h>

namespace vantrel::studio {

enum class SnapKind { End, Mid, Center };

struct SnapPoint {
    OdGePoint3d point;
    SnapKind kind;
};

// Collects the snap points of the primitives drawn into it.
class SnapCollector : public WorldDraw {
public:
    const std::vector<SnapPoint>& points() const { return m_points; }

    void setTraits(const DrawTraits&) override {}
    void path(std::span<const PathVertex> vertices, bool closed, const OdGeVector3d& normal) override;
    void polygon(std::span<const OdGePoint3d> corners, bool filled) override;
    void circularArc(const OdGePoint3d& center, double radius, const OdGeVector3d& normal,
                     const OdGeVector3d& startVector, double sweepAngle) override;
    void ellipticArc(const OdGePoint3d& center, const OdGeVector3d& majorAxis, const OdGeVector3d& minorAxis,
                     double startAngle, double endAngle) override;
    void region(std::span<const std::vector<OdGePoint3d>> loops) override;
    void text(const TextRun& run) override;
    void marker(const OdGePoint3d& position, MarkerKind, double) override;
    void markerPolyline(const OdGePoint3d&, std::span<const OdGeVector3d>, double) override {}

private:
    void add(const OdGePoint3d& p, SnapKind kind) { m_points.push_back({p, kind}); }
    std::vector<SnapPoint> m_points;
};

// The snap point of the entities nearest to `at` in the XY plane within `reach`; ends win over
// midpoints and centres at the same distance.
std::optional<SnapPoint> nearestSnap(const std::vector<OdDbEntityPtr>& entities, const OdGePoint3d& at, double reach);

} // namespace vantrel::studio
