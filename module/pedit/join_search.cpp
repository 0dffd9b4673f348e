// Join over a whole selection: touching joins and joins across gaps, with the candidates found
// through the index of free ends.
#include "pedit/join_search.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <vantrel/ge/OdGeContext.h>

#include "pedit/EndIndex.h"

namespace vantrel::pedit {

namespace {

// Without a fuzz distance, ends this close still join.
constexpr double kTouchingGap = 1e-6;
// Distances closer than this count as equal: the first pair in order keeps its place.
constexpr double kEqualDistance = 1e-10;

std::vector<EndIndex::End> freeEnds(std::span<const JoinItem> items)
{
    std::vector<EndIndex::End> ends;
    ends.reserve(2 * items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].closed)
            continue;
        const auto item = static_cast<std::uint32_t>(i);
        ends.push_back({items[i].start, item, false});
        ends.push_back({items[i].end, item, true});
    }
    return ends;
}

struct NearestPair {
    std::size_t item;
    EndPairing pairing;
    double distance;
};

// The pair the scan in order would find: objects in order, and for each the distances start to
// start, end to start, start to end, end to end, a pair replacing the best only when nearer by
// more than 1e-10. The winner lies within 1e-10 of the nearest distance, and the scan's choice
// among the nearest pairs depends only on pairs that follow each other within 1e-10 when sorted
// by distance: so the pairs are gathered from the nearest on until the next one is farther by
// more than that, and the scan is run over those alone.
std::optional<NearestPair> nearestPair(const EndIndex& index, const OdGePoint3d& start, const OdGePoint3d& end)
{
    struct Pair {
        double distance;
        std::size_t item;
        int order; // 0 start-start, 1 end-start, 2 start-end, 3 end-end: the scan's order
    };
    const std::optional<double> fromStart = index.nearestDistance(start), fromEnd = index.nearestDistance(end);
    if (!fromStart && !fromEnd)
        return std::nullopt;
    std::vector<Pair> near;
    constexpr double kNone = std::numeric_limits<double>::infinity();
    double radius = std::min(fromStart.value_or(kNone), fromEnd.value_or(kNone)) + kEqualDistance;
    for (;;) {
        near.clear();
        double farthest = 0.0;
        for (const bool baseEnd : {false, true}) {
            const OdGePoint3d& from = baseEnd ? end : start;
            for (const EndIndex::End& e : index.within(from, radius)) {
                const double d = e.point.distanceTo(from);
                near.push_back({d, e.item, (e.atEnd ? 2 : 0) + (baseEnd ? 1 : 0)});
                farthest = std::max(farthest, d);
            }
        }
        // Far from the origin the nearest end may round out of the radius: a little wider then.
        if (near.empty()) {
            radius += std::max(kEqualDistance, radius * 1e-15);
            continue;
        }
        // Done when nothing can lie within 1e-10 beyond the farthest pair gathered.
        if (farthest + kEqualDistance <= radius)
            break;
        radius = farthest + kEqualDistance;
    }
    std::sort(near.begin(), near.end(),
              [](const Pair& a, const Pair& b) { return a.item != b.item ? a.item < b.item : a.order < b.order; });
    const Pair* best = nullptr;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const Pair& p : near) {
        if (p.distance < bestDistance - kEqualDistance) {
            best = &p;
            bestDistance = p.distance;
        }
    }
    static constexpr EndPairing kPairings[]
        = {EndPairing::StartStart, EndPairing::EndStart, EndPairing::StartEnd, EndPairing::EndEnd};
    return NearestPair{best->item, kPairings[best->order], best->distance};
}

OdGePoint2d pairedEnd(const OdDbPolyline& candidate, EndPairing pairing)
{
    OdGePoint2d p;
    candidate.getPointAt(candidateAtStart(pairing) ? 0 : candidate.numVerts() - 1, p);
    return p;
}

bool closeGap(VertexChain& chain, OdDbPolyline& candidate, EndPairing pairing, JoinType type, double fuzz)
{
    switch (type) {
    case JoinType::Extend: return extendToMeet(chain, candidate, pairing, fuzz);
    case JoinType::Add: return bridgeGap(chain, baseAtStart(pairing), pairedEnd(candidate, pairing), fuzz);
    case JoinType::Both:
        return extendToMeet(chain, candidate, pairing, fuzz)
            || bridgeGap(chain, baseAtStart(pairing), pairedEnd(candidate, pairing), fuzz);
    }
    return false;
}

} // namespace

bool endsMeet(const OdDbPolyline& polyline)
{
    const unsigned n = polyline.numVerts();
    if (polyline.isClosed() || n < 2)
        return false;
    OdGePoint2d first, last;
    polyline.getPointAt(0, first);
    polyline.getPointAt(n - 1, last);
    return first.isEqualTo(last);
}

bool closeWhereEndsMeet(OdDbPolyline& polyline)
{
    if (!endsMeet(polyline))
        return false;
    polyline.setClosed(true);
    return true;
}

