// The lamp intensity dialog on a real command line: unit changes against hand-computed
// candela, lumen and lux, texts refused while typing and when left, up-down steps at the limits,
// OK writing only the photometric settings, Cancel writing nothing, and the launcher's answers.
// What the plugin's commands leave in a light is in the transcripts lightpanel_*.scr.
#include "ModuleHostFixture.h"

#include <cmath>
#include <numbers>
#include <vector>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdResBuf.h>
#include <vantrel/host/dialog_resources.h>
#include <vantrel/host/hostUiDialog.h>

#include "frame/module_instance.h"
#include "lightui/LightLampIntensityDlg.h"
#include "lightui/photometric_units.h"

namespace {

constexpr double pi = std::numbers::pi;

enum : int {
    kCandela = 1366,
    kLux = 1368,
    kDistanceEdit = 1370,
    kDistanceSpin = 1371,
    kCoefficientEdit = 1372,
    kResultLine = 1375,
    kIntensityEdit = 1377,
};

// What the dialog showed after it opened and after each event it took.
struct Shown {
    std::wstring intensity;
    std::wstring distance;
    std::wstring coefficient;
    std::wstring result;
    int unit = 0;
    bool distanceEnabled = false;
    bool distanceSpinEnabled = false;
    int focus = 0;
};

class LampIntensityDialog : public ModuleHostFixture {
protected:
    void SetUp() override
    {
        ModuleHostFixture::SetUp();
        previousObserver = hostUiDialog::setStateObserver([this](const hostUiDialog& dialog) {
            auto text = [&](int id) { return dialog.control(id)->text; };
            shown.push_back({text(kIntensityEdit), text(kDistanceEdit), text(kCoefficientEdit), text(kResultLine),
                             dialog.GetCheckedRadioButton(kCandela, kLux), dialog.control(kDistanceEdit)->enabled,
                             dialog.control(kDistanceSpin)->enabled, dialog.focusId()});
            resourceModuleWhileShown = vantrel::dialogResourceModule();
        });
    }
    void TearDown() override { hostUiDialog::setStateObserver(previousObserver); }

    void setUnits(int code) { db->setSysVar(L"INSUNITS", OdResBuf::newRb(70, code).get()); }

    // A light in model space, open for write, of the given physical intensity in its method.
    OdDbLightPtr addLight(OdGiDrawable::DrawableType type, double physicalIntensity,
                          OdDbLight::PhysicalIntensityMethod method = OdDbLight::kPeakIntensity)
    {
        OdDbLightPtr light = OdDbLight::createObject();
        light->setLightType(type);
        light->setPhysicalIntensityMethod(method);
        light->setPhysicalIntensity(physicalIntensity);
        OdDbBlockTableRecordPtr model = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        model->appendOdDbEntity(light.get());
        return light;
    }

    OdResult show(OdDbLight* light, const std::string& script)
    {
        app.reset();
        out.str("");
        shown.clear();
        start(script);
        return showLightLampIntensityDialog(light);
    }

    std::vector<Shown> shown;
    vantrel::ModuleHandle resourceModuleWhileShown = nullptr;
    hostUiDialog::StateObserver previousObserver;
};

const std::string kMessage170 = "[message box] Enter value between 0 and 100000000000000.\n";
const std::string kMessage189 = "[message box] Enter value between 0 and 1000000.\n";

} // namespace

// Distant, spot and point lights in lumen are lightpanel_intensity.scr's, with hand-computed values.
TEST_F(LampIntensityDialog, FluxOfAWebLightFillsTheSphereAndANarrowConeKeepsItsArea)
{
    OdDbLightPtr light = addLight(OdGiDrawable::kWebLight, 1000.0);
    EXPECT_EQ(show(light.get(), "!dlg click 1367\n!dlg ok\n"), eOk);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].result, L"Result intensity: 1000.00 Candela");
    EXPECT_FALSE(shown[0].distanceEnabled);
    EXPECT_EQ(shown[1].intensity, L"12566.371"); // 1000 cd × 4π sr
    EXPECT_EQ(light->physicalIntensityMethod(), OdDbLight::kFlux);
    EXPECT_NEAR(light->physicalIntensity(), 1000.0 * 4.0 * pi, 1e-6);
    // A cone too narrow for 1 − cos still has its area (≈ π(θ/2)²), so lumen can become candela.
    EXPECT_NEAR(vantrel::lightSolidAngle(OdGiDrawable::kSpotLight, 2e-9, 2e-9), pi * 1e-18, 1e-30);
}

