// Module handles on top of the dynamic linker: dladdr finds the module of an address,
// dlopen(RTLD_NOLOAD) a loaded module by name, and link maps tell which module defines a symbol.
#include <vantrel/hxicore/ModuleHandle.h>

#include <dlfcn.h>
#include <link.h>

#include <vantrel/db/OdString.h>

namespace vantrel {
namespace {

link_map* linkMapOf(ModuleHandle module)
{
    link_map* map = nullptr;
    if (!module || dlinfo(module, RTLD_DI_LINKMAP, &map) != 0)
        return nullptr;
    return map;
}

link_map* linkMapContaining(const void* address)
{
    Dl_info info;
    void* map = nullptr;
    if (!address || dladdr1(address, &info, &map, RTLD_DL_LINKMAP) == 0)
        return nullptr;
    return static_cast<link_map*>(map);
}

// A handle without a lasting reference, like a Windows module handle: the reference that
// dlopen adds is given back at once; the module was loaded before and stays so.
ModuleHandle borrowLoaded(const char* fileName)
{
    void* handle = dlopen(fileName, RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle;
}

bool endsWith(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool endsWithIgnoringCase(std::string_view s, std::string_view lowerSuffix)
{
    if (s.size() < lowerSuffix.size())
        return false;
    auto tail = s.substr(s.size() - lowerSuffix.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerSuffix[i])
            return false;
    }
    return true;
}

} // namespace

ModuleHandle mainProgramModule() { return borrowLoaded(nullptr); }

ModuleHandle moduleHandleOf(const void* address)
{
    link_map* map = linkMapContaining(address);
    if (!map)
        return nullptr;
    ModuleHandle main = mainProgramModule();
    if (map == linkMapOf(main))
        return main;
    return borrowLoaded(map->l_name);
}

std::string libraryFileName(std::string_view moduleName)
{
    if (moduleName.find('/') != std::string_view::npos || endsWith(moduleName, ".so"))
        return std::string(moduleName);
    if (endsWithIgnoringCase(moduleName, ".dll"))
        moduleName.remove_suffix(4);
    return "lib" + std::string(moduleName) + ".so";
}

ModuleHandle findLoadedModule(std::string_view moduleName)
{
    if (moduleName.empty())
        return nullptr;
    return borrowLoaded(libraryFileName(moduleName).c_str());
}

ModuleHandle findLoadedModule(const wchar_t* moduleName)
{
    return moduleName ? findLoadedModule(OdString(moduleName).toUtf8()) : nullptr;
}

void* moduleSymbol(ModuleHandle module, const char* name)
{
    if (!module || !name)
        return nullptr;
    void* symbol = dlsym(module, name);
    if (!symbol)
        return nullptr;
    // dlsym also searches the module's dependencies; a symbol defined there is not an export
    // of this module.
    link_map* own = linkMapOf(module);
    return own && linkMapContaining(symbol) == own ? symbol : nullptr;
}

} // namespace vantrel
