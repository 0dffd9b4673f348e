// The 2D polyline (DXF POLYLINE without the 3D and mesh flags): vertex objects in the OCS of
// its normal at its elevation, and a type saying whether the path is the vertices themselves,
// a curve fitted through them, or a spline over them as its control frame.
//
// Vertex order: curveFit puts each generated vertex between the two vertices it joins;
// splineFit puts the generated path vertices first, then the control vertices. The drawn path
// (and the curve parameter, i at path vertex i) is every vertex but the spline control ones.
#pragma once

#include <vector>

#include <vantrel/db/OdDb2dVertex.h>
#include <vantrel/db/OdDbCurve.h>
#include <vantrel/db/OdDbHandle.h>
#include <vantrel/db/OdDbVertexIterator.h>
#include <vantrel/db/OdDbExport.h>

namespace OdDb {
// DXF 70 bits 2 (fit curve) and 4 (spline) with 75 = 5 (quadratic) or 6 (cubic).
enum Poly2dType { k2dSimplePoly = 0, k2dFitCurvePoly = 1, k2dQuadSplinePoly = 2, k2dCubicSplinePoly = 3 };
} // namespace OdDb

class VANTREL_DB_EXPORT OdDb2dPolyline : public OdDbCurve {
    ODDB_DECLARE_MEMBERS(OdDb2dPolyline)
public:
    struct Data {
        OdDb::Poly2dType polyType = OdDb::k2dSimplePoly;
        bool closed = false;                // 70 bit 1
        bool linetypeGen = false;           // 70 bit 128
        double defaultStartWidth = 0.0;     // 40
        double defaultEndWidth = 0.0;       // 41
        double elevation = 0.0;             // 30 of the 10 point
        double thickness = 0.0;             // 39
        OdGeVector3d normal{0.0, 0.0, 1.0}; // 210, unit
        OdDbHandle seqEndHandle;            // the SEQEND record after the vertices
    };

    OdDb2dPolyline() = default;

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

    OdDb::Poly2dType polyType() const
    {
        assertReadEnabled();
        return m_data.polyType;
    }
    // Sets the type only; the vertices change through straighten, curveFit and splineFit.
    void setPolyType(OdDb::Poly2dType type);
    bool isClosed() const override
    {
        assertReadEnabled();
        return m_data.closed;
    }
    void makeOpen();
    void makeClosed();
    bool isLinetypeGenerationOn() const
    {
        assertReadEnabled();
        return m_data.linetypeGen;
    }
    void setLinetypeGenerationOn();
    void setLinetypeGenerationOff();
    double defaultStartWidth() const
    {
        assertReadEnabled();
        return m_data.defaultStartWidth;
    }
    void setDefaultStartWidth(double width);
    double defaultEndWidth() const
    {
        assertReadEnabled();
        return m_data.defaultEndWidth;
    }
    void setDefaultEndWidth(double width);
    double elevation() const
    {
        assertReadEnabled();
        return m_data.elevation;
    }
    void setElevation(double elevation);
    OdGeVector3d normal() const
    {
        assertReadEnabled();
        return m_data.normal;
    }
    void setNormal(const OdGeVector3d& normal);
    double thickness() const
    {
        assertReadEnabled();
        return m_data.thickness;
    }
    void setThickness(double thickness);

    // --- vertices ---
    // Takes a vertex that is in no database (added to the polyline's database at once when the
    // polyline is there), or one already added to the polyline's database with the polyline
    // as its owner (the DXF reader's way, keeping the file's handle). Answers the vertex id
    // (null while the polyline is outside a database).
    OdDbObjectId appendVertex(OdDb2dVertex* vertex);
    // Inserts after a vertex of this polyline; a null id or vertex inserts at the start.
    OdDbObjectId insertVertexAt(const OdDbObjectId& afterId, OdDb2dVertex* vertex);
    OdDbObjectId insertVertexAt(const OdDb2dVertex* after, OdDb2dVertex* vertex);
    // Index over the vertices the iterator walks; the vertex is erased from the database.
    void removeVertexAt(unsigned int index);
    unsigned int numVertices() const;
    OdDb2dVertexPtr vertexAt(unsigned int index, OdDb::OpenMode mode = OdDb::kForRead) const;
    // Opens a vertex of this polyline by id; OdError(eInvalidOwner) when it is not one.
    OdDb2dVertexPtr openVertex(const OdDbObjectId& id, OdDb::OpenMode mode = OdDb::kForRead,
                               bool openErased = false) const;
    OdDbVertexIteratorPtr vertexIterator() const;
    std::vector<OdDbObjectId> vertexIds() const;
    // The vertices of the drawn path, in order, open for read.
    std::vector<OdDb2dVertexPtr> pathVertices() const;
    // A vertex's position in world coordinates.
    OdGePoint3d vertexPosition(const OdDb2dVertex& vertex) const;

    // --- fitting (each needs two defining vertices, else OdError(eDegenerateGeometry)) ---
    // Drops generated vertices, makes control vertices plain again, straightens every segment
    // and sets the simple type.
    void straighten();
    // Through the defining vertices (the plain and control ones): each segment becomes two
    // arcs meeting at a generated vertex, tangent to each other and to the vertex tangents
    // (the vertex's own when it uses one, otherwise that of the circle through it and its
    // neighbours). Sets the fit-curve type.
    void curveFit();
    // A uniform B-spline (quadratic or cubic; clamped to the end vertices when open, periodic
    // when closed) over the defining vertices as control frame: |segments| generated vertices
    // per knot span (an open frame of n vertices has n - degree spans, the degree lowered to
    // n - 1 for short frames; a closed one has n). With negative segments each generated segment
    // is curve-fitted in turn: two arcs tangent to the spline at its ends, meeting at a curve-fit
    // vertex. Other types raise eInvalidInput.
    void splineFit(OdDb::Poly2dType type, std::int16_t segments);
    // The database's SPLINETYPE (5 quadratic, otherwise cubic) and SPLINESEGS (6 and 8 without).
    void splineFit();

    // --- curve over the drawn path ---
    ODDB_CURVE_QUERIES
    OdResult getPointsAtDists(std::span<const double> dists, std::vector<OdGePoint3d>& points) const override;

    // As OdDbPolyline::transformBy; vertex tangents turn with the plane.
    void transformBy(const OdGeMatrix3d& xform) override;
    void subWorldDraw(vantrel::WorldDraw& wd) const override;
    vantrel::LinetypeUse linetypeUse() const override
    {
        return isLinetypeGenerationOn() ? vantrel::LinetypeUse::ThroughVertices : vantrel::LinetypeUse::PerSegment;
    }

    void subAddedToDatabase(OdDbDatabase* db) override;
    void subDeepenClone() override;
    void subHandOverTo(OdDbObject* newObject) override;
    void subSetCommon(const CommonData& common) override;

private:
    OdDbObjectId insertAtPosition(std::size_t pos, OdDb2dVertex* vertex);
    std::size_t positionAfter(const OdDb2dVertex* after) const;
    // Vertices that define the shape (plain and control), open for write, after dropping the
    // generated ones; the polyline is open for write.
    std::vector<OdDb2dVertexPtr> dropGenerated();
    std::size_t countDefining() const;

    Data m_data;
    std::vector<OdDbSubObjectPtr<OdDb2dVertex>> m_vertices;
};
using OdDb2dPolylinePtr = OdSmartPtr<OdDb2dPolyline>;
