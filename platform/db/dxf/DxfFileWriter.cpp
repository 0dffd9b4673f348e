// The DXF section writer. Records follow their class maps; kept runs go back where they were
// read: the head before the owner, subclass runs after their subclass's fields, unknown
// subclasses after the modelled ones, kept tables and sections whole.
#include "DxfFileWriter.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <numbers>
#include <span>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbSortentsTable.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/SysVarStore.h>

#include "DxfUnknownObject.h"
#include "dxf_classes.h"
#include "dxf_structure.h"
#include "dxf_values.h"

namespace vantrel {

namespace {

// A run of kept tags: [begin, end) indexes into the list, after the run marker.
struct Run {
    int code;
    std::string_view value;
    std::size_t begin;
    std::size_t end;
};

std::vector<Run> runsOf(const DxfExtra* extra)
{
    std::vector<Run> runs;
    if (!extra)
        return runs;
    const DxfTagList& tags = extra->tags;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        DxfTagList::Tag t = tags[i];
        if (t.code < 0)
            runs.push_back({t.code, t.value, i + 1, i + 1});
        else if (!runs.empty())
            runs.back().end = i + 1;
    }
    return runs;
}

void writeRun(DxfTagWriter& out, const DxfTagList& tags, const Run& run)
{
    for (std::size_t i = run.begin; i < run.end; ++i) {
        DxfTagList::Tag t = tags[i];
        out.writeRaw(t.code, t.value);
    }
}

const Run* findRun(const std::vector<Run>& runs, int code, std::string_view value = {})
{
    for (const Run& r : runs)
        if (r.code == code && (value.empty() || r.value == value))
            return &r;
    return nullptr;
}

// "0 NAME": the name asked for, else the map's, else the one the file gave, else the class's.
void writeRecordName(DxfTagWriter& out, const OdDbObject& obj, const DxfClassMap& map, const DxfExtra* extra,
                     const char* recordNameOverride)
{
    if (recordNameOverride)
        out.writeString(0, recordNameOverride);
    else if (map.recordName[0])
        out.writeString(0, map.recordName);
    else if (extra && !extra->recordName.empty())
        out.writeRaw(0, extra->recordName); // kept as the file wrote it
    else
        out.writeString(0, obj.isA()->name());
}

std::uint64_t parseHex(std::string_view text)
{
    OdDbHandle h;
    return h.fromAscii(text) ? h.value() : 0;
}

} // namespace

DxfFileWriter::DxfFileWriter(OdDbDatabase& db, DxfTagWriter& out)
    : m_db(db), m_out(out), m_ctx(db), m_version(versionFor(db))
{
}

int DxfFileWriter::versionFor(const OdDbDatabase& db)
{
    // From R2013 on, the geometry of 3D solids, regions and surfaces lives in the ACDSDATA
    // section, which R2010 files do not have: such a drawing keeps its own release.
    const DxfExtra* drawing = db.dxfExtra().get();
    if (drawing && drawing->version > 1024)
        for (const Run& r : runsOf(drawing))
            if (r.code == kDxfRunSection && r.value == "ACDSDATA")
                return drawing->version >= 1032 ? 1032 : 1027;
    return 1024;
}

std::uint64_t DxfFileWriter::reserveHandle()
{
    OdDbHandle h = m_db.handseed();
    m_db.getOdDbObjectId(h, true);
    return h.value();
}

