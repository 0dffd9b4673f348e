// Module handles: a loaded shared library is named by its dlopen handle, the way a Windows
// module is named by its instance handle. Handles are borrowed, not counted references.
#pragma once

#include <string>
#include <string_view>

#include <vantrel/hxicore/HxicoreExport.h>

namespace vantrel {

// The dlopen handle of a loaded module; null means "no module".
using ModuleHandle = void*;

// The handle of the module (shared library or the executable) whose code or data holds
// `address`; null when the address belongs to no loaded module.
VANTREL_HXICORE_EXPORT ModuleHandle moduleHandleOf(const void* address);

// The file name a module name stands for on this system: "X.dll" and "X" become "libX.so";
// a name that already ends in ".so" or contains '/' is used as it is.
VANTREL_HXICORE_EXPORT std::string libraryFileName(std::string_view moduleName);

// A module that is already loaded, by module name (mapped by libraryFileName); null when it
// is not loaded. Never loads anything.
VANTREL_HXICORE_EXPORT ModuleHandle findLoadedModule(std::string_view moduleName);
VANTREL_HXICORE_EXPORT ModuleHandle findLoadedModule(const wchar_t* moduleName);

// The executable itself, whose exports are the symbols it was linked with -rdynamic.
VANTREL_HXICORE_EXPORT ModuleHandle mainProgramModule();

// An export of the module itself (not of the libraries it depends on, which dlsym would also
// search); null when the module does not define it or the handle is null.
VANTREL_HXICORE_EXPORT void* moduleSymbol(ModuleHandle module, const char* name);

} // namespace vantrel
