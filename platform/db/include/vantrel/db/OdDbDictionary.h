// A dictionary of named objects (the named objects dictionary, groups, layouts, extension
// dictionaries); names compare case-insensitively and keep their insertion order.
#pragma once

#include <utility>
#include <vector>

#include <vantrel/db/OdDbObject.h>
#include <vantrel/db/OdDbExport.h>

class OdDbDictionary;
using OdDbDictionaryPtr = OdSmartPtr<OdDbDictionary>;

class VANTREL_DB_EXPORT OdDbDictionary : public OdDbObject {
    ODDB_DECLARE_MEMBERS(OdDbDictionary)
public:
    struct Entry {
        OdString name;
        OdDbObjectId id;
    };

    OdDbObjectId getAt(const OdString& name) const;
    bool has(const OdString& name) const { return !getAt(name).isNull(); }
    // Adds or replaces an entry. An object that is in no database is added to this dictionary's
    // database and owned by the dictionary.
    OdDbObjectId setAt(const OdString& name, OdDbObject* object);
    // Registers an object that is already in the database under a name.
    void setAt(const OdString& name, OdDbObjectId id);
    // Removes the entry (the object stays); false when there was none.
    bool remove(const OdString& name);
    // Entries whose object is not erased.
    std::vector<Entry> entries() const;
    std::size_t numEntries() const { return entries().size(); }
    // The name under which an id is kept; empty when it is not here.
    OdString nameAt(OdDbObjectId id) const;

    // DXF 281: duplicate record cloning; 280: hard ownership. Kept for write-back.
    std::int16_t mergeStyle() const
    {
        assertReadEnabled();
        return m_mergeStyle;
    }
    void setMergeStyle(std::int16_t style)
    {
        assertWriteEnabled();
        m_mergeStyle = style;
    }
    bool isHardOwner() const
    {
        assertReadEnabled();
        return m_hardOwner;
    }
    void setHardOwner(bool hard)
    {
        assertWriteEnabled();
        m_hardOwner = hard;
    }

private:
    std::vector<Entry> m_entries;
    std::int16_t m_mergeStyle = 1;
    bool m_hardOwner = false;
};
