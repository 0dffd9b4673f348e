// A block definition: model space, a paper space layout, or a named block. Its entities are kept
// in the order they were appended; appending is recorded for undo as a list operation, so it
// costs the same whatever the number of entities.
#pragma once

#include <vector>

#include <vantrel/db/OdDbEntity.h>
#include <vantrel/db/OdDbSymbolTableRecord.h>
#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/db/OdDbExport.h>

class OdDbObjectIterator;
using OdDbObjectIteratorPtr = std::unique_ptr<OdDbObjectIterator>;
class OdDbSortentsTable;
using OdDbSortentsTablePtr = OdSmartPtr<OdDbSortentsTable>;

// Walks the entities of a block, skipping erased ones.
class VANTREL_DB_EXPORT OdDbObjectIterator {
public:
    explicit OdDbObjectIterator(std::vector<OdDbObjectId> ids);
    void start()
    {
        m_pos = 0;
        skipErased();
    }
    bool done() const { return m_pos >= m_ids.size(); }
    void step()
    {
        ++m_pos;
        skipErased();
    }
    OdDbObjectId objectId() const { return m_ids[m_pos]; }
    OdDbEntityPtr entity(OdDb::OpenMode mode = OdDb::kForRead) const;

private:
    void skipErased();
    std::vector<OdDbObjectId> m_ids;
    std::size_t m_pos = 0;
};

class VANTREL_DB_EXPORT OdDbBlockTableRecord : public OdDbSymbolTableRecord {
    ODDB_DECLARE_MEMBERS(OdDbBlockTableRecord)
public:
    // Appends an entity that is in no database; answers its new id.
    OdDbObjectId appendOdDbEntity(OdDbEntity* entity);
    OdDbObjectIteratorPtr newIterator() const;
    // Entity ids in append order, erased ones included (the DXF writer filters them).
    const std::vector<OdDbObjectId>& entityIds() const { return m_entities; }

    bool isLayout() const { return !m_layout.isNull(); }
    OdDbObjectId getLayoutId() const
    {
        assertReadEnabled();
        return m_layout;
    }
    void setLayoutId(OdDbObjectId layout)
    {
        assertWriteEnabled();
        m_layout = layout;
    }
    const OdGePoint3d& origin() const
    {
        assertReadEnabled();
        return m_origin;
    }
    void setOrigin(const OdGePoint3d& origin)
    {
        assertWriteEnabled();
        m_origin = origin;
    }

    // The draw-order table in the extension dictionary (ACAD_SORTENTS), created when asked.
    OdDbSortentsTablePtr getSortentsTable(bool createIfNotFound = true);

    // Internal: the undo log takes an append back and puts it again.
    void removeLastEntity(OdDbObjectId expected);
    void reappendEntity(OdDbObjectId id);
    // Internal: the DXF reader registers entities it has added to the database itself.
    void appendEntityId(OdDbObjectId id) { m_entities.push_back(id); }

protected:
    // The entity list is not state kept for undo (appends are logged one by one).
    OdDbBlockTableRecord(const OdDbBlockTableRecord& other);
    OdDbBlockTableRecord& operator=(const OdDbBlockTableRecord& other);

public:
    OdDbBlockTableRecord() = default;

private:
    std::vector<OdDbObjectId> m_entities;
    OdDbObjectId m_layout;
    OdGePoint3d m_origin;
};
using OdDbBlockTableRecordPtr = OdSmartPtr<OdDbBlockTableRecord>;
