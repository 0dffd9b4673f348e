// PEdit's vertex edits and mesh options on a drawing: Break, Insert and Straighten keep every
// other vertex with its bulge and widths (random polylines of the three kinds); the vertex marker's
// geometry; picked points taken onto the polyline's plane; Join erasing exactly what it joined;
// Undo after a Join, a vertex session and Smooth surface giving back the drawing's DXF byte for
// byte; smoothing and desmoothing giving back the control vertices; joined, edited and smoothed
// objects saved, read back and written again unchanged, and clean for an independent reader.
#include "ModuleHostFixture.h"

#include <cmath>
#include <numbers>
#include <random>
#include <regex>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolygonMesh.h>

#include "../db/ezdxf_check.h"
#include "frame/CommandRegistrar.h"
#include "frame/command_creators.h"
#include "pedit/CPeditCmd.h"
#include "pedit/MarkerTracker.h"
#include "pedit/vertex_edits.h"

namespace {

OdDbObjectId append(OdDbDatabase& db, OdDbEntity* entity)
{
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    return ms->appendOdDbEntity(entity);
}

// --- the vertex edits on the three kinds ---

// What a vertex carries, whichever kind of polyline holds it.
struct VertexRecord {
    OdGePoint3d point;
    double bulge = 0.0, startWidth = 0.0, endWidth = 0.0;
    bool operator==(const VertexRecord&) const = default;
};

std::vector<VertexRecord> recordsOf(const OdDbCurve& curve)
{
    std::vector<VertexRecord> out;
    if (auto lw = OdDbPolyline::cast(&curve)) {
        for (unsigned i = 0; i < lw->numVerts(); ++i) {
            VertexRecord r;
            lw->getPointAt(i, r.point);
            r.bulge = lw->getBulgeAt(i);
            lw->getWidthsAt(i, r.startWidth, r.endWidth);
            out.push_back(r);
        }
    } else if (auto pl = OdDb2dPolyline::cast(&curve)) {
        for (auto it = pl->vertexIterator(); !it->done(); it->step()) {
            const OdDb2dVertexPtr v = it->vertex();
            out.push_back({pl->vertexPosition(*v), v->bulge(), v->startWidth(), v->endWidth()});
        }
    } else if (auto pl3 = OdDb3dPolyline::cast(&curve)) {
        for (auto it = pl3->vertexIterator(); !it->done(); it->step())
            out.push_back({OdDb3dPolylineVertexPtr(it->vertex())->position()});
    }
    return out;
}

OdDb2dVertexPtr vertex2d(const OdGePoint3d& at, double bulge, double startWidth, double endWidth)
{
    OdDb2dVertexPtr v = OdDb2dVertex::createObject();
    v->setPosition(at);
    v->setBulge(bulge);
    v->setStartWidth(startWidth);
    v->setEndWidth(endWidth);
    return v;
}

OdDb3dPolylineVertexPtr vertex3d(const OdGePoint3d& at)
{
    OdDb3dPolylineVertexPtr v = OdDb3dPolylineVertex::createObject();
    v->setPosition(at);
    return v;
}

class RandomPolylines {
public:
    explicit RandomPolylines(unsigned seed) : m_random(seed) {}
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    // A polyline of 2 to 7 vertices of the kind (0 lightweight, 1 2D, 2 3D) in the drawing, with
    // bulges and widths where the kind has them, closed now and then.
    OdDbObjectId next(OdDbDatabase& db, int kind)
    {
        const auto n = static_cast<unsigned>(2 + pick(6));
        const bool closed = pick(3) == 0;
        auto coordinate = [&] { return static_cast<double>(pick(20)); };
        auto bulge = [&] { return pick(2) ? 0.0 : 0.25 * (pick(9) - 4); };
        auto width = [&] { return 0.5 * pick(3); };
        if (kind == 0) {
            OdDbPolylinePtr pl = OdDbPolyline::createObject();
            if (pick(3) == 0)
                pl->setConstantWidth(0.75);
            for (unsigned i = 0; i < n; ++i)
                pl->addVertexAt(i, OdGePoint2d(coordinate(), coordinate()), bulge(),
                                pl->getConstantWidth() != 0.0 ? -1.0 : width(),
                                pl->getConstantWidth() != 0.0 ? -1.0 : width());
            pl->setClosed(closed);
            return append(db, pl.get());
        }
        if (kind == 1) {
            OdDb2dPolylinePtr pl = OdDb2dPolyline::createObject();
            for (unsigned i = 0; i < n; ++i)
                pl->appendVertex(
                    vertex2d(OdGePoint3d(coordinate(), coordinate(), 0.0), bulge(), width(), width()).get());
            if (closed)
                pl->makeClosed();
            return append(db, pl.get());
        }
        OdDb3dPolylinePtr pl = OdDb3dPolyline::createObject();
        for (unsigned i = 0; i < n; ++i)
            pl->appendVertex(vertex3d(OdGePoint3d(coordinate(), coordinate(), coordinate())).get());
        if (closed)
            pl->makeClosed();
        return append(db, pl.get());
    }

private:
    std::mt19937 m_random;
};

std::vector<VertexRecord> slice(const std::vector<VertexRecord>& v, std::size_t from, std::size_t to)
{
    return {v.begin() + static_cast<std::ptrdiff_t>(from), v.begin() + static_cast<std::ptrdiff_t>(to)};
}

TEST(PeditVertexEdits, BreakInsertAndStraightenKeepEveryOtherVertexWithItsBulgeAndWidths)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    RandomPolylines random(11);
    int pieces = 0, unchanged = 0;
    for (int trial = 0; trial < 600; ++trial) {
        SCOPED_TRACE(trial);
        const int kind = trial % 3;
        const OdDbObjectId id = random.next(*db, kind);
        OdDbCurvePtr curve = id.safeOpenObject(OdDb::kForWrite);
        const std::vector<VertexRecord> before = recordsOf(*curve);
        const unsigned n = static_cast<unsigned>(before.size());
        const auto a = static_cast<unsigned>(random.pick(static_cast<int>(n)));
        const auto b = static_cast<unsigned>(random.pick(static_cast<int>(n)));
        const unsigned lo = std::min(a, b), hi = std::max(a, b);
        switch (trial / 3 % 3) {
        case 0: {
            // The new vertex follows the marked one; the marked one keeps its bulge, the new
            // one has none and takes the marked one's end width at both ends.
            const OdGePoint3d at(3.5, 7.25, kind == 2 ? 4.0 : 0.0);
            vantrel::pedit::insertVertexAfter(*curve, a, at);
            const std::vector<VertexRecord> after = recordsOf(*curve);
            ASSERT_EQ(after.size(), n + 1u);
            EXPECT_EQ(slice(after, 0, a + 1), slice(before, 0, a + 1));
            EXPECT_EQ(slice(after, a + 2, n + 1), slice(before, a + 1, n));
            EXPECT_TRUE(after[a + 1].point.isEqualTo(at));
            EXPECT_EQ(after[a + 1].bulge, 0.0);
            if (kind != 2) {
                EXPECT_EQ(after[a + 1].startWidth, before[a].endWidth);
                EXPECT_EQ(after[a + 1].endWidth, before[a].endWidth);
            }
            break;
        }
        case 1: {
            vantrel::pedit::straightenBetween(*curve, lo, hi);
            const std::vector<VertexRecord> after = recordsOf(*curve);
            const unsigned removed = hi > lo + 1 ? hi - lo - 1 : 0;
            ASSERT_EQ(after.size(), n - removed);
            std::vector<VertexRecord> expected = slice(before, 0, lo + 1);
            expected.back().bulge = 0.0;
            for (const VertexRecord& r : slice(before, lo + removed + 1, n))
                expected.push_back(r);
            EXPECT_EQ(after, expected);
            break;
        }
        case 2: {
            const bool closed = curve->isClosed();
            OdDbCurvePtr piece;
            const bool broken = vantrel::pedit::breakBetween(*curve, lo, hi, piece);
            const std::vector<VertexRecord> after = recordsOf(*curve);
            if (!broken) {
                EXPECT_EQ(after, before);
                EXPECT_TRUE((lo == 0 && hi == n - 1) || hi == 0 || (lo == n - 1 && !closed));
                ++unchanged;
                break;
            }
            // A closed polyline runs on to a copy of its first vertex (a lightweight one's without
            // bulge, with the default width).
            std::vector<VertexRecord> path = before;
            if (closed) {
                path.push_back(before.front());
                if (kind == 0) {
                    path.back().bulge = 0.0;
                    path.back().startWidth = path.back().endWidth = OdDbPolylinePtr(curve)->getConstantWidth();
                }
            }
            EXPECT_FALSE(curve->isClosed());
            if (lo == 0) {
                EXPECT_EQ(after, slice(path, hi, path.size()));
                EXPECT_FALSE(piece);
                break;
            }
            EXPECT_EQ(after, slice(path, 0, lo + 1));
            if (hi + 1 < path.size()) {
                ASSERT_TRUE(piece);
                EXPECT_EQ(piece->isA(), curve->isA());
                EXPECT_EQ(recordsOf(*piece), slice(path, hi, path.size()));
                ++pieces;
            } else {
                EXPECT_FALSE(piece) << "no piece of a single vertex";
            }
            break;
        }
        }
    }
    EXPECT_GT(pieces, 40);
    EXPECT_GT(unchanged, 5);
}

