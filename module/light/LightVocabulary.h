// The words lights are spoken of in: lamp colour preset names, light type names, the characters
// a light name may not hold, default names of new lights, and drawing lengths in metres. The
// six extern "C" functions are exported under their own names for other host modules (dlsym).
#pragma once

#include <map>

#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdGiDrawable.h>
#include <vantrel/db/OdString.h>
#include <vantrel/hxicore/CXStringW.h>

class OdDbDatabase;

#define VANTREL_LIGHT_EXPORT __attribute__((visibility("default")))

// Preset value (0-13) to its translated display name, ascending by value; filled on first use.
// The custom preset has no row.
using LampPresetTable = std::map<int, OdString>;
extern LampPresetTable lampPresetTable;
// Fills lampPresetTable when it is empty and answers it.
const LampPresetTable& lampPresets();

extern "C" {
// The preset whose display name equals the name (ignoring case), or -1.
VANTREL_LIGHT_EXPORT int colorPresetStrToLampColorPreset(const OdString& name);
// The display name of the preset; empty for a value without a name (the custom preset).
VANTREL_LIGHT_EXPORT OdString lampColorPresetToStr(OdDbLight::LampColorPreset preset);
// "Point", "Spotlight", "Web" or "Distant" (ignoring case) to its type; anything else is a point light.
VANTREL_LIGHT_EXPORT OdGiDrawable::DrawableType lightTypeStrToDrawableTypw(const OdString& name);
// The type name of a light type; empty for any other drawable type.
VANTREL_LIGHT_EXPORT OdString lightTypeToStr(OdGiDrawable::DrawableType type);
// Whether the name holds a character that light names may not contain.
VANTREL_LIGHT_EXPORT bool hasRestrictedSymbols(const OdString& name);
// The message that lists those characters (string resource 188 of this module).
VANTREL_LIGHT_EXPORT void getLightNameRestrictedSymbolsMsg(CXStringW& message);
}

// Whole-string comparison ignoring case under the user's locale (its letters fold; in the
// classic locale only A-Z).
bool lightNamesEqual(const OdString& a, const OdString& b);

// "Point light N" (and so on by type): N counts on while the lights of that type in model space,
// in their order, are named 1, 2, 3, ...; empty without a database or for a type that is no light.
OdString makeDefaultLightName(OdDbDatabase* db, OdGiDrawable::DrawableType type);
// A length in units of the active drawing (its INSUNITS code) in metres. Unitless (0) and
// unknown codes count as metres, and so does a length when no drawing is open.
double drawingLengthToMeters(double length);
// The same for a given INSUNITS code.
double drawingLengthToMeters(double length, int unitCode);
// True when every character is a digit or '.' (an empty text included).
bool isNumericText(const wchar_t* text);
