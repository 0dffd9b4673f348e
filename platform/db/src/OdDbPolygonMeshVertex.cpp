// Vertex of a polygon mesh: checked setters over its DXF fields.
#include <vantrel/db/OdDbPolygonMeshVertex.h>

#include "entity_math.h"

ODRX_DEFINE_MEMBERS(OdDbPolygonMeshVertex, OdDbVertex, "VERTEX")

OdDbPolygonMeshVertex::OdDbPolygonMeshVertex(const OdGePoint3d& position)
{
    vantrel::entmath::requireFinite(position, "a vertex position");
    m_data.position = position;
}

void OdDbPolygonMeshVertex::setPosition(const OdGePoint3d& position)
{
    vantrel::entmath::requireFinite(position, "a vertex position");
    assertWriteEnabled();
    m_data.position = position;
}

void OdDbPolygonMeshVertex::setVertexType(OdDb::Vertex3dType type)
{
    if (type != OdDb::k3dSimpleVertex && type != OdDb::k3dControlVertex && type != OdDb::k3dFitVertex)
        throw OdError(eInvalidInput, "unknown 3D vertex type");
    assertWriteEnabled();
    m_data.vertexType = type;
}
