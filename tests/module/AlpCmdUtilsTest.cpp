// The shared command services against a running host: the yes/no prompt and prompts with a
// default, keyword lists, posting to the space the user works in, and the plane tests of curves.
#include "ModuleHostFixture.h"

#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbViewport.h>

#include "frame/AlpCmdUtils.h"

namespace {

OdDbLinePtr line(const OdGePoint3d& start, const OdGePoint3d& end)
{
    OdDbLinePtr l = OdDbLine::createObject();
    l->setStartPoint(start);
    l->setEndPoint(end);
    return l;
}

// The floating viewport of the template's layout, active in paper space or not.
void usePaperSpace(OdDbDatabase& db, bool throughFloatingViewport)
{
    db.setSysVar(L"TILEMODE", OdResBuf::newRb(70, 0).get());
    OdDbBlockTableRecordPtr paper = db.getPaperSpaceId().safeOpenObject();
    for (auto it = paper->newIterator(); !it->done(); it->step()) {
        if (OdDbViewportPtr vp = OdDbViewport::cast(it->entity().get())) {
            if ((vp->number() > 1) == throughFloatingViewport)
                db.setActiveViewportId(it->objectId());
        }
    }
}

} // namespace

TEST(KeywordAt, PicksTheNthNonEmptyPieceOrABlank)
{
    EXPECT_EQ(AlpCmdUtils::keywordAt(L"Extend Add Both", 2, L" "), L"Add");
    EXPECT_EQ(AlpCmdUtils::keywordAt(L"Extend Add Both", 3, L" "), L"Both");
    EXPECT_EQ(AlpCmdUtils::keywordAt(L"Extend Add Both", 4, L" "), L" ");
    EXPECT_EQ(AlpCmdUtils::keywordAt(L"Extend Add Both", 0, L" "), L" ");
    // Runs of delimiters make no empty pieces; any delimiter of the set cuts.
    EXPECT_EQ(AlpCmdUtils::keywordAt(L"  On,,Off ;Auto", 2, L" ,;"), L"Off");
    EXPECT_EQ(AlpCmdUtils::keywordAt(L"  On,,Off ;Auto", 3, L" ,;"), L"Auto");
    EXPECT_EQ(AlpCmdUtils::keywordAt(L"", 1, L" "), L" ");
}

using SharedServices = ModuleHostFixture;

TEST_F(SharedServices, PromptWithDefaultAppendsSixDecimalsAndKeepsTheKeywordPlaceholder)
{
    EXPECT_EQ(AlpCmdUtils::promptWithDefault(2039, 0.0), L"Enter fuzz distance [%s] <0.000000>:");
    EXPECT_EQ(AlpCmdUtils::promptWithDefault(2039, 12.5), L"Enter fuzz distance [%s] <12.500000>:");
    EXPECT_EQ(AlpCmdUtils::promptWithDefault(501, -3.0), L"Specify first point <-3.000000>:");
}

TEST_F(SharedServices, AskYesNoStoresTheDefaultYesOrNoAndKeepsTheAnswerOtherwiseAndPointsArePrinted)
{
    start("\nY\nno\nmaybe\n!cancel\n");
    bool answer = false;
    EXPECT_EQ(AlpCmdUtils::askYesNo(2039, answer, true), kInputEmpty);
    EXPECT_TRUE(answer);
    answer = false;
    EXPECT_EQ(AlpCmdUtils::askYesNo(2039, answer, false), kInputFirstKeyword);
    EXPECT_TRUE(answer);
    EXPECT_EQ(AlpCmdUtils::askYesNo(2039, answer, true), kInputFirstKeyword + 1);
    EXPECT_FALSE(answer);
    // A word that is no keyword is refused and asked again; cancel leaves the answer.
    EXPECT_EQ(AlpCmdUtils::askYesNo(2039, answer, true), kInputCancel);
    EXPECT_FALSE(answer);
    AlpCmdUtils::printPoint(OdGePoint3d(1, -2, 0.5));
    const std::string shown = output();
    EXPECT_NE(shown.find("Enter fuzz distance [Yes/No]: Y\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\nPoint: 1.000000, -2.000000, 0.500000\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Enter fuzz distance [Yes/No]: maybe\n"), std::string::npos) << shown;
}

