// The light vocabulary: both directions of the preset and type tables, case and translation,
// the light name rules, default names of new lights, lengths in metres, and the six exported
// functions as another module finds them with dlsym.
#include "ModuleHostFixture.h"

#include <dlfcn.h>

#include <optional>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/hxicore/TranslationCatalogue.h>

#include "light/LightVocabulary.h"
#include "light_probe.h"

namespace {

constexpr std::array<const wchar_t*, 14> kPresetNames = {
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

} // namespace

TEST(LightPresets, EveryRowReadsBothWaysIgnoringCase)
{
    for (int value = 0; value < 14; ++value) {
        const auto preset = static_cast<OdDbLight::LampColorPreset>(value);
        EXPECT_EQ(lampColorPresetToStr(preset), OdString(kPresetNames[static_cast<std::size_t>(value)]));
        EXPECT_EQ(colorPresetStrToLampColorPreset(kPresetNames[static_cast<std::size_t>(value)]), value);
    }
    EXPECT_EQ(colorPresetStrToLampColorPreset(L"xenon"), 6);
    EXPECT_EQ(colorPresetStrToLampColorPreset(L"LOWpressureSODIUM"), 13);
    for (const wchar_t* unknown : {L"Quartz", L"", L"Xenon ", L"Custom"})
        EXPECT_EQ(colorPresetStrToLampColorPreset(unknown), -1) << OdString(unknown).toUtf8();
    EXPECT_EQ(lampColorPresetToStr(OdDbLight::kCustom), OdString());
    EXPECT_EQ(lampColorPresetToStr(static_cast<OdDbLight::LampColorPreset>(-1)), OdString());
}

TEST(LightPresets, NamesAreTranslatedWhenTheTableIsFirstFilled)
{
    // The table reflects the language of its first use; start it afresh under a catalogue.
    lampPresetTable.clear();
    vantrel::installCatalogue(vantrel::TranslationCatalogue::parse("Xenon\tXenonlampe\nPoint\tPunkt\n", "test"));
    const int translated = colorPresetStrToLampColorPreset(L"XENONLAMPE");
    const int english = colorPresetStrToLampColorPreset(L"Xenon");
    const OdString name = lampColorPresetToStr(OdDbLight::kXenon);
    const OdString untranslated = lampColorPresetToStr(OdDbLight::kHalogen);
    const auto type = lightTypeStrToDrawableTypw(L"punkt");
    const OdString typeName = lightTypeToStr(OdGiDrawable::kPointLight);
    vantrel::installCatalogue(std::nullopt);
    lampPresetTable.clear();

    EXPECT_EQ(translated, 6);
    EXPECT_EQ(english, -1);
    EXPECT_EQ(name, OdString(L"Xenonlampe"));
    EXPECT_EQ(untranslated, OdString(L"Halogen"));
    EXPECT_EQ(type, OdGiDrawable::kPointLight);
    EXPECT_EQ(typeName, OdString(L"Punkt"));
    EXPECT_EQ(colorPresetStrToLampColorPreset(L"xenon"), 6);
    EXPECT_EQ(colorPresetStrToLampColorPreset(L"LOWpressureSODIUM"), 13);
}

TEST(LightTypes, NamesReadBothWaysAndUnknownsFallBack)
{
    const std::pair<OdGiDrawable::DrawableType, const wchar_t*> rows[] = {
        {OdGiDrawable::kDistantLight, L"Distant"},
        {OdGiDrawable::kPointLight, L"Point"},
        {OdGiDrawable::kSpotLight, L"Spotlight"},
        {OdGiDrawable::kWebLight, L"Web"},
    };
    for (const auto& [type, name] : rows) {
        EXPECT_EQ(lightTypeToStr(type), OdString(name));
        EXPECT_EQ(lightTypeStrToDrawableTypw(name), type);
    }
    EXPECT_EQ(lightTypeStrToDrawableTypw(L"spotlight"), OdGiDrawable::kSpotLight);
    EXPECT_EQ(lightTypeStrToDrawableTypw(L"dISTANT"), OdGiDrawable::kDistantLight);
    for (const wchar_t* unknown : {L"Lamp", L"Spot", L""})
        EXPECT_EQ(lightTypeStrToDrawableTypw(unknown), OdGiDrawable::kPointLight);
    for (int other : {0, 4, 9, 11, -1})
        EXPECT_EQ(lightTypeToStr(static_cast<OdGiDrawable::DrawableType>(other)), OdString()) << other;
}

TEST(LightNames, RestrictedCharactersTheirMessageAndNumericText)
{
    EXPECT_FALSE(hasRestrictedSymbols(L"Lamp 1"));
    EXPECT_FALSE(hasRestrictedSymbols(L""));
    EXPECT_FALSE(hasRestrictedSymbols(L"Lámpa (2) - [x] & {y} . ! # @ % ~"));
    for (wchar_t c : std::wstring(L"<>/\\\"':;?*|,=`")) {
        EXPECT_TRUE(hasRestrictedSymbols(std::wstring(L"Lamp") + c + L"1")) << static_cast<char>(c);
        EXPECT_TRUE(hasRestrictedSymbols(std::wstring(1, c))) << static_cast<char>(c);
    }

    CXStringW message(L"left over");
    getLightNameRestrictedSymbolsMsg(message);
    EXPECT_EQ(message.str(),
              L"\nInvalid characters in name.\nThe following characters are not valid in light names: "
              L"\n <>/\\\"':;?*|,=`");

    for (const wchar_t* numeric : {L"", L"6500", L"1.2.3", L"."})
        EXPECT_TRUE(isNumericText(numeric)) << OdString(numeric).toUtf8();
    for (const wchar_t* other : {L"-5", L"1e3", L" 1", L"12a"})
        EXPECT_FALSE(isNumericText(other)) << OdString(other).toUtf8();
}

class DefaultLightName : public ModuleHostFixture {
protected:
    void addLight(OdGiDrawable::DrawableType type, const wchar_t* name, bool erase = false)
    {
        OdDbLightPtr light = OdDbLight::createObject();
        light->setLightType(type);
        light->setName(name);
        OdDbObjectId id = modelSpace()->appendOdDbEntity(light.get());
        if (erase) {
            EXPECT_EQ(eOk, id.safeOpenObject(OdDb::kForWrite)->erase());
        }
    }
    void addLine()
    {
        OdDbLinePtr line = OdDbLine::createObject();
        modelSpace()->appendOdDbEntity(line.get());
    }
    OdDbBlockTableRecordPtr modelSpace() { return db->getModelSpaceId().safeOpenObject(OdDb::kForWrite); }
    OdString pointName() { return makeDefaultLightName(db.get(), OdGiDrawable::kPointLight); }
};

TEST_F(DefaultLightName, EachTypeStartsAtOneAndCountsOnWhileTheSequenceHolds)
{
    EXPECT_EQ(makeDefaultLightName(db.get(), OdGiDrawable::kDistantLight), OdString(L"Distant light 1"));
    EXPECT_EQ(makeDefaultLightName(db.get(), OdGiDrawable::kGeometry), OdString());
    EXPECT_EQ(makeDefaultLightName(nullptr, OdGiDrawable::kPointLight), OdString());

    addLight(OdGiDrawable::kPointLight, L"point light 1");
    addLine();
    addLight(OdGiDrawable::kSpotLight, L"Spotlight 7");
    addLight(OdGiDrawable::kPointLight, L"Lamp", true);
    addLight(OdGiDrawable::kPointLight, L"Point light 2");
    EXPECT_EQ(pointName(), OdString(L"Point light 3"));
    EXPECT_EQ(makeDefaultLightName(db.get(), OdGiDrawable::kSpotLight), OdString(L"Spotlight 1"));
    EXPECT_EQ(makeDefaultLightName(db.get(), OdGiDrawable::kWebLight), OdString(L"Weblight 1"));
}

TEST_F(DefaultLightName, AGapOrAForeignFirstNameStopsTheScan)
{
    addLight(OdGiDrawable::kPointLight, L"Point light 1");
    addLight(OdGiDrawable::kPointLight, L"Lamp");
    addLight(OdGiDrawable::kPointLight, L"Point light 2");
    EXPECT_EQ(pointName(), OdString(L"Point light 2"));
    addLight(OdGiDrawable::kWebLight, L"Weblight 2");
    addLight(OdGiDrawable::kWebLight, L"Weblight 1");
    EXPECT_EQ(makeDefaultLightName(db.get(), OdGiDrawable::kWebLight), OdString(L"Weblight 1"));
}

class LengthInMeters : public ModuleHostFixture {
protected:
    void setUnits(int code) { db->setSysVar(L"INSUNITS", OdResBuf::newRb(70, code).get()); }
};

TEST_F(LengthInMeters, EveryUnitCodeOfTheActiveDrawing)
{
    start("");
    const double factors[] = {1.0,     0.0254, 0.3048, 1609.34, 0.001, 0.01, 1.0,  1000.0, 2.54e-8,
                              2.54e-5, 0.9144, 1e-10,  1e-9,    1e-6,  0.1,  10.0, 100.0,  1e9};
    for (int code = 0; code < 18; ++code) {
        setUnits(code);
        EXPECT_DOUBLE_EQ(drawingLengthToMeters(10.0), 10.0 * factors[code]) << "unit code " << code;
        EXPECT_DOUBLE_EQ(drawingLengthToMeters(10.0, code), 10.0 * factors[code]) << "unit code " << code;
    }
    setUnits(3);
    EXPECT_EQ(drawingLengthToMeters(1.0), 1609.34);
    for (int code : {18, 20, 24}) {
        setUnits(code);
        EXPECT_EQ(drawingLengthToMeters(10.0), 10.0) << "unit code " << code;
    }
    EXPECT_EQ(drawingLengthToMeters(10.0, -1), 10.0);
}

TEST_F(LengthInMeters, WithoutADrawingTheLengthIsMetres)
{
    setUnits(1);
    EXPECT_EQ(drawingLengthToMeters(10.0), 10.0);
}

TEST(LightExports, AnotherModuleFindsTheSixFunctionsAndGetsTheSameAnswers)
{
    void* probe = dlopen(LIGHT_PROBE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(probe, nullptr) << dlerror();
    auto probeAnswers = reinterpret_cast<LightProbeExport>(dlsym(probe, "lightProbeAnswers"));
    ASSERT_NE(probeAnswers, nullptr);

    LightVocabularyAnswers throughDlsym;
    ASSERT_TRUE(probeAnswers(throughDlsym)) << "an exported light function is missing";
    const LightVocabularyAnswers direct
        = askLightVocabulary({&colorPresetStrToLampColorPreset, &lampColorPresetToStr, &lightTypeStrToDrawableTypw,
                              &lightTypeToStr, &hasRestrictedSymbols, &getLightNameRestrictedSymbolsMsg});
    EXPECT_EQ(throughDlsym, direct);
    EXPECT_EQ(direct.presets, (std::vector<int>{0, 6, 12, -1, -1, -1}));
    EXPECT_EQ(direct.types, (std::vector<int>{2, 3, 10, 1, 2, 2}));
    dlclose(probe);
}
