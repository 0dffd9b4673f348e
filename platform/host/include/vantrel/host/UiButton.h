// Push buttons, radio buttons and group boxes: the check state on top of any control.
#pragma once

#include <vantrel/host/UiControl.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT UiButton : public UiControl {
public:
    using UiControl::UiControl;

    // 1 checked, 0 not. Setting a check changes only this button (no grouping, no event).
    int GetCheck() const { return state().check; }
    void SetCheck(int check);

protected:
    bool servesKind(DialogControlKind kind) const override
    {
        return kind == DialogControlKind::PushButton || kind == DialogControlKind::RadioButton
            || kind == DialogControlKind::GroupBox;
    }
};

} // namespace vantrel
