// The font text is measured and drawn with: advances of strings, the height of capitals and the
// depth of descenders, so that text lands where other programs put it. Behind it is FreeType
// with the DejaVu fonts; without them text is measured by an estimate, and fontProblem() says so.
#pragma once

#include <string>

#include <vantrel/db/OdString.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

enum class FontFamily { Sans, Serif, Mono };

// The face a run of text asks for; what a drawing names (a style's font file, an MTEXT \f code)
// maps onto one of these by fontFaceFor.
struct VANTREL_DB_EXPORT FontFace {
    FontFamily family = FontFamily::Sans;
    bool bold = false;
    bool italic = false; // drawn slanted; measured as upright
    bool operator==(const FontFace&) const = default;
};

// Sizes in units of the height of capitals, which is what a drawing's text height gives.
struct VANTREL_DB_EXPORT FontMetrics {
    double descent; // below the baseline, positive
    double ascent;  // above the baseline to the top of the tallest glyphs, positive
    double emSize;  // the font size whose capitals are one unit tall
};

// The face for a font named in a drawing ("arial.ttf", "romans.shx", "Times New Roman", "Courier").
VANTREL_DB_EXPORT FontFace fontFaceFor(const OdString& fontName, bool bold = false, bool italic = false);

// The advance of text at a capital height of 1 and a width factor of 1, kerning included.
VANTREL_DB_EXPORT double textAdvance(const OdString& text, FontFace face = {});
VANTREL_DB_EXPORT FontMetrics fontMetrics(FontFace face = {});
// The family name SVG and other renderers know the face by ("DejaVu Sans").
VANTREL_DB_EXPORT const char* fontFamilyName(FontFace face);
// Empty when the fonts were found; otherwise one line saying what is missing and what text is
// measured with instead.
VANTREL_DB_EXPORT const std::string& fontProblem();

} // namespace vantrel
