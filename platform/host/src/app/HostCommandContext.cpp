// The reference-counted context object of object commands.
#include <vantrel/host/HostCommandContext.h>

#include <cassert>

namespace vantrel {

namespace {
std::size_t g_live = 0;
}

HostCommandContext::HostCommandContext(HostDocument& document) : m_document(&document) { ++g_live; }

HostCommandContext::~HostCommandContext() { --g_live; }

HostCommandContext* HostCommandContext::create(HostDocument& document) { return new HostCommandContext(document); }

std::size_t HostCommandContext::liveCount() { return g_live; }

std::uint32_t HostCommandContext::AddRef() { return ++m_refs; }

std::uint32_t HostCommandContext::Release()
{
    assert(m_refs > 0 && "released more often than referenced");
    if (--m_refs > 0)
        return m_refs;
    delete this;
    return 0;
}

bool HostCommandContext::QueryInterface(const std::type_info& interfaceType, void** out)
{
    if (interfaceType != typeid(IHxUnknown)) {
        if (out)
            *out = nullptr;
        return false;
    }
    if (out) {
        AddRef();
        *out = static_cast<IHxUnknown*>(this);
    }
    return true;
}

} // namespace vantrel
