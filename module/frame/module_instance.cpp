// The instance handle of the module and the start of its resource translation.
#include "frame/module_instance.h"

#include <string>

#include <vantrel/db/OdError.h>

namespace vantrel {
namespace {

ModuleHandle g_instance = nullptr;

using InitResTranslationExport = bool (*)(ModuleHandle);

} // namespace

ModuleHandle moduleInstance()
{
    return g_instance ? g_instance : moduleHandleOf(reinterpret_cast<const void*>(&moduleInstance));
}

CXStringW loadResource(unsigned id)
{
    CXStringW text;
    if (!text.Load(moduleInstance(), id))
        throw OdError(eInvalidInput, "the command module has no string resource " + std::to_string(id));
    return text;
}

void attachModule()
{
    g_instance = moduleHandleOf(reinterpret_cast<const void*>(&attachModule));
    // Linux has no thread attach notifications to switch off.
    for (const char* name : {"hxicore.dll", "vavoror5.dll"}) {
        if (ModuleHandle translator = findLoadedModule(name)) {
            if (auto init = reinterpret_cast<InitResTranslationExport>(moduleSymbol(translator, "_InitResTranslation")))
                init(g_instance);
            return;
        }
    }
}

} // namespace vantrel
