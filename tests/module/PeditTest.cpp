// PEdit: the command's own undo on a drawing (blocks, steps, the floor at no step), the closing
// arc against the construction it stands for, fitting and decurving back under the same id,
// handle and extended data, the host's U restoring the drawing exactly after a whole run, and
// PICKSTYLE while the polyline is picked. Prompts and reports are in the transcripts pedit_*.scr.
#include "ModuleHostFixture.h"

#include <cmath>
#include <numbers>
#include <random>
#include <regex>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbLine.h>

#include "frame/CommandRegistrar.h"
#include "frame/command_creators.h"
#include "pedit/CPeditCmd.h"
#include "pedit/HostLocalUndo.h"
#include "pedit/polyline_edits.h"

namespace {

constexpr double kPi = std::numbers::pi;

OdDbObjectId append(OdDbDatabase& db, OdDbEntity* entity)
{
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    return ms->appendOdDbEntity(entity);
}

OdDbPolylinePtr lightweight(const std::vector<OdGePoint2d>& points, const std::vector<double>& bulges = {})
{
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    for (unsigned i = 0; i < points.size(); ++i)
        pl->addVertexAt(i, points[i], i < bulges.size() ? bulges[i] : 0.0);
    return pl;
}

double widthOf(OdDbObjectId id) { return OdDbPolylinePtr(id.safeOpenObject())->getConstantWidth(); }

// --- the command's own undo ---

TEST(PeditLocalUndo, OwnsTheUndoBlockOnlyWhenNoneWasOpen)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    {
        HostLocalUndo undo(db.get());
        EXPECT_TRUE(db->isUndoBlockStarted());
        undo.setDatabase(db.get());
        EXPECT_EQ(undo.stepCount(), 0);
    }
    EXPECT_FALSE(db->isUndoBlockStarted()) << "attached twice, the block it opened is still its own to close";

    db->blockUndoRecording(true);
    {
        HostLocalUndo undo(db.get());
    }
    EXPECT_TRUE(db->isUndoBlockStarted()) << "a block opened before is left open";
    db->blockUndoRecording(false);
}

TEST(PeditLocalUndo, EachUndoTakesBackOneStepAndNothingBeyondTheFirst)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    const OdDbObjectId id = append(*db, lightweight({{0, 0}, {10, 0}, {10, 10}}).get());
    HostLocalUndo undo(db.get());
    EXPECT_FALSE(undo.undo()) << "no step yet";
    EXPECT_EQ(undo.stepCount(), 0);
    auto setWidth = [&](double w) {
        const HostLocalUndo::step step(undo);
        OdDbPolylinePtr(id.safeOpenObject(OdDb::kForWrite))->setConstantWidth(w);
    };
    setWidth(1.0);
    setWidth(2.0);
    {
        // A step that changes nothing still counts.
        const HostLocalUndo::step step(undo);
    }
    setWidth(3.0);
    EXPECT_EQ(undo.stepCount(), 4);
    EXPECT_TRUE(undo.undo());
    EXPECT_EQ(widthOf(id), 2.0);
    EXPECT_TRUE(undo.undo());
    EXPECT_EQ(widthOf(id), 2.0);
    EXPECT_TRUE(undo.undo());
    EXPECT_EQ(widthOf(id), 1.0);
    // After an undo the steps count on from where they are.
    setWidth(5.0);
    EXPECT_TRUE(undo.undo());
    EXPECT_EQ(widthOf(id), 1.0);
    EXPECT_TRUE(undo.undo());
    EXPECT_EQ(widthOf(id), 0.0);
    EXPECT_FALSE(undo.undo());
    EXPECT_EQ(undo.stepCount(), 0);
    EXPECT_EQ(widthOf(id), 0.0);
}

// --- the closing arc ---

