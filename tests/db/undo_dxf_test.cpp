// Undo checked through the saved file: after a command's worth of changes of every kind is
// undone, the drawing writes exactly the DXF it wrote before; redo writes the changed drawing.
#include <gtest/gtest.h>

#include <regex>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDb2dPolyline.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbGroup.h>
#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolygonMesh.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdDbSymbolTable.h>
#include <vantrel/db/OdDbText.h>
#include <vantrel/db/Template.h>

namespace {

// Handles are never given out twice, so undo keeps the handle seed where it is.
std::string withoutHandseed(const std::string& dxf)
{
    static const std::regex seed("\\$HANDSEED\\n *5\\n[0-9A-F]+\\n");
    return std::regex_replace(dxf, seed, "$$HANDSEED\n5\n*\n");
}

class UndoThroughDxf : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = vantrel::newDrawing();
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        OdDbLinePtr line = OdDbLine::createObject();
        line->setEndPoint(OdGePoint3d(10, 5, 0));
        lineId = ms->appendOdDbEntity(line.get());
        OdDbCirclePtr circle = OdDbCircle::createObject();
        circle->setRadius(4);
        circleId = ms->appendOdDbEntity(circle.get());
        OdDbPolylinePtr pl = OdDbPolyline::createObject();
        pl->addVertexAt(0, OdGePoint2d(0, 0), 0.5, 0.1, 0.2);
        pl->addVertexAt(1, OdGePoint2d(5, 0), 0.0, 0.3, 0.4);
        pl->addVertexAt(2, OdGePoint2d(5, 5));
        polylineId = ms->appendOdDbEntity(pl.get());
        OdDbTextPtr text = OdDbText::createObject();
        text->setTextString(L"Kitchen");
        text->setHeight(2.5);
        ms->appendOdDbEntity(text.get());
        OdDbLightPtr light = OdDbLight::createObject();
        light->setName(L"Pointlight 1");
        lightId = ms->appendOdDbEntity(light.get());
        // Saving gives BLOCK, ENDBLK and SEQEND records their handles once; later saves agree.
        vantrel::dxfText(*db);
        before = withoutHandseed(vantrel::dxfText(*db));
    }

    std::string now() { return withoutHandseed(vantrel::dxfText(*db)); }

    OdDbDatabasePtr db;
    OdDbObjectId lineId, circleId, polylineId, lightId;
    std::string before;
};

TEST_F(UndoThroughDxf, ACommandOfEveryKindOfChangeIsTakenBackExactly)
{
    db->blockUndoRecording(true);
    OdDbLinePtr(lineId.safeOpenObject(OdDb::kForWrite))->setStartPoint(OdGePoint3d(-3, -3, 0));
    EXPECT_EQ(eOk, OdDbCirclePtr(circleId.safeOpenObject(OdDb::kForWrite))->erase());
    {
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        OdDbArcPtr arc = OdDbArc::createObject();
        arc->setRadius(2);
        arc->setEndAngle(1.5);
        OdDbObjectId arcId = ms->appendOdDbEntity(arc.get());
        OdDbPolygonMeshPtr mesh = OdDbPolygonMesh::createObject();
        const OdGePoint3d grid[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 1}};
        mesh->setGrid(2, 2, grid);
        ms->appendOdDbEntity(mesh.get());
        ms->getSortentsTable()->moveBelow({arcId}, lineId);
    }
    {
        // The lightweight polyline becomes a 2D polyline under the same id.
        OdDbPolylinePtr pl = polylineId.safeOpenObject(OdDb::kForWrite);
        OdDb2dPolylinePtr pl2d = OdDb2dPolyline::createObject();
        ASSERT_EQ(pl->convertTo(pl2d.get(), true), eOk);
    }
    OdDbLightPtr(lightId.safeOpenObject(OdDb::kForWrite))->setIntensity(3.5);
    db->setSysVar(L"DIMSCALE", OdResBuf::newRb(40, 4.0).get());
    {
        OdDbDictionaryPtr groups = db->getGroupDictionaryId().safeOpenObject(OdDb::kForWrite);
        OdDbGroupPtr group = OdDbGroup::createObject();
        groups->setAt(L"Walls", group.get());
        group->append(lineId);
    }
    db->blockUndoRecording(false);
    std::string changed = now();
    ASSERT_NE(changed, before);

    ASSERT_TRUE(db->undo());
    EXPECT_EQ(now(), before);
    ASSERT_TRUE(db->redo());
    EXPECT_EQ(now(), changed);
}

// A drawing without the application name its lights need gets it from the first save; a save
// inside a command is undone with the command, name and all.
TEST_F(UndoThroughDxf, TheApplicationNameASaveRegistersIsUndoneWithTheSave)
{
    OdDbDatabasePtr bare = vantrel::newDrawing();
    {
        OdDbSymbolTablePtr apps = bare->getRegAppTableId().safeOpenObject(OdDb::kForWrite);
        ASSERT_EQ(eOk, OdDbObjectPtr(apps->getAt(L"VANTREL").safeOpenObject(OdDb::kForWrite))->erase());
        OdDbBlockTableRecordPtr ms = bare->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        ms->appendOdDbEntity(OdDbLight::createObject().get());
    }
    auto registered = [&bare] {
        OdDbSymbolTablePtr apps = bare->getRegAppTableId().safeOpenObject();
        return !apps->getAt(L"VANTREL").isNull();
    };
    ASSERT_FALSE(registered());
    bare->blockUndoRecording(true);
    const std::string saved = vantrel::dxfText(*bare);
    bare->blockUndoRecording(false);
    EXPECT_TRUE(registered());
    EXPECT_NE(saved.find("AcDbRegAppTableRecord\n  2\nVANTREL\n"), std::string::npos);
    ASSERT_TRUE(bare->undo());
    EXPECT_FALSE(registered());
    ASSERT_TRUE(bare->redo());
    EXPECT_TRUE(registered());
}

TEST_F(UndoThroughDxf, MarksInsideACommandRollBackOneStepEach)
{
    db->blockUndoRecording(true);
    db->startUndoRecord();
    db->setUndoMark();
    db->startUndoRecord();
    OdDbPolylinePtr(polylineId.safeOpenObject(OdDb::kForWrite))->setConstantWidth(1.0);
    std::string afterWidth = now();
    db->startUndoRecord();
    db->setUndoMark();
    db->startUndoRecord();
    OdDbPolylinePtr(polylineId.safeOpenObject(OdDb::kForWrite))->setClosed(true);
    EXPECT_EQ(eOk, OdDbLinePtr(lineId.safeOpenObject(OdDb::kForWrite))->erase());
    db->undoBack();
    EXPECT_EQ(now(), afterWidth);
    db->undoBack();
    EXPECT_EQ(now(), before);
    db->blockUndoRecording(false);
}

} // namespace
