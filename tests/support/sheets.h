// Sheets beyond the template's one, as drawings from files bring them: a layout on a block of
// its own (*Paper_Space0, *Paper_Space1, ...) holding one line, without a paper-space view.
#pragma once

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbLayout.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbTables.h>

namespace vantrel::test {

struct Sheet {
    OdDbObjectId layout, block, line;
};

inline Sheet addSheet(OdDbDatabase& db, const wchar_t* name, std::int16_t tabOrder, const wchar_t* blockName,
                      const OdGePoint3d& lineStart)
{
    Sheet sheet;
    OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::createObject();
    block->setName(blockName);
    sheet.block = OdDbBlockTablePtr(db.getBlockTableId().safeOpenObject(OdDb::kForWrite))->add(block.get());
    OdDbLayoutPtr layout = OdDbLayout::createObject();
    layout->setLayoutName(name);
    layout->setTabOrder(tabOrder);
    layout->setBlockTableRecordId(sheet.block);
    sheet.layout
        = OdDbDictionaryPtr(db.getLayoutDictionaryId().safeOpenObject(OdDb::kForWrite))->setAt(name, layout.get());
    block->setLayoutId(sheet.layout);
    OdDbLinePtr line = OdDbLine::createObject();
    line->setStartPoint(lineStart);
    line->setEndPoint(lineStart + OdGeVector3d(10.0, 0.0, 0.0));
    line->setDatabaseDefaults(&db);
    sheet.line = block->appendOdDbEntity(line.get());
    line->commonDataForWrite().paperSpace = true;
    return sheet;
}

} // namespace vantrel::test
