// Makes the key to entities' stored data; for the database's own code and its tests.
#pragma once

#include <vantrel/db/DbKey.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

VANTREL_DB_FOR_TESTS DbKey dbKey();

} // namespace vantrel
