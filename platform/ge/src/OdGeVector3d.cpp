// Out-of-line parts of OdGeVector3d/OdGePoint3d: constants, matrix transforms and
// the plane conversions that need OdGePlane.
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGePlane.h>
#include <vantrel/ge/OdGeVector3d.h>

const OdGeVector3d OdGeVector3d::kIdentity(0.0, 0.0, 0.0);
const OdGeVector3d OdGeVector3d::kXAxis(1.0, 0.0, 0.0);
const OdGeVector3d OdGeVector3d::kYAxis(0.0, 1.0, 0.0);
const OdGeVector3d OdGeVector3d::kZAxis(0.0, 0.0, 1.0);
const OdGePoint3d OdGePoint3d::kOrigin(0.0, 0.0, 0.0);

OdGeVector3d& OdGeVector3d::transformBy(const OdGeMatrix3d& m)
{
    const auto& e = m.entry;
    return set(e[0][0] * x + e[0][1] * y + e[0][2] * z, e[1][0] * x + e[1][1] * y + e[1][2] * z,
               e[2][0] * x + e[2][1] * y + e[2][2] * z);
}

OdGePoint3d& OdGePoint3d::transformBy(const OdGeMatrix3d& m)
{
    const auto& e = m.entry;
    return set(e[0][0] * x + e[0][1] * y + e[0][2] * z + e[0][3], e[1][0] * x + e[1][1] * y + e[1][2] * z + e[1][3],
               e[2][0] * x + e[2][1] * y + e[2][2] * z + e[2][3]);
}

OdGePoint2d OdGePoint3d::convert2d(const OdGePlanarEnt& plane) const { return plane.paramOf(*this); }

OdGePoint3d OdGePoint3d::project(const OdGePlane& plane, const OdGeVector3d& dir) const
{
    const OdGeVector3d n = plane.normal();
    const double denom = n.dotProduct(dir);
    if (std::fabs(denom) <= OdGeContext::gTol.equalVector() * dir.length())
        return *this;
    return *this + dir * (n.dotProduct(plane.pointOnPlane() - *this) / denom);
}

OdGePoint3d OdGePoint3d::orthoProject(const OdGePlane& plane) const { return plane.closestPointTo(*this); }
