// The arguments a dialog's event handlers get for owner drawing and up-down steps. Item state
// bits keep their usual owner-draw values.
#pragma once

#include <cstdint>

#include <vantrel/host/PixelRect.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class DialogDC;

inline constexpr unsigned kItemSelected = 0x0001;
inline constexpr unsigned kItemDisabled = 0x0004;
inline constexpr unsigned kItemFocus = 0x0010;
// The item is drawn in the combo box's selection field, not in its list.
inline constexpr unsigned kItemComboBoxEdit = 0x1000;

// Draw one item (of an owner-drawn combo box) or the whole of an owner-drawn static.
struct VANTREL_HOST_EXPORT DrawItemEvent {
    int controlId = 0;
    int item = 0;
    unsigned state = 0;
    PixelRect rect; // in the control's own pixels
    std::uintptr_t itemData = 0;
    DialogDC& dc;
};

// Asked once before an owner-drawn combo box is first painted: the height of its items.
struct VANTREL_HOST_EXPORT MeasureItemEvent {
    int controlId = 0;
    int item = 0;
    int itemWidth = 0;
    int itemHeight = 0;
    std::uintptr_t itemData = 0;
};

// An up-down control is about to step by delta from pos; a handler may keep pos as it is.
struct VANTREL_HOST_EXPORT UpDownEvent {
    int controlId = 0;
    int pos = 0;
    int delta = 0;
    bool preventChange = false;
};

} // namespace vantrel
