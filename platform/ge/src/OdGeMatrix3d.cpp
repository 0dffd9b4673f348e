// Affine 4x4 matrices: products, Gauss-Jordan inverse and the standard transforms.
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGePlane.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

const OdGeMatrix3d OdGeMatrix3d::kIdentity;

OdGeMatrix3d OdGeMatrix3d::operator*(const OdGeMatrix3d& m) const
{
    OdGeMatrix3d r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += entry[i][k] * m.entry[k][j];
            r.entry[i][j] = s;
        }
    return r;
}

bool OdGeMatrix3d::operator==(const OdGeMatrix3d& m) const
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (entry[i][j] != m.entry[i][j])
                return false;
    return true;
}

bool OdGeMatrix3d::isEqualTo(const OdGeMatrix3d& m, const OdGeTol& tol) const
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (std::fabs(entry[i][j] - m.entry[i][j]) > tol.equalVector())
                return false;
    return true;
}

OdGeMatrix3d& OdGeMatrix3d::setToIdentity()
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            entry[i][j] = i == j ? 1.0 : 0.0;
    return *this;
}

OdGeMatrix3d& OdGeMatrix3d::setToProduct(const OdGeMatrix3d& a, const OdGeMatrix3d& b) { return *this = a * b; }

OdGeMatrix3d& OdGeMatrix3d::preMultBy(const OdGeMatrix3d& left) { return *this = left * *this; }

OdGeMatrix3d& OdGeMatrix3d::postMultBy(const OdGeMatrix3d& right) { return *this = *this * right; }

double OdGeMatrix3d::det() const
{
    double a[4][4];
    std::copy(&entry[0][0], &entry[0][0] + 16, &a[0][0]);
    double d = 1.0;
    for (int c = 0; c < 4; ++c) {
        int p = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[p][c]))
                p = r;
        if (a[p][c] == 0.0)
            return 0.0;
        if (p != c) {
            std::swap(a[p], a[c]);
            d = -d;
        }
        d *= a[c][c];
        for (int r = c + 1; r < 4; ++r) {
            const double f = a[r][c] / a[c][c];
            for (int k = c; k < 4; ++k)
                a[r][k] -= f * a[c][k];
        }
    }
    return d;
}

bool OdGeMatrix3d::isSingular(const OdGeTol& tol) const
{
    OdGeMatrix3d unused;
    return !inverse(unused, tol.equalVector());
}

bool OdGeMatrix3d::inverse(OdGeMatrix3d& result, double tol) const
{
    double a[4][4];
    std::copy(&entry[0][0], &entry[0][0] + 16, &a[0][0]);
    double scaleRef = 0.0;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            scaleRef = std::max(scaleRef, std::fabs(a[i][j]));
    OdGeMatrix3d inv;
    for (int c = 0; c < 4; ++c) {
        int p = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[p][c]))
                p = r;
        // Relative test: a pivot tiny against the matrix's own magnitude means rank loss.
        if (std::fabs(a[p][c]) <= tol * scaleRef || scaleRef == 0.0)
            return false;
        std::swap(a[p], a[c]);
        std::swap(inv.entry[p], inv.entry[c]);
        const double piv = a[c][c];
        for (int k = 0; k < 4; ++k) {
            a[c][k] /= piv;
            inv.entry[c][k] /= piv;
        }
        for (int r = 0; r < 4; ++r) {
            if (r == c)
                continue;
            const double f = a[r][c];
            if (f == 0.0)
                continue;
            for (int k = 0; k < 4; ++k) {
                a[r][k] -= f * a[c][k];
                inv.entry[r][k] -= f * inv.entry[c][k];
            }
        }
    }
    result = inv;
    return true;
}

OdGeMatrix3d OdGeMatrix3d::inverse() const
{
    OdGeMatrix3d r;
    if (!inverse(r))
        throw std::domain_error("OdGeMatrix3d::inverse: singular matrix");
    return r;
}

OdGeMatrix3d& OdGeMatrix3d::invert() { return *this = inverse(); }

