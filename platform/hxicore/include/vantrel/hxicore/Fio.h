// File queries the commands need, taking wide paths (converted to UTF-8 for the system).
#pragma once

#include <vantrel/hxicore/HxicoreExport.h>

// True when `path` names an existing regular file (after following links); false for a
// directory, anything else, a missing path, an empty path or null.
VANTREL_HXICORE_EXPORT bool Fio_IsFileExist(const wchar_t* path);