// --- the marker ---

TEST(PeditMarker, CrossesSizedToTheViewAndAnArrowAlongTheTangent)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    OdDb2dVertexPtr vertex = OdDb2dVertex::createObject();
    vertex->useTangent();
    vertex->setTangent(std::numbers::pi / 2);
    MarkerTracker marker(db.get(), OdGePoint3d(10, 20, 0), vertex.get(), OdGePoint3d(30, 20, 0));
    vantrel::RecordingDrawer drawer;
    drawer.setViewExtents(OdGeExtents3d(OdGePoint3d(0, 0, 0), OdGePoint3d(200, 50, 0)));
    EXPECT_FALSE(marker.filterMessage(HostMessage{0, kTrackerLeftButtonDown, 1, 0}, OdGePoint3d(1, 1, 0)));
    EXPECT_EQ(marker.drawPreview(&drawer), 1);
    EXPECT_EQ(drawer.shown().size(), 9u);
    // d = 0.03 of the smaller extent (50).
    EXPECT_TRUE(marker.cross()[0]->startPoint().isEqualTo(OdGePoint3d(8.5, 18.5, 0)));
    EXPECT_TRUE(marker.cross()[1]->endPoint().isEqualTo(OdGePoint3d(8.5, 21.5, 0)));
    EXPECT_TRUE(marker.secondCross()[0]->endPoint().isEqualTo(OdGePoint3d(31.5, 21.5, 0)));
    EXPECT_EQ(marker.secondCross()[0]->colorIndex(), 3);
    // The arrow: 4 each way along the tangent (straight up), the head strokes 1.5 long.
    EXPECT_TRUE(marker.arrow()[0]->startPoint().isEqualTo(OdGePoint3d(10, 24, 0)));
    EXPECT_TRUE(marker.arrow()[0]->endPoint().isEqualTo(OdGePoint3d(10, 16, 0)));
    EXPECT_NEAR(marker.arrow()[1]->startPoint().distanceTo(marker.arrow()[1]->endPoint()), 1.5, 1e-12);
    EXPECT_LT(marker.arrow()[1]->endPoint().y, 24.0);
    marker.releasePreview(&drawer);
    EXPECT_TRUE(drawer.shown().empty());

    // Without a second point and a tangent: the cross only (the arrow lines keep no length).
    MarkerTracker plain(db.get(), OdGePoint3d(0, 0, 0), nullptr, std::nullopt);
    plain.drawPreview(&drawer);
    EXPECT_EQ(drawer.shown().size(), 6u);
    EXPECT_EQ(plain.arrow()[0]->startPoint(), plain.arrow()[0]->endPoint());
    plain.releasePreview(&drawer);
}

