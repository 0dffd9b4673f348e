// The DXF section reader. Objects keep their file handles; references to objects later in the
// file reserve ids that the objects take when they are read. Any fault is one DxfError.
#include "DxfFileReader.h"

#include <algorithm>
#include <charconv>
#include <numbers>

#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbTables.h>
#include <vantrel/db/SysVarStore.h>

#include "DxfError.h"
#include "DxfUnknownObject.h"
#include "dxf_structure.h"
#include "dxf_upgrade.h"
#include "dxf_values.h"

namespace vantrel {

namespace {

std::string handleText(std::uint64_t h)
{
    return OdDbHandle(h).ascii();
}

std::string shortest(double v)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

// A field's default as a repair line gives it.
std::string defaultText(const DxfValue& value)
{
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, double>)
                return shortest(v);
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return std::to_string(v);
            else if constexpr (std::is_same_v<T, std::string>)
                return quoteDxfValue(v);
            else if constexpr (std::is_same_v<T, OdGePoint3d>)
                return shortest(v.x) + "," + shortest(v.y) + "," + shortest(v.z);
            else
                return "none";
        },
        value);
}

template <class T>
OdSmartPtr<T> createAs(const OdRxClass* cls)
{
    return OdSmartPtr<T>(static_cast<T*>(cls->create()));
}

} // namespace

DxfFileReader::DxfFileReader(DxfTagReader& reader, bool recover)
    : m_reader(reader), m_db(new OdDbDatabase()), m_ctx(std::make_unique<DxfContext>(*m_db)),
      m_drawingExtra(std::make_shared<DxfExtra>()), m_recover(recover)
{
}

std::vector<std::string> DxfFileReader::repairs() const
{
    std::vector<std::string> lines = m_repairs.lines();
    lines.insert(lines.end(), m_recovered.begin(), m_recovered.end());
    return lines;
}

void DxfFileReader::failAt(std::size_t line, const std::string& problem) const
{
    throw DxfError(line, problem);
}

void DxfFileReader::failEnd(std::string_view where, std::string_view recordName) const
{
    std::string place(where);
    if (!recordName.empty())
        place = "a " + std::string(recordName) + " record";
    failAt(m_reader.line() + 1, "the file ends inside " + place);
}

OdDbDatabasePtr DxfFileReader::read()
{
    m_db->disableUndoRecording(true);
    m_ctx->repairs = &m_repairs;
    m_ctx->makeTable = [this](int kind) {
        OdDbObjectId& known = kind == 0 ? m_known.layerTable : kind == 1 ? m_known.linetypeTable : m_known.textStyleTable;
        const OdRxClass* cls = kind == 0 ? OdDbLayerTable::desc() : kind == 1 ? OdDbLinetypeTable::desc() : OdDbTextStyleTable::desc();
        known = m_db->addOdDbObject(createAs<OdDbSymbolTable>(cls).get());
        m_db->setWellKnownIds(m_known);
        m_tablesMadeEarly.push_back(known);
        return known;
    };
    try {
        readSections();
    } catch (const DxfError& e) {
        // A damaged or cut-off tail: the records read whole before it are kept.
        if (!m_recover)
            throw;
        m_recovered.push_back("line " + std::to_string(e.line()) + ": " + e.problem() + "; the " +
                              std::to_string(m_entitiesRead) + " entities read before it kept, the rest of the file dropped");
    }
    ensureStructure(true);
    if (m_handseed > m_db->handseed().value())
        m_db->setHandseed(OdDbHandle(m_handseed));
    if (!m_drawingExtra->tags.empty())
        m_db->setDxfExtra(m_drawingExtra);
    m_db->disableUndoRecording(false);
    return m_db;
}

void DxfFileReader::readSections()
{
    std::string lastSection;
    for (;;) {
        if (!m_reader.next())
            failAt(m_reader.line() + 1, "the file ends without the EOF record");
        if (m_reader.code() == 9 && lastSection == "HEADER") {
            // Some writers end the HEADER section early and go on with its variables.
            m_repairs.note("header variables after the end of the HEADER section kept in it");
            readHeaderVariables();
            continue;
        }
        if (m_reader.code() != 0)
            failAt(m_reader.line(), "expected a SECTION record (group code 0), got group code " +
                                        std::to_string(m_reader.code()));
        if (m_reader.value() == "EOF")
            break;
        if (m_reader.value() != "SECTION")
            failAt(m_reader.valueLine(), "expected SECTION or EOF, got " + quoteDxfValue(m_reader.value()));
        expectNext("a section");
        if (m_reader.code() != 2)
            failAt(m_reader.line(), "a section must start with its name (group code 2)");
        lastSection = m_reader.value();
        readSection(lastSection);
    }
}

void DxfFileReader::readSection(const std::string& name)
{
    if (name == "HEADER")
        readHeader();
    else if (name == "CLASSES")
        keepSection(name, kDxfRunClasses);
    else if (name == "TABLES")
        readTables();
    else if (name == "BLOCKS")
        readBlocks();
    else if (name == "ENTITIES")
        readEntities(OdDbObjectId());
    else if (name == "OBJECTS")
        readObjects();
    else
        keepSection(name, kDxfRunSection);
}

