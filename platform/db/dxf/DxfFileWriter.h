// Writes a drawing database as ASCII DXF R2010 (AC1024), or as the later release it was read from
// when it holds data R2010 has no place for: what the classes model through their maps, and
// everything kept from the file it was read from, in place.
#pragma once

#include <span>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbExport.h>

#include "DxfClassMap.h"
#include "DxfExtra.h"
#include "DxfTagWriter.h"

namespace vantrel {

class VANTREL_DB_FOR_TESTS DxfFileWriter {
public:
    DxfFileWriter(OdDbDatabase& db, DxfTagWriter& out);
    void write();

    // The release written (its AC number): R2010 unless the drawing needs its own later one.
    static int versionFor(const OdDbDatabase& db);

private:
    // Gives the parts of the file that have handles but no object of their own (block begin and
    // end records, tables no class models) their handles, kept in the drawing so that every
    // later save writes the same ones; counts the records of each CLASS on the way.
    void prepare();
    // One look at every object: adds to the APPID table the applications whose extended data the
    // class maps write, and counts the class-defined records outside the blocks.
    void registerXDataAppsAndCountObjects();
    // Counts a record of obj's class, if its class is defined in CLASS records.
    void countClassRecord(const OdDbObject& obj, const DxfClassMap* map);
    void writeHeader();
    // The CLASS records kept from the file, then one for each class-defined record type written
    // that they do not declare.
    void writeClasses();
    void writeTables();
    void writeTable(const char* name);
    void writeBlocks();
    void writeBlock(OdDbObjectId btrId);
    void writeEntities(OdDbObjectId btrId);
    void writeSequence(const DxfClassMap& map, OdDbObjectId ownerId);
    // Handles for the SEQEND records of a block's sequences that have none yet; counts the
    // block's class-defined records on the way.
    void giveSequencesTheirEnds(OdDbObjectId btrId);
    void writeObjects();
    // map: the object's class map unless given; recordNameOverride: the record name unless given.
    // tableName: for a table object, the name written after "0 TABLE".
    void writeObject(const OdDbObject& obj, const DxfClassMap* map = nullptr, const char* recordNameOverride = nullptr,
                     const char* tableName = nullptr);
    // asRead: the object's values to write as the file gave them (DxfContext::asRead).
    void writeFields(const DxfSubclass& sub, const OdDbObject& obj, std::span<const DxfTagList::Tag> asRead);
    void writeXData(const OdResBuf* chain);
    // The object's extended data; a map with an application of its own writes that chain in place
    // of the object's.
    void writeObjectXData(const OdDbObject& obj, const DxfClassMap& map);
    void beginSection(const char* name);
    void endSection();
    std::uint64_t reserveHandle();

    OdDbDatabase& m_db;
    DxfTagWriter& m_out;
    DxfContext m_ctx;
    int m_version;
    // Per class definition (dxfClassDefinitions order), the number of its records the file holds:
    // counted while prepare() looks at every object.
    std::vector<std::size_t> m_classRecords;
};

} // namespace vantrel
