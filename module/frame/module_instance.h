// The module's own instance handle and its string resources: every text a command shows is
// loaded by id from the module's string table (module/res/strings.tsv).
#pragma once

#include <vantrel/hxicore/CXStringW.h>
#include <vantrel/hxicore/ModuleHandle.h>

namespace vantrel {

// The handle recorded when the module was attached; before that, the module that holds this
// code.
ModuleHandle moduleInstance();

// Resource `id` of this module, translated once translation has started. A missing id is a
// bug in the module (its table and its code disagree) and raises OdError naming the id.
CXStringW loadResource(unsigned id);

// The attach routine: records the instance handle, then starts resource translation through
// _InitResTranslation of the first of "hxicore.dll" and "vavoror5.dll" that is loaded (nothing
// happens when neither is, or when that one lacks the export).
void attachModule();

} // namespace vantrel