// The closing arc as the construction has it: its centre where the line through the last
// vertex and the last arc's centre meets the perpendicular bisector of the closing chord.
std::optional<double> constructedClosingBulge(const OdDbPolyline& pl)
{
    const unsigned last = pl.numVerts() - 1;
    OdGePoint2d p0, pl2;
    pl.getPointAt(0, p0);
    pl.getPointAt(last, pl2);
    OdGeCircArc2d arc;
    pl.getArcSegAt(last - 1, arc);
    const OdGeVector2d a = arc.center() - pl2;
    const OdGePoint2d m = p0 + (pl2 - p0) * 0.5;
    const OdGeVector2d b = (pl2 - m).perpVector();
    const double det = a.crossProduct(b);
    if (std::fabs(det) < 1e-12)
        return std::nullopt;
    const double s = (m - pl2).crossProduct(b) / det;
    const OdGePoint2d c = pl2 + a * s;
    OdGeVector3d t;
    double end;
    EXPECT_EQ(eOk, pl.getEndParam(end));
    EXPECT_EQ(eOk, pl.getFirstDeriv(end, t));
    const OdGeVector2d tangent(t.x, t.y), chord = p0 - pl2;
    auto ccw = [](const OdGeVector2d& from, const OdGeVector2d& to) {
        double angle = std::atan2(from.crossProduct(to), from.dotProduct(to));
        return angle < 0.0 ? angle + 2.0 * kPi : angle;
    };
    const double a1 = ccw(pl2 - c, p0 - c), a2 = ccw(tangent, chord);
    return a2 > kPi ? -std::tan((2.0 * kPi - a1) / 4.0) : std::tan(a1 / 4.0);
}

TEST(PeditClose, TheClosingArcContinuesTheLastArcAndEndsAtTheFirstVertex)
{
    std::mt19937 random(99);
    std::uniform_real_distribution<double> coordinate(-40.0, 40.0), bulge(-2.0, 2.0);
    int closedWithArcs = 0;
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<OdGePoint2d> points;
        points.reserve(static_cast<std::size_t>(2 + trial % 4));
        for (int i = 0; i < 2 + trial % 4; ++i)
            points.emplace_back(coordinate(random), coordinate(random));
        std::vector<double> bulges(points.size(), 0.0);
        bulges[points.size() - 2] = bulge(random);
        OdDbPolylinePtr pl = lightweight(points, bulges);
        SCOPED_TRACE(trial);
        const std::optional<double> constructed = constructedClosingBulge(*pl);
        vantrel::pedit::closeOrOpen(*pl, false);
        ASSERT_TRUE(pl->isClosed());
        const double closing = pl->getBulgeAt(static_cast<unsigned>(points.size()) - 1);
        if (constructed) {
            EXPECT_NEAR(closing, *constructed, 1e-9 * std::max(1.0, std::fabs(closing)));
        }
        // No turn where the last arc ends, and the path comes back to vertex 0.
        const double at = static_cast<double>(points.size()) - 1.0;
        OdGeVector3d before, after;
        EXPECT_EQ(eOk, pl->getFirstDeriv(at - 1e-9, before));
        EXPECT_EQ(eOk, pl->getFirstDeriv(at + 1e-9, after));
        EXPECT_LT(before.angleTo(after), 1e-6);
        OdGePoint3d end, first;
        double endParam;
        EXPECT_EQ(eOk, pl->getEndParam(endParam));
        EXPECT_EQ(eOk, pl->getPointAtParam(endParam - 1e-12, end));
        pl->getPointAt(0, first);
        EXPECT_LT(end.distanceTo(first), 1e-6);
        closedWithArcs += closing != 0.0;
    }
    EXPECT_GT(closedWithArcs, 290);
}

