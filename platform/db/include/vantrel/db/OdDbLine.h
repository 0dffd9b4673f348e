// A straight line between two points, optionally extruded by a thickness along its normal.
// Its parameter is the distance from the start point.
#pragma once

#include <vantrel/db/OdDbCurve.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbLine : public OdDbCurve {
    ODDB_DECLARE_MEMBERS(OdDbLine)
public:
    // As DXF stores a LINE: both points in world coordinates.
    struct Data {
        OdGePoint3d start;                  // 10
        OdGePoint3d end;                    // 11
        double thickness = 0.0;             // 39
        OdGeVector3d normal{0.0, 0.0, 1.0}; // 210, unit
    };

    OdDbLine() = default;
    OdDbLine(const OdGePoint3d& start, const OdGePoint3d& end);

    OdGePoint3d startPoint() const
    {
        assertReadEnabled();
        return m_data.start;
    }
    void setStartPoint(const OdGePoint3d& point);
    OdGePoint3d endPoint() const
    {
        assertReadEnabled();
        return m_data.end;
    }
    void setEndPoint(const OdGePoint3d& point);
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
    // Raises OdError(eInvalidInput) for a zero or non-finite vector; stores it unitised.
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

    bool isClosed() const override { return false; }
    // getPlane: the plane through the line that is perpendicular to its normal when the line lies
    // in such a plane, otherwise any plane containing the line.
    ODDB_CURVE_QUERIES

    void transformBy(const OdGeMatrix3d& xform) override;
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    double length() const { return m_data.start.distanceTo(m_data.end); }

    Data m_data;
};
using OdDbLinePtr = OdSmartPtr<OdDbLine>;
