// Block definitions: appending entities, iterating them, and the draw-order table.
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbSortentsTable.h>

#include <cassert>

ODRX_DEFINE_MEMBERS(OdDbBlockTableRecord, OdDbSymbolTableRecord, "BLOCK_RECORD")

OdDbObjectIterator::OdDbObjectIterator(std::vector<OdDbObjectId> ids) : m_ids(std::move(ids)) { skipErased(); }

void OdDbObjectIterator::skipErased()
{
    while (m_pos < m_ids.size() && (m_ids[m_pos].isErased() || !m_ids[m_pos].isValid()))
        ++m_pos;
}

OdDbEntityPtr OdDbObjectIterator::entity(OdDb::OpenMode mode) const
{
    return OdDbEntity::cast(objectId().openObject(mode).get());
}

OdDbBlockTableRecord::OdDbBlockTableRecord(const OdDbBlockTableRecord& other)
    : OdDbSymbolTableRecord(other), m_layout(other.m_layout), m_origin(other.m_origin)
{
}

OdDbBlockTableRecord& OdDbBlockTableRecord::operator=(const OdDbBlockTableRecord& other)
{
    OdDbSymbolTableRecord::operator=(other);
    m_layout = other.m_layout;
    m_origin = other.m_origin;
    return *this;
}

OdDbObjectId OdDbBlockTableRecord::appendOdDbEntity(OdDbEntity* entity)
{
    if (!entity)
        throw OdError(eNullObjectPointer);
    OdDbDatabase* db = database();
    if (!db || !isDBRO())
        throw OdError(eNotInDatabase, "the block is not in a database");
    // Appending changes only the entity list, which is logged by itself.
    assertWriteEnabled(false, true);
    // An entity always has a layer and a linetype in the drawing; what the caller set is kept.
    if (entity->layerId().isNull() || entity->linetypeId().isNull()) {
        OdDbEntity::CommonData& common = entity->commonDataForWrite();
        if (common.layer.isNull())
            common.layer = db->getCLAYER();
        if (common.linetype.isNull())
            common.linetype = db->getCELTYPE();
    }
    OdDbObjectId id = db->addOdDbObject(entity, objectId());
    m_entities.push_back(id);
    db->recordAppendToList(id.stub(), objectId());
    return id;
}

OdDbObjectIteratorPtr OdDbBlockTableRecord::newIterator() const
{
    assertReadEnabled();
    return std::make_unique<OdDbObjectIterator>(m_entities);
}

void OdDbBlockTableRecord::removeLastEntity(OdDbObjectId expected)
{
    assert(!m_entities.empty() && m_entities.back() == expected);
    if (!m_entities.empty() && m_entities.back() == expected)
        m_entities.pop_back();
}

void OdDbBlockTableRecord::reappendEntity(OdDbObjectId id) { m_entities.push_back(id); }

OdDbSortentsTablePtr OdDbBlockTableRecord::getSortentsTable(bool createIfNotFound)
{
    OdDbObjectId dictId = extensionDictionary();
    if (dictId.isNull() || dictId.isErased()) {
        if (!createIfNotFound)
            return OdDbSortentsTablePtr();
        upgradeOpen();
        dictId = createExtensionDictionary();
    }
    OdDbDictionaryPtr dict = OdDbDictionary::cast(dictId.openObject().get());
    if (!dict)
        return OdDbSortentsTablePtr();
    OdDbObjectId tableId = dict->getAt(L"ACAD_SORTENTS");
    if (tableId.isNull()) {
        if (!createIfNotFound)
            return OdDbSortentsTablePtr();
        dict->upgradeOpen();
        OdDbSortentsTablePtr table = OdDbSortentsTable::createObject();
        table->setBlockId(objectId());
        tableId = dict->setAt(L"ACAD_SORTENTS", table.get());
    }
    return OdDbSortentsTable::cast(tableId.openObject(OdDb::kForWrite).get());
}