// --- the command in a drawing ---

std::string withoutHandseed(const std::string& dxf)
{
    static const std::regex seed("\\$HANDSEED\\n *5\\n[0-9A-F]+\\n");
    return std::regex_replace(dxf, seed, "$$HANDSEED\n5\n*\n");
}

OdDbPolylinePtr lightweight(const std::vector<OdGePoint2d>& points, const std::vector<double>& bulges = {})
{
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    for (unsigned i = 0; i < points.size(); ++i)
        pl->addVertexAt(i, points[i], i < bulges.size() ? bulges[i] : 0.0);
    return pl;
}

OdDbLinePtr line(const OdGePoint3d& a, const OdGePoint3d& b)
{
    OdDbLinePtr l = OdDbLine::createObject();
    l->setStartPoint(a);
    l->setEndPoint(b);
    return l;
}

OdDbPolygonMeshPtr mesh(int m, int n, std::mt19937& random)
{
    std::uniform_real_distribution<double> height(-3.0, 3.0);
    std::vector<OdGePoint3d> points;
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < n; ++j)
            points.emplace_back(200.0 + 10.0 * j, 10.0 * i, height(random));
    OdDbPolygonMeshPtr mesh = OdDbPolygonMesh::createObject();
    mesh->setGrid(static_cast<std::int16_t>(m), static_cast<std::int16_t>(n), points);
    return mesh;
}

