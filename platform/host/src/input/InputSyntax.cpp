// Parsing of typed numbers, angles and points. Every function answers nothing for text it does
// not accept, so a caller can try one reading after another.
#include <vantrel/host/InputSyntax.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace vantrel {

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Length of the decimal-number prefix of `s` (0 when it does not start with one).
std::size_t scanNumber(std::wstring_view s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == L'+' || s[i] == L'-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == L'.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i < s.size() && (s[i] == L'e' || s[i] == L'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == L'+' || s[j] == L'-'))
            ++j;
        std::size_t expDigits = 0;
        while (j < s.size() && isDigit(s[j])) {
            ++j;
            ++expDigits;
        }
        if (expDigits == 0)
            return 0;
        i = j;
    }
    return i;
}

// Splits at every `sep`.
std::vector<std::wstring_view> split(std::wstring_view s, wchar_t sep)
{
    std::vector<std::wstring_view> parts;
    for (;;) {
        std::size_t at = s.find(sep);
        parts.push_back(s.substr(0, at));
        if (at == std::wstring_view::npos)
            return parts;
        s.remove_prefix(at + 1);
    }
}

constexpr double kUnlimited = std::numeric_limits<double>::infinity();

// A decimal number of at most `largest` in magnitude; one too large for a double is infinite.
std::optional<double> number(std::wstring_view text, double largest)
{
    text = InputSyntax::trim(text);
    if (text.empty() || scanNumber(text) != text.size())
        return std::nullopt;
    // The scan admits only ASCII, so narrowing is exact; from_chars takes no leading '+'.
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text.substr(text.front() == L'+' ? 1 : 0))
        narrow.push_back(static_cast<char>(c));
    double value = 0.0;
    auto [end, ec] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (end != narrow.data() + narrow.size())
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Too small for a double stays refused as it always was.
        value = std::strtod(narrow.c_str(), nullptr);
        if (!std::isinf(value))
            return std::nullopt;
    } else if (ec != std::errc()) {
        return std::nullopt;
    }
    if (std::fabs(value) > largest)
        return std::nullopt;
    return value;
}

std::optional<OdGePoint3d> coordinates(std::wstring_view text, double largest)
{
    auto parts = split(text, L',');
    if (parts.size() != 2 && parts.size() != 3)
        return std::nullopt;
    double xyz[3] = {0.0, 0.0, 0.0};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        auto v = number(parts[i], largest);
        if (!v)
            return std::nullopt;
        xyz[i] = *v;
    }
    return OdGePoint3d(xyz[0], xyz[1], xyz[2]);
}

std::optional<OdGePoint3d> point(std::wstring_view text, const OdGePoint3d& from, double largest)
{
    text = InputSyntax::trim(text);
    if (text.empty() || text.front() != L'@')
        return coordinates(text, largest);
    text.remove_prefix(1);
    if (InputSyntax::trim(text).empty())
        return from;
    if (std::size_t lt = text.find(L'<'); lt != std::wstring_view::npos) {
        auto distance = number(text.substr(0, lt), largest);
        auto degrees = number(text.substr(lt + 1), largest);
        if (!distance || !degrees)
            return std::nullopt;
        const double angle = InputSyntax::degreesToRadians(*degrees);
        OdGePoint3d p(from.x + *distance * std::cos(angle), from.y + *distance * std::sin(angle), from.z);
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            return std::nullopt;
        return p;
    }
    auto offset = coordinates(text, largest);
    if (!offset)
        return std::nullopt;
    OdGePoint3d p(from.x + offset->x, from.y + offset->y, from.z + offset->z);
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
        return std::nullopt;
    return p;
}

} // namespace

std::wstring_view InputSyntax::trim(std::wstring_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<double> InputSyntax::parseNumber(std::wstring_view text) { return number(text, kLargest); }

std::optional<std::int32_t> InputSyntax::parseInteger(std::wstring_view text)
{
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    std::int64_t value = 0;
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    for (wchar_t c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

double InputSyntax::degreesToRadians(double degrees) { return degrees * (std::numbers::pi / 180.0); }

std::optional<double> InputSyntax::parseAngle(std::wstring_view text)
{
    auto degrees = parseNumber(text);
    if (!degrees)
        return std::nullopt;
    return degreesToRadians(*degrees);
}

std::optional<OdGePoint3d> InputSyntax::parseCoordinates(std::wstring_view text) { return coordinates(text, kLargest); }

std::optional<OdGePoint3d> InputSyntax::parsePoint(std::wstring_view text, const OdGePoint3d& from)
{
    return point(text, from, kLargest);
}

bool InputSyntax::exceedsLimit(std::wstring_view text)
{
    const auto readable = [&](double largest) { return number(text, largest) || point(text, OdGePoint3d(), largest); };
    return !readable(kLargest) && readable(kUnlimited);
}

bool InputSyntax::exceedsIntegerRange(std::wstring_view text)
{
    text = trim(text);
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-'))
        text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit) && !parseInteger(text);
}

} // namespace vantrel
