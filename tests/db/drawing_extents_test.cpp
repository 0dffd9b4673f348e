// The extents a saved drawing records: model space in EXTMIN/EXTMAX, paper space in
// PEXTMIN/PEXTMAX, the "no extents" values for an empty space, and no step for U.
#include <gtest/gtest.h>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/Template.h>
#include <vantrel/db/drawing_extents.h>

namespace {

OdGePoint3d point(const OdDbDatabase& db, const wchar_t* name) { return db.getSysVar(name)->getPoint3d(); }

} // namespace

TEST(DrawingExtents, EachSpaceRecordsWhatItHolds)
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    const OdDbObjectId paper = db->getPaperSpaceId();
    const OdGeExtents3d sheet = vantrel::blockExtents(paper); // the template's floating viewport
    ASSERT_TRUE(sheet.isValidExtents());

    vantrel::updateDrawingExtents(*db);
    EXPECT_EQ(point(*db, L"EXTMIN"), OdGePoint3d(1e20, 1e20, 1e20));
    EXPECT_EQ(point(*db, L"EXTMAX"), OdGePoint3d(-1e20, -1e20, -1e20));
    EXPECT_EQ(point(*db, L"PEXTMIN"), sheet.minPoint());
    EXPECT_EQ(point(*db, L"PEXTMAX"), sheet.maxPoint());

    OdDbCirclePtr circle = OdDbCircle::createObject();
    circle->setCenter(OdGePoint3d(10, 20, 5));
    circle->setRadius(3);
    circle->setDatabaseDefaults(db.get());
    OdDbBlockTableRecordPtr(db->getModelSpaceId().safeOpenObject(OdDb::kForWrite))->appendOdDbEntity(circle.get());
    const std::size_t undoBefore = db->undoLogSize();
    vantrel::updateDrawingExtents(*db);
    EXPECT_TRUE(point(*db, L"EXTMIN").isEqualTo({7, 17, 5}));
    EXPECT_TRUE(point(*db, L"EXTMAX").isEqualTo({13, 23, 5}));
    EXPECT_EQ(db->undoLogSize(), undoBefore); // not a change U would take back

    // Written and read back as header variables.
    vantrel::DxfReadResult back = vantrel::readDxfText(vantrel::dxfText(*db));
    ASSERT_TRUE(back.database) << back.error;
    EXPECT_TRUE(point(*back.database, L"EXTMAX").isEqualTo({13, 23, 5}));
    EXPECT_EQ(point(*back.database, L"PEXTMIN"), sheet.minPoint());
}
