// The lamp colour dialog driven through a real command line: the state it opens in, each
// control's effect on the swatches and the result text after every event, the refusals of bad
// temperatures, the filter colour list with its colour dialog, the items it draws, and what
// the exported launcher leaves in the drawing for OK and Cancel. The transcript
// lightpanel_color.scr shows what OK and Cancel leave in a light through the plugin.
#include "ModuleHostFixture.h"

#include <sstream>
#include <vector>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/host/DialogDC.h>
#include <vantrel/host/dialog_resources.h>

#include "frame/module_instance.h"
#include "lightui/LightLampColorDlg.h"

namespace {

using vantrel::ColorRef;
using vantrel::DialogControl;
using vantrel::DialogDC;
using vantrel::DialogPaint;
using vantrel::rgbColor;
using Dlg = LightLampColorDlg;

const ColorRef kWhite = rgbColor(255, 255, 255);
const ColorRef kBlack = rgbColor(0, 0, 0);
const std::string kRangeMessage = "[message box] Value must be range 1000 - 20000\n";

// The events (without the prompt) after which the range message came.
std::vector<std::string> refusals(const std::string& transcript)
{
    std::vector<std::string> after;
    std::istringstream lines(transcript);
    std::string line, last;
    while (std::getline(lines, line))
        if (line + "\n" == kRangeMessage)
            after.push_back(last.substr(last.find('!')));
        else
            last = line;
    return after;
}

// What a light's colours look like on a swatch: channels times 255, red in the low byte.
ColorRef lampColorOf(const OdDbLight& light)
{
    const vantrel::LampRgb c = light.lampColorRGB();
    return rgbColor(static_cast<std::uint8_t>(c.red * 255), static_cast<std::uint8_t>(c.green * 255),
                    static_cast<std::uint8_t>(c.blue * 255));
}
OdDbLightPtr kelvinLight(double kelvin, const OdCmColor& filter = OdCmColor::byRGB(255, 255, 255))
{
    OdDbLightPtr light = OdDbLight::createObject();
    light->setLampColorType(OdDbLight::kKelvin);
    light->setLampColorTemp(kelvin);
    light->setLightColor(filter);
    return light;
}
OdDbLightPtr presetLight(OdDbLight::LampColorPreset preset, const OdCmColor& filter = OdCmColor::byRGB(255, 255, 255))
{
    OdDbLightPtr light = OdDbLight::createObject();
    light->setLampColorPreset(preset);
    light->setLampColorType(OdDbLight::kPreset);
    light->setLightColor(filter);
    return light;
}

// The dialog as the user sees it after an event.
struct Shown {
    std::optional<ColorRef> lamp;
    std::optional<ColorRef> result;
    std::wstring resultText;
    std::wstring temperature;
    int focus = 0;
    std::wstring filter;
};

class LampColorDialog : public ModuleHostFixture {
protected:
    void SetUp() override
    {
        ModuleHostFixture::SetUp();
        previousObserver = hostUiDialog::setStateObserver([this](const hostUiDialog& d) {
            seenResourceModule = vantrel::dialogResourceModule();
            shown.push_back({d.control(Dlg::kLampSwatch)->fillColorAt({1, 1}),
                             d.control(Dlg::kResultSwatch)->fillColorAt({1, 1}), d.control(Dlg::kResultText)->text,
                             d.control(Dlg::kTemperatureEdit)->text, d.focusId(),
                             d.control(Dlg::kFilterCombo)->shownText()});
        });
    }
    void TearDown() override { hostUiDialog::setStateObserver(previousObserver); }

    // Runs the dialog class on the light; it stays for inspection.
    int run(OdDbLight* light, const std::string& script)
    {
        app.reset();
        start(script);
        const vantrel::ModuleHandle before = vantrel::setDialogResourceModule(vantrel::moduleInstance());
        dialog = std::make_unique<Dlg>(light);
        const int result = dialog->DoModal();
        vantrel::setDialogResourceModule(before);
        return result;
    }
    OdDbObjectId append(const OdDbLightPtr& light)
    {
        return OdDbBlockTableRecordPtr(db->getModelSpaceId().safeOpenObject(OdDb::kForWrite))
            ->appendOdDbEntity(light.get());
    }
    const DialogControl& state(int id) const
    {
        const DialogControl* control = dialog->control(id);
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }
    // The expected swatches for a light, checked against the state shown after event `n`
    // (0: as the dialog opened).
    void expectShows(std::size_t n, const OdDbLight& reference)
    {
        ASSERT_LT(n, shown.size());
        const OdCmColor c = reference.resultingColor();
        EXPECT_EQ(shown[n].lamp, lampColorOf(reference)) << "after event " << n;
        EXPECT_EQ(shown[n].result, rgbColor(c.red(), c.green(), c.blue())) << "after event " << n;
        EXPECT_EQ(shown[n].resultText,
                  std::to_wstring(c.red()) + L"," + std::to_wstring(c.green()) + L"," + std::to_wstring(c.blue()))
            << "after event " << n;
    }

