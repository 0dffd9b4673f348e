#include "dxf_repair_layouts.h"

#include "DxfRepairLog.h"

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbLayout.h>
#include <vantrel/db/OdDbTables.h>

namespace vantrel {

namespace {

bool isBlock(OdDbObjectId id) { return !id.isNull() && OdDbBlockTableRecord::cast(id.openObject().get()); }

// The block record that names the layout as its own, or null.
OdDbObjectId blockNaming(OdDbDatabase& db, OdDbObjectId layout)
{
    OdDbSymbolTablePtr blocks = db.getBlockTableId().safeOpenObject();
    for (OdDbObjectId id : blocks->recordIds()) {
        OdDbBlockTableRecordPtr block = OdDbBlockTableRecord::cast(id.openObject().get());
        if (block && block->getLayoutId() == layout)
            return id;
    }
    return {};
}

// A name for a layout that has none: its dictionary entry's, else the one its space block implies.
OdString nameFor(const OdDbLayout& layout, const OdString& entryName)
{
    if (!entryName.isEmpty())
        return entryName;
    if (layout.modelType())
        return L"Model";
    OdDbBlockTableRecordPtr block = layout.getBlockTableRecordId().safeOpenObject();
    return block->getName();
}

} // namespace

void repairLayouts(OdDbDatabase& db, DxfRepairLog& repairs)
{
    OdDbDictionaryPtr dictionary = OdDbDictionary::cast(db.getLayoutDictionaryId(false).openObject().get());
    if (!dictionary)
        return;
    for (const OdDbDictionary::Entry& entry : dictionary->entries()) {
        OdDbLayoutPtr layout = OdDbLayout::cast(entry.id.openObject(OdDb::kForWrite).get());
        if (!layout)
            continue;
        if (!isBlock(layout->getBlockTableRecordId())) {
            const OdDbObjectId block = blockNaming(db, entry.id);
            if (block.isNull()) {
                dictionary->upgradeOpen();
                dictionary->remove(entry.name);
                odCheck(layout->erase());
                repairs.note("layouts that show no block dropped");
                continue;
            }
            layout->setBlockTableRecordId(block);
            repairs.note("layouts without their block linked to the block that names them");
        }
        if (layout->getLayoutName().isEmpty()) {
            layout->setLayoutName(nameFor(*layout, entry.name));
            repairs.note("layouts without a name given their dictionary entry's");
        }
    }
}

} // namespace vantrel
