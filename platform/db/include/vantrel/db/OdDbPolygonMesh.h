// The polygon mesh (DXF POLYLINE with flag 16): an M x N grid of vertex objects stored row
// after row, open or closed in each direction, and optionally smoothed into a surface.
//
// Vertex order: surfaceFit puts the generated surface grid (mSurfaceDensity rows of
// nSurfaceDensity) first, then the M x N control vertices; so the vertex iterator's k-th vertex
// is grid point (k / N, k % N) of the visible grid, whichever grid that is.
#pragma once

#include <span>
#include <vector>

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbHandle.h>
#include <vantrel/db/OdDbPolygonMeshVertex.h>
#include <vantrel/db/OdDbVertexIterator.h>
#include <vantrel/db/OdDbExport.h>

namespace OdDb {
// DXF 75.
enum PolyMeshType { kSimpleMesh = 0, kQuadSurfaceMesh = 5, kCubicSurfaceMesh = 6, kBezierSurfaceMesh = 8 };
} // namespace OdDb

class VANTREL_DB_EXPORT OdDbPolygonMesh : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbPolygonMesh)
public:
    struct Data {
        OdDb::PolyMeshType polyMeshType = OdDb::kSimpleMesh; // 75
        std::int16_t mSize = 0;                              // 71
        std::int16_t nSize = 0;                              // 72
        std::int16_t mSurfaceDensity = 0;                    // 73
        std::int16_t nSurfaceDensity = 0;                    // 74
        bool mClosed = false;                                // 70 bit 1
        bool nClosed = false;                                // 70 bit 32
        OdDbHandle seqEndHandle;                             // the SEQEND record after the vertices
    };

    OdDbPolygonMesh() = default;
    // Makes a mesh without vertices a simple mesh of m rows of n points (row-major); m and n
    // are at least 2. eInvalidInput when it has vertices already.
    void setGrid(std::int16_t m, std::int16_t n, std::span<const OdGePoint3d> points);

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

    std::int16_t mSize() const
    {
        assertReadEnabled();
        return m_data.mSize;
    }
    std::int16_t nSize() const
    {
        assertReadEnabled();
        return m_data.nSize;
    }
    std::int16_t mSurfaceDensity() const
    {
        assertReadEnabled();
        return m_data.mSurfaceDensity;
    }
    // Densities are 2 to 200 (eOutOfRange otherwise); they take effect at the next surfaceFit.
    void setMSurfaceDensity(std::int16_t density);
    std::int16_t nSurfaceDensity() const
    {
        assertReadEnabled();
        return m_data.nSurfaceDensity;
    }
    void setNSurfaceDensity(std::int16_t density);
    bool isMClosed() const
    {
        assertReadEnabled();
        return m_data.mClosed;
    }
    bool isNClosed() const
    {
        assertReadEnabled();
        return m_data.nClosed;
    }
    void makeMOpen();
    void makeMClosed();
    void makeNOpen();
    void makeNClosed();
    OdDb::PolyMeshType polyMeshType() const
    {
        assertReadEnabled();
        return m_data.polyMeshType;
    }
    // Sets the type only; the vertices change through surfaceFit and straighten.
    void setPolyMeshType(OdDb::PolyMeshType type);
    // Raises OdError(eInvalidInput) unless type is a mesh type (0, 5, 6 or 8).
    static void checkMeshType(std::int64_t type);

    // Generates the surface grid of u x v points (a density below 2 counts as 2, above 200
    // raises eOutOfRange) of a quadratic or cubic uniform B-spline surface (clamped to the edges
    // in an open direction, periodic in a closed one) or a Bezier surface over the control grid,
    // keeping the control vertices. Needs exactly mSize x nSize control vertices
    // (eDegenerateGeometry otherwise); kSimpleMesh or an unknown type raises eInvalidInput.
    void surfaceFit(OdDb::PolyMeshType type, std::int16_t u, std::int16_t v);
    // With the database's SURFTYPE, SURFU and SURFV (6, 6, 6 without a database).
    void surfaceFit();
    // Drops the generated grid and sets the simple type.
    void straighten();

    // --- vertices (see OdDb2dPolyline for adopting vertices) ---
    OdDbObjectId appendVertex(OdDbPolygonMeshVertex* vertex);
    unsigned int numVertices() const;
    OdDbPolygonMeshVertexPtr vertexAt(unsigned int index, OdDb::OpenMode mode = OdDb::kForRead) const;
    OdDbPolygonMeshVertexPtr openVertex(const OdDbObjectId& id, OdDb::OpenMode mode = OdDb::kForRead,
                                        bool openErased = false) const;
    OdDbVertexIteratorPtr vertexIterator() const;
    std::vector<OdDbObjectId> vertexIds() const;

    // The grid that is drawn: the generated surface of a smoothed mesh, otherwise the control
    // grid; rows and cols are 0 when the vertices do not fill it.
    void visibleSize(std::int16_t& rows, std::int16_t& cols) const;
    // Grid point (row, col) of the visible grid; OdError_InvalidIndex outside it.
    OdDbPolygonMeshVertexPtr visibleVertexAt(int row, int col, OdDb::OpenMode mode = OdDb::kForRead) const;

    void transformBy(const OdGeMatrix3d& xform) override;
    // A wire grid: each row and each column as a path, closed in the closed directions.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

    void subAddedToDatabase(OdDbDatabase* db) override;
    void subDeepenClone() override;
    void subHandOverTo(OdDbObject* newObject) override;
    void subSetCommon(const CommonData& common) override;

private:
    std::vector<OdDbPolygonMeshVertex*> visibleVertices(std::int16_t& rows, std::int16_t& cols) const;

    Data m_data;
    std::vector<OdDbSubObjectPtr<OdDbPolygonMeshVertex>> m_vertices;
};
using OdDbPolygonMeshPtr = OdSmartPtr<OdDbPolygonMesh>;
