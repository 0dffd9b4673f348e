// Tests of the built-in template drawing: every table, record, dictionary, layout and viewport
// a new drawing starts with, found by name, and a clean undo history.
#include <gtest/gtest.h>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbLayout.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/OdDbViewport.h>
#include <vantrel/db/Template.h>

class TemplateDrawing : public ::testing::Test {
protected:
    void SetUp() override { db = vantrel::newDrawing(); }

    OdDbObjectId record(OdDbObjectId table, const OdString& name)
    {
        return OdDbSymbolTablePtr(table.safeOpenObject())->getAt(name);
    }
    std::vector<OdDbViewportPtr> paperViewports()
    {
        std::vector<OdDbViewportPtr> out;
        OdDbBlockTableRecordPtr ps = db->getPaperSpaceId().safeOpenObject();
        for (auto it = ps->newIterator(); !it->done(); it->step())
            out.push_back(it->entity());
        return out;
    }

    OdDbDatabasePtr db;
};

TEST_F(TemplateDrawing, HasTheStandardTablesAndRecords)
{
    EXPECT_EQ(db->getModelSpaceId(), record(db->getBlockTableId(), L"*MODEL_SPACE"));
    EXPECT_EQ(db->getPaperSpaceId(), record(db->getBlockTableId(), L"*Paper_Space"));
    EXPECT_NE(db->getModelSpaceId(), db->getPaperSpaceId());

    OdDbLayerTableRecordPtr layer0 = record(db->getLayerTableId(), L"0").safeOpenObject();
    EXPECT_EQ(layer0->objectId(), db->getLayerZeroId());
    EXPECT_EQ(layer0->color().colorIndex(), 7);
    EXPECT_EQ(layer0->linetypeObjectId(), db->getLinetypeContinuousId());

    EXPECT_EQ(db->getLinetypeByBlockId(), record(db->getLinetypeTableId(), L"BYBLOCK"));
    EXPECT_EQ(db->getLinetypeByLayerId(), record(db->getLinetypeTableId(), L"ByLayer"));
    EXPECT_EQ(db->getLinetypeContinuousId(), record(db->getLinetypeTableId(), L"Continuous"));
    // Each pattern alternates drawn parts (a dot is zero long) with gaps.
    for (const wchar_t* name : {L"DASHED", L"HIDDEN", L"CENTER", L"PHANTOM", L"DOT"}) {
        OdDbLinetypeTableRecordPtr lt = record(db->getLinetypeTableId(), name).safeOpenObject();
        const auto& dashes = lt->dashes();
        ASSERT_GE(dashes.size(), 2u) << OdString(name).toUtf8();
        ASSERT_EQ(dashes.size() % 2, 0u);
        for (std::size_t i = 0; i < dashes.size(); ++i)
            EXPECT_TRUE(i % 2 == 0 ? dashes[i] >= 0 : dashes[i] < 0) << OdString(name).toUtf8() << i;
        EXPECT_GT(lt->patternLength(), 0);
    }
    OdDbLinetypeTableRecordPtr dot = record(db->getLinetypeTableId(), L"DOT").safeOpenObject();
    EXPECT_EQ(dot->dashes().front(), 0.0);

    EXPECT_EQ(db->getTextStyleStandardId(), record(db->getTextStyleTableId(), L"Standard"));
    EXPECT_FALSE(record(db->getRegAppTableId(), L"ACAD").isNull());
    EXPECT_FALSE(record(db->getRegAppTableId(), L"VANTREL").isNull());
}

TEST_F(TemplateDrawing, HasLayoutsAndViewportsAndStartsInModelSpace)
{
    OdDbDictionaryPtr nod = db->getNamedObjectsDictionaryId().safeOpenObject();
    EXPECT_TRUE(nod->has(L"ACAD_GROUP"));
    ASSERT_TRUE(nod->has(L"ACAD_LAYOUT"));
    OdDbDictionaryPtr layouts = nod->getAt(L"ACAD_LAYOUT").safeOpenObject();
    EXPECT_EQ(layouts->objectId(), db->getLayoutDictionaryId(false));

    OdDbLayoutPtr model = layouts->getAt(L"Model").safeOpenObject();
    OdDbLayoutPtr sheet = layouts->getAt(L"Layout1").safeOpenObject();
    EXPECT_EQ(model->getBlockTableRecordId(), db->getModelSpaceId());
    EXPECT_EQ(sheet->getBlockTableRecordId(), db->getPaperSpaceId());
    EXPECT_TRUE(model->modelType());
    EXPECT_FALSE(sheet->modelType());
    EXPECT_EQ(model->getTabOrder(), 0);
    EXPECT_EQ(sheet->getTabOrder(), 1);
    EXPECT_EQ(OdDbBlockTableRecordPtr(db->getModelSpaceId().safeOpenObject())->getLayoutId(), model->objectId());
    EXPECT_EQ(OdDbBlockTableRecordPtr(db->getPaperSpaceId().safeOpenObject())->getLayoutId(), sheet->objectId());

    const auto vps = paperViewports();
    ASSERT_EQ(vps.size(), 2u);
    EXPECT_EQ(vps[0]->number(), 1);
    EXPECT_EQ(vps[1]->number(), 2);
    EXPECT_TRUE(vps[0]->isOn() && vps[1]->isOn());
    EXPECT_TRUE(vps[0]->commonData().paperSpace);
    EXPECT_LT(vps[1]->width(), vps[0]->width());
    EXPECT_EQ(sheet->lastActiveViewportId(), vps[0]->objectId());
    EXPECT_EQ(db->activeViewportId(), vps[0]->objectId());

    EXPECT_TRUE(db->getTILEMODE());
    EXPECT_EQ(db->currentSpaceId(), db->getModelSpaceId());
}

TEST_F(TemplateDrawing, StartsWithoutUndoHistoryAndGivesNewEntitiesLayerZero)
{
    EXPECT_EQ(db->undoLogSize(), 0u);
    EXPECT_FALSE(db->hasUndo());

    OdDbLinePtr line = OdDbLine::createObject();
    line->setEndPoint({1, 1, 0});
    OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    const OdDbObjectId id = ms->appendOdDbEntity(line.get());
    EXPECT_EQ(line->layerId(), db->getLayerZeroId());
    EXPECT_EQ(line->layer(), OdString(L"0"));
    EXPECT_EQ(line->linetypeId(), db->getLinetypeByLayerId());
    EXPECT_TRUE(db->hasUndo());
    line.release();
    ms.release();

    // Each call builds a drawing of its own.
    OdDbDatabasePtr other = vantrel::newDrawing();
    OdDbBlockTableRecordPtr otherMs = other->getModelSpaceId().safeOpenObject();
    EXPECT_TRUE(otherMs->newIterator()->done());
    EXPECT_EQ(id.database(), db.get());
}
