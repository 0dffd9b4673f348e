// LAYER's visibility options and LAYOUT's choice of sheet, run as typed: what they change, what
// they refuse and say, and that U takes the whole command back.
#include "HostAppFixture.h"

#include <vantrel/db/layouts.h>
#include <vantrel/host/hostutils.h>

#include "../support/sheets.h"

namespace {

class LayerLayoutCommandsTest : public HostAppFixture {
protected:
    OdDbLayerTableRecordPtr layer(const wchar_t* name)
    {
        OdDbLayerTablePtr table = db->getLayerTableId().safeOpenObject();
        return OdDbLayerTableRecordPtr(table->getAt(name).safeOpenObject());
    }
    void run(const wchar_t* command, const std::string& answers)
    {
        script(answers);
        (void)app.runCommand(command);
    }
};

TEST_F(LayerLayoutCommandsTest, OnOffFreezeThawLockUnlockEachChangeTheirLayerAndUndoAsOneCommand)
{
    run(L"LAYER", "New\nwalls\nNew\ndoors\n\n");
    run(L"LAYER", "OFF\nwalls\nf\ndoors\nl\nWALLS\n\n");
    EXPECT_TRUE(layer(L"walls")->isOff());
    EXPECT_FALSE(layer(L"walls")->isFrozen());
    EXPECT_TRUE(layer(L"walls")->isLocked());
    EXPECT_TRUE(layer(L"doors")->isFrozen());
    EXPECT_FALSE(layer(L"doors")->isOff());
    run(L"LAYER", "on\nwalls\nt\ndoors\nu\nwalls\n\n");
    EXPECT_FALSE(layer(L"walls")->isOff());
    EXPECT_FALSE(layer(L"walls")->isLocked());
    EXPECT_FALSE(layer(L"doors")->isFrozen());
    (void)app.runCommand(L"U");
    EXPECT_TRUE(layer(L"walls")->isOff());
    EXPECT_TRUE(layer(L"walls")->isLocked());
    EXPECT_TRUE(layer(L"doors")->isFrozen());
    (void)app.runCommand(L"U");
    EXPECT_FALSE(layer(L"walls")->isOff());
    EXPECT_FALSE(layer(L"doors")->isFrozen());
}

TEST_F(LayerLayoutCommandsTest, UnknownLayersAndTheCurrentLayerAreRefusedWithAMessage)
{
    run(L"LAYER", "New\nwalls\nSet\nwalls\n\n");
    output();
    run(L"LAYER", "Freeze\nwalls\nOFF\nnowhere\nThaw\nnowhere\nFreeze\n0\n\n");
    const std::string said = output();
    EXPECT_NE(said.find("Enter name of layer to freeze: walls\nThe current layer cannot be frozen.\n"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("Enter name of layer to turn off: nowhere\nNo layer named \"nowhere\".\n"), std::string::npos)
        << said;
    EXPECT_NE(said.find("Enter name of layer to thaw: nowhere\nNo layer named \"nowhere\".\n"), std::string::npos)
        << said;
    EXPECT_FALSE(layer(L"walls")->isFrozen());
    EXPECT_TRUE(layer(L"0")->isFrozen());
    // Turning the current layer off is allowed: what is drawn on it comes back with ON.
    run(L"LAYER", "OFF\nwalls\n\n");
    EXPECT_TRUE(layer(L"walls")->isOff());
}

TEST_F(LayerLayoutCommandsTest, ColorTakesATrueColorAfterItsKeywordAndAsksAgainForBadOnes)
{
    run(L"LAYER", "New\nwalls\nColor\nTruecolor\n300,0,0\n255,128,0\nwalls\nColor\n3\n\n\n");
    const std::string said = output();
    EXPECT_NE(said.find("Enter true color (R,G,B): 300,0,0\nA true color is three whole numbers"), std::string::npos)
        << said;
    EXPECT_NE(said.find("Enter name of layer for color 255,128,0 <0>: walls"), std::string::npos) << said;
    EXPECT_EQ(layer(L"walls")->color(), OdCmColor::byRGB(255, 128, 0));
    EXPECT_EQ(layer(L"0")->color(), OdCmColor::byIndex(3));
}

class LayoutCommandTest : public LayerLayoutCommandsTest {
protected:
    void SetUp() override
    {
        layout1 = vantrel::currentSheet(*db);
        layout1Block = db->getPaperSpaceId();
        layout2 = vantrel::test::addSheet(*db, L"Layout2", 2, L"*Paper_Space0", OdGePoint3d(2, 2, 0));
        layout3 = vantrel::test::addSheet(*db, L"Layout 3", 3, L"*Paper_Space1", OdGePoint3d(3, 3, 0));
        output();
    }
    std::size_t entitiesIn(OdDbObjectId block)
    {
        return OdDbBlockTableRecordPtr(block.safeOpenObject())->entityIds().size();
    }

    OdDbObjectId layout1, layout1Block;
    vantrel::test::Sheet layout2, layout3;
};

TEST_F(LayoutCommandTest, ANamedSheetBecomesTheSpaceDrawnInAndUTakesItBack)
{
    run(L"LAYOUT", "nowhere\nlayout 3\n");
    EXPECT_NE(output().find("No layout named \"nowhere\".\nEnter layout name <Layout1>: layout 3\n"),
              std::string::npos);
    EXPECT_FALSE(db->getTILEMODE());
    EXPECT_EQ(vantrel::currentSheet(*db), layout3.layout);
    EXPECT_EQ(getActiveBTRId(db), layout3.block);
    run(L"LINE", "0,0\n5,5\n\n");
    EXPECT_EQ(entitiesIn(layout3.block), 2u);
    EXPECT_EQ(entitiesIn(layout1Block), 2u);

    // Enter keeps the current sheet; the model layout's name is model space.
    run(L"LAYOUT", "\n");
    EXPECT_NE(output().find("Enter layout name <Layout 3>: \nThe layout is current already."), std::string::npos);
    run(L"LAYOUT", "MODEL\n");
    EXPECT_TRUE(db->getTILEMODE());
    run(L"LAYOUT", "Layout2\n");
    EXPECT_EQ(getActiveBTRId(db), layout2.block);

    (void)app.runCommand(L"U");
    EXPECT_TRUE(db->getTILEMODE());
    EXPECT_EQ(vantrel::currentSheet(*db), layout3.layout);
    (void)app.runCommand(L"U");
    EXPECT_FALSE(db->getTILEMODE());
    EXPECT_EQ(getActiveBTRId(db), layout3.block);
    // Back to the start: Layout1's block is the paper space again, the line gone.
    (void)app.runCommand(L"U");
    (void)app.runCommand(L"U");
    EXPECT_TRUE(db->getTILEMODE());
    EXPECT_EQ(db->getPaperSpaceId(), layout1Block);
    EXPECT_EQ(entitiesIn(layout3.block), 1u);
}

TEST_F(LayoutCommandTest, EscLeavesTheSpaceAsItWas)
{
    run(L"LAYOUT", "nowhere\n!cancel\n");
    EXPECT_TRUE(db->getTILEMODE());
    EXPECT_EQ(vantrel::currentSheet(*db), layout1);
}

} // namespace
