// The command-line dialogues that set a light's two colours: the filter colour (true colour,
// colour index or name, HSL) and the lamp colour (preset name, preset listing, Kelvin).
#pragma once

class HostEditor;
class OdDbLight;

// String resources of the colour dialogues.
namespace vantrel::lightcolor {
constexpr unsigned kTrueColorPrompt = 131;
constexpr unsigned kTrueColorKeywords = 133;
constexpr unsigned kIndexPrompt = 134;
constexpr unsigned kInvalidIndex = 135;
constexpr unsigned kInvalidColor = 136;
constexpr unsigned kHslPrompt = 137;
constexpr unsigned kInvalidHsl = 138;
constexpr unsigned kValueMustBePositive = 145;
constexpr unsigned kKelvinOutOfRange = 155;
constexpr unsigned kKelvinPrompt = 163;
constexpr unsigned kNotAPreset = 164;
constexpr unsigned kLampColorPrompt = 165;
constexpr unsigned kLampColorKeywords = 166;
constexpr unsigned kListPresetsPrompt = 168;
} // namespace vantrel::lightcolor

// Filter colour: a true colour "R,G,B" or a colour the host parser knows, or the Index and Hsl
// sub-dialogues. The light must be open for write; Enter or Esc leave it unchanged.
void askFilterColor(HostEditor& editor, OdDbLight& light);
// Lamp colour: preset names (asked again after each), the ? listing, and Kelvin.
void askLampColor(HostEditor& editor, OdDbLight& light);
