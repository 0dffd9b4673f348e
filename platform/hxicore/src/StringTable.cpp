// Finding a string resource in a module's table (sorted by id, so a binary search).
#include <vantrel/hxicore/StringTable.h>

#include <algorithm>

namespace vantrel {

const wchar_t* findStringResource(ModuleHandle module, unsigned id)
{
    const auto* table = static_cast<const VantrelStringTable*>(moduleSymbol(module, VANTREL_STRING_TABLE_SYMBOL));
    if (!table || table->count == 0)
        return nullptr;
    const VantrelStringEntry* begin = table->entries;
    const VantrelStringEntry* end = begin + table->count;
    const VantrelStringEntry* found = std::lower_bound(
        begin, end, id, [](const VantrelStringEntry& entry, unsigned key) { return entry.id < key; });
    return found != end && found->id == id ? found->text : nullptr;
}

} // namespace vantrel
