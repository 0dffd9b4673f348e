// 3x3 affine transform of the plane acting on column vectors: p' = M * p.
#pragma once

#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGeVector2d.h>

class VANTREL_GE_EXPORT OdGeMatrix2d {
public:
    double entry[3][3];

    OdGeMatrix2d() noexcept { setToIdentity(); }

    static const OdGeMatrix2d kIdentity;

    OdGeMatrix2d operator*(const OdGeMatrix2d& m) const;
    OdGeMatrix2d& preMultBy(const OdGeMatrix2d& left);
    OdGeMatrix2d& postMultBy(const OdGeMatrix2d& right);
    bool isEqualTo(const OdGeMatrix2d& m, const OdGeTol& tol = OdGeContext::gTol) const;

    OdGeMatrix2d& setToIdentity();
    double det() const;
    // Throws std::domain_error for a singular matrix.
    OdGeMatrix2d inverse() const;

    OdGeMatrix2d& setToTranslation(const OdGeVector2d& v);
    OdGeMatrix2d& setToRotation(double angle, const OdGePoint2d& center = OdGePoint2d::kOrigin);
    OdGeMatrix2d& setToScaling(double scale, const OdGePoint2d& center = OdGePoint2d::kOrigin);
    // Reflection in the line through point along dir.
    OdGeMatrix2d& setToMirroring(const OdGePoint2d& point, const OdGeVector2d& dir);

    static OdGeMatrix2d translation(const OdGeVector2d& v);
    static OdGeMatrix2d rotation(double angle, const OdGePoint2d& center = OdGePoint2d::kOrigin);
    static OdGeMatrix2d scaling(double scale, const OdGePoint2d& center = OdGePoint2d::kOrigin);
    static OdGeMatrix2d mirroring(const OdGePoint2d& point, const OdGeVector2d& dir);

    bool isUniScaledOrtho(const OdGeTol& tol = OdGeContext::gTol) const;
    double scale() const;
};
