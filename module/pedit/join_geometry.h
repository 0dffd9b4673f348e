// One join of PEdit's Join as geometry: which ends meet, a candidate turned the polyline's way up,
// the candidate's vertices merged in at the meeting ends, and, for joins across a gap, the end
// segments extended until they meet or a straight segment that bridges the gap.
#pragma once

#include <cstdint>

#include <vantrel/db/OdDbPolyline.h>

#include "pedit/VertexChain.h"

namespace vantrel::pedit {

// Which ends of the polyline being joined (the base) and of the candidate meet.
enum class EndPairing : std::int32_t { StartStart = 0, StartEnd = 1, EndStart = 2, EndEnd = 3 };

constexpr bool baseAtStart(EndPairing p) { return p == EndPairing::StartStart || p == EndPairing::StartEnd; }
constexpr bool candidateAtStart(EndPairing p) { return p == EndPairing::StartStart || p == EndPairing::EndStart; }

// How a gap between two ends is closed: the end segments extended to meet, a straight segment
// added, or extended where they meet within the fuzz distance and bridged otherwise.
enum class JoinType : std::int32_t { Extend = 1, Add = 2, Both = 3 };

// Ends closer than this give nothing to bridge.
constexpr double kSameEnd = 1e-10;
// How far beyond the fuzz distance a gap may be and still be closed.
constexpr double kFuzzSlack = 1e-6;

// The plane of the chain as the polyline gives it (through its elevation point).
OdGePlane chainPlane(const VertexChain& chain);

// A candidate whose normal points the other way than the chain's is mirrored in the chain's
// plane, so that its vertices are in the chain's coordinates and its arcs bend the same way.
void turnToChain(OdDbPolyline& candidate, const VertexChain& chain);

// The candidate's vertices join the chain at the paired ends, where the candidate's paired end
// lies on the chain's: reversed where the candidate runs the other way, with its bulges (negated
// when reversed) and, with keepWidths, its widths (swapped when reversed); without, the added
// vertices take the default width.
void mergeAtEnds(VertexChain& chain, const OdDbPolyline& candidate, EndPairing pairing, bool keepWidths);

// Moves the paired end vertices of chain and candidate to where their end segments meet (lines
// through straight segments, the full circles of arcs; of two crossings the one nearer to both
// ends), when neither end moves by more than the fuzz distance; an arc keeps its circle and its
// sense. False, and nothing changes, when the segments do not meet or meet too far away, or an
// end segment has no length.
bool extendToMeet(VertexChain& chain, OdDbPolyline& candidate, EndPairing pairing, double fuzz);

// A straight segment from the chain's paired end to the point, when the gap is within the fuzz
// distance; ends that coincide need none. False, and nothing changes, for a wider gap.
bool bridgeGap(VertexChain& chain, bool atStart, const OdGePoint2d& to, double fuzz);

} // namespace vantrel::pedit
