// The lookups of host_binding.h on top of module handles: module names map to shared library
// names ("X.dll" and "X" to "libX.so") and exports are found with dlsym.
#include "frame/host_binding.h"

#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/host_message_box.h>
#include <vantrel/hxicore/ResTranslation.h>

using vantrel::ModuleHandle;

namespace {

using ModuleInstanceExport = ModuleHandle (*)();
using ModuleNameExport = const wchar_t* (*)();
using FactoryExport = int (*)(ICmdFactory**);
using ServiceExport = HostFuncPtr (*)(int);

template <class Function>
Function exportOf(ModuleHandle module, const char* name)
{
    return reinterpret_cast<Function>(vantrel::moduleSymbol(module, name));
}

// The module that the loaded "HxAcApp.dll" names through GetMainDllInstanceEx.
ModuleHandle mainModuleFromHxAcApp()
{
    auto instance = exportOf<ModuleInstanceExport>(vantrel::findLoadedModule("HxAcApp.dll"), "GetMainDllInstanceEx");
    return instance ? instance() : nullptr;
}

} // namespace

ModuleHandle findHostMainModule()
{
    if (auto instance = exportOf<ModuleInstanceExport>(vantrel::mainProgramModule(), "GetMainDllInstance")) {
        if (ModuleHandle module = instance())
            return module;
    }
    if (ModuleHandle module = vantrel::findLoadedModule("deziro.dll"))
        return module;
    return mainModuleFromHxAcApp();
}

bool acquireCommandFactory(ICmdFactory*& factory)
{
    auto mainName = exportOf<ModuleNameExport>(vantrel::mainProgramModule(), "GetMainDllNameW");
    ModuleHandle module = mainName ? vantrel::findLoadedModule(mainName()) : vantrel::findLoadedModule("deziro");
    if (!module)
        module = mainModuleFromHxAcApp();
    auto newFactory = exportOf<FactoryExport>(module, "new_ICmdFactory");
    if (!newFactory)
        return false;
    newFactory(&factory);
    return true;
}

namespace vantrel {

HostFuncPtr hostService(HostServiceIndex index)
{
    auto service = exportOf<ServiceExport>(findHostMainModule(), "get_host_funcptr");
    return service ? service(index) : nullptr;
}

HostApplication* hostApplication()
{
    auto application = reinterpret_cast<HostApplicationService>(hostService(kHostApplicationService));
    return application ? application() : nullptr;
}

HostDocument* activeDocument()
{
    HostApplication* application = hostApplication();
    return application ? application->activeDocument() : nullptr;
}

HostEditor* messageEditor()
{
    HostApplication* application = hostApplication();
    if (!application)
        return nullptr;
    HostDocument* document = application->activeDocument();
    return document ? &document->editor() : &application->editor();
}

HostDocument* commandDocument()
{
    if (HostDocument* document = activeDocument())
        return document;
    const CXStringW text = Supp_Translate(L"No drawing is open.");
    if (HostEditor* editor = messageEditor())
        editor->printMessage(L"\n%s", text);
    else
        hostMessageBox(text);
    return nullptr;
}

} // namespace vantrel
