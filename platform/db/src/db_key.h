// Makes the key to entities' stored data; for the database's own code and its tests.
#pragma once

#include <vantrel/db/DbKey.h>

namespace vantrel {

DbKey dbKey();

} // namespace vantrel
