// Leaders: vertices, arrowhead and drawing.
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbLeader.h>

#include <algorithm>

#include "entity_math.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDbLeader, OdDbEntity, "LEADER")

OdGePoint3d OdDbLeader::vertexAt(int index) const
{
    assertReadEnabled();
    if (index < 0 || index >= static_cast<int>(m_data.vertices.size()))
        throw OdError_InvalidIndex();
    return m_data.vertices[static_cast<std::size_t>(index)];
}

void OdDbLeader::appendVertex(const OdGePoint3d& point)
{
    requireFinite(point, "a vertex");
    assertWriteEnabled();
    m_data.vertices.push_back(point);
}

void OdDbLeader::enableArrowHead()
{
    assertWriteEnabled();
    m_data.hasArrowHead = true;
}

void OdDbLeader::disableArrowHead()
{
    assertWriteEnabled();
    m_data.hasArrowHead = false;
}

void OdDbLeader::checkData() const
{
    for (const OdGePoint3d& p : m_data.vertices)
        requireFinite(p, "a vertex");
    unitNormal(m_data.normal);
}

double OdDbLeader::arrowSize() const
{
    assertReadEnabled();
    OdDbDatabase* db = database();
    const bool metric = !db || db->sysVarInt(L"MEASUREMENT") != 0;
    double scale = db ? db->getDIMSCALE() : 1.0;
    if (!(scale > 0.0))
        scale = 1.0;
    double size = (metric ? 2.5 : 0.18) * scale;
    if (m_data.vertices.size() >= 2)
        size = std::min(size, m_data.vertices[0].distanceTo(m_data.vertices[1]));
    return size;
}

void OdDbLeader::transformBy(const OdGeMatrix3d& xform)
{
    requireInvertible(xform);
    const Extrusion e = transformExtrusion(xform, m_data.normal, 0.0);
    assertWriteEnabled();
    for (OdGePoint3d& p : m_data.vertices)
        p.transformBy(xform);
    m_data.normal = e.normal;
}

void OdDbLeader::subWorldDraw(vantrel::WorldDraw& wd) const
{
    assertReadEnabled();
    const auto& v = m_data.vertices;
    if (v.size() < 2)
        return;
    std::vector<vantrel::PathVertex> path;
    path.reserve(v.size());
    for (const OdGePoint3d& p : v)
        path.push_back({p});
    wd.path(path, false, m_data.normal);
    const OdGeVector3d along = v[1] - v[0];
    if (!m_data.hasArrowHead || along.isZeroLength())
        return;
    const double size = arrowSize();
    const OdGeVector3d dir = along.normal();
    const OdGeVector3d side = m_data.normal.crossProduct(dir).normal() * (size / 6.0);
    const OdGePoint3d back = v[0] + dir * size;
    const OdGePoint3d head[3] = {v[0], back + side, back - side};
    wd.polygon(head, true);
}
