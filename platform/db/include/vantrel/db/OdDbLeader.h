// A leader (DXF LEADER): a path of vertices from an arrowhead at the first one to the note.
#pragma once

#include <vantrel/db/DbKey.h>

#include <vector>

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbLeader : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbLeader)
public:
    struct Data {
        std::vector<OdGePoint3d> vertices;  // 76 the count, 10 each, world
        bool hasArrowHead = true;           // 71
        std::int16_t pathType = 0;          // 72: 0 straight segments, 1 a spline through the vertices
        OdGeVector3d normal{0.0, 0.0, 1.0}; // 210, unit
    };

    OdDbLeader() = default;

    int numVertices() const
    {
        assertReadEnabled();
        return static_cast<int>(m_data.vertices.size());
    }
    OdGePoint3d vertexAt(int index) const;
    void appendVertex(const OdGePoint3d& point);
    bool hasArrowHead() const
    {
        assertReadEnabled();
        return m_data.hasArrowHead;
    }
    void enableArrowHead();
    void disableArrowHead();

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
    void checkData() const;

    // The length of the arrowhead: the dimension arrow size of the drawing's measurement (2.5
    // metric, 0.18 imperial) times DIMSCALE, at most the first segment.
    double arrowSize() const;

    void transformBy(const OdGeMatrix3d& xform) override;
    // The path (a spline leader as the straight path through its vertices) and a filled
    // arrowhead at the first vertex.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    Data m_data;
};
using OdDbLeaderPtr = OdSmartPtr<OdDbLeader>;
