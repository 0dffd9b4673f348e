// The geometry of one join: merging vertices at the meeting ends, mirroring a candidate that
// lies the other way up, and closing a gap by extending the end segments or bridging it.
#include "pedit/join_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include <vantrel/ge/OdGeCircArc2d.h>
#include <vantrel/ge/OdGeLine2d.h>
#include <vantrel/ge/OdGeMatrix3d.h>

namespace vantrel::pedit {

namespace {

struct Widths {
    double start, end;
};

Widths widthsAt(const OdDbPolyline& polyline, unsigned index)
{
    Widths w{};
    polyline.getWidthsAt(index, w.start, w.end);
    return w;
}

// An end segment: the vertex that stays, the end vertex that may move, and the bulge of the
// segment as the polyline runs (from its start vertex to the next).
struct EndSegment {
    OdGePoint2d fixed;
    OdGePoint2d end;
    double bulge;
    bool endFirst; // the moving vertex starts the segment (the polyline's start)
};

std::optional<OdGeCircArc2d> circleOf(const EndSegment& s)
{
    if (s.bulge == 0.0)
        return std::nullopt;
    const OdGePoint2d& from = s.endFirst ? s.end : s.fixed;
    const OdGePoint2d& to = s.endFirst ? s.fixed : s.end;
    const OdGeCircArc2d arc(from, to, s.bulge, true);
    return OdGeCircArc2d(arc.center(), arc.radius());
}

// The counterclockwise angle from u to v, in [0, 2 pi).
double ccwAngle(const OdGeVector2d& u, const OdGeVector2d& v)
{
    const double a = std::atan2(u.crossProduct(v), u.dotProduct(v));
    return a < 0.0 ? a + 2.0 * std::numbers::pi : a;
}

// The bulge of the arc on the same circle, in the same sense, once the moving end is at `to`.
double bulgeEndingAt(const EndSegment& s, const OdGePoint2d& centre, const OdGePoint2d& to)
{
    const OdGePoint2d& from = s.endFirst ? to : s.fixed;
    const OdGePoint2d& towards = s.endFirst ? s.fixed : to;
    double sweep = ccwAngle(from - centre, towards - centre);
    if (s.bulge < 0.0 && sweep != 0.0)
        sweep = 2.0 * std::numbers::pi - sweep;
    return std::copysign(std::tan(sweep / 4.0), s.bulge);
}

// Where the two end segments meet, if they do.
std::optional<OdGePoint2d> meeting(const EndSegment& a, const EndSegment& c)
{
    const std::optional<OdGeCircArc2d> circleA = circleOf(a), circleC = circleOf(c);
    if (!circleA && !circleC) {
        OdGePoint2d at;
        if (OdGeLine2d(a.fixed, a.end).intersectWith(OdGeLine2d(c.fixed, c.end), at))
            return at;
        return a.end + (c.end - a.end) * 0.5;
    }
    int count = 0;
    OdGePoint2d i1, i2;
    if (circleA && circleC)
        circleA->intersectWith(*circleC, count, i1, i2);
    else if (circleA)
        circleA->intersectWith(OdGeLine2d(c.fixed, c.end), count, i1, i2);
    else
        circleC->intersectWith(OdGeLine2d(a.fixed, a.end), count, i1, i2);
    if (count == 0)
        return std::nullopt;
    if (count == 2 && i1.distanceTo(a.end) + i1.distanceTo(c.end) >= i2.distanceTo(a.end) + i2.distanceTo(c.end))
        return i2;
    return i1;
}

EndSegment chainEnd(const VertexChain& chain, bool atStart)
{
    const std::size_t n = chain.size();
    if (atStart)
        return {chain.at(1).point, chain.at(0).point, chain.at(0).bulge, true};
    return {chain.at(n - 2).point, chain.at(n - 1).point, chain.at(n - 2).bulge, false};
}

EndSegment polylineEnd(const OdDbPolyline& polyline, bool atStart)
{
    const unsigned n = polyline.numVerts();
    const unsigned end = atStart ? 0 : n - 1, fixed = atStart ? 1 : n - 2;
    EndSegment s{};
    polyline.getPointAt(fixed, s.fixed);
    polyline.getPointAt(end, s.end);
    s.bulge = polyline.getBulgeAt(atStart ? 0 : n - 2);
    s.endFirst = atStart;
    return s;
}

} // namespace

OdGePlane chainPlane(const VertexChain& chain)
{
    return OdGePlane(chain.toWorld(OdGePoint2d(0.0, 0.0)), chain.normal());
}

void turnToChain(OdDbPolyline& candidate, const VertexChain& chain)
{
    if (!candidate.normal().isCodirectionalTo(chain.normal()))
        candidate.transformBy(OdGeMatrix3d::mirroring(chainPlane(chain)));
}

void mergeAtEnds(VertexChain& chain, const OdDbPolyline& candidate, EndPairing pairing, bool keepWidths)
{
    const unsigned n = candidate.numVerts();
    if (n == 0)
        return;
    auto point = [&](unsigned i) {
        OdGePoint2d p;
        candidate.getPointAt(i, p);
        return p;
    };
    auto bulge = [&](unsigned i) { return candidate.getBulgeAt(i); };
    switch (pairing) {
    case EndPairing::StartStart:
        // Reversed onto the front: each vertex takes the segment before it, turned round.
        for (unsigned i = 1; i < n; ++i) {
            const Widths w = widthsAt(candidate, i - 1);
            chain.addFront(point(i), -bulge(i - 1), keepWidths ? w.end : -1.0, keepWidths ? w.start : -1.0);
        }
        break;
    case EndPairing::StartEnd:
        for (unsigned i = n - 1; i-- > 0;) {
            const Widths w = widthsAt(candidate, i);
            chain.addFront(point(i), bulge(i), keepWidths ? w.start : -1.0, keepWidths ? w.end : -1.0);
        }
        break;
    case EndPairing::EndStart:
        chain.removeLast();
        for (unsigned i = 0; i < n; ++i) {
            const Widths w = widthsAt(candidate, i);
            chain.append(point(i), bulge(i), keepWidths ? w.start : -1.0, keepWidths ? w.end : -1.0);
        }
        break;
    case EndPairing::EndEnd:
        // Reversed onto the end: the chain's last vertex starts each reversed segment.
        for (unsigned i = n - 1; i-- > 0;) {
            chain.setBulgeAt(chain.size() - 1, -bulge(i));
            if (keepWidths) {
                const Widths w = widthsAt(candidate, i);
                chain.setWidthsAt(chain.size() - 1, w.end, w.start);
            }
            chain.append(point(i), 0.0, -1.0, -1.0);
        }
        chain.setBulgeAt(chain.size() - 1, 0.0);
        break;
    }
}

bool extendToMeet(VertexChain& chain, OdDbPolyline& candidate, EndPairing pairing, double fuzz)
{
    if (chain.size() < 2 || candidate.numVerts() < 2)
        return false;
    const bool chainAtStart = baseAtStart(pairing), candidateAtStartEnd = candidateAtStart(pairing);
    const EndSegment a = chainEnd(chain, chainAtStart);
    const EndSegment c = polylineEnd(candidate, candidateAtStartEnd);
    if (a.fixed.isEqualTo(a.end) || c.fixed.isEqualTo(c.end))
        return false;
    const std::optional<OdGePoint2d> at = meeting(a, c);
    if (!at || std::max(a.end.distanceTo(*at), c.end.distanceTo(*at)) > fuzz + kFuzzSlack)
        return false;

    const std::optional<OdGeCircArc2d> circleA = circleOf(a), circleC = circleOf(c);
    const std::size_t chainVertex = chainAtStart ? 0 : chain.size() - 1;
    chain.setPointAt(chainVertex, *at);
    if (circleA)
        chain.setBulgeAt(chainAtStart ? 0 : chain.size() - 2, bulgeEndingAt(a, circleA->center(), *at));
    const unsigned n = candidate.numVerts();
    candidate.setPointAt(candidateAtStartEnd ? 0 : n - 1, *at);
    if (circleC)
        candidate.setBulgeAt(candidateAtStartEnd ? 0 : n - 2, bulgeEndingAt(c, circleC->center(), *at));
    return true;
}

bool bridgeGap(VertexChain& chain, bool atStart, const OdGePoint2d& to, double fuzz)
{
    const OdGePoint2d from = atStart ? chain.front().point : chain.back().point;
    const double gap = from.distanceTo(to);
    if (gap > fuzz + kFuzzSlack)
        return false;
    if (gap <= kSameEnd)
        return true;
    if (atStart) {
        chain.addFront(to, 0.0, -1.0, -1.0);
    } else {
        chain.setBulgeAt(chain.size() - 1, 0.0);
        chain.append(to, 0.0, -1.0, -1.0);
    }
    return true;
}

} // namespace vantrel::pedit