TEST_F(LampIntensityDialog, IlluminanceTakesTheDistanceInMetres)
{
    struct Row {
        int units;
        double distance;
        const wchar_t* lux;
        const wchar_t* result;
    };
    // 100 cd / d²: 100 in = 2.54 m → 100 / 6.4516 = 15.5; unitless counts as metres, 2 → 25.
    // Millimetres and metres are lightpanel_intensity.scr's.
    const Row rows[]
        = {{1, 100.0, L"15.500", L"Result intensity: 15.50 Lux"}, {0, 2.0, L"25.000", L"Result intensity: 25.00 Lux"}};
    for (const Row& row : rows) {
        setUnits(row.units);
        OdDbLightPtr light = addLight(OdGiDrawable::kPointLight, 100.0);
        light->setIlluminanceDistance(row.distance);
        EXPECT_EQ(show(light.get(), "!dlg click 1368\n!dlg click 1366\n!dlg cancel\n"), eCancelled);
        ASSERT_EQ(shown.size(), 3u);
        EXPECT_EQ(shown[1].intensity, row.lux) << row.units;
        EXPECT_EQ(shown[1].result, row.result) << row.units;
        EXPECT_TRUE(shown[1].distanceEnabled);
        EXPECT_EQ(shown[2].intensity, L"100.000");
        EXPECT_FALSE(shown[2].distanceEnabled);
        EXPECT_TRUE(shown[2].distanceSpinEnabled) << "the distance still serves a later switch to lux";
    }

    // Lumen to lux goes through candela: 1000 lm / 4π / (2 m)² = 19.894 lx, and back.
    setUnits(6);
    OdDbLightPtr light = addLight(OdGiDrawable::kPointLight, 1000.0, OdDbLight::kFlux);
    light->setIlluminanceDistance(2.0);
    EXPECT_EQ(show(light.get(), "!dlg click 1368\n!dlg click 1367\n!dlg click 1368\n!dlg ok\n"), eOk);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1].intensity, L"19.894");
    EXPECT_EQ(shown[2].intensity, L"1000.000");
    EXPECT_EQ(light->physicalIntensityMethod(), OdDbLight::kIlluminance);
    EXPECT_NEAR(light->physicalIntensity(), 1000.0 / (4.0 * pi) / 4.0, 1e-9);
}

// Refusals on leaving a field, with their messages, are lightpanel_fields.scr's.
TEST_F(LampIntensityDialog, TextsAreTakenOnlyWhenNumericAndWithinTheirRange)
{
    OdDbLightPtr light = addLight(OdGiDrawable::kPointLight, 500.0, OdDbLight::kFlux);
    light->setIntensity(2.0);
    EXPECT_EQ(show(light.get(),
                   "!dlg text 1377 abc\n!dlg text 1377 100000000000000\n!dlg text 1377 1.2.3\n"
                   "!dlg text 1372 2000000\n!dlg text 1372 3\n!dlg ok\n"),
              eOk);
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown[0].result, L"Result intensity: 1000.00 Lumen") << "2 × 500 lm";
    EXPECT_EQ(shown[1].result, L"Result intensity: 1000.00 Lumen") << "abc is not taken";
    EXPECT_EQ(shown[2].result, L"Result intensity: 200000000000000.00 Lumen") << "1e14 is";
    EXPECT_EQ(shown[3].result, L"Result intensity: 2.40 Lumen") << "1.2.3 reads 1.2";
    EXPECT_EQ(shown[4].result, L"Result intensity: 2.40 Lumen") << "a coefficient above 1e6";
    EXPECT_EQ(shown[5].result, L"Result intensity: 3.60 Lumen");
    EXPECT_EQ(light->physicalIntensity(), 1.2);
    EXPECT_EQ(light->intensity(), 3.0);
}

