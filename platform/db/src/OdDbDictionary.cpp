// Dictionaries of named objects.
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbDictionary.h>

#include <algorithm>

ODRX_DEFINE_MEMBERS(OdDbDictionary, OdDbObject, "DICTIONARY")

OdDbObjectId OdDbDictionary::getAt(const OdString& name) const
{
    assertReadEnabled();
    for (const auto& e : m_entries)
        if (e.name.iCompare(name) == 0 && !e.id.isErased())
            return e.id;
    return OdDbObjectId();
}

OdDbObjectId OdDbDictionary::setAt(const OdString& name, OdDbObject* object)
{
    if (!object)
        throw OdError(eNullObjectPointer);
    OdDbObjectId id = object->objectId();
    if (!object->isDBRO()) {
        OdDbDatabase* db = database();
        if (!db || !isDBRO())
            throw OdError(eNotInDatabase, "the dictionary is not in a database");
        id = db->addOdDbObject(object, objectId());
    }
    setAt(name, id);
    return id;
}

void OdDbDictionary::setAt(const OdString& name, OdDbObjectId id)
{
    if (name.isEmpty())
        throw OdError(eInvalidInput, "a dictionary entry needs a name");
    assertWriteEnabled();
    auto it
        = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.name.iCompare(name) == 0; });
    if (it != m_entries.end())
        it->id = id;
    else
        m_entries.push_back({name, id});
}

bool OdDbDictionary::remove(const OdString& name)
{
    auto it
        = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.name.iCompare(name) == 0; });
    if (it == m_entries.end())
        return false;
    assertWriteEnabled();
    m_entries.erase(it);
    return true;
}

std::vector<OdDbDictionary::Entry> OdDbDictionary::entries() const
{
    assertReadEnabled();
    std::vector<Entry> out;
    for (const auto& e : m_entries)
        if (!e.id.isErased())
            out.push_back(e);
    return out;
}

OdString OdDbDictionary::nameAt(OdDbObjectId id) const
{
    for (const auto& e : m_entries)
        if (e.id == id)
            return e.name;
    return OdString();
}