std::vector<std::size_t> joinTouching(VertexChain& chain, std::span<const JoinItem> candidates,
                                      const LightweightOf& lightweightOf)
{
    std::vector<std::size_t> joined;
    if (chain.size() == 0)
        return joined;
    EndIndex index(freeEnds(candidates));
    const double touching = OdGeContext::gTol.equalPoint();
    for (;;) {
        const OdGePoint3d s = chain.startPoint(), e = chain.endPoint();
        std::optional<std::size_t> first;
        for (const OdGePoint3d& end : {s, e})
            for (const EndIndex::End& found : index.within(end, touching))
                first = std::min<std::size_t>(first.value_or(found.item), found.item);
        if (!first)
            return joined;
        index.remove(static_cast<std::uint32_t>(*first));
        const JoinItem& c = candidates[*first];
        const EndPairing pairing = c.start.isEqualTo(s) ? EndPairing::StartStart
            : c.start.isEqualTo(e)                      ? EndPairing::EndStart
            : c.end.isEqualTo(s)                        ? EndPairing::StartEnd
                                                        : EndPairing::EndEnd;
        // An object without a polyline form (a line of no length) is passed over.
        const OdDbPolylinePtr x = lightweightOf(*first);
        if (!x || x->numVerts() == 0)
            continue;
        turnToChain(*x, chain);
        mergeAtEnds(chain, *x, pairing, true);
        joined.push_back(*first);
    }
}

namespace {

// The search of joinAcrossGaps: the objects still free and the index of their ends, and what has
// been joined so far.
class GapJoiner {
public:
    GapJoiner(std::span<const JoinItem> items, JoinType type, double fuzz, const LightweightOf& lightweightOf)
        : m_items(items), m_type(type), m_fuzz(fuzz), m_lightweightOf(lightweightOf), m_index(freeEnds(items)),
          m_free(items.size(), true)
    {
    }

    GapJoin run()
    {
        for (std::size_t b = 0; b < m_items.size(); ++b) {
            if (!m_free[b])
                continue;
            take(b);
            if (!m_items[b].closed && m_items[b].plane)
                joinOnto(b);
        }
        return std::move(m_result);
    }

private:
    void take(std::size_t item)
    {
        m_free[item] = false;
        m_index.remove(static_cast<std::uint32_t>(item));
    }

    // Joins the nearest free objects onto base b until none is near enough or a gap does not close.
    void joinOnto(std::size_t b)
    {
        const JoinItem& base = m_items[b];
        const bool anyDistance = std::fabs(m_fuzz) > kEqualDistance;
        OdDbPolylinePtr polyline;
        std::optional<VertexChain> chain;
        std::vector<std::size_t> passedOver;
        std::size_t joinedHere = 0;
        for (;;) {
            const OdGePoint3d s = chain ? chain->startPoint() : base.start;
            const OdGePoint3d e = chain ? chain->endPoint() : base.end;
            const std::optional<NearestPair> pair = nearestPair(m_index, s, e);
            if (!pair || (!anyDistance && pair->distance > kTouchingGap))
                break;
            const JoinItem& c = m_items[pair->item];
            const OdGePlane basePlane = chain ? OdGePlane(s, chain->normal()) : *base.plane;
            if (!c.plane || !basePlane.isCoplanarTo(*c.plane)) {
                // Not in this base's plane; it may still join another base.
                m_result.notCoplanar = true;
                m_index.remove(static_cast<std::uint32_t>(pair->item));
                passedOver.push_back(pair->item);
                continue;
            }
            if (!chain) {
                polyline = m_lightweightOf(b);
                if (!polyline || polyline->numVerts() == 0)
                    break;
                chain.emplace(*polyline);
            }
            if (!joinPair(*chain, *pair))
                break;
            ++joinedHere;
        }
        for (const std::size_t item : passedOver)
            m_index.restore(static_cast<std::uint32_t>(item));
        if (joinedHere > 0) {
            chain->writeTo(*polyline);
            closeWhereEndsMeet(*polyline);
            m_result.bases.push_back({b, polyline});
        }
    }

    // Closes the gap to the pair's object and merges it into the chain; false when the object
    // cannot be had or the gap does not close (which ends this base; the object stays free for
    // later bases).
    bool joinPair(VertexChain& chain, const NearestPair& pair)
    {
        const OdDbPolylinePtr candidate = m_lightweightOf(pair.item);
        if (!candidate || candidate->numVerts() == 0) {
            take(pair.item);
            return false;
        }
        turnToChain(*candidate, chain);
        if (!closeGap(chain, *candidate, pair.pairing, m_type, m_fuzz))
            return false;
        const bool reversed = pair.pairing == EndPairing::StartStart || pair.pairing == EndPairing::EndEnd;
        mergeAtEnds(chain, *candidate, pair.pairing, reversed);
        take(pair.item);
        m_result.joined.push_back(pair.item);
        return true;
    }

    std::span<const JoinItem> m_items;
    JoinType m_type;
    double m_fuzz;
    const LightweightOf& m_lightweightOf;
    EndIndex m_index;
    std::vector<bool> m_free;
    GapJoin m_result;
};

} // namespace

GapJoin joinAcrossGaps(std::span<const JoinItem> items, JoinType type, double fuzz, const LightweightOf& lightweightOf)
{
    return GapJoiner(items, type, fuzz, lightweightOf).run();
}

} // namespace vantrel::pedit
