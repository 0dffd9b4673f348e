// The document's selection request: each form of the syntax, keywords, bad input, locked layers
// by flag, whole groups by PICKSTYLE, highlighting, and the pick distance of the view.
#include <gtest/gtest.h>

#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbGroup.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdDbSolid.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/host/hostSelectionSet.h>

#include "HostAppFixture.h"

class SelectionTest : public HostAppFixture {
protected:
    SelectionTest()
    {
        horizontal = addLine({0, 0, 0}, {10, 0, 0});
        OdDbCirclePtr c = OdDbCircle::createObject();
        c->setCenter({20, 0, 0});
        c->setRadius(2);
        c->setDatabaseDefaults(db);
        circle
            = OdDbBlockTableRecordPtr(db->getModelSpaceId().safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(c.get());
        set = hostSelectionSet::createObject(db);
    }

    // One selection request answered by the script; the chosen ids.
    std::vector<OdDbObjectId> select(const std::string& answers, std::uint32_t flags = 0,
                                     InputResult expected = kInputValue, const wchar_t* keywords = nullptr)
    {
        script(answers);
        EXPECT_EQ(doc.getSelection(*set, L"Select objects", keywords, flags), expected) << answers;
        return set->objectIds();
    }

    OdDbObjectId lockedLine()
    {
        OdDbLayerTableRecordPtr layer = OdDbLayerTableRecord::createObject();
        layer->setName(L"Locked");
        layer->setIsLocked(true);
        OdDbObjectId layerId
            = OdDbSymbolTablePtr(db->getLayerTableId().safeOpenObject(OdDb::kForWrite))->add(layer.get());
        OdDbObjectId id = addLine({0, 5, 0}, {10, 5, 0});
        OdDbEntityPtr(id.safeOpenObject(OdDb::kForWrite))->setLayer(layerId);
        return id;
    }

    OdDbObjectId horizontal, circle;
    hostSelectionSetPtr set;
};

TEST_F(SelectionTest, PickFindsTheTopmostEntityWithinThePickDistance)
{
    // The default view is 100 units wide: 1 unit of pick distance.
    EXPECT_DOUBLE_EQ(doc.pickDistance(), 1.0);
    EXPECT_EQ(select("5,0.9\n"), std::vector<OdDbObjectId>{horizontal});
    EXPECT_TRUE(select("5,1.1\n").empty());
    // On the circle, not at its centre.
    EXPECT_EQ(select("22.5,0\n"), std::vector<OdDbObjectId>{circle});
    EXPECT_TRUE(select("20,0\n").empty());
    EXPECT_TRUE(OdDbEntityPtr(circle.safeOpenObject())->isHighlighted());

    // A line on top of the other at the same place: the later one wins, until the draw order
    // puts it below.
    OdDbObjectId above = addLine({0, 0.5, 0}, {10, 0.5, 0});
    EXPECT_EQ(select("5,0.25\n"), std::vector<OdDbObjectId>{above});
    OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    space->getSortentsTable()->moveToBottom({above});
    EXPECT_EQ(select("5,0.25\n"), std::vector<OdDbObjectId>{horizontal});

    // A smaller view makes the pick distance smaller.
    doc.setViewExtents(OdGeExtents3d({0, 0, 0}, {10, 5, 0}));
    EXPECT_DOUBLE_EQ(doc.pickDistance(), 0.1);
    EXPECT_TRUE(select("5,0.9\n").empty());
    EXPECT_EQ(select("!click 5,0.05\n"), std::vector<OdDbObjectId>{horizontal});
}

TEST_F(SelectionTest, FilledAreasArePickedInside)
{
    OdDbSolidPtr solid = OdDbSolid::createObject();
    solid->setPointAt(0, {40, 0, 0});
    solid->setPointAt(1, {50, 0, 0});
    solid->setPointAt(2, {40, 10, 0});
    solid->setPointAt(3, {50, 10, 0});
    OdDbObjectId id
        = OdDbBlockTableRecordPtr(db->getModelSpaceId().safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(solid.get());
    EXPECT_EQ(select("45,5\n"), std::vector<OdDbObjectId>{id});
}

TEST_F(SelectionTest, ObjectsRisingOutOfThePlanAreaArePickedWhereTheyAreSeen)
{
    // A line climbing steeply and a raised one: picked along their plan, whatever their height.
    const OdDbObjectId steep = addLine({60, 0, 0}, {70, 0, 50});
    const OdDbObjectId raised = addLine({60, 10, 30}, {70, 10, 30});
    EXPECT_EQ(select("68,0.5\n"), std::vector<OdDbObjectId>{steep});
    EXPECT_EQ(select("68,10.5\n"), std::vector<OdDbObjectId>{raised});
}

TEST_F(SelectionTest, WindowTakesWhatIsInsideAndCrossingWhatItTouches)
{
    // The window covers the whole line and half of the circle.
    EXPECT_EQ(select("W -1,-5 20,5\n"), std::vector<OdDbObjectId>{horizontal});
    EXPECT_EQ(select("c 20,5 -1,-5\n"), (std::vector<OdDbObjectId>{horizontal, circle}));
    // A crossing window inside the circle touches nothing.
    EXPECT_TRUE(select("C 19,-1 21,1\n").empty());
    // Corners asked one by one.
    EXPECT_EQ(select("w\n-1,-5\n30,5\n"), (std::vector<OdDbObjectId>{horizontal, circle}));
    EXPECT_EQ(output(),
              "Select objects: W -1,-5 20,5\nSelect objects: c 20,5 -1,-5\n"
              "Select objects: C 19,-1 21,1\nSelect objects: w\nSpecify first corner: -1,-5\n"
              "Specify opposite corner: 30,5\n");
    EXPECT_TRUE(select("w\n!cancel\n", 0, kInputCancel).empty());
}

TEST_F(SelectionTest, AllLastPreviousAndHandles)
{
    OdDbObjectId newest = addLine({0, 10, 0}, {1, 10, 0});
    EXPECT_EQ(select("all\n"), (std::vector<OdDbObjectId>{horizontal, circle, newest}));
    EXPECT_EQ(select("L\n"), std::vector<OdDbObjectId>{newest});
    EXPECT_EQ(select("P\n"), std::vector<OdDbObjectId>{newest});

    std::string h1 = horizontal.getHandle().ascii(), h2 = circle.getHandle().ascii();
    EXPECT_EQ(select("H " + h2 + "," + h1 + "\n"), (std::vector<OdDbObjectId>{circle, horizontal}));
    EXPECT_EQ(select("P\n"), (std::vector<OdDbObjectId>{circle, horizontal}));
    // An erased entity drops out of the previous selection.
    EXPECT_EQ(eOk, OdDbObjectPtr(circle.safeOpenObject(OdDb::kForWrite))->erase());
    EXPECT_EQ(select("p\n"), std::vector<OdDbObjectId>{horizontal});
    output();
    // The circle's handle names no entity now; the request asks again.
    EXPECT_EQ(select("H " + h2 + "\nH 1,zz\nH " + h1 + "\n"), std::vector<OdDbObjectId>{horizontal});
    EXPECT_EQ(output(),
              "Select objects: H " + h2 + "\nNo entity of the current space has handle " + h2
                  + ".\nSelect objects: H 1,zz\nNo entity of the current space has handle 1.\n"
                    "Select objects: H "
                  + h1 + "\n");
}

TEST_F(SelectionTest, KeywordsEnterCancelAndBadInput)
{
    EXPECT_TRUE(select("m\n", 0, 2, L"Multiple").empty());
    EXPECT_TRUE(select("End\n", 0, 3, L"Multiple End").empty());
    select("\n", 0, kInputEmpty, L"Multiple");
    select("!cancel\n", 0, kInputCancel);
    output();
    EXPECT_EQ(select("nonsense\nW 1,1\nALL 3\n!dlg ok\n5,0\n"), std::vector<OdDbObjectId>{horizontal});
    EXPECT_EQ(output(),
              "Select objects: nonsense\nInvalid selection: give a point, W, C, ALL, L, P or H.\n"
              "Select objects: W 1,1\nA window needs two corners: W X1,Y1 X2,Y2.\n"
              "Select objects: ALL 3\nInvalid selection: give a point, W, C, ALL, L, P or H.\n"
              "Select objects: !dlg ok\nNo dialog is open.\nSelect objects: 5,0\n");
    // P with nothing before, L with nothing in the drawing.
    doc.setPreviousSelection({});
    EXPECT_EQ(eOk, OdDbObjectPtr(horizontal.safeOpenObject(OdDb::kForWrite))->erase());
    EXPECT_EQ(eOk, OdDbObjectPtr(circle.safeOpenObject(OdDb::kForWrite))->erase());
    select("P\nL\n!cancel\n", 0, kInputCancel);
    EXPECT_EQ(output(),
              "Select objects: P\nThere is no previous selection.\nSelect objects: L\n"
              "There is no entity in the current space.\nSelect objects: *Cancel*\n");
}

TEST_F(SelectionTest, LockedLayersAreLeftOutWhereTheFlagsSay)
{
    OdDbObjectId locked = lockedLine();
    EXPECT_EQ(select("W -1,-1 11,6\n", kSelectRejectLocked), std::vector<OdDbObjectId>{horizontal});
    EXPECT_EQ(output(), "Select objects: W -1,-1 11,6\n1 was on a locked layer.\n");
    EXPECT_FALSE(OdDbEntityPtr(locked.safeOpenObject())->isHighlighted());
    EXPECT_EQ(select("W -1,-1 11,6\n"), (std::vector<OdDbObjectId>{horizontal, locked}));
    // A single pick takes the first entity that is not locked.
    EXPECT_EQ(select("ALL\n", kSelectRejectLocked | kSelectSingle), std::vector<OdDbObjectId>{horizontal});
    EXPECT_EQ(select("H " + locked.getHandle().ascii() + "\n", kSelectRejectLocked).size(), 0u);
}

TEST_F(SelectionTest, PickstyleSelectsWholeGroupsUnlessTheFlagsKeepThemApart)
{
    OdDbObjectId d = addLine({0, 20, 0}, {5, 20, 0});
    OdDbObjectId e = addLine({0, 25, 0}, {5, 25, 0});
    OdDbObjectId hidden = addLine({0, 30, 0}, {5, 30, 0});
    OdDbGroupPtr group = OdDbGroup::createObject();
    group->append(d);
    group->append(e);
    group->append(hidden);
    OdDbDictionaryPtr(db->getGroupDictionaryId().safeOpenObject(OdDb::kForWrite))->setAt(L"PAIR", group.get());
    OdDbEntityPtr(hidden.safeOpenObject(OdDb::kForWrite))->setVisibility(OdDb::kInvisible);

    // PICKSTYLE 1 by default: the group, without its member that is not shown.
    EXPECT_EQ(select("2,25\n"), (std::vector<OdDbObjectId>{e, d}));
    EXPECT_EQ(select("2,25\n", kSelectNoGroups), std::vector<OdDbObjectId>{e});
    app.setSysVar(L"PICKSTYLE", OdResBuf::newRb(70, 0).get());
    EXPECT_EQ(select("2,25\n"), std::vector<OdDbObjectId>{e});
    app.setSysVar(L"PICKSTYLE", OdResBuf::newRb(70, 3).get());
    EXPECT_EQ(select("2,20\n"), (std::vector<OdDbObjectId>{d, e}));
    OdDbGroupPtr(
        OdDbDictionaryPtr(db->getGroupDictionaryId().safeOpenObject())->getAt(L"PAIR").safeOpenObject(OdDb::kForWrite))
        ->setSelectable(false);
    EXPECT_EQ(select("2,20\n"), std::vector<OdDbObjectId>{d});
}

TEST_F(SelectionTest, HighlightsEndWithTheCommand)
{
    app.commands().addHostCommand(L"selectTest", [](HostDocument& d) {
        hostSelectionSetPtr s = hostSelectionSet::createObject(d.database());
        d.getSelection(*s, L"Select objects", nullptr, 0);
        EXPECT_TRUE(OdDbEntityPtr(s->objectIds().at(0).safeOpenObject())->isHighlighted());
    });
    script("selectTest\nALL\n");
    app.runCommandLoop();
    EXPECT_FALSE(OdDbEntityPtr(horizontal.safeOpenObject())->isHighlighted());
    EXPECT_FALSE(OdDbEntityPtr(circle.safeOpenObject())->isHighlighted());
}

TEST_F(SelectionTest, SetBelongsToOneDrawing)
{
    OdDbDatabasePtr other = vantrel::newDrawing();
    hostSelectionSetPtr foreign = hostSelectionSet::createObject(other.get());
    EXPECT_THROW(doc.getSelection(*foreign, L"Select objects", nullptr, 0), OdError);
    EXPECT_TRUE(foreign->append(horizontal));
    EXPECT_FALSE(foreign->append(horizontal));
    EXPECT_FALSE(foreign->append(OdDbObjectId::kNull));
    EXPECT_TRUE(foreign->remove(horizontal));
    EXPECT_FALSE(foreign->remove(horizontal));
}
