// Space extents from the entities' own extents, and writing them into the drawing's header.
#include <vantrel/db/drawing_extents.h>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/ExtentsDraw.h>
#include <vantrel/db/OdDbEntity.h>

namespace vantrel {

namespace {

constexpr double kNoExtents = 1e20;

void setPoint(OdDbDatabase& db, const wchar_t* name, const OdGePoint3d& point)
{
    db.setSysVar(name, OdResBuf::newRb(10, point).get());
}

void recordExtents(OdDbDatabase& db, OdDbObjectId block, const wchar_t* minName, const wchar_t* maxName)
{
    const OdGeExtents3d extents = block.isNull() ? OdGeExtents3d() : blockExtents(block);
    const bool empty = !extents.isValidExtents();
    setPoint(db, minName, empty ? OdGePoint3d(kNoExtents, kNoExtents, kNoExtents) : extents.minPoint());
    setPoint(db, maxName, empty ? OdGePoint3d(-kNoExtents, -kNoExtents, -kNoExtents) : extents.maxPoint());
}

} // namespace

OdGeExtents3d blockExtents(OdDbObjectId block)
{
    OdGeExtents3d all;
    OdDbBlockTableRecordPtr btr = block.safeOpenObject();
    for (OdDbObjectIteratorPtr it = btr->newIterator(); !it->done(); it->step()) {
        // Measured as getGeomExtents measures, except that arcs within what the entities before
        // reached are passed over: they cannot move it.
        ExtentsDraw collector(all);
        it->entity()->subWorldDraw(collector);
        all.addExt(collector.extents());
    }
    return all;
}

void updateDrawingExtents(OdDbDatabase& db)
{
    OdDbUndoPause pause(db);
    recordExtents(db, db.getModelSpaceId(), L"EXTMIN", L"EXTMAX");
    recordExtents(db, db.getPaperSpaceId(), L"PEXTMIN", L"PEXTMAX");
}

} // namespace vantrel
