// The selection set: ids in the order chosen, without repeats (the id set answers whether an id
// is in it).
#include <vantrel/host/hostSelectionSet.h>

#include <algorithm>

hostSelectionSetPtr hostSelectionSet::createObject(OdDbDatabase* db)
{
    return hostSelectionSetPtr(new hostSelectionSet(db));
}

bool hostSelectionSet::has(OdDbObjectId id) const { return m_members.contains(id); }

bool hostSelectionSet::append(OdDbObjectId id)
{
    if (id.isNull() || !m_members.insert(id).second)
        return false;
    m_ids.push_back(id);
    return true;
}

bool hostSelectionSet::remove(OdDbObjectId id)
{
    if (m_members.erase(id) == 0)
        return false;
    m_ids.erase(std::find(m_ids.begin(), m_ids.end(), id));
    return true;
}
