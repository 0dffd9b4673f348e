// The 3D polyline (DXF POLYLINE with flag 8): straight segments between vertex objects in world
// coordinates, or a spline over them as control frame. splineFit puts the generated path
// vertices first, then the control vertices; the drawn path (and the curve parameter, i at
// path vertex i) is every vertex but the control ones.
#pragma once

#include <vector>

#include <vantrel/db/OdDb3dPolylineVertex.h>
#include <vantrel/db/OdDbCurve.h>
#include <vantrel/db/OdDbHandle.h>
#include <vantrel/db/OdDbVertexIterator.h>
#include <vantrel/db/OdDbExport.h>

namespace OdDb {
// DXF 70 bit 4 with 75 = 5 (quadratic) or 6 (cubic).
enum Poly3dType { k3dSimplePoly = 0, k3dQuadSplinePoly = 1, k3dCubicSplinePoly = 2 };
} // namespace OdDb

class VANTREL_DB_EXPORT OdDb3dPolyline : public OdDbCurve {
    ODDB_DECLARE_MEMBERS(OdDb3dPolyline)
public:
    struct Data {
        OdDb::Poly3dType polyType = OdDb::k3dSimplePoly;
        bool closed = false;     // 70 bit 1
        OdDbHandle seqEndHandle; // the SEQEND record after the vertices
    };

    OdDb3dPolyline() = default;

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

    OdDb::Poly3dType polyType() const
    {
        assertReadEnabled();
        return m_data.polyType;
    }
    // Sets the type only; the vertices change through straighten and splineFit.
    void setPolyType(OdDb::Poly3dType type);
    bool isClosed() const override
    {
        assertReadEnabled();
        return m_data.closed;
    }
    void makeOpen();
    void makeClosed();

    // --- vertices (see OdDb2dPolyline for adopting vertices) ---
    OdDbObjectId appendVertex(OdDb3dPolylineVertex* vertex);
    // Inserts after a vertex of this polyline; a null id or vertex inserts at the start.
    OdDbObjectId insertVertexAt(const OdDbObjectId& afterId, OdDb3dPolylineVertex* vertex);
    OdDbObjectId insertVertexAt(const OdDb3dPolylineVertex* after, OdDb3dPolylineVertex* vertex);
    void removeVertexAt(unsigned int index);
    unsigned int numVertices() const;
    OdDb3dPolylineVertexPtr vertexAt(unsigned int index, OdDb::OpenMode mode = OdDb::kForRead) const;
    OdDb3dPolylineVertexPtr openVertex(const OdDbObjectId& id, OdDb::OpenMode mode = OdDb::kForRead,
                                       bool openErased = false) const;
    OdDbVertexIteratorPtr vertexIterator() const;
    std::vector<OdDbObjectId> vertexIds() const;
    std::vector<OdDb3dPolylineVertexPtr> pathVertices() const;

    // Drops generated vertices, makes control vertices plain again and sets the simple type.
    void straighten();
    // A uniform B-spline (quadratic or cubic; clamped when open, periodic when closed) over the
    // defining vertices as control frame, |segments| generated vertices per span. Needs two
    // defining vertices (else eDegenerateGeometry); other types raise eInvalidInput.
    void splineFit(OdDb::Poly3dType type, std::int16_t segments);
    // The database's SPLINETYPE (5 quadratic, otherwise cubic) and SPLINESEGS (6 and 8 without).
    void splineFit();

    // getPlane: the plane of the drawn path when it is flat; eNotImplementedYet otherwise.
    ODDB_CURVE_QUERIES

    void transformBy(const OdGeMatrix3d& xform) override;
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

    void subAddedToDatabase(OdDbDatabase* db) override;
    void subDeepenClone() override;
    void subHandOverTo(OdDbObject* newObject) override;
    void subSetCommon(const CommonData& common) override;

private:
    OdDbObjectId insertAtPosition(std::size_t pos, OdDb3dPolylineVertex* vertex);
    std::size_t positionAfter(const OdDb3dPolylineVertex* after) const;
    std::vector<OdDb3dPolylineVertexPtr> dropGenerated();
    std::size_t countDefining() const;

    Data m_data;
    std::vector<OdDbSubObjectPtr<OdDb3dPolylineVertex>> m_vertices;
};
using OdDb3dPolylinePtr = OdSmartPtr<OdDb3dPolyline>;
