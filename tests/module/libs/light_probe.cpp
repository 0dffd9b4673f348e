// A second host module, as a light panel would be: it finds the command module's exported light
// vocabulary by name with dlsym and answers the probe's questions through it.
#include "light_probe.h"

#include <dlfcn.h>

namespace {

template <class Function>
bool find(void* module, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(module, name));
    return function != nullptr;
}

} // namespace

extern "C" __attribute__((visibility("default"))) bool lightProbeAnswers(LightVocabularyAnswers& answers)
{
    void* module = dlopen("libvantrelcmd3.so", RTLD_NOW | RTLD_NOLOAD);
    if (!module)
        return false;
    LightVocabularyFunctions f;
    const bool found = find(module, "colorPresetStrToLampColorPreset", f.colorPresetStrToLampColorPreset)
        && find(module, "lampColorPresetToStr", f.lampColorPresetToStr)
        && find(module, "lightTypeStrToDrawableTypw", f.lightTypeStrToDrawableTypw)
        && find(module, "lightTypeToStr", f.lightTypeToStr)
        && find(module, "hasRestrictedSymbols", f.hasRestrictedSymbols)
        && find(module, "getLightNameRestrictedSymbolsMsg", f.getLightNameRestrictedSymbolsMsg);
    if (found)
        answers = askLightVocabulary(f);
    dlclose(module);
    return found;
}
