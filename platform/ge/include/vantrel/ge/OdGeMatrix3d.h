// 4x4 affine transform acting on column vectors: p' = M * p. Row 3 stays (0,0,0,1)
// for every matrix this class builds.
#pragma once

#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/ge/OdGeVector3d.h>

class OdGePlane;

class VANTREL_GE_EXPORT OdGeMatrix3d {
public:
    double entry[4][4];

    OdGeMatrix3d() noexcept { setToIdentity(); }

    static const OdGeMatrix3d kIdentity;

    OdGeMatrix3d operator*(const OdGeMatrix3d& m) const;
    OdGeMatrix3d& operator*=(const OdGeMatrix3d& m) { return postMultBy(m); }
    bool operator==(const OdGeMatrix3d& m) const;
    bool operator!=(const OdGeMatrix3d& m) const { return !(*this == m); }
    bool isEqualTo(const OdGeMatrix3d& m, const OdGeTol& tol = OdGeContext::gTol) const;

    OdGeMatrix3d& setToIdentity();
    OdGeMatrix3d& setToProduct(const OdGeMatrix3d& a, const OdGeMatrix3d& b);
    OdGeMatrix3d& preMultBy(const OdGeMatrix3d& left);   // this = left * this
    OdGeMatrix3d& postMultBy(const OdGeMatrix3d& right); // this = this * right

    double det() const;
    bool isSingular(const OdGeTol& tol = OdGeContext::gTol) const;
    // Throws std::domain_error for a singular matrix; the bool form reports it instead.
    OdGeMatrix3d inverse() const;
    bool inverse(OdGeMatrix3d& result, double tol = 1e-14) const;
    OdGeMatrix3d& invert();
    OdGeMatrix3d transpose() const;

    OdGeMatrix3d& setToTranslation(const OdGeVector3d& v);
    OdGeMatrix3d& setToRotation(double angle, const OdGeVector3d& axis,
                                const OdGePoint3d& center = OdGePoint3d::kOrigin);
    OdGeMatrix3d& setToScaling(double scale, const OdGePoint3d& center = OdGePoint3d::kOrigin);
    OdGeMatrix3d& setToMirroring(const OdGePlane& plane);
    OdGeMatrix3d& setToMirroring(const OdGePoint3d& point);
    // Maps the "from" frame onto the "to" frame (axes need not be unit or orthogonal).
    OdGeMatrix3d& setToAlignCoordSys(const OdGePoint3d& fromOrigin, const OdGeVector3d& fromXAxis,
                                     const OdGeVector3d& fromYAxis, const OdGeVector3d& fromZAxis,
                                     const OdGePoint3d& toOrigin, const OdGeVector3d& toXAxis,
                                     const OdGeVector3d& toYAxis, const OdGeVector3d& toZAxis);
    // Columns become the axes and the origin: maps local coordinates into that frame.
    OdGeMatrix3d& setCoordSystem(const OdGePoint3d& origin, const OdGeVector3d& xAxis, const OdGeVector3d& yAxis,
                                 const OdGeVector3d& zAxis);
    void getCoordSystem(OdGePoint3d& origin, OdGeVector3d& xAxis, OdGeVector3d& yAxis, OdGeVector3d& zAxis) const;
    OdGeVector3d getTranslation() const { return {entry[0][3], entry[1][3], entry[2][3]}; }

    static OdGeMatrix3d translation(const OdGeVector3d& v);
    static OdGeMatrix3d rotation(double angle, const OdGeVector3d& axis,
                                 const OdGePoint3d& center = OdGePoint3d::kOrigin);
    static OdGeMatrix3d scaling(double scale, const OdGePoint3d& center = OdGePoint3d::kOrigin);
    static OdGeMatrix3d mirroring(const OdGePlane& plane);
    static OdGeMatrix3d mirroring(const OdGePoint3d& point);
    static OdGeMatrix3d alignCoordSys(const OdGePoint3d& fromOrigin, const OdGeVector3d& fromXAxis,
                                      const OdGeVector3d& fromYAxis, const OdGeVector3d& fromZAxis,
                                      const OdGePoint3d& toOrigin, const OdGeVector3d& toXAxis,
                                      const OdGeVector3d& toYAxis, const OdGeVector3d& toZAxis);
    // The DXF arbitrary-axis (OCS) frame of an extrusion direction: worldToPlane maps
    // world coordinates to OCS coordinates, planeToWorld maps them back.
    static OdGeMatrix3d worldToPlane(const OdGeVector3d& normal);
    static OdGeMatrix3d planeToWorld(const OdGeVector3d& normal);
    // The same for a plane's own frame (origin, u, unit normal axes).
    static OdGeMatrix3d worldToPlane(const OdGePlane& plane);
    static OdGeMatrix3d planeToWorld(const OdGePlane& plane);

    // True when the axes are mutually perpendicular and of one length (rotation,
    // mirroring, uniform scaling and translation combined).
    bool isUniScaledOrtho(const OdGeTol& tol = OdGeContext::gTol) const;
    // The largest length of the transformed unit axes.
    double scale() const;
};
