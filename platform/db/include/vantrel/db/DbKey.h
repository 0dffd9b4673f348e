// The key to an entity's data as stored. The database and its file layer write that data
// directly (a record read from a file, a copy being built); everyone else changes an entity
// through its setters, which keep its rules. Only the database's own code can make a key.
#pragma once

#include <vantrel/db/OdDbExport.h>

namespace vantrel {

class VANTREL_DB_EXPORT DbKey {
    DbKey() = default;
    friend DbKey dbKey();
};

} // namespace vantrel
