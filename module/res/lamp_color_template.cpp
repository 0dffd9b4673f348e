// Template 1381, "Lamp colors": lamp colour from a preset or a temperature, filter colour, and
// the two places the dialog moves its colour swatches onto.
#include "res/dialog_templates.h"

namespace vantrel {

const DialogTemplate& lampColorDialogTemplate()
{
    namespace S = DialogStyle;
    using K = DialogControlKind;
    static const DialogTemplate dialog{
        1381,
        L"Lamp colors",
        241,
        200,
        {
            {1, K::PushButton, L"OK", S::kDefPushButton, {78, 180, 50, 14}},
            {2, K::PushButton, L"Cancel", 0, {132, 180, 50, 14}},
            {kNoControlId, K::GroupBox, L"Color type", 0, {6, 6, 228, 96}},
            {1359, K::RadioButton, L"Standard colors", S::kAutoRadioButton, {12, 24, 96, 10}},
            {1360, K::ComboBox, {}, S::kComboDropDownList, {18, 36, 90, 30}},
            {1361, K::RadioButton, L"Kelvin colors", S::kAutoRadioButton, {12, 60, 96, 10}},
            {1376, K::Edit, {}, S::kBorder | S::kEditAutoHScroll, {18, 72, 102, 14}},
            {1362, K::UpDown, {}, S::kUpDownAlignRight | S::kUpDownAutoBuddy | S::kUpDownArrowKeys, {120, 72, 11, 14}},
            {1363, K::Static, {}, 0, {120, 42, 42, 34}, true},
            {kNoControlId, K::GroupBox, L"Result color", 0, {6, 108, 228, 60}},
            {kNoControlId, K::Static, L"Filter color:", 0, {12, 120, 72, 8}},
            {1378,
             K::ComboBox,
             {},
             S::kComboDropDownList | S::kComboOwnerDrawFixed | S::kComboHasStrings | S::kVScroll,
             {114, 120, 114, 30}},
            {kNoControlId, K::Static, L"Result color:", 0, {12, 144, 72, 8}},
            {1364, K::Static, {}, 0, {114, 138, 48, 24}, true},
            {1379, K::PushButton, L"Help", 0, {184, 180, 50, 14}},
            {1365, K::Static, {}, 0, {168, 144, 60, 8}},
        }};
    return dialog;
}

} // namespace vantrel
