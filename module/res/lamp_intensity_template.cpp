// Template 1382, "Lamp intensity": the unit of a light's photometric intensity, its value, the
// illuminance distance and the intensity coefficient, each edit with an up-down control beside it.
#include "res/dialog_templates.h"

#include <vantrel/host/hostUiDialog.h>

namespace vantrel {

const DialogTemplate& lampIntensityDialogTemplate()
{
    namespace S = DialogStyle;
    using K = DialogControlKind;
    constexpr std::uint32_t kEdit = S::kBorder | S::kEditAutoHScroll;
    static const DialogTemplate tmpl{
        1382,
        L"Lamp intensity",
        223,
        176,
        {
            {IDOK, K::PushButton, L"OK", S::kDefPushButton, {60, 156, 50, 14}},
            {IDCANCEL, K::PushButton, L"Cancel", 0, {114, 156, 50, 14}},
            {kNoControlId, K::GroupBox, L"Type", 0, {6, 6, 210, 84}},
            {1366, K::RadioButton, L"Intensity(Candela)", S::kAutoRadioButton, {12, 18, 96, 10}},
            {1367, K::RadioButton, L"Luminous flux(Lumen)", S::kAutoRadioButton, {12, 36, 96, 10}},
            {1368, K::RadioButton, L"Illumination(Lux)", S::kAutoRadioButton, {12, 54, 102, 10}},
            {1377, K::Edit, {}, kEdit, {114, 36, 54, 14}},
            {1369, K::UpDown, {}, 0, {168, 36, 11, 14}},
            {1374, K::Static, L"Distance", 0, {48, 72, 42, 8}},
            {1370, K::Edit, {}, kEdit, {114, 72, 54, 14}},
            {1371, K::UpDown, {}, 0, {168, 72, 10, 14}},
            {kNoControlId, K::GroupBox, L"Intensity", 0, {6, 96, 210, 54}},
            {kNoControlId, K::Static, L"Intensity koeficient:", 0, {12, 114, 78, 8}},
            {1372, K::Edit, {}, kEdit, {114, 108, 54, 14}},
            {1373, K::UpDown, {}, 0, {168, 108, 11, 14}},
            {1375, K::Static, {}, 0, {12, 132, 168, 8}},
            {9, K::PushButton, L"Help", 0, {166, 156, 50, 14}},
        }};
    return tmpl;
}

} // namespace vantrel