class PeditEdits : public ModuleHostFixture {
protected:
    void SetUp() override
    {
        ModuleHostFixture::SetUp();
        const vantrel::CommandRegistrar pedit(L"HOST", L"PEdit", 2, vantrel::runFunctionCommand<CPeditCmd>);
        std::mt19937 random(3);
        polyline = append(*db, lightweight({{0, 0}, {10, 0}, {20, 10}, {30, 0}}, {0, 0.4}).get());
        // A chain of lines from the polyline's end, drawn from the far end back, and two that stay.
        for (int k = 4; k >= 1; --k)
            chain.push_back(
                append(*db, line(OdGePoint3d(30 + 10 * (k - 1), 0, 0), OdGePoint3d(30 + 10 * k, 0, 0)).get()));
        others.push_back(append(*db, line(OdGePoint3d(70.5, 0, 0), OdGePoint3d(80, 0, 0)).get()));
        others.push_back(append(*db, line(OdGePoint3d(0, 0, 2), OdGePoint3d(-10, 0, 2)).get()));
        // Two polylines with a gap of 1 between them, for the join across gaps.
        append(*db, lightweight({{0, 50}, {10, 50}}).get());
        append(*db, lightweight({{11, 50}, {20, 50}}).get());
        meshId = append(*db, mesh(4, 5, random).get());
    }

    void run(const std::string& script)
    {
        // One application at a time.
        app.reset();
        start(script);
        app->runCommandLoop();
    }

    OdDbObjectId polyline, meshId;
    std::vector<OdDbObjectId> chain, others;
};

TEST_F(PeditEdits, JoinErasesExactlyTheObjectsItJoinedAndThePolylineKeepsItsId)
{
    run("pedit\n5,0\nj\nall\n\nx\n");
    for (const OdDbObjectId id : chain)
        EXPECT_TRUE(id.isErased()) << output();
    for (const OdDbObjectId id : others)
        EXPECT_FALSE(id.isErased());
    const OdDbPolylinePtr joined = OdDbPolyline::cast(polyline.safeOpenObject().get());
    ASSERT_TRUE(joined);
    EXPECT_EQ(joined->numVerts(), 8u);
    EXPECT_EQ(joined->getBulgeAt(1), 0.4);
    OdGePoint3d end;
    joined->getPointAt(7, end);
    EXPECT_TRUE(end.isEqualTo(OdGePoint3d(70, 0, 0)));
}

TEST_F(PeditEdits, UndoAfterAJoinAVertexSessionAndSmoothSurfaceGivesTheDrawingBack)
{
    vantrel::dxfText(*db);
    const std::string before = withoutHandseed(vantrel::dxfText(*db));
    const std::vector<std::pair<std::string, std::string>> scripts{
        {"join", "pedit\n5,0\nj\nall\n\nu\nx\n"},
        {"join across gaps", "pedit\nm\n5,50\n15,50\n\nj\nj\nb\n2\nu\n\n"},
        // Insert, Move, Break (a piece and the draw order it needs), Straighten, Width, Tangent
        // and Regen in one session.
        {"vertex session", "pedit\n5,0\ne\nn\ni\n12,3\nm\n13,4\nb\nn\ng\np\ns\nn\ng\nw\n1\n2\nt\n30\nr\nx\nu\nx\n"},
        {"smooth surface", "pedit\n205,0\ns\ne\nn\nm\n1,2,3\nx\nu\nu\n\n"},
    };
    for (const auto& [name, script] : scripts) {
        run(script);
        EXPECT_TRUE(withoutHandseed(vantrel::dxfText(*db)) == before) << name << "\n" << output();
    }
}

