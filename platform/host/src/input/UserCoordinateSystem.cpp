// Reading typed points in the UCS and placing picks on its XY plane.
#include <vantrel/host/UserCoordinateSystem.h>

#include <cmath>

#include <vantrel/host/InputSyntax.h>

namespace vantrel {

namespace {
// Below this cosine between the plane's normal and the view direction the plane is seen too
// nearly edge-on for a point straight below the cursor: it would lie far off.
constexpr double kEdgeOn = 1e-3;
} // namespace

void UserCoordinateSystem::set(const OdGeMatrix3d& ucsToWorld)
{
    m_toWorld = ucsToWorld;
    m_fromWorld = ucsToWorld.inverse();
    m_isWorld = ucsToWorld == OdGeMatrix3d::kIdentity;
}

std::optional<OdGePoint3d> UserCoordinateSystem::typedPoint(std::wstring_view text, const OdGePoint3d& from) const
{
    // Relative input is read as an offset along the axes and added to `from` in world
    // coordinates, so that `@` gives `from` exactly.
    const std::wstring_view trimmed = InputSyntax::trim(text);
    const bool relative = !trimmed.empty() && trimmed.front() == L'@';
    std::optional<OdGePoint3d> p = InputSyntax::parsePoint(trimmed, OdGePoint3d::kOrigin);
    if (!p)
        return std::nullopt;
    if (relative)
        return from + (*p - OdGePoint3d::kOrigin).transformBy(m_toWorld);
    return toWorld(*p);
}

OdGePoint3d UserCoordinateSystem::onPlane(const OdGePoint3d& cursor) const
{
    const OdGePoint3d origin = toWorld(OdGePoint3d::kOrigin);
    const OdGeVector3d normal = (toWorld(OdGePoint3d(0.0, 0.0, 1.0)) - origin).normal();
    const double height = normal.dotProduct(cursor - origin);
    const double facing = normal.z; // the view looks along the world Z axis
    if (std::fabs(facing) >= kEdgeOn)
        return cursor - OdGeVector3d::kZAxis * (height / facing);
    return cursor - normal * height;
}

} // namespace vantrel