TEST(PeditClose, AStoredClosingBulgeAZeroLengthEndAndVertexZeroStraightAhead)
{
    OdDbPolylinePtr kept = lightweight({{0, 0}, {10, 0}, {20, 10}}, {0, 0.4, -0.3});
    vantrel::pedit::closeOrOpen(*kept, false);
    EXPECT_TRUE(kept->isClosed());
    EXPECT_EQ(kept->getBulgeAt(2), -0.3);

    OdDbPolylinePtr stub = lightweight({{0, 0}, {10, 0}, {10, 0}});
    vantrel::pedit::closeOrOpen(*stub, false);
    EXPECT_FALSE(stub->isClosed()) << "a zero-length last segment gives no direction";

    // The last arc arrives heading for vertex 0: no arc is needed to get there.
    OdDbPolylinePtr ahead = lightweight({{0, 0}, {20, 10}, {10, 0}}, {0, -std::tan(kPi / 8)});
    vantrel::pedit::closeOrOpen(*ahead, false);
    EXPECT_TRUE(ahead->isClosed());
    EXPECT_NEAR(ahead->getBulgeAt(2), 0.0, 1e-12);
}

// --- fitting and decurving in a drawing ---

TEST(PeditFit, FitAndDecurveKeepTheIdHandleAndExtendedDataAndGiveTheVerticesBack)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    OdDbPolylinePtr pl = lightweight({{0, 0}, {10, 8}, {20, 8}, {20, 8}, {30, 0}}, {0.3, 0, 0, 0, 0});
    pl->setConstantWidth(0.5);
    pl->setColorIndex(3);
    OdResBufPtr xdata = OdResBuf::newRb(1001, OdString(L"PEDIT_TEST"));
    xdata->setNext(OdResBuf::newRb(1000, OdString(L"kept")));
    const OdDbObjectId id = append(*db, pl.get());
    pl->setXData(xdata.get());
    const OdDbHandle handle = id.getHandle();
    pl.release();

    ASSERT_TRUE(vantrel::pedit::fitCurve(*db, id));
    OdDb2dPolylinePtr fitted = id.safeOpenObject();
    EXPECT_EQ(fitted->polyType(), OdDb::k2dFitCurvePoly);
    EXPECT_EQ(vantrel::pedit::definingVertexCount(*fitted), 4u) << "the zero-length segment's vertex is gone";
    EXPECT_EQ(fitted->colorIndex(), 3);
    EXPECT_EQ(fitted->pathVertices()[1]->startWidth(), 0.5);
    fitted.release();
    EXPECT_FALSE(vantrel::pedit::fitCurve(*db, id)) << "a fit curve already";

    ASSERT_TRUE(vantrel::pedit::decurve(*db, id));
    const OdDbPolylinePtr back = id.safeOpenObject();
    EXPECT_EQ(id.getHandle(), handle);
    EXPECT_EQ(back->numVerts(), 4u);
    const std::vector<OdGePoint2d> expected{{0, 0}, {10, 8}, {20, 8}, {30, 0}};
    for (unsigned i = 0; i < back->numVerts(); ++i) {
        OdGePoint2d p;
        back->getPointAt(i, p);
        EXPECT_TRUE(p.isEqualTo(expected[i])) << i;
        EXPECT_EQ(back->getBulgeAt(i), 0.0) << i;
    }
    EXPECT_EQ(back->getConstantWidth(), 0.5);
    EXPECT_EQ(back->colorIndex(), 3);
    ASSERT_TRUE(back->xData(L"PEDIT_TEST"));
    EXPECT_EQ(back->xData(L"PEDIT_TEST")->next()->getString(), OdString(L"kept"));
    EXPECT_EQ(db->getOdDbObjectId(handle), id);
}

TEST(PeditFit, ASplinedLightweightPolylineBecomesA2dSplineAndStraightEndsStayAlone)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    const OdDbObjectId id = append(*db, lightweight({{0, 0}, {10, 8}, {20, 0}, {30, 8}}).get());
    ASSERT_TRUE(vantrel::pedit::fitSpline(*db, id, true, 4));
    OdDb2dPolylinePtr splined = id.safeOpenObject();
    EXPECT_EQ(splined->polyType(), OdDb::k2dQuadSplinePoly);
    EXPECT_EQ(splined->pathVertices().size(), 2u * 4u + 1u);
    splined.release();

    const OdDbObjectId straight = append(*db, lightweight({{0, 0}, {10, 0}}).get());
    EXPECT_FALSE(vantrel::pedit::fitCurve(*db, straight));
    EXPECT_TRUE(OdDbPolyline::cast(straight.safeOpenObject().get()));
    const OdDbObjectId point = append(*db, lightweight({{5, 5}, {5, 5}, {5, 5}}).get());
    EXPECT_FALSE(vantrel::pedit::fitCurve(*db, point)) << "fewer than two distinct vertices";
    EXPECT_THROW(vantrel::pedit::fitSpline(*db, append(*db, lightweight({{1, 1}}).get()), false, 8), OdError);
}

