// The rule attribute tags keep, shared by attributes and their definitions.
#pragma once

#include <vantrel/db/OdString.h>

namespace vantrel {

// Raises OdError(eInvalidInput) for an empty tag or one holding a blank.
void requireAttributeTag(const OdString& tag);

} // namespace vantrel
