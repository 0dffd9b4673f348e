// A static text or picture; owner-drawn statics draw themselves through onDrawItem.
#pragma once

#include <vantrel/host/UiControl.h>

namespace vantrel {

class UiStatic : public UiControl {
public:
    using UiControl::UiControl;

protected:
    bool servesKind(DialogControlKind kind) const override { return kind == DialogControlKind::Static; }
};

} // namespace vantrel
