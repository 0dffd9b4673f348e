// The fallback module "HxAcApp": it only names the host main module, through
// GetMainDllInstanceEx, as the tests set it.
#include "fake_host.h"

namespace {
void* g_mainModule = nullptr;
}

extern "C" __attribute__((visibility("default"))) void hxAcAppSetMainModule(void* module) { g_mainModule = module; }

extern "C" __attribute__((visibility("default"))) void* GetMainDllInstanceEx() { return g_mainModule; }