    hostUiDialog::StateObserver previousObserver;
    std::vector<Shown> shown;
    vantrel::ModuleHandle seenResourceModule = nullptr;
    std::unique_ptr<Dlg> dialog;
};

} // namespace

TEST_F(LampColorDialog, APresetLightOpensWithItsPresetChosenAndTheTemperatureOff)
{
    OdDbLightPtr light = presetLight(OdDbLight::kXenon);
    light->setLampColorTemp(4200);
    EXPECT_EQ(run(light.get(), "!dlg cancel\n"), IDCANCEL);

    EXPECT_EQ(state(Dlg::kStandardColors).check, 1);
    EXPECT_EQ(state(Dlg::kKelvinColors).check, 0);
    EXPECT_TRUE(state(Dlg::kPresetCombo).enabled);
    EXPECT_FALSE(state(Dlg::kTemperatureEdit).enabled);
    EXPECT_FALSE(state(Dlg::kTemperatureSpin).enabled);
    EXPECT_EQ(state(Dlg::kPresetCombo).shownText(), L"Xenon");
    EXPECT_EQ(state(Dlg::kTemperatureEdit).text, L"4200.0");
    EXPECT_EQ(dialog->focusId(), IDOK);

    // The swatches sit where the hidden placeholders are.
    EXPECT_EQ(state(Dlg::kLampSwatch).rect, state(Dlg::kLampPlaceholder).rect);
    EXPECT_EQ(state(Dlg::kResultSwatch).rect, state(Dlg::kResultPlaceholder).rect);
    EXPECT_TRUE(state(Dlg::kLampSwatch).visible);
    EXPECT_FALSE(state(Dlg::kLampPlaceholder).visible);
    EXPECT_EQ(state(Dlg::kLampSwatch).paints.at(0).rect.width(), state(Dlg::kLampPlaceholder).rect.width());
    expectShows(0, *light);
    EXPECT_NE(lampColorOf(*light), kWhite) << "a xenon lamp is not white";

    // The filter items' names and colours are the drawing test's.
    EXPECT_EQ(state(Dlg::kFilterCombo).shownText(), L"White") << "true white is not shown as ByLayer";
}

TEST_F(LampColorDialog, TypedTemperaturesApplyWhenInRangeAndABadOneIsRefusedOnLeaving)
{
    OdDbLightPtr light = presetLight(OdDbLight::kXenon);
    light->setLampColorTemp(3000);
    EXPECT_EQ(run(light.get(),
                  "!dlg click 1361\n!dlg text 1376 650\n!dlg text 1376 6500\n!dlg text 1376 500\n"
                  "!dlg select 1378 Red\n!dlg text 1376 6500 K\n!dlg focus 2\n!dlg text 1376 1.2.3\n"
                  "!dlg ok\n!dlg text 1376 7200\n!dlg ok\n"),
              IDOK);
    EXPECT_EQ(refusals(output()), (std::vector<std::string>{"!dlg select 1378 Red", "!dlg focus 2", "!dlg ok"}));
    ASSERT_EQ(shown.size(), 11u);
    OdDbLightPtr at3000 = kelvinLight(3000), at6500 = kelvinLight(6500);
    EXPECT_NE(lampColorOf(*at3000), lampColorOf(*at6500));
    expectShows(1, *at3000);
    EXPECT_EQ(shown[1].temperature, L"3000.0");
    expectShows(2, *at3000); // 650 is not applied while typing
    expectShows(3, *at6500);
    expectShows(4, *at6500);
    EXPECT_EQ(shown[5].focus, Dlg::kTemperatureEdit) << "the focus comes back";
    EXPECT_EQ(shown[5].filter, L"White") << "the list was not reached";
    EXPECT_EQ(shown[7].focus, Dlg::kTemperatureEdit) << "a unit after the number is no temperature";
    expectShows(8, *at6500); // 1.2.3 reads as 1.2, out of range
    EXPECT_EQ(shown[9].focus, Dlg::kTemperatureEdit) << "OK is refused while the field holds no temperature";

    EXPECT_FALSE(state(Dlg::kPresetCombo).enabled);
    EXPECT_TRUE(state(Dlg::kTemperatureEdit).enabled);
    EXPECT_EQ(light->lampColorType(), OdDbLight::kKelvin);
    EXPECT_EQ(light->lampColorTemp(), 7200.0);
    EXPECT_EQ(light->lampColorPreset(), OdDbLight::kXenon);
}