// --- conversions ---

TEST(PeditConvert, LightweightCopiesForJoinLeaveTheDrawingAsItWas)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    OdDb2dPolylinePtr fitted = OdDb2dPolyline::createObject();
    for (const OdGePoint3d& p : {OdGePoint3d(0, 0, 0), OdGePoint3d(10, 8, 0), OdGePoint3d(20, 0, 0)}) {
        OdDb2dVertexPtr v = OdDb2dVertex::createObject();
        v->setPosition(p);
        fitted->appendVertex(v.get());
    }
    fitted->curveFit();
    const OdDbObjectId fittedId = append(*db, fitted.get());
    fitted.release();
    OdDbArcPtr arc = OdDbArc::createObject();
    arc->setCenter({50, 0, 0});
    arc->setRadius(5);
    arc->setStartAngle(350 * kPi / 180);
    arc->setEndAngle(10 * kPi / 180);
    const OdDbObjectId arcId = append(*db, arc.get());
    arc.release();
    OdDbLinePtr line = OdDbLine::createObject();
    line->setEndPoint({5, 5, 0});
    const OdDbObjectId lineId = append(*db, line.get());
    line.release();
    const OdDbObjectId lwId = append(*db, lightweight({{0, 0}, {1, 1}}).get());
    vantrel::dxfText(*db);
    const std::string before = vantrel::dxfText(*db);

    CPeditCmd pedit;
    const OdDbPolylinePtr straight = pedit.toLwPolyline(*OdDbEntityPtr(fittedId.safeOpenObject()));
    ASSERT_TRUE(straight);
    EXPECT_FALSE(straight->isDBRO());
    ASSERT_EQ(straight->numVerts(), 3u) << "the defining vertices, straight";
    EXPECT_FALSE(straight->hasBulges());
    const OdDbPolylinePtr bent = pedit.toLwPolyline(*OdDbEntityPtr(arcId.safeOpenObject()));
    ASSERT_TRUE(bent);
    EXPECT_NEAR(bent->getBulgeAt(0), std::tan(5 * kPi / 180), 1e-12) << "350 to 10 degrees sweeps 20";
    EXPECT_EQ(pedit.toLwPolyline(*OdDbEntityPtr(lineId.safeOpenObject()))->numVerts(), 2u);
    EXPECT_EQ(pedit.toLwPolyline(*OdDbEntityPtr(lwId.safeOpenObject()))->numVerts(), 2u);
    OdDbCirclePtr circle = OdDbCircle::createObject();
    circle->setRadius(3);
    EXPECT_FALSE(pedit.toLwPolyline(*circle)) << "no kind Join appends";
    EXPECT_EQ(vantrel::dxfText(*db), before);
}

// --- the command in a host ---

std::string withoutHandseed(const std::string& dxf)
{
    static const std::regex seed("\\$HANDSEED\\n *5\\n[0-9A-F]+\\n");
    return std::regex_replace(dxf, seed, "$$HANDSEED\n5\n*\n");
}

class PeditCommand : public ModuleHostFixture {
protected:
    void SetUp() override
    {
        ModuleHostFixture::SetUp();
        // The module registered its commands when it was loaded, before there was a host to take
        // them: PEdit is registered here as the module registers it.
        const vantrel::CommandRegistrar pedit(L"HOST", L"PEdit", 2, vantrel::runFunctionCommand<CPeditCmd>);
        lw = append(*db, lightweight({{0, 0}, {10, 0}, {20, 10}}, {0, 0.4}).get());
        OdDbPolylinePtr second = lightweight({{0, 20}, {10, 30}, {20, 20}});
        second->setPlinegen(true);
        append(*db, second.get());
        OdDbLinePtr l = OdDbLine::createObject();
        l->setStartPoint({0, 40, 0});
        l->setEndPoint({20, 40, 0});
        line = append(*db, l.get());
    }

