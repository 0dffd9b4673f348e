// PEdit's Join: the indexed search against the scan in order that the option describes (written
// here directly, quadratic, on the polyline's own vertex operations) on thousands of small random
// selections; the joined polylines run on without a gap and keep every segment with its bulge and
// widths; the index of free ends against a plain search; extending end segments to meet.
// Prompts, reports and the drawing after a Join are in PeditCommandTest and pedit_join.scr.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <tuple>

#include <vantrel/ge/OdGeContext.h>
#include <vantrel/ge/OdGeMatrix3d.h>

#include "pedit/EndIndex.h"
#include "pedit/VertexChain.h"
#include "pedit/join_geometry.h"
#include "pedit/join_search.h"
#include "db_key.h"

namespace {

using vantrel::pedit::EndPairing;
using vantrel::pedit::GapJoin;
using vantrel::pedit::JoinItem;
using vantrel::pedit::JoinType;
using vantrel::pedit::VertexChain;

OdGePoint3d worldAt(const OdDbPolyline& pl, unsigned i)
{
    OdGePoint3d p;
    pl.getPointAt(i, p);
    return p;
}

OdGePoint2d pointAt(const OdDbPolyline& pl, unsigned i)
{
    OdGePoint2d p;
    pl.getPointAt(i, p);
    return p;
}

OdDbPolylinePtr copyOf(const OdDbPolyline& pl) { return OdDbPolylinePtr(pl.clone()); }

JoinItem itemOf(const OdDbPolyline& pl)
{
    JoinItem item;
    item.start = worldAt(pl, 0);
    item.end = worldAt(pl, pl.numVerts() - 1);
    item.closed = pl.isClosed();
    item.plane = OdGePlane(item.start, pl.normal());
    return item;
}

// --- the joins as the option describes them ---

struct Widths {
    double start, end;
};
Widths widthsAt(const OdDbPolyline& pl, unsigned i)
{
    Widths w{};
    pl.getWidthsAt(i, w.start, w.end);
    return w;
}

void mergeLiterally(OdDbPolyline& r, const OdDbPolyline& x, EndPairing pairing, bool keepWidths)
{
    const unsigned n = x.numVerts();
    if (n == 0)
        return;
    auto keep = [&](double w) { return keepWidths ? w : -1.0; };
    switch (pairing) {
    case EndPairing::StartStart:
        for (unsigned i = 1; i < n; ++i)
            r.addVertexAt(0, pointAt(x, i), -x.getBulgeAt(i - 1), keep(widthsAt(x, i - 1).end),
                          keep(widthsAt(x, i - 1).start));
        break;
    case EndPairing::StartEnd:
        for (unsigned i = n - 1; i-- > 0;)
            r.addVertexAt(0, pointAt(x, i), x.getBulgeAt(i), keep(widthsAt(x, i).start), keep(widthsAt(x, i).end));
        break;
    case EndPairing::EndStart:
        r.removeVertexAt(r.numVerts() - 1);
        for (unsigned i = 0; i < n; ++i)
            r.addVertexAt(r.numVerts(), pointAt(x, i), x.getBulgeAt(i), keep(widthsAt(x, i).start),
                          keep(widthsAt(x, i).end));
        break;
    case EndPairing::EndEnd:
        for (unsigned i = n - 1; i-- > 0;) {
            r.setBulgeAt(r.numVerts() - 1, -x.getBulgeAt(i));
            if (keepWidths)
                r.setWidthsAt(r.numVerts() - 1, widthsAt(x, i).end, widthsAt(x, i).start);
            r.addVertexAt(r.numVerts(), pointAt(x, i), 0.0, -1.0, -1.0);
        }
        r.setBulgeAt(r.numVerts() - 1, 0.0);
        break;
    }
}

void turnLiterally(OdDbPolyline& x, const OdDbPolyline& r)
{
    if (!x.normal().isCodirectionalTo(r.normal())) {
        OdGePlane plane;
        EXPECT_EQ(eOk, r.getPlane(plane));
        x.transformBy(OdGeMatrix3d::mirroring(plane));
    }
}

// Each pass scans the list from the start for the first object with an end on an end of the
// polyline; a pass that finds none after a join drops the last object and scans again.
std::vector<std::size_t> scanTouching(OdDbPolyline& r, const std::vector<OdDbPolylinePtr>& candidates)
{
    std::vector<std::size_t> list(candidates.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        list[i] = i;
    std::vector<std::size_t> joined;
    while (!list.empty()) {
        const OdGePoint3d s = worldAt(r, 0), e = worldAt(r, r.numVerts() - 1);
        std::optional<std::size_t> found;
        EndPairing pairing{};
        for (std::size_t pos = 0; pos < list.size() && !found; ++pos) {
            const OdDbPolyline& c = *candidates[list[pos]];
            if (c.isClosed())
                continue;
            const OdGePoint3d cs = worldAt(c, 0), ce = worldAt(c, c.numVerts() - 1);
            if (cs.isEqualTo(s))
                pairing = EndPairing::StartStart;
            else if (cs.isEqualTo(e))
                pairing = EndPairing::EndStart;
            else if (ce.isEqualTo(s))
                pairing = EndPairing::StartEnd;
            else if (ce.isEqualTo(e))
                pairing = EndPairing::EndEnd;
            else
                continue;
            found = pos;
        }
        if (!found) {
            if (joined.empty())
                break;
            list.pop_back();
            continue;
        }
        const std::size_t c = list[*found];
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(*found));
        OdDbPolylinePtr x = copyOf(*candidates[c]);
        turnLiterally(*x, r);
        mergeLiterally(r, *x, pairing, true);
        joined.push_back(c);
    }
    return joined;
}

bool closeGapLiterally(OdDbPolyline& b, OdDbPolyline& c, EndPairing pairing, JoinType type, double fuzz)
{
    VertexChain chain(b);
    const OdGePoint2d end = pointAt(c, vantrel::pedit::candidateAtStart(pairing) ? 0 : c.numVerts() - 1);
    bool closed = false;
    if (type != JoinType::Add)
        closed = vantrel::pedit::extendToMeet(chain, c, pairing, fuzz);
    if (!closed && type != JoinType::Extend)
        closed = vantrel::pedit::bridgeGap(chain, vantrel::pedit::baseAtStart(pairing), end, fuzz);
    chain.writeTo(b);
    return closed;
}

struct NearestEnd {
    std::size_t item;
    EndPairing pairing;
    double distance;
};

// The nearest pair of ends between a base's ends bs, be and the objects still in the list and not
// passed over (a pair replaces the best only when nearer by more than 1e-10).
std::optional<NearestEnd> nearestEnd(const std::vector<JoinItem>& items, const std::vector<bool>& inList,
                                     const std::set<std::size_t>& passedOver, const OdGePoint3d& bs,
                                     const OdGePoint3d& be)
{
    std::optional<NearestEnd> best;
    double bestDistance = INFINITY;
    for (std::size_t c = 0; c < items.size(); ++c) {
        if (!inList[c] || items[c].closed || passedOver.count(c))
            continue;
        const std::pair<double, EndPairing> pairs[] = {{bs.distanceTo(items[c].start), EndPairing::StartStart},
                                                       {be.distanceTo(items[c].start), EndPairing::EndStart},
                                                       {bs.distanceTo(items[c].end), EndPairing::StartEnd},
                                                       {be.distanceTo(items[c].end), EndPairing::EndEnd}};
        for (const auto& [d, pairing] : pairs) {
            if (d < bestDistance - 1e-10) {
                bestDistance = d;
                best = NearestEnd{c, pairing, d};
            }
        }
    }
    return best;
}

// Each object still in the list becomes a base in turn; each time the whole list is scanned for
// the nearest pair of ends (start-start, end-start, start-end, end-end per object; a pair
// replaces the best only when nearer by more than 1e-10).
GapJoin scanGaps(const std::vector<JoinItem>& items, const std::vector<OdDbPolylinePtr>& polylines, JoinType type,
                 double fuzz)
{
    GapJoin result;
    std::vector<bool> inList(items.size(), true);
    for (std::size_t b = 0; b < items.size(); ++b) {
        if (!inList[b])
            continue;
        inList[b] = false;
        if (items[b].closed || !items[b].plane)
            continue;
        OdDbPolylinePtr bl;
        std::set<std::size_t> passedOver;
        bool joinedHere = false;
        for (;;) {
            const OdGePoint3d bs = bl ? worldAt(*bl, 0) : items[b].start;
            const OdGePoint3d be = bl ? worldAt(*bl, bl->numVerts() - 1) : items[b].end;
            const std::optional<NearestEnd> best = nearestEnd(items, inList, passedOver, bs, be);
            if (!best || (std::fabs(fuzz) <= 1e-10 && best->distance > 1e-6))
                break;
            const std::size_t c = best->item;
            const EndPairing pairing = best->pairing;
            const OdGePlane basePlane = bl ? OdGePlane(bs, bl->normal()) : *items[b].plane;
            if (!items[c].plane || !basePlane.isCoplanarTo(*items[c].plane)) {
                result.notCoplanar = true;
                passedOver.insert(c);
                continue;
            }
            if (!bl)
                bl = copyOf(*polylines[b]);
            OdDbPolylinePtr cl = copyOf(*polylines[c]);
            turnLiterally(*cl, *bl);
            if (!closeGapLiterally(*bl, *cl, pairing, type, fuzz))
                break;
            mergeLiterally(*bl, *cl, pairing, pairing == EndPairing::StartStart || pairing == EndPairing::EndEnd);
            inList[c] = false;
            result.joined.push_back(c);
            joinedHere = true;
        }
        if (joinedHere) {
            vantrel::pedit::closeWhereEndsMeet(*bl);
            result.bases.push_back({b, bl});
        }
    }
    return result;
}

// --- random selections ---

// Polylines with their vertices on a small grid, so that ends often meet, lying either way up,
// with arcs, widths (constant or per vertex) and now and then closed, at elevation 0 or 1.
class RandomPolylines {
public:
    explicit RandomPolylines(unsigned seed) : m_random(seed) {}

