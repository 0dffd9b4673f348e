// The structure every DXF drawing has (tables with their standard records, model and paper
// space, the root dictionary), completed where a database or an old file lacks it.
#pragma once

#include <vantrel/db/OdDbDatabase.h>

namespace vantrel {

// The symbol tables of a drawing in the order they are written.
inline constexpr const char* kDxfTableOrder[]
    = {"VPORT", "LTYPE", "LAYER", "STYLE", "VIEW", "UCS", "APPID", "DIMSTYLE", "BLOCK_RECORD"};

// Creates what is missing, without undo records, and sets the database's well-known ids.
// withObjects: also the named objects dictionary (a reader adds it only after the OBJECTS section).
void completeDxfStructure(OdDbDatabase& db, bool withObjects);

OdDbDatabase::WellKnown wellKnownIds(const OdDbDatabase& db);

} // namespace vantrel