void DxfFileWriter::prepare()
{
    completeDxfStructure(m_db, true);
    m_classRecords.assign(dxfClassDefinitions().size(), 0);
    registerXDataAppsAndCountObjects();

    // Tables no class models that a reader expects: kept empty, with a handle.
    auto drawing = std::make_shared<DxfExtra>(m_db.dxfExtra() ? *m_db.dxfExtra() : DxfExtra());
    bool drawingChanged = false;
    // What the kept data has, read before appending: runs view the tags, which appending moves.
    std::vector<std::string> tablesPresent;
    for (const Run& r : runsOf(drawing.get()))
        if (r.code == kDxfRunTable)
            tablesPresent.emplace_back(r.value);
    for (const char* name : {"VPORT", "VIEW", "UCS", "DIMSTYLE"}) {
        if (std::find(tablesPresent.begin(), tablesPresent.end(), name) != tablesPresent.end())
            continue;
        drawing->tags.append(kDxfRunTable, name);
        drawing->tags.append(5, OdDbHandle(reserveHandle()).ascii());
        drawing->tags.append(330, "0");
        drawing->tags.append(100, "AcDbSymbolTable");
        drawing->tags.append(70, "0");
        if (std::string_view(name) == "DIMSTYLE") {
            drawing->tags.append(100, "AcDbDimStyleTable");
            drawing->tags.append(71, "0");
        }
        drawingChanged = true;
    }
    if (drawingChanged)
        m_db.setDxfExtra(drawing);

    // Block begin and end records, and the SEQEND records of sequences, before the header
    // writes the handle seed.
    OdDbSymbolTablePtr blocks = m_db.getBlockTableId().safeOpenObject();
    for (OdDbObjectId id : blocks->recordIds())
        giveSequencesTheirEnds(id);
    for (OdDbObjectId id : blocks->recordIds()) {
        OdDbObjectPtr btr = id.safeOpenObject();
        std::vector<Run> btrRuns = runsOf(btr->dxfExtra().get());
        const Run* begin = findRun(btrRuns, kDxfRunBlockBegin);
        const Run* end = findRun(btrRuns, kDxfRunBlockEnd);
        if (begin && !begin->value.empty() && end && !end->value.empty())
            continue;
        auto extra = std::make_shared<DxfExtra>();
        if (btr->dxfExtra()) {
            // Keep every run but the incomplete begin and end ones.
            const DxfTagList& old = btr->dxfExtra()->tags;
            for (const Run& r : btrRuns) {
                if (r.code == kDxfRunBlockBegin || r.code == kDxfRunBlockEnd)
                    continue;
                extra->tags.append(r.code, r.value);
                for (std::size_t i = r.begin; i < r.end; ++i)
                    extra->tags.append(old[i].code, old[i].value);
            }
        }
        extra->tags.append(
            kDxfRunBlockBegin,
            OdDbHandle(begin && !begin->value.empty() ? parseHex(begin->value) : reserveHandle()).ascii());
        if (begin)
            for (std::size_t i = begin->begin; i < begin->end; ++i)
                extra->tags.append(btr->dxfExtra()->tags[i].code, btr->dxfExtra()->tags[i].value);
        extra->tags.append(kDxfRunBlockEnd,
                           OdDbHandle(end && !end->value.empty() ? parseHex(end->value) : reserveHandle()).ascii());
        if (end)
            for (std::size_t i = end->begin; i < end->end; ++i)
                extra->tags.append(btr->dxfExtra()->tags[i].code, btr->dxfExtra()->tags[i].value);
        btr->setDxfExtra(extra);
    }
}

void DxfFileWriter::write()
{
    prepare();
    writeHeader();
    writeClasses();
    writeTables();
    writeBlocks();
    beginSection("ENTITIES");
    m_ctx.space = 0;
    writeEntities(m_db.getModelSpaceId());
    m_ctx.space = 1;
    writeEntities(m_db.getPaperSpaceId());
    m_ctx.space = -1;
    endSection();
    writeObjects();
    if (const DxfExtra* drawing = m_db.dxfExtra().get())
        for (const Run& r : runsOf(drawing))
            if (r.code == kDxfRunSection) {
                m_out.writeString(0, "SECTION");
                m_out.writeRaw(2, r.value); // kept as the file wrote it
                writeRun(m_out, drawing->tags, r);
                endSection();
            }
    m_out.writeString(0, "EOF");
}

void DxfFileWriter::beginSection(const char* name)
{
    m_out.writeString(0, "SECTION");
    m_out.writeString(2, name);
}

void DxfFileWriter::endSection() { m_out.writeString(0, "ENDSEC"); }

