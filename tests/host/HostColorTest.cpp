// The host's colour services: every colour text form and its refusals, the named colours in
// the active language, and the colour dialog answered from a script.
#include "EditorFixture.h"

#include <vantrel/host/hostcolor.h>
#include <vantrel/hxicore/TranslationCatalogue.h>

TEST(HostColorParse, EveryFormAndEveryRefusal)
{
    const std::pair<const wchar_t*, OdCmColor> accepted[] = {
        {L"1", OdCmColor::byIndex(1)},
        {L" 255 ", OdCmColor::byIndex(255)},
        {L"007", OdCmColor::byIndex(7)},
        {L"YELLOW", OdCmColor::byIndex(2)},
        {L"mAgEnTa", OdCmColor::byIndex(6)},
        {L"white", OdCmColor::byIndex(7)},
        {L"bylayer", OdCmColor(OdCmEntityColor::kByLayer)},
        {L"BYBLOCK", OdCmColor(OdCmEntityColor::kByBlock)},
        {L" 10 , 20 ,30 ", OdCmColor::byRGB(10, 20, 30)},
        {L"rgb:0,128,255", OdCmColor::byRGB(0, 128, 255)},
        {L"HSL:0,100,50", OdCmColor::byRGB(255, 0, 0)},
        {L"hsl:120,100,25", OdCmColor::byRGB(0, 128, 0)},
        {L"HSL:360,100,50", OdCmColor::byRGB(255, 0, 0)},
        {L"HSL:210,50,40", OdCmColor::byRGB(51, 102, 153)},
        {L"HSL:300,100,75", OdCmColor::byRGB(255, 128, 255)},
        {L"HSL:55.5,0,100", OdCmColor::byRGB(255, 255, 255)},
    };
    for (const auto& [text, expected] : accepted) {
        OdCmColor color;
        EXPECT_EQ(hostCmParseColor(text, color), eOk) << OdString(text).toUtf8();
        EXPECT_EQ(color, expected) << OdString(text).toUtf8();
    }
    for (const wchar_t* text : {L"0",
                                L"256",
                                L"99999999999999999999",
                                L"-1",
                                L"+5",
                                L"1.0",
                                L"",
                                L"black",
                                L"by layer",
                                L"300,0,0",
                                L"1,2",
                                L"1,2,3,4",
                                L"-1,0,0",
                                L"1.5,0,0",
                                L"1,,3",
                                L"HSL:361,0,0",
                                L"HSL:0,101,50",
                                L"HSL:0,50,100.5",
                                L"HSL:-5,50,50",
                                L"HSL:1e2,0,0",
                                L"HSL:",
                                L"RGB:red",
                                L"HSL 0,100,50"}) {
        OdCmColor color = OdCmColor::byRGB(1, 2, 3);
        EXPECT_EQ(hostCmParseColor(text, color), eInvalidInput) << OdString(text).toUtf8();
        EXPECT_EQ(color, OdCmColor::byRGB(1, 2, 3)) << OdString(text).toUtf8();
    }
}

// Numbers too long for a double: a huge hue is refused, a value too small to tell from 0 is 0.
TEST(HostColorParse, DecimalsBeyondTheRangeOfADoubleAreAnsweredNotThrown)
{
    const std::wstring huge(400, L'9');
    const std::wstring tiny = L"0." + std::wstring(400, L'0') + L"1";
    OdCmColor color = OdCmColor::byRGB(1, 2, 3);
    EXPECT_EQ(hostCmParseColor(OdString(L"HSL:" + huge + L",50,50"), color), eInvalidInput);
    EXPECT_EQ(hostCmParseColor(OdString(L"HSL:" + huge + L".5,50,50"), color), eInvalidInput);
    EXPECT_EQ(color, OdCmColor::byRGB(1, 2, 3));
    EXPECT_EQ(hostCmParseColor(OdString(L"HSL:0,100," + tiny), color), eOk);
    EXPECT_EQ(color, OdCmColor::byRGB(0, 0, 0));
    EXPECT_EQ(hostCmParseColor(OdString(L"HSL:" + tiny + L",100,50"), color), eOk);
    EXPECT_EQ(color, OdCmColor::byRGB(255, 0, 0));
    EXPECT_EQ(hostCmParseColor(OdString(L"HSL:" + std::wstring(400, L'0') + L"120,100,25"), color), eOk);
    EXPECT_EQ(color, OdCmColor::byRGB(0, 128, 0));
}

TEST(HostColorParse, TheRgbReaderTakesTrueColoursOnly)
{
    OdCmColor color;
    EXPECT_EQ(hostCmGetColorFromRGBName(L"12,34,56", color), eOk);
    EXPECT_EQ(color, OdCmColor::byRGB(12, 34, 56));
    EXPECT_EQ(hostCmGetColorFromRGBName(L" RGB:1,2,3 ", color), eOk);
    EXPECT_EQ(color, OdCmColor::byRGB(1, 2, 3));
    for (const wchar_t* text : {L"red", L"7", L"bylayer", L"HSL:0,100,50", L"256,0,0", L""})
        EXPECT_EQ(hostCmGetColorFromRGBName(text, color), eInvalidInput) << OdString(text).toUtf8();
    EXPECT_EQ(color, OdCmColor::byRGB(1, 2, 3));
}

