// Colours as the user names them: colour texts read into OdCmColor, the host's list of named
// colours, and the colour dialog (on a command line: a prompt, or `!dlg color` in a script).
#pragma once

#include <array>
#include <functional>
#include <optional>

#include <vantrel/db/OdCmColor.h>
#include <vantrel/db/OdResult.h>
#include <vantrel/db/OdString.h>
#include <vantrel/host/host_window.h>
#include <vantrel/host/HostExport.h>

// Reads a colour text, ignoring case and blanks around it and around each number:
//  - a palette index 1-255;
//  - a colour name: red yellow green cyan blue magenta white (indices 1-7), or its translation;
//  - BYLAYER, BYBLOCK (or their translations);
//  - "R,G,B", or "RGB:R,G,B": a true colour, each a whole number 0-255;
//  - "HSL:H,S,L": hue 0-360 degrees, saturation and lightness 0-100 percent (decimals allowed),
//    turned into a true colour.
// eOk with `color` set; eInvalidInput with `color` untouched for any other text.
VANTREL_HOST_EXPORT OdResult hostCmParseColor(const OdString& text, OdCmColor& color);

// Reads a true colour only: "R,G,B" or "RGB:R,G,B" (whole numbers 0-255). Colour names and
// indices are not true colours and answer eInvalidInput, as does anything else; `color` is
// only changed on eOk.
VANTREL_HOST_EXPORT OdResult hostCmGetColorFromRGBName(const OdString& text, OdCmColor& color);

// The host's named colours, translated, as a colour list shows them: ByLayer, ByBlock, Red,
// Yellow, Green, Cyan, Blue, Magenta, White. Each is accepted by hostCmParseColor.
constexpr int kHostColorNameCount = 9;
VANTREL_HOST_EXPORT void hostCmGetLocalizedColorNames(std::array<OdString, kHostColorNameCount>& names);

// Pages of the colour dialog: palette indices and names, true colours, colour books.
enum HostColorDialogTabs : int {
    kColorTabIndex = 1,
    kColorTabTrueColor = 2,
    kColorTabBooks = 4,
    kColorTabAll = 7,
};

// The colour dialog, shown on the command line of `parent` (0: the active document's, else the
// application's). It asks "Select color" with the current colour as its default (white when it
// does not take that colour, such as BYLAYER without allowMetaColor); it takes a
// colour text as hostCmParseColor reads it (a script may also give `!dlg color TEXT`), Enter
// or `!dlg ok` for the current colour, and Esc, `!cancel` or `!dlg cancel` to cancel. Index
// colours and names need kColorTabIndex, true colours kColorTabTrueColor (this host has no
// colour books); BYLAYER and BYBLOCK need allowMetaColor. A colour the dialog cannot give is
// refused with a message and asked again. True with `color` set when the user accepted; false,
// with `color` untouched, on cancel or when there is no command line.
// A front end's own colour chooser for that dialog: the colour chosen, or none when cancelled; or
// not handled, to leave the choice to the command line (a script gives it). A colour the dialog
// cannot give is refused in a message box and the chooser asked again.
struct VANTREL_HOST_EXPORT HostColorChoice {
    bool handled = false;
    std::optional<OdCmColor> color;
};
using HostColorChooser = std::function<HostColorChoice(const OdCmColor& opening)>;
// Answers the chooser before.
VANTREL_HOST_EXPORT HostColorChooser hostSetColorChooser(HostColorChooser chooser);

VANTREL_HOST_EXPORT bool hostSetColorDialogTrueColor(OdCmColor& color, bool allowMetaColor,
                                                     const OdCmColor& currentColor, int tabs = kColorTabAll,
                                                     HostWindowId parent = 0);