    OdDbPolylinePtr next(bool mayClose, bool mayRise)
    {
        OdDbPolylinePtr pl = OdDbPolyline::createObject();
        const bool down = pick(2) == 0;
        pl->setNormal(OdGeVector3d(0, 0, down ? -1.0 : 1.0));
        if (mayRise && pick(8) == 0)
            pl->setElevation(down ? -1.0 : 1.0);
        const int widthKind = pick(3);
        if (widthKind == 1)
            pl->setConstantWidth(0.5 * (1 + pick(2)));
        const auto n = static_cast<unsigned>(2 + pick(3));
        static constexpr double kBulges[] = {0.0, 0.0, 0.0, 0.25, -0.25, 0.5, -1.0, 1.0};
        for (unsigned i = 0; i < n; ++i) {
            // The arbitrary axis of a downward normal is the world's -X.
            const double x = pick(4), y = pick(4);
            const double w0 = widthKind == 2 ? 0.25 * pick(4) : -1.0, w1 = widthKind == 2 ? 0.25 * pick(4) : -1.0;
            pl->addVertexAt(i, OdGePoint2d(down ? -x : x, y), kBulges[pick(8)], w0, w1);
        }
        // Now and then the constant width alone, its vertices without widths, as files give it.
        if (widthKind == 0 && pick(4) == 0)
            pl->dataForWrite(vantrel::dbKey()).constantWidth = 0.5;
        if (mayClose && pick(10) == 0)
            pl->setClosed(true);
        return pl;
    }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    double fuzz() { return std::uniform_real_distribution<double>(0.0, 1.5)(m_random); }

private:
    std::mt19937 m_random;
};

void expectSameVertices(const OdDbPolyline& a, const OdDbPolyline& b)
{
    ASSERT_EQ(a.numVerts(), b.numVerts());
    for (unsigned i = 0; i < a.numVerts(); ++i) {
        const auto& va = a.data().vertices[i];
        const auto& vb = b.data().vertices[i];
        EXPECT_EQ(va.point, vb.point) << i;
        EXPECT_EQ(va.bulge, vb.bulge) << i;
        EXPECT_EQ(va.startWidth, vb.startWidth) << i;
        EXPECT_EQ(va.endWidth, vb.endWidth) << i;
    }
    EXPECT_EQ(a.getConstantWidth(), b.getConstantWidth());
    EXPECT_EQ(a.isClosed(), b.isClosed());
}

// A segment in world terms, the same whichever way it runs: its ends in order, the bulge as seen
// from above, the widths in the order of the ends.
using Segment = std::tuple<double, double, double, double, double, double, double>;
Segment segmentOf(const OdDbPolyline& pl, unsigned i)
{
    const OdGePoint3d a = worldAt(pl, i), b = worldAt(pl, (i + 1) % pl.numVerts());
    const Widths w = widthsAt(pl, i);
    const double bulge = pl.normal().z > 0 ? pl.getBulgeAt(i) : -pl.getBulgeAt(i);
    // A segment of no length runs either way: its turn and widths in one order.
    if (a == b)
        return {a.x, a.y, b.x, b.y, std::fabs(bulge), std::min(w.start, w.end), std::max(w.start, w.end)};
    if (std::make_tuple(a.x, a.y) < std::make_tuple(b.x, b.y))
        return {a.x, a.y, b.x, b.y, bulge, w.start, w.end};
    return {b.x, b.y, a.x, a.y, -bulge, w.end, w.start};
}

std::multiset<Segment> segmentsOf(const OdDbPolyline& pl)
{
    std::multiset<Segment> out;
    const unsigned count = pl.isClosed() ? pl.numVerts() : pl.numVerts() - 1;
    for (unsigned i = 0; i < count; ++i)
        out.insert(segmentOf(pl, i));
    return out;
}

TEST(PeditJoinTouching, TheIndexJoinsWhatTheScanInOrderJoinsInTheSameOrder)
{
    RandomPolylines random(17);
    int withJoins = 0, reversedFronts = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        SCOPED_TRACE(trial);
        const OdDbPolylinePtr base = random.next(false, false);
        std::vector<OdDbPolylinePtr> candidates;
        std::vector<JoinItem> items;
        for (int i = 0, n = 1 + random.pick(9); i < n; ++i) {
            candidates.push_back(random.next(true, false));
            items.push_back(itemOf(*candidates.back()));
        }
        OdDbPolylinePtr scanned = copyOf(*base);
        const std::vector<std::size_t> expected = scanTouching(*scanned, candidates);

        OdDbPolylinePtr indexed = copyOf(*base);
        VertexChain chain(*indexed);
        const std::vector<std::size_t> joined
            = vantrel::pedit::joinTouching(chain, items, [&](std::size_t i) { return copyOf(*candidates[i]); });
        chain.writeTo(*indexed);
        ASSERT_EQ(joined, expected);
        expectSameVertices(*indexed, *scanned);

        // Nothing is lost or changed on the way: the joined polyline is the base's segments and
        // every joined object's, each with its bulge and widths, and runs on from one to the next.
        std::multiset<Segment> sources = segmentsOf(*base);
        for (const std::size_t i : joined)
            for (const Segment& s : segmentsOf(*candidates[i]))
                sources.insert(s);
        EXPECT_EQ(segmentsOf(*indexed), sources);
        withJoins += !joined.empty();
        reversedFronts += !joined.empty() && !pointAt(*indexed, 0).isEqualTo(pointAt(*base, 0));
    }
    EXPECT_GT(withJoins, 1500);
    EXPECT_GT(reversedFronts, 300);
}

