// 2d circular arcs: construction from centre/angles, three points or a polyline bulge,
// closed-form evaluation, and intersections with lines and other arcs.
#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeLinearEnt2d.h>
#include <vantrel/ge/OdGeMatrix2d.h>

#include "EllipseCore.h"

#include <cassert>

using namespace vantrel::ge;

OdGeCircArc2d::OdGeCircArc2d(const OdGePoint2d& center, double radius, double startAng, double endAng,
                             const OdGeVector2d& refVec, bool isClockWise)
{
    set(center, radius, startAng, endAng, refVec, isClockWise);
}

OdGeCircArc2d::OdGeCircArc2d(const OdGePoint2d& start, const OdGePoint2d& mid, const OdGePoint2d& end)
{
    [[maybe_unused]] const bool ok = set(start, mid, end);
    assert(ok && "three colinear points define no arc");
}

OdGeCircArc2d::OdGeCircArc2d(const OdGePoint2d& start, const OdGePoint2d& end, double bulge, bool bulgeFlag)
{
    set(start, end, bulge, bulgeFlag);
}

OdGeCircArc2d& OdGeCircArc2d::set(const OdGePoint2d& center, double radius, double startAng, double endAng,
                                  const OdGeVector2d& refVec, bool isClockWise)
{
    m_center = center;
    m_radius = radius;
    m_refVec = refVec.normal();
    m_clockWise = isClockWise;
    return setAngles(startAng, endAng);
}

OdGeCircArc2d& OdGeCircArc2d::setAngles(double startAng, double endAng)
{
    setArcRange(startAng, endAng, m_startAng, m_endAng);
    return *this;
}

bool OdGeCircArc2d::set(const OdGePoint2d& start, const OdGePoint2d& mid, const OdGePoint2d& end, const OdGeTol& tol)
{
    const OdGeVector2d b = mid - start, c = end - start;
    const double d = 2.0 * b.crossProduct(c);
    if (std::fabs(d) <= tol.equalVector() * b.length() * c.length() || start.isEqualTo(end, tol))
        return false;
    // Circumcentre relative to start.
    const OdGeVector2d u((c.y * b.lengthSqrd() - b.y * c.lengthSqrd()) / d,
                         (b.x * c.lengthSqrd() - c.x * b.lengthSqrd()) / d);
    m_center = start + u;
    m_radius = u.length();
    m_refVec = OdGeVector2d::kXAxis;
    m_clockWise = d < 0.0; // start -> mid -> end turns clockwise
    m_startAng = 0.0;
    m_endAng = 0.0;
    m_startAng = angleOf(start);
    m_endAng = m_startAng + angleFrom(angleOf(end), m_startAng);
    return true;
}

OdGeCircArc2d& OdGeCircArc2d::set(const OdGePoint2d& start, const OdGePoint2d& end, double bulge, bool bulgeFlag)
{
    const OdGeVector2d chord = end - start;
    const double c = chord.length();
    assert(bulge != 0.0 && c > 0.0 && "a bulge arc needs distinct points and a non-zero bulge");
    if (!bulgeFlag)
        bulge = 2.0 * bulge / c; // sagitta over half chord
    // Centre on the chord's left normal at (c/2)(1 - b^2)/(2b) from the chord midpoint.
    const OdGePoint2d midChord = start + chord * 0.5;
    const OdGeVector2d left = chord.perpVector() / c;
    m_center = midChord + left * (0.5 * c * (1.0 - bulge * bulge) / (2.0 * bulge));
    m_radius = m_center.distanceTo(start);
    m_refVec = OdGeVector2d::kXAxis;
    m_clockWise = bulge < 0.0;
    m_startAng = 0.0;
    m_endAng = 0.0;
    m_startAng = angleOf(start);
    m_endAng = m_startAng + 4.0 * std::atan(std::fabs(bulge));
    return *this;
}

double OdGeCircArc2d::bulge() const
{
    const double b = std::tan(sweep() / 4.0);
    return m_clockWise ? -b : b;
}

double OdGeCircArc2d::angleOf(const OdGePoint2d& pt) const
{
    const OdGeVector2d d = pt - m_center;
    return m_startAng + angleFrom(std::atan2(d.dotProduct(yAxis()), d.dotProduct(m_refVec)), m_startAng);
}

bool OdGeCircArc2d::isInAngularRange(const OdGePoint2d& pt, const OdGeTol& tol) const
{
    const double a = angleOf(pt) - m_startAng;
    const double eps = tol.equalPoint() / m_radius;
    return a <= sweep() + eps || a >= kTwoPi - eps;
}

OdGeVector2d OdGeCircArc2d::tangent(double param) const
{
    return (m_refVec * -std::sin(param) + yAxis() * std::cos(param));
}

std::unique_ptr<OdGeCurve2d> OdGeCircArc2d::copy() const { return std::make_unique<OdGeCircArc2d>(*this); }

void OdGeCircArc2d::getInterval(double& startParam, double& endParam) const
{
    startParam = m_startAng;
    endParam = m_endAng;
}

OdGePoint2d OdGeCircArc2d::evalPoint(double param) const
{
    return m_center + (m_refVec * std::cos(param) + yAxis() * std::sin(param)) * m_radius;
}

