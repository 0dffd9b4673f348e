#include "db_key.h"

namespace vantrel {

DbKey dbKey() { return {}; }

} // namespace vantrel
