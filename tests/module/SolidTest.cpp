// Solid through a real command line: the corners asked for, the solids posted and chained,
// the ways the command ends, the space it posts to, and the outline preview of its tracker.
#include "ModuleHostFixture.h"

#include <array>
#include <vector>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSolid.h>
#include <vantrel/db/OdDbViewport.h>
#include <vantrel/host/HostMessage.h>

#include "frame/command_creators.h"
#include "solid/CSolidCmd.h"
#include "solid/SolidTracker.h"

namespace {

using Corners = std::array<OdGePoint3d, 4>;

OdGePoint3d pt(double x, double y) { return OdGePoint3d(x, y, 0.0); }

class SolidCommand : public ModuleHostFixture {
protected:
    void run(const std::string& script)
    {
        start(script);
        vantrel::runFunctionCommand<CSolidCmd>();
    }
    std::vector<Corners> solidsIn(OdDbObjectId space) const
    {
        std::vector<Corners> found;
        OdDbBlockTableRecordPtr block = space.safeOpenObject();
        for (auto it = block->newIterator(); !it->done(); it->step()) {
            if (OdDbSolidPtr solid = OdDbSolid::cast(it->entity().get())) {
                Corners c;
                for (int i = 0; i < 4; ++i)
                    solid->getPointAt(i, c[static_cast<std::size_t>(i)]);
                found.push_back(c);
            }
        }
        return found;
    }
    std::vector<Corners> modelSolids() const { return solidsIn(db->getModelSpaceId()); }
};

void activateViewport(OdDbDatabase& db, bool floating)
{
    db.setSysVar(L"TILEMODE", OdResBuf::newRb(70, 0).get());
    OdDbBlockTableRecordPtr paper = db.getPaperSpaceId().safeOpenObject();
    for (auto it = paper->newIterator(); !it->done(); it->step())
        if (OdDbViewportPtr vp = OdDbViewport::cast(it->entity().get()); vp && (vp->number() > 1) == floating)
            db.setActiveViewportId(it->objectId());
}

} // namespace

TEST_F(SolidCommand, FourCornersPostASolidAndTheNextStartsFromItsLastTwo)
{
    run("0,0\n4,0\n0,3\n4,3\n0,6\n4,6\n\n");
    const std::vector<Corners> solids = modelSolids();
    ASSERT_EQ(solids.size(), 2u);
    EXPECT_EQ(solids[0], (Corners{pt(0, 0), pt(4, 0), pt(0, 3), pt(4, 3)}));
    EXPECT_EQ(solids[1], (Corners{pt(0, 3), pt(4, 3), pt(0, 6), pt(4, 6)}));
    EXPECT_EQ(output(),
              "Specify first point: 0,0\n"
              "Specify second point: 4,0\n"
              "Specify third point: 0,3\n"
              "Specify fourth point: 4,3\n"
              "Specify third point: 0,6\n"
              "Specify fourth point: 4,6\n"
              "Specify third point: \n");
}

TEST_F(SolidCommand, EnterOrExitAtTheFourthCornerMakesATriangle)
{
    run("0,0\n4,0\n2,3\n\n5,5\nexit\n!cancel\n");
    const std::vector<Corners> solids = modelSolids();
    ASSERT_EQ(solids.size(), 2u);
    EXPECT_EQ(solids[0], (Corners{pt(0, 0), pt(4, 0), pt(2, 3), pt(2, 3)}));
    // Chained from the triangle's third corner, twice.
    EXPECT_EQ(solids[1], (Corners{pt(2, 3), pt(2, 3), pt(5, 5), pt(5, 5)}));
}

TEST_F(SolidCommand, CancelAtTheFourthCornerDropsOnlyTheSolidBeingBuilt)
{
    run("0,0\n4,0\n0,3\n4,3\n0,6\n!cancel\n");
    const std::vector<Corners> solids = modelSolids();
    ASSERT_EQ(solids.size(), 1u);
    EXPECT_EQ(solids[0][3], pt(4, 3));
    EXPECT_EQ(output().find("Specify third point: \n"), std::string::npos) << "the command ended at once";
}

TEST_F(SolidCommand, AnythingButAPointAtTheFirstThreeCornersEndsWithoutASolid)
{
    for (const char* script : {"\n", "0,0\n\n", "0,0\n4,0\n\n", "0,0\n4,0\n!cancel\n", "!cancel\n"}) {
        out.str("");
        app.reset();
        run(script);
        EXPECT_TRUE(modelSolids().empty()) << script;
        EXPECT_TRUE(drawer.shown().empty()) << "no preview is left behind: " << script;
    }
}

TEST_F(SolidCommand, PaperSpacePostsToModelSpaceOnlyThroughAFloatingViewport)
{
    activateViewport(*db, false);
    run("0,0\n4,0\n0,3\n4,3\n\n");
    EXPECT_EQ(solidsIn(db->getPaperSpaceId()).size(), 1u);
    EXPECT_TRUE(modelSolids().empty());

    app.reset();
    activateViewport(*db, true);
    run("0,0\n4,0\n0,3\n4,3\n\n");
    EXPECT_EQ(modelSolids().size(), 1u);
    EXPECT_EQ(solidsIn(db->getPaperSpaceId()).size(), 1u);
}

// Keeps the outline as each preview showed it (four edges per preview, A to D).
class SnapshotDrawer : public vantrel::RecordingDrawer {
public:
    using Edge = std::pair<OdGePoint3d, OdGePoint3d>;