TEST_F(PeditEdits, SmoothingAndDesmoothingGiveTheControlVerticesBack)
{
    std::mt19937 random(8);
    for (int trial = 0; trial < 40; ++trial) {
        SCOPED_TRACE(trial);
        const int m = 2 + trial % 4, n = 2 + trial / 4 % 4;
        OdDbPolygonMeshPtr made = mesh(m, n, random);
        if (trial % 3 == 0)
            made->makeMClosed();
        if (trial % 5 == 0)
            made->makeNClosed();
        const OdDbObjectId id = append(*db, made.get());
        made.release();
        std::vector<OdGePoint3d> control;
        for (const OdDbObjectId v : OdDbPolygonMeshPtr(id.safeOpenObject())->vertexIds())
            control.push_back(OdDbPolygonMeshVertexPtr(v.safeOpenObject())->position());
        const int type = trial % 3 == 0 ? 5 : trial % 3 == 1 ? 6 : 8;
        const int u = 2 + trial % 9, v = 3 + trial % 7;
        run("setvar\nsurftype\n" + std::to_string(type) + "\nsetvar\nsurfu\n" + std::to_string(u) + "\nsetvar\nsurfv\n"
            + std::to_string(v) + "\npedit\nh " + id.getHandle().ascii() + "\ns\ns\n\n");
        OdDbPolygonMeshPtr smoothed = id.safeOpenObject();
        std::int16_t rows, cols;
        smoothed->visibleSize(rows, cols);
        EXPECT_EQ(rows, u) << output();
        EXPECT_EQ(cols, v);
        EXPECT_EQ(smoothed->numVertices(), static_cast<unsigned>(u * v + m * n)) << "smoothed twice, one surface";
        smoothed.release();
        run("pedit\nh " + id.getHandle().ascii() + "\nd\n\n");
        const OdDbPolygonMeshPtr back = id.safeOpenObject();
        EXPECT_EQ(back->polyMeshType(), OdDb::kSimpleMesh);
        std::vector<OdGePoint3d> after;
        for (const OdDbObjectId vid : back->vertexIds())
            after.push_back(OdDbPolygonMeshVertexPtr(vid.safeOpenObject())->position());
        EXPECT_EQ(after, control);
    }
}

TEST_F(PeditEdits, APickedPointIsTakenAlongTheViewOntoThePolylinesPlane)
{
    // A 3D polyline in the plane z = x: a vertex moved to a point picked at z 0 lands on the plane.
    OdDb3dPolylinePtr tilted = OdDb3dPolyline::createObject();
    for (const OdGePoint3d& p : {OdGePoint3d(100, 0, 100), OdGePoint3d(110, 0, 110), OdGePoint3d(110, 10, 110)})
        tilted->appendVertex(vertex3d(p).get());
    const OdDbObjectId id = append(*db, tilted.get());
    tilted.release();
    run("pedit\n105,0\ne\nn\nm\n!click 120,5\nx\n\n");
    EXPECT_TRUE(vantrel::pedit::definingVertexPosition(*OdDbCurvePtr(id.safeOpenObject()), 1)
                    .isEqualTo(OdGePoint3d(120, 5, 120)))
        << output();
}

TEST_F(PeditEdits, JoinedEditedAndSmoothedObjectsAreWrittenAsTheyAreReadBack)
{
    run("pedit\n5,0\nj\nall\n\ne\nn\nn\nb\nn\ng\nn\nt\n45\nx\nx\n"
        "pedit\nm\n5,50\n15,50\n\nj\nj\nb\n2\nx\n"
        "setvar\nsurftype\n8\npedit\n205,0\nnc\ns\n\n");
    const std::string written = vantrel::dxfText(*db);
    const vantrel::DxfReadResult read = vantrel::readDxfText(written);
    ASSERT_TRUE(read.database) << read.error;
    EXPECT_TRUE(read.repairs.empty());
    // The handle seed of the drawing counts handles its erased objects used as well.
    EXPECT_TRUE(withoutHandseed(vantrel::dxfText(*read.database)) == withoutHandseed(written));

    const EzdxfCheck check = runEzdxfCheck(*db, "pedit_edits", R"(doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
for e in auditor.errors:
    print('audit:', e)
assert not auditor.errors
msp = doc.modelspace()
# The joined polyline (now 2D, for the tangent), its piece, the polyline joined across the gap.
polylines = [p for p in msp.query('POLYLINE') if p.is_2d_polyline]
assert len(polylines) == 1 and any(v.dxf.flags & 2 for v in polylines[0].vertices), polylines
assert len(msp.query('LWPOLYLINE')) == 2, len(msp.query('LWPOLYLINE'))
mesh = [p for p in msp.query('POLYLINE') if p.is_poly_face_mesh or p.is_polygon_mesh][0]
assert mesh.dxf.smooth_type == 8 and mesh.dxf.flags & 32 and mesh.dxf.flags & 4, (mesh.dxf.smooth_type, mesh.dxf.flags)
print('ok')
)");
    EXPECT_TRUE(check.passed) << check.output << output();
}

} // namespace
