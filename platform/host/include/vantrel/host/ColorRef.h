// Colours as dialogs and their drawing context pass them: one 32-bit value with red in the low
// byte, then green, then blue, the layout owner-drawn controls of the command module expect.
#pragma once

#include <cstdint>

namespace vantrel {

using ColorRef = std::uint32_t;

constexpr ColorRef rgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return ColorRef(red) | ColorRef(green) << 8 | ColorRef(blue) << 16;
}
constexpr std::uint8_t redOf(ColorRef color) { return static_cast<std::uint8_t>(color & 0xFF); }
constexpr std::uint8_t greenOf(ColorRef color) { return static_cast<std::uint8_t>(color >> 8 & 0xFF); }
constexpr std::uint8_t blueOf(ColorRef color) { return static_cast<std::uint8_t>(color >> 16 & 0xFF); }

} // namespace vantrel
