// A full circle in the plane of its normal, optionally extruded by a thickness. Its parameter
// is the angle from the X axis of the normal's OCS, 0 to 2*pi.
#pragma once

#include <vantrel/db/OdDbCurve.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbCircle : public OdDbCurve {
    ODDB_DECLARE_MEMBERS(OdDbCircle)
public:
    // As DXF stores a CIRCLE: the centre in the OCS of the normal.
    struct Data {
        OdGePoint3d ocsCenter;              // 10
        double radius = 1.0;                // 40
        double thickness = 0.0;             // 39
        OdGeVector3d normal{0.0, 0.0, 1.0}; // 210, unit
    };

    OdDbCircle() = default;
    OdDbCircle(const OdGePoint3d& center, const OdGeVector3d& normal, double radius);

    // The centre in world coordinates.
    OdGePoint3d center() const;
    void setCenter(const OdGePoint3d& center);
    double radius() const
    {
        assertReadEnabled();
        return m_data.radius;
    }
    // Raises OdError(eInvalidInput) unless positive and finite.
    void setRadius(double radius);
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
    // Turns the circle about its world centre.
    void setNormal(const OdGeVector3d& normal);
    double circumference() const;

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

    bool isClosed() const override { return true; }
    bool isPeriodic() const override { return true; }
    ODDB_CURVE_QUERIES

    // Rotations, mirrorings, uniform scalings and translations only; any other transformation
    // raises OdError(eNotImplementedYet) and leaves the circle as it was.
    void transformBy(const OdGeMatrix3d& xform) override;
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    Data m_data;
};
using OdDbCirclePtr = OdSmartPtr<OdDbCircle>;
