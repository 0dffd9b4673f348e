// Dialog units to pixels with the dialog font's base units, rounded to the nearest pixel.
#include <vantrel/host/DialogTemplate.h>

#include <cmath>

namespace vantrel {

namespace {

int scaled(int units, int baseUnit, int unitsPerBase)
{
    return static_cast<int>(std::lround(static_cast<double>(units) * baseUnit / unitsPerBase));
}

} // namespace

int DialogTemplate::toPixelsX(int dialogUnits) { return scaled(dialogUnits, kBaseUnitX, 4); }
int DialogTemplate::toPixelsY(int dialogUnits) { return scaled(dialogUnits, kBaseUnitY, 8); }

PixelRect DialogTemplate::toPixels(const DialogRect& rect)
{
    const int left = toPixelsX(rect.x);
    const int top = toPixelsY(rect.y);
    return {left, top, left + toPixelsX(rect.width), top + toPixelsY(rect.height)};
}

} // namespace vantrel
