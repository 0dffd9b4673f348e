// The drawing as JSON for scripts and tests: header variables, layers and entities in a stable
// schema (docs/json.md), read through the database's public getters only.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include <vantrel/db/OdDbDatabase.h>

namespace vantrel {

// Keys keep the order the schema documents.
nlohmann::ordered_json jsonDump(OdDbDatabase& db);
// The same, as text with two-space indentation and a final newline.
std::string jsonText(OdDbDatabase& db);

} // namespace vantrel