TEST(PeditJoinGaps, TheIndexFindsThePairsTheScanFindsForEveryJoinType)
{
    RandomPolylines random(23);
    int joins = 0, notCoplanar = 0, closedResults = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        SCOPED_TRACE(trial);
        std::vector<OdDbPolylinePtr> polylines;
        std::vector<JoinItem> items;
        for (int i = 0, n = 2 + random.pick(10); i < n; ++i) {
            polylines.push_back(random.next(true, true));
            items.push_back(itemOf(*polylines.back()));
            // Now and then an object with no plane of its own.
            if (random.pick(20) == 0)
                items.back().plane.reset();
        }
        const JoinType type = static_cast<JoinType>(1 + trial % 3);
        const double fuzz = trial % 4 == 0 ? 0.0 : random.fuzz();
        const GapJoin expected = scanGaps(items, polylines, type, fuzz);
        const GapJoin found
            = vantrel::pedit::joinAcrossGaps(items, type, fuzz, [&](std::size_t i) { return copyOf(*polylines[i]); });
        ASSERT_EQ(found.joined, expected.joined);
        EXPECT_EQ(found.notCoplanar, expected.notCoplanar);
        ASSERT_EQ(found.bases.size(), expected.bases.size());
        for (std::size_t k = 0; k < found.bases.size(); ++k) {
            EXPECT_EQ(found.bases[k].base, expected.bases[k].base);
            expectSameVertices(*found.bases[k].polyline, *expected.bases[k].polyline);
            closedResults += found.bases[k].polyline->isClosed();
        }
        // Every vertex of what was joined stays, or moved by the fuzz distance at most.
        std::vector<std::size_t> sources = found.joined;
        for (const auto& joined : found.bases)
            sources.push_back(joined.base);
        for (const std::size_t c : sources) {
            for (unsigned i = 0; i < polylines[c]->numVerts(); ++i) {
                const OdGePoint3d v = worldAt(*polylines[c], i);
                double nearest = INFINITY;
                for (const auto& joined : found.bases)
                    for (unsigned j = 0; j < joined.polyline->numVerts(); ++j)
                        nearest = std::min(nearest, v.distanceTo(worldAt(*joined.polyline, j)));
                EXPECT_LE(nearest, fuzz + 1e-6);
            }
        }
        joins += static_cast<int>(found.joined.size());
        notCoplanar += found.notCoplanar;
    }
    EXPECT_GT(joins, 5000);
    EXPECT_GT(notCoplanar, 100);
    EXPECT_GT(closedResults, 20);
}

