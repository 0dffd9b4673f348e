// The exports of a front end's executable through which a command module finds the host main
// library (each front end links this in and is linked with -rdynamic so that modules see them).
#include <vantrel/host/host_exports.h>

extern "C" __attribute__((visibility("default"))) void* GetMainDllInstance() { return GetMainDllInstanceEx(); }

extern "C" __attribute__((visibility("default"))) const wchar_t* GetMainDllNameW() { return kHostMainLibraryName; }
