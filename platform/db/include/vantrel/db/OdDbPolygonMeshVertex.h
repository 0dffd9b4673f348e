// A vertex of a polygon mesh: a world position and whether it is a plain grid point, a
// control point of a smoothed mesh, or a generated surface point.
#pragma once

#include <vantrel/db/OdDbVertex.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbPolygonMeshVertex : public OdDbVertex {
    ODDB_DECLARE_MEMBERS(OdDbPolygonMeshVertex)
public:
    // As DXF stores a VERTEX of a polygon mesh; flags 70 = 64, plus 16 for a control point and
    // 8 for a generated surface point.
    struct Data {
        OdGePoint3d position;                                  // 10, 20, 30 (WCS)
        OdDb::Vertex3dType vertexType = OdDb::k3dSimpleVertex; // 70 bits 8, 16
    };

    OdDbPolygonMeshVertex() = default;
    explicit OdDbPolygonMeshVertex(const OdGePoint3d& position);

    const Data& data() const
    {
        assertReadEnabled();
        return m_data;
    }
    Data& dataForWrite(vantrel::DbKey)
    {
        assertWriteEnabled();
        return m_data;
    }

    OdGePoint3d position() const
    {
        assertReadEnabled();
        return m_data.position;
    }
    void setPosition(const OdGePoint3d& position);
    OdDb::Vertex3dType vertexType() const
    {
        assertReadEnabled();
        return m_data.vertexType;
    }
    void setVertexType(OdDb::Vertex3dType type);

private:
    Data m_data;
};
using OdDbPolygonMeshVertexPtr = OdSmartPtr<OdDbPolygonMeshVertex>;
