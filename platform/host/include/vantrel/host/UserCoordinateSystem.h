// The user coordinate system (UCS) of a command line: typed points, and the directions of picked
// ones, are read in it and handed to commands in world coordinates; picks land on its XY plane.
#pragma once

#include <optional>
#include <string_view>

#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT UserCoordinateSystem {
public:
    // UCS to world; the world system until set. The matrix must be a rigid motion (orthonormal
    // axes), so that distances are the same in both systems.
    const OdGeMatrix3d& toWorldMatrix() const { return m_toWorld; }
    void set(const OdGeMatrix3d& ucsToWorld);
    bool isWorld() const { return m_isWorld; }

    OdGePoint3d toWorld(const OdGePoint3d& inUcs) const { return OdGePoint3d(inUcs).transformBy(m_toWorld); }
    OdGePoint3d fromWorld(const OdGePoint3d& world) const { return OdGePoint3d(world).transformBy(m_fromWorld); }

    // A typed point as InputSyntax::parsePoint reads it, taken in this system: coordinates,
    // relative offsets and polar angles along its axes. Relative input starts from `from`, and
    // the answer is, in world coordinates.
    std::optional<OdGePoint3d> typedPoint(std::wstring_view text, const OdGePoint3d& from) const;
    // Where a cursor point of the top view lands on the XY plane: straight below or above it, or,
    // when the plane is seen nearly edge-on, its nearest point there.
    OdGePoint3d onPlane(const OdGePoint3d& cursor) const;

private:
    OdGeMatrix3d m_toWorld;
    OdGeMatrix3d m_fromWorld;
    bool m_isWorld = true;
};

} // namespace vantrel
