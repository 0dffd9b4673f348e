// The option loops of the light commands and every sub-dialogue they open. Each sub-dialogue
// writes into the light at once; the loops' caller decides whether the light is kept.
#include "light/LightOptions.h"

#include <array>
#include <numbers>

#include <vantrel/db/OdError.h>
#include <vantrel/host/HostEditor.h>
#include <vantrel/hxicore/Fio.h>
#include <vantrel/hxicore/ResTranslation.h>

#include "frame/module_instance.h"
#include "light/LightColorInput.h"
#include "light/LightVocabulary.h"

namespace {

using vantrel::loadResource;

// Keyword answers of the sub-dialogues, by position in their lists.
constexpr InputResult kFirst = kInputFirstKeyword;

constexpr double kEps = LightOptions::kTolerance;

template <class... Args>
CXStringW formatted(unsigned id, const Args&... args)
{
    CXStringW text;
    text.Format(loadResource(id), args...);
    return text;
}

double degrees(double radians) { return radians * (1.0 / std::numbers::pi) * 180.0; }

double radians(double degrees) { return degrees * std::numbers::pi * (1.0 / 180.0); }

// A value within the tolerance below zero is taken as zero: kept as it was typed, it would be
// stored below zero (or as -0) and offered back as "<-0>".
double snappedToZero(double value) { return value <= 0.0 && value >= -kEps ? 0.0 : value; }

} // namespace

LightOptions::Outcome LightOptions::run()
{
    const CXStringW prompt = loadResource(kOptionPrompt);
    const CXStringW keywords = loadResource(loopKeywords());
    const std::span<const Option> options = loopOptions();
    for (;;) {
        const InputResult r = m_editor.getKeyword(prompt, keywords, kAcceptEmpty);
        if (r == kInputCancel)
            return Outcome::kCancelled;
        if (r == kInputEmpty)
            return Outcome::kFinished;
        if (r < kFirst || static_cast<std::size_t>(r - kFirst) >= options.size())
            continue;
        switch (options[static_cast<std::size_t>(r - kFirst)]) {
        case Option::kName: onName(); break;
        case Option::kIntensity: onIntensity(); break;
        case Option::kStatus: onStatus(); break;
        case Option::kPhotometry: onPhotometry(); break;
        case Option::kHotspot: onHotspot(); break;
        case Option::kFalloff: onFalloff(); break;
        case Option::kWeb: onWeb(); break;
        case Option::kAttenuation: onAttenuation(); break;
        case Option::kFilterColor: askFilterColor(m_editor, m_light); break;
        case Option::kExit: return Outcome::kFinished;
        }
    }
}

unsigned LightOptions::loopKeywords() const
{
    switch (m_light.lightType()) {
    case OdGiDrawable::kSpotLight: return kSpotKeywords;
    case OdGiDrawable::kWebLight: return kWebLightKeywords;
    case OdGiDrawable::kDistantLight: return kDistantKeywords;
    default: return kPointKeywords;
    }
}

std::span<const LightOptions::Option> LightOptions::loopOptions() const
{
    using enum Option;
    static constexpr std::array point{kName, kIntensity, kStatus, kPhotometry, kAttenuation, kFilterColor, kExit};
    static constexpr std::array spot{kName,    kIntensity,   kStatus,      kPhotometry, kHotspot,
                                     kFalloff, kAttenuation, kFilterColor, kExit};
    static constexpr std::array web{kName, kIntensity, kStatus, kPhotometry, kWeb, kAttenuation, kFilterColor, kExit};
    static constexpr std::array distant{kName, kIntensity, kStatus, kPhotometry, kFilterColor, kExit};
    switch (m_light.lightType()) {
    case OdGiDrawable::kSpotLight: return spot;
    case OdGiDrawable::kWebLight: return web;
    case OdGiDrawable::kDistantLight: return distant;
    default: return point;
    }
}

template <class Set>
bool LightOptions::applied(Set&& set)
{
    try {
        set();
        return true;
    } catch (const OdError& e) {
        // The values the light refuses as out of range here are all negative (or a zero
        // distance): the user is told in the loops' own words.
        if (e.code() == eOutOfRange)
            printResource(kValueMustBePositive);
        else
            m_editor.printMessage(L"\n%s", e.description());
        return false;
    }
}

