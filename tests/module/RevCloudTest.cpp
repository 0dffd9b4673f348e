// RevCloud through a real command line: clouds laid along every kind of source keep to the arc
// limits, bulge and widen as their style says, close with the source and stay near it; Esc leaves
// the drawing as it was; tracing follows the UCS; and the tracker's rubber band and closing
// distance. DELOBJ 1, reversing, plain tracing and the repeatable random steps (each transcript
// runs twice) are in the transcripts revcloud_*.scr.
#include "ModuleHostFixture.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <set>
#include <vector>

#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDb2dVertex.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbEllipse.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbSpline.h>
#include <vantrel/host/HostMessage.h>

#include "revcloud/CRevCloudCmd.h"
#include "revcloud/RevCloudTracker.h"

namespace {

struct Source {
    const char* kind;
    std::function<OdDbEntityPtr()> make;
};

OdDbEntityPtr circle()
{
    OdDbCirclePtr c = OdDbCircle::createObject();
    c->setCenter({10, 20, 0});
    c->setRadius(40);
    return c;
}

OdDbEntityPtr arc()
{
    OdDbArcPtr a = OdDbArc::createObject();
    a->setCenter({0, 0, 0});
    a->setRadius(50);
    a->setStartAngle(0.3);
    a->setEndAngle(2.9);
    return a;
}

OdDbEntityPtr line()
{
    OdDbLinePtr l = OdDbLine::createObject();
    l->setStartPoint({-50, 10, 0});
    l->setEndPoint({130, 90, 0});
    return l;
}

OdDbEntityPtr ellipse()
{
    OdDbEllipsePtr e = OdDbEllipse::createObject();
    e->set({0, 0, 0}, {0, 0, 1}, {60, 20, 0}, 0.4);
    return e;
}

OdDbEntityPtr polyline(bool closed)
{
    OdDbPolylinePtr p = OdDbPolyline::createObject();
    p->addVertexAt(0, {0, 0}, 0.7);
    p->addVertexAt(1, {80, 0});
    p->addVertexAt(2, {80, 50}, -1.0);
    p->addVertexAt(3, {30, 50});
    p->setClosed(closed);
    return p;
}

OdDbEntityPtr polyline2d()
{
    OdDb2dPolylinePtr p = OdDb2dPolyline::createObject();
    const std::vector<std::pair<OdGePoint3d, double>> vertices{
        {{0, 0, 0}, -0.4}, {{70, 10, 0}, 0.0}, {{60, 70, 0}, 1.0}};
    for (const auto& [point, bulge] : vertices) {
        OdDb2dVertexPtr v = OdDb2dVertex::createObject();
        v->setPosition(point);
        v->setBulge(bulge);
        p->appendVertex(v.get());
    }
    p->makeClosed();
    return p;
}

OdDbEntityPtr spline()
{
    OdDbSplinePtr s = OdDbSpline::createObject();
    s->setNurbsData(3, false, false, false, {{0, 0, 0}, {20, 40, 0}, {50, -20, 0}, {70, 40, 0}, {90, 0, 0}},
                    {0, 0, 0, 0, 0.5, 1, 1, 1, 1}, {});
    return s;
}

const std::vector<Source>& sources()
{
    static const std::vector<Source> all{{"circle", circle},
                                         {"arc", arc},
                                         {"line", line},
                                         {"ellipse", ellipse},
                                         {"open polyline", [] { return polyline(false); }},
                                         {"closed polyline", [] { return polyline(true); }},
                                         {"2D polyline", polyline2d},
                                         {"spline", spline}};
    return all;
}

double distanceAlong(const OdDbCurve& curve, const OdGePoint3d& p)
{
    double d = -1.0;
    EXPECT_EQ(curve.getDistAtPoint(p, d), eOk);
    return d;
}

double distanceTo(const OdDbCurve& curve, const OdGePoint3d& p)
{
    OdGePoint3d closest;
    EXPECT_EQ(curve.getClosestPointTo(p, closest), eOk);
    return closest.distanceTo(p);
}

class RevCloud : public ModuleHostFixture {
protected:
    void SetUp() override
    {
        ModuleHostFixture::SetUp();
        std::filesystem::remove(profilePath);
        ownProfile = std::make_unique<vantrel::TomlProfile>(profilePath.string());
    }
    void TearDown() override { std::filesystem::remove(profilePath); }

    // Starts the application on the answers with DELOBJ set; run() then runs RevCloud once.
    void open(const std::string& script, int delobj = 1)
    {
        // One application at a time.
        document = nullptr;
        app.reset();
        source = std::make_unique<vantrel::ScriptInputSource>(script, L"test.scr");
        app = std::make_unique<HostApplication>(*ownProfile, *source, transcript);
        document = &app->openDocument(db);
        document->engine().setDrawer(drawer);
        app->setSysVar(L"DELOBJ", OdResBuf::newRb(70, static_cast<std::int32_t>(delobj)).get());
    }
    void run() { vantrel::runFunctionCommand<CRevCloudCmd>(); }

