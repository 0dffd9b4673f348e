// Range, position and buddy of an up-down control.
#include <vantrel/host/UiUpDown.h>

#include <algorithm>
#include <string>
#include <utility>

namespace vantrel {

void UiUpDown::SetRange(int lower, int upper)
{
    DialogControl& c = control();
    c.lower = lower;
    c.upper = upper;
}

void UiUpDown::GetRange(int& lower, int& upper) const
{
    lower = state().lower;
    upper = state().upper;
}

int UiUpDown::SetPos(int pos)
{
    DialogControl& c = control();
    const int before = c.pos;
    c.pos = std::clamp(pos, std::min(c.lower, c.upper), std::max(c.lower, c.upper));
    if ((c.style & DialogStyle::kUpDownSetBuddyInt) && c.buddy != kNoControlId && dialog())
        UiControl(*dialog(), c.buddy).SetWindowText(std::to_wstring(c.pos));
    return before;
}

int UiUpDown::SetBuddy(const UiControl& buddy)
{
    DialogControl& c = control();
    return std::exchange(c.buddy, buddy.GetDlgCtrlID());
}

} // namespace vantrel