bool LightOptions::setPhotometric(OdDbLight::PhysicalIntensityMethod method, double value)
{
    const OdDbLight::PhysicalIntensityMethod before = m_light.physicalIntensityMethod();
    return applied([&] {
        m_light.setPhysicalIntensityMethod(method);
        try {
            m_light.setPhysicalIntensity(value);
        } catch (const OdError&) {
            m_light.setPhysicalIntensityMethod(before); // a refused value changes nothing
            throw;
        }
    });
}

void LightOptions::printResource(unsigned id) { m_editor.printMessage(L"%s", loadResource(id)); }

void LightOptions::onName()
{
    for (;;) {
        OdString typed;
        const InputResult r = m_editor.getKeyword(
            formatted(kNamePrompt, makeDefaultLightName(m_db, m_light.lightType())), nullptr, kNameFlags, &typed);
        if (r != kInputText) {
            m_light.setName(makeDefaultLightName(m_db, m_light.lightType()));
            return;
        }
        if (typed.getLength() >= 256) {
            printResource(kNameTooLong);
        } else if (hasRestrictedSymbols(typed)) {
            CXStringW message;
            getLightNameRestrictedSymbolsMsg(message);
            m_editor.printMessage(L"%s", message);
        } else if (applied([&] { m_light.setName(typed); })) {
            return;
        }
    }
}

void LightOptions::onIntensity()
{
    double value = 0.0;
    if (m_editor.getReal(value, formatted(kIntensityPrompt, m_light.intensity()), nullptr, kNumberFlags) != kInputValue)
        return;
    if (value > kMaxIntensity + kEps)
        value = kMaxIntensity;
    applied([&] { m_light.setIntensity(snappedToZero(value)); });
}

void LightOptions::onStatus()
{
    const CXStringW current = Supp_Translate(m_light.isOn() ? L"On" : L"Off");
    switch (m_editor.getKeyword(formatted(kStatusPrompt, current), loadResource(kOnOffKeywords), kAcceptEmpty)) {
    case kFirst: m_light.setOn(true); break;
    case kFirst + 1: m_light.setOn(false); break;
    default: break;
    }
}

void LightOptions::onPhotometry()
{
    enum : InputResult { kIntensity = kFirst, kColor, kExit };
    const CXStringW prompt = loadResource(kPhotometryPrompt);
    const CXStringW keywords = loadResource(kPhotometryKeywords);
    for (;;) {
        switch (m_editor.getKeyword(prompt, keywords, 0)) {
        case kIntensity: onPhotometricIntensity(); break;
        case kColor: askLampColor(m_editor, m_light); break;
        case kExit:
        case kInputEmpty:
        case kInputCancel: return;
        default: break;
        }
    }
}

void LightOptions::onPhotometricIntensity()
{
    enum : InputResult { kFlux = kFirst, kIlluminance };
    const CXStringW keywords = loadResource(kCandelaKeywords);
    for (;;) {
        double value = 0.0;
        switch (
            m_editor.getReal(value, formatted(kCandelaPrompt, m_light.physicalIntensity()), keywords, kCandelaFlags)) {
        case kInputValue:
            if (setPhotometric(OdDbLight::kPeakIntensity, value))
                return;
            break;
        case kFlux: onFlux(); return;
        case kIlluminance: onIlluminance(); return;
        case kInputCancel:
        case kInputEmpty: return;
        default: break;
        }
    }
}

InputResult LightOptions::askNonNegative(const wchar_t* prompt, const wchar_t* keywords, double& value)
{
    for (;;) {
        const InputResult r = m_editor.getReal(value, prompt, keywords, kNumberFlags);
        if (r != kInputValue)
            return r;
        if (value >= -kEps) {
            value = snappedToZero(value);
            return r;
        }
        printResource(kValueMustBePositive);
    }
}

void LightOptions::onFlux()
{
    const CXStringW prompt = loadResource(kFluxPrompt);
    for (;;) {
        double value = 0.0;
        const InputResult r = askNonNegative(prompt, nullptr, value);
        if (r == kInputEmpty)
            return;
        if (r == kInputValue && setPhotometric(OdDbLight::kFlux, value))
            return;
    }
}