    OdDbObjectId add(const OdDbEntityPtr& entity)
    {
        OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        return space->appendOdDbEntity(entity.get());
    }
    static std::string pick(OdDbObjectId id) { return "H " + id.getHandle().ascii() + "\n"; }

    std::vector<OdDbObjectId> entities() const
    {
        std::vector<OdDbObjectId> ids;
        OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject();
        for (auto it = space->newIterator(); !it->done(); it->step())
            ids.push_back(it->objectId());
        return ids;
    }
    // The polylines in the drawing but not among the ids given.
    std::vector<OdDbPolylinePtr> clouds(const std::vector<OdDbObjectId>& before = {}) const
    {
        std::vector<OdDbPolylinePtr> found;
        for (OdDbObjectId id : entities())
            if (std::find(before.begin(), before.end(), id) == before.end())
                if (OdDbPolylinePtr p = OdDbPolyline::cast(id.safeOpenObject().get()))
                    found.push_back(p);
        return found;
    }

    // What every cloud along a source keeps to.
    void expectCloudAlong(const OdDbCurve& source, const OdDbPolyline& cloud, const CloudArcs& arcs)
    {
        const unsigned n = cloud.numVerts();
        ASSERT_GE(n, 2u);
        double end = 0.0, length = 0.0;
        ASSERT_EQ(source.getEndParam(end), eOk);
        ASSERT_EQ(source.getDistAtParam(end, length), eOk);
        EXPECT_EQ(cloud.isClosed(), source.isClosed());
        std::set<double> steps;
        double previous = 0.0;
        for (unsigned i = 0; i < n; ++i) {
            OdGePoint3d p;
            cloud.getPointAt(i, p);
            EXPECT_LE(distanceTo(source, p), 1e-6) << "vertex " << i << " lies on the source";
            EXPECT_EQ(cloud.getBulgeAt(i), kCloudBulge);
            double sw, ew;
            cloud.getWidthsAt(i, sw, ew);
            EXPECT_EQ(sw, arcs.arcStyle == kRevCloudCalligraphy ? kCalligraphyStartWidth : 0.0);
            EXPECT_EQ(ew, arcs.arcStyle == kRevCloudCalligraphy ? kCalligraphyEndWidth : 0.0);
            if (i == 0)
                continue;
            // The last vertex is the source's end (its start again when closed).
            const double along = i + 1 == n ? length : distanceAlong(source, p);
            const double step = along - previous;
            if (i + 1 < n) {
                EXPECT_GE(step, arcs.minArcLength - 1e-7) << i;
                EXPECT_LT(step, arcs.maxArcLength + 1e-7) << i;
                steps.insert(std::round(step * 1e6));
            } else {
                EXPECT_GT(step, 0.0);
                EXPECT_LE(step, arcs.maxArcLength + 1e-7);
            }
            OdGePoint3d q;
            cloud.getPointAt(i - 1, q);
            EXPECT_LE(q.distanceTo(p), arcs.maxArcLength + 1e-7) << "chord " << i;
            previous = along;
        }
        if (source.isClosed()) {
            OdGePoint3d first, last;
            cloud.getPointAt(0, first);
            cloud.getPointAt(n - 1, last);
            EXPECT_TRUE(first.isEqualTo(last));
        }
        if (arcs.minArcLength < arcs.maxArcLength && n > 4) {
            EXPECT_GT(steps.size(), 1u) << "steps are random";
        }
        // Every arc stays within one arc length of the source.
        double cloudEnd = 0.0;
        ASSERT_EQ(cloud.getEndParam(cloudEnd), eOk);
        for (double t = 0.25; t < cloudEnd; t += 0.5) {
            OdGePoint3d p;
            ASSERT_EQ(cloud.getPointAtParam(t, p), eOk);
            EXPECT_LE(distanceTo(source, p), arcs.maxArcLength) << "cloud parameter " << t;
        }
    }

    std::filesystem::path profilePath = std::filesystem::temp_directory_path() / "vantrel-revcloud-test.toml";
    std::unique_ptr<vantrel::TomlProfile> ownProfile;
};

bool isVisible(OdDbObjectId id) { return OdDbEntityPtr(id.safeOpenObject())->visibility() == OdDb::kVisible; }

} // namespace

TEST_F(RevCloud, CloudsAlongEveryKindOfSourceKeepToTheArcsAndTheSource)
{
    bool calligraphy = false;
    for (const Source& s : sources()) {
        SCOPED_TRACE(s.kind);
        db = vantrel::newDrawing();
        const OdDbObjectId id = add(s.make());
        calligraphy = !calligraphy;
        const CloudArcs arcs{10.0, 25.0, calligraphy ? kRevCloudCalligraphy : kRevCloudNormal};
        open(std::string("a\n10\n25\ns\n") + (calligraphy ? "c" : "normal") + "\no\n" + pick(id) + "n\n", 0);
        run();
        const std::vector<OdDbPolylinePtr> found = clouds({id});
        ASSERT_EQ(found.size(), 1u) << output();
        OdDbCurvePtr source = OdDbCurve::cast(id.safeOpenObject().get());
        expectCloudAlong(*source, *found[0], arcs);
        EXPECT_FALSE(id.isErased());
        EXPECT_TRUE(isVisible(id));
    }
}

