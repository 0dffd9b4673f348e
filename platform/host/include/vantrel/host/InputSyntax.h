// What the user may type at a request: numbers, integers, angles and points (absolute, relative,
// polar). Pure functions of their text, shared by every front end and fuzzed on their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include <vantrel/ge/OdGePoint3d.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT InputSyntax {
public:
    InputSyntax() = delete;

    // The text without blanks (spaces, tabs) at either end.
    static std::wstring_view trim(std::wstring_view text);

    // Typed numbers go no further than this, so that distances between typed points stay finite.
    static constexpr double kLargest = 1e100;

    // A decimal number: optional sign, digits with an optional fraction, optional exponent
    // (`12`, `-3.5`, `.5`, `1e3`). Blanks around it are allowed; nothing else is, and a value
    // beyond ±kLargest is refused.
    static std::optional<double> parseNumber(std::wstring_view text);
    // Optional sign and decimal digits that fit 32 bits.
    static std::optional<std::int32_t> parseInteger(std::wstring_view text);
    // A number of degrees, answered in radians.
    static std::optional<double> parseAngle(std::wstring_view text);
    // `X,Y` or `X,Y,Z` (Z is 0 when left out).
    static std::optional<OdGePoint3d> parseCoordinates(std::wstring_view text);
    // Coordinates, or relative to `from`: `@DX,DY[,DZ]`, polar `@DIST<ANGLE` (degrees, in the
    // XY plane), or `@` alone for `from` itself.
    static std::optional<OdGePoint3d> parsePoint(std::wstring_view text, const OdGePoint3d& from);

    // Text that would be a number or a point, but for a number beyond ±kLargest: refused, it is
    // told the limit rather than that it is no number.
    static bool exceedsLimit(std::wstring_view text);
    // Digits with an optional sign that do not fit 32 bits.
    static bool exceedsIntegerRange(std::wstring_view text);

    static double degreesToRadians(double degrees);
};

} // namespace vantrel
