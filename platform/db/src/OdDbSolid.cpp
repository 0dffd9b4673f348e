// Solid entity: four corners kept in the OCS of the normal, drawn as one filled polygon.
#include <vantrel/db/OdDbSolid.h>

#include "entity_math.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbSolid, OdDbEntity, "SOLID")

namespace {
void checkIndex(int index)
{
    if (index < 0 || index > 3)
        throw OdError_InvalidIndex();
}
} // namespace

OdDbSolid::OdDbSolid(const OdGePoint3d& p0, const OdGePoint3d& p1, const OdGePoint3d& p2, const OdGePoint3d& p3)
{
    const std::array<OdGePoint3d, 4> corners{p0, p1, p2, p3};
    for (std::size_t i = 0; i < 4; ++i) {
        requireFinite(corners[i], "a corner");
        m_data.ocsCorners[i] = toOcs(m_data.normal, corners[i]);
    }
}

OdDbSolid::OdDbSolid(const OdGePoint3d& p0, const OdGePoint3d& p1, const OdGePoint3d& p2) : OdDbSolid(p0, p1, p2, p2) {}

void OdDbSolid::getPointAt(int index, OdGePoint3d& point) const
{
    checkIndex(index);
    assertReadEnabled();
    point = toWorld(m_data.normal, m_data.ocsCorners[static_cast<std::size_t>(index)]);
}

void OdDbSolid::setPointAt(int index, const OdGePoint3d& point)
{
    checkIndex(index);
    requireFinite(point, "a corner");
    assertWriteEnabled();
    m_data.ocsCorners[static_cast<std::size_t>(index)] = toOcs(m_data.normal, point);
}

void OdDbSolid::setThickness(double thickness)
{
    requireFinite(thickness, "a thickness");
    assertWriteEnabled();
    m_data.thickness = thickness;
}

void OdDbSolid::setNormal(const OdGeVector3d& normal)
{
    const OdGeVector3d n = unitNormal(normal);
    assertWriteEnabled();
    for (auto& c : m_data.ocsCorners)
        c = toOcs(n, toWorld(m_data.normal, c));
    m_data.normal = n;
}

void OdDbSolid::transformBy(const OdGeMatrix3d& xform)
{
    requireInvertible(xform);
    const Extrusion e = transformExtrusion(xform, m_data.normal, m_data.thickness);
    assertWriteEnabled();
    for (auto& c : m_data.ocsCorners) {
        OdGePoint3d w = toWorld(m_data.normal, c);
        w.transformBy(xform);
        c = toOcs(e.normal, w);
    }
    m_data.normal = e.normal;
    m_data.thickness = e.thickness;
}

void OdDbSolid::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    const auto& c = m_data.ocsCorners;
    std::array<OdGePoint3d, 4> outline{toWorld(m_data.normal, c[0]), toWorld(m_data.normal, c[1]),
                                       toWorld(m_data.normal, c[3]), toWorld(m_data.normal, c[2])};
    wd.polygon(outline, true);
    if (m_data.thickness != 0.0) {
        for (auto& p : outline)
            p += m_data.normal * m_data.thickness;
        wd.polygon(outline, true);
    }
}
