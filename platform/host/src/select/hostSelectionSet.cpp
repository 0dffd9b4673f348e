// The selection set: ids in the order chosen, without repeats.
#include <vantrel/host/hostSelectionSet.h>

#include <algorithm>

hostSelectionSetPtr hostSelectionSet::createObject(OdDbDatabase* db)
{
    return hostSelectionSetPtr(new hostSelectionSet(db));
}

bool hostSelectionSet::has(OdDbObjectId id) const
{
    return std::find(m_ids.begin(), m_ids.end(), id) != m_ids.end();
}

bool hostSelectionSet::append(OdDbObjectId id)
{
    if (id.isNull() || has(id))
        return false;
    m_ids.push_back(id);
    return true;
}

bool hostSelectionSet::remove(OdDbObjectId id)
{
    auto it = std::find(m_ids.begin(), m_ids.end(), id);
    if (it == m_ids.end())
        return false;
    m_ids.erase(it);
    return true;
}
