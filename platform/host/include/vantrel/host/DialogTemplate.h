// A dialog template: what a module declares for each of its dialogs (id, caption, size in
// dialog units, controls in tab order), and the dialog-unit to pixel mapping every backend uses.
#pragma once

#include <string>
#include <vector>

#include <vantrel/host/DialogControlTemplate.h>
#include <vantrel/host/PixelRect.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

struct VANTREL_HOST_EXPORT DialogTemplate {
    // The dialog font's base units: average character width and height in pixels.
    static constexpr int kBaseUnitX = 6;
    static constexpr int kBaseUnitY = 13;

    unsigned id = 0;
    std::wstring caption;
    int width = 0;
    int height = 0;
    std::vector<DialogControlTemplate> controls;

    static int toPixelsX(int dialogUnits);
    static int toPixelsY(int dialogUnits);
    static PixelRect toPixels(const DialogRect& rect);
    // The client area of the dialog, from (0, 0).
    PixelRect clientRect() const { return {0, 0, toPixelsX(width), toPixelsY(height)}; }
};

} // namespace vantrel
