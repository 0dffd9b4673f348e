// A named, ordered collection of entities; an entity may be in several groups.
#pragma once

#include <vector>

#include <vantrel/db/OdDbObject.h>
#include <vantrel/db/OdDbExport.h>

class OdDbGroup;
using OdDbGroupPtr = OdSmartPtr<OdDbGroup>;

class VANTREL_DB_EXPORT OdDbGroup : public OdDbObject {
    ODDB_DECLARE_MEMBERS(OdDbGroup)
public:
    const OdString& description() const
    {
        assertReadEnabled();
        return m_description;
    }
    void setDescription(const OdString& d)
    {
        assertWriteEnabled();
        m_description = d;
    }
    bool isSelectable() const
    {
        assertReadEnabled();
        return m_selectable;
    }
    void setSelectable(bool s)
    {
        assertWriteEnabled();
        m_selectable = s;
    }
    bool isAnonymous() const
    {
        assertReadEnabled();
        return m_anonymous;
    }
    void setAnonymous(bool a)
    {
        assertWriteEnabled();
        m_anonymous = a;
    }

    void append(OdDbObjectId entity);
    bool remove(OdDbObjectId entity);
    bool has(OdDbObjectId entity) const;
    // Members whose entity is not erased, in order.
    std::vector<OdDbObjectId> allEntityIds() const;
    const std::vector<OdDbObjectId>& memberIds() const
    {
        assertReadEnabled();
        return m_members;
    }
    std::size_t numEntities() const { return allEntityIds().size(); }
    // The group's name in the group dictionary.
    OdString name() const;

private:
    OdString m_description;
    bool m_selectable = true;
    bool m_anonymous = false;
    std::vector<OdDbObjectId> m_members;
};