TEST_F(LampIntensityDialog, AWrongDistanceIsIgnoredAndPutBackWhenLeft)
{
    setUnits(6);
    OdDbLightPtr light = addLight(OdGiDrawable::kPointLight, 100.0, OdDbLight::kIlluminance);
    light->setIlluminanceDistance(2.5);
    EXPECT_EQ(show(light.get(),
                   "!dlg text 1370 0.5\n!dlg focus 1377\n!dlg text 1370 x\n!dlg ok\n"
                   "!dlg text 1370 4\n!dlg ok\n"),
              eOk);
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_TRUE(shown[0].distanceEnabled);
    EXPECT_EQ(shown[1].distance, L"0.5");
    EXPECT_EQ(shown[2].distance, L"2.500") << "the current distance, without losing its decimals";
    EXPECT_EQ(shown[4].distance, L"2.500") << "OK puts a wrong distance back and stays";
    EXPECT_EQ(output().find("[message box]"), std::string::npos);
    EXPECT_EQ(light->illuminanceDistance(), 4.0);
}

TEST_F(LampIntensityDialog, UpDownStepsByOneAndStopsAtTheLimits)
{
    OdDbLightPtr light = addLight(OdGiDrawable::kPointLight, 0.5);
    light->setIntensity(1e6);
    light->setIlluminanceDistance(1.5);
    EXPECT_EQ(show(light.get(),
                   "!dlg spin 1373 +1\n!dlg spin 1373 -1\n!dlg spin 1369 -1\n!dlg spin 1369 -1\n"
                   "!dlg spin 1369 +3\n!dlg spin 1371 -1\n!dlg spin 1371 +1\n!dlg ok\n"),
              eOk);
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_EQ(shown[1].coefficient, L"1000000.000") << "the up arrow at the upper limit";
    EXPECT_EQ(shown[2].coefficient, L"999999.000");
    EXPECT_EQ(shown[3].intensity, L"0.000") << "0.5 steps down onto the lower limit";
    EXPECT_EQ(shown[4].intensity, L"0.000") << "the down arrow at the lower limit";
    EXPECT_EQ(shown[5].intensity, L"1.000") << "one step whatever the count";
    EXPECT_EQ(shown[5].result, L"Result intensity: 999999.00 Candela");
    EXPECT_EQ(shown[6].distance, L"1.000");
    EXPECT_EQ(shown[7].distance, L"2.000");
    EXPECT_EQ(light->intensity(), 999999.0);
    EXPECT_EQ(light->physicalIntensity(), 1.0);
    EXPECT_EQ(light->illuminanceDistance(), 1.5) << "the distance is written only for lux";
}

TEST_F(LampIntensityDialog, OkRefusesWrongTextsAndWritesOnlyThePhotometricSettings)
{
    setUnits(6);
    OdDbLightPtr light = addLight(OdGiDrawable::kSpotLight, 1000.0);
    light->setIlluminanceDistance(2.0);
    const std::string before = vantrel::dxfText(*db);
    EXPECT_EQ(show(light.get(),
                   "!dlg text 1377 abc\n!dlg ok\n!dlg text 1377 1000\n!dlg text 1372 -1\n!dlg ok\n"
                   "!dlg text 1372 2\n!dlg click 1368\n!dlg text 1370 5\n!dlg ok\n"),
              eOk);
    const std::string transcript = output();
    EXPECT_NE(transcript.find("!dlg ok\n" + kMessage170), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("!dlg ok\n" + kMessage189), std::string::npos) << transcript;
    EXPECT_EQ(shown[2].focus, kIntensityEdit);
    // 1000 cd at 2 m: 1000 / 4 = 250 lx; the distance typed afterwards converts nothing.
    EXPECT_EQ(light->physicalIntensityMethod(), OdDbLight::kIlluminance);
    EXPECT_EQ(light->physicalIntensity(), 250.0);
    EXPECT_EQ(light->intensity(), 2.0);
    EXPECT_EQ(light->illuminanceDistance(), 5.0);
    EXPECT_NE(vantrel::dxfText(*db), before);
    light->setPhysicalIntensityMethod(OdDbLight::kPeakIntensity);
    light->setPhysicalIntensity(1000.0);
    light->setIntensity(1.0);
    light->setIlluminanceDistance(2.0);
    EXPECT_EQ(vantrel::dxfText(*db), before) << "nothing else changed";
}

