// Colours: the 256-colour palette (computed from its hue/shade layout), names and true colours.
#include <vantrel/db/OdCmColor.h>
#include <vantrel/db/OdError.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <string>

namespace {

const wchar_t* const kStandardNames[8] = {L"", L"red", L"yellow", L"green", L"cyan", L"blue", L"magenta", L"white"};

// Indices 10-249 run through 24 hues in steps of 15 degrees; within each hue the ten entries
// alternate a saturated and a half-saturated colour over five brightness levels.
std::array<std::uint32_t, 256> buildPalette()
{
    std::array<std::uint32_t, 256> p{};
    auto pack = [](int r, int g, int b) { return std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b); };
    const std::uint32_t basic[10]
        = {pack(255, 255, 255), pack(255, 0, 0),   pack(255, 255, 0),   pack(0, 255, 0),     pack(0, 255, 255),
           pack(0, 0, 255),     pack(255, 0, 255), pack(255, 255, 255), pack(128, 128, 128), pack(192, 192, 192)};
    std::copy(std::begin(basic), std::end(basic), p.begin());
    const double levels[5] = {1.0, 0.65, 0.5, 0.3, 0.15};
    for (int i = 10; i < 250; ++i) {
        const int hueStep = i / 10 - 1; // ten entries to a hue
        double hue = hueStep * 15.0;
        int shade = (i % 10) / 2;
        bool pale = (i % 2) == 1;
        double h = hue / 60.0;
        double x = 1.0 - std::fabs(std::fmod(h, 2.0) - 1.0);
        double rgb[3];
        switch (static_cast<int>(h) % 6) {
        case 0:
            rgb[0] = 1;
            rgb[1] = x;
            rgb[2] = 0;
            break;
        case 1:
            rgb[0] = x;
            rgb[1] = 1;
            rgb[2] = 0;
            break;
        case 2:
            rgb[0] = 0;
            rgb[1] = 1;
            rgb[2] = x;
            break;
        case 3:
            rgb[0] = 0;
            rgb[1] = x;
            rgb[2] = 1;
            break;
        case 4:
            rgb[0] = x;
            rgb[1] = 0;
            rgb[2] = 1;
            break;
        default:
            rgb[0] = 1;
            rgb[1] = 0;
            rgb[2] = x;
            break;
        }
        int c[3];
        for (int k = 0; k < 3; ++k) {
            double v = pale ? 0.5 + rgb[k] * 0.5 : rgb[k];
            c[k] = static_cast<int>(std::lround(v * levels[shade] * 255.0));
        }
        p[static_cast<std::size_t>(i)] = pack(c[0], c[1], c[2]);
    }
    const int greys[6] = {51, 91, 132, 173, 214, 255};
    for (std::size_t i = 0; i < 6; ++i)
        p[250 + i] = pack(greys[i], greys[i], greys[i]);
    return p;
}

const std::array<std::uint32_t, 256>& palette()
{
    static const auto p = buildPalette();
    return p;
}

} // namespace

OdCmColor OdCmColor::byIndex(std::int16_t index)
{
    OdCmColor c;
    c.setColorIndex(index);
    return c;
}

OdCmColor OdCmColor::byRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    OdCmColor c;
    c.setRGB(r, g, b);
    return c;
}

void OdCmColor::setColorIndex(std::int16_t index)
{
    if (index < 0 || index > 256)
        throw OdError(eOutOfRange, "colour index " + std::to_string(index) + " is outside 0-256");
    *this = OdCmColor();
    if (index == OdCmEntityColor::kACIbyBlock) {
        m_method = OdCmEntityColor::kByBlock;
    } else if (index == OdCmEntityColor::kACIbyLayer) {
        m_method = OdCmEntityColor::kByLayer;
    } else {
        m_method = OdCmEntityColor::kByACI;
        m_value = static_cast<std::uint32_t>(index);
    }
}

