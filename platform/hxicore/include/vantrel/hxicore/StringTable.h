// The layout of a module's string table: data compiled into the module (generated from its
// strings.tsv by vantrel_string_table() in CMake) and found by name with dlsym.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

struct VantrelStringEntry {
    unsigned id;
    const wchar_t* text;
};

// Entries are sorted by id, without duplicates.
struct VantrelStringTable {
    size_t count;
    const struct VantrelStringEntry* entries;
};

#ifdef __cplusplus
}
#endif

#define VANTREL_STRING_TABLE_SYMBOL "vantrel_string_table"

#ifdef __cplusplus
#include <vantrel/hxicore/ModuleHandle.h>
#include <vantrel/hxicore/HxicoreExport.h>

namespace vantrel {

// The untranslated text of string resource `id` of `module`; null when the module has no
// string table or the table has no such id.
VANTREL_HXICORE_EXPORT const wchar_t* findStringResource(ModuleHandle module, unsigned id);

} // namespace vantrel
#endif
