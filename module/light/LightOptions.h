// The property option loops of the light commands: one loop per light type, in which each
// option is a small sub-dialogue that asks for one value, checks it and sets it on the light
// under construction. The light is not in the drawing yet, so a cancelled loop discards it.
#pragma once

#include <span>

#include <vantrel/db/OdDbLight.h>
#include <vantrel/host/InputResult.h>

class HostEditor;
class OdDbDatabase;

class LightOptions {
public:
    // String resources of the loops and their sub-dialogues.
    static constexpr unsigned kAttenuationKeywords = 139;
    static constexpr unsigned kAttenuationTypeKeywords = 140;
    static constexpr unsigned kAttenuationTypePrompt = 141;
    static constexpr unsigned kUseLimitsPrompt = 142;
    static constexpr unsigned kStartLimitPrompt = 143;
    static constexpr unsigned kEndLimitPrompt = 144;
    static constexpr unsigned kValueMustBePositive = 145;
    static constexpr unsigned kSubOptionPrompt = 146;
    static constexpr unsigned kPhotometryKeywords = 147;
    static constexpr unsigned kPhotometryPrompt = 148;
    static constexpr unsigned kCandelaPrompt = 149;
    static constexpr unsigned kCandelaKeywords = 150;
    static constexpr unsigned kFluxPrompt = 151;
    static constexpr unsigned kIlluminancePrompt = 152;
    static constexpr unsigned kIlluminanceKeywords = 153;
    static constexpr unsigned kDistancePrompt = 154;
    static constexpr unsigned kOptionPrompt = 157;
    static constexpr unsigned kPointKeywords = 158;
    static constexpr unsigned kNamePrompt = 159;
    static constexpr unsigned kIntensityPrompt = 160;
    static constexpr unsigned kOnOffKeywords = 161;
    static constexpr unsigned kStatusPrompt = 162;
    static constexpr unsigned kNameTooLong = 167;
    static constexpr unsigned kHotspotOutOfRange = 173;
    static constexpr unsigned kFalloffPrompt = 174;
    static constexpr unsigned kHotspotPrompt = 175;
    static constexpr unsigned kWebFilePrompt = 176;
    static constexpr unsigned kWebKeywords = 177;
    static constexpr unsigned kCannotFindFile = 178;
    static constexpr unsigned kWebRotationXPrompt = 179; // Y and Z follow
    static constexpr unsigned kWebRotationOutOfRange = 182;
    static constexpr unsigned kDistantKeywords = 183;
    static constexpr unsigned kSpotKeywords = 186;
    static constexpr unsigned kWebLightKeywords = 187;
    static constexpr unsigned kHotspotWiderThanFalloff = 192;
    static constexpr unsigned kFalloffNotPositive = 193;

    // Request flags of the sub-dialogues.
    static constexpr InputFlags kNameFlags = 7;
    static constexpr InputFlags kTextFlags = 6;
    static constexpr InputFlags kNumberFlags = 260;
    static constexpr InputFlags kCandelaFlags = 262;

    // Brightness above this is taken as this, without a message.
    static constexpr double kMaxIntensity = 1000000.0;
    // Every range test allows this much beyond its bounds.
    static constexpr double kTolerance = 1e-10;

    enum class Outcome { kFinished, kCancelled };

    // db is the drawing the light is meant for: its lights number the default names.
    LightOptions(HostEditor& editor, OdDbLight& light, OdDbDatabase* db) : m_editor(editor), m_light(light), m_db(db) {}

    // The loop of the light's type until eXit or Enter (finished) or Esc (cancelled).
    Outcome run();

private:
    enum class Option {
        kName,
        kIntensity,
        kStatus,
        kPhotometry,
        kHotspot,
        kFalloff,
        kWeb,
        kAttenuation,
        kFilterColor,
        kExit
    };

    // The keyword resource of the light's loop and the option each of its keywords runs.
    unsigned loopKeywords() const;
    std::span<const Option> loopOptions() const;

    void onName();
    void onIntensity();
    void onStatus();
    void onPhotometry();
    void onPhotometricIntensity();
    void onFlux();
    void onIlluminance();
    void onIlluminanceDistance();
    void onHotspot();
    void onFalloff();
    // Asks for one cone angle in degrees; answers it in radians, or false when none was given.
    bool askConeAngle(unsigned promptId, double currentRadians, double& angle);
    // Sets both cone angles, or says why the light refused them; true when they were taken.
    bool setCone(double hotspot, double falloff);
    void onWeb();
    void onWebFile();
    void onWebRotation(int axis);
    void onAttenuation();
    void onAttenuationType();
    void onUseLimits();
    void onStartLimit();
    void onEndLimit();
    // Asks until the answer is not a negative number (145 for each one): a number of at least 0
    // (within the tolerance), Enter, Esc or a keyword.
    InputResult askNonNegative(const wchar_t* prompt, const wchar_t* keywords, double& value);

    // Runs a setter of the light; a value the light refuses (OdError) is reported on the command
    // line and answers false, so that the sub-dialogue can ask again.
    template <class Set>
    bool applied(Set&& set);
    // The photometric intensity in the unit of the method; false (nothing changed) when the
    // light refuses the value.
    bool setPhotometric(OdDbLight::PhysicalIntensityMethod method, double value);
    void printResource(unsigned id);

    HostEditor& m_editor;
    OdDbLight& m_light;
    OdDbDatabase* m_db;
};