// The limits and their message are lightpanel_color.scr's; here the step and the swatch.
TEST_F(LampColorDialog, ArrowsStepTenKelvinWhateverTheDeltaAndRecolourTheSwatch)
{
    OdDbLightPtr light = kelvinLight(6500);
    EXPECT_EQ(run(light.get(),
                  "!dlg spin 1362 -3\n!dlg spin 1362 +7\n!dlg text 1376 19995\n!dlg spin 1362 +1\n"
                  "!dlg ok\n"),
              IDOK);
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[1].temperature, L"6490.0");
    expectShows(1, *kelvinLight(6490));
    EXPECT_EQ(shown[2].temperature, L"6500.0");
    EXPECT_EQ(shown[4].temperature, L"20000.0") << "the step ends at the limit";
    expectShows(4, *kelvinLight(20000));
    EXPECT_EQ(light->lampColorTemp(), 20000.0);
}

TEST_F(LampColorDialog, PresetsAndTheRadioButtonsSwitchTheLampColour)
{
    OdDbLightPtr light = presetLight(OdDbLight::kXenon, OdCmColor::byRGB(200, 100, 50));
    light->setLampColorTemp(2500);
    EXPECT_EQ(run(light.get(),
                  "!dlg select 1360 halogen\n!dlg select 1360 D65White\n!dlg click 1361\n"
                  "!dlg click 1359\n!dlg click 1379\n!dlg ok\n"),
              IDOK);
    ASSERT_EQ(shown.size(), 6u);
    expectShows(1, *presetLight(OdDbLight::kHalogen, OdCmColor::byRGB(200, 100, 50)));
    expectShows(2, *presetLight(OdDbLight::kD65White, OdCmColor::byRGB(200, 100, 50)));
    EXPECT_EQ(shown[2].lamp, kWhite) << "the first preset (item data 0) is taken too";
    EXPECT_EQ(shown[2].resultText, L"200,100,50");
    expectShows(3, *kelvinLight(2500, OdCmColor::byRGB(200, 100, 50)));
    expectShows(4, *presetLight(OdDbLight::kD65White, OdCmColor::byRGB(200, 100, 50)));
    EXPECT_TRUE(state(Dlg::kPresetCombo).enabled);
    EXPECT_FALSE(state(Dlg::kTemperatureEdit).enabled);
    EXPECT_EQ(light->lampColorType(), OdDbLight::kPreset);
    EXPECT_EQ(light->lampColorPreset(), OdDbLight::kD65White);
    EXPECT_EQ(light->lampColorTemp(), 2500.0);
}

TEST_F(LampColorDialog, FilterColourFromNamesAndFromTheColourDialog)
{
    OdDbLightPtr light = presetLight(OdDbLight::kD65White);
    EXPECT_EQ(run(light.get(),
                  "!dlg select 1378 red\n!dlg select 1378 Custom...\n!dlg cancel\n"
                  "!dlg select 1378 Custom...\n!dlg color 0,128,255\n!dlg select 1378 Yellow\n"
                  "!dlg select 1378 0,128,255\n!dlg ok\n"),
              IDOK);
    ASSERT_EQ(shown.size(), 6u);
    EXPECT_EQ(shown[1].filter, L"Red");
    EXPECT_EQ(shown[1].result, rgbColor(255, 0, 0));
    EXPECT_EQ(shown[2].filter, L"Red") << "a cancelled colour dialog keeps the colour before";
    EXPECT_EQ(shown[3].filter, L"0,128,255");
    EXPECT_EQ(shown[3].result, rgbColor(0, 128, 255));
    EXPECT_EQ(shown[4].resultText, L"255,255,0");
    EXPECT_EQ(shown[5].resultText, L"0,128,255");
    const auto& items = state(Dlg::kFilterCombo).items;
    ASSERT_EQ(items.size(), 11u);
    EXPECT_EQ(items[9].text, L"0,128,255") << "added just above Custom...";
    EXPECT_EQ(light->lightColor(), OdCmColor::byRGB(0, 128, 255));
}