void DxfFileWriter::writeHeader()
{
    beginSection("HEADER");
    m_out.writeString(9, "$ACADVER");
    m_out.writeString(1, "AC" + std::to_string(m_version));
    m_out.writeString(9, "$HANDSEED");
    m_out.writeHandle(5, m_db.handseed().value());
    const SysVarStore& vars = m_db.sysVars();
    for (const SysVarDef& def : SysVarStore::definitions()) {
        if (!def.inHeader)
            continue;
        OdResBufPtr value = vars.get(OdString::fromUtf8(def.name));
        m_out.writeString(9, std::string("$") + def.name);
        switch (value->kind()) {
        case OdResBuf::ValueKind::Point3d: {
            OdGePoint3d p = value->getPoint3d();
            m_out.writePoint(def.groupCode, p.x, p.y, p.z);
            break;
        }
        case OdResBuf::ValueKind::Double: m_out.writeDouble(def.groupCode, value->getDouble()); break;
        case OdResBuf::ValueKind::String: m_out.writeString(def.groupCode, value->getString().toUtf8()); break;
        case OdResBuf::ValueKind::Handle: m_out.writeHandle(def.groupCode, value->getHandle().value()); break;
        default: m_out.writeInt(def.groupCode, value->getInt64()); break;
        }
    }
    if (const DxfExtra* drawing = m_db.dxfExtra().get())
        for (const Run& r : runsOf(drawing))
            if (r.code == kDxfRunHeader)
                writeRun(m_out, drawing->tags, r);
    endSection();
}

void DxfFileWriter::writeClasses()
{
    beginSection("CLASSES");
    std::vector<std::string_view> declared;
    if (const DxfExtra* drawing = m_db.dxfExtra().get())
        for (const Run& r : runsOf(drawing))
            if (r.code == kDxfRunClasses) {
                writeRun(m_out, drawing->tags, r);
                for (std::size_t i = r.begin; i < r.end; ++i)
                    if (drawing->tags[i].code == 1)
                        declared.push_back(drawing->tags[i].value);
            }
    const std::span<const DxfClassDefinition> definitions = dxfClassDefinitions();
    for (std::size_t i = 0; i < definitions.size(); ++i) {
        const DxfClassDefinition& def = definitions[i];
        if (m_classRecords[i] == 0 || std::find(declared.begin(), declared.end(), def.recordName) != declared.end())
            continue;
        m_out.writeString(0, "CLASS");
        m_out.writeString(1, def.recordName);
        m_out.writeString(2, def.className);
        m_out.writeString(3, def.application);
        m_out.writeInt(90, def.proxyFlags);
        m_out.writeInt(91, static_cast<std::int64_t>(m_classRecords[i]));
        m_out.writeInt(280, 0); // the class is not a proxy's: its records are written whole
        m_out.writeInt(281, def.isAnEntity ? 1 : 0);
    }
    endSection();
}

void DxfFileWriter::countClassRecord(const OdDbObject& obj, const DxfClassMap* map)
{
    const DxfExtra* extra = map ? nullptr : obj.dxfExtra().get();
    const DxfClassDefinition* def = map ? map->classDefinition
        : extra                         ? dxfClassDefinition(extra->recordName)
                                        : nullptr;
    if (def)
        ++m_classRecords[static_cast<std::size_t>(def - dxfClassDefinitions().data())];
}

void DxfFileWriter::registerXDataAppsAndCountObjects()
{
    std::vector<const wchar_t*> apps;
    m_db.forEachObject([&](OdDbObjectId id) {
        if (id.isErased())
            return;
        const OdDbObject& obj = *id.stub()->object;
        const DxfClassMap* map = dxfClassMap(obj.isA());
        if (map && map->xdataApp && std::find(apps.begin(), apps.end(), map->xdataApp) == apps.end())
            apps.push_back(map->xdataApp);
        // What writeObjects writes; entities are counted with their blocks.
        if (!obj.isKindOf(OdDbEntity::desc()) && !obj.isKindOf(OdDbSymbolTable::desc())
            && !obj.isKindOf(OdDbSymbolTableRecord::desc()))
            countClassRecord(obj, map);
    });
    if (apps.empty())
        return;
    OdDbSymbolTablePtr table = m_db.getRegAppTableId().safeOpenObject();
    for (const wchar_t* app : apps) {
        if (!table->getAt(app).isNull())
            continue;
        OdDbRegAppTableRecordPtr record = OdDbRegAppTableRecord::createObject();
        record->setName(app);
        // Recorded like any change: a save inside a command is taken back with it, so undoing
        // everything gives back the drawing as it was.
        table->upgradeOpen();
        table->add(record.get());
    }
}

