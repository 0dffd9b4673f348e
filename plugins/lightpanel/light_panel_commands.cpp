// LIGHTCOLOR and LIGHTINTENSITY: host commands that open the command module's lamp colour and
// lamp intensity dialogs on one selected light, found by name among the module's exports.
#include <string>

#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdError.h>
#include <vantrel/db/OdResult.h>
#include <vantrel/host/CommandRegistry.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/hostSelectionSet.h>
#include <vantrel/hxicore/ModuleHandle.h>

namespace {

using DialogLauncher = OdResult (*)(OdDbLight*);

constexpr const char* kCommandModule = "vantrelcmd3";

// The launcher exported by the command module loaded before this one; a module without it is
// a failed operation, not a user's mistake.
DialogLauncher findLauncher(const char* name)
{
    vantrel::ModuleHandle module = vantrel::findLoadedModule(kCommandModule);
    if (!module)
        throw OdError(eNotImplementedYet, "the command module vantrelcmd3 is not loaded");
    auto launcher = reinterpret_cast<DialogLauncher>(vantrel::moduleSymbol(module, name));
    if (!launcher)
        throw OdError(eNotImplementedYet, std::string("the command module does not export ") + name);
    return launcher;
}

void reportResult(HostEditor& ed, OdResult result)
{
    switch (result) {
    case eOk: ed.printMessage(L"\nResult 0: accepted, the light has the dialog's settings."); break;
    case eCancelled: ed.printMessage(L"\nResult 443: cancelled, the light is unchanged."); break;
    case eNullObjectPointer: ed.printMessage(L"\nResult 20: no light."); break;
    default: ed.printMessage(L"\nResult %d.", static_cast<int>(result)); break;
    }
}

// One pick of one light; the dialog gets the light open for writing, or null when the user
// chose nothing or something else, which the launcher answers with 20 without showing anything.
void openLightDialog(HostDocument& doc, const char* launcherName)
{
    const DialogLauncher launch = findLauncher(launcherName);
    HostEditor& ed = doc.editor();
    hostSelectionSetPtr set = hostSelectionSet::createObject(doc.database());
    const InputResult r = doc.getSelection(*set, L"Select a light", nullptr, kSelectSingle | kSelectRejectLocked);
    if (r != kInputValue && r != kInputEmpty)
        return;
    OdDbLightPtr light;
    if (r == kInputValue && !set->isEmpty()) {
        light = OdDbLight::cast(OdDbObjectPtr(set->objectIds().front().safeOpenObject()).get());
        if (light)
            light->upgradeOpen();
        else
            ed.printMessage(L"\nThe selected object is not a light.");
    } else {
        ed.printMessage(L"\nNo light selected.");
    }
    reportResult(ed, launch(light.get()));
}

struct Registrar {
    Registrar()
    {
        vantrel::CommandRegistry& registry = vantrel::CommandRegistry::global();
        registry.addHostCommand(L"LIGHTCOLOR",
                                [](HostDocument& doc) { openLightDialog(doc, "showLightLampColorDialog"); });
        registry.addHostCommand(L"LIGHTINTENSITY",
                                [](HostDocument& doc) { openLightDialog(doc, "showLightLampIntensityDialog"); });
    }
} g_registrar;

} // namespace
