// The light colour dialogues through a real command line: what each answer sets on the light,
// the refusals and their messages, and the ways each prompt is left.
#include "ModuleHostFixture.h"

#include <vantrel/db/OdDbLight.h>

#include "light/LightColorInput.h"
#include "light/LightVocabulary.h"

namespace {

class LightColorInput : public ModuleHostFixture {
protected:
    void SetUp() override
    {
        ModuleHostFixture::SetUp();
        light->setLightColor(original);
    }
    void filterColor(const std::string& script)
    {
        start(script);
        askFilterColor(document->editor(), *light);
    }
    void lampColor(const std::string& script)
    {
        start(script);
        askLampColor(document->editor(), *light);
    }

    OdDbLightPtr light = OdDbLight::createObject();
    const OdCmColor original = OdCmColor::byRGB(10, 20, 30);
};

} // namespace

TEST_F(LightColorInput, FilterColourTakesTrueColoursThenParserColours)
{
    filterColor("300,0,0\nnonsense\n255, 0 ,0\nmagenta\n");
    EXPECT_EQ(light->lightColor(), OdCmColor::byRGB(255, 0, 0));
    EXPECT_EQ(output(),
              "Enter true color (R,G,B): 300,0,0\n"
              "Invalid color. Type three comma separated values from 0 to 255.\n"
              "Enter true color (R,G,B): nonsense\n"
              "Invalid color. Type three comma separated values from 0 to 255.\n"
              "Enter true color (R,G,B): 255, 0 ,0\n");
    askFilterColor(document->editor(), *light);
    EXPECT_EQ(light->lightColor(), OdCmColor::byIndex(6));
}

TEST_F(LightColorInput, IndexColourChecksTheNumberBeforeTheParserAndLeavesAfterIt)
{
    filterColor("i\n999\n0\n99999999999999999999\nblack\n7\nindex\nRED\nIndex\n\n255,0,0\n");
    EXPECT_EQ(light->lightColor(), OdCmColor::byIndex(7));
    askFilterColor(document->editor(), *light);
    EXPECT_EQ(light->lightColor(), OdCmColor::byIndex(1));
    askFilterColor(document->editor(), *light);
    EXPECT_EQ(light->lightColor(), OdCmColor::byIndex(1));
    EXPECT_EQ(output(),
              "Enter true color (R,G,B): i\n"
              "Enter color name or number (1-255): 999\n"
              "Requires a valid index value\n"
              "Enter color name or number (1-255): 0\n"
              "Requires a valid index value\n"
              "Enter color name or number (1-255): 99999999999999999999\n"
              "Requires a valid index value\n"
              "Enter color name or number (1-255): black\n"
              "Requires a valid index value\n"
              "Enter color name or number (1-255): 7\n"
              "Enter true color (R,G,B): index\n"
              "Enter color name or number (1-255): RED\n"
              "Enter true color (R,G,B): Index\n"
              "Enter color name or number (1-255): \n");
}

TEST_F(LightColorInput, HslIsHandedOnWithItsPrefix)
{
    filterColor("h\n0,100\n361,0,0\n0,100,50\n");
    EXPECT_EQ(light->lightColor(), OdCmColor::byRGB(255, 0, 0));
    EXPECT_EQ(output(),
              "Enter true color (R,G,B): h\n"
              "Enter HSL color (H,S,L): 0,100\n"
              "Requires a valid HSL color\n"
              "Enter HSL color (H,S,L): 361,0,0\n"
              "Requires a valid HSL color\n"
              "Enter HSL color (H,S,L): 0,100,50\n");
}

TEST_F(LightColorInput, EnterAndEscLeaveTheFilterColour)
{
    filterColor("\n!cancel\nhsl\n\nhsl\n!cancel\ni\n!cancel\n");
    for (int i = 0; i < 5; ++i)
        askFilterColor(document->editor(), *light);
    EXPECT_EQ(light->lightColor(), original);
}

// Setting a preset, refusing an unknown one and the whole listing are light_photometry.scr's.
TEST_F(LightColorInput, PresetListingOfOneNameAndOfNone)
{
    lampColor("?\nxenon\n?\n*\n?\n!cancel\n!cancel\n");
    EXPECT_EQ(output(),
              "Enter color name: ?\n"
              "Enter color names(s) to list <*>: xenon\n"
              "Xenon\n"
              "Enter color name: ?\n"
              "Enter color names(s) to list <*>: *\n"
              "* is not a preset color\n"
              "Enter color name: ?\n"
              "Enter color names(s) to list <*>: *Cancel*\n"
              "Enter color name: *Cancel*\n");
    // Listing changes nothing, neither the light nor the table's names.
    EXPECT_EQ(light->lampColorPreset(), OdDbLight::kD65White);
    EXPECT_EQ(lampColorPresetToStr(OdDbLight::kXenon), OdString(L"Xenon"));
}

TEST_F(LightColorInput, KelvinRefusesNegativeTemperaturesAndEscAsksAgain)
{
    // 500 refused with the range message is light_photometry.scr's.
    lampColor("k\n-5\n!cancel\n6500\n");
    EXPECT_EQ(light->lampColorType(), OdDbLight::kKelvin);
    EXPECT_EQ(light->lampColorTemp(), 6500.0);
    EXPECT_EQ(output(),
              "Enter color name: k\n"
              "Enter kelvin temperature (min:1000 - max:20000): -5\n"
              "Value must be positive\n"
              "Enter kelvin temperature (min:1000 - max:20000): *Cancel*\n"
              "Enter kelvin temperature (min:1000 - max:20000): 6500\n");
}

TEST_F(LightColorInput, KelvinOutOfRangeHasSwitchedToKelvinAndEnterChangesNothingMore)
{
    lampColor("kelvin\n20001\n\nxenon\nk\n\n");
    EXPECT_EQ(light->lampColorType(), OdDbLight::kKelvin);
    EXPECT_EQ(light->lampColorTemp(), 6500.0);
    askLampColor(document->editor(), *light);
    EXPECT_EQ(light->lampColorType(), OdDbLight::kPreset);
    EXPECT_EQ(light->lampColorPreset(), OdDbLight::kXenon);
}
