// Dialog templates found in the module that holds them, and the current resource module.
#include <vantrel/host/dialog_resources.h>

#include <utility>

namespace vantrel {

namespace {

ModuleHandle& currentModule()
{
    static ModuleHandle module = nullptr;
    return module;
}

} // namespace

const DialogTemplate* findDialogTemplate(ModuleHandle module, unsigned id)
{
    void* symbol = moduleSymbol(module, VANTREL_DIALOG_TEMPLATE_SYMBOL);
    if (!symbol)
        return nullptr;
    return reinterpret_cast<DialogTemplateLookup>(symbol)(id);
}

ModuleHandle dialogResourceModule() { return currentModule(); }

ModuleHandle setDialogResourceModule(ModuleHandle module) { return std::exchange(currentModule(), module); }

} // namespace vantrel
