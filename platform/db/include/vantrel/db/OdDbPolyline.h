// The lightweight polyline: planar vertices with bulges and widths held in the entity itself,
// in the coordinate system of its normal at its elevation. Parameter i is vertex i; segment i
// runs from vertex i to the next (the last one back to vertex 0 when closed).
#pragma once

#include <cstdint>
#include <vector>

#include <vantrel/db/OdDbCurve.h>
#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeCircArc3d.h>
#include <vantrel/ge/OdGeLineSeg2d.h>
#include <vantrel/ge/OdGeLineSeg3d.h>
#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/db/OdDbExport.h>

class OdDb2dPolyline;

class VANTREL_DB_EXPORT OdDbPolyline : public OdDbCurve {
    ODDB_DECLARE_MEMBERS(OdDbPolyline)
public:
    enum SegType { kLine, kArc, kCoincident, kPoint, kEmpty };

    // As DXF stores an LWPOLYLINE (90 is the vertex count; 70 holds closed = 1, plinegen = 128).
    struct Vertex {
        OdGePoint2d point;           // 10, 20 (OCS)
        double startWidth = 0.0;     // 40
        double endWidth = 0.0;       // 41
        double bulge = 0.0;          // 42
        std::int32_t identifier = 0; // 91
    };
    struct Data {
        std::vector<Vertex> vertices;
        bool closed = false;   // 70 bit 1
        bool plinegen = false; // 70 bit 128
        // 43: when not zero it is the width of every segment and the vertex widths are unused.
        double constantWidth = 0.0;
        double elevation = 0.0;             // 38
        double thickness = 0.0;             // 39
        OdGeVector3d normal{0.0, 0.0, 1.0}; // 210, unit
    };

    OdDbPolyline() = default;

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

    // --- vertices (an index beyond the vertices raises OdError_InvalidIndex) ---
    unsigned int numVerts() const
    {
        assertReadEnabled();
        return static_cast<unsigned int>(m_data.vertices.size());
    }
    // index == numVerts() appends. A negative width stands for the default: the constant width.
    void addVertexAt(unsigned int index, const OdGePoint2d& point, double bulge = 0.0, double startWidth = -1.0,
                     double endWidth = -1.0, std::int32_t vertexIdentifier = 0);
    void removeVertexAt(unsigned int index);
    // Removes count vertices from index on in one pass.
    void removeVerticesAt(unsigned int index, unsigned int count);
    // Room for this many vertices, so that adding them one by one allocates once.
    void reserveVertices(unsigned int count);
    // Replaces every vertex at once, each checked as addVertexAt checks it (the widths as they
    // stand), and the constant width (when not zero it holds for every segment, whatever the
    // vertices' own widths).
    void setVertices(std::vector<Vertex> vertices, double constantWidth);
    void getPointAt(unsigned int index, OdGePoint2d& point) const;
    // The vertex in world coordinates.
    void getPointAt(unsigned int index, OdGePoint3d& point) const;
    void setPointAt(unsigned int index, const OdGePoint2d& point);
    double getBulgeAt(unsigned int index) const;
    void setBulgeAt(unsigned int index, double bulge);
    // The widths in effect (the constant width when one is set).
    void getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
    // Gives one segment its own widths; a constant width is first spread to every vertex.
    void setWidthsAt(unsigned int index, double startWidth, double endWidth);
    std::int32_t getVertexIdentifierAt(unsigned int index) const;
    void setVertexIdentifierAt(unsigned int index, std::int32_t identifier);

    double getConstantWidth() const
    {
        assertReadEnabled();
        return m_data.constantWidth;
    }
    // Every segment gets this width (the vertex widths too, so that they stay consistent).
    void setConstantWidth(double width);
    bool hasWidth() const;
    bool hasBulges() const;
    bool isOnlyLines() const { return !hasBulges(); }

    // --- segments ---
    SegType segType(unsigned int index) const;
    // Raise OdError_InvalidIndex for a bad index and OdError(eInvalidInput) when the segment is
    // not of that kind (a coincident segment counts as a line).
    void getLineSegAt(unsigned int index, OdGeLineSeg2d& line) const;
    void getLineSegAt(unsigned int index, OdGeLineSeg3d& line) const;
    void getArcSegAt(unsigned int index, OdGeCircArc2d& arc) const;
    void getArcSegAt(unsigned int index, OdGeCircArc3d& arc) const;

    // --- whole polyline ---
    bool isClosed() const override
    {
        assertReadEnabled();
        return m_data.closed;
    }
    void setClosed(bool closed);
    bool hasPlinegen() const
    {
        assertReadEnabled();
        return m_data.plinegen;
    }
    void setPlinegen(bool plinegen);
    OdGeVector3d normal() const
    {
        assertReadEnabled();
        return m_data.normal;
    }
    // Raises OdError(eInvalidInput) for a zero or non-finite vector; stores it unitised.
    void setNormal(const OdGeVector3d& normal);
    double elevation() const
    {
        assertReadEnabled();
        return m_data.elevation;
    }
    void setElevation(double elevation);
    double thickness() const
    {
        assertReadEnabled();
        return m_data.thickness;
    }
    void setThickness(double thickness);

    // Takes the vertices and properties of a 2D polyline (any type: its drawn path). With
    // transferId the 2D polyline, which must be in a database and open for write, hands its
    // identity over to this polyline, which must not be in one (eInvalidInput otherwise); its
    // vertices are erased. Answers eNotThatKindOfClass when the entity is not a 2D polyline.
    OdResult convertFrom(OdDbEntity* polyline2d, bool transferId = true);
    // Fills a new, empty 2D polyline outside the database (simple type) with this polyline's
    // vertices and properties; with transferId this polyline, which must be in a database and
    // open for write, hands its identity over to it.
    OdResult convertTo(OdDb2dPolyline* dest, bool transferId = true);

    // --- curve ---
    ODDB_CURVE_QUERIES
    OdResult getPointsAtDists(std::span<const double> dists, std::vector<OdGePoint3d>& points) const override;

    // The plane moves with the normal; widths and thickness scale with a uniform scale; a
    // mirroring negates the bulges. A non-uniform scale within the plane is refused (eInvalidInput)
    // unless the polyline has neither arcs nor widths.
    void transformBy(const OdGeMatrix3d& xform) override;
    void subWorldDraw(vantrel::WorldDraw& wd) const override;
    vantrel::LinetypeUse linetypeUse() const override
    {
        return hasPlinegen() ? vantrel::LinetypeUse::ThroughVertices : vantrel::LinetypeUse::PerSegment;
    }

private:
    const Vertex& vertexAt(unsigned int index) const;
    void checkIndex(unsigned int index) const;
    // A vertex's point lifted into world space by the plane's normal and elevation.
    OdGePoint3d worldPoint(const OdGePoint2d& p) const;
    // A vertex's own width as the polyline shows it: the constant width, when there is one.
    double shownWidth(double own) const { return m_data.constantWidth != 0.0 ? m_data.constantWidth : own; }
    // The segment leaving a vertex: its end vertex index, or false when there is none.
    bool segmentEnd(unsigned int index, unsigned int& next) const;

    Data m_data;
};
using OdDbPolylinePtr = OdSmartPtr<OdDbPolyline>;