void DxfFileReader::keepSection(const std::string& name, DxfRun run)
{
    DxfTagList& keep = m_drawingExtra->tags;
    keep.append(run, run == kDxfRunSection ? m_reader.codec().toUtf8(name) : std::string());
    for (;;) {
        expectNext(name);
        if (m_reader.code() == 0 && m_reader.value() == "ENDSEC")
            return;
        m_reader.appendTo(keep);
    }
}

// --- HEADER ---

void DxfFileReader::readHeader()
{
    expectNext("the HEADER section");
    readHeaderVariables();
}

void DxfFileReader::readHeaderVariables()
{
    DxfTagList& keep = m_drawingExtra->tags;
    bool runOpen = false;
    for (;;) {
        if (m_reader.code() == 0 && m_reader.value() == "ENDSEC")
            return;
        if (m_reader.code() != 9)
            failAt(m_reader.line(), "expected a header variable (group code 9), got group code " +
                                        std::to_string(m_reader.code()));
        const std::string name(m_reader.value());
        const std::size_t nameLine = m_reader.line();
        const SysVarDef* def = name.size() > 1 ? SysVarStore::find(OdString::fromUtf8(name.substr(1))) : nullptr;
        if (def && !def->inHeader)
            def = nullptr;
        expectNext("the HEADER section");

        if (name == "$ACADVER" || name == "$HANDSEED" || def) {
            if (name == "$ACADVER") {
                m_reader.codec().setVersion(m_reader.value());
                m_drawingExtra->version = dxfVersionNumber(m_reader.value());
            } else if (name == "$HANDSEED") {
                std::uint64_t seed = 0;
                if (tryParseDxfHandle(m_reader.value(), seed)) {
                    // Handles this reader gives out come from above the file's own.
                    m_handseed = seed;
                    if (m_handseed > m_db->handseed().value())
                        m_db->setHandseed(OdDbHandle(m_handseed));
                } else
                    m_repairs.note("an unreadable $HANDSEED replaced by the next free handle");
            } else if (m_reader.code() != def->groupCode) {
                m_repairs.note("header variables under an unexpected group code reset to their defaults");
                while (m_reader.code() != 9 && m_reader.code() != 0)
                    expectNext("the HEADER section");
                continue;
            } else {
                OdResBufPtr value = OdResBuf::newRb(def->groupCode);
                switch (OdResBuf::kindOfCode(def->groupCode)) {
                case OdResBuf::ValueKind::Point3d: {
                    double x = m_reader.asDouble();
                    expectNext("the HEADER section");
                    if (m_reader.code() != def->groupCode + 10)
                        failAt(m_reader.line(), "header variable " + name + " lacks its y coordinate");
                    double y = m_reader.asDouble();
                    double z = 0.0;
                    expectNext("the HEADER section");
                    if (m_reader.code() == def->groupCode + 20)
                        z = m_reader.asDouble();
                    else
                        m_reader.pushBack();
                    value->setPoint3d(OdGePoint3d(x, y, z));
                    break;
                }
                case OdResBuf::ValueKind::String: value->setString(OdString::fromUtf8(m_reader.asString())); break;
                case OdResBuf::ValueKind::Double: value->setDouble(m_reader.asDouble()); break;
                case OdResBuf::ValueKind::Int16: value->setInt16(m_reader.asInt16()); break;
                case OdResBuf::ValueKind::Int32: value->setInt32(m_reader.asInt32()); break;
                case OdResBuf::ValueKind::Bool: value->setBool(m_reader.asBool()); break;
                case OdResBuf::ValueKind::Handle: value->setHandle(OdDbHandle(m_reader.asHandle())); break;
                default: failAt(nameLine, "header variable " + name + " has a kind of value the reader does not take");
                }
                if (name == "$DWGCODEPAGE")
                    m_reader.codec().setCodePage(m_reader.value());
                try {
                    m_db->sysVars().setFromFile(*def, value);
                } catch (const OdError& e) {
                    failAt(nameLine, "header variable " + name + ": " + e.what());
                }
            }
            // Any further value tags of a modelled variable are not expected.
            expectNext("the HEADER section");
            continue;
        }

        DxfTagList value;
        while (!(m_reader.code() == 9 || m_reader.code() == 0)) {
            m_reader.appendTo(value);
            expectNext("the HEADER section");
        }
        // Kept only in a form every reader takes: one value, or one point.
        if (!singleHeaderValue(value)) {
            m_repairs.note("unknown header variables without a single value or point dropped");
            continue;
        }
        if (!runOpen) {
            keep.append(kDxfRunHeader, std::string());
            runOpen = true;
        }
        keep.append(9, name);
        keep.append(value);
    }
}

bool DxfFileReader::singleHeaderValue(const DxfTagList& value)
{
    if (value.size() == 1)
        return value[0].code < 10 || value[0].code > 39;
    if (value.size() < 2 || value.size() > 3)
        return false;
    const int x = value[0].code;
    return x >= 10 && x <= 18 && value[1].code == x + 10 && (value.size() == 2 || value[2].code == x + 20);
}

// --- TABLES ---