void DxfFileWriter::writeTables()
{
    beginSection("TABLES");
    for (const char* name : kDxfTableOrder)
        writeTable(name);
    // Tables of other names kept from the file.
    if (const DxfExtra* drawing = m_db.dxfExtra().get())
        for (const Run& r : runsOf(drawing)) {
            if (r.code != kDxfRunTable)
                continue;
            bool standard = false;
            for (const char* name : kDxfTableOrder)
                standard = standard || r.value == name;
            if (!standard) {
                m_out.writeString(0, "TABLE");
                m_out.writeRaw(2, r.value);
                writeRun(m_out, drawing->tags, r);
                m_out.writeString(0, "ENDTAB");
            }
        }
    endSection();
}

void DxfFileWriter::writeTable(const char* name)
{
    const std::string_view n(name);
    OdDbObjectId tableId = n == "LTYPE" ? m_db.getLinetypeTableId()
        : n == "LAYER"                  ? m_db.getLayerTableId()
        : n == "STYLE"                  ? m_db.getTextStyleTableId()
        : n == "APPID"                  ? m_db.getRegAppTableId()
        : n == "BLOCK_RECORD"           ? m_db.getBlockTableId()
                                        : OdDbObjectId();
    if (tableId.isNull()) {
        m_out.writeString(0, "TABLE");
        m_out.writeString(2, name);
        const DxfExtra* drawing = m_db.dxfExtra().get();
        std::vector<Run> runs = runsOf(drawing);
        if (const Run* r = findRun(runs, kDxfRunTable, n))
            writeRun(m_out, drawing->tags, *r);
    } else {
        OdDbSymbolTablePtr table = tableId.safeOpenObject();
        writeObject(*table, dxfClassMap(std::string("TABLE ") + name), "TABLE", name);
        for (OdDbObjectId id : table->recordIds())
            writeObject(*id.safeOpenObject(), nullptr, name);
    }
    m_out.writeString(0, "ENDTAB");
}

void DxfFileWriter::writeBlocks()
{
    beginSection("BLOCKS");
    OdDbSymbolTablePtr blocks = m_db.getBlockTableId().safeOpenObject();
    for (OdDbObjectId id : blocks->recordIds())
        writeBlock(id);
    endSection();
}

