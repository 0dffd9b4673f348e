// An entity or layer colour: by layer, by block, an index of the 256-colour palette, or a true colour.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include <vantrel/db/OdString.h>
#include <vantrel/db/OdDbExport.h>

namespace OdCmEntityColor {
enum ColorMethod : std::uint8_t {
    kByLayer = 0xC0,
    kByBlock = 0xC1,
    kByColor = 0xC2,
    kByACI = 0xC3,
    kForeground = 0xC5,
    kNone = 0xC8,
};
// Palette indices with a meaning of their own.
constexpr std::int16_t kACIbyBlock = 0;
constexpr std::int16_t kACIbyLayer = 256;
constexpr std::int16_t kACIforeground = 7;
} // namespace OdCmEntityColor

class VANTREL_DB_EXPORT OdCmColor {
public:
    OdCmColor() = default; // by layer
    explicit OdCmColor(OdCmEntityColor::ColorMethod method) : m_method(method) {}
    OdCmColor(const OdCmColor& other);
    OdCmColor& operator=(const OdCmColor& other);
    OdCmColor(OdCmColor&&) noexcept = default;
    OdCmColor& operator=(OdCmColor&&) noexcept = default;
    ~OdCmColor() = default;

    static OdCmColor byIndex(std::int16_t index);
    static OdCmColor byRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b);

    OdCmEntityColor::ColorMethod colorMethod() const { return m_method; }
    bool isByLayer() const { return m_method == OdCmEntityColor::kByLayer; }
    bool isByBlock() const { return m_method == OdCmEntityColor::kByBlock; }
    bool isByColor() const { return m_method == OdCmEntityColor::kByColor; }
    bool isByACI() const { return m_method == OdCmEntityColor::kByACI; }

    void setByLayer() { *this = OdCmColor(OdCmEntityColor::kByLayer); }
    void setByBlock() { *this = OdCmColor(OdCmEntityColor::kByBlock); }
    // 1-255 is a palette colour; 0 means by block, 256 by layer; anything else raises OdError.
    void setColorIndex(std::int16_t index);
    void setRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b);

    // The palette index: 0 by block, 256 by layer, 1-255 a palette colour; for a true colour the
    // index kept beside it, else the nearest palette colour.
    std::int16_t colorIndex() const;
    // Keeps a palette index (1-255) beside a true colour, as files store one for programs without
    // true colours; setRGB forgets it. Raises OdError for anything but a true colour.
    void setIndexBesideRGB(std::int16_t index);
    // The displayed colour; by layer and by block give white.
    std::uint8_t red() const;
    std::uint8_t green() const;
    std::uint8_t blue() const;
    // 0x00RRGGBB of the displayed colour.
    std::uint32_t rgb() const;

    // Optional colour book and name of a true colour ("DIC 1" in "DIC COLOR GUIDE(R)").
    const OdString& colorName() const { return m_names ? m_names->name : noName(); }
    const OdString& bookName() const { return m_names ? m_names->book : noName(); }
    void setNames(const OdString& name, const OdString& book = OdString());

    // "BYLAYER", "BYBLOCK", a standard colour name ("red") or index ("123"), or "R,G,B".
    OdString description() const;

    // RGB of a palette index 0-255 (0 and 7 give white).
    static std::uint32_t paletteRGB(int index);
    // The palette index (1-255) whose colour is nearest to the given RGB.
    static std::int16_t nearestIndex(std::uint32_t rgb);

    friend bool operator==(const OdCmColor& a, const OdCmColor& b)
    {
        return a.m_method == b.m_method && a.m_value == b.m_value && a.m_indexBeside == b.m_indexBeside
            && a.colorName() == b.colorName() && a.bookName() == b.bookName();
    }

private:
    // Few colours have names, and every entity has a colour: the names are kept apart, so that
    // a colour without them is as small as its value.
    struct Names {
        OdString name;
        OdString book;
    };
    static const OdString& noName();

    OdCmEntityColor::ColorMethod m_method = OdCmEntityColor::kByLayer;
    std::int16_t m_indexBeside = 0; // a true colour's kept palette index; 0: none
    std::uint32_t m_value = 0;      // palette index or 0x00RRGGBB
    std::unique_ptr<Names> m_names; // null when the colour has neither name
};