void DxfFileReader::readTables()
{
    for (;;) {
        expectNext("the TABLES section");
        if (m_reader.code() == 0 && m_reader.value() == "ENDSEC")
            return;
        if (m_reader.code() != 0 || m_reader.value() != "TABLE")
            failAt(m_reader.line(), "expected TABLE in the TABLES section, got " + quoteDxfValue(m_reader.value()));
        const std::size_t line = m_reader.line();
        expectNext("a table");
        if (m_reader.code() != 2)
            failAt(m_reader.line(), "a table must start with its name (group code 2)");
        readTable(std::string(m_reader.value()), line);
    }
}

void DxfFileReader::readTable(const std::string& name, std::size_t line)
{
    const DxfClassMap* map = dxfClassMap("TABLE " + name);
    if (!map) {
        keepTable(name);
        return;
    }

    OdDbObjectId* known = nullptr;
    if (name == "BLOCK_RECORD")
        known = &m_known.blockTable;
    else if (name == "LAYER")
        known = &m_known.layerTable;
    else if (name == "LTYPE")
        known = &m_known.linetypeTable;
    else if (name == "STYLE")
        known = &m_known.textStyleTable;
    else
        known = &m_known.regAppTable;
    // A table may exist already, made for a record named before the file gave its table (a
    // layer's linetype before the LTYPE table): the file's records join it.
    const bool madeEarly = std::find(m_tablesMadeEarly.begin(), m_tablesMadeEarly.end(), *known) != m_tablesMadeEarly.end();
    if (!known->isNull() && !madeEarly)
        failAt(line, "a second " + name + " table");
    OdDbSymbolTablePtr table = createAs<OdDbSymbolTable>(map->cls);
    Record rec = readRecord(*map, *table, "TABLE");
    if (madeEarly) {
        table = known->safeOpenObject(OdDb::kForWrite);
    } else {
        *known = addObject(*table, rec, OdDbObjectId());
        m_db->setWellKnownIds(m_known);
    }

    for (;;) {
        expectNext("a table");
        if (m_reader.code() != 0)
            failAt(m_reader.line(), "expected a record of table " + name + ", got group code " +
                                        std::to_string(m_reader.code()));
        if (m_reader.value() == "ENDTAB")
            return;
        const std::string_view recordName = m_reader.value();
        const DxfClassMap* recMap = dxfClassMap(recordName);
        if (recordName != name || !recMap)
            failAt(m_reader.line(), "a " + std::string(recordName) + " record in the " + name + " table");
        OdDbSymbolTableRecordPtr record = createAs<OdDbSymbolTableRecord>(recMap->cls);
        Record r = readRecord(*recMap, *record, recordName);
        if (record->getName().isEmpty() && !record->isKindOf(OdDbTextStyleTableRecord::desc())) {
            // Nothing can refer to it: records are found by name.
            m_repairs.note("table records without a name dropped");
            continue;
        }
        // A record made for its name before the file's own gives its identity to the file's:
        // records that named it refer to that.
        const OdDbObjectId made = madeEarly ? table->getAt(record->getName()) : OdDbObjectId();
        if (!made.isNull()) {
            if (r.extra)
                record->setDxfExtra(r.extra);
            made.safeOpenObject(OdDb::kForWrite)->handOverTo(record.get());
            continue;
        }
        OdDbObjectId id = addObject(*record, r, *known);
        table->appendRecordId(id);
    }
}

// A table no class models (VPORT, VIEW, UCS, DIMSTYLE, ...) is kept whole, its handles reserved.
// An old file's table has no handles, owners or subclass markers: they are given as a later
// release has them.
void DxfFileReader::keepTable(const std::string& name)
{
    const int recordHandleCode = name == "DIMSTYLE" ? 105 : 5;
    const char* recordMarker = dxfTableRecordMarker(name);
    DxfTagList& keep = m_drawingExtra->tags;
    keep.append(kDxfRunTable, m_reader.codec().toUtf8(name));

    // The head up to the first record, then each record, as read.
    auto readPart = [&](DxfTagList& part) {
        for (;;) {
            expectNext("a table");
            if (m_reader.code() == 0) {
                m_reader.pushBack();
                return;
            }
            m_reader.appendTo(part);
        }
    };
    auto hasMarker = [](const DxfTagList& part) { return part.find(100) < part.size(); };
    // The part's own handle, reserved for it; 0 when it has none.
    auto reserveOwn = [&](const DxfTagList& part, int code) {
        std::uint64_t h = 0;
        const std::size_t at = part.find(code);
        if (at < part.size() && tryParseDxfHandle(part[at].value, h) && h != 0) {
            m_ctx->idOfHandle(h);
            return h;
        }
        return std::uint64_t(0);
    };
    // The part's own handle, or a new one.
    auto handleOf = [&](const DxfTagList& part, int code) {
        std::uint64_t h = reserveOwn(part, code);
        if (h == 0) {
            h = m_db->handseed().value();
            m_db->getOdDbObjectId(OdDbHandle(h), true);
        }
        return h;
    };
    auto appendExcept = [&](const DxfTagList& part, int code) {
        const std::size_t skip = part.find(code);
        for (std::size_t i = 0; i < part.size(); ++i)
            if (i != skip)
                keep.append(part[i].code, part[i].value);
    };

    DxfTagList head;
    readPart(head);
    const bool upgrade = !hasMarker(head);
    std::uint64_t tableHandle = 0;
    if (upgrade) {
        tableHandle = handleOf(head, 5);
        keep.append(5, OdDbHandle(tableHandle).ascii());
        keep.append(330, "0");
        keep.append(100, "AcDbSymbolTable");
        appendExcept(head, 5);
        if (name == "DIMSTYLE") {
            keep.append(100, "AcDbDimStyleTable");
            keep.append(71, "0");
        }
    } else {
        reserveOwn(head, 5);
        keep.append(head);
    }
    for (;;) {
        expectNext("a table");
        if (m_reader.code() != 0)
            failAt(m_reader.line(), "expected a record of table " + name + ", got group code " + std::to_string(m_reader.code()));
        if (m_reader.value() == "ENDTAB")
            return;
        // Every record of a table is named as the table is; anything else is a table whose ENDTAB
        // is damaged, which would swallow the tables after it.
        if (m_reader.value() != name)
            failAt(m_reader.line(), "a " + std::string(m_reader.value()) + " record in the " + name + " table");
        m_reader.appendTo(keep);
        DxfTagList record;
        readPart(record);
        if (upgrade && recordMarker && !hasMarker(record)) {
            keep.append(recordHandleCode, OdDbHandle(handleOf(record, recordHandleCode)).ascii());
            keep.append(330, OdDbHandle(tableHandle).ascii());
            keep.append(100, "AcDbSymbolTableRecord");
            keep.append(100, recordMarker);
            appendExcept(record, recordHandleCode);
        } else {
            reserveOwn(record, recordHandleCode);
            keep.append(record);
        }
    }
}

