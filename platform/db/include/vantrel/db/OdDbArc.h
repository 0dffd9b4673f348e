// A circular arc running counter-clockwise about its normal from the start angle to the end
// angle, both measured from the X axis of the normal's OCS. Its parameter is that angle, from
// the start angle to the start angle plus the sweep.
#pragma once

#include <vantrel/db/OdDbCurve.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbArc : public OdDbCurve {
    ODDB_DECLARE_MEMBERS(OdDbArc)
public:
    // As DXF stores an ARC: the centre in the OCS of the normal; angles in radians in [0, 2*pi).
    struct Data {
        OdGePoint3d ocsCenter;              // 10
        double radius = 1.0;                // 40
        double startAngle = 0.0;            // 50 (degrees in DXF)
        double endAngle = 0.0;              // 51 (degrees in DXF)
        double thickness = 0.0;             // 39
        OdGeVector3d normal{0.0, 0.0, 1.0}; // 210, unit
    };

    OdDbArc() = default;
    OdDbArc(const OdGePoint3d& center, const OdGeVector3d& normal, double radius, double startAngle, double endAngle);

    OdGePoint3d center() const;
    void setCenter(const OdGePoint3d& center);
    double radius() const
    {
        assertReadEnabled();
        return m_data.radius;
    }
    void setRadius(double radius);
    double startAngle() const
    {
        assertReadEnabled();
        return m_data.startAngle;
    }
    // Angles are stored reduced into [0, 2*pi).
    void setStartAngle(double angle);
    double endAngle() const
    {
        assertReadEnabled();
        return m_data.endAngle;
    }
    void setEndAngle(double angle);
    // The counter-clockwise sweep, in (0, 2*pi]; equal angles make a full turn.
    double totalAngle() const;
    double length() const;
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
    // Turns the arc about its world centre; the angles stay in the new OCS.
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
    // getClosestPointTo: with extend, the nearest point of the whole circle.
    ODDB_CURVE_QUERIES

    // Rotations, mirrorings, uniform scalings and translations only; any other transformation
    // raises OdError(eNotImplementedYet) and leaves the arc as it was. A mirroring keeps the
    // point set: the normal follows the matrix and the ends trade places.
    void transformBy(const OdGeMatrix3d& xform) override;
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    Data m_data;
};
using OdDbArcPtr = OdSmartPtr<OdDbArc>;
