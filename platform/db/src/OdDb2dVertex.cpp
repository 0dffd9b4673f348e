// Vertex of a 2D polyline: checked setters over its DXF fields.
#include <vantrel/db/OdDb2dVertex.h>

#include "entity_math.h"

using namespace vantrel::entmath;

ODRX_DEFINE_MEMBERS(OdDb2dVertex, OdDbVertex, "VERTEX")

OdDb2dVertex::OdDb2dVertex(const OdGePoint3d& position, double bulge, double startWidth, double endWidth)
{
    requireFinite(position, "a vertex position");
    requireFinite(bulge, "a bulge");
    requireWidth(startWidth);
    requireWidth(endWidth);
    m_data.position = position;
    m_data.bulge = bulge;
    m_data.startWidth = startWidth;
    m_data.endWidth = endWidth;
}

void OdDb2dVertex::setPosition(const OdGePoint3d& position)
{
    requireFinite(position, "a vertex position");
    assertWriteEnabled();
    m_data.position = position;
}

void OdDb2dVertex::setBulge(double bulge)
{
    requireFinite(bulge, "a bulge");
    assertWriteEnabled();
    m_data.bulge = bulge;
}

void OdDb2dVertex::setStartWidth(double width)
{
    requireWidth(width);
    assertWriteEnabled();
    m_data.startWidth = width;
}

void OdDb2dVertex::setEndWidth(double width)
{
    requireWidth(width);
    assertWriteEnabled();
    m_data.endWidth = width;
}

void OdDb2dVertex::setTangent(double angle)
{
    requireFinite(angle, "a tangent");
    assertWriteEnabled();
    m_data.tangent = angle;
}

void OdDb2dVertex::useTangent()
{
    assertWriteEnabled();
    m_data.tangentUsed = true;
}

void OdDb2dVertex::ignoreTangent()
{
    assertWriteEnabled();
    m_data.tangentUsed = false;
}

void OdDb2dVertex::setVertexType(OdDb::Vertex2dType type)
{
    switch (type) {
    case OdDb::k2dVertex:
    case OdDb::k2dCurveFitVertex:
    case OdDb::k2dSplineFitVertex:
    case OdDb::k2dSplineCtlVertex: break;
    default: throw OdError(eInvalidInput, "unknown 2D vertex type");
    }
    assertWriteEnabled();
    m_data.vertexType = type;
}

void OdDb2dVertex::setVertexIdentifier(std::int32_t identifier)
{
    assertWriteEnabled();
    m_data.identifier = identifier;
}
