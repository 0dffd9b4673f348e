// Builds a drawing database from the tags of an ASCII DXF file: sections, tables, blocks,
// entities and objects through the class maps; whatever no map claims is kept for writing back.
// The reader's parts live in DxfFileReader.cpp (sections, objects) and dxf_read_header.cpp,
// dxf_read_tables.cpp, dxf_read_blocks.cpp and dxf_read_record.cpp.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/SysVarStore.h>

#include "DxfClassMap.h"
#include "DxfExtra.h"
#include "DxfRepairLog.h"
#include "DxfTagReader.h"
#include "heap_prefault.h"

namespace vantrel {

class DxfFileReader {
public:
    // recover: values and records that break their class's rules, and a file that ends early,
    // are repaired (each said in repairs()) instead of refused.
    DxfFileReader(DxfTagReader& reader, bool recover = false);
    // The whole drawing; raises DxfError naming the line of the first problem.
    OdDbDatabasePtr read();
    // What read() repaired, one line per kind, then one line per recovered value or record.
    std::vector<std::string> repairs() const;

private:
    struct Record {
        std::uint64_t handle = 0;
        OdDbObjectId owner;
        std::shared_ptr<DxfExtra> extra;
        std::size_t line = 0;
        // When recovering: why the record is dropped after it is read (its sub-entities with it).
        std::string dropped;
    };

    // What a BLOCK record says before its entities.
    struct BlockBegin;
    // Where the tags of the record being read go, and what it has seen so far.
    struct RecordScan;

    template <class T>
    static OdSmartPtr<T> createAs(const OdRxClass* cls)
    {
        return OdSmartPtr<T>(static_cast<T*>(cls->create()));
    }

    // The sections up to the EOF record.
    void readSections();
    void readSection(const std::string& name);
    void readHeader();
    // The variables from the current tag up to ENDSEC.
    void readHeaderVariables();
    void takeVersion();
    void takeHandseed();
    // False, with the variable left at its default, when the file gives it under another code.
    bool takeHeaderVariable(const SysVarDef& def, const std::string& name, std::size_t nameLine);
    OdResBufPtr readHeaderValue(const SysVarDef& def, const std::string& name, std::size_t nameLine);
    void keepHeaderVariable(const std::string& name, bool& runOpen);
    // Whether the tags an unknown header variable holds are one value or one point.
    static bool singleHeaderValue(const DxfTagList& value);
    void readTables();
    void readTable(const std::string& name, std::size_t line);
    void keepTable(const std::string& name);
    void completeKeptTables();
    // A handle no record has, taken from the handle seed.
    std::uint64_t reserveNewHandle();
    void readBlocks();
    void readBlock();
    void readBlockBegin(BlockBegin& begin);
    // The block record the BLOCK fills: the one it names as owner, or the one of its name.
    OdDbObjectId blockRecordFor(const BlockBegin& begin);
    // False when the block ends without its ENDBLK.
    bool readBlockEntities(OdDbObjectId block, const std::string& name);
    void readBlockEnd(DxfExtra& extra);
    void readEntities(OdDbObjectId container);
    OdDbObjectId readEntity(OdDbObjectId container);
    const DxfClassMap* polylineMap();
    void readSequence(const DxfClassMap& ownerMap, OdDbObjectId ownerId);
    void readObjects();
    void keepSection(const std::string& name, DxfRun run);

    // Reads the tags of the current record (after its "0 NAME") into obj through its map.
    Record readRecord(const DxfClassMap& map, OdDbObject& obj, std::string_view recordName);
    // A handle, a 102 group or an owner before the first subclass marker; false for any other tag.
    bool readRecordHead(RecordScan& scan, Record& rec);
    void enterSubclass(RecordScan& scan);
    // The tags from the one just read to the next marker open a run no map declares.
    void keepAsUnknown(RecordScan& scan);
    // The field that takes the current tag, if any.
    const DxfField* fieldOf(RecordScan& scan);
    void keepTag(RecordScan& scan);
    // Extension dictionary, extended data, declared counts and the class's own finish.
    void endRecord(RecordScan& scan, OdDbObject& obj, Record& rec);
    void checkCounts(const RecordScan& scan, const OdDbObject& obj, const Record& rec);
    std::shared_ptr<DxfExtra> keptTags(RecordScan& scan);
    // The kept tags of a record read without subclass markers, placed in the subclasses they
    // belong to.
    // flags: the record's 70 and 71 as read, whether or not a field took them.
    DxfTagList placeUnmarkedTags(const DxfClassMap& map, std::string_view recordName, const DxfTagList& keep,
                                 const DxfTagList& flags);
    // False, having taken nothing, for a pointer field whose value is not a handle: the tag is
    // then kept as read.
    bool readField(const DxfField& field, OdDbObject& obj, std::string_view recordName);
    // When recovering: the field takes its default instead of a value its class refuses (said
    // in a repair line); where the default does not do either, the record is dropped.
    void recoverField(const DxfField& field, OdDbObject& obj, std::size_t line, const std::string& problem);
    // Erases an entity read whole that recovering drops, saying so.
    void dropEntity(OdDbObjectId id, const Record& rec);
    OdResBufPtr readXData();
    void readGroup102(DxfTagList& keep, OdDbObjectId& extDict);
    OdDbObjectId addObject(OdDbObject& obj, const Record& rec, OdDbObjectId defaultOwner);
    // The current value as a record's own handle; 0 (a new handle), noted as a repair, when it
    // is null or not a handle.
    std::uint64_t readHandle();

    // The next tag, or DxfError when the file ends inside `where` (or inside a record of that name).
    void expectNext(std::string_view where, std::string_view recordName = {})
    {
        if (!m_reader.next()) [[unlikely]]
            failEnd(where, recordName);
    }
    [[noreturn]] void failEnd(std::string_view where, std::string_view recordName) const;
    [[noreturn]] void failAt(std::size_t line, const std::string& problem) const;

    // Tables, model and paper space and the named objects dictionary, created when the file
    // does not have them (R12 files have no block records or objects).
    void ensureStructure(bool withObjects);

    DxfTagReader& m_reader;
    OdDbDatabasePtr m_db;
    std::unique_ptr<DxfContext> m_ctx;
    std::shared_ptr<DxfExtra> m_drawingExtra;
    DxfRepairLog m_repairs;
    bool m_recover = false;
    std::vector<std::string> m_recovered;
    std::string m_dropReason; // of the record being read
    std::size_t m_entitiesRead = 0;
    OdDbDatabase::WellKnown m_known;
    std::uint64_t m_handseed = 0;
    bool m_structureReady = false;
    // Tables made for records named before the file gave their tables (DxfContext::makeTable).
    std::vector<OdDbObjectId> m_tablesMadeEarly;
    // The entity no class models whose attributes or vertices are being read.
    OdDbObjectId m_entitiesFollow;
    // The block that entities are being appended to, kept open while reading.
    OdDbBlockTableRecordPtr m_openContainer;
    // Room for a string value that had to be converted, reused from tag to tag.
    std::string m_text;
    // The heap the drawing's objects go on, faulted in step by step while a large file is read.
    HeapPrefault m_heap;
};

} // namespace vantrel