OdGeMatrix3d OdGeMatrix3d::transpose() const
{
    OdGeMatrix3d r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.entry[i][j] = entry[j][i];
    return r;
}

OdGeMatrix3d& OdGeMatrix3d::setToTranslation(const OdGeVector3d& v)
{
    setToIdentity();
    entry[0][3] = v.x;
    entry[1][3] = v.y;
    entry[2][3] = v.z;
    return *this;
}

OdGeMatrix3d& OdGeMatrix3d::setToRotation(double angle, const OdGeVector3d& axis, const OdGePoint3d& center)
{
    const OdGeVector3d k = axis.normal();
    const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    setToIdentity();
    entry[0][0] = t * k.x * k.x + c;
    entry[0][1] = t * k.x * k.y - s * k.z;
    entry[0][2] = t * k.x * k.z + s * k.y;
    entry[1][0] = t * k.x * k.y + s * k.z;
    entry[1][1] = t * k.y * k.y + c;
    entry[1][2] = t * k.y * k.z - s * k.x;
    entry[2][0] = t * k.x * k.z - s * k.y;
    entry[2][1] = t * k.y * k.z + s * k.x;
    entry[2][2] = t * k.z * k.z + c;
    // Fix the centre: t = center - R * center.
    OdGeVector3d rc = center.asVector();
    rc.transformBy(*this);
    entry[0][3] = center.x - rc.x;
    entry[1][3] = center.y - rc.y;
    entry[2][3] = center.z - rc.z;
    return *this;
}

OdGeMatrix3d& OdGeMatrix3d::setToScaling(double scale, const OdGePoint3d& center)
{
    setToIdentity();
    for (int i = 0; i < 3; ++i)
        entry[i][i] = scale;
    entry[0][3] = center.x * (1.0 - scale);
    entry[1][3] = center.y * (1.0 - scale);
    entry[2][3] = center.z * (1.0 - scale);
    return *this;
}

OdGeMatrix3d& OdGeMatrix3d::setToMirroring(const OdGePlane& plane)
{
    const OdGeVector3d n = plane.normal();
    const double nn[3] = {n.x, n.y, n.z};
    const double h = 2.0 * n.dotProduct(plane.pointOnPlane().asVector());
    setToIdentity();
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j)
            entry[i][j] -= 2.0 * nn[i] * nn[j];
        entry[i][3] = h * nn[i];
    }
    return *this;
}

OdGeMatrix3d& OdGeMatrix3d::setToMirroring(const OdGePoint3d& point)
{
    setToScaling(-1.0, point);
    return *this;
}

OdGeMatrix3d& OdGeMatrix3d::setCoordSystem(const OdGePoint3d& origin, const OdGeVector3d& xAxis,
                                           const OdGeVector3d& yAxis, const OdGeVector3d& zAxis)
{
    setToIdentity();
    const OdGeVector3d* axes[3] = {&xAxis, &yAxis, &zAxis};
    for (int j = 0; j < 3; ++j) {
        entry[0][j] = axes[j]->x;
        entry[1][j] = axes[j]->y;
        entry[2][j] = axes[j]->z;
    }
    entry[0][3] = origin.x;
    entry[1][3] = origin.y;
    entry[2][3] = origin.z;
    return *this;
}

void OdGeMatrix3d::getCoordSystem(OdGePoint3d& origin, OdGeVector3d& xAxis, OdGeVector3d& yAxis,
                                  OdGeVector3d& zAxis) const
{
    xAxis.set(entry[0][0], entry[1][0], entry[2][0]);
    yAxis.set(entry[0][1], entry[1][1], entry[2][1]);
    zAxis.set(entry[0][2], entry[1][2], entry[2][2]);
    origin.set(entry[0][3], entry[1][3], entry[2][3]);
}