void LightOptions::onIlluminance()
{
    enum : InputResult { kDistance = kFirst };
    const CXStringW prompt = loadResource(kIlluminancePrompt);
    const CXStringW keywords = loadResource(kIlluminanceKeywords);
    for (;;) {
        double value = 0.0;
        switch (askNonNegative(prompt, keywords, value)) {
        case kInputValue:
            if (setPhotometric(OdDbLight::kIlluminance, value))
                return;
            break;
        case kDistance: onIlluminanceDistance(); break;
        case kInputCancel:
        case kInputEmpty: return;
        default: break;
        }
    }
}

void LightOptions::onIlluminanceDistance()
{
    for (;;) {
        double value = 0.0;
        const InputResult r = askNonNegative(formatted(kDistancePrompt, m_light.illuminanceDistance()), nullptr, value);
        if (r == kInputEmpty)
            return;
        if (r == kInputValue && applied([&] { m_light.setIlluminanceDistance(value); }))
            return;
    }
}

bool LightOptions::askConeAngle(unsigned promptId, double currentRadians, double& angle)
{
    for (;;) {
        double value = 0.0;
        const InputResult r
            = m_editor.getReal(value, formatted(promptId, degrees(currentRadians)), nullptr, kNumberFlags);
        if (r == kInputCancel || r == kInputEmpty)
            return false;
        if (r != kInputValue)
            continue;
        if (value >= -kEps && value <= 160.0 + kEps) {
            angle = radians(snappedToZero(value));
            return true;
        }
        printResource(kHotspotOutOfRange);
    }
}

bool LightOptions::setCone(double hotspot, double falloff)
{
    bool taken = false;
    if (!applied([&] { taken = m_light.setHotspotAndFalloff(hotspot, falloff); }))
        return false;
    // The light keeps its cone when it refuses the pair: say why, so that the prompt asked
    // again does not look as if the value had been taken.
    if (!taken && falloff <= 0.0)
        printResource(kFalloffNotPositive);
    else if (!taken)
        m_editor.printMessage(loadResource(kHotspotWiderThanFalloff), degrees(hotspot), degrees(falloff));
    return taken;
}

void LightOptions::onHotspot()
{
    double hotspot = 0.0;
    while (askConeAngle(kHotspotPrompt, m_light.hotspotAngle(), hotspot)) {
        if (setCone(hotspot, m_light.falloffAngle()))
            return;
    }
}

void LightOptions::onFalloff()
{
    double falloff = 0.0;
    while (askConeAngle(kFalloffPrompt, m_light.falloffAngle(), falloff)) {
        if (setCone(m_light.hotspotAngle(), falloff))
            return;
    }
}

void LightOptions::onWeb()
{
    enum : InputResult { kFile = kFirst, kX, kY, kZ, kExit };
    const CXStringW prompt = loadResource(kSubOptionPrompt);
    const CXStringW keywords = loadResource(kWebKeywords);
    for (;;) {
        switch (m_editor.getKeyword(prompt, keywords, 0)) {
        case kFile: onWebFile(); break;
        case kX: onWebRotation(0); break;
        case kY: onWebRotation(1); break;
        case kZ: onWebRotation(2); break;
        case kExit:
        case kInputEmpty: return;
        default: break; // Esc included: only eXit or Enter leave Web
        }
    }
}

void LightOptions::onWebFile()
{
    const CXStringW prompt = loadResource(kWebFilePrompt);
    for (;;) {
        OdString typed;
        const InputResult r = m_editor.getKeyword(prompt, nullptr, kTextFlags, &typed);
        if (r == kInputEmpty)
            return;
        if (r != kInputText || typed.isEmpty())
            continue;
        if (!Fio_IsFileExist(typed)) {
            m_editor.printMessage(loadResource(kCannotFindFile), typed);
            continue;
        }
        if (applied([&] { m_light.setWebFile(typed); }))
            return;
    }
}

