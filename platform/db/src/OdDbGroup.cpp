// Groups of entities.
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbGroup.h>

#include <algorithm>

ODRX_DEFINE_MEMBERS(OdDbGroup, OdDbObject, "GROUP")

void OdDbGroup::append(OdDbObjectId entity)
{
    if (entity.isNull())
        throw OdError(eNullObjectId);
    if (std::find(m_members.begin(), m_members.end(), entity) != m_members.end())
        throw OdError(eDuplicateKey, "the entity is already in the group");
    assertWriteEnabled();
    m_members.push_back(entity);
}

bool OdDbGroup::remove(OdDbObjectId entity)
{
    auto it = std::find(m_members.begin(), m_members.end(), entity);
    if (it == m_members.end())
        return false;
    assertWriteEnabled();
    m_members.erase(it);
    return true;
}

bool OdDbGroup::has(OdDbObjectId entity) const
{
    assertReadEnabled();
    return !entity.isErased() && std::find(m_members.begin(), m_members.end(), entity) != m_members.end();
}

std::vector<OdDbObjectId> OdDbGroup::allEntityIds() const
{
    assertReadEnabled();
    std::vector<OdDbObjectId> out;
    for (OdDbObjectId id : m_members)
        if (!id.isErased() && id.isValid())
            out.push_back(id);
    return out;
}

OdString OdDbGroup::name() const
{
    OdDbDictionaryPtr dict = OdDbDictionary::cast(ownerId().openObject().get());
    return dict ? dict->nameAt(objectId()) : OdString();
}
