// A NURBS curve given by its control data (degree, knots, control points, weights) or built
// through fit points. Its parameter is the knot parameter, from knot[degree] to knot[n].
#pragma once

#include <optional>
#include <vector>

#include <vantrel/db/OdDbCurve.h>
#include <vantrel/ge/OdGeNurbCurve3d.h>
#include <vantrel/db/OdDbExport.h>

class VANTREL_DB_EXPORT OdDbSpline : public OdDbCurve {
    ODDB_DECLARE_MEMBERS(OdDbSpline)
public:
    // DXF 70 bits.
    enum : std::int16_t { kClosed = 1, kPeriodic = 2, kRational = 4, kPlanar = 8, kLinear = 16 };

    // As DXF stores a SPLINE, in world coordinates. Weights are empty unless rational; fit
    // points and tangents are empty (zero) unless the spline was built through fit points.
    // A file may hold fit points without control data: the curve is then the one interpolated
    // through them (closed when flag 1 or 2 is set or the last point repeats the first), while
    // the data stays as read.
    struct Data {
        std::int16_t flags = 0;                 // 70
        std::int16_t degree = 3;                // 71
        std::vector<double> knots;              // 40 (count 72)
        std::vector<OdGePoint3d> controlPoints; // 10 (count 73)
        std::vector<double> weights;            // 41
        std::vector<OdGePoint3d> fitPoints;     // 11 (count 74)
        OdGeVector3d startTangent;              // 12
        OdGeVector3d endTangent;                // 13
        double knotTolerance = 1e-10;           // 42
        double controlPointTolerance = 1e-10;   // 43
        double fitTolerance = 1e-10;            // 44
        OdGeVector3d normal{0.0, 0.0, 1.0};     // 210, for planar splines
    };

    OdDbSpline() = default;

    // Raises OdError(eInvalidInput) unless: degree 1 to 25, at least degree + 1 control points,
    // as many knots as control points plus degree plus one, rising, finite, spanning a
    // non-empty interval; for a rational spline one positive weight per control point.
    // Drops any fit data.
    void setNurbsData(int degree, bool rational, bool closed, bool periodic,
                      const std::vector<OdGePoint3d>& controlPoints, const std::vector<double>& knots,
                      const std::vector<double>& weights, double controlPtTol = 1e-10, double knotTol = 1e-10);
    void getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                      std::vector<OdGePoint3d>& controlPoints, std::vector<double>& knots, std::vector<double>& weights,
                      double& controlPtTol, double& knotTol) const;
    // Interpolates the fit points (at least two distinct ones) with the given end tangents (zero
    // leaves an end free); a last point equal to the first closes the curve smoothly. The curve
    // passes through every fit point; the tolerance is kept for the file.
    void setFitData(const std::vector<OdGePoint3d>& fitPoints, int degree, double fitTolerance,
                    const OdGeVector3d& startTangent, const OdGeVector3d& endTangent);
    // Raises OdError(eInvalidInput) when the data, as a file gave it, breaks a rule the setters
    // keep: the rules of setNurbsData (or, for a curve of fit points alone, its degree) and a fit
    // tolerance of at least 0.
    void checkData() const;
    // False (outputs untouched) when the spline has no fit data.
    bool getFitData(std::vector<OdGePoint3d>& fitPoints, int& degree, double& fitTolerance, OdGeVector3d& startTangent,
                    OdGeVector3d& endTangent) const;
    bool hasFitData() const;

    int degree() const
    {
        assertReadEnabled();
        return m_data.degree;
    }
    bool isRational() const
    {
        assertReadEnabled();
        return m_data.flags & kRational;
    }
    int numControlPoints() const;
    // Index outside the control points raises OdError_InvalidIndex.
    void getControlPointAt(int index, OdGePoint3d& point) const;
    // Moves one control point; the fit data no longer describes the curve and is dropped.
    void setControlPointAt(int index, const OdGePoint3d& point);
    double weightAt(int index) const;
    int numFitPoints() const;

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

    // Closed when its ends meet.
    bool isClosed() const override;
    bool isPeriodic() const override;
    // getClosestPointTo: extend has no effect (a spline is not extended).
    // getPlane: the plane of the control points; eNotImplementedYet when they are not coplanar.
    ODDB_CURVE_QUERIES
    // In one pass along the curve, span by span, whatever the order of the distances.
    OdResult getPointsAtDists(std::span<const double> dists, std::vector<OdGePoint3d>& points) const override;

    // Any invertible affine map (it carries control points exactly).
    void transformBy(const OdGeMatrix3d& xform) override;
    void subWorldDraw(vantrel::WorldDraw& wd) const override;
    // The points drawn along the curve are no vertices: the pattern runs on through them.
    vantrel::LinetypeUse linetypeUse() const override { return vantrel::LinetypeUse::ThroughVertices; }

private:
    // The curve the data describes: the control data when it is sound, else the curve through
    // sound fit data; nullopt when neither is (data read from a file may be damaged).
    std::optional<OdGeNurbCurve3d> curve() const;
    std::optional<OdGeNurbCurve3d> fitCurve() const;
    // The derivative of the given order (1 or 2) at a parameter of the curve.
    OdResult derivAt(double param, int order, OdGeVector3d& deriv) const;
    // Sets the planar and linear flags and the normal from the curve's control points.
    void updatePlanarity();

    Data m_data;
};
using OdDbSplinePtr = OdSmartPtr<OdDbSpline>;