TEST(HostColorNames, NineNamesInTheActiveLanguageThatTheParserReads)
{
    std::array<OdString, kHostColorNameCount> names;
    hostCmGetLocalizedColorNames(names);
    EXPECT_EQ(names,
              (std::array<OdString, kHostColorNameCount>{L"ByLayer", L"ByBlock", L"Red", L"Yellow", L"Green", L"Cyan",
                                                         L"Blue", L"Magenta", L"White"}));

    vantrel::installCatalogue(vantrel::TranslationCatalogue::parse("Red\tRot\nByLayer\tVonLayer\n", "test"));
    hostCmGetLocalizedColorNames(names);
    OdCmColor red, byLayer, english;
    const bool parsed = hostCmParseColor(L"rot", red) == eOk && hostCmParseColor(L"VONLAYER", byLayer) == eOk
        && hostCmParseColor(L"red", english) == eOk;
    vantrel::installCatalogue(std::nullopt);

    EXPECT_EQ(names[0], OdString(L"VonLayer"));
    EXPECT_EQ(names[2], OdString(L"Rot"));
    EXPECT_EQ(names[3], OdString(L"Yellow"));
    EXPECT_TRUE(parsed);
    EXPECT_EQ(red, OdCmColor::byIndex(1));
    EXPECT_TRUE(byLayer.isByLayer());
}

class HostColorDialog : public EditorFixture {
protected:
    bool choose(const std::string& lines, bool allowMeta = false, int tabs = kColorTabAll,
                const OdCmColor& current = OdCmColor::byRGB(255, 255, 255))
    {
        script(lines);
        return hostSetColorDialogTrueColor(color, allowMeta, current, tabs, engine.window());
    }

    OdCmColor color = OdCmColor::byIndex(3);
};

TEST_F(HostColorDialog, AcceptsAColourOrTheCurrentOneAndCancelLeavesTheColour)
{
    EXPECT_TRUE(choose("!dlg color 255,0,0\n"));
    EXPECT_EQ(color, OdCmColor::byRGB(255, 0, 0));
    EXPECT_TRUE(choose("!dlg COLOR blue\n"));
    EXPECT_EQ(color, OdCmColor::byIndex(5));
    EXPECT_TRUE(choose("!dlg ok\n", false, kColorTabAll, OdCmColor::byRGB(9, 8, 7)));
    EXPECT_EQ(color, OdCmColor::byRGB(9, 8, 7));
    EXPECT_TRUE(choose("\n", false, kColorTabAll, OdCmColor::byIndex(6)));
    EXPECT_EQ(color, OdCmColor::byIndex(6));
    // The end of the script comes last: after it every request is cancelled.
    for (const char* cancel : {"!dlg cancel\n", "!cancel\n", ""}) {
        EXPECT_FALSE(choose(cancel)) << cancel;
        EXPECT_EQ(color, OdCmColor::byIndex(6));
    }
    OdCmColor untouched = OdCmColor::byIndex(4);
    EXPECT_FALSE(hostSetColorDialogTrueColor(untouched, false, OdCmColor(), kColorTabAll, 999999));
    EXPECT_EQ(untouched, OdCmColor::byIndex(4));
}

TEST_F(HostColorDialog, WhatTheDialogCannotGiveIsRefusedAndAskedAgain)
{
    EXPECT_TRUE(choose("300,0,0\n!dlg click 1\nbylayer\n!click 1,1\n1,2,3\n"));
    EXPECT_EQ(color, OdCmColor::byRGB(1, 2, 3));
    EXPECT_EQ(output(),
              "Select color <255,255,255>: 300,0,0\n"
              "Invalid color.\n"
              "Select color <255,255,255>: !dlg click 1\n"
              "The color dialog takes !dlg color COLOR, !dlg ok or !dlg cancel.\n"
              "Select color <255,255,255>: bylayer\n"
              "BYLAYER and BYBLOCK are not available here.\n"
              "Select color <255,255,255>: !click 1,1\n"
              "A point is not accepted here.\n"
              "Select color <255,255,255>: 1,2,3\n");

    EXPECT_TRUE(choose("byblock\n", true));
    EXPECT_TRUE(color.isByBlock());
    EXPECT_TRUE(choose("red\n0,0,255\n", false, kColorTabTrueColor));
    EXPECT_EQ(color, OdCmColor::byRGB(0, 0, 255));
    EXPECT_TRUE(choose("0,0,255\n2\n", false, kColorTabIndex));
    EXPECT_EQ(color, OdCmColor::byIndex(2));
}

TEST_F(HostColorDialog, OpensOnAColourItTakesSoThatEnterAnswersIt)
{
    // A default colour (BYLAYER) without meta colours, and a palette colour where only true
    // colours are offered: the dialog opens on white, and Enter takes it.
    EXPECT_TRUE(choose("\n", false, kColorTabAll, OdCmColor()));
    EXPECT_EQ(color, OdCmColor::byRGB(255, 255, 255));
    EXPECT_TRUE(choose("!dlg ok\n", false, kColorTabTrueColor, OdCmColor::byIndex(1)));
    EXPECT_EQ(color, OdCmColor::byRGB(255, 255, 255));
    EXPECT_TRUE(choose("\n", false, kColorTabIndex, OdCmColor::byRGB(1, 2, 3)));
    EXPECT_EQ(color, OdCmColor::byIndex(7));
    // A colour it takes is its own default.
    EXPECT_TRUE(choose("\n", true, kColorTabAll, OdCmColor()));
    EXPECT_TRUE(color.isByLayer());
    EXPECT_EQ(output(),
              "Select color <255,255,255>: \n"
              "Select color <255,255,255>: !dlg ok\n"
              "Select color <white>: \n"
              "Select color <BYLAYER>: \n");
}
