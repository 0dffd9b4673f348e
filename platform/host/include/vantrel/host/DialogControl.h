// The state of one control of an open (or just closed) dialog: what the user sees and what the
// control wrappers read and change. Tests read it to check a dialog after each event.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <vantrel/host/DialogControlTemplate.h>
#include <vantrel/host/DialogPaint.h>
#include <vantrel/host/PixelRect.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

struct VANTREL_HOST_EXPORT DialogControl {
    struct Item {
        std::wstring text;
        std::uintptr_t data = 0;
    };

    int id = kNoControlId;
    DialogControlKind kind = DialogControlKind::Static;
    std::uint32_t style = 0;
    std::wstring text; // combo boxes show their current item instead
    PixelRect rect;    // in the dialog's client pixels
    bool visible = true;
    bool enabled = true;
    int check = 0; // buttons: 0 unchecked, 1 checked

    // combo boxes
    std::vector<Item> items;
    int curSel = -1;
    int itemHeight = 0; // 0 until measured
    int droppedWidth = 0;

    // up-down controls
    int lower = 0;
    int upper = 100;
    int pos = 0;
    int buddy = kNoControlId;

    // owner drawing: the last painting, item by item, and how often it was painted
    std::vector<DialogPaint> paints;
    int paintCount = 0;
    bool needsPaint = false;

    bool isOwnerDrawn() const;
    bool isAutoRadio() const;
    bool isDefaultButton() const;
    // What the control shows as its text: a combo box's current item, else text.
    std::wstring shownText() const;
    // Over the last painting: the colour filled last at the point, if any.
    std::optional<ColorRef> fillColorAt(PixelPoint p) const;
    // The height of a combo box's closed field, in pixels.
    int fieldHeight() const;
};

} // namespace vantrel
