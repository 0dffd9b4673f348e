// A filled quadrilateral (or triangle when the last two corners coincide) in the plane of
// its normal. The corners go round in the order 0, 1, 3, 2, as DXF SOLID draws them.
#pragma once

#include <array>

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbSolid : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbSolid)
public:
    // As DXF stores a SOLID: the corners in the OCS of the normal.
    struct Data {
        std::array<OdGePoint3d, 4> ocsCorners{}; // 10, 11, 12, 13
        double thickness = 0.0;                  // 39
        OdGeVector3d normal{0.0, 0.0, 1.0};      // 210, unit
    };

    OdDbSolid() = default;
    OdDbSolid(const OdGePoint3d& p0, const OdGePoint3d& p1, const OdGePoint3d& p2, const OdGePoint3d& p3);
    // A triangle: the fourth corner repeats the third.
    OdDbSolid(const OdGePoint3d& p0, const OdGePoint3d& p1, const OdGePoint3d& p2);

    // Corners in world coordinates; an index outside 0..3 raises OdError_InvalidIndex.
    void getPointAt(int index, OdGePoint3d& point) const;
    void setPointAt(int index, const OdGePoint3d& point);
    double thickness() const
    {
        assertReadEnabled();
        return m_data.thickness;
    }
    void setThickness(double thickness);
    OdGeVector3d normal() const
    {
        assertReadEnabled();
        return m_data.normal;
    }
    // Keeps the corners where they are in world coordinates.
    void setNormal(const OdGeVector3d& normal);

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

    void transformBy(const OdGeMatrix3d& xform) override;
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    Data m_data;
};
using OdDbSolidPtr = OdSmartPtr<OdDbSolid>;
