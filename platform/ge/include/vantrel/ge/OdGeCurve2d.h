// Base of the parametric 2d curves. Subclasses supply evaluation and interval; length,
// closest point, parameter search and sampling have numerical defaults here that
// subclasses replace where a closed form exists.
#pragma once

#include <memory>
#include <vector>

#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGeVector2d.h>

class OdGeMatrix2d;

class VANTREL_GE_EXPORT OdGeCurve2d {
public:
    virtual ~OdGeCurve2d();

    virtual std::unique_ptr<OdGeCurve2d> copy() const = 0;

    virtual void getInterval(double& startParam, double& endParam) const = 0;
    virtual OdGePoint2d evalPoint(double param) const = 0;
    // derivatives[k] receives the (k+1)-th derivative, for k < numDeriv.
    virtual OdGePoint2d evalPoint(double param, int numDeriv, std::vector<OdGeVector2d>& derivatives) const = 0;

    OdGePoint2d startPoint() const;
    OdGePoint2d endPoint() const;

    virtual bool isClosed(const OdGeTol& tol = OdGeContext::gTol) const;

    // Arc length between two parameters (order does not matter); tol is relative.
    virtual double length(double fromParam, double toParam, double tol = 1e-10) const;
    double length() const;
    // The parameter at the given arc length from fromParam, clamped to the interval.
    virtual double paramAtLength(double fromParam, double length, bool forward = true, double tol = 1e-10) const;

    // Parameter of the curve point nearest to pt.
    virtual double paramOf(const OdGePoint2d& pt, const OdGeTol& tol = OdGeContext::gTol) const;
    virtual OdGePoint2d closestPointTo(const OdGePoint2d& pt, const OdGeTol& tol = OdGeContext::gTol) const;
    double distanceTo(const OdGePoint2d& pt, const OdGeTol& tol = OdGeContext::gTol) const;
    bool isOn(const OdGePoint2d& pt, const OdGeTol& tol = OdGeContext::gTol) const;

    // The two pieces before and after param; a piece is null when param lies at or
    // beyond that end of the interval.
    virtual void getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                                std::unique_ptr<OdGeCurve2d>& piece2) const = 0;

    virtual OdGeCurve2d& transformBy(const OdGeMatrix2d& m) = 0;
    // Same point set traversed the other way; the interval may change.
    virtual OdGeCurve2d& reverseParam() = 0;

    // numSample points at evenly spaced parameters, ends included (numSample >= 2).
    void getSamplePoints(int numSample, std::vector<OdGePoint2d>& points) const;
    // Appends a polyline through curve points between the parameters whose chords stay
    // within approxEps of the curve; both end points are included.
    void appendSamplePoints(double fromParam, double toParam, double approxEps, std::vector<OdGePoint2d>& points) const;

protected:
    OdGeCurve2d() = default;
    OdGeCurve2d(const OdGeCurve2d&) = default;
    OdGeCurve2d& operator=(const OdGeCurve2d&) = default;

    // Parameters that seed the numerical searches: dense enough that each piece
    // between neighbours holds at most one local extremum of distance.
    virtual std::vector<double> seedParams() const;
};
