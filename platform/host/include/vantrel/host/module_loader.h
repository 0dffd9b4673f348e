// Loading command modules into the running host, for every front end. A module is loaded for
// good: the commands it registers point into it, so it is never unloaded.
#pragma once

#include <string>

#include <vantrel/host/HostExport.h>

namespace vantrel {

// Loads the module globally, so that plugins can use what it exports. Answers an empty string,
// or one line starting with `what` and the path that says why it could not be loaded.
VANTREL_HOST_EXPORT std::string loadModule(const std::string& path, const char* what);

// The command module: the file VANTREL_MODULE_PATH names, or libvantrelcmd3.so in ../lib beside
// the executable. A module missing from the default place is not an error: the host then runs
// with its own commands. Errors as loadModule.
VANTREL_HOST_EXPORT std::string loadCommandModule();

} // namespace vantrel
