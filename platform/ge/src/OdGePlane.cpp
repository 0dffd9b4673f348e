// Plane construction, transforms and intersections with lines and other planes.
#include <vantrel/ge/OdGeMatrix3d.h>
#include <vantrel/ge/OdGeLine3d.h>
#include <vantrel/ge/OdGePlane.h>

#include <cassert>

const OdGePlane OdGePlane::kXYPlane(OdGePoint3d::kOrigin, OdGeVector3d::kXAxis, OdGeVector3d::kYAxis);
const OdGePlane OdGePlane::kYZPlane(OdGePoint3d::kOrigin, OdGeVector3d::kYAxis, OdGeVector3d::kZAxis);
const OdGePlane OdGePlane::kZXPlane(OdGePoint3d::kOrigin, OdGeVector3d::kZAxis, OdGeVector3d::kXAxis);

OdGePlane& OdGePlane::set(const OdGePoint3d& origin, const OdGeVector3d& normal)
{
    assert(!normal.isZeroLength() && "a plane needs a non-zero normal");
    const OdGeVector3d n = normal.normal();
    m_origin = origin;
    m_uAxis = n.perpVector();
    m_vAxis = n.crossProduct(m_uAxis).normal();
    return *this;
}

OdGePlane& OdGePlane::set(const OdGePoint3d& origin, const OdGeVector3d& uAxis, const OdGeVector3d& vAxis)
{
    assert(!uAxis.crossProduct(vAxis).isZeroLength() && "plane axes must span a plane");
    m_origin = origin;
    m_uAxis = uAxis;
    m_vAxis = vAxis;
    return *this;
}

OdGePlane& OdGePlane::transformBy(const OdGeMatrix3d& m)
{
    m_origin.transformBy(m);
    m_uAxis.transformBy(m);
    m_vAxis.transformBy(m);
    return *this;
}

bool OdGePlane::intersectWith(const OdGeLinearEnt3d& line, OdGePoint3d& point, const OdGeTol& tol) const
{
    const OdGeVector3d n = normal();
    std::vector<OdGeVector3d> d;
    const OdGePoint3d p0 = line.evalPoint(0.0, 1, d);
    const double denom = n.dotProduct(d[0]);
    if (std::fabs(denom) <= tol.equalVector() * d[0].length())
        return false;
    const double t = n.dotProduct(m_origin - p0) / denom;
    if (!line.isInInterval(t, tol))
        return false;
    point = line.evalPoint(t);
    return true;
}

bool OdGePlane::intersectWith(const OdGePlane& plane, OdGeLine3d& line, const OdGeTol& tol) const
{
    const OdGeVector3d n1 = normal(), n2 = plane.normal();
    const OdGeVector3d dir = n1.crossProduct(n2);
    if (dir.length() <= tol.equalVector())
        return false;
    // The point of the line nearest the world origin, from n1.x = h1, n2.x = h2, dir.x = 0.
    const double h1 = n1.dotProduct(m_origin.asVector()), h2 = n2.dotProduct(plane.m_origin.asVector());
    const OdGeVector3d p = (n2.crossProduct(dir) * h1 + dir.crossProduct(n1) * h2) / dir.lengthSqrd();
    line.set(p.asPoint(), dir.normal());
    return true;
}
