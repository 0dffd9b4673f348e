// The colour dialogues of the light commands. Colour texts are read by the host's colour
// parser; a light's colour changes only when the parser accepts the text.
#include "light/LightColorInput.h"

#include <cwctype>
#include <string>

#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdError.h>
#include <vantrel/host/HostEditor.h>
#include <vantrel/host/hostcolor.h>

#include "frame/module_instance.h"
#include "light/LightVocabulary.h"

using namespace vantrel::lightcolor;
using vantrel::loadResource;

namespace {

// Free text with its blanks trimmed, or Enter (kAcceptText | kAcceptEmpty).
constexpr InputFlags kColorTextFlags = 6;
// A number or Enter; 256 has no meaning to this host.
constexpr InputFlags kKelvinFlags = 260;
// Past this an index is refused without asking the parser.
constexpr unsigned long kLargestIndexForParser = 256;
constexpr double kTolerance = 1e-10;

// The keyword answers of the colour prompts (kInputFirstKeyword + position).
constexpr InputResult kIndexKeyword = kInputFirstKeyword;
constexpr InputResult kHslKeyword = kInputFirstKeyword + 1;
constexpr InputResult kListKeyword = kInputFirstKeyword;
constexpr InputResult kKelvinKeyword = kInputFirstKeyword + 1;

void printResource(HostEditor& editor, unsigned id) { editor.printMessage(loadResource(id).c_str()); }

bool onlyDigits(const OdString& text) { return text.str().find_first_not_of(L"0123456789") == std::wstring::npos; }

// The digits as a number, saturated just above the largest index the parser is asked about.
unsigned long indexValue(const OdString& text)
{
    unsigned long value = 0;
    for (wchar_t c : text.str()) {
        value = value * 10 + static_cast<unsigned long>(c - L'0');
        if (value > kLargestIndexForParser)
            return kLargestIndexForParser + 1;
    }
    return value;
}

void askIndexColor(HostEditor& editor, OdDbLight& light)
{
    for (;;) {
        OdString text;
        InputResult result = editor.getKeyword(loadResource(kIndexPrompt), nullptr, kColorTextFlags, &text);
        if (result == kInputEmpty || result == kInputCancel)
            return;
        if (result != kInputText)
            continue;
        if (!onlyDigits(text) || indexValue(text) <= kLargestIndexForParser) {
            OdCmColor color;
            if (hostCmParseColor(text, color) == eOk) {
                light.setLightColor(color);
                return;
            }
        }
        printResource(editor, kInvalidIndex);
    }
}

void askHslColor(HostEditor& editor, OdDbLight& light)
{
    for (;;) {
        OdString text;
        InputResult result = editor.getKeyword(loadResource(kHslPrompt), nullptr, kColorTextFlags, &text);
        if (result == kInputCancel || result == kInputEmpty)
            return;
        if (result != kInputText)
            continue;
        OdCmColor color;
        if (hostCmParseColor(OdString(L"HSL:" + text.str()), color) == eOk) {
            light.setLightColor(color);
            return;
        }
        printResource(editor, kInvalidHsl);
    }
}

std::wstring lowered(const OdString& text)
{
    std::wstring out = text.str();
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

void listPresets(HostEditor& editor)
{
    OdString text;
    InputResult result = editor.getKeyword(loadResource(kListPresetsPrompt), nullptr, kColorTextFlags, &text);
    if (result == kInputEmpty) {
        editor.printMessage(L"\n ");
        for (const auto& [value, name] : lampPresets())
            editor.printMessage(L"\"%s\"\n", lowered(name));
    } else if (result == kInputText) {
        int preset = colorPresetStrToLampColorPreset(text);
        if (preset < 0)
            editor.printMessage(loadResource(kNotAPreset).c_str(), text);
        else
            editor.printMessage(L"\n%s\n", lampColorPresetToStr(static_cast<OdDbLight::LampColorPreset>(preset)));
    }
}

void askKelvin(HostEditor& editor, OdDbLight& light)
{
    for (;;) {
        double kelvin = 0.0;
        InputResult result = editor.getReal(kelvin, loadResource(kKelvinPrompt), nullptr, kKelvinFlags);
        if (result == kInputEmpty)
            return;
        if (result != kInputValue)
            continue;
        if (kelvin < -kTolerance) {
            printResource(editor, kValueMustBePositive);
            continue;
        }
        light.setLampColorType(OdDbLight::kKelvin);
        try {
            light.setLampColorTemp(kelvin);
        } catch (const OdError&) {
            printResource(editor, kKelvinOutOfRange);
            continue;
        }
        return;
    }
}

} // namespace

void askFilterColor(HostEditor& editor, OdDbLight& light)
{
    for (;;) {
        OdString text;
        InputResult result = editor.getKeyword(loadResource(kTrueColorPrompt), loadResource(kTrueColorKeywords),
                                               kColorTextFlags, &text);
        switch (result) {
        case kInputText: {
            OdCmColor color;
            if (hostCmGetColorFromRGBName(text, color) == eOk || hostCmParseColor(text, color) == eOk) {
                light.setLightColor(color);
                return;
            }
            printResource(editor, kInvalidColor);
            break;
        }
        case kIndexKeyword: askIndexColor(editor, light); return;
        case kHslKeyword: askHslColor(editor, light); return;
        case kInputEmpty:
        case kInputCancel: return;
        default: break;
        }
    }
}

void askLampColor(HostEditor& editor, OdDbLight& light)
{
    for (;;) {
        OdString text;
        InputResult result = editor.getKeyword(loadResource(kLampColorPrompt), loadResource(kLampColorKeywords),
                                               kColorTextFlags, &text);
        switch (result) {
        case kInputText: {
            int preset = colorPresetStrToLampColorPreset(text);
            if (preset < 0) {
                editor.printMessage(loadResource(kNotAPreset).c_str(), text);
            } else {
                light.setLampColorType(OdDbLight::kPreset);
                light.setLampColorPreset(static_cast<OdDbLight::LampColorPreset>(preset));
            }
            break;
        }
        case kListKeyword: listPresets(editor); break;
        case kKelvinKeyword: askKelvin(editor, light); return;
        case kInputEmpty:
        case kInputCancel: return;
        default: break;
        }
    }
}
