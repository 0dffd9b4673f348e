// What the light probe module asks of the command module's exported light vocabulary, and the
// same questions asked through any table of the six functions, so that answers through dlsym
// and through direct calls are compared one for one.
#pragma once

#include <string>
#include <vector>

#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdGiDrawable.h>
#include <vantrel/db/OdString.h>
#include <vantrel/hxicore/CXStringW.h>

struct LightVocabularyFunctions {
    int (*colorPresetStrToLampColorPreset)(const OdString&) = nullptr;
    OdString (*lampColorPresetToStr)(OdDbLight::LampColorPreset) = nullptr;
    OdGiDrawable::DrawableType (*lightTypeStrToDrawableTypw)(const OdString&) = nullptr;
    OdString (*lightTypeToStr)(OdGiDrawable::DrawableType) = nullptr;
    bool (*hasRestrictedSymbols)(const OdString&) = nullptr;
    void (*getLightNameRestrictedSymbolsMsg)(CXStringW&) = nullptr;
};

struct LightVocabularyAnswers {
    std::vector<int> presets;
    std::vector<std::wstring> presetNames;
    std::vector<int> types;
    std::vector<std::wstring> typeNames;
    std::vector<bool> restricted;
    std::wstring message;

    friend bool operator==(const LightVocabularyAnswers&, const LightVocabularyAnswers&) = default;
};

inline LightVocabularyAnswers askLightVocabulary(const LightVocabularyFunctions& f)
{
    LightVocabularyAnswers a;
    for (const wchar_t* name : {L"D65White", L"xenon", L"HIGHTPRESSURESODIUM", L"Quartz", L"", L"Custom"})
        a.presets.push_back(f.colorPresetStrToLampColorPreset(name));
    for (int value = -1; value <= 15; ++value)
        a.presetNames.push_back(f.lampColorPresetToStr(static_cast<OdDbLight::LampColorPreset>(value)).str());
    for (const wchar_t* name : {L"Point", L"SPOTLIGHT", L"web", L"Distant", L"Lamp", L""})
        a.types.push_back(f.lightTypeStrToDrawableTypw(name));
    for (int value = 0; value <= 11; ++value)
        a.typeNames.push_back(f.lightTypeToStr(static_cast<OdGiDrawable::DrawableType>(value)).str());
    for (const wchar_t* name : {L"Lamp 1", L"Lamp,1", L"a\\b", L"a`b", L"x=y", L""})
        a.restricted.push_back(f.hasRestrictedSymbols(name));
    CXStringW message;
    f.getLightNameRestrictedSymbolsMsg(message);
    a.message = message.str();
    return a;
}

// The probe's export: the answers of the six functions found with dlsym in the loaded
// command module; false when the module or one of the names is not found.
using LightProbeExport = bool (*)(LightVocabularyAnswers& answers);