TEST_F(SharedServices, PostToDbAppendsToTheSpaceTheUserWorksIn)
{
    start("");
    OdDbObjectId id;
    OdDbEntityPtr entity = line(OdGePoint3d(0, 0, 0), OdGePoint3d(1, 0, 0));
    EXPECT_EQ(AlpCmdUtils::postToDb(id, entity, true), id);
    EXPECT_TRUE(entity.isNull()) << "the caller's reference is given up";
    ASSERT_FALSE(id.isNull());
    EXPECT_EQ(id.safeOpenObject()->ownerId(), db->getModelSpaceId());

    // Paper space through its own sheet view: paper space.
    usePaperSpace(*db, false);
    OdDbLinePtr onSheet = line(OdGePoint3d(0, 0, 0), OdGePoint3d(0, 1, 0));
    AlpCmdUtils::postToDb(id, onSheet, false);
    ASSERT_FALSE(id.isNull());
    EXPECT_EQ(id.safeOpenObject()->ownerId(), db->getPaperSpaceId());

    // Paper space with a floating viewport active: model space, through the viewport.
    usePaperSpace(*db, true);
    OdDbLinePtr throughViewport = line(OdGePoint3d(0, 0, 0), OdGePoint3d(1, 1, 0));
    AlpCmdUtils::postToDb(id, throughViewport, false);
    ASSERT_FALSE(id.isNull());
    EXPECT_EQ(id.safeOpenObject()->ownerId(), db->getModelSpaceId());
}

TEST_F(SharedServices, PostToDbReportsAFailureAndAnswersTheNullId)
{
    start("");
    app->closeDocument();
    OdDbObjectId id = db->getModelSpaceId();
    OdDbLinePtr entity = line(OdGePoint3d(0, 0, 0), OdGePoint3d(1, 0, 0));
    EXPECT_TRUE(AlpCmdUtils::postToDb(id, entity, true).isNull());
    EXPECT_TRUE(id.isNull());
    EXPECT_FALSE(entity.isNull()) << "an entity that was not posted stays with the caller";
    EXPECT_EQ(output(), "[message box] Exception AlpCmdUtils::postToDb\n");
}

TEST(CurvePlanes, CoplanarAndParallelCurves)
{
    const OdGePoint3d origin(0, 0, 0);
    OdDbArcPtr arc = OdDbArc::createObject();
    arc->setCenter(OdGePoint3d(5, 5, 0));
    arc->setRadius(2.0);
    arc->setEndAngle(1.0);
    OdDbLinePtr flat = line(origin, OdGePoint3d(3, 4, 0));
    OdDbLinePtr raised = line(OdGePoint3d(0, 0, 5), OdGePoint3d(3, 4, 5));
    OdDbCirclePtr circle = OdDbCircle::createObject();

    OdGePlane plane;
    ASSERT_TRUE(AlpCmdUtils::entityPlane(arc, plane));
    EXPECT_TRUE(plane.isOn(OdGePoint3d(7, 5, 0)));
    EXPECT_FALSE(AlpCmdUtils::entityPlane(circle, plane)) << "only polylines, lines and arcs have a plane here";

    EXPECT_TRUE(AlpCmdUtils::curvesCoplanar(flat, arc));
    EXPECT_FALSE(AlpCmdUtils::curvesCoplanar(raised, arc));
    EXPECT_FALSE(AlpCmdUtils::curvesCoplanar(flat, circle));

    const OdGePlane xy(origin, OdGeVector3d(0, 0, 1));
    const OdGePlane xz(origin, OdGeVector3d(0, 1, 0));
    EXPECT_TRUE(AlpCmdUtils::curveParallelTo(raised, &xy));
    EXPECT_FALSE(AlpCmdUtils::curveParallelTo(raised, &xz));
    EXPECT_FALSE(AlpCmdUtils::curveParallelTo(circle, &xy));
    EXPECT_TRUE(AlpCmdUtils::curveParallelTo(circle, nullptr)) << "no reference plane: any object";
    EXPECT_EQ(flat->numRefs(), 1u) << "the references passed in are given back";
}

TEST(OpenVertexAt, CountsOnlyVerticesThatAreNotErased)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    OdDb2dPolylinePtr polyline = OdDb2dPolyline::createObject();
    for (double x : {0.0, 1.0, 2.0}) {
        OdDb2dVertexPtr v = OdDb2dVertex::createObject();
        v->setPosition(OdGePoint3d(x, 0, 0));
        polyline->appendVertex(v.get());
    }
    OdDbBlockTableRecordPtr(db->getModelSpaceId().safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(polyline.get());
    EXPECT_EQ(eOk, polyline->vertexAt(1, OdDb::kForWrite)->erase());

    OdDb2dVertexPtr vertex;
    ASSERT_TRUE(AlpCmdUtils::openVertexAt(polyline, 1, vertex, OdDb::kForWrite));
    EXPECT_EQ(vertex->position(), OdGePoint3d(2, 0, 0));
    EXPECT_TRUE(vertex->isWriteEnabled());
    EXPECT_FALSE(AlpCmdUtils::openVertexAt(polyline, 2, vertex, OdDb::kForRead));
}
