// Reference handling of a command's context object.
#include "frame/HeldContext.h"

#include <utility>

namespace vantrel {

HeldContext::~HeldContext()
{
    if (m_object)
        m_object->Release();
}

int HeldContext::get(IHxUnknown** out) const
{
    if (!m_object)
        return 0;
    if (out) {
        m_object->AddRef();
        *out = m_object;
    }
    return 1;
}

int HeldContext::set(IHxUnknown* object)
{
    if (object == m_object)
        return 1;
    if (object)
        object->AddRef();
    if (IHxUnknown* old = std::exchange(m_object, object))
        old->Release();
    return 1;
}

} // namespace vantrel
