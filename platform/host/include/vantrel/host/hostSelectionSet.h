// A selection set: the entity ids a selection request chose, in the order they were chosen,
// each at most once. Reference counted, so that a command can hold it through its run.
#pragma once

#include <cstddef>
#include <unordered_set>
#include <vector>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbObjectId.h>
#include <vantrel/host/HostExport.h>

class hostSelectionSet;
using hostSelectionSetPtr = OdSmartPtr<hostSelectionSet>;

class VANTREL_HOST_EXPORT hostSelectionSet : public OdRxObject {
public:
    // An empty set for entities of the database.
    static hostSelectionSetPtr createObject(OdDbDatabase* db);

    OdDbDatabase* database() const { return m_db.get(); }
    std::size_t numEntities() const { return m_ids.size(); }
    bool isEmpty() const { return m_ids.empty(); }
    const std::vector<OdDbObjectId>& objectIds() const { return m_ids; }
    bool has(OdDbObjectId id) const;
    // False, and nothing changes, when the id is null or already in the set.
    bool append(OdDbObjectId id);
    bool remove(OdDbObjectId id);
    void clear()
    {
        m_ids.clear();
        m_members.clear();
    }

private:
    explicit hostSelectionSet(OdDbDatabase* db) : m_db(db) {}

    OdDbDatabasePtr m_db;
    std::vector<OdDbObjectId> m_ids;
    // The same ids, so that a selection of a whole large drawing is not quadratic.
    std::unordered_set<OdDbObjectId> m_members;
};
