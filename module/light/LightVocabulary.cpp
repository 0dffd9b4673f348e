// The light vocabulary: preset and type names (translated when first used), the light name
// rules, default names of new lights, and drawing lengths in metres.
#include "light/LightVocabulary.h"

#include <array>
#include <locale>
#include <stdexcept>
#include <string_view>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbDatabase.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/hxicore/ResTranslation.h>

#include "frame/host_binding.h"
#include "frame/module_instance.h"

namespace {

constexpr unsigned kRestrictedSymbolsMessage = 188;

// The untranslated preset names by value (0-13). The spellings are the keys of translation
// catalogues and of names that other modules store, so they stay as they are.
constexpr std::array<const wchar_t*, 14> kPresetKeys = {
    L"D65White",
    L"Fluorescent",
    L"CoolWhite",
    L"WhiteFluorescent",
    L"DaylightFluorescent",
    L"Incadescent",
    L"Xenon",
    L"Halogen",
    L"Quarz",
    L"MetalHalide",
    L"Mercury",
    L"PhosphorMercury",
    L"HightPressureSodium",
    L"LowPressureSodium",
};

struct LightTypeWords {
    OdGiDrawable::DrawableType type;
    const wchar_t* name;
    const wchar_t* defaultNamePattern;
};
// In the order type names are matched.
constexpr std::array<LightTypeWords, 4> kLightTypes = {{
    {OdGiDrawable::kPointLight, L"Point", L"Point light %d"},
    {OdGiDrawable::kSpotLight, L"Spotlight", L"Spotlight %d"},
    {OdGiDrawable::kWebLight, L"Web", L"Weblight %d"},
    {OdGiDrawable::kDistantLight, L"Distant", L"Distant light %d"},
}};

constexpr std::wstring_view kRestrictedSymbols = L"<>/\\\"':;?*|,=`";

const LightTypeWords* typeWords(OdGiDrawable::DrawableType type)
{
    for (const LightTypeWords& words : kLightTypes)
        if (words.type == type)
            return &words;
    return nullptr;
}

OdString formatName(const wchar_t* pattern, int counter)
{
    CXStringW name;
    name.Format(Supp_Translate(pattern).c_str(), counter);
    return name;
}

// The locale the user's environment names (LANG, LC_ALL), for case folding beyond ASCII; the
// classic locale when the environment names none that this system has.
const std::locale& userLocale()
{
    static const std::locale locale = [] {
        try {
            return std::locale("");
        } catch (const std::runtime_error&) {
            return std::locale::classic();
        }
    }();
    return locale;
}

} // namespace

LampPresetTable lampPresetTable;

const LampPresetTable& lampPresets()
{
    if (lampPresetTable.empty())
        for (std::size_t value = 0; value < kPresetKeys.size(); ++value)
            lampPresetTable.emplace(static_cast<int>(value), OdString(Supp_Translate(kPresetKeys[value])));
    return lampPresetTable;
}

bool lightNamesEqual(const OdString& a, const OdString& b)
{
    const std::wstring& x = a.str();
    const std::wstring& y = b.str();
    if (x.size() != y.size())
        return false;
    const auto& letters = std::use_facet<std::ctype<wchar_t>>(userLocale());
    for (std::size_t i = 0; i < x.size(); ++i)
        if (letters.tolower(x[i]) != letters.tolower(y[i]))
            return false;
    return true;
}

int colorPresetStrToLampColorPreset(const OdString& name)
{
    for (const auto& [value, displayName] : lampPresets())
        if (lightNamesEqual(displayName, name))
            return value;
    return -1;
}

OdString lampColorPresetToStr(OdDbLight::LampColorPreset preset)
{
    const LampPresetTable& table = lampPresets();
    auto it = table.find(static_cast<int>(preset));
    return it == table.end() ? OdString() : it->second;
}

OdGiDrawable::DrawableType lightTypeStrToDrawableTypw(const OdString& name)
{
    for (const LightTypeWords& words : kLightTypes)
        if (lightNamesEqual(OdString(Supp_Translate(words.name)), name))
            return words.type;
    return OdGiDrawable::kPointLight;
}

OdString lightTypeToStr(OdGiDrawable::DrawableType type)
{
    const LightTypeWords* words = typeWords(type);
    return words ? OdString(Supp_Translate(words->name)) : OdString();
}

bool hasRestrictedSymbols(const OdString& name)
{
    return name.str().find_first_of(kRestrictedSymbols) != std::wstring::npos;
}

void getLightNameRestrictedSymbolsMsg(CXStringW& message)
{
    message = vantrel::loadResource(kRestrictedSymbolsMessage);
}

OdString makeDefaultLightName(OdDbDatabase* db, OdGiDrawable::DrawableType type)
{
    const LightTypeWords* words = typeWords(type);
    if (!db || !words)
        return OdString();
    int counter = 1;
    OdString candidate = formatName(words->defaultNamePattern, counter);
    OdDbBlockTableRecordPtr modelSpace = OdDbBlockTableRecord::cast(db->getModelSpaceId().openObject().get());
    if (!modelSpace)
        return candidate;
    for (OdDbObjectIteratorPtr it = modelSpace->newIterator(); !it->done(); it->step()) {
        OdDbLightPtr light = OdDbLight::cast(it->entity().get());
        if (!light || light->lightType() != type)
            continue;
        if (!lightNamesEqual(light->name(), candidate))
            break;
        candidate = formatName(words->defaultNamePattern, ++counter);
    }
    return candidate;
}

double drawingLengthToMeters(double length, int unitCode)
{
    // Metres per unit of the INSUNITS codes 1 to 17; 0 (unitless) and unknown codes count as
    // metres. Miles are 1609.34 m, as light modules of other hosts count them.
    static constexpr std::array<double, 18> kMetersPerUnit = {
        1.0,     0.0254, 0.3048, 1609.34, 0.001, 0.01, 1.0,  1000.0, 2.54e-8,
        2.54e-5, 0.9144, 1e-10,  1e-9,    1e-6,  0.1,  10.0, 100.0,  1e9,
    };
    if (unitCode < 0 || unitCode >= static_cast<int>(kMetersPerUnit.size()))
        return length;
    return length * kMetersPerUnit[static_cast<std::size_t>(unitCode)];
}

double drawingLengthToMeters(double length)
{
    HostDocument* doc = vantrel::activeDocument();
    OdDbDatabase* db = doc ? doc->database() : nullptr;
    return db ? drawingLengthToMeters(length, db->getINSUNITS()) : length;
}

bool isNumericText(const wchar_t* text)
{
    return std::wstring_view(text ? text : L"").find_first_not_of(L"0123456789.") == std::wstring_view::npos;
}