void DxfFileWriter::writeBlock(OdDbObjectId btrId)
{
    OdDbBlockTableRecordPtr btr = btrId.safeOpenObject();
    const DxfExtra* extra = btr->dxfExtra().get();
    std::vector<Run> runs = runsOf(extra);
    const Run* begin = findRun(runs, kDxfRunBlockBegin);
    const Run* end = findRun(runs, kDxfRunBlockEnd);
    assert(begin && end && "prepare() gives every block its begin and end records");
    const std::string name = btr->getName().toUtf8();
    const std::uint64_t owner = btr->getDbHandle().value();

    // The begin and end records up to their own subclass marker; their AcDbEntity codes go
    // before it.
    auto writeRecordStart = [&](const char* record, const Run* run, const char* marker) {
        m_out.writeString(0, record);
        m_out.writeRaw(5, run->value);
        m_out.writeHandle(330, owner);
        m_out.writeString(100, "AcDbEntity");
        bool layer = false;
        for (std::size_t i = run->begin; i < run->end; ++i) {
            DxfTagList::Tag t = extra->tags[i];
            if (t.code == 67 || t.code == 8) {
                m_out.writeRaw(t.code, t.value);
                layer = layer || t.code == 8;
            }
        }
        if (!layer)
            m_out.writeString(8, "0");
        m_out.writeString(100, marker);
    };
    auto writeRest = [&](const Run* run, std::initializer_list<int> skip) {
        for (std::size_t i = run->begin; i < run->end; ++i) {
            DxfTagList::Tag t = extra->tags[i];
            if (t.code != 67 && t.code != 8 && std::find(skip.begin(), skip.end(), t.code) == skip.end())
                m_out.writeRaw(t.code, t.value);
        }
    };

    writeRecordStart("BLOCK", begin, "AcDbBlockBegin");
    m_out.writeString(2, name);
    m_out.writeInt(70, btr->flags());
    const OdGePoint3d& origin = btr->origin();
    m_out.writePoint(10, origin.x, origin.y, origin.z);
    m_out.writeString(3, name);
    std::string_view xrefPath;
    for (std::size_t i = begin->begin; i < begin->end; ++i)
        if (extra->tags[i].code == 1)
            xrefPath = extra->tags[i].value;
    m_out.writeRaw(1, xrefPath);
    writeRest(begin, {1});

    if (btrId != m_db.getModelSpaceId() && btrId != m_db.getPaperSpaceId())
        writeEntities(btrId);

    writeRecordStart("ENDBLK", end, "AcDbBlockEnd");
    writeRest(end, {});
}

void DxfFileWriter::writeEntities(OdDbObjectId btrId)
{
    OdDbBlockTableRecordPtr btr = btrId.safeOpenObject();
    for (OdDbObjectId id : btr->entityIds()) {
        if (id.isErased())
            continue;
        OdDbObjectPtr entity = id.openObject();
        if (!entity)
            continue;
        writeObject(*entity);
        const DxfClassMap* map = dxfClassMap(entity->isA());
        if (map && map->sequence.presentIn(*entity))
            writeSequence(*map, id);
    }
}

void DxfFileWriter::writeSequence(const DxfClassMap& map, OdDbObjectId ownerId)
{
    OdDbEntityPtr owner = ownerId.safeOpenObject();
    for (OdDbObjectId item : map.sequence.items(*owner))
        if (!item.isErased())
            writeObject(*item.safeOpenObject());
    const OdDbHandle seqEnd = map.sequence.seqEnd(*owner);
    assert(!seqEnd.isNull() && "prepare() gives every sequence its end");
    m_out.writeString(0, "SEQEND");
    m_out.writeHandle(5, seqEnd.value());
    m_out.writeHandle(330, ownerId.getHandle().value());
    m_out.writeString(100, "AcDbEntity");
    m_out.writeString(8, m_ctx.nameOf(owner->layerId()).empty() ? std::string("0") : m_ctx.nameOf(owner->layerId()));
}

void DxfFileWriter::giveSequencesTheirEnds(OdDbObjectId btrId)
{
    OdDbBlockTableRecordPtr btr = btrId.safeOpenObject();
    for (OdDbObjectId id : btr->entityIds()) {
        if (id.isErased() || !id.stub()->object)
            continue;
        const OdDbObject& entity = *id.stub()->object;
        const DxfClassMap* map = dxfClassMap(entity.isA());
        // The items of sequences are VERTEX records, which DXF defines itself.
        countClassRecord(entity, map);
        if (!map || !map->sequence.presentIn(entity))
            continue;
        OdDbObjectPtr owner = id.safeOpenObject();
        if (!map->sequence.seqEnd(*owner).isNull())
            continue;
        // Kept in the entity so that every later save writes the same handle.
        const OdDbHandle seqEnd(reserveHandle());
        m_db.disableUndoRecording(true);
        owner->upgradeOpen();
        map->sequence.setSeqEnd(*owner, seqEnd);
        m_db.disableUndoRecording(false);
    }
}

