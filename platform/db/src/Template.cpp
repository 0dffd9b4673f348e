// The built-in template drawing, in millimetres on an A3 sheet.
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbLayout.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/OdDbViewport.h>
#include <vantrel/db/Template.h>

#include <vector>
#include "space_names.h"

namespace vantrel {

namespace {

constexpr double kSheetWidth = 420.0;
constexpr double kSheetHeight = 297.0;
constexpr double kMargin = 10.0;

struct LinetypeDef {
    const wchar_t* name;
    const wchar_t* comments;
    std::vector<double> dashes;
};

// Dash patterns in millimetres: positive drawn, negative gap, zero a dot.
const LinetypeDef kLinetypes[] = {
    {L"ByBlock", L"", {}},
    {L"ByLayer", L"", {}},
    {L"Continuous", L"Solid line", {}},
    {L"DASHED", L"Dashed __ __ __ __ __", {12.7, -6.35}},
    {L"HIDDEN", L"Hidden _ _ _ _ _ _ _", {6.35, -3.175}},
    {L"CENTER", L"Center ____ _ ____ _ ____", {31.75, -6.35, 6.35, -6.35}},
    {L"PHANTOM", L"Phantom _____ _ _ _____ _ _", {31.75, -6.35, 6.35, -6.35, 6.35, -6.35}},
    {L"DOT", L"Dot . . . . . . . . . .", {0.0, -6.35}},
};

template <class T>
OdSmartPtr<T> addObject(OdDbDatabase& db, OdDbObjectId owner = OdDbObjectId())
{
    OdSmartPtr<T> obj = T::createObject();
    db.addOdDbObject(obj.get(), owner);
    return obj;
}

template <class T>
OdDbObjectId addRecord(OdDbSymbolTable& table, const OdSmartPtr<T>& record, const wchar_t* name)
{
    record->setName(name);
    return table.add(record.get());
}

OdDbObjectId addLayout(OdDbDictionary& layouts, const wchar_t* name, std::int16_t tabOrder, OdDbObjectId blockId)
{
    OdDbLayoutPtr layout = OdDbLayout::createObject();
    layout->setLayoutName(name);
    layout->setTabOrder(tabOrder);
    layout->setBlockTableRecordId(blockId);
    const OdDbObjectId id = layouts.setAt(name, layout.get());
    OdDbBlockTableRecordPtr block = blockId.safeOpenObject(OdDb::kForWrite);
    block->setLayoutId(id);
    return id;
}

OdDbObjectId addViewport(OdDbBlockTableRecord& paper, std::int16_t number, const OdGePoint3d& center, double width,
                         double height, const OdGePoint2d& viewCenter, double viewHeight, std::int16_t status)
{
    OdDbViewportPtr vp = OdDbViewport::createObject();
    vp->setNumber(number);
    vp->setCenterPoint(center);
    vp->setWidth(width);
    vp->setHeight(height);
    vp->setViewCenter(viewCenter);
    vp->setViewHeight(viewHeight);
    vp->setStatus(status);
    const OdDbObjectId id = paper.appendOdDbEntity(vp.get());
    vp->commonDataForWrite().paperSpace = true;
    return id;
}

} // namespace

OdDbDatabasePtr newDrawing()
{
    OdDbDatabasePtr db = OdDbDatabase::createObject();
    db->disableUndoRecording(true);

    OdDbDatabase::WellKnown ids;
    OdDbDictionaryPtr nod = addObject<OdDbDictionary>(*db);
    ids.namedObjects = nod->objectId();
    OdDbBlockTablePtr blocks = addObject<OdDbBlockTable>(*db);
    OdDbLayerTablePtr layers = addObject<OdDbLayerTable>(*db);
    OdDbLinetypeTablePtr linetypes = addObject<OdDbLinetypeTable>(*db);
    OdDbTextStyleTablePtr styles = addObject<OdDbTextStyleTable>(*db);
    OdDbRegAppTablePtr regApps = addObject<OdDbRegAppTable>(*db);
    ids.blockTable = blocks->objectId();
    ids.layerTable = layers->objectId();
    ids.linetypeTable = linetypes->objectId();
    ids.textStyleTable = styles->objectId();
    ids.regAppTable = regApps->objectId();

    for (const LinetypeDef& def : kLinetypes) {
        OdDbLinetypeTableRecordPtr lt = OdDbLinetypeTableRecord::createObject();
        lt->setComments(def.comments);
        lt->setDashes(def.dashes);
        addRecord(*linetypes, lt, def.name);
    }
    ids.ltByBlock = linetypes->getAt(L"ByBlock");
    ids.ltByLayer = linetypes->getAt(L"ByLayer");
    ids.ltContinuous = linetypes->getAt(L"Continuous");

    OdDbLayerTableRecordPtr layer0 = OdDbLayerTableRecord::createObject();
    layer0->setColor(OdCmColor::byIndex(7));
    layer0->setLinetypeObjectId(ids.ltContinuous);
    ids.layerZero = addRecord(*layers, layer0, L"0");

    ids.styleStandard = addRecord(*styles, OdDbTextStyleTableRecord::createObject(), L"Standard");
    addRecord(*regApps, OdDbRegAppTableRecord::createObject(), L"ACAD");
    addRecord(*regApps, OdDbRegAppTableRecord::createObject(), L"VANTREL");

    OdDbBlockTableRecordPtr model = OdDbBlockTableRecord::createObject();
    OdDbBlockTableRecordPtr paper = OdDbBlockTableRecord::createObject();
    ids.modelSpace = addRecord(*blocks, model, kModelSpaceBlock);
    ids.paperSpace = addRecord(*blocks, paper, kPaperSpaceBlock);
    db->setWellKnownIds(ids);

    db->getGroupDictionaryId(true);
    OdDbDictionaryPtr layouts = db->getLayoutDictionaryId(true).safeOpenObject(OdDb::kForWrite);
    addLayout(*layouts, L"Model", 0, ids.modelSpace);
    const OdDbObjectId sheetLayout = addLayout(*layouts, L"Layout1", 1, ids.paperSpace);

    // The paper-space view shows the whole sheet; the floating viewport fills it within the
    // margins and shows the model-space limits at the same size.
    const OdGePoint3d sheetCenter(kSheetWidth / 2.0, kSheetHeight / 2.0, 0.0);
    const OdDbObjectId sheetView = addViewport(*paper, 1, sheetCenter, kSheetWidth, kSheetHeight,
                                               OdGePoint2d(sheetCenter.x, sheetCenter.y), kSheetHeight, 1);
    addViewport(*paper, 2, sheetCenter, kSheetWidth - 2.0 * kMargin, kSheetHeight - 2.0 * kMargin,
                OdGePoint2d(sheetCenter.x, sheetCenter.y), kSheetHeight - 2.0 * kMargin, 2);
    OdDbLayoutPtr sheet = sheetLayout.safeOpenObject(OdDb::kForWrite);
    sheet->setLimits(OdGePoint2d(0.0, 0.0), OdGePoint2d(kSheetWidth, kSheetHeight));
    sheet->setLastActiveViewportId(sheetView);
    // Nothing reads the viewport in model space; it is the one that becomes active when the
    // drawing switches to the layout.
    db->setActiveViewportId(sheetView);

    db->disableUndoRecording(false);
    return db;
}

} // namespace vantrel