    OdDbObjectId lw, line;
};

TEST_F(PeditCommand, UAfterTheCommandGivesBackTheDrawingAsItWas)
{
    vantrel::dxfText(*db);
    const std::string before = withoutHandseed(vantrel::dxfText(*db));
    start("pedit\nm\nall\n\ny\nw\n2\nf\nc\nu\nl\noff\nx\npedit\n10,0\ns\nd\nc\n\nu\nu\n");
    app->runCommandLoop();
    const std::string out = output();
    EXPECT_NE(out.find("Convert Lines and Arcs to polylines?"), std::string::npos) << out;
    EXPECT_EQ(withoutHandseed(vantrel::dxfText(*db)), before) << out;
    EXPECT_TRUE(OdDbLine::cast(line.safeOpenObject().get())) << "the converted line is a line again";
}

// What the polyline looks like whenever the option prompt is shown: its kind and width.
class PolylineWatch : public vantrel::InputSource {
public:
    PolylineWatch(std::string_view script, OdDbObjectId id) : m_script(script, L"test.scr"), m_id(id) {}
    vantrel::InputEvent next(const vantrel::InputPrompt& prompt) override
    {
        if (prompt.text.starts_with(L"Enter an option")) {
            const OdDbObjectPtr object = m_id.safeOpenObject();
            if (auto lw = OdDbPolyline::cast(object.get()))
                seen.push_back("lightweight " + std::to_string(lw->getConstantWidth()));
            else if (auto pl = OdDb2dPolyline::cast(object.get()))
                seen.push_back("2D type " + std::to_string(pl->polyType()) + " "
                               + std::to_string(pl->vertexAt(0)->startWidth()));
        }
        return m_script.next(prompt);
    }
    std::vector<std::string> seen;

private:
    vantrel::ScriptInputSource m_script;
    OdDbObjectId m_id;
};

TEST_F(PeditCommand, EachUndoGivesBackTheStateBeforeTheLatestOption)
{
    PolylineWatch watch("pedit\n10,0\nu\nw\n2\nf\nu\nu\nu\nw\n!cancel\n", lw);
    HostApplication application(profile, watch, transcript);
    application.openDocument(db);
    application.runCommandLoop();
    EXPECT_EQ(watch.seen,
              (std::vector<std::string>{"lightweight 0.000000", "lightweight 0.000000", "lightweight 2.000000",
                                        "2D type 1 2.000000", "lightweight 2.000000", "lightweight 0.000000",
                                        "lightweight 0.000000"}))
        << output();
}

// Reads PICKSTYLE whenever a polyline is to be picked.
class PickStyleWatch : public vantrel::InputSource {
public:
    explicit PickStyleWatch(std::string_view script) : m_script(script, L"test.scr") {}
    vantrel::InputEvent next(const vantrel::InputPrompt& prompt) override
    {
        if (prompt.text.starts_with(L"Select polyline"))
            seen.push_back(HostApplication::current()->getSysVar(L"PICKSTYLE")->getInt16());
        return m_script.next(prompt);
    }
    std::vector<std::int16_t> seen;

private:
    vantrel::ScriptInputSource m_script;
};

TEST_F(PeditCommand, PickstyleIsTwoWhileAPolylineIsPickedAndAsItWasAfterwards)
{
    PickStyleWatch watch("pedit\n\n10,0\nx\n");
    HostApplication application(profile, watch, transcript);
    application.openDocument(db);
    application.setSysVar(L"PICKSTYLE", OdResBuf::newRb(70, std::int32_t(1)).get());
    application.runCommandLoop();
    EXPECT_EQ(watch.seen, (std::vector<std::int16_t>{2, 2}));
    EXPECT_EQ(application.getSysVar(L"PICKSTYLE")->getInt16(), 1);
}

} // namespace