OdGeMatrix3d& OdGeMatrix3d::setToAlignCoordSys(const OdGePoint3d& fromOrigin, const OdGeVector3d& fromXAxis,
                                               const OdGeVector3d& fromYAxis, const OdGeVector3d& fromZAxis,
                                               const OdGePoint3d& toOrigin, const OdGeVector3d& toXAxis,
                                               const OdGeVector3d& toYAxis, const OdGeVector3d& toZAxis)
{
    OdGeMatrix3d from, to;
    from.setCoordSystem(fromOrigin, fromXAxis, fromYAxis, fromZAxis);
    to.setCoordSystem(toOrigin, toXAxis, toYAxis, toZAxis);
    return *this = to * from.inverse();
}

OdGeMatrix3d OdGeMatrix3d::translation(const OdGeVector3d& v) { return OdGeMatrix3d().setToTranslation(v); }

OdGeMatrix3d OdGeMatrix3d::rotation(double angle, const OdGeVector3d& axis, const OdGePoint3d& center)
{
    return OdGeMatrix3d().setToRotation(angle, axis, center);
}

OdGeMatrix3d OdGeMatrix3d::scaling(double scale, const OdGePoint3d& center)
{
    return OdGeMatrix3d().setToScaling(scale, center);
}

OdGeMatrix3d OdGeMatrix3d::mirroring(const OdGePlane& plane) { return OdGeMatrix3d().setToMirroring(plane); }

OdGeMatrix3d OdGeMatrix3d::mirroring(const OdGePoint3d& point) { return OdGeMatrix3d().setToMirroring(point); }

OdGeMatrix3d OdGeMatrix3d::alignCoordSys(const OdGePoint3d& fromOrigin, const OdGeVector3d& fromXAxis,
                                         const OdGeVector3d& fromYAxis, const OdGeVector3d& fromZAxis,
                                         const OdGePoint3d& toOrigin, const OdGeVector3d& toXAxis,
                                         const OdGeVector3d& toYAxis, const OdGeVector3d& toZAxis)
{
    return OdGeMatrix3d().setToAlignCoordSys(fromOrigin, fromXAxis, fromYAxis, fromZAxis, toOrigin, toXAxis, toYAxis,
                                             toZAxis);
}

OdGeMatrix3d OdGeMatrix3d::planeToWorld(const OdGeVector3d& normal)
{
    const OdGeVector3d n = normal.normal();
    const OdGeVector3d ax = n.perpVector();
    const OdGeVector3d ay = n.crossProduct(ax).normal();
    return OdGeMatrix3d().setCoordSystem(OdGePoint3d::kOrigin, ax, ay, n);
}

OdGeMatrix3d OdGeMatrix3d::worldToPlane(const OdGeVector3d& normal)
{
    // The frame is orthonormal, so its inverse is its transpose.
    return planeToWorld(normal).transpose();
}

OdGeMatrix3d OdGeMatrix3d::planeToWorld(const OdGePlane& plane)
{
    return OdGeMatrix3d().setCoordSystem(plane.pointOnPlane(), plane.uAxis(), plane.vAxis(), plane.normal());
}

OdGeMatrix3d OdGeMatrix3d::worldToPlane(const OdGePlane& plane) { return planeToWorld(plane).inverse(); }

bool OdGeMatrix3d::isUniScaledOrtho(const OdGeTol& tol) const
{
    OdGePoint3d o;
    OdGeVector3d ax[3];
    getCoordSystem(o, ax[0], ax[1], ax[2]);
    const double len = ax[0].length();
    if (len <= tol.equalVector())
        return false;
    for (int i = 0; i < 3; ++i) {
        if (std::fabs(ax[i].length() - len) > tol.equalVector() * std::max(1.0, len))
            return false;
        for (int j = i + 1; j < 3; ++j)
            if (std::fabs(ax[i].dotProduct(ax[j])) > tol.equalVector() * std::max(1.0, len * len))
                return false;
    }
    return entry[3][0] == 0.0 && entry[3][1] == 0.0 && entry[3][2] == 0.0 && entry[3][3] == 1.0;
}

double OdGeMatrix3d::scale() const
{
    OdGePoint3d o;
    OdGeVector3d x, y, z;
    getCoordSystem(o, x, y, z);
    return std::max({x.length(), y.length(), z.length()});
}
