// What selection asks of an entity's shape, seen from above (the XY plane): its distance from a
// picked point, and whether it lies inside or crosses a window. Curves answer the distance with
// their own closest point; everything else by the outline it draws.
#pragma once

#include <vector>

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/ge/OdGePoint2d.h>

namespace vantrel {

class EntityHitTest {
public:
    // A window by two opposite corners.
    struct Window {
        double xmin, ymin, xmax, ymax;
        Window(const OdGePoint2d& a, const OdGePoint2d& b);
        bool contains(const OdGePoint2d& p) const;
    };

    explicit EntityHitTest(const OdDbEntity& entity);

    // The XY distance from the point to the entity (0 inside a filled area); a very large
    // number for an entity that draws nothing.
    double distanceTo(const OdGePoint2d& point) const;
    // Everything the entity draws lies in the window (an entity that draws nothing does not).
    bool insideWindow(const Window& window) const;
    // Inside, or some part of it crosses the window.
    bool crossesWindow(const Window& window) const;

    struct Segment {
        OdGePoint2d a, b;
    };
    using Polygon = std::vector<OdGePoint2d>;

private:
    const OdDbEntity& m_entity;
    std::vector<Segment> m_segments;
    std::vector<Polygon> m_filled;
};

} // namespace vantrel
