// Reading and writing drawings as DXF. Reading accepts ASCII and binary files of R10 to R2018;
// writing produces ASCII R2010 (AC1024), or the drawing's own later release when it holds data
// R2010 cannot carry, and is atomic (the previous file is kept as NAME.bak).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

struct VANTREL_DB_EXPORT DxfReadResult {
    OdDbDatabasePtr database; // null when the file could not be read
    std::string error;        // one line naming the file line and its problem, empty on success
    // What the reader repaired to open the drawing, one line per kind with its count ("draw-order
    // entries that name no entity dropped (3)"), then when recovering one line per value or
    // record it replaced or dropped; empty when the file needed nothing.
    std::vector<std::string> repairs;
};

struct VANTREL_DB_EXPORT DxfReadOptions {
    // Load a drawing that breaks the rules of its objects anyway: a value a setter would refuse
    // takes its field's default (or, where that does not help, the entity is dropped), an entity
    // whose values do not fit together is dropped, and a file that ends early keeps what was read
    // before. Each such repair is one line in `repairs`.
    bool recover = false;
};

// Reads a whole drawing; on any problem answers no database and the error (never a partly read one).
[[nodiscard]] VANTREL_DB_EXPORT DxfReadResult readDxf(const std::string& path, DxfReadOptions options = {});
[[nodiscard]] VANTREL_DB_EXPORT DxfReadResult readDxfText(std::string_view text, DxfReadOptions options = {});

// Writes the drawing; answers an empty string on success, else the error (the target unchanged).
[[nodiscard]] VANTREL_DB_EXPORT std::string writeDxf(OdDbDatabase& db, const std::string& path);
// The DXF text that writeDxf would write.
VANTREL_DB_EXPORT std::string dxfText(OdDbDatabase& db);

// The DXF record name of an object ("LINE"): its class's, or for an object read from a file that
// no class models, the name it had there ("MTEXT"); empty when it has none.
VANTREL_DB_EXPORT std::string dxfRecordName(const OdDbObject& object);

} // namespace vantrel
