// Layout tabs: their order, lookup by name, and the switch of the current sheet by block names.
#include <vantrel/db/layouts.h>

#include <algorithm>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbLayout.h>
#include <vantrel/db/OdDbTables.h>
#include "space_names.h"

namespace vantrel {

namespace {

OdDbLayoutPtr layoutOf(OdDbObjectId id) { return OdDbLayout::cast(id.openObject().get()); }

} // namespace

std::vector<OdDbObjectId> layoutsInTabOrder(OdDbDatabase& db)
{
    OdDbDictionaryPtr dictionary = OdDbDictionary::cast(db.getLayoutDictionaryId(false).openObject().get());
    if (!dictionary)
        return {};
    struct Tab {
        int order;
        OdDbObjectId id;
    };
    std::vector<Tab> tabs;
    for (const OdDbDictionary::Entry& e : dictionary->entries())
        if (OdDbLayoutPtr layout = layoutOf(e.id))
            tabs.push_back({layout->modelType() ? -1 : layout->getTabOrder(), e.id});
    std::stable_sort(tabs.begin(), tabs.end(), [](const Tab& a, const Tab& b) { return a.order < b.order; });
    std::vector<OdDbObjectId> ids;
    ids.reserve(tabs.size());
    for (const Tab& t : tabs)
        ids.push_back(t.id);
    return ids;
}

OdDbObjectId findLayout(OdDbDatabase& db, const OdString& name)
{
    for (OdDbObjectId id : layoutsInTabOrder(db))
        if (layoutOf(id)->getLayoutName().iCompare(name) == 0)
            return id;
    return OdDbObjectId();
}

OdDbObjectId currentSheet(OdDbDatabase& db)
{
    const OdDbObjectId paper = db.getPaperSpaceId();
    if (paper.isNull())
        return OdDbObjectId();
    for (OdDbObjectId id : layoutsInTabOrder(db))
        if (layoutOf(id)->getBlockTableRecordId() == paper)
            return id;
    return OdDbObjectId();
}

void makeSheetCurrent(OdDbDatabase& db, OdDbObjectId layout)
{
    OdDbLayoutPtr sheet = layoutOf(layout);
    if (!sheet || sheet->modelType())
        throw OdError(eInvalidInput, "only a sheet layout can be made the current sheet");
    OdDbBlockTableRecordPtr chosen = OdDbBlockTableRecord::cast(sheet->getBlockTableRecordId().openObject().get());
    if (!chosen)
        throw OdError(eInvalidInput, "the layout \"" + sheet->getLayoutName().toUtf8() + "\" has no block");
    const OdDbObjectId paperId = db.getPaperSpaceId();
    if (chosen->objectId() == paperId)
        return;
    OdDbBlockTableRecordPtr paper = paperId.safeOpenObject(OdDb::kForWrite);
    chosen->upgradeOpen();
    // The names are swapped through a third one, as no two blocks may share a name meanwhile.
    const OdString chosenName = chosen->getName();
    OdDbBlockTablePtr blocks = db.getBlockTableId().safeOpenObject();
    OdString parked = chosenName + L"~";
    while (blocks->has(parked))
        parked += L"~";
    chosen->setName(parked);
    paper->setName(chosenName);
    chosen->setName(kPaperSpaceBlock);
}

} // namespace vantrel