// --- BLOCKS and ENTITIES ---

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

void DxfFileReader::readBlock()
{
    m_entitiesFollow = OdDbObjectId();
    const std::size_t line = m_reader.line();
    std::uint64_t handle = 0;
    OdDbObjectId owner;
    std::string name;
    OdGePoint3d origin;
    std::int16_t flags = 0;
    DxfTagList keep;
    bool sawHandle = false;
    for (;;) {
        expectNext("a BLOCK record");
        const int code = m_reader.code();
        if (code == 0) {
            m_reader.pushBack();
            break;
        }
        if (code == 5 && !sawHandle) {
            handle = readHandle();
            sawHandle = true;
        } else if (code == 330 && owner.isNull()) {
            owner = m_ctx->idOfHandle(readHandle());
        } else if (code == 100 || code == 3) {
            // Markers and the repeated name are written anew.
        } else if (code == 2) {
            name = m_reader.asString();
        } else if (code == 10) {
            origin.x = m_reader.asDouble();
        } else if (code == 20) {
            origin.y = m_reader.asDouble();
        } else if (code == 30) {
            origin.z = m_reader.asDouble();
        } else if (code == 70) {
            flags = m_reader.asInt16();
        } else {
            m_reader.appendTo(keep);
        }
    }
    if (name.empty())
        failAt(line, "a BLOCK without its name (group code 2)");
    if (name == "$MODEL_SPACE" || name == "$Model_Space")
        name = "*Model_Space";
    else if (name == "$PAPER_SPACE" || name == "$Paper_Space")
        name = "*Paper_Space";
    if (handle)
        m_ctx->idOfHandle(handle);

    OdDbBlockTableRecordPtr btr = OdDbBlockTableRecord::cast(owner.openObject(OdDb::kForWrite).get());
    if (!btr) {
        OdDbBlockTablePtr blocks = m_known.blockTable.safeOpenObject(OdDb::kForWrite);
        OdDbObjectId id = blocks->getAt(OdString::fromUtf8(name));
        if (id.isNull()) {
            OdDbBlockTableRecordPtr created = OdDbBlockTableRecord::createObject();
            created->setName(OdString::fromUtf8(name));
            id = blocks->add(created.get());
        }
        btr = id.safeOpenObject(OdDb::kForWrite);
    }
    btr->setOrigin(origin);
    btr->setFlags(flags);
    auto extra = std::make_shared<DxfExtra>(btr->dxfExtra() ? *btr->dxfExtra() : DxfExtra());
    extra->tags.append(kDxfRunBlockBegin, handle ? handleText(handle) : std::string());
    extra->tags.append(keep);
    const OdDbObjectId btrId = btr->objectId();
    btr.release();

    for (;;) {
        expectNext("a block");
        if (m_reader.code() != 0)
            failAt(m_reader.line(), "expected an entity or ENDBLK in block " + name);
        if (m_reader.value() == "ENDBLK")
            break;
        if (m_reader.value() == "BLOCK" || m_reader.value() == "ENDSEC") {
            m_repairs.note("blocks without their ENDBLK ended");
            m_reader.pushBack();
            break;
        }
        readEntity(btrId);
    }
    const bool ended = m_reader.value() == "ENDBLK";
    std::uint64_t endHandle = 0;
    DxfTagList endKeep;
    while (ended) {
        expectNext("an ENDBLK record");
        const int code = m_reader.code();
        if (code == 0) {
            m_reader.pushBack();
            break;
        }
        if (code == 5 && !endHandle)
            endHandle = readHandle();
        else if (code != 100 && code != 330)
            m_reader.appendTo(endKeep);
    }
    if (endHandle)
        m_ctx->idOfHandle(endHandle);
    extra->tags.append(kDxfRunBlockEnd, endHandle ? handleText(endHandle) : std::string());
    extra->tags.append(endKeep);
    OdDbBlockTableRecordPtr(btrId.safeOpenObject(OdDb::kForWrite))->setDxfExtra(extra);
}

