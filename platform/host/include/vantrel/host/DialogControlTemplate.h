// One control of a dialog template: its id, kind, text, style bits and place in dialog units.
// Templates are plain data that a module declares; style bits keep their usual dialog-resource
// values so that a template reads like the resource it stands for.
#pragma once

#include <cstdint>
#include <string>

#include <vantrel/host/HostExport.h>

namespace vantrel {

// The id of controls nobody addresses (labels, frames); events cannot reach them.
inline constexpr int kNoControlId = -1;

enum class DialogControlKind { Static, Edit, ComboBox, PushButton, RadioButton, UpDown, GroupBox };

// Style bits. Window bits apply to every kind; the others only to their kind, so some values
// repeat across kinds.
namespace DialogStyle {
// windows
inline constexpr std::uint32_t kTabStop = 0x00010000;
inline constexpr std::uint32_t kGroup = 0x00020000; // starts a group of radio buttons
inline constexpr std::uint32_t kVScroll = 0x00200000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kDisabled = 0x08000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kChild = 0x40000000;
// static texts: the low five bits are the type
inline constexpr std::uint32_t kStaticTypeMask = 0x1F;
inline constexpr std::uint32_t kStaticOwnerDraw = 0x0D;
inline constexpr std::uint32_t kStaticNotify = 0x0100;
inline constexpr std::uint32_t kStaticSunken = 0x1000;
// edit fields
inline constexpr std::uint32_t kEditAutoHScroll = 0x0080;
inline constexpr std::uint32_t kEditReadOnly = 0x0800;
// combo boxes
inline constexpr std::uint32_t kComboDropDownList = 0x0003;
inline constexpr std::uint32_t kComboOwnerDrawFixed = 0x0010;
inline constexpr std::uint32_t kComboOwnerDrawVariable = 0x0020;
inline constexpr std::uint32_t kComboHasStrings = 0x0200;
// buttons: the low four bits are the type
inline constexpr std::uint32_t kButtonTypeMask = 0x0F;
inline constexpr std::uint32_t kDefPushButton = 0x01;
inline constexpr std::uint32_t kRadioButton = 0x04;
inline constexpr std::uint32_t kAutoRadioButton = 0x09;
// up-down controls
inline constexpr std::uint32_t kUpDownSetBuddyInt = 0x0002;
inline constexpr std::uint32_t kUpDownAlignRight = 0x0004;
inline constexpr std::uint32_t kUpDownAutoBuddy = 0x0010;
inline constexpr std::uint32_t kUpDownArrowKeys = 0x0020;
} // namespace DialogStyle

// x, y, width, height in dialog units: a quarter of the average character width across, an
// eighth of the character height down.
struct VANTREL_HOST_EXPORT DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct VANTREL_HOST_EXPORT DialogControlTemplate {
    int id = kNoControlId;
    DialogControlKind kind = DialogControlKind::Static;
    std::wstring text;
    std::uint32_t style = 0;
    DialogRect rect;
    bool hidden = false;
};

} // namespace vantrel
