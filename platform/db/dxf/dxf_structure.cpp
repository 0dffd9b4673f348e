// Completing a drawing's standard structure for DXF, shared by the reader (old files) and the
// writer (databases built in code).
#include "dxf_structure.h"

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbTables.h>
#include "space_names.h"

namespace vantrel {

namespace {

OdDbObjectId ensureTable(OdDbDatabase& db, OdDbObjectId id, const OdRxClass* cls)
{
    if (!id.isNull())
        return id;
    OdDbObjectPtr table(static_cast<OdDbObject*>(cls->create()));
    return db.addOdDbObject(table.get());
}

OdDbObjectId ensureRecord(OdDbObjectId tableId, const OdRxClass* cls, const wchar_t* name)
{
    OdDbSymbolTablePtr table = tableId.safeOpenObject();
    OdDbObjectId id = table->getAt(name);
    if (id.isNull()) {
        OdDbSymbolTableRecordPtr record(static_cast<OdDbSymbolTableRecord*>(cls->create()));
        record->setName(name);
        table->upgradeOpen();
        id = table->add(record.get());
    }
    return id;
}

} // namespace

OdDbDatabase::WellKnown wellKnownIds(const OdDbDatabase& db)
{
    OdDbDatabase::WellKnown w;
    w.blockTable = db.getBlockTableId();
    w.layerTable = db.getLayerTableId();
    w.linetypeTable = db.getLinetypeTableId();
    w.textStyleTable = db.getTextStyleTableId();
    w.regAppTable = db.getRegAppTableId();
    w.namedObjects = db.getNamedObjectsDictionaryId();
    w.modelSpace = db.getModelSpaceId();
    w.paperSpace = db.getPaperSpaceId();
    w.layerZero = db.getLayerZeroId();
    w.ltByLayer = db.getLinetypeByLayerId();
    w.ltByBlock = db.getLinetypeByBlockId();
    w.ltContinuous = db.getLinetypeContinuousId();
    w.styleStandard = db.getTextStyleStandardId();
    return w;
}

void completeDxfStructure(OdDbDatabase& db, bool withObjects)
{
    OdDbUndoPause pause(db);
    OdDbDatabase::WellKnown w;
    w.linetypeTable = ensureTable(db, db.getLinetypeTableId(), OdDbLinetypeTable::desc());
    w.layerTable = ensureTable(db, db.getLayerTableId(), OdDbLayerTable::desc());
    w.textStyleTable = ensureTable(db, db.getTextStyleTableId(), OdDbTextStyleTable::desc());
    w.regAppTable = ensureTable(db, db.getRegAppTableId(), OdDbRegAppTable::desc());
    w.blockTable = ensureTable(db, db.getBlockTableId(), OdDbBlockTable::desc());
    w.ltByBlock = ensureRecord(w.linetypeTable, OdDbLinetypeTableRecord::desc(), L"ByBlock");
    w.ltByLayer = ensureRecord(w.linetypeTable, OdDbLinetypeTableRecord::desc(), L"ByLayer");
    w.ltContinuous = ensureRecord(w.linetypeTable, OdDbLinetypeTableRecord::desc(), L"Continuous");
    w.layerZero = ensureRecord(w.layerTable, OdDbLayerTableRecord::desc(), L"0");
    w.styleStandard = ensureRecord(w.textStyleTable, OdDbTextStyleTableRecord::desc(), L"Standard");
    ensureRecord(w.regAppTable, OdDbRegAppTableRecord::desc(), L"ACAD");
    w.modelSpace = ensureRecord(w.blockTable, OdDbBlockTableRecord::desc(), kModelSpaceBlock);
    w.paperSpace = ensureRecord(w.blockTable, OdDbBlockTableRecord::desc(), kPaperSpaceBlock);
    w.namedObjects = db.getNamedObjectsDictionaryId();
    if (withObjects && w.namedObjects.isNull()) {
        OdDbDictionaryPtr nod = OdDbDictionary::createObject();
        w.namedObjects = db.addOdDbObject(nod.get());
    }
    db.setWellKnownIds(w);
}

} // namespace vantrel