void DxfFileReader::readEntities(OdDbObjectId container)
{
    ensureStructure(false);
    for (;;) {
        expectNext("the ENTITIES section");
        if (m_reader.code() == 0 && m_reader.value() == "ENDSEC")
            return;
        if (m_reader.code() != 0)
            failAt(m_reader.line(), "expected an entity (group code 0), got group code " + std::to_string(m_reader.code()));
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
        if (m_reader.code() == 70 && (marker || m_reader.value().find_first_not_of(" 0123456789") == std::string_view::npos)) {
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
        followed = at < tags.size() && trimDxfBlanks(tags[at].value) == "1" && recordName != "ATTRIB" &&
                   recordName != "VERTEX" && recordName != "SEQEND";
    }
    if (container.isNull())
        container = entity->commonData().paperSpace && !m_known.paperSpace.isNull() ? m_known.paperSpace : m_known.modelSpace;
    OdDbObjectId id = addObject(*entity, rec, container);
    ++m_entitiesRead;
    if (followed)
        m_entitiesFollow = id;
    else if (recordName == "SEQEND")
        m_entitiesFollow = OdDbObjectId();
    if (m_openContainer.isNull() || m_openContainer->objectId() != container)
        m_openContainer = container.safeOpenObject(OdDb::kForWrite);
    m_openContainer->appendEntityId(id);
    if (map->sequence.itemKey)
        readSequence(*map, id);
    if (!rec.dropped.empty())
        dropEntity(id, rec);
    return id;
}

void DxfFileReader::dropEntity(OdDbObjectId id, const Record& rec)
{
    m_recovered.push_back(rec.dropped + "; the record dropped");
    OdDbObjectPtr(id.safeOpenObject(OdDb::kForWrite))->erase();
}

void DxfFileReader::readSequence(const DxfClassMap& ownerMap, OdDbObjectId ownerId)
{
    const DxfClassMap* itemMap = dxfClassMap(ownerMap.sequence.itemKey);
    for (;;) {
        if (!m_reader.next())
            return;
        if (m_reader.code() != 0)
            failAt(m_reader.line(), "expected VERTEX or SEQEND, got group code " + std::to_string(m_reader.code()));
        if (m_reader.value() == "VERTEX") {
            OdDbEntityPtr item = createAs<OdDbEntity>(itemMap->cls);
            Record rec = readRecord(*itemMap, *item, "VERTEX");
            rec.owner = ownerId; // some writers give the block instead
            const OdDbObjectId itemId = addObject(*item, rec, ownerId);
            OdDbObjectPtr owner = ownerId.safeOpenObject(OdDb::kForWrite);
            try {
                ownerMap.sequence.append(*owner, *item);
            } catch (const OdError& e) {
                if (!m_recover)
                    failAt(rec.line, std::string("VERTEX: ") + e.what());
                if (rec.dropped.empty())
                    rec.dropped = "line " + std::to_string(rec.line) + ": VERTEX: " + e.what();
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

// --- OBJECTS ---

void DxfFileReader::readObjects()
{
    ensureStructure(false);
    for (;;) {
        expectNext("the OBJECTS section");
        if (m_reader.code() == 0 && m_reader.value() == "ENDSEC")
            return;
        if (m_reader.code() != 0)
            failAt(m_reader.line(), "expected an object (group code 0), got group code " + std::to_string(m_reader.code()));
        const std::string_view recordName = m_reader.value();
        if (isDxfStructureRecord(recordName))
            failAt(m_reader.line(), "a " + std::string(recordName) + " record where an object was expected");
        const DxfClassMap* map = dxfClassMap(recordName);
        if (!map || map->entity || map->cls->isDerivedFrom(OdDbSymbolTable::desc()) ||
            map->cls->isDerivedFrom(OdDbSymbolTableRecord::desc()))
            map = &dxfUnknownObjectMap();
        OdDbObjectPtr object = createAs<OdDbObject>(map->cls);
        Record rec = readRecord(*map, *object, recordName);
        if (map == &dxfUnknownObjectMap()) {
            if (!rec.extra)
                rec.extra = std::make_shared<DxfExtra>();
            rec.extra->recordName = m_reader.codec().toUtf8(recordName);
        }
        OdDbObjectId id = addObject(*object, rec, OdDbObjectId());
        if (m_known.namedObjects.isNull() && recordName == "DICTIONARY")
            m_known.namedObjects = id; // the first object is the root dictionary
    }
}

// --- records ---

DxfFileReader::Record DxfFileReader::readRecord(const DxfClassMap& map, OdDbObject& obj, std::string_view recordName)
{
    Record rec;
    rec.line = m_reader.line();
    m_dropReason.clear();
    DxfTagList keep;
    int runCode = 0;
    std::string runValue;
    auto openRun = [&](int code, const std::string& value) {
        if (runCode != code || runValue != value) {
            keep.append(code, value);
            runCode = code;
            runValue = value;
        }
    };
    int sub = -1; // -1 before any marker, -2 inside a subclass no map declares
    bool anyMarker = false;
    bool sawHandle = false;
    bool ownerRead = false;
    OdDbObjectId extDict;
    OdResBufPtr xdata;
    std::vector<std::pair<const DxfField*, std::int64_t>> counts;
    m_ctx->pendingName.reset();
    m_ctx->sortHandles.clear();
    m_ctx->asRead.clear();

    // A table record's data lies in its own subclass; a file that lacks or misspells that marker
    // still means it (the generic AcDbSymbolTableRecord part holds nothing).
    const bool tableRecord = map.tableRecord;
    auto enterRecordSubclass = [&](const char* repair) {
        m_repairs.note(repair);
        sub = static_cast<int>(map.subclasses.size()) - 1;
    };

    for (;;) {
        expectNext("", recordName);
        const int code = m_reader.code();
        if (code == 0) {
            m_reader.pushBack();
            break;
        }
        if (!anyMarker) {
            if (code == 5 && !sawHandle) {
                sawHandle = true;
                rec.handle = readHandle();
                continue;
            }
            if (code == 102) {
                DxfTagList group;
                readGroup102(group, extDict);
                if (!group.empty()) {
                    openRun(kDxfRunHead, std::string());
                    keep.append(group);
                }
                continue;
            }
            if (code == 330 && !ownerRead) {
                ownerRead = true;
                std::uint64_t owner = 0;
                if (tryParseDxfHandle(m_reader.value(), owner))
                    rec.owner = m_ctx->idOfHandle(owner);
                else
                    m_repairs.note("unreadable owner handles replaced by the records' places in the file");
                continue;
            }
        }
        if (code == 100) {
            anyMarker = true;
            int found = -1;
            for (int j = sub < 0 ? 0 : sub + 1; j < static_cast<int>(map.subclasses.size()); ++j) {
                const DxfSubclass& candidate = map.subclasses[static_cast<std::size_t>(j)];
                if (candidate.marker && sameDxfText(m_reader.value(), candidate.markerText)) {
                    found = j;
                    break;
                }
            }
            const int next = sub < 0 ? 0 : sub + 1;
            if (found >= 0) {
                sub = found;
            } else if (tableRecord && sub < static_cast<int>(map.subclasses.size()) - 1) {
                enterRecordSubclass("misspelt subclass markers of table records read as the record's own");
            } else if (sub >= -1 && next < static_cast<int>(map.subclasses.size())
                       && map.subclasses[static_cast<std::size_t>(next)].marker
                       && misspeltDxfMarker(m_reader.value(), map.subclasses[static_cast<std::size_t>(next)].markerText)) {
                m_repairs.note("misspelt subclass markers read as the ones expected there");
                sub = next;
            } else {
                sub = -2;
                keep.append(kDxfRunUnknown, std::string());
                runCode = kDxfRunUnknown;
                runValue.clear();
                m_reader.appendTo(keep);
            }
            continue;
        }
        if (code == 1001) {
            xdata = readXData();
            break;
        }
        const DxfField* field = nullptr;
        if (sub >= 0) {
            field = map.subclasses[static_cast<std::size_t>(sub)].readerOf(code);
            if (!field && tableRecord && sub < static_cast<int>(map.subclasses.size()) - 1 &&
                (field = map.subclasses.back().readerOf(code)))
                enterRecordSubclass("table records without their subclass marker read as if it were there");
        } else if (!anyMarker) {
            for (const DxfSubclass& s : map.subclasses)
                if ((field = s.readerOf(code)))
                    break;
        }
        if (field && readField(*field, obj, recordName)) {
            if (field->count)
                counts.emplace_back(field, m_reader.asInt64());
            continue;
        }
        if (sub >= 0)
            openRun(kDxfRunSubclass, std::to_string(sub));
        else if (sub == -1)
            openRun(ownerRead ? kDxfRunAfterOwner : kDxfRunHead, std::string());
        m_reader.appendTo(keep);
    }

    try {
        if (!extDict.isNull())
            obj.setExtensionDictionary(extDict);
        if (xdata) {
            obj.setXData(xdata.get());
            if (map.xdataApp)
                if (OdResBufPtr own = obj.xData(map.xdataApp); own && map.takeXData(obj, *own))
                    obj.setXData(OdResBuf::newRb(1001, OdString(map.xdataApp)).get());
        }
        for (const auto& [field, declared] : counts) {
            std::int64_t actual = std::get<std::int64_t>(field->get(obj, *m_ctx));
            if (actual == declared)
                continue;
            const std::string problem = std::string(recordName) + ": group code " + std::to_string(field->code) +
                                        " declares " + std::to_string(declared) + " items, but " + std::to_string(actual) +
                                        " follow";
            if (!m_recover)
                failAt(rec.line, problem);
            m_recovered.push_back("line " + std::to_string(rec.line) + ": " + problem + "; the " +
                                  std::to_string(actual) + " that follow kept");
        }
        if (map.finish)
            map.finish(obj, *m_ctx);
    } catch (const DxfError&) {
        throw;
    } catch (const OdError& e) {
        const std::string problem = std::string(recordName) + ": " + e.what();
        if (!m_recover || !map.entity)
            failAt(rec.line, problem);
        if (m_dropReason.empty())
            m_dropReason = "line " + std::to_string(rec.line) + ": " + problem;
    }
    rec.dropped = std::move(m_dropReason);
    m_dropReason.clear();
    if (!anyMarker && !keep.empty())
        keep = placeUnmarkedTags(map, recordName, keep);
    if (!m_ctx->asRead.empty()) {
        keep.append(kDxfRunAsRead, std::string());
        for (const auto& [code, text] : m_ctx->asRead)
            keep.append(code, text);
    }
    if (!keep.empty()) {
        rec.extra = std::make_shared<DxfExtra>();
        rec.extra->tags = std::move(keep);
    }
    return rec;
}

DxfTagList DxfFileReader::placeUnmarkedTags(const DxfClassMap& map, std::string_view recordName, const DxfTagList& keep)
{
    // Without markers every tag no field took is in the head run; they are the record's own
    // data, which goes after its modelled fields or into the subclasses later releases have.
    DxfTagList data;
    for (DxfTagList::Tag t : keep)
        if (t.code >= 0)
            data.append(t.code, t.value);
    DxfTagList placed;
    if (&map == &dxfUnknownEntityMap()) {
        std::vector<DxfUpgradedSubclass> subclasses = upgradeUnmarkedEntity(recordName, data);
        for (const DxfUpgradedSubclass& sub : subclasses) {
            placed.append(kDxfRunUnknown, std::string());
            placed.append(100, sub.marker);
            placed.append(sub.tags);
        }
        if (!subclasses.empty())
            return placed;
    }
    if (map.subclasses.empty())
        return keep;
    placed.append(kDxfRunSubclass, std::to_string(map.subclasses.size() - 1));
    placed.append(data);
    return placed;
}

bool DxfFileReader::readField(const DxfField& field, OdDbObject& obj, std::string_view recordName)
{
    const int code = m_reader.code();
    const std::size_t line = m_reader.valueLine();
    const std::string_view valueText = m_reader.value();
    DxfIn value;
    switch (field.kind) {
    case DxfFieldKind::Double: value.number = m_reader.asDouble(); break;
    case DxfFieldKind::Angle: {
        const double degrees = m_reader.asDouble();
        value.number = dxfDegreesToRadians(degrees);
        // Texts of 16 digits and more may be a neighbour of the shortest text that reads back
        // as the same radians: such a one is kept when the writer would choose another.
        if (m_reader.value().size() > 16 && stableDegrees(value.number) != degrees)
            m_ctx->asRead.emplace_back(code, std::string(trimDxfBlanks(m_reader.value())));
        break;
    }
    case DxfFieldKind::Int16:
    case DxfFieldKind::Int32:
    case DxfFieldKind::Bool:
        switch (dxfValueType(code)) {
        case DxfValueType::Bool: value.integer = m_reader.asBool(); break;
        case DxfValueType::Int16: value.integer = m_reader.asInt16(); break;
        case DxfValueType::Int32: value.integer = m_reader.asInt32(); break;
        default: value.integer = m_reader.asInt64(); break;
        }
        break;
    case DxfFieldKind::String: value.text = m_reader.asText(m_text); break;
    case DxfFieldKind::Handle: {
        // A pointer that holds a name or nothing, as some writers put there, is kept as it is.
        std::uint64_t h = 0;
        if (!tryParseDxfHandle(m_reader.value(), h))
            return false;
        value.id = h ? m_ctx->idOfHandle(h) : OdDbObjectId();
        break;
    }
    case DxfFieldKind::HandleValue: value.integer = static_cast<std::int64_t>(m_reader.asHandle()); break;
    case DxfFieldKind::Point2d:
    case DxfFieldKind::Point3d: {
        OdGePoint3d& p = value.point;
        p.x = m_reader.asDouble();
        expectNext("", recordName);
        if (m_reader.code() != code + 10)
            failAt(m_reader.line(), "group code " + std::to_string(code) + " must be followed by group code " +
                                        std::to_string(code + 10));
        p.y = m_reader.asDouble();
        if (field.kind == DxfFieldKind::Point3d) {
            expectNext("", recordName);
            if (m_reader.code() == code + 20)
                p.z = m_reader.asDouble();
            else
                m_reader.pushBack();
        }
        break;
    }
    }
    try {
        field.set(obj, value, *m_ctx);
    } catch (const DxfError&) {
        throw;
    } catch (const OdError& e) {
        const std::string fieldText = field.name ? std::string(field.name) + " (group code " + std::to_string(code) + ")"
                                                 : "group code " + std::to_string(code);
        const std::string problem = std::string(recordName) + ", " + fieldText + " " +
                                    quoteDxfValue(trimDxfBlanks(valueText)) + ": " + e.what();
        if (!m_recover)
            failAt(line, problem);
        recoverField(field, obj, line, problem);
    }
    return true;
}

void DxfFileReader::recoverField(const DxfField& field, OdDbObject& obj, std::size_t line, const std::string& problem)
{
    DxfIn fallback;
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, double>)
                fallback.number = v;
            else if constexpr (std::is_same_v<T, std::int64_t>)
                fallback.integer = v;
            else if constexpr (std::is_same_v<T, std::string>)
                fallback.text = v;
            else if constexpr (std::is_same_v<T, OdGePoint3d>)
                fallback.point = v;
            else
                fallback.id = v;
        },
        field.defaultValue);
    try {
        field.set(obj, fallback, *m_ctx);
        m_recovered.push_back("line " + std::to_string(line) + ": " + problem + "; set to " + defaultText(field.defaultValue));
    } catch (const OdError&) {
        if (m_dropReason.empty())
            m_dropReason = "line " + std::to_string(line) + ": " + problem;
    }
}

void DxfFileReader::readGroup102(DxfTagList& keep, OdDbObjectId& extDict)
{
    const std::string opening(m_reader.value());
    const bool xdict = opening == "{ACAD_XDICTIONARY";
    if (!xdict)
        m_reader.appendTo(keep);
    for (;;) {
        expectNext("a 102 group");
        if (m_reader.code() == 0)
            failAt(m_reader.line(), "the 102 group " + quoteDxfValue(opening) + " is not closed");
        if (xdict && m_reader.code() == 360) {
            std::uint64_t h = 0;
            if (tryParseDxfHandle(m_reader.value(), h) && h != 0)
                extDict = m_ctx->idOfHandle(h);
            else
                m_repairs.note("extension dictionary pointers that name no object dropped");
            continue;
        }
        if (!xdict || m_reader.code() != 102)
            m_reader.appendTo(keep);
        if (m_reader.code() == 102)
            return;
    }
}

OdResBufPtr DxfFileReader::readXData()
{
    OdResBufPtr head;
    OdResBuf* tail = nullptr;
    for (;;) {
        const int code = m_reader.code();
        if (code == 0) {
            m_reader.pushBack();
            return head;
        }
        if (code < 1000)
            failAt(m_reader.line(), "group code " + std::to_string(code) + " inside extended data");
        OdResBufPtr node = OdResBuf::newRb(code);
        if (code >= 1010 && code <= 1013) {
            double x = m_reader.asDouble();
            expectNext("extended data");
            if (m_reader.code() != code + 10)
                failAt(m_reader.line(), "group code " + std::to_string(code) + " must be followed by group code " +
                                            std::to_string(code + 10));
            double y = m_reader.asDouble();
            expectNext("extended data");
            if (m_reader.code() != code + 20)
                failAt(m_reader.line(), "group code " + std::to_string(code) + " must be followed by group code " +
                                            std::to_string(code + 20));
            node->setPoint3d(OdGePoint3d(x, y, m_reader.asDouble()));
        } else {
            switch (dxfValueType(code)) {
            case DxfValueType::Double: node->setDouble(m_reader.asDouble()); break;
            case DxfValueType::Int16: node->setInt16(m_reader.asInt16()); break;
            case DxfValueType::Int32: node->setInt32(m_reader.asInt32()); break;
            case DxfValueType::Handle: node->setHandle(OdDbHandle(m_reader.asHandle())); break;
            case DxfValueType::Binary:
                checkDxfBinary(m_reader.value(), code, m_reader.valueLine());
                node->setBinaryHex(std::string(trimDxfBlanks(m_reader.value())));
                break;
            case DxfValueType::String: node->setString(OdString::fromUtf8(m_reader.asString())); break;
            default: failAt(m_reader.line(), "group code " + std::to_string(code) + " is not an extended data code");
            }
        }
        if (tail)
            tail->setNext(node);
        else
            head = node;
        tail = node.get();
        if (!m_reader.next())
            failAt(m_reader.line() + 1, "the file ends inside extended data");
    }
}

OdDbObjectId DxfFileReader::addObject(OdDbObject& obj, const Record& rec, OdDbObjectId defaultOwner)
{
    if (rec.extra)
        obj.setDxfExtra(rec.extra);
    const OdDbObjectId owner = rec.owner.isNull() ? defaultOwner : rec.owner;
    try {
        try {
            return m_db->addOdDbObject(&obj, owner, OdDbHandle(rec.handle));
        } catch (const OdError& e) {
            if (e.code() != eDuplicateKey)
                throw;
            // The first record of a handle keeps it, and references to it; a later one gets a new one.
            m_repairs.note("records whose handle was already taken given new handles");
            return m_db->addOdDbObject(&obj, owner, OdDbHandle());
        }
    } catch (const OdError& e) {
        failAt(rec.line, e.what());
    }
}

std::uint64_t DxfFileReader::readHandle()
{
    std::uint64_t h = 0;
    if (!tryParseDxfHandle(m_reader.value(), h) || h == 0) {
        m_repairs.note("records with a null or unreadable handle given new handles");
        return 0;
    }
    return h;
}

// --- structure a file may lack ---

void DxfFileReader::ensureStructure(bool withObjects)
{
    if (m_structureReady && !withObjects)
        return;
    m_structureReady = true;
    m_db->setWellKnownIds(m_known);
    completeDxfStructure(*m_db, withObjects);
    m_known = wellKnownIds(*m_db);
}

} // namespace vantrel
