// The draw order of a block's entities where it differs from their append order: each entry
// gives an entity the sort handle whose position it takes.
#pragma once

#include <utility>
#include <vector>

#include <vantrel/db/OdDbObject.h>
#include <vantrel/db/OdDbExport.h>

class OdDbSortentsTable;
using OdDbSortentsTablePtr = OdSmartPtr<OdDbSortentsTable>;

class VANTREL_DB_EXPORT OdDbSortentsTable : public OdDbObject {
    ODDB_DECLARE_MEMBERS(OdDbSortentsTable)
public:
    OdDbObjectId blockId() const
    {
        assertReadEnabled();
        return m_block;
    }
    void setBlockId(OdDbObjectId block)
    {
        assertWriteEnabled();
        m_block = block;
    }

    // Puts the entities just below the target, keeping their relative order.
    void moveBelow(const std::vector<OdDbObjectId>& entities, OdDbObjectId target);
    void moveAbove(const std::vector<OdDbObjectId>& entities, OdDbObjectId target);
    void moveToBottom(const std::vector<OdDbObjectId>& entities);
    void moveToTop(const std::vector<OdDbObjectId>& entities);
    // The block's entities bottom first, erased ones left out.
    std::vector<OdDbObjectId> drawOrder() const;

    // The (entity, sort handle) pairs as DXF stores them.
    std::vector<std::pair<OdDbObjectId, OdDbHandle>> sortHandles() const;
    void setSortHandles(std::vector<std::pair<OdDbObjectId, OdDbHandle>> pairs);

private:
    void reorder(const std::vector<OdDbObjectId>& moving, OdDbObjectId target, bool below);
    OdDbObjectId m_block;
    // Explicit draw order of every entity of the block at the time of the last reorder (bottom
    // first); empty means append order.
    std::vector<OdDbObjectId> m_order;
};