TEST_F(LampIntensityDialog, CancelAndTheEndOfInputLeaveTheLightUntouched)
{
    OdDbLightPtr light = addLight(OdGiDrawable::kDistantLight, 300.0);
    const std::string before = vantrel::dxfText(*db);
    EXPECT_EQ(show(light.get(),
                   "!dlg click 1368\n!dlg text 1370 7\n!dlg spin 1373 +1\n!dlg text 1377 9\n"
                   "!dlg cancel\n"),
              eCancelled);
    EXPECT_EQ(vantrel::dxfText(*db), before);
    EXPECT_EQ(show(light.get(), "!dlg click 1367\n!dlg text 1372 4\n"), eCancelled);
    EXPECT_EQ(vantrel::dxfText(*db), before);
}

TEST_F(LampIntensityDialog, WhatTheLightCannotTakeIsReportedAndTheDialogStays)
{
    // A distance so small that its square is 0: candela cannot become lux.
    setUnits(6);
    OdDbLightPtr light = addLight(OdGiDrawable::kPointLight, 100.0);
    light->setIlluminanceDistance(1e-200);
    EXPECT_EQ(show(light.get(), "!dlg click 1368\n!dlg ok\n"), eOk);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].unit, kCandela);
    EXPECT_EQ(shown[1].intensity, L"100.000");
    EXPECT_FALSE(shown[1].distanceEnabled);
    EXPECT_NE(output().find("[message box] The intensity of this light cannot be given in Lux"), std::string::npos);
    EXPECT_EQ(light->physicalIntensityMethod(), OdDbLight::kPeakIntensity);
    EXPECT_EQ(light->physicalIntensity(), 100.0);

    // A light open only for reading refuses OK; the user can still cancel.
    const OdDbObjectId id = light->objectId();
    light.release();
    OdDbLightPtr readOnly = id.safeOpenObject();
    const std::string before = vantrel::dxfText(*db);
    EXPECT_EQ(show(readOnly.get(), "!dlg text 1377 7\n!dlg ok\n!dlg cancel\n"), eCancelled);
    EXPECT_NE(output().find("[message box] The light was not changed: "), std::string::npos) << output();
    EXPECT_EQ(vantrel::dxfText(*db), before);
}

TEST_F(LampIntensityDialog, LauncherAnswersAndRestoresTheResourceModule)
{
    using Launcher = OdResult (*)(OdDbLight*);
    auto launcher
        = reinterpret_cast<Launcher>(vantrel::moduleSymbol(vantrel::moduleInstance(), "showLightLampIntensityDialog"));
    ASSERT_NE(launcher, nullptr) << "exported under its own name";
    EXPECT_EQ(launcher(nullptr), eNullObjectPointer);

    OdDbLightPtr light = addLight(OdGiDrawable::kPointLight, 10.0);
    const vantrel::ModuleHandle previous = vantrel::setDialogResourceModule(nullptr);
    app.reset();
    EXPECT_EQ(launcher(light.get()), eCancelled) << "no command line to show it on";
    start("!dlg ok\n");
    EXPECT_EQ(launcher(light.get()), eOk);
    EXPECT_EQ(resourceModuleWhileShown, vantrel::moduleInstance());
    EXPECT_EQ(vantrel::dialogResourceModule(), nullptr);
    vantrel::setDialogResourceModule(previous);
}
