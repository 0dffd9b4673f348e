// Reading a DXF file into a drawing: the sections in order, the objects, and what the whole
// file needs (new handles, the structure a file may lack). Objects keep their file handles;
// references to objects later in the file reserve ids that the objects take when they are read.
// Any fault is one DxfError. The header, tables, blocks and entities, and the records
// themselves are read in the dxf_read_*.cpp files.
#include "DxfFileReader.h"

#include <vantrel/db/block_nesting.h>

#include <vantrel/db/OdDbDictionary.h>
#include <vantrel/db/OdDbTables.h>

#include "DxfError.h"
#include "DxfUnknownObject.h"
#include "dxf_repair_layouts.h"
#include "dxf_structure.h"
#include "dxf_values.h"

namespace vantrel {

DxfFileReader::DxfFileReader(DxfTagReader& reader, bool recover)
    : m_reader(reader), m_db(new OdDbDatabase()), m_ctx(std::make_unique<DxfContext>(*m_db)),
      m_drawingExtra(std::make_shared<DxfExtra>()), m_recover(recover), m_heap(reader.sizeBytes())
{
}

std::vector<std::string> DxfFileReader::repairs() const
{
    std::vector<std::string> lines = m_repairs.lines();
    lines.insert(lines.end(), m_recovered.begin(), m_recovered.end());
    return lines;
}

void DxfFileReader::failAt(std::size_t line, const std::string& problem) const { throw DxfError(line, problem); }

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
        OdDbObjectId& known = kind == 0 ? m_known.layerTable
            : kind == 1                 ? m_known.linetypeTable
                                        : m_known.textStyleTable;
        const OdRxClass* cls = kind == 0 ? OdDbLayerTable::desc()
            : kind == 1                  ? OdDbLinetypeTable::desc()
                                         : OdDbTextStyleTable::desc();
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
        m_recovered.push_back("line " + std::to_string(e.line()) + ": " + e.problem() + "; the "
                              + std::to_string(m_entitiesRead)
                              + " entities read before it kept, the rest of the file dropped");
    }
    ensureStructure(true);
    completeKeptTables();
    repairLayouts(*m_db, m_repairs);
    if (m_handseed > m_db->handseed().value())
        m_db->setHandseed(OdDbHandle(m_handseed));
    if (!m_drawingExtra->tags.empty())
        m_db->setDxfExtra(m_drawingExtra);
    if (const std::size_t n = blocksInsertingThemselves(*m_db).size())
        m_repairs.note("blocks that insert themselves, directly or through others, kept as read and drawn once", n);
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
            failAt(m_reader.line(),
                   "expected a SECTION record (group code 0), got group code " + std::to_string(m_reader.code()));
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

// --- OBJECTS ---

void DxfFileReader::readObjects()
{
    ensureStructure(false);
    for (;;) {
        expectNext("the OBJECTS section");
        if (m_reader.code() == 0 && m_reader.value() == "ENDSEC")
            return;
        if (m_reader.code() != 0)
            failAt(m_reader.line(),
                   "expected an object (group code 0), got group code " + std::to_string(m_reader.code()));
        const std::string_view recordName = m_reader.value();
        if (isDxfStructureRecord(recordName))
            failAt(m_reader.line(), "a " + std::string(recordName) + " record where an object was expected");
        const DxfClassMap* map = dxfClassMap(recordName);
        if (!map || map->entity || map->cls->isDerivedFrom(OdDbSymbolTable::desc())
            || map->cls->isDerivedFrom(OdDbSymbolTableRecord::desc()))
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