void DxfFileWriter::writeObjects()
{
    beginSection("OBJECTS");
    const OdDbObjectId nod = m_db.getNamedObjectsDictionaryId();
    writeObject(*nod.safeOpenObject());
    // Every object is looked at to find the few that go here: each is fetched from memory a few
    // places ahead, as the wait for it, not the test, is what costs.
    std::vector<OdDbObjectId> ids;
    ids.reserve(m_db.numObjects());
    m_db.forEachObject([&ids](OdDbObjectId id) { ids.push_back(id); });
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        if (i + kAhead < ids.size())
            __builtin_prefetch(ids[i + kAhead].stub()->object);
        const OdDbObjectId id = ids[i];
        if (id == nod || id.isErased())
            continue;
        OdDbObjectPtr obj = id.openObject();
        if (!obj || obj->isKindOf(OdDbEntity::desc()) || obj->isKindOf(OdDbSymbolTable::desc())
            || obj->isKindOf(OdDbSymbolTableRecord::desc()))
            continue;
        writeObject(*obj);
    }
    endSection();
}

void DxfFileWriter::writeObject(const OdDbObject& obj, const DxfClassMap* map, const char* recordNameOverride,
                                const char* tableName)
{
    if (!map)
        map = dxfClassMap(obj.isA());
    if (!map)
        map = obj.isKindOf(OdDbEntity::desc()) ? &dxfUnknownEntityMap() : &dxfUnknownObjectMap();
    const DxfExtra* extra = obj.dxfExtra().get();
    std::vector<Run> runs = runsOf(extra);

    writeRecordName(m_out, obj, *map, extra, recordNameOverride);
    if (tableName)
        m_out.writeString(2, tableName);
    m_out.writeHandle(5, obj.getDbHandle().value());
    for (const Run& r : runs)
        if (r.code == kDxfRunHead)
            writeRun(m_out, extra->tags, r);
    if (!obj.extensionDictionary().isNull() && obj.extensionDictionary().isValid()) {
        m_out.writeString(102, "{ACAD_XDICTIONARY");
        m_out.writeHandle(360, obj.extensionDictionary().getHandle().value());
        m_out.writeString(102, "}");
    }
    const Run* afterOwner = findRun(runs, kDxfRunAfterOwner);
    if (!obj.ownerId().isNull())
        m_out.writeHandle(330, obj.ownerId().getHandle().value());
    else if ((recordNameOverride && std::string_view(recordNameOverride) == "TABLE")
             || obj.getDbHandle() == m_db.getNamedObjectsDictionaryId().getHandle() || afterOwner)
        m_out.writeString(330, "0");
    if (afterOwner)
        writeRun(m_out, extra->tags, *afterOwner);

    std::vector<DxfTagList::Tag> asRead;
    if (const Run* r = findRun(runs, kDxfRunAsRead))
        for (std::size_t i = r->begin; i < r->end; ++i)
            asRead.push_back(extra->tags[i]);
    for (std::size_t i = 0; i < map->subclasses.size(); ++i) {
        const DxfSubclass& sub = map->subclasses[i];
        if (sub.otherMarker && sub.writesOtherMarker(obj))
            m_out.writeString(100, sub.otherMarker);
        else if (sub.marker)
            m_out.writeString(100, sub.marker);
        writeFields(sub, obj, asRead);
        const std::string index = std::to_string(i);
        for (const Run& r : runs)
            if (r.code == kDxfRunSubclass && r.value == index)
                writeRun(m_out, extra->tags, r);
    }
    for (const Run& r : runs)
        if (r.code == kDxfRunUnknown)
            writeRun(m_out, extra->tags, r);
    writeObjectXData(obj, *map);
}

void DxfFileWriter::writeObjectXData(const OdDbObject& obj, const DxfClassMap& map)
{
    if (!map.xdataApp) {
        if (OdResBufPtr xdata = obj.xData())
            writeXData(xdata.get());
        return;
    }
    // The object's chains but the one of the map's application, which its own chain replaces.
    bool skipping = false;
    for (OdResBufPtr p = obj.xData(); p; p = p->next()) {
        if (p->restype() == 1001)
            skipping = p->getString().iCompare(map.xdataApp) == 0;
        if (skipping)
            continue;
        OdResBufPtr single = OdResBuf::newRb(p->restype());
        *single = *p;
        single->setNext(OdResBufPtr());
        writeXData(single.get());
    }
    writeXData(map.ownXData(obj).get());
}