// A true colour without a name shown as its numbers is lightpanel_color.scr's (the item 255,128,0).
TEST_F(LampColorDialog, PaletteAndMetaColoursShowTheirOwnName)
{
    // A palette colour shows under its name; a by-layer colour as ByLayer, and choosing
    // ByBlock gives by block, not white.
    OdDbLightPtr light = presetLight(OdDbLight::kD65White, OdCmColor::byIndex(1));
    EXPECT_EQ(run(light.get(), "!dlg cancel\n"), IDCANCEL);
    EXPECT_EQ(state(Dlg::kFilterCombo).shownText(), L"Red");
    light->setLightColor(OdCmColor());
    EXPECT_EQ(run(light.get(), "!dlg select 1378 White\n!dlg select 1378 ByBlock\n!dlg ok\n"), IDOK);
    EXPECT_EQ(shown.at(shown.size() - 3).filter, L"ByLayer");
    EXPECT_EQ(shown.back().resultText, L"255,255,255");
    EXPECT_TRUE(light->lightColor().isByBlock());
}

TEST_F(LampColorDialog, FilterItemsDrawAColourSquareInABlackFrameBeforeTheirName)
{
    OdDbLightPtr light = presetLight(OdDbLight::kD65White);
    EXPECT_EQ(run(light.get(), "!dlg select 1378 Red\n!dlg ok\n"), IDOK);
    const DialogControl& combo = state(Dlg::kFilterCombo);
    EXPECT_EQ(combo.itemHeight, 13);
    // The widest text ("Custom...", 9 characters of 6 pixels) plus a scroll bar and a "0".
    EXPECT_EQ(combo.droppedWidth, 9 * 6 + DialogDC::kVScrollWidth + 6);
    ASSERT_EQ(combo.paints.size(), 11u) << "the selection field, then the ten items";

    const DialogPaint& field = combo.paints[0];
    EXPECT_EQ(field.item, 2);
    EXPECT_TRUE(field.state & vantrel::kItemComboBoxEdit);
    const int fl = field.rect.left, ft = field.rect.top;
    EXPECT_EQ(field.fillColorAt({fl + 5, ft + 5}), rgbColor(255, 0, 0));
    EXPECT_EQ(field.fillColorAt({fl + 30, ft + 5}), std::nullopt) << "the field keeps its own background";
    EXPECT_EQ(field.texts(), std::vector<std::wstring>{L"Red"});
    const DialogPaint::Op& text = field.ops.back();
    EXPECT_EQ(text.kind, DialogPaint::Op::Kind::Text);
    EXPECT_EQ(text.color, kBlack);
    EXPECT_EQ(text.rect, (vantrel::PixelRect{fl + 13, ft, field.rect.right, field.rect.bottom}));

    const std::vector<std::wstring> names
        = {L"ByLayer", L"ByBlock", L"Red", L"Yellow", L"Green", L"Cyan", L"Blue", L"Magenta", L"White", L"Custom..."};
    const std::vector<ColorRef> squares = {kWhite,
                                           kWhite,
                                           rgbColor(255, 0, 0),
                                           rgbColor(255, 255, 0),
                                           rgbColor(0, 255, 0),
                                           rgbColor(0, 255, 255),
                                           rgbColor(0, 0, 255),
                                           rgbColor(255, 0, 255),
                                           kWhite};
    for (std::size_t i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(i);
        const DialogPaint& item = combo.paints[i + 1];
        const int l = item.rect.left, t = item.rect.top;
        EXPECT_EQ(item.item, int(i));
        EXPECT_EQ(item.rect.height(), 13);
        const ColorRef background = DialogDC::GetSysColor(i == 2 ? DialogDC::kColorHighlight : DialogDC::kColorWindow);
        EXPECT_EQ(item.fillColorAt({l + 30, t + 5}), background);
        EXPECT_EQ(item.texts(), std::vector<std::wstring>{names[i]});
        std::vector<vantrel::PixelPoint> frame;
        for (const DialogPaint::Op& op : item.ops)
            if (op.kind == DialogPaint::Op::Kind::Line) {
                frame.insert(frame.end(), {op.from, op.to});
                EXPECT_EQ(op.color, kBlack);
            }
        EXPECT_EQ(frame,
                  (std::vector<vantrel::PixelPoint>{{l + 1, t + 1},
                                                    {l + 11, t + 1},
                                                    {l + 11, t + 1},
                                                    {l + 11, t + 11},
                                                    {l + 11, t + 11},
                                                    {l + 1, t + 11},
                                                    {l + 1, t + 11},
                                                    {l + 1, t + 1}}));
        if (i < squares.size()) {
            EXPECT_EQ(item.fillColorAt({l + 2, t + 2}), squares[i]);
            EXPECT_EQ(item.fillColorAt({l + 10, t + 10}), squares[i]);
            EXPECT_EQ(item.fillColorAt({l + 11, t + 6}), background) << "the square ends inside its frame";
        } else {
            EXPECT_EQ(item.fillColorAt({l + 5, t + 5}), kWhite) << "Custom... is white for four pixels";
            EXPECT_EQ(item.fillColorAt({l + 6, t + 5}), kBlack) << "then black";
            EXPECT_EQ(item.fillColorAt({l + 10, t + 10}), kBlack);
        }
    }
}

