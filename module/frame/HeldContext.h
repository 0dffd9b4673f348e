// The context object an object command holds for the host (SetContext/GetContext): one
// counted reference to whatever the host handed over, given back on request and released
// when replaced or when the command goes away.
#pragma once

#include <vantrel/host/CmdProtocol.h>

namespace vantrel {

class HeldContext {
public:
    HeldContext() = default;
    ~HeldContext();
    HeldContext(const HeldContext&) = delete;
    HeldContext& operator=(const HeldContext&) = delete;

    // GetContext: 1 with the held object (one reference added) in *out; 0 with *out untouched
    // when nothing is held. A null out gets nothing and no reference is added.
    int get(IHxUnknown** out) const;
    // SetContext: holds the object (null holds nothing) and releases the one held before;
    // handing over the held object again changes no count. Answers 1.
    int set(IHxUnknown* object);

    IHxUnknown* object() const { return m_object; }

private:
    IHxUnknown* m_object = nullptr;
};

} // namespace vantrel