    void addEntity(OdDbEntity* entity, std::int32_t style, std::uint32_t flags, std::int32_t r1,
                   std::int32_t r2) override
    {
        RecordingDrawer::addEntity(entity, style, flags, r1, r2);
        OdDbLinePtr edge = OdDbLine::cast(entity);
        edges.emplace_back(edge->startPoint(), edge->endPoint());
    }
    std::vector<Edge> preview(std::size_t n) const
    {
        auto first = edges.begin() + static_cast<std::ptrdiff_t>(4 * n);
        return std::vector<Edge>(first, first + 4);
    }

    std::vector<Edge> edges;
};

TEST_F(SolidCommand, ThePreviewFollowsTheCursorAndKeepsTheLastDragOfTheSecondCorner)
{
    SnapshotDrawer snapshots;
    start("0,0\n!move 2,2\n4,0\n!move 1,3\n0,3\n!move 5,5\n\n\n");
    document->engine().setDrawer(snapshots);
    vantrel::runFunctionCommand<CSolidCmd>();
    ASSERT_EQ(snapshots.edges.size(), 12u);
    using Edges = std::vector<SnapshotDrawer::Edge>;
    // Stage 2: one rubber line from the first corner, four times over.
    EXPECT_EQ(snapshots.preview(0), Edges(4, {pt(0, 0), pt(2, 2)}));
    // Stage 3: the typed second corner does not move the outline; it stays where it was dragged.
    EXPECT_EQ(snapshots.preview(1),
              (Edges{{pt(0, 0), pt(2, 2)}, {pt(0, 0), pt(1, 3)}, {pt(1, 3), pt(2, 2)}, {pt(1, 3), pt(2, 2)}}));
    // Stage 4: the fourth corner lies opposite the first.
    EXPECT_EQ(snapshots.preview(2),
              (Edges{{pt(0, 0), pt(2, 2)}, {pt(0, 0), pt(1, 3)}, {pt(1, 3), pt(5, 5)}, {pt(5, 5), pt(2, 2)}}));
    EXPECT_TRUE(snapshots.shown().empty()) << "every preview is dropped when its request ends";
    const std::vector<Corners> solids = modelSolids();
    ASSERT_EQ(solids.size(), 1u);
    EXPECT_EQ(solids[0], (Corners{pt(0, 0), pt(4, 0), pt(0, 3), pt(0, 3)}));
}

class SolidTrackerTest : public ::testing::Test {
protected:
    // The edges as the drawer got them, in the order A, B, C, D.
    std::vector<std::pair<OdGePoint3d, OdGePoint3d>> outline()
    {
        vantrel::RecordingDrawer drawer;
        EXPECT_EQ(tracker.drawPreview(&drawer), 1);
        std::vector<std::pair<OdGePoint3d, OdGePoint3d>> edges;
        for (const auto& shown : drawer.shown()) {
            EXPECT_EQ(shown.style, 1);
            EXPECT_EQ(shown.flags, 512u);
            OdDbLinePtr edge = OdDbLine::cast(shown.entity);
            // The outline shows the drawing's current layer.
            EXPECT_EQ(edge->layerId(), db->getCLAYER());
            edges.emplace_back(edge->startPoint(), edge->endPoint());
        }
        tracker.releasePreview(&drawer);
        EXPECT_TRUE(drawer.shown().empty());
        return edges;
    }
    bool move(const OdGePoint3d& cursor)
    {
        HostMessage message;
        message.message = kTrackerMouseMove;
        return tracker.filterMessage(message, cursor);
    }

    OdDbDatabasePtr db = vantrel::newDrawing();
    SolidTracker tracker{pt(1, 1), db.get()};
    using Edges = std::vector<std::pair<OdGePoint3d, OdGePoint3d>>;
};

TEST_F(SolidTrackerTest, EachStageMovesTheCornerBeingAskedForAndOnlyCursorMovesAreTaken)
{
    HostMessage other;
    for (std::uint32_t message : {kTrackerLeftButtonDown, 256u, 273u}) {
        other.message = message;
        EXPECT_FALSE(tracker.filterMessage(other, pt(9, 9))) << message;
    }
    EXPECT_EQ(tracker.trackerStage(), 2);
    EXPECT_EQ(outline(), (Edges(4, {pt(1, 1), pt(1, 1)})));
    EXPECT_TRUE(move(pt(5, 1)));
    EXPECT_EQ(outline(), (Edges(4, {pt(1, 1), pt(5, 1)})));

    tracker.setTrackerStage(3);
    EXPECT_TRUE(move(pt(1, 4)));
    EXPECT_EQ(outline(),
              (Edges{{pt(1, 1), pt(5, 1)}, {pt(1, 1), pt(1, 4)}, {pt(1, 4), pt(5, 1)}, {pt(1, 4), pt(5, 1)}}));

    tracker.setTrackerStage(4);
    EXPECT_TRUE(move(pt(5, 4)));
    EXPECT_EQ(outline(),
              (Edges{{pt(1, 1), pt(5, 1)}, {pt(1, 1), pt(1, 4)}, {pt(1, 4), pt(5, 4)}, {pt(5, 4), pt(5, 1)}}));

    tracker.reset(pt(1, 4), pt(5, 4));
    EXPECT_EQ(tracker.trackerStage(), 3);
    EXPECT_EQ(outline(), (Edges(4, {pt(1, 4), pt(5, 4)})));

    tracker.setTrackerStage(5);
    EXPECT_TRUE(move(pt(9, 9)));
    EXPECT_EQ(outline(), (Edges(4, {pt(1, 4), pt(5, 4)}))) << "no stage, no change";
}
