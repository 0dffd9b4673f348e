// A symbol table (blocks, layers, linetypes, text styles, applications): records by name,
// compared case-insensitively, kept in the order they were added.
#pragma once

#include <vector>

#include <vantrel/db/OdDbObject.h>
#include <vantrel/db/OdDbExport.h>

class OdDbSymbolTableRecord;
class OdDbSymbolTable;
using OdDbSymbolTablePtr = OdSmartPtr<OdDbSymbolTable>;

class VANTREL_DB_EXPORT OdDbSymbolTable : public OdDbObject {
    ODDB_DECLARE_MEMBERS(OdDbSymbolTable)
public:
    // Null when there is no record of that name (or it is erased).
    OdDbObjectId getAt(const OdString& name) const;
    bool has(const OdString& name) const { return !getAt(name).isNull(); }
    // Adds a record that is in no database; raises OdError(eDuplicateKey) when the name is taken
    // and OdError(eInvalidInput) when the name is empty.
    OdDbObjectId add(OdDbSymbolTableRecord* record);
    // Record ids in order, erased ones left out.
    std::vector<OdDbObjectId> recordIds() const;

    // Used by the DXF reader to register a record it added itself.
    void appendRecordId(OdDbObjectId record);

protected:
    OdDbSymbolTable() = default;

private:
    std::vector<OdDbObjectId> m_records;
};
