// 3D faces: corners, edge visibility and drawing of the visible edges.
#include <vantrel/db/OdDbFace.h>

#include "entity_math.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbFace, OdDbEntity, "3DFACE")

namespace {
std::size_t checkIndex(int index)
{
    if (index < 0 || index > 3)
        throw OdError_InvalidIndex();
    return static_cast<std::size_t>(index);
}
} // namespace

OdDbFace::OdDbFace(const OdGePoint3d& p0, const OdGePoint3d& p1, const OdGePoint3d& p2, const OdGePoint3d& p3)
{
    m_data.corners = {p0, p1, p2, p3};
    for (const auto& c : m_data.corners)
        requireFinite(c, "a corner");
}

void OdDbFace::getVertexAt(int index, OdGePoint3d& point) const
{
    const std::size_t i = checkIndex(index);
    assertReadEnabled();
    point = m_data.corners[i];
}

void OdDbFace::setVertexAt(int index, const OdGePoint3d& point)
{
    const std::size_t i = checkIndex(index);
    requireFinite(point, "a corner");
    assertWriteEnabled();
    m_data.corners[i] = point;
}

bool OdDbFace::isEdgeVisibleAt(int index) const
{
    const std::size_t i = checkIndex(index);
    assertReadEnabled();
    return !(m_data.invisibleEdges & (1 << i));
}

void OdDbFace::makeEdgeVisibleAt(int index)
{
    const std::size_t i = checkIndex(index);
    assertWriteEnabled();
    m_data.invisibleEdges = static_cast<std::int16_t>(m_data.invisibleEdges & ~(1 << i));
}

void OdDbFace::makeEdgeInvisibleAt(int index)
{
    const std::size_t i = checkIndex(index);
    assertWriteEnabled();
    m_data.invisibleEdges = static_cast<std::int16_t>(m_data.invisibleEdges | (1 << i));
}

void OdDbFace::checkData() const
{
    for (const auto& c : m_data.corners)
        requireFinite(c, "a corner");
}

void OdDbFace::transformBy(const OdGeMatrix3d& xform)
{
    requireInvertible(xform);
    assertWriteEnabled();
    for (auto& c : m_data.corners)
        c.transformBy(xform);
}

void OdDbFace::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    const auto& c = m_data.corners;
    // The edges' plane: any normal serves straight segments.
    const OdGeVector3d n = OdGeVector3d::kZAxis;
    for (std::size_t i = 0; i < 4; ++i) {
        const OdGePoint3d& a = c[i];
        const OdGePoint3d& b = c[(i + 1) % 4];
        if ((m_data.invisibleEdges & (1 << i)) || a.isEqualTo(b))
            continue;
        const vantrel::PathVertex edge[2] = {{a}, {b}};
        wd.path(edge, false, n);
    }
}
