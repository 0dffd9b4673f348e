// Affine 3x3 matrices of the plane.
#include <vantrel/ge/OdGeMatrix2d.h>

#include <algorithm>
#include <stdexcept>

const OdGeMatrix2d OdGeMatrix2d::kIdentity;

OdGeMatrix2d OdGeMatrix2d::operator*(const OdGeMatrix2d& m) const
{
    OdGeMatrix2d r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double s = 0.0;
            for (int k = 0; k < 3; ++k)
                s += entry[i][k] * m.entry[k][j];
            r.entry[i][j] = s;
        }
    return r;
}

OdGeMatrix2d& OdGeMatrix2d::preMultBy(const OdGeMatrix2d& left) { return *this = left * *this; }

OdGeMatrix2d& OdGeMatrix2d::postMultBy(const OdGeMatrix2d& right) { return *this = *this * right; }

bool OdGeMatrix2d::isEqualTo(const OdGeMatrix2d& m, const OdGeTol& tol) const
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (std::fabs(entry[i][j] - m.entry[i][j]) > tol.equalVector())
                return false;
    return true;
}

OdGeMatrix2d& OdGeMatrix2d::setToIdentity()
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            entry[i][j] = i == j ? 1.0 : 0.0;
    return *this;
}

double OdGeMatrix2d::det() const
{
    const auto& e = entry;
    return e[0][0] * (e[1][1] * e[2][2] - e[1][2] * e[2][1]) - e[0][1] * (e[1][0] * e[2][2] - e[1][2] * e[2][0])
        + e[0][2] * (e[1][0] * e[2][1] - e[1][1] * e[2][0]);
}

OdGeMatrix2d OdGeMatrix2d::inverse() const
{
    const double d = det();
    double scaleRef = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            scaleRef = std::max(scaleRef, std::fabs(entry[i][j]));
    if (scaleRef == 0.0 || std::fabs(d) <= 1e-14 * scaleRef * scaleRef * scaleRef)
        throw std::domain_error("OdGeMatrix2d::inverse: singular matrix");
    // Adjugate over determinant.
    OdGeMatrix2d r;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            r.entry[i][j] = (entry[r0][c0] * entry[r1][c1] - entry[r0][c1] * entry[r1][c0]) / d;
        }
    return r;
}

OdGeMatrix2d& OdGeMatrix2d::setToTranslation(const OdGeVector2d& v)
{
    setToIdentity();
    entry[0][2] = v.x;
    entry[1][2] = v.y;
    return *this;
}

OdGeMatrix2d& OdGeMatrix2d::setToRotation(double angle, const OdGePoint2d& center)
{
    const double c = std::cos(angle), s = std::sin(angle);
    setToIdentity();
    entry[0][0] = c;
    entry[0][1] = -s;
    entry[1][0] = s;
    entry[1][1] = c;
    entry[0][2] = center.x - (c * center.x - s * center.y);
    entry[1][2] = center.y - (s * center.x + c * center.y);
    return *this;
}

OdGeMatrix2d& OdGeMatrix2d::setToScaling(double scale, const OdGePoint2d& center)
{
    setToIdentity();
    entry[0][0] = entry[1][1] = scale;
    entry[0][2] = center.x * (1.0 - scale);
    entry[1][2] = center.y * (1.0 - scale);
    return *this;
}

OdGeMatrix2d& OdGeMatrix2d::setToMirroring(const OdGePoint2d& point, const OdGeVector2d& dir)
{
    const OdGeVector2d l = dir.normal();
    setToIdentity();
    entry[0][0] = 2.0 * l.x * l.x - 1.0;
    entry[0][1] = 2.0 * l.x * l.y;
    entry[1][0] = 2.0 * l.x * l.y;
    entry[1][1] = 2.0 * l.y * l.y - 1.0;
    entry[0][2] = point.x - (entry[0][0] * point.x + entry[0][1] * point.y);
    entry[1][2] = point.y - (entry[1][0] * point.x + entry[1][1] * point.y);
    return *this;
}

OdGeMatrix2d OdGeMatrix2d::translation(const OdGeVector2d& v) { return OdGeMatrix2d().setToTranslation(v); }

OdGeMatrix2d OdGeMatrix2d::rotation(double angle, const OdGePoint2d& center)
{
    return OdGeMatrix2d().setToRotation(angle, center);
}

OdGeMatrix2d OdGeMatrix2d::scaling(double scale, const OdGePoint2d& center)
{
    return OdGeMatrix2d().setToScaling(scale, center);
}

OdGeMatrix2d OdGeMatrix2d::mirroring(const OdGePoint2d& point, const OdGeVector2d& dir)
{
    return OdGeMatrix2d().setToMirroring(point, dir);
}

bool OdGeMatrix2d::isUniScaledOrtho(const OdGeTol& tol) const
{
    const OdGeVector2d ax(entry[0][0], entry[1][0]), ay(entry[0][1], entry[1][1]);
    const double len = ax.length();
    return len > tol.equalVector() && std::fabs(ay.length() - len) <= tol.equalVector() * std::max(1.0, len)
        && std::fabs(ax.dotProduct(ay)) <= tol.equalVector() * std::max(1.0, len * len);
}

double OdGeMatrix2d::scale() const
{
    return std::max(OdGeVector2d(entry[0][0], entry[1][0]).length(), OdGeVector2d(entry[0][1], entry[1][1]).length());
}