// --- the index of free ends ---

TEST(PeditEndIndex, FindsTheNearestEndAndTheEndsWithinARadiusAsAPlainSearchDoes)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coordinate(-50.0, 50.0);
    std::vector<vantrel::pedit::EndIndex::End> ends;
    for (std::uint32_t item = 0; item < 400; ++item)
        for (bool atEnd : {false, true})
            ends.push_back(
                {OdGePoint3d(coordinate(random), coordinate(random), item % 7 == 0 ? 1.0 : 0.0), item, atEnd});
    // Many ends on one point, as where lines meet.
    for (std::uint32_t item = 400; item < 420; ++item)
        for (bool atEnd : {false, true})
            ends.push_back({OdGePoint3d(3, 3, 0), item, atEnd});
    vantrel::pedit::EndIndex index(ends);
    std::set<std::uint32_t> removed;
    for (std::uint32_t item = 0; item < 420; item += 3) {
        index.remove(item);
        removed.insert(item);
    }
    // Taken out twice and put back once, an object is back; put back twice, it is there once.
    index.remove(9);
    index.restore(9);
    index.restore(9);
    removed.erase(9);
    index.remove(12);
    index.restore(12);
    removed.erase(12);

    for (int query = 0; query < 100; ++query) {
        const OdGePoint3d from
            = query == 0 ? OdGePoint3d(3, 3, 0) : OdGePoint3d(coordinate(random), coordinate(random), 0);
        const double radius = query % 10;
        std::multiset<std::pair<std::uint32_t, bool>> expected;
        double nearest = INFINITY;
        for (const auto& e : ends) {
            if (removed.count(e.item))
                continue;
            nearest = std::min(nearest, e.point.distanceTo(from));
            if (e.point.distanceTo(from) <= radius)
                expected.insert({e.item, e.atEnd});
        }
        EXPECT_EQ(index.nearestDistance(from), nearest);
        std::multiset<std::pair<std::uint32_t, bool>> found;
        for (const auto& e : index.within(from, radius))
            found.insert({e.item, e.atEnd});
        EXPECT_EQ(found, expected);
    }
    for (std::uint32_t item = 0; item < 420; ++item)
        index.remove(item);
    EXPECT_FALSE(index.nearestDistance(OdGePoint3d(0, 0, 0)));
    EXPECT_TRUE(index.within(OdGePoint3d(3, 3, 0), 100.0).empty());
}

