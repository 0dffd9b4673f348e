// Base of symbol table records: a name and the standard flags.
#pragma once

#include <vantrel/db/OdDbObject.h>
#include <vantrel/db/OdDbExport.h>

class OdDbSymbolTableRecord;
using OdDbSymbolTableRecordPtr = OdSmartPtr<OdDbSymbolTableRecord>;

class VANTREL_DB_EXPORT OdDbSymbolTableRecord : public OdDbObject {
    ODDB_DECLARE_MEMBERS(OdDbSymbolTableRecord)
public:
    const OdString& getName() const
    {
        assertReadEnabled();
        return m_name;
    }
    // Renaming a record in a table raises OdError(eDuplicateKey) when the new name is taken; an
    // empty name OdError(eInvalidInput), but for records that may go unnamed.
    void setName(const OdString& name);
    std::int16_t flags() const
    {
        assertReadEnabled();
        return m_flags;
    }
    void setFlags(std::int16_t flags)
    {
        assertWriteEnabled();
        m_flags = flags;
    }

protected:
    OdDbSymbolTableRecord() = default;
    // Whether the record may go without a name (records found by their handle alone).
    virtual bool mayBeUnnamed() const { return false; }

private:
    OdString m_name;
    std::int16_t m_flags = 0;
};
