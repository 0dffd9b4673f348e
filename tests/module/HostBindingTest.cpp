// How the module finds the host: the fallback module names mapped to library names, the order
// in which they are tried, no caching between calls, and registration with and without a
// command factory.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <vantrel/host/CommandRegistry.h>
#include <vantrel/host/host_exports.h>

#include "ModuleHostFixture.h"
#include "frame/CommandRegistrar.h"
#include "frame/command_creators.h"
#include "frame/host_binding.h"

namespace {

int g_entryRuns = 0;
void countingEntry() { ++g_entryRuns; }

int nullCreator(ICmdProcess** out)
{
    *out = nullptr;
    return 1;
}

ICmdFactory* acquired()
{
    ICmdFactory* factory = nullptr;
    EXPECT_TRUE(acquireCommandFactory(factory));
    return factory;
}

} // namespace

// One process state throughout: what is loaded stays loaded until the test unloads it.
TEST(HostBinding, FallbacksAreTriedInOrderOnEveryLookup)
{
    using vantrel::CommandRegistry;
    // The test program exports neither GetMainDllInstance nor GetMainDllNameW, and "deziro" is
    // not loaded; "HxAcApp" is (or becomes) loaded but names no module.
    ASSERT_EQ(vantrel::findLoadedModule("deziro.dll"), nullptr);
    pointHxAcAppAt(nullptr);
    EXPECT_EQ(findHostMainModule(), nullptr);
    ICmdFactory* factory = nullptr;
    EXPECT_FALSE(acquireCommandFactory(factory));
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(vantrel::hostService(kHostProcedure3), nullptr);
    EXPECT_EQ(vantrel::hostApplication(), nullptr);
    {
        const vantrel::CommandRegistrar unregistered(L"HOST", L"NoFactoryProbe", 0, countingEntry);
    }
    EXPECT_EQ(CommandRegistry::global().find(L"NoFactoryProbe"), nullptr);

    // "HxAcApp.dll" names the host main library: its services and its factory are found.
    void* host = vantrel::findLoadedModule("vantrel_host");
    ASSERT_NE(host, nullptr);
    pointHxAcAppAt(host);
    EXPECT_EQ(findHostMainModule(), host);
    factory = acquired();
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(factory->Release(), 0u);
    const auto procedure3Calls = vantrel::hostProcedure3Calls();
    HostFuncPtr procedure = vantrel::hostService(kHostProcedure3);
    ASSERT_NE(procedure, nullptr);
    procedure();
    EXPECT_EQ(vantrel::hostProcedure3Calls(), procedure3Calls + 1);
    EXPECT_EQ(vantrel::hostService(static_cast<HostServiceIndex>(4)), nullptr);
    {
        const vantrel::CommandRegistrar group(L"HOST", L"HxAcAppProbe", 2, countingEntry);
    }
    const CommandRegistry::Command* registered = CommandRegistry::global().find(L"hxacappprobe");
    ASSERT_NE(registered, nullptr);
    EXPECT_EQ(registered->kind, CommandRegistry::Kind::Function);
    EXPECT_EQ(registered->group, L"HOST");
    EXPECT_EQ(registered->flags, 2u);
    registered->entry();
    EXPECT_EQ(g_entryRuns, 1);

    // A loaded "deziro.dll" comes before "HxAcApp.dll", at the very next lookup.
    void* deziro = dlopen(DEZIRO_LIBRARY, RTLD_NOW | RTLD_GLOBAL);
    ASSERT_NE(deziro, nullptr) << dlerror();
    EXPECT_EQ(findHostMainModule(), vantrel::findLoadedModule("deziro.dll"));
    auto state = reinterpret_cast<FakeHostStateExport>(dlsym(deziro, "fakeHostState"))();
    vantrel::hostService(kHostProcedure3)();
    EXPECT_EQ(state->procedure3Calls, 1);
    {
        const vantrel::CommandRegistrar named("targetpoint", nullCreator);
        const vantrel::CommandRegistrar function(L"HOST", L"Solid", 0, countingEntry);
    }
    // One factory per registration, each released at once.
    EXPECT_EQ(state->factoriesMade, 2);
    EXPECT_EQ(state->factoriesLive, 0);
    ASSERT_EQ(state->registrations.size(), 2u);
    EXPECT_EQ(state->registrations[0].name, "targetpoint");
    EXPECT_EQ(state->registrations[0].creator, &nullCreator);
    EXPECT_EQ(state->registrations[1].group, L"HOST");
    EXPECT_EQ(state->registrations[1].wideName, L"Solid");
    EXPECT_EQ(state->registrations[1].flags, 0u);
    EXPECT_EQ(state->registrations[1].entry, &countingEntry);

    // Unloaded again, "HxAcApp.dll" answers as before: nothing was cached.
    ASSERT_EQ(dlclose(deziro), 0);
    ASSERT_EQ(vantrel::findLoadedModule("deziro"), nullptr);
    EXPECT_EQ(findHostMainModule(), host);
}

using HostServices = ModuleHostFixture;

TEST_F(HostServices, TheApplicationAndItsDocumentAreFoundWhileTheyExist)
{
    EXPECT_EQ(vantrel::hostApplication(), nullptr);
    EXPECT_EQ(vantrel::messageEditor(), nullptr);
    start("");
    EXPECT_EQ(vantrel::hostApplication(), app.get());
    EXPECT_EQ(vantrel::activeDocument(), document);
    EXPECT_EQ(vantrel::messageEditor(), &document->editor());
    EXPECT_EQ(vantrel::commandDocument(), document);

    app->closeDocument();
    EXPECT_EQ(vantrel::messageEditor(), &app->editor());
    EXPECT_EQ(vantrel::commandDocument(), nullptr);
    EXPECT_EQ(output(), "No drawing is open.\n");
}
