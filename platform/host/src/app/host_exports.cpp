// The C entry points of the host main library: a command factory that registers into the
// process's command registry, the host services by index, and this library's module handle.
#include <vantrel/host/host_exports.h>

#include <cassert>

#include <vantrel/db/OdString.h>
#include <vantrel/host/CommandRegistry.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/hxicore/ModuleHandle.h>

namespace {

// Reference counted like the command objects; every factory registers into the same registry.
class HostCommandFactory final : public ICmdFactory {
public:
    void registerNamedCommand(const char* name, CommandCreator creator) override
    {
        vantrel::CommandRegistry::global().addObjectCommand(OdString::fromUtf8(name ? name : "").c_str(), creator);
    }

    void registerGroupCommand(const wchar_t* group, const wchar_t* name, std::uint32_t flags,
                              CommandEntry entry) override
    {
        vantrel::CommandRegistry::global().addFunctionCommand(group ? group : L"", name ? name : L"", flags, entry);
    }

    std::uint32_t Release() override
    {
        assert(m_refs > 0 && "released more often than referenced");
        if (--m_refs > 0)
            return m_refs;
        delete this;
        return 0;
    }

private:
    std::uint32_t m_refs = 1;
};

std::uint64_t g_procedure3Calls = 0;

HostApplication* applicationService() { return HostApplication::current(); }

void procedure3() { ++g_procedure3Calls; }

// An address inside this library, for its module handle.
const char g_anchor = 0;

} // namespace

extern "C" int new_ICmdFactory(ICmdFactory** out)
{
    if (!out)
        return 0;
    *out = new HostCommandFactory;
    return 1;
}

extern "C" HostFuncPtr get_host_funcptr(int index)
{
    switch (index) {
    case kHostApplicationService: return reinterpret_cast<HostFuncPtr>(&applicationService);
    case kHostProcedure3: return &procedure3;
    default: return nullptr;
    }
}

extern "C" void* GetMainDllInstanceEx() { return vantrel::moduleHandleOf(&g_anchor); }

namespace vantrel {
std::uint64_t hostProcedure3Calls() { return g_procedure3Calls; }
} // namespace vantrel
