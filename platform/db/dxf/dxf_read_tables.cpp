// The TABLES section: the tables the drawing models (block records, layers, linetypes, text
// styles, applications) read through their class maps; any other table kept whole.
#include "DxfFileReader.h"
#include "dxf_structure.h"

#include <algorithm>

#include <vantrel/db/OdDbTables.h>

#include "dxf_upgrade.h"
#include "dxf_values.h"

namespace vantrel {

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
    const bool madeEarly
        = std::find(m_tablesMadeEarly.begin(), m_tablesMadeEarly.end(), *known) != m_tablesMadeEarly.end();
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
            failAt(m_reader.line(),
                   "expected a record of table " + name + ", got group code " + std::to_string(m_reader.code()));
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
        return h != 0 ? h : reserveNewHandle();
    };
    auto appendExcept = [&](const DxfTagList& part, int code) {
        const std::size_t skip = part.find(code);
        for (std::size_t i = 0; i < part.size(); ++i)
            if (i != skip)
                keep.append(part[i].code, part[i].value);
    };

    // A file that ends inside the head keeps nothing of the table (completeKeptTables gives it one).
    DxfTagList head;
    readPart(head);
    keep.append(kDxfRunTable, m_reader.codec().toUtf8(name));
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
            failAt(m_reader.line(),
                   "expected a record of table " + name + ", got group code " + std::to_string(m_reader.code()));
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

std::uint64_t DxfFileReader::reserveNewHandle()
{
    const std::uint64_t h = m_db->handseed().value();
    m_db->getOdDbObjectId(OdDbHandle(h), true);
    return h;
}

// Every drawing has the tables no class models as well; one the file lacks (or that it cut off
// inside its head) is kept empty with a head of its own, so that a save reads back as written.
void DxfFileReader::completeKeptTables()
{
    DxfTagList& keep = m_drawingExtra->tags;
    for (const char* name : kDxfTableOrder) {
        if (dxfClassMap(std::string("TABLE ") + name))
            continue;
        bool kept = false;
        for (std::size_t at = keep.find(kDxfRunTable); at < keep.size(); at = keep.find(kDxfRunTable, at + 1))
            kept = kept || keep[at].value == name;
        if (kept)
            continue;
        keep.append(kDxfRunTable, name);
        keep.append(5, OdDbHandle(reserveNewHandle()).ascii());
        keep.append(330, "0");
        keep.append(100, "AcDbSymbolTable");
        keep.append(70, "0");
        if (std::string_view(name) == "DIMSTYLE") {
            keep.append(100, "AcDbDimStyleTable");
            keep.append(71, "0");
        }
    }
}

} // namespace vantrel