TEST_F(RevCloud, EscLeavesTheDrawingAsItWas)
{
    const OdDbObjectId id = add(line());
    const std::vector<OdDbObjectId> before = entities();
    const std::vector<std::string> scripts{
        "0,0\n!move 20,0\n!move 40,0\n!click 50,5\n!cancel\n", // while tracing
        "0,0\n!move 20,0\n!move 40,0\n\n!cancel\n",            // at the reverse question
        "o\n!cancel\n!cancel\n",                               // at the selection, then the first point
        "s\n!cancel\n",                                        // at the style
        "a\n12\n!cancel\n",                                    // at the maximum
    };
    for (const std::string& script : scripts) {
        open(script);
        run();
        EXPECT_EQ(entities(), before) << script;
        EXPECT_TRUE(isVisible(id)) << script;
        EXPECT_TRUE(drawer.shown().empty()) << "no preview is left: " << script;
        EXPECT_TRUE(document->transients().empty()) << script;
    }
}

TEST_F(RevCloud, ATracedCloudLiesInTheUcsPlane)
{
    // A UCS standing upright: its Z axis is world -Y, its origin away from the world origin. The
    // first point is typed in it; the cursor, seen from above, lands on the plane y = 7.
    OdGeMatrix3d ucs;
    ucs.setCoordSystem({5, 7, 9}, OdGeVector3d::kXAxis, OdGeVector3d::kZAxis, -OdGeVector3d::kYAxis);
    open("0,3,0\n!move 20,3,0\n!move 40,3,5\n!move 40,3,25\n\n\n");
    document->setUcs(ucs);
    run();
    const std::vector<OdDbPolylinePtr> found = clouds();
    ASSERT_EQ(found.size(), 1u) << output();
    const OdDbPolyline& cloud = *found[0];
    EXPECT_TRUE(cloud.normal().isEqualTo(-OdGeVector3d::kYAxis));
    ASSERT_EQ(cloud.numVerts(), 4u);
    const OdGePoint3d expected[] = {{5, 7, 12}, {20, 7, 0}, {40, 7, 5}, {40, 7, 25}};
    for (unsigned i = 0; i < 4; ++i) {
        OdGePoint3d p;
        cloud.getPointAt(i, p);
        EXPECT_TRUE(p.isEqualTo(expected[i])) << i << ": " << p.x << "," << p.y << "," << p.z;
    }
}

class RevCloudTrackerTest : public ModuleHostFixture {
protected:
    RevCloudTrackerTest()
    {
        cloud = OdDbPolyline::createObject();
        addCloudVertex(cloud.get(), {0, 0, 0}, kRevCloudNormal, plane);
    }
    bool move(RevCloudTracker& tracker, double x, double y)
    {
        HostMessage m;
        m.message = kTrackerMouseMove;
        return tracker.filterMessage(m, {x, y, 0});
    }
    bool click(RevCloudTracker& tracker, double x, double y)
    {
        HostMessage m;
        m.message = kTrackerLeftButtonDown;
        m.wParam = 1;
        return tracker.filterMessage(m, {x, y, 0});
    }

    OdGePlane plane{OdGePoint3d::kOrigin, OdGeVector3d::kZAxis};
    OdDbPolylinePtr cloud;
};

TEST_F(RevCloudTrackerTest, RubberBandFollowsTheCursorAndTheClosingDistanceFollowsTheChords)
{
    RevCloudTracker tracker(cloud.get(), {10.0, 30.0, kRevCloudNormal}, plane, db.get());
    tracker.setTraceState(kTraceRubberBand);
    move(tracker, 20, 0);
    EXPECT_EQ(cloud->numVerts(), 2u);
    EXPECT_EQ(tracker.closeDistance(), 30.0); // no chord before the first vertex was added
    move(tracker, 25, 0);
    EXPECT_EQ(tracker.rubberBand()->startPoint(), OdGePoint3d(20, 0, 0));
    EXPECT_EQ(tracker.rubberBand()->endPoint(), OdGePoint3d(25, 0, 0));
    EXPECT_EQ(tracker.closeDistance(), 25.0); // (20 + 30) / 2
    // Clicks add where the cursor is, once.
    EXPECT_TRUE(click(tracker, 25, 5));
    EXPECT_TRUE(click(tracker, 25, 5));
    EXPECT_EQ(cloud->numVerts(), 3u);
    HostMessage other;
    other.message = 256;
    EXPECT_FALSE(tracker.filterMessage(other, {0, 0, 0})) << "other messages are the host's";

    vantrel::RecordingDrawer preview;
    EXPECT_EQ(tracker.drawPreview(&preview), 1);
    ASSERT_EQ(preview.shown().size(), 2u);
    EXPECT_EQ(preview.shown()[0].entity, cloud.get());
    tracker.releasePreview(&preview);
    EXPECT_TRUE(preview.shown().empty());
}
