// A host main module under the fallback name "deziro": a command factory that records what is
// registered, service 2 answering the running application, and service 3 counting its calls.
#include "fake_host.h"

#include <vantrel/host/HostApplication.h>
#include <vantrel/host/host_exports.h>

namespace {

FakeHostState g_state;

class RecordingFactory final : public ICmdFactory {
public:
    RecordingFactory()
    {
        ++g_state.factoriesMade;
        ++g_state.factoriesLive;
    }
    void registerNamedCommand(const char* name, CommandCreator creator) override
    {
        g_state.registrations.push_back({name, L"", L"", 0, creator, nullptr});
    }
    void registerGroupCommand(const wchar_t* group, const wchar_t* name, std::uint32_t flags,
                              CommandEntry entry) override
    {
        g_state.registrations.push_back({"", group, name, flags, nullptr, entry});
    }
    std::uint32_t Release() override
    {
        --g_state.factoriesLive;
        delete this;
        return 0;
    }

private:
    ~RecordingFactory() = default;
};

HostApplication* application() { return HostApplication::current(); }

void procedure3() { ++g_state.procedure3Calls; }

} // namespace

extern "C" __attribute__((visibility("default"))) FakeHostState* fakeHostState() { return &g_state; }

extern "C" __attribute__((visibility("default"))) int new_ICmdFactory(ICmdFactory** out)
{
    *out = new RecordingFactory;
    return 1;
}

extern "C" __attribute__((visibility("default"))) HostFuncPtr get_host_funcptr(int index)
{
    if (index == kHostApplicationService)
        return reinterpret_cast<HostFuncPtr>(&application);
    if (index == kHostProcedure3)
        return &procedure3;
    return nullptr;
}
