// What TEXT and MTEXT share in laying out text: the %% codes, the face a text style names, and
// drawing a run with its underlines and overlines.
#pragma once

#include <vector>

#include <vantrel/db/OdDbObjectId.h>
#include <vantrel/db/WorldDraw.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel::textlayout {

// A stretch [from, to) of characters with a line drawn along it.
struct VANTREL_DB_FOR_TESTS Decoration {
    enum Kind { Underline, Overline, Strike } kind;
    int from, to;
};

struct VANTREL_DB_FOR_TESTS DecodedText {
    OdString text;
    std::vector<Decoration> lines;
};

// Replaces %%c (diameter), %%d (degree), %%p (plus-minus), %%% and %%nnn (a character code); %%u,
// %%o and %%k switch underline, overline and strike-through on and off. Other %% sequences stay.
VANTREL_DB_FOR_TESTS DecodedText decodePercentCodes(const OdString& text);

// The face of a text style's font (Sans for a null or missing style).
VANTREL_DB_FOR_TESTS FontFace styleFace(OdDbObjectId textStyle);

// Draws the run and the lines along the stretches of its text they cover.
VANTREL_DB_FOR_TESTS void drawRun(WorldDraw& wd, const TextRun& run, const std::vector<Decoration>& lines = {});

} // namespace vantrel::textlayout
