// Circular arcs in space. Planar questions are answered by the 2d arc in the arc's own
// frame (centre at the origin, refVec along X) and lifted back.
#include <vantrel/ge/OdGeCircArc3d.h>
#include <vantrel/ge/OdGeLine2d.h>
#include <vantrel/ge/OdGeLine3d.h>
#include <vantrel/ge/OdGeMatrix3d.h>

#include "EllipseCore.h"

#include <algorithm>
#include <cassert>
#include <cmath>

using namespace vantrel::ge;

OdGeCircArc3d::OdGeCircArc3d(const OdGePoint3d& center, const OdGeVector3d& normal, double radius)
{
    set(center, normal, radius);
}

OdGeCircArc3d::OdGeCircArc3d(const OdGePoint3d& center, const OdGeVector3d& normal, const OdGeVector3d& refVec,
                             double radius, double startAng, double endAng)
{
    set(center, normal, refVec, radius, startAng, endAng);
}

OdGeCircArc3d::OdGeCircArc3d(const OdGePoint3d& start, const OdGePoint3d& mid, const OdGePoint3d& end)
{
    [[maybe_unused]] const bool ok = set(start, mid, end);
    assert(ok && "three colinear points define no arc");
}

OdGeCircArc3d& OdGeCircArc3d::set(const OdGePoint3d& center, const OdGeVector3d& normal, double radius)
{
    return set(center, normal, normal.perpVector(), radius, 0.0, kTwoPi);
}

OdGeCircArc3d& OdGeCircArc3d::set(const OdGePoint3d& center, const OdGeVector3d& normal, const OdGeVector3d& refVec,
                                  double radius, double startAng, double endAng)
{
    assert(!normal.isZeroLength() && "an arc needs a normal");
    m_center = center;
    m_normal = normal.normal();
    m_refVec = refVec.orthoProject(m_normal).normal();
    if (m_refVec.isZeroLength())
        m_refVec = m_normal.perpVector();
    m_radius = radius;
    return setAngles(startAng, endAng);
}

OdGeCircArc3d& OdGeCircArc3d::setAngles(double startAng, double endAng)
{
    setArcRange(startAng, endAng, m_startAng, m_endAng);
    return *this;
}

bool OdGeCircArc3d::set(const OdGePoint3d& start, const OdGePoint3d& mid, const OdGePoint3d& end, const OdGeTol& tol)
{
    // Worked out on the sides scaled to length 1 or less, so that neither huge nor tiny
    // coordinates overflow or underflow the products; the centre's offset scales back linearly.
    const double scale = std::max((mid - start).length(), (end - start).length());
    if (!(scale > 0.0) || !std::isfinite(scale))
        return false;
    const OdGeVector3d ab = (mid - start) / scale, ac = (end - start) / scale;
    const OdGeVector3d n = ab.crossProduct(ac);
    if (n.length() <= tol.equalVector() * ab.length() * ac.length() || start.isEqualTo(end, tol))
        return false;
    // Circumcentre: start + (|ac|^2 (n x ab) + |ab|^2 (ac x n)) / (2 |n|^2).
    const OdGeVector3d u = (n.crossProduct(ab) * ac.lengthSqrd() + ac.crossProduct(n) * ab.lengthSqrd())
        / (2.0 * n.lengthSqrd()) * scale;
    m_center = start + u;
    m_radius = u.length();
    m_normal = n.normal(); // start -> mid -> end turns counterclockwise about it
    m_refVec = (-u).normal();
    m_startAng = 0.0;
    m_endAng = m_refVec.angleTo(end - m_center, m_normal);
    return true;
}

OdGeCircArc2d OdGeCircArc3d::to2d() const
{
    return OdGeCircArc2d(OdGePoint2d::kOrigin, m_radius, m_startAng, m_endAng);
}

OdGeVector3d OdGeCircArc3d::tangent(double param) const
{
    return m_refVec * -std::sin(param) + yAxis() * std::cos(param);
}

std::unique_ptr<OdGeCurve3d> OdGeCircArc3d::copy() const { return std::make_unique<OdGeCircArc3d>(*this); }

void OdGeCircArc3d::getInterval(double& startParam, double& endParam) const
{
    startParam = m_startAng;
    endParam = m_endAng;
}

OdGePoint3d OdGeCircArc3d::evalPoint(double param) const
{
    return m_center + (m_refVec * std::cos(param) + yAxis() * std::sin(param)) * m_radius;
}

OdGePoint3d OdGeCircArc3d::evalPoint(double param, int numDeriv, std::vector<OdGeVector3d>& derivatives) const
{
    std::vector<OdGeVector2d> d2;
    const OdGePoint2d p = to2d().evalPoint(param, numDeriv, d2);
    derivatives.clear();
    for (const OdGeVector2d& v : d2)
        derivatives.push_back(m_refVec * v.x + yAxis() * v.y);
    return fromPlane(p);
}

bool OdGeCircArc3d::isClosed(const OdGeTol& tol) const { return sweep() >= kTwoPi - tol.equalVector(); }

double OdGeCircArc3d::length(double fromParam, double toParam, double) const
{
    return std::fabs(toParam - fromParam) * m_radius;
}

double OdGeCircArc3d::paramAtLength(double fromParam, double len, bool forward, double) const
{
    return std::clamp(fromParam + (forward ? len : -len) / m_radius, m_startAng, m_endAng);
}

double OdGeCircArc3d::paramOf(const OdGePoint3d& pt, const OdGeTol& tol) const
{
    const OdGeVector3d d = pt - m_center;
    return to2d().paramOf(OdGePoint2d(d.dotProduct(m_refVec), d.dotProduct(yAxis())), tol);
}