void DxfFileWriter::writeFields(const DxfSubclass& sub, const OdDbObject& obj, std::span<const DxfTagList::Tag> asRead)
{
    // A name is written as the file spelled it while it still names the same record, an angle
    // as the file gave it while that still reads as its radians.
    auto spelled = [&](int code, const std::string& name) -> std::string_view {
        for (const DxfTagList::Tag& t : asRead)
            if (t.code == code && OdString::fromUtf8(t.value).iCompare(OdString::fromUtf8(name)) == 0)
                return t.value;
        return name;
    };
    auto writeAngle = [&](int code, double radians) {
        for (const DxfTagList::Tag& t : asRead) {
            double degrees = 0.0;
            if (t.code == code && tryParseDxfDouble(t.value, degrees) && dxfDegreesToRadians(degrees) == radians) {
                m_out.writeRaw(code, t.value);
                return;
            }
        }
        m_out.writeDouble(code, stableDegrees(radians));
    };
    for (const DxfField& f : sub.fields) {
        if (f.since > m_version)
            continue;
        if (f.write) {
            f.write(obj, m_out, m_ctx);
            continue;
        }
        if (!f.get)
            continue;
        DxfValue v = f.get(obj, m_ctx);
        if (f.optional && v == f.defaultValue && !(f.alsoWhen && f.alsoWhen(obj)))
            continue;
        switch (f.kind) {
        case DxfFieldKind::Double: m_out.writeDouble(f.code, std::get<double>(v)); break;
        case DxfFieldKind::Angle: writeAngle(f.code, std::get<double>(v)); break;
        case DxfFieldKind::Int16:
        case DxfFieldKind::Int32:
        case DxfFieldKind::Bool: m_out.writeInt(f.code, std::get<std::int64_t>(v)); break;
        case DxfFieldKind::String: m_out.writeString(f.code, spelled(f.code, std::get<std::string>(v))); break;
        case DxfFieldKind::Handle: {
            OdDbObjectId id = std::get<OdDbObjectId>(v);
            if (!id.isNull() && id.isValid())
                m_out.writeHandle(f.code, id.getHandle().value());
            break;
        }
        case DxfFieldKind::HandleValue:
            m_out.writeHandle(f.code, static_cast<std::uint64_t>(std::get<std::int64_t>(v)));
            break;
        case DxfFieldKind::Point3d: {
            const OdGePoint3d& p = std::get<OdGePoint3d>(v);
            m_out.writePoint(f.code, p.x, p.y, p.z);
            break;
        }
        case DxfFieldKind::Point2d: {
            const OdGePoint3d& p = std::get<OdGePoint3d>(v);
            m_out.writePoint(f.code, p.x, p.y);
            break;
        }
        }
    }
}

void DxfFileWriter::writeXData(const OdResBuf* chain)
{
    for (const OdResBuf* p = chain; p; p = p->next().get()) {
        const int code = p->restype();
        switch (p->kind()) {
        case OdResBuf::ValueKind::Point3d: {
            OdGePoint3d pt = p->getPoint3d();
            m_out.writePoint(code, pt.x, pt.y, pt.z);
            break;
        }
        case OdResBuf::ValueKind::Double: m_out.writeDouble(code, p->getDouble()); break;
        case OdResBuf::ValueKind::String: m_out.writeString(code, p->getString().toUtf8()); break;
        case OdResBuf::ValueKind::Handle: m_out.writeHandle(code, p->getHandle().value()); break;
        case OdResBuf::ValueKind::Binary: m_out.writeRaw(code, p->getBinaryHex()); break;
        default: m_out.writeInt(code, p->getInt64()); break;
        }
    }
}

} // namespace vantrel