// --- closing a gap ---

OdDbPolylinePtr polylineThrough(std::initializer_list<OdGePoint2d> points, std::initializer_list<double> bulges = {})
{
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    auto b = bulges.begin();
    for (const OdGePoint2d& p : points)
        pl->addVertexAt(pl->numVerts(), p, b != bulges.end() ? *b++ : 0.0);
    return pl;
}

TEST(PeditJoinGeometry, EndSegmentsMeetWhereTheirLinesOrCirclesCrossWithinTheFuzzDistance)
{
    // Two lines at right angles stopping short of their corner at (10, 0).
    OdDbPolylinePtr a = polylineThrough({{0, 0}, {9.5, 0}});
    OdDbPolylinePtr c = polylineThrough({{10, 0.4}, {10, 5}});
    VertexChain chain(*a);
    EXPECT_FALSE(vantrel::pedit::extendToMeet(chain, *c, EndPairing::EndStart, 0.45)) << "the corner is 0.5 away";
    ASSERT_TRUE(vantrel::pedit::extendToMeet(chain, *c, EndPairing::EndStart, 0.5));
    EXPECT_TRUE(chain.back().point.isEqualTo({10, 0}));
    EXPECT_TRUE(pointAt(*c, 0).isEqualTo({10, 0}));

    // Collinear lines meet half-way across the gap.
    OdDbPolylinePtr left = polylineThrough({{0, 0}, {4, 0}});
    OdDbPolylinePtr right = polylineThrough({{5, 0}, {9, 0}});
    VertexChain line(*left);
    ASSERT_TRUE(vantrel::pedit::extendToMeet(line, *right, EndPairing::EndStart, 0.5));
    EXPECT_TRUE(line.back().point.isEqualTo({4.5, 0}));

    // Nearly parallel lines whose ends are close but whose lines cross far away do not meet.
    OdDbPolylinePtr shallow = polylineThrough({{0, 0}, {10, 0}});
    OdDbPolylinePtr rising = polylineThrough({{10.2, 0.2}, {20, 1.2}});
    VertexChain flat(*shallow);
    EXPECT_FALSE(vantrel::pedit::extendToMeet(flat, *rising, EndPairing::EndStart, 0.5));

    // A quarter circle about the origin from (5, 0) to (0, 5), and a line x = -1 coming down:
    // the arc goes on along its circle to (-1, sqrt 24), keeping its centre and its sense.
    OdDbPolylinePtr arc = polylineThrough({{5, 0}, {0, 5}}, {std::tan(std::numbers::pi / 8)});
    OdDbPolylinePtr down = polylineThrough({{-1, 10}, {-1, 5.2}});
    VertexChain curved(*arc);
    EXPECT_FALSE(vantrel::pedit::extendToMeet(curved, *down, EndPairing::EndEnd, 1.0)) << "the arc's end moves 1.005";
    ASSERT_TRUE(vantrel::pedit::extendToMeet(curved, *down, EndPairing::EndEnd, 1.01));
    const OdGePoint2d meet(-1, std::sqrt(24.0));
    EXPECT_TRUE(curved.back().point.isEqualTo(meet, OdGeTol(1e-9)));
    curved.writeTo(*arc);
    OdGeCircArc2d seg;
    arc->getArcSegAt(0, seg);
    EXPECT_NEAR(seg.center().distanceTo({0, 0}), 0.0, 1e-9);
    EXPECT_GT(arc->getBulgeAt(0), std::tan(std::numbers::pi / 8));

    // A gap wider than the fuzz distance is not bridged; coincident ends need no bridge.
    OdDbPolylinePtr p = polylineThrough({{0, 0}, {4, 0}});
    VertexChain bridged(*p);
    EXPECT_FALSE(vantrel::pedit::bridgeGap(bridged, false, {6, 0}, 1.5));
    ASSERT_TRUE(vantrel::pedit::bridgeGap(bridged, false, {4, 0}, 0.0));
    EXPECT_EQ(bridged.size(), 2u);
    ASSERT_TRUE(vantrel::pedit::bridgeGap(bridged, true, {-1, 0}, 1.0));
    EXPECT_EQ(bridged.size(), 3u);
    EXPECT_TRUE(bridged.front().point.isEqualTo({-1, 0}));
}

} // namespace