OdGePoint3d OdGeCircArc3d::closestPointTo(const OdGePoint3d& pt, const OdGeTol& tol) const
{
    return evalPoint(paramOf(pt, tol));
}

bool OdGeCircArc3d::intersectWith(const OdGePlane& plane, std::vector<OdGePoint3d>& points, const OdGeTol& tol) const
{
    points.clear();
    const OdGeVector3d n = plane.normal();
    const double A = m_radius * n.dotProduct(m_refVec), B = m_radius * n.dotProduct(yAxis());
    const double C = plane.signedDistanceTo(m_center);
    const OdGeCircArc2d flat = to2d();
    for (double a : planeCrossingParams(A, B, C, tol.equalPoint())) {
        const OdGePoint2d p2(m_radius * std::cos(a), m_radius * std::sin(a));
        if (!flat.isInAngularRange(p2, tol))
            continue;
        const OdGePoint3d p = fromPlane(p2);
        if (points.empty() || !points.front().isEqualTo(p, tol))
            points.push_back(p);
    }
    return !points.empty();
}

bool OdGeCircArc3d::intersectWith(const OdGeLinearEnt3d& line, int& numInt, OdGePoint3d& p1, OdGePoint3d& p2,
                                  const OdGeTol& tol) const
{
    numInt = 0;
    const OdGePlane plane = getPlane();
    const OdGeVector3d dir = line.direction();
    if (std::fabs(dir.dotProduct(m_normal)) <= tol.equalVector()) {
        if (!plane.isOn(line.pointOnLine(), tol))
            return false;
        const OdGeVector3d o = line.pointOnLine() - m_center;
        const OdGeLine2d flatLine(OdGePoint2d(o.dotProduct(m_refVec), o.dotProduct(yAxis())),
                                  OdGeVector2d(dir.dotProduct(m_refVec), dir.dotProduct(yAxis())));
        OdGePoint2d q1, q2;
        int n = 0;
        if (!to2d().intersectWith(flatLine, n, q1, q2, tol))
            return false;
        const OdGePoint2d* qs[2] = {&q1, &q2};
        OdGePoint3d* out[2] = {&p1, &p2};
        for (int i = 0; i < n; ++i) {
            const OdGePoint3d p = fromPlane(*qs[i]);
            if (line.isOn(p, tol))
                *out[numInt++] = p;
        }
        return numInt > 0;
    }
    OdGePoint3d p;
    if (plane.intersectWith(line, p, tol) && isOn(p, tol)) {
        p1 = p;
        numInt = 1;
    }
    return numInt > 0;
}

bool OdGeCircArc3d::intersectWith(const OdGeCircArc3d& arc, int& numInt, OdGePoint3d& p1, OdGePoint3d& p2,
                                  const OdGeTol& tol) const
{
    numInt = 0;
    const OdGePlane plane = getPlane(), other = arc.getPlane();
    OdGePoint3d cand[2];
    int n = 0;
    if (plane.isParallelTo(other, tol)) {
        if (!plane.isOn(arc.m_center, tol))
            return false;
        // Coplanar: express the other arc in this arc's frame and intersect in 2d.
        const OdGeVector3d o = arc.m_center - m_center;
        const OdGeVector3d ref = arc.m_refVec;
        const OdGeCircArc2d flatOther(
            OdGePoint2d(o.dotProduct(m_refVec), o.dotProduct(yAxis())), arc.m_radius, arc.m_startAng, arc.m_endAng,
            OdGeVector2d(ref.dotProduct(m_refVec), ref.dotProduct(yAxis())), arc.m_normal.dotProduct(m_normal) < 0.0);
        OdGePoint2d q[2];
        if (!to2d().intersectWith(flatOther, n, q[0], q[1], tol))
            return false;
        for (int i = 0; i < n; ++i)
            cand[i] = fromPlane(q[i]);
    } else {
        // Both circles meet the planes' common line; their common points lie on it.
        OdGeLine3d common;
        plane.intersectWith(other, common, tol);
        OdGePoint3d q[2];
        if (!intersectWith(common, n, q[0], q[1], tol))
            return false;
        int kept = 0;
        for (int i = 0; i < n; ++i)
            if (arc.isOn(q[i], tol))
                cand[kept++] = q[i];
        n = kept;
    }
    OdGePoint3d* out[2] = {&p1, &p2};
    for (int i = 0; i < n; ++i)
        *out[numInt++] = cand[i];
    return numInt > 0;
}

void OdGeCircArc3d::getSplitCurves(double param, std::unique_ptr<OdGeCurve3d>& piece1,
                                   std::unique_ptr<OdGeCurve3d>& piece2) const
{
    splitArc(param, m_startAng, m_endAng, piece1, piece2, [this](double from, double to) {
        return std::make_unique<OdGeCircArc3d>(m_center, m_normal, m_refVec, m_radius, from, to);
    });
}

OdGeCircArc3d& OdGeCircArc3d::transformBy(const OdGeMatrix3d& m)
{
    assert(m.isUniScaledOrtho(OdGeTol(1e-10, 1e-8)) && "a non-uniform transform turns an arc into an ellipse");
    OdGeVector3d y = yAxis();
    m_center.transformBy(m);
    m_radius *= m.scale();
    m_refVec.transformBy(m).normalize();
    y.transformBy(m).normalize();
    // Under a mirroring the image of Y is no longer normal x refVec: the normal turns over.
    m_normal = m_refVec.crossProduct(y).normal();
    return *this;
}

OdGeCircArc3d& OdGeCircArc3d::reverseParam()
{
    const double sw = sweep();
    m_refVec = (evalPoint(m_endAng) - m_center).normal();
    m_normal = -m_normal;
    m_startAng = 0.0;
    m_endAng = sw;
    return *this;
}