OdGePoint2d OdGeCircArc2d::evalPoint(double param, int numDeriv, std::vector<OdGeVector2d>& derivatives) const
{
    return evalTrig(m_center, m_refVec * m_radius, yAxis() * m_radius, param, numDeriv, derivatives);
}

bool OdGeCircArc2d::isClosed(const OdGeTol& tol) const { return sweep() >= kTwoPi - tol.equalVector(); }

double OdGeCircArc2d::length(double fromParam, double toParam, double) const
{
    return std::fabs(toParam - fromParam) * m_radius;
}

double OdGeCircArc2d::paramAtLength(double fromParam, double len, bool forward, double) const
{
    return std::clamp(fromParam + (forward ? len : -len) / m_radius, m_startAng, m_endAng);
}

double OdGeCircArc2d::paramOf(const OdGePoint2d& pt, const OdGeTol&) const
{
    const double a = angleOf(pt);
    if (a <= m_endAng)
        return a;
    // Outside the arc: the nearer end in angle is the nearer end in distance.
    return (a - m_endAng) < (m_startAng + kTwoPi - a) ? m_endAng : m_startAng;
}

OdGePoint2d OdGeCircArc2d::closestPointTo(const OdGePoint2d& pt, const OdGeTol& tol) const
{
    return evalPoint(paramOf(pt, tol));
}

void OdGeCircArc2d::getSplitCurves(double param, std::unique_ptr<OdGeCurve2d>& piece1,
                                   std::unique_ptr<OdGeCurve2d>& piece2) const
{
    splitArc(param, m_startAng, m_endAng, piece1, piece2, [this](double from, double to) {
        return std::make_unique<OdGeCircArc2d>(m_center, m_radius, from, to, m_refVec, m_clockWise);
    });
}

OdGeCircArc2d& OdGeCircArc2d::transformBy(const OdGeMatrix2d& m)
{
    assert(m.isUniScaledOrtho(OdGeTol(1e-10, 1e-8)) && "a non-uniform transform turns an arc into an ellipse");
    m_center.transformBy(m);
    m_radius *= m.scale();
    m_refVec.transformBy(m).normalize();
    // A mirroring turns the arc's sense over.
    if (m.det() < 0.0)
        m_clockWise = !m_clockWise;
    return *this;
}

OdGeCircArc2d& OdGeCircArc2d::reverseParam()
{
    const double sw = sweep();
    m_refVec = (evalPoint(m_endAng) - m_center).normal();
    m_clockWise = !m_clockWise;
    m_startAng = 0.0;
    m_endAng = sw;
    return *this;
}

bool OdGeCircArc2d::intersectWith(const OdGeLinearEnt2d& line, int& numInt, OdGePoint2d& p1, OdGePoint2d& p2,
                                  const OdGeTol& tol) const
{
    numInt = 0;
    const OdGeVector2d dir = line.direction();
    const OdGePoint2d& p0 = line.pointOnLine();
    const OdGePoint2d foot = p0 + dir * dir.dotProduct(m_center - p0);
    const double h = foot.distanceTo(m_center);
    if (h > m_radius + tol.equalPoint())
        return false;
    OdGePoint2d cand[2];
    int n = 0;
    if (std::fabs(h - m_radius) <= tol.equalPoint()) {
        cand[n++] = foot;
    } else {
        const double k = std::sqrt(m_radius * m_radius - h * h);
        cand[n++] = foot - dir * k;
        cand[n++] = foot + dir * k;
    }
    OdGePoint2d* out[2] = {&p1, &p2};
    for (int i = 0; i < n; ++i)
        if (isInAngularRange(cand[i], tol) && line.isOn(cand[i], tol))
            *out[numInt++] = cand[i];
    return numInt > 0;
}

bool OdGeCircArc2d::intersectWith(const OdGeCircArc2d& arc, int& numInt, OdGePoint2d& p1, OdGePoint2d& p2,
                                  const OdGeTol& tol) const
{
    numInt = 0;
    const OdGeVector2d cc = arc.m_center - m_center;
    const double d = cc.length();
    const double r1 = m_radius, r2 = arc.m_radius;
    if (d <= tol.equalPoint() || d > r1 + r2 + tol.equalPoint() || d < std::fabs(r1 - r2) - tol.equalPoint())
        return false;
    const OdGeVector2d e = cc / d;
    const double a = (d * d + r1 * r1 - r2 * r2) / (2.0 * d);
    const double h = std::sqrt(std::max(r1 * r1 - a * a, 0.0));
    const OdGePoint2d base = m_center + e * a;
    OdGePoint2d cand[2];
    int n = 0;
    if (h <= tol.equalPoint()) {
        cand[n++] = base;
    } else {
        cand[n++] = base + e.perpVector() * h;
        cand[n++] = base - e.perpVector() * h;
    }
    OdGePoint2d* out[2] = {&p1, &p2};
    for (int i = 0; i < n; ++i)
        if (isInAngularRange(cand[i], tol) && arc.isInAngularRange(cand[i], tol))
            *out[numInt++] = cand[i];
    return numInt > 0;
}
