// An ellipse or elliptical arc. Its parameter t is the parametric angle of DXF: the point is
// center + majorAxis * cos t + minorAxis * sin t, with minorAxis = normal x majorAxis * ratio.
#pragma once

#include <numbers>

#include <vantrel/db/OdDbCurve.h>
#include <vantrel/db/OdDbExport.h>

class OdGeEllipArc3d;

class VANTREL_DB_EXPORT OdDbEllipse : public OdDbCurve {
    ODDB_DECLARE_MEMBERS(OdDbEllipse)
public:
    // As DXF stores an ELLIPSE, in world coordinates. The end parameter lies in
    // (start, start + 2*pi]; a full ellipse runs over one whole turn.
    struct Data {
        OdGePoint3d center;                       // 10
        OdGeVector3d majorAxis{1.0, 0.0, 0.0};    // 11, from the centre, perpendicular to the normal
        OdGeVector3d normal{0.0, 0.0, 1.0};       // 210, unit
        double radiusRatio = 1.0;                 // 40, minor / major radius, in (0, 1]
        double startParam = 0.0;                  // 41
        double endParam = 2.0 * std::numbers::pi; // 42
    };

    OdDbEllipse() = default;
    OdDbEllipse(const OdGePoint3d& center, const OdGeVector3d& normal, const OdGeVector3d& majorAxis,
                double radiusRatio, double startParam = 0.0, double endParam = 2.0 * std::numbers::pi);

    // Raises OdError(eInvalidInput) for a zero or non-finite axis, a major axis not
    // perpendicular to the normal, or a ratio outside (0, 1].
    void set(const OdGePoint3d& center, const OdGeVector3d& normal, const OdGeVector3d& majorAxis, double radiusRatio,
             double startParam = 0.0, double endParam = 2.0 * std::numbers::pi);
    // Raises OdError(eInvalidInput) when the data, as a file gave it, breaks a rule of set().
    void checkData() const;
    OdGePoint3d center() const
    {
        assertReadEnabled();
        return m_data.center;
    }
    void setCenter(const OdGePoint3d& center);
    OdGeVector3d normal() const
    {
        assertReadEnabled();
        return m_data.normal;
    }
    OdGeVector3d majorAxis() const
    {
        assertReadEnabled();
        return m_data.majorAxis;
    }
    OdGeVector3d minorAxis() const;
    double radiusRatio() const
    {
        assertReadEnabled();
        return m_data.radiusRatio;
    }
    void setRadiusRatio(double ratio);
    double startParam() const
    {
        assertReadEnabled();
        return m_data.startParam;
    }
    void setStartParam(double param);
    double endParam() const
    {
        assertReadEnabled();
        return m_data.endParam;
    }
    void setEndParam(double param);
    // The parametric sweep, in (0, 2*pi].
    double sweepParam() const;

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

    bool isClosed() const override;
    bool isPeriodic() const override { return isClosed(); }
    // getClosestPointTo: with extend, the nearest point of the whole ellipse.
    ODDB_CURVE_QUERIES

    // Any invertible affine map (an ellipse stays an ellipse); the normal follows the matrix
    // and a mirroring reverses the parameter so that the arc keeps its points.
    void transformBy(const OdGeMatrix3d& xform) override;
    void subWorldDraw(vantrel::WorldDraw& wd) const override;

private:
    OdGeEllipArc3d geArc(bool whole) const;
    bool paramInRange(double param) const;

    Data m_data;
};
using OdDbEllipsePtr = OdSmartPtr<OdDbEllipse>;
