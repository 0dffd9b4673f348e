// A 3D face (DXF 3DFACE): three or four corners in space, drawn as its edges; each edge may be
// invisible.
#pragma once

#include <vantrel/db/DbKey.h>

#include <array>

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbFace : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbFace)
public:
    struct Data {
        std::array<OdGePoint3d, 4> corners{}; // 10, 11, 12, 13, world; a triangle repeats the third
        std::int16_t invisibleEdges = 0;      // 70: bit i hides the edge from corner i to the next
    };

    OdDbFace() = default;
    OdDbFace(const OdGePoint3d& p0, const OdGePoint3d& p1, const OdGePoint3d& p2, const OdGePoint3d& p3);

    // An index outside 0..3 raises OdError_InvalidIndex.
    void getVertexAt(int index, OdGePoint3d& point) const;
    void setVertexAt(int index, const OdGePoint3d& point);
    bool isEdgeVisibleAt(int index) const;
    void makeEdgeVisibleAt(int index);
    void makeEdgeInvisibleAt(int index);

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

    void transformBy(const OdGeMatrix3d& xform) override;
    // Each visible edge that has a length, as a path of its own.
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    Data m_data;
};
using OdDbFacePtr = OdSmartPtr<OdDbFace>;
