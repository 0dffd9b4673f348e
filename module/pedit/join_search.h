// Which objects Join takes, and in which order, for a whole selection. Touching joins follow the
// order of the objects as chosen: again and again the first object (in that order) with an end
// on an end of the polyline. Joins across gaps take each object in turn as a base and join to it
// the nearest end pair, the first pair in order winning among distances within 1e-10. Both find
// their candidates through an index of the free ends instead of scanning every object each time,
// and grow the polyline at both ends without copying it, so that large drawings join in
// n log n; the results are those of the scan in order.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/ge/OdGePlane.h>

#include "pedit/VertexChain.h"
#include "pedit/join_geometry.h"

namespace vantrel::pedit {

// An object of the selection as the join sees it: its ends in world coordinates, whether it is
// closed (closed objects join nothing), and its plane (none for objects that have no plane of
// their own, such as 3D polylines, which are never coplanar with anything).
struct JoinItem {
    OdGePoint3d start;
    OdGePoint3d end;
    bool closed = false;
    std::optional<OdGePlane> plane;
};

// An open polyline of two vertices or more whose first and last vertices coincide (within
// OdGeContext::gTol); closeWhereEndsMeet closes it.
bool endsMeet(const OdDbPolyline& polyline);
bool closeWhereEndsMeet(OdDbPolyline& polyline);

// A lightweight copy of object i outside the drawing (or none, when it has no such form); the
// join changes the copy.
using LightweightOf = std::function<OdDbPolylinePtr(std::size_t)>;

// Appends to the chain the objects that touch its ends (within OdGeContext::gTol), each reversed
// as needed; the objects are all in the chain's plane. Answers the objects joined, in the order
// they were joined.
std::vector<std::size_t> joinTouching(VertexChain& chain, std::span<const JoinItem> candidates,
                                      const LightweightOf& lightweightOf);

struct GapJoin {
    // A base that took objects: its lightweight polyline, closed when its ends meet.
    struct Joined {
        std::size_t base;
        OdDbPolylinePtr polyline;
    };
    std::vector<Joined> bases;
    // The objects joined to a base, in the order they were joined.
    std::vector<std::size_t> joined;
    // Some nearest object was not in the base's plane.
    bool notCoplanar = false;
};

// Joins the objects to each other across gaps: each object that is still free becomes a base in
// turn and takes the object whose end is nearest to one of its ends (a pair beyond 1e-6 only with
// a fuzz distance), as long as the gap closes as the join type says. Objects not in the base's
// plane are passed over for that base; an object whose gap does not close stays free for later
// bases.
GapJoin joinAcrossGaps(std::span<const JoinItem> items, JoinType type, double fuzz, const LightweightOf& lightweightOf);

} // namespace vantrel::pedit
