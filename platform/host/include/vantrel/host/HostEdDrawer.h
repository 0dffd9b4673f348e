// What a tracker draws its preview with: the host's view of the drawing, which shows entities
// that are not in the drawing, drops them again, and knows the area that is visible.
#pragma once

#include <cstdint>

#include <vantrel/ge/OdGeExtents3d.h>
#include <vantrel/host/HostExport.h>

class OdDbEntity;

class VANTREL_HOST_EXPORT HostEdDrawer {
public:
    // Shows the entity (again, after it changed) until removeEntity. `style` and `flags` are
    // the tracker's (SolidTracker 1, 512); the last two arguments are 0 from every caller.
    virtual void addEntity(OdDbEntity* entity, std::int32_t style, std::uint32_t flags, std::int32_t reserved1,
                           std::int32_t reserved2)
        = 0;
    // The visible area of the view in world coordinates.
    virtual OdGeExtents3d viewExtents() const;
    virtual void removeEntity(OdDbEntity* entity) = 0;
    virtual ~HostEdDrawer();

    // Set by the front end (a window resize, a zoom, `!view`).
    void setViewExtents(const OdGeExtents3d& extents) { m_view = extents; }

private:
    OdGeExtents3d m_view{OdGePoint3d(0.0, 0.0, 0.0), OdGePoint3d(100.0, 100.0, 0.0)};
};
