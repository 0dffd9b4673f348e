// Multi-line text from its contents to placed runs: the inline codes are parsed into paragraphs
// of styled pieces, the paragraphs are broken into lines at the wrapping width by the font's
// advances, and the lines are placed by the attachment point. Coordinates are in the text's own
// frame: x along its direction, y up, the origin at the attachment point.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <vantrel/db/TextFont.h>
#include <vantrel/ge/OdGePoint2d.h>

namespace vantrel::mtext {

struct Style {
    FontFace face;
    double height = 1.0;
    double widthFactor = 1.0;
    double oblique = 0.0;             // radians
    std::optional<std::uint32_t> rgb; // a colour of its own (\C, \c); none: the entity's
    bool underline = false, overline = false, strike = false;
    bool operator==(const Style&) const = default;
};

// Text in one style, or a stacked fraction (upper over lower).
struct Piece {
    OdString text;
    Style style;
    bool stacked = false;
    wchar_t stackKind = L'/'; // '/' with a bar, '^' without (tolerances), '#' a slanted bar
    OdString upper, lower;
};
using Paragraph = std::vector<Piece>;

// The paragraphs of contents, each piece of text in the style the codes before it set.
std::vector<Paragraph> parse(const OdString& contents, const Style& base);

struct Run {
    OdGePoint2d origin; // left end of the baseline
    double width;       // the advance, width factor included
    double height;
    Style style;
    OdString text;
};
struct Bar {
    OdGePoint2d from, to;
    std::optional<std::uint32_t> rgb;
};
struct Layout {
    std::vector<Run> runs;
    std::vector<Bar> bars;          // fraction bars
    std::vector<double> lineWidths; // of each line, in order
    double height = 0.0;            // from the top of the first line to the last baseline
};

// attachment: 1..9 as MTEXT's code 71; wrapWidth 0 for no wrapping; spacing: the factor and
// whether it is exact (lines the nominal height apart) or at least (the tallest of each line).
Layout layout(const std::vector<Paragraph>& paragraphs, double wrapWidth, double nominalHeight, double spacingFactor,
              bool exactSpacing, int attachment);

// The contents as plain text: codes dropped, paragraphs joined by line feeds.
OdString plainText(const OdString& contents);

} // namespace vantrel::mtext
