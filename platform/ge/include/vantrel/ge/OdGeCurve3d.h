// Base of the parametric 3d curves. Subclasses supply evaluation and interval; length,
// closest point, parameter search and sampling have numerical defaults here that
// subclasses replace where a closed form exists.
#pragma once

#include <memory>
#include <vector>

#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>

class OdGeMatrix3d;
class OdGePlane;

class VANTREL_GE_EXPORT OdGeCurve3d {
public:
    virtual ~OdGeCurve3d();

    virtual std::unique_ptr<OdGeCurve3d> copy() const = 0;

    virtual void getInterval(double& startParam, double& endParam) const = 0;
    virtual OdGePoint3d evalPoint(double param) const = 0;
    // derivatives[k] receives the (k+1)-th derivative, for k < numDeriv.
    virtual OdGePoint3d evalPoint(double param, int numDeriv, std::vector<OdGeVector3d>& derivatives) const = 0;

    OdGePoint3d startPoint() const;
    OdGePoint3d endPoint() const;

    virtual bool isClosed(const OdGeTol& tol = OdGeContext::gTol) const;

    // Arc length between two parameters (order does not matter); tol is relative.
    virtual double length(double fromParam, double toParam, double tol = 1e-10) const;
    double length() const;
    // The parameter at the given arc length from fromParam, clamped to the interval.
    virtual double paramAtLength(double fromParam, double length, bool forward = true, double tol = 1e-10) const;

    // Parameter of the curve point nearest to pt.
    virtual double paramOf(const OdGePoint3d& pt, const OdGeTol& tol = OdGeContext::gTol) const;
    virtual OdGePoint3d closestPointTo(const OdGePoint3d& pt, const OdGeTol& tol = OdGeContext::gTol) const;
    double distanceTo(const OdGePoint3d& pt, const OdGeTol& tol = OdGeContext::gTol) const;
    bool isOn(const OdGePoint3d& pt, const OdGeTol& tol = OdGeContext::gTol) const;

    // Isolated points where the curve crosses the plane; false when there are none
    // (a curve lying in the plane has none). Tangential touches are found only by
    // the analytic overrides.
    virtual bool intersectWith(const OdGePlane& plane, std::vector<OdGePoint3d>& points,
                               const OdGeTol& tol = OdGeContext::gTol) const;

    // The two pieces before and after param; a piece is null when param lies at or
    // beyond that end of the interval.
    virtual void getSplitCurves(double param, std::unique_ptr<OdGeCurve3d>& piece1,
                                std::unique_ptr<OdGeCurve3d>& piece2) const = 0;

    virtual OdGeCurve3d& transformBy(const OdGeMatrix3d& m) = 0;
    // Same point set traversed the other way; the interval may change.
    virtual OdGeCurve3d& reverseParam() = 0;

    // numSample points at evenly spaced parameters, ends included (numSample >= 2).
    void getSamplePoints(int numSample, std::vector<OdGePoint3d>& points) const;
    // Appends a polyline through curve points between the parameters whose chords stay
    // within approxEps of the curve; both end points are included.
    void appendSamplePoints(double fromParam, double toParam, double approxEps, std::vector<OdGePoint3d>& points) const;

protected:
    OdGeCurve3d() = default;
    OdGeCurve3d(const OdGeCurve3d&) = default;
    OdGeCurve3d& operator=(const OdGeCurve3d&) = default;

    // Parameters that seed the numerical searches: dense enough that each piece
    // between neighbours holds at most one local extremum of distance.
    virtual std::vector<double> seedParams() const;
};