void LightOptions::onWebRotation(int axis)
{
    static constexpr std::array<double OdGeVector3d::*, 3> kComponent{&OdGeVector3d::x, &OdGeVector3d::y,
                                                                      &OdGeVector3d::z};
    double OdGeVector3d::*component = kComponent.at(static_cast<std::size_t>(axis));
    for (;;) {
        OdGeVector3d rotation = m_light.webRotation();
        double value = 0.0;
        const InputResult r
            = m_editor.getReal(value, formatted(kWebRotationXPrompt + static_cast<unsigned>(axis), rotation.*component),
                               nullptr, kNumberFlags);
        if (r == kInputEmpty)
            return;
        if (r != kInputValue)
            continue; // Esc included
        if (value < -kEps || value > 360.0 + kEps) {
            printResource(kWebRotationOutOfRange);
            continue;
        }
        rotation.*component = snappedToZero(value);
        if (applied([&] { m_light.setWebRotation(rotation); }))
            return;
    }
}

void LightOptions::onAttenuation()
{
    enum : InputResult { kType = kFirst, kUseLimits, kStartLimit, kEndLimit, kExit };
    const CXStringW prompt = loadResource(kSubOptionPrompt);
    const CXStringW keywords = loadResource(kAttenuationKeywords);
    for (;;) {
        switch (m_editor.getKeyword(prompt, keywords, kAcceptEmpty)) {
        case kType: onAttenuationType(); break;
        case kUseLimits: onUseLimits(); break;
        case kStartLimit: onStartLimit(); break;
        case kEndLimit: onEndLimit(); break;
        case kExit:
        case kInputEmpty:
        case kInputCancel: return;
        default: break;
        }
    }
}

void LightOptions::onAttenuationType()
{
    const InputResult r = m_editor.getKeyword(loadResource(kAttenuationTypePrompt),
                                              loadResource(kAttenuationTypeKeywords), kAcceptEmpty);
    OdGiLightAttenuation attenuation = m_light.lightAttenuation();
    switch (r) {
    case kFirst: attenuation.setAttenuationType(OdGiLightAttenuation::kNone); break;
    case kFirst + 1: attenuation.setAttenuationType(OdGiLightAttenuation::kInverseLinear); break;
    case kFirst + 2: attenuation.setAttenuationType(OdGiLightAttenuation::kInverseSquare); break;
    default: break;
    }
    applied([&] { m_light.setLightAttenuation(attenuation); });
}

void LightOptions::onUseLimits()
{
    const InputResult r
        = m_editor.getKeyword(loadResource(kUseLimitsPrompt), loadResource(kOnOffKeywords), kAcceptEmpty);
    if (r == kInputEmpty)
        return;
    OdGiLightAttenuation attenuation = m_light.lightAttenuation();
    if (r == kFirst)
        attenuation.setUseLimits(true);
    else if (r == kFirst + 1)
        attenuation.setUseLimits(false);
    applied([&] { m_light.setLightAttenuation(attenuation); });
}

void LightOptions::onStartLimit()
{
    for (;;) {
        double value = 0.0;
        const InputResult r
            = askNonNegative(formatted(kStartLimitPrompt, m_light.lightAttenuation().startLimit()), nullptr, value);
        if (r == kInputEmpty)
            return;
        if (r != kInputValue)
            continue; // Esc included
        OdGiLightAttenuation attenuation = m_light.lightAttenuation();
        // A start at or past the end moves the end there and keeps one unit between them.
        if (value >= attenuation.endLimit() - kEps)
            attenuation.setLimits(value - 1.0, value);
        else
            attenuation.setLimits(value, attenuation.endLimit());
        attenuation.setUseLimits(true);
        if (applied([&] { m_light.setLightAttenuation(attenuation); }))
            return;
    }
}

void LightOptions::onEndLimit()
{
    for (;;) {
        double value = 0.0;
        const InputResult r
            = askNonNegative(formatted(kEndLimitPrompt, m_light.lightAttenuation().endLimit()), nullptr, value);
        if (r == kInputEmpty)
            return;
        if (r != kInputValue)
            continue; // Esc included
        OdGiLightAttenuation attenuation = m_light.lightAttenuation();
        // An end at or before the start moves the start one unit before it.
        const double start = value > attenuation.startLimit() + kEps ? attenuation.startLimit() : value - 1.0;
        attenuation.setLimits(start, value);
        if (applied([&] { m_light.setLightAttenuation(attenuation); }))
            return;
    }
}
