// The drawing as JSON for scripts and tests: header variables, layers and entities in a stable
// schema (docs/json.md), read through the database's public getters only.
#pragma once

#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/host/TextOutput.h>

namespace vantrel {

// Writes the dump to out as it goes, entity by entity: two-space indentation, keys in the order
// the schema documents, a final newline.
void writeJson(OdDbDatabase& db, TextOutput& out);

} // namespace vantrel