void OdCmColor::setRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    *this = OdCmColor();
    m_method = OdCmEntityColor::kByColor;
    m_value = std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | b;
}

OdCmColor::OdCmColor(const OdCmColor& other)
    : m_method(other.m_method), m_indexBeside(other.m_indexBeside), m_value(other.m_value),
      m_names(other.m_names ? std::make_unique<Names>(*other.m_names) : nullptr)
{
}

OdCmColor& OdCmColor::operator=(const OdCmColor& other)
{
    if (this != &other)
        *this = OdCmColor(other);
    return *this;
}

const OdString& OdCmColor::noName()
{
    static const OdString none;
    return none;
}

void OdCmColor::setNames(const OdString& name, const OdString& book)
{
    if (name.isEmpty() && book.isEmpty())
        m_names.reset();
    else
        m_names = std::make_unique<Names>(Names{name, book});
}

void OdCmColor::setIndexBesideRGB(std::int16_t index)
{
    if (!isByColor())
        throw OdError(eInvalidInput, "a palette index is kept beside a true colour only");
    if (index < 1 || index > 255)
        throw OdError(eOutOfRange, "colour index " + std::to_string(index) + " is outside 1-255");
    m_indexBeside = index;
}

std::int16_t OdCmColor::colorIndex() const
{
    switch (m_method) {
    case OdCmEntityColor::kByBlock: return OdCmEntityColor::kACIbyBlock;
    case OdCmEntityColor::kByLayer: return OdCmEntityColor::kACIbyLayer;
    case OdCmEntityColor::kByACI: return static_cast<std::int16_t>(m_value);
    case OdCmEntityColor::kByColor: return m_indexBeside ? m_indexBeside : nearestIndex(m_value);
    case OdCmEntityColor::kForeground: return OdCmEntityColor::kACIforeground;
    default: return OdCmEntityColor::kACIbyLayer;
    }
}

std::uint32_t OdCmColor::rgb() const
{
    if (m_method == OdCmEntityColor::kByColor)
        return m_value;
    if (m_method == OdCmEntityColor::kByACI)
        return paletteRGB(static_cast<int>(m_value));
    return 0xFFFFFF;
}

std::uint8_t OdCmColor::red() const { return static_cast<std::uint8_t>(rgb() >> 16); }
std::uint8_t OdCmColor::green() const { return static_cast<std::uint8_t>(rgb() >> 8); }
std::uint8_t OdCmColor::blue() const { return static_cast<std::uint8_t>(rgb()); }

std::uint32_t OdCmColor::paletteRGB(int index)
{
    if (index < 0 || index > 255)
        return 0xFFFFFF;
    return palette()[static_cast<std::size_t>(index)];
}

std::int16_t OdCmColor::nearestIndex(std::uint32_t rgb)
{
    int best = 1;
    long bestDist = -1;
    for (int i = 1; i < 256; ++i) {
        std::uint32_t c = palette()[static_cast<std::size_t>(i)];
        long dr = long(c >> 16 & 0xFF) - long(rgb >> 16 & 0xFF);
        long dg = long(c >> 8 & 0xFF) - long(rgb >> 8 & 0xFF);
        long db = long(c & 0xFF) - long(rgb & 0xFF);
        long d = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = i;
        }
    }
    return static_cast<std::int16_t>(best);
}

OdString OdCmColor::description() const
{
    switch (m_method) {
    case OdCmEntityColor::kByLayer: return L"BYLAYER";
    case OdCmEntityColor::kByBlock: return L"BYBLOCK";
    case OdCmEntityColor::kByACI:
        if (m_value >= 1 && m_value <= 7)
            return kStandardNames[m_value];
        return OdString(std::to_wstring(m_value));
    case OdCmEntityColor::kByColor:
        return OdString(std::to_wstring(red()) + L"," + std::to_wstring(green()) + L"," + std::to_wstring(blue()));
    case OdCmEntityColor::kForeground: return L"FOREGROUND";
    default: return L"NONE";
    }
}
