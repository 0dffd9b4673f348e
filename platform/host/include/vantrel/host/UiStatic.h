// A static text or picture; owner-drawn statics draw themselves through onDrawItem.
#pragma once

#include <vantrel/host/UiControl.h>
#include <vantrel/host/HostExport.h>

namespace vantrel {

class VANTREL_HOST_EXPORT UiStatic : public UiControl {
public:
    using UiControl::UiControl;

protected:
    bool servesKind(DialogControlKind kind) const override { return kind == DialogControlKind::Static; }
};

} // namespace vantrel
