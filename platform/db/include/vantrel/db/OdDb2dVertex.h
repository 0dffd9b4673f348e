// A vertex of a 2D polyline: a position in the polyline's OCS (its z is not used; the polyline's
// elevation is), the bulge and widths of the segment that leaves it, a curve-fit tangent and
// the vertex kind.
#pragma once

#include <cstdint>

#include <vantrel/db/OdDbVertex.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDb2dVertex : public OdDbVertex {
    ODDB_DECLARE_MEMBERS(OdDb2dVertex)
public:
    // As DXF stores a VERTEX of a 2D POLYLINE; flags 70 = vertexType | 2 when tangentUsed.
    struct Data {
        OdGePoint3d position;                            // 10, 20, 30 (OCS)
        double startWidth = 0.0;                         // 40
        double endWidth = 0.0;                           // 41
        double bulge = 0.0;                              // 42
        double tangent = 0.0;                            // 50, radians in the OCS
        bool tangentUsed = false;                        // 70 bit 2
        OdDb::Vertex2dType vertexType = OdDb::k2dVertex; // 70 bits 1, 8, 16
        std::int32_t identifier = 0;                     // 91
    };

    OdDb2dVertex() = default;
    explicit OdDb2dVertex(const OdGePoint3d& position, double bulge = 0.0, double startWidth = 0.0,
                          double endWidth = 0.0);

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
    double bulge() const
    {
        assertReadEnabled();
        return m_data.bulge;
    }
    void setBulge(double bulge);
    double startWidth() const
    {
        assertReadEnabled();
        return m_data.startWidth;
    }
    void setStartWidth(double width);
    double endWidth() const
    {
        assertReadEnabled();
        return m_data.endWidth;
    }
    void setEndWidth(double width);
    double tangent() const
    {
        assertReadEnabled();
        return m_data.tangent;
    }
    void setTangent(double angle);
    bool isTangentUsed() const
    {
        assertReadEnabled();
        return m_data.tangentUsed;
    }
    void useTangent();
    void ignoreTangent();
    OdDb::Vertex2dType vertexType() const
    {
        assertReadEnabled();
        return m_data.vertexType;
    }
    void setVertexType(OdDb::Vertex2dType type);
    std::int32_t vertexIdentifier() const
    {
        assertReadEnabled();
        return m_data.identifier;
    }
    void setVertexIdentifier(std::int32_t identifier);

private:
    Data m_data;
};
using OdDb2dVertexPtr = OdSmartPtr<OdDb2dVertex>;
