// The BLOCKS and ENTITIES sections: each block's BLOCK record, its entities and its ENDBLK;
// entities through their class maps, with the vertices and SEQEND of a sequence; the
// attributes and vertices that follow an entity no class models stay with it.
#include "DxfFileReader.h"

#include <algorithm>
#include <iterator>

#include <vantrel/db/OdDbTables.h>

#include "DxfUnknownObject.h"
#include "dxf_structure.h"
#include "dxf_values.h"

namespace vantrel {

void DxfFileReader::readBlocks()
{
    ensureStructure(false);
    for (;;) {
        expectNext("the BLOCKS section");
        if (m_reader.code() == 0 && m_reader.value() == "ENDSEC")
            return;
        if (m_reader.code() != 0 || m_reader.value() != "BLOCK")
            failAt(m_reader.line(), "expected BLOCK in the BLOCKS section, got " + quoteDxfValue(m_reader.value()));
        readBlock();
    }
}

struct DxfFileReader::BlockBegin {
    std::size_t line = 0;
    std::uint64_t handle = 0;
    bool sawHandle = false;
    OdDbObjectId owner;
    std::string name;
    OdGePoint3d origin;
    std::int16_t flags = 0;
    DxfTagList keep; // tags the block does not model, written back as read
};

void DxfFileReader::readBlock()
{
    m_entitiesFollow = OdDbObjectId();
    BlockBegin begin;
    readBlockBegin(begin);
    const OdDbObjectId block = blockRecordFor(begin);
    DxfExtra extra;
    if (const auto& had = OdDbBlockTableRecordPtr(block.safeOpenObject())->dxfExtra())
        extra = *had;
    extra.tags.append(kDxfRunBlockBegin, begin.handle ? OdDbHandle(begin.handle).ascii() : std::string());
    extra.tags.append(begin.keep);
    if (readBlockEntities(block, begin.name))
        readBlockEnd(extra);
    else
        extra.tags.append(kDxfRunBlockEnd, std::string());
    OdDbBlockTableRecordPtr(block.safeOpenObject(OdDb::kForWrite))
        ->setDxfExtra(std::make_shared<DxfExtra>(std::move(extra)));
}

void DxfFileReader::readBlockBegin(BlockBegin& begin)
{
    using Take = void (*)(BlockBegin&, const DxfTagReader&);
    // The fields of a BLOCK record the block takes. Subclass markers and the repeated name (3)
    // are written anew; the block's handle and owner are taken once, before this table.
    static const std::pair<int, Take> fields[] = {
        {2, [](BlockBegin& b, const DxfTagReader& r) { b.name = r.asString(); }},
        {10, [](BlockBegin& b, const DxfTagReader& r) { b.origin.x = r.asDouble(); }},
        {20, [](BlockBegin& b, const DxfTagReader& r) { b.origin.y = r.asDouble(); }},
        {30, [](BlockBegin& b, const DxfTagReader& r) { b.origin.z = r.asDouble(); }},
        {70, [](BlockBegin& b, const DxfTagReader& r) { b.flags = r.asInt16(); }},
        {100, [](BlockBegin&, const DxfTagReader&) {}},
        {3, [](BlockBegin&, const DxfTagReader&) {}},
    };
    begin.line = m_reader.line();
    for (;;) {
        expectNext("a BLOCK record");
        const int code = m_reader.code();
        if (code == 0) {
            m_reader.pushBack();
            break;
        }
        if (code == 5 && !begin.sawHandle) {
            begin.handle = readHandle();
            begin.sawHandle = true;
            continue;
        }
        if (code == 330 && begin.owner.isNull()) {
            begin.owner = m_ctx->idOfHandle(readHandle());
            continue;
        }
        const auto field
            = std::find_if(std::begin(fields), std::end(fields), [&](const auto& f) { return f.first == code; });
        if (field != std::end(fields))
            field->second(begin, m_reader);
        else
            m_reader.appendTo(begin.keep);
    }
    if (begin.name.empty())
        failAt(begin.line, "a BLOCK without its name (group code 2)");
    // Old files name the two spaces with a dollar sign.
    if (begin.name == "$MODEL_SPACE" || begin.name == "$Model_Space")
        begin.name = "*Model_Space";
    else if (begin.name == "$PAPER_SPACE" || begin.name == "$Paper_Space")
        begin.name = "*Paper_Space";
    if (begin.handle)
        m_ctx->idOfHandle(begin.handle);
}

OdDbObjectId DxfFileReader::blockRecordFor(const BlockBegin& begin)
{
    OdDbBlockTableRecordPtr btr = OdDbBlockTableRecord::cast(begin.owner.openObject(OdDb::kForWrite).get());
    if (!btr) {
        OdDbBlockTablePtr blocks = m_known.blockTable.safeOpenObject(OdDb::kForWrite);
        OdDbObjectId id = blocks->getAt(OdString::fromUtf8(begin.name));
        if (id.isNull()) {
            OdDbBlockTableRecordPtr created = OdDbBlockTableRecord::createObject();
            created->setName(OdString::fromUtf8(begin.name));
            id = blocks->add(created.get());
        }
        btr = id.safeOpenObject(OdDb::kForWrite);
    }
    btr->setOrigin(begin.origin);
    btr->setFlags(begin.flags);
    return btr->objectId();
}

bool DxfFileReader::readBlockEntities(OdDbObjectId block, const std::string& name)
{
    for (;;) {
        expectNext("a block");
        if (m_reader.code() != 0)
            failAt(m_reader.line(), "expected an entity or ENDBLK in block " + name);
        if (m_reader.value() == "ENDBLK")
            return true;
        if (m_reader.value() == "BLOCK" || m_reader.value() == "ENDSEC") {
            m_repairs.note("blocks without their ENDBLK ended");
            m_reader.pushBack();
            return false;
        }
        readEntity(block);
    }
}

void DxfFileReader::readBlockEnd(DxfExtra& extra)
{
    std::uint64_t handle = 0;
    DxfTagList keep;
    for (;;) {
        expectNext("an ENDBLK record");
        const int code = m_reader.code();
        if (code == 0) {
            m_reader.pushBack();
            break;
        }
        if (code == 5 && !handle)
            handle = readHandle();
        else if (code != 100 && code != 330)
            m_reader.appendTo(keep);
    }
    if (handle)
        m_ctx->idOfHandle(handle);
    extra.tags.append(kDxfRunBlockEnd, handle ? OdDbHandle(handle).ascii() : std::string());
    extra.tags.append(keep);
}

void DxfFileReader::readEntities(OdDbObjectId container)
{
    ensureStructure(false);
    for (;;) {
        expectNext("the ENTITIES section");
        if (m_reader.code() == 0 && m_reader.value() == "ENDSEC")
            return;
        if (m_reader.code() != 0)
            failAt(m_reader.line(),
                   "expected an entity (group code 0), got group code " + std::to_string(m_reader.code()));
        readEntity(container);
    }
}

const DxfClassMap* DxfFileReader::polylineMap()
{
    // The 70 flags decide the class: 8 a 3D polyline, 16 a polygon mesh, 64 a polyface mesh
    // (not modelled), otherwise a 2D polyline.
    const DxfTagReader::Position start = m_reader.position();
    std::int64_t flags = 0;
    bool marker = false;
    while (m_reader.next() && m_reader.code() != 0) {
        if (m_reader.code() == 100)
            marker = true;
        if (m_reader.code() == 70
            && (marker || m_reader.value().find_first_not_of(" 0123456789") == std::string_view::npos)) {
            flags = m_reader.asInt16();
            break;
        }
    }
    m_reader.seek(start);
    if (flags & 64)
        return nullptr;
    return dxfClassMap(flags & 8 ? "POLYLINE 3D" : flags & 16 ? "POLYLINE MESH" : "POLYLINE 2D");
}

OdDbObjectId DxfFileReader::readEntity(OdDbObjectId container)
{
    const std::string_view recordName = m_reader.value(); // a view into the text, which outlives reading
    if (isDxfStructureRecord(recordName))
        failAt(m_reader.line(), "a " + std::string(recordName) + " record where an entity was expected");
    const DxfClassMap* map = recordName == "POLYLINE" ? polylineMap() : dxfClassMap(recordName);
    if (!map || !map->entity)
        map = &dxfUnknownEntityMap();
    OdDbEntityPtr entity = createAs<OdDbEntity>(map->cls);
    Record rec = readRecord(*map, *entity, recordName);
    // The attributes, vertices and SEQEND that follow an entity no class models (an INSERT
    // with attributes, a polyface mesh) belong to it, though an old file does not say so.
    const bool unknown = map == &dxfUnknownEntityMap();
    if (!m_entitiesFollow.isNull()) {
        if (unknown && (recordName == "ATTRIB" || recordName == "VERTEX" || recordName == "SEQEND")) {
            if (rec.owner.isNull())
                rec.owner = m_entitiesFollow;
        } else {
            m_entitiesFollow = OdDbObjectId();
        }
    }
    bool followed = false;
    if (unknown) {
        if (!rec.extra)
            rec.extra = std::make_shared<DxfExtra>();
        rec.extra->recordName = m_reader.codec().toUtf8(recordName);
        const DxfTagList& tags = rec.extra->tags;
        const std::size_t at = tags.find(66);
        followed = at < tags.size() && trimDxfBlanks(tags[at].value) == "1" && recordName != "ATTRIB"
            && recordName != "VERTEX" && recordName != "SEQEND";
    }
    if (container.isNull())
        container
            = entity->commonData().paperSpace && !m_known.paperSpace.isNull() ? m_known.paperSpace : m_known.modelSpace;
    OdDbObjectId id = addObject(*entity, rec, container);
    ++m_entitiesRead;
    if (followed)
        m_entitiesFollow = id;
    else if (recordName == "SEQEND")
        m_entitiesFollow = OdDbObjectId();
    if (m_openContainer.isNull() || m_openContainer->objectId() != container)
        m_openContainer = container.safeOpenObject(OdDb::kForWrite);
    m_openContainer->appendEntityId(id);
    if (map->sequence.presentIn(*entity))
        readSequence(*map, id);
    if (!rec.dropped.empty())
        dropEntity(id, rec);
    return id;
}

void DxfFileReader::dropEntity(OdDbObjectId id, const Record& rec)
{
    m_recovered.push_back(rec.dropped + "; the record dropped");
    odCheck(OdDbObjectPtr(id.safeOpenObject(OdDb::kForWrite))->erase());
}

void DxfFileReader::readSequence(const DxfClassMap& ownerMap, OdDbObjectId ownerId)
{
    const DxfClassMap* itemMap = dxfClassMap(ownerMap.sequence.itemKey);
    for (;;) {
        if (!m_reader.next())
            return;
        if (m_reader.code() != 0)
            failAt(m_reader.line(),
                   std::string("expected ") + itemMap->recordName + " or SEQEND, got group code "
                       + std::to_string(m_reader.code()));
        if (m_reader.value() == itemMap->recordName) {
            OdDbEntityPtr item = createAs<OdDbEntity>(itemMap->cls);
            Record rec = readRecord(*itemMap, *item, itemMap->recordName);
            rec.owner = ownerId; // some writers give the block instead
            const OdDbObjectId itemId = addObject(*item, rec, ownerId);
            OdDbObjectPtr owner = ownerId.safeOpenObject(OdDb::kForWrite);
            try {
                ownerMap.sequence.append(*owner, *item);
            } catch (const OdError& e) {
                if (!m_recover)
                    failAt(rec.line, std::string(itemMap->recordName) + ": " + e.what());
                if (rec.dropped.empty())
                    rec.dropped = "line " + std::to_string(rec.line) + ": " + itemMap->recordName + ": " + e.what();
            }
            if (!rec.dropped.empty()) {
                owner = OdDbObjectPtr();
                dropEntity(itemId, rec);
            }
            continue;
        }
        if (m_reader.value() == "SEQEND") {
            std::uint64_t handle = 0;
            for (;;) {
                expectNext("a SEQEND record");
                if (m_reader.code() == 0) {
                    m_reader.pushBack();
                    break;
                }
                if (m_reader.code() == 5 && !handle)
                    handle = readHandle();
            }
            if (handle) {
                m_ctx->idOfHandle(handle);
                ownerMap.sequence.setSeqEnd(*ownerId.safeOpenObject(OdDb::kForWrite), OdDbHandle(handle));
            }
            return;
        }
        // A sequence without its SEQEND: the next record belongs to the container.
        m_reader.pushBack();
        return;
    }
}

} // namespace vantrel
