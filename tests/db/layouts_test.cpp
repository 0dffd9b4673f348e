// Sheets as tabs: their order, and the current sheet switched by the names of their blocks, which
// undo takes back and a saved file keeps.
#include <gtest/gtest.h>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/Template.h>
#include <vantrel/db/layouts.h>

#include "../support/sheets.h"

namespace {

using vantrel::test::addSheet;
using vantrel::test::Sheet;

OdString blockName(OdDbObjectId id) { return OdDbBlockTableRecordPtr(id.safeOpenObject())->getName(); }
OdString layoutName(OdDbObjectId id) { return OdDbLayoutPtr(id.safeOpenObject())->getLayoutName(); }

OdDbObjectId onlyEntity(OdDbObjectId block)
{
    OdDbBlockTableRecordPtr btr = block.safeOpenObject();
    EXPECT_EQ(btr->entityIds().size(), 1u) << blockName(block).toUtf8();
    return btr->entityIds().empty() ? OdDbObjectId() : btr->entityIds().front();
}

class SheetsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = vantrel::newDrawing();
        firstSheet = vantrel::currentSheet(*db);
        firstBlock = db->getPaperSpaceId();
        // Tab order, not the order of names nor of addition, places the tabs.
        third = addSheet(*db, L"Alpha", 3, L"*Paper_Space0", OdGePoint3d(3, 3, 0));
        second = addSheet(*db, L"Zeta", 2, L"*Paper_Space1", OdGePoint3d(2, 2, 0));
    }

    std::vector<std::string> tabNames()
    {
        std::vector<std::string> names;
        for (OdDbObjectId id : vantrel::layoutsInTabOrder(*db))
            names.push_back(layoutName(id).toUtf8());
        return names;
    }

    OdDbDatabasePtr db;
    OdDbObjectId firstSheet, firstBlock;
    Sheet second, third;
};

TEST_F(SheetsTest, TabsComeModelFirstThenByTabOrderAndAreFoundByNameInAnyCase)
{
    EXPECT_EQ(tabNames(), (std::vector<std::string>{"Model", "Layout1", "Zeta", "Alpha"}));
    EXPECT_EQ(vantrel::findLayout(*db, L"aLPHA"), third.layout);
    EXPECT_TRUE(vantrel::findLayout(*db, L"Alph").isNull());
    EXPECT_EQ(firstSheet, vantrel::findLayout(*db, L"layout1"));
}

TEST_F(SheetsTest, SwitchingRenamesTheBlocksAndThePaperSpaceFollowsThroughUndoAndRedo)
{
    db->startUndoRecord();
    db->blockUndoRecording(true, L"LAYOUT");
    vantrel::makeSheetCurrent(*db, third.layout);
    db->setSysVar(L"TILEMODE", OdResBuf::newRb(70, 0).get());
    db->blockUndoRecording(false);
    EXPECT_EQ(db->getPaperSpaceId(), third.block);
    EXPECT_EQ(vantrel::currentSheet(*db), third.layout);
    EXPECT_EQ(blockName(third.block), OdString(L"*Paper_Space"));
    EXPECT_EQ(blockName(firstBlock), OdString(L"*Paper_Space0"));
    EXPECT_EQ(blockName(second.block), OdString(L"*Paper_Space1"));
    EXPECT_EQ(db->currentSpaceId(), third.block);

    ASSERT_TRUE(db->undo());
    EXPECT_EQ(db->getPaperSpaceId(), firstBlock);
    EXPECT_EQ(db->currentSpaceId(), db->getModelSpaceId());
    EXPECT_EQ(blockName(firstBlock), OdString(L"*Paper_Space"));
    EXPECT_EQ(blockName(third.block), OdString(L"*Paper_Space0"));
    ASSERT_TRUE(db->redo());
    EXPECT_EQ(db->getPaperSpaceId(), third.block);

    // The current sheet again changes nothing; the model layout is no sheet.
    vantrel::makeSheetCurrent(*db, third.layout);
    EXPECT_EQ(blockName(third.block), OdString(L"*Paper_Space"));
    EXPECT_THROW(vantrel::makeSheetCurrent(*db, vantrel::findLayout(*db, L"Model")), OdError);
    EXPECT_THROW(vantrel::makeSheetCurrent(*db, OdDbObjectId()), OdError);
    EXPECT_EQ(db->getPaperSpaceId(), third.block);
}

TEST_F(SheetsTest, ASavedDrawingOpensOnTheSheetThatWasCurrentWithEverySheetKeepingItsEntities)
{
    vantrel::makeSheetCurrent(*db, second.layout);
    vantrel::DxfReadResult read = vantrel::readDxfText(vantrel::dxfText(*db));
    ASSERT_TRUE(read.database) << read.error;
    OdDbDatabase& back = *read.database;
    EXPECT_EQ(layoutName(vantrel::currentSheet(back)), OdString(L"Zeta"));
    const auto entityOf = [&back](const wchar_t* layout) {
        OdDbLayoutPtr sheet = vantrel::findLayout(back, layout).safeOpenObject();
        return OdDbLinePtr(onlyEntity(sheet->getBlockTableRecordId()).safeOpenObject());
    };
    EXPECT_EQ(entityOf(L"Zeta")->startPoint(), OdGePoint3d(2, 2, 0));
    EXPECT_EQ(entityOf(L"Alpha")->startPoint(), OdGePoint3d(3, 3, 0));
    // The template's sheet keeps its two viewports.
    OdDbLayoutPtr first = vantrel::findLayout(back, L"Layout1").safeOpenObject();
    EXPECT_EQ(OdDbBlockTableRecordPtr(first->getBlockTableRecordId().safeOpenObject())->entityIds().size(), 2u);
}

} // namespace