// No light (result 20, nothing shown) is lightpanel_nolight.scr's.
TEST_F(LampColorDialog, LauncherAnswersByHowTheDialogEndedAndCancelLeavesTheDrawingAlone)
{
    OdDbLightPtr fresh = kelvinLight(4000, OdCmColor::byRGB(40, 50, 60));
    fresh->setName(L"Lamp 1");
    fresh->setLampColorPreset(OdDbLight::kMercury);
    const OdDbObjectId id = append(fresh);
    fresh.release();
    const std::string before = vantrel::dxfText(*db);
    const vantrel::ModuleHandle resourcesBefore = vantrel::dialogResourceModule();
    {
        OdDbLightPtr light = id.safeOpenObject();
        app.reset();
        start("!dlg click 1359\n!dlg select 1360 Quarz\n!dlg select 1378 Blue\n!dlg click 1361\n"
              "!dlg text 1376 9000\n!dlg spin 1362 +1\n!dlg select 1378 Custom...\n!dlg color 1,2,3\n!dlg cancel\n");
        EXPECT_EQ(showLightLampColorDialog(light.get()), eCancelled);
        EXPECT_EQ(seenResourceModule, vantrel::moduleInstance()) << "the module's resources while it runs";
        EXPECT_EQ(vantrel::dialogResourceModule(), resourcesBefore) << "and the previous ones after";
        EXPECT_FALSE(light->isWriteEnabled());
    }
    EXPECT_EQ(vantrel::dxfText(*db), before);
    {
        OdDbLightPtr light = id.safeOpenObject();
        app.reset();
        start("!dlg select 1378 Blue\n");
        EXPECT_EQ(showLightLampColorDialog(light.get()), eCancelled) << "the script ended";
    }
    EXPECT_EQ(vantrel::dxfText(*db), before);
}

TEST_F(LampColorDialog, OkOnALightOpenForReadWritesOnlyTheLampAndFilterColours)
{
    OdDbLightPtr fresh = kelvinLight(4000, OdCmColor::byRGB(40, 50, 60));
    fresh->setLampColorPreset(OdDbLight::kMercury);
    fresh->setIntensity(3.5);
    const OdDbObjectId id = append(fresh);
    fresh.release();
    const std::string before = vantrel::dxfText(*db);

    OdDbLightPtr light = id.safeOpenObject();
    start("!dlg text 1376 9000\n!dlg click 1359\n!dlg select 1360 Quarz\n!dlg select 1378 Blue\n!dlg ok\n");
    EXPECT_EQ(showLightLampColorDialog(light.get()), eOk);
    EXPECT_TRUE(light->isWriteEnabled()) << "upgraded";
    EXPECT_EQ(light->lampColorType(), OdDbLight::kPreset);
    EXPECT_EQ(light->lampColorPreset(), OdDbLight::kQuarz);
    EXPECT_EQ(light->lampColorTemp(), 4000.0) << "a preset light takes no temperature";
    EXPECT_EQ(light->lightColor(), OdCmColor::byRGB(0, 0, 255));
    EXPECT_NE(vantrel::dxfText(*db), before);

    // Taking the four edits back gives the drawing as it was: nothing else was written.
    light->setLampColorType(OdDbLight::kKelvin);
    light->setLampColorPreset(OdDbLight::kMercury);
    light->setLightColor(OdCmColor::byRGB(40, 50, 60));
    EXPECT_EQ(vantrel::dxfText(*db), before);
}
