// An edit field: text that the user types (each change is an edit-change event).
#pragma once

#include <vantrel/host/UiControl.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT UiEdit : public UiControl {
public:
    using UiControl::UiControl;

protected:
    bool servesKind(DialogControlKind kind) const override { return kind == DialogControlKind::Edit; }
};

} // namespace vantrel
