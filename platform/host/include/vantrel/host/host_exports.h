// The C entry points through which a command module finds the host: the command factory, the
// host services by index, and the handle and name of the host main library. The executable
// adds GetMainDllInstance and GetMainDllNameW (see apps/shell).
#pragma once

#include <cstdint>

#include <vantrel/host/CmdProtocol.h>
#include <vantrel/host/HostExport.h>

class HostApplication;

// The only indices get_host_funcptr answers.
enum HostServiceIndex : int {
    // a function `HostApplication* ()`: the running application, or null when there is none
    kHostApplicationService = 2,
    // a procedure `void ()` called for its effect
    kHostProcedure3 = 3,
};

using HostFuncPtr = void (*)();
using HostApplicationService = HostApplication* (*)();
using HostProcedure = void (*)();

// The file name of the host main library, as GetMainDllNameW gives it.
inline constexpr const wchar_t* kHostMainLibraryName = L"libvantrel_host.so";

extern "C" {
// Stores a new factory holding one reference for the caller; answers 1, or 0 when out is null.
VANTREL_HOST_EXPORT int new_ICmdFactory(ICmdFactory** out);
// The service of an index (cast to its type above); null for any other index.
VANTREL_HOST_EXPORT HostFuncPtr get_host_funcptr(int index);
// The module handle of the host main library.
VANTREL_HOST_EXPORT void* GetMainDllInstanceEx();
}

namespace vantrel {
// How often kHostProcedure3 was called: it has no other effect, so tests count it.
VANTREL_HOST_EXPORT std::uint64_t hostProcedure3Calls();
} // namespace vantrel
