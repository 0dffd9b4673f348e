// Vertex of a 3D polyline: checked setters over its DXF fields.
#include <vantrel/db/OdDb3dPolylineVertex.h>

#include "entity_math.h"

ODRX_DEFINE_MEMBERS(OdDb3dPolylineVertex, OdDbVertex, "VERTEX")

OdDb3dPolylineVertex::OdDb3dPolylineVertex(const OdGePoint3d& position)
{
    vantrel::entmath::requireFinite(position, "a vertex position");
    m_data.position = position;
}

void OdDb3dPolylineVertex::setPosition(const OdGePoint3d& position)
{
    vantrel::entmath::requireFinite(position, "a vertex position");
    assertWriteEnabled();
    m_data.position = position;
}

void OdDb3dPolylineVertex::setVertexIdentifier(std::int32_t identifier)
{
    assertWriteEnabled();
    m_data.identifier = identifier;
}

void OdDb3dPolylineVertex::setVertexType(OdDb::Vertex3dType type)
{
    if (type != OdDb::k3dSimpleVertex && type != OdDb::k3dControlVertex && type != OdDb::k3dFitVertex)
        throw OdError(eInvalidInput, "unknown 3D vertex type");
    assertWriteEnabled();
    m_data.vertexType = type;
}
