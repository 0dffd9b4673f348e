// Base of the curve entities: parameters, points, distances along the curve, derivatives and
// closest points. Queries answer eOk or an error result; the out values are set only on eOk.
#pragma once

#include <span>
#include <vector>

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/ge/OdGePlane.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>
#include <vantrel/db/OdDbExport.h>

// Declares the parameter, distance, derivative, closest-point and plane overrides that every
// concrete curve implements; used inside the class body of each one.
#define ODDB_CURVE_QUERIES                                                                                             \
    OdResult getStartParam(double& param) const override;                                                              \
    OdResult getEndParam(double& param) const override;                                                                \
    OdResult getPointAtParam(double param, OdGePoint3d& point) const override;                                         \
    OdResult getParamAtPoint(const OdGePoint3d& point, double& param) const override;                                  \
    OdResult getDistAtParam(double param, double& dist) const override;                                                \
    OdResult getParamAtDist(double dist, double& param) const override;                                                \
    OdResult getFirstDeriv(double param, OdGeVector3d& deriv) const override;                                          \
    OdResult getSecondDeriv(double param, OdGeVector3d& deriv) const override;                                         \
    OdResult getClosestPointTo(const OdGePoint3d& given, OdGePoint3d& closest, bool extend = false) const override;    \
    OdResult getPlane(OdGePlane& plane) const override;

class OdDbCurve;
using OdDbCurvePtr = OdSmartPtr<OdDbCurve>;

class VANTREL_DB_EXPORT OdDbCurve : public OdDbEntity {
    ODDB_DECLARE_MEMBERS(OdDbCurve)
public:
    virtual bool isClosed() const;
    virtual bool isPeriodic() const;
    virtual OdResult getStartParam(double& param) const;
    virtual OdResult getEndParam(double& param) const;
    virtual OdResult getStartPoint(OdGePoint3d& point) const;
    virtual OdResult getEndPoint(OdGePoint3d& point) const;
    virtual OdResult getPointAtParam(double param, OdGePoint3d& point) const;
    virtual OdResult getParamAtPoint(const OdGePoint3d& point, double& param) const;
    virtual OdResult getDistAtParam(double param, double& dist) const;
    virtual OdResult getParamAtDist(double dist, double& param) const;
    virtual OdResult getDistAtPoint(const OdGePoint3d& point, double& dist) const;
    virtual OdResult getPointAtDist(double dist, OdGePoint3d& point) const;
    // getPointAtDist for each distance, in order; points is set only on eOk. The polylines and
    // splines answer from one walk over their vertices or knot spans instead of one per point, so
    // that laying many points along a long curve costs time in proportion to the points and the
    // curve's pieces.
    virtual OdResult getPointsAtDists(std::span<const double> dists, std::vector<OdGePoint3d>& points) const;
    virtual OdResult getFirstDeriv(double param, OdGeVector3d& deriv) const;
    virtual OdResult getSecondDeriv(double param, OdGeVector3d& deriv) const;
    virtual OdResult getClosestPointTo(const OdGePoint3d& given, OdGePoint3d& closest, bool extend = false) const;
    // The plane of a planar curve; eNotImplementedYet for curves that are not planar.
    virtual OdResult getPlane(OdGePlane& plane) const;
    bool isPlanar() const;

protected:
    OdDbCurve() = default;
};
