// Colour texts and the colour dialog of the host. Texts are read strictly: a text that is not
// exactly one of the documented forms is an error, never a guessed colour.
#include <vantrel/host/hostcolor.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/HostEditor.h>
#include <vantrel/host/InputEngine.h>
#include <vantrel/host/InputSyntax.h>
#include <vantrel/host/Transcript.h>
#include <vantrel/host/host_message_box.h>
#include <vantrel/hxicore/ResTranslation.h>
#include "utils/ignore_case.h"

namespace {

using vantrel::equalsIgnoringCase;
using vantrel::InputEngine;
using vantrel::InputSyntax;

// The untranslated keys of the named colours; index 2 onwards are palette colours 1 to 7.
constexpr std::array<const wchar_t*, kHostColorNameCount> kColorNames = {
    L"ByLayer", L"ByBlock", L"Red", L"Yellow", L"Green", L"Cyan", L"Blue", L"Magenta", L"White",
};
constexpr std::size_t kFirstPaletteName = 2;

// Removes a case-insensitive prefix such as "HSL:"; false when the text does not start with it.
bool takePrefix(std::wstring_view& text, std::wstring_view prefix)
{
    if (text.size() < prefix.size() || !equalsIgnoringCase(text.substr(0, prefix.size()), prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

std::vector<std::wstring_view> splitAtCommas(std::wstring_view text)
{
    std::vector<std::wstring_view> parts;
    for (;;) {
        std::size_t comma = text.find(L',');
        parts.push_back(InputSyntax::trim(text.substr(0, comma)));
        if (comma == std::wstring_view::npos)
            return parts;
        text.remove_prefix(comma + 1);
    }
}

// Decimal digits only, at most `limit`.
std::optional<int> wholeNumber(std::wstring_view text, int limit)
{
    if (text.empty())
        return std::nullopt;
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

// Digits with at most one decimal point and at least one digit; no sign, no exponent.
std::optional<double> plainDecimal(std::wstring_view text)
{
    bool digit = false;
    bool point = false;
    for (wchar_t c : text) {
        if (c == L'.' && !point)
            point = true;
        else if (c >= L'0' && c <= L'9')
            digit = true;
        else
            return std::nullopt;
    }
    if (!digit)
        return std::nullopt;
    const std::string narrow(text.begin(), text.end());
    double value = 0.0;
    const std::from_chars_result read = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        // Too many digits for a double: too large unless every digit before the point is 0.
        const std::size_t whole = narrow.find('.');
        return narrow.find_first_not_of('0') >= std::min(whole, narrow.size()) ? std::optional(0.0) : std::nullopt;
    }
    return value;
}

std::optional<OdCmColor> parseRgb(std::wstring_view text)
{
    std::vector<std::wstring_view> parts = splitAtCommas(text);
    if (parts.size() != 3)
        return std::nullopt;
    std::optional<int> r = wholeNumber(parts[0], 255);
    std::optional<int> g = wholeNumber(parts[1], 255);
    std::optional<int> b = wholeNumber(parts[2], 255);
    if (!r || !g || !b)
        return std::nullopt;
    return OdCmColor::byRGB(static_cast<std::uint8_t>(*r), static_cast<std::uint8_t>(*g),
                            static_cast<std::uint8_t>(*b));
}

std::uint8_t toByte(double unit) { return static_cast<std::uint8_t>(std::lround(std::clamp(unit, 0.0, 1.0) * 255.0)); }

// Hue in degrees, saturation and lightness in percent; the usual hexcone conversion.
std::optional<OdCmColor> parseHsl(std::wstring_view text)
{
    std::vector<std::wstring_view> parts = splitAtCommas(text);
    if (parts.size() != 3)
        return std::nullopt;
    std::optional<double> h = plainDecimal(parts[0]);
    std::optional<double> s = plainDecimal(parts[1]);
    std::optional<double> l = plainDecimal(parts[2]);
    if (!h || !s || !l || *h > 360.0 || *s > 100.0 || *l > 100.0)
        return std::nullopt;
    const double sat = *s / 100.0;
    const double light = *l / 100.0;
    const double chroma = (1.0 - std::fabs(2.0 * light - 1.0)) * sat;
    const double sector = std::fmod(*h, 360.0) / 60.0;
    const double x = chroma * (1.0 - std::fabs(std::fmod(sector, 2.0) - 1.0));
    double r = 0.0, g = 0.0, b = 0.0;
    switch (static_cast<int>(sector)) {
    case 0:
        r = chroma;
        g = x;
        break;
    case 1:
        r = x;
        g = chroma;
        break;
    case 2:
        g = chroma;
        b = x;
        break;
    case 3:
        g = x;
        b = chroma;
        break;
    case 4:
        r = x;
        b = chroma;
        break;
    default:
        r = chroma;
        b = x;
        break;
    }
    const double m = light - chroma / 2.0;
    return OdCmColor::byRGB(toByte(r + m), toByte(g + m), toByte(b + m));
}

std::optional<OdCmColor> namedColor(std::wstring_view text)
{
    for (std::size_t i = 0; i < kColorNames.size(); ++i) {
        if (!equalsIgnoringCase(text, kColorNames[i])
            && !vantrel::equalsIgnoringCase(text, Supp_Translate(kColorNames[i]).str()))
            continue;
        if (i == 0)
            return OdCmColor(OdCmEntityColor::kByLayer);
        if (i == 1)
            return OdCmColor(OdCmEntityColor::kByBlock);
        return OdCmColor::byIndex(static_cast<std::int16_t>(i - kFirstPaletteName + 1));
    }
    return std::nullopt;
}

std::optional<OdCmColor> parseColor(std::wstring_view text)
{
    text = InputSyntax::trim(text);
    if (takePrefix(text, L"HSL:"))
        return parseHsl(text);
    if (takePrefix(text, L"RGB:") || text.find(L',') != std::wstring_view::npos)
        return parseRgb(text);
    if (std::optional<int> index = wholeNumber(text, 255))
        return *index >= 1 ? std::optional(OdCmColor::byIndex(static_cast<std::int16_t>(*index))) : std::nullopt;
    return namedColor(text);
}

// Why the dialog cannot give the colour, or nothing when it can.
std::optional<std::wstring> dialogRefusal(const OdCmColor& color, bool allowMetaColor, int tabs)
{
    if (color.isByLayer() || color.isByBlock())
        return allowMetaColor ? std::nullopt
                              : std::optional<std::wstring>(L"BYLAYER and BYBLOCK are not available here.");
    if (color.isByACI() && !(tabs & kColorTabIndex))
        return L"Color indices and names are not available here; give R,G,B.";
    if (color.isByColor() && !(tabs & kColorTabTrueColor))
        return L"True colors are not available here; give a color index or name.";
    return std::nullopt;
}

} // namespace

OdResult hostCmParseColor(const OdString& text, OdCmColor& color)
{
    std::optional<OdCmColor> parsed = parseColor(text.str());
    if (!parsed)
        return eInvalidInput;
    color = *parsed;
    return eOk;
}

OdResult hostCmGetColorFromRGBName(const OdString& text, OdCmColor& color)
{
    std::wstring_view rest = InputSyntax::trim(text.str());
    takePrefix(rest, L"RGB:");
    std::optional<OdCmColor> parsed = parseRgb(rest);
    if (!parsed)
        return eInvalidInput;
    color = *parsed;
    return eOk;
}

void hostCmGetLocalizedColorNames(std::array<OdString, kHostColorNameCount>& names)
{
    for (std::size_t i = 0; i < kColorNames.size(); ++i)
        names[i] = Supp_Translate(kColorNames[i]);
}

static HostColorChooser& colorChooser()
{
    static HostColorChooser chooser;
    return chooser;
}

HostColorChooser hostSetColorChooser(HostColorChooser chooser)
{
    return std::exchange(colorChooser(), std::move(chooser));
}

bool hostSetColorDialogTrueColor(OdCmColor& color, bool allowMetaColor, const OdCmColor& currentColor, int tabs,
                                 HostWindowId parent)
{
    InputEngine* engine = HostApplication::dialogEngine(parent);
    if (!engine)
        return false;

    // Enter answers the colour the dialog opens with, so it opens on one it takes here: white
    // in place of a BYLAYER or BYBLOCK it does not offer (the default colour, for one).
    const OdCmColor opening = !dialogRefusal(currentColor, allowMetaColor, tabs) ? currentColor
        : (tabs & kColorTabTrueColor)                                            ? OdCmColor::byRGB(255, 255, 255)
                                                                                 : OdCmColor::byIndex(7);
    if (const HostColorChooser& chooser = colorChooser()) {
        for (HostColorChoice choice = chooser(opening); choice.handled; choice = chooser(opening)) {
            if (!choice.color)
                return false;
            if (std::optional<std::wstring> why = dialogRefusal(*choice.color, allowMetaColor, tabs)) {
                hostMessageBox(why->c_str());
                continue;
            }
            color = *choice.color;
            return true;
        }
    }

    std::optional<OdCmColor> chosen;
    auto offer = [&](const OdCmColor& candidate) {
        if (std::optional<std::wstring> why = dialogRefusal(candidate, allowMetaColor, tabs))
            return InputEngine::Reply::refuse(*why);
        chosen = candidate;
        return InputEngine::Reply::of(kInputValue);
    };
    auto readText = [&](std::wstring_view text) {
        std::optional<OdCmColor> parsed = parseColor(text);
        return parsed ? offer(*parsed) : InputEngine::Reply::refuse(L"Invalid color.");
    };

    InputEngine::Request request;
    request.prompt = HostEditor::promptText((L"Select color <" + opening.description().str() + L">").c_str(), nullptr);
    request.onText = readText;
    request.refusal = L"A point is not accepted here.";
    request.onDialog = [&](std::wstring_view words) {
        std::size_t blank = words.find_first_of(L" \t");
        std::wstring_view event = words.substr(0, blank);
        std::wstring_view rest = blank == std::wstring_view::npos ? std::wstring_view() : words.substr(blank);
        if (equalsIgnoringCase(event, L"color") && !InputSyntax::trim(rest).empty())
            return readText(rest);
        if (equalsIgnoringCase(event, L"ok") && InputSyntax::trim(rest).empty())
            return offer(opening);
        if (equalsIgnoringCase(event, L"cancel") && InputSyntax::trim(rest).empty())
            return InputEngine::Reply::of(kInputCancel);
        return InputEngine::Reply::refuse(L"The color dialog takes !dlg color COLOR, !dlg ok or !dlg cancel.");
    };

    if (engine->run(request) == kInputEmpty)
        offer(opening); // Enter is OK with the colour the dialog opened with
    if (!chosen)
        return false;
    color = *chosen;
    return true;
}
