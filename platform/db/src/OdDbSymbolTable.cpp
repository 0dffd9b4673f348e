// Symbol tables and their records: lookup by name, adding and renaming.
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbSymbolTable.h>
#include <vantrel/db/OdDbSymbolTableRecord.h>

ODRX_DEFINE_ABSTRACT_MEMBERS(OdDbSymbolTable, OdDbObject)
ODRX_DEFINE_ABSTRACT_MEMBERS(OdDbSymbolTableRecord, OdDbObject)

OdDbObjectId OdDbSymbolTable::getAt(const OdString& name) const
{
    assertReadEnabled();
    if (name.isEmpty())
        return OdDbObjectId(); // unnamed records are found by their handle only
    for (OdDbObjectId id : m_records) {
        if (id.isErased())
            continue;
        OdDbSymbolTableRecordPtr rec = OdDbSymbolTableRecord::cast(id.openObject().get());
        if (rec && rec->getName().iCompare(name) == 0)
            return id;
    }
    return OdDbObjectId();
}

OdDbObjectId OdDbSymbolTable::add(OdDbSymbolTableRecord* record)
{
    if (!record)
        throw OdError(eNullObjectPointer);
    if (record->getName().isEmpty())
        throw OdError(eInvalidInput, "a table record needs a name");
    if (has(record->getName()))
        throw OdError(eDuplicateKey, "\"" + record->getName().toUtf8() + "\" already exists");
    OdDbDatabase* db = database();
    if (!db || !isDBRO())
        throw OdError(eNotInDatabase, "the table is not in a database");
    assertWriteEnabled();
    OdDbObjectId id = db->addOdDbObject(record, objectId());
    m_records.push_back(id);
    return id;
}

std::vector<OdDbObjectId> OdDbSymbolTable::recordIds() const
{
    assertReadEnabled();
    std::vector<OdDbObjectId> out;
    for (OdDbObjectId id : m_records)
        if (!id.isErased() && id.isValid())
            out.push_back(id);
    return out;
}

void OdDbSymbolTable::appendRecordId(OdDbObjectId record) { m_records.push_back(record); }

void OdDbSymbolTableRecord::setName(const OdString& name)
{
    if (name.isEmpty() && !mayBeUnnamed())
        throw OdError(eInvalidInput, "a table record needs a name");
    if (isDBRO() && name.iCompare(m_name) != 0) {
        OdDbSymbolTablePtr table = OdDbSymbolTable::cast(ownerId().openObject().get());
        if (table && table->has(name))
            throw OdError(eDuplicateKey, "\"" + name.toUtf8() + "\" already exists");
    }
    assertWriteEnabled();
    m_name = name;
}
