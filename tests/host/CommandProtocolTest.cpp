// The command protocol as a module meets it: the host's exports found with dlsym, the factory,
// the object-command protocol with its context, function and host commands, and one undo group
// per command.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <stdexcept>
#include <string>
#include <vector>

#include <vantrel/db/OdError.h>
#include <vantrel/host/HostCommandContext.h>
#include <vantrel/host/host_exports.h>

#include "HostAppFixture.h"

namespace {

// What the host did to the last command object, in order.
std::vector<std::string> g_calls;
vantrel::HostCommandContext* g_seenContext = nullptr;
bool g_keepContext = false;
int g_runResult = 0;

class RecordingCmd final : public ICmdProcess {
public:
    static int create(ICmdProcess** out)
    {
        *out = new RecordingCmd;
        return 1;
    }
    static int createNothing(ICmdProcess** out)
    {
        *out = nullptr;
        return 1;
    }

    std::uint32_t AddRef() override { return ++m_refs; }
    std::uint32_t Release() override
    {
        g_calls.push_back("Release");
        if (--m_refs > 0)
            return m_refs;
        delete this;
        return 0;
    }
    bool QueryInterface(const std::type_info&, void** out) override
    {
        if (out)
            *out = nullptr;
        return false;
    }
    int Run(int argument) override
    {
        g_calls.push_back("Run(" + std::to_string(argument) + ")");
        m_status = g_runResult == 0 ? kStatusFinished : kStatusFailed;
        return g_runResult;
    }
    std::int32_t GetStatus() override
    {
        g_calls.push_back("GetStatus");
        return m_status;
    }
    int QueryFlagA() override { return 0; }
    int QueryFlagB() override { return 1; }
    int GetContext(IHxUnknown** out) override
    {
        if (!m_context)
            return 0;
        m_context->AddRef();
        *out = m_context;
        return 1;
    }
    int SetContext(IHxUnknown* context) override
    {
        g_calls.push_back(context ? "SetContext" : "SetContext(null)");
        g_seenContext = static_cast<vantrel::HostCommandContext*>(context);
        if (context)
            context->AddRef();
        if (m_context && !g_keepContext)
            m_context->Release();
        m_context = context;
        return 1;
    }

private:
    ~RecordingCmd()
    {
        if (m_context && !g_keepContext)
            m_context->Release();
    }
    std::uint32_t m_refs = 1;
    std::int32_t m_status = kStatusFinished;
    IHxUnknown* m_context = nullptr;
};

int g_entryRuns = 0;
void countingEntry() { ++g_entryRuns; }

// Two lines in one command, so that undo groups can be seen.
void twoLines()
{
    HostDocument& doc = *HostApplication::current()->activeDocument();
    OdDbBlockTableRecordPtr space = doc.database()->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    for (int i = 0; i < 2; ++i) {
        OdDbLinePtr line = OdDbLine::createObject();
        line->setEndPoint(OdGePoint3d(1.0 + i, 0.0, 0.0));
        space->appendOdDbEntity(line.get());
    }
}

void lineThenFailure()
{
    twoLines();
    throw OdError(eInvalidInput, "broken on purpose");
}

void* hostLibrary()
{
    void* handle = dlopen("libvantrel_host.so", RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle;
}

template <class Fn>
Fn hostExport(const char* name)
{
    return reinterpret_cast<Fn>(dlsym(hostLibrary(), name));
}

} // namespace

class CommandProtocolTest : public HostAppFixture {
protected:
    CommandProtocolTest()
    {
        g_calls.clear();
        g_seenContext = nullptr;
        g_keepContext = false;
        g_runResult = 0;
        // Registered the way a module does it: through the exported factory.
        auto make = hostExport<decltype(&new_ICmdFactory)>("new_ICmdFactory");
        EXPECT_NE(make, nullptr);
        ICmdFactory* factory = nullptr;
        EXPECT_EQ(make(&factory), 1);
        factory->registerNamedCommand("protoRecord", &RecordingCmd::create);
        factory->registerNamedCommand("protoNothing", &RecordingCmd::createNothing);
        factory->registerGroupCommand(L"TEST", L"protoEntry", 2, countingEntry);
        factory->registerGroupCommand(L"TEST", L"protoTwoLines", 0, twoLines);
        factory->registerGroupCommand(L"TEST", L"protoFail", 0, lineThenFailure);
        EXPECT_EQ(factory->Release(), 0u);
    }
};

TEST_F(CommandProtocolTest, ExportsAreFoundWithDlsym)
{
    ASSERT_NE(hostLibrary(), nullptr);
    auto instance = hostExport<void* (*)()>("GetMainDllInstanceEx");
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance(), hostLibrary());

    auto services = hostExport<decltype(&get_host_funcptr)>("get_host_funcptr");
    ASSERT_NE(services, nullptr);
    auto application = reinterpret_cast<HostApplicationService>(services(kHostApplicationService));
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(application(), &app);
    auto procedure = reinterpret_cast<HostProcedure>(services(kHostProcedure3));
    ASSERT_NE(procedure, nullptr);
    std::uint64_t before = vantrel::hostProcedure3Calls();
    procedure();
    procedure();
    EXPECT_EQ(vantrel::hostProcedure3Calls(), before + 2);
    for (int index : {-1, 0, 1, 4, 100})
        EXPECT_EQ(services(index), nullptr) << index;
    EXPECT_EQ(hostExport<decltype(&new_ICmdFactory)>("new_ICmdFactory")(nullptr), 0);
}

TEST_F(CommandProtocolTest, RegistrationKeepsKindGroupAndFlags)
{
    const auto* entry = app.commands().find(L"PROTOENTRY");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->kind, vantrel::CommandRegistry::Kind::Function);
    EXPECT_EQ(entry->group, L"TEST");
    EXPECT_EQ(entry->flags, 2u);
    EXPECT_EQ(entry->name, L"protoEntry");
    const auto* object = app.commands().find(L"ProtoRecord");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->kind, vantrel::CommandRegistry::Kind::Object);
    // A later registration of a name replaces the earlier one.
    app.commands().addFunctionCommand(L"TEST", L"PROTOENTRY", 0, twoLines);
    EXPECT_EQ(app.commands().find(L"protoentry")->entry, &twoLines);
    EXPECT_THROW(app.commands().addObjectCommand(L"", &RecordingCmd::create), OdError);
    EXPECT_THROW(app.commands().addObjectCommand(L"x", nullptr), OdError);
}

TEST_F(CommandProtocolTest, ObjectCommandRunsThroughTheProtocolWithAContext)
{
    std::size_t liveBefore = vantrel::HostCommandContext::liveCount();
    HostApplication::CommandRun run = app.runCommand(L"protorecord");
    EXPECT_EQ(run.result, HostApplication::CommandRun::Result::Done);
    EXPECT_EQ(run.runResult, 0);
    EXPECT_EQ(run.status, ICmdProcess::kStatusFinished);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"SetContext", "Run(0)", "GetStatus", "Release"}));
    // The command gave its reference back, and so did the host.
    EXPECT_EQ(vantrel::HostCommandContext::liveCount(), liveBefore);

    g_calls.clear();
    g_runResult = 1;
    run = app.runCommand(L"  ._PROTORECORD ");
    EXPECT_EQ(run.runResult, 1);
    EXPECT_EQ(run.status, ICmdProcess::kStatusFailed);
    EXPECT_EQ(g_calls.size(), 4u);
}

TEST_F(CommandProtocolTest, ContextAnswersOnlyIHxUnknownAndOutlivesNoRun)
{
    HostDocument& d = doc;
    vantrel::HostCommandContext* context = vantrel::HostCommandContext::create(d);
    void* out = reinterpret_cast<void*>(&d);
    EXPECT_FALSE(context->QueryInterface(typeid(ICmdProcess), &out));
    EXPECT_EQ(out, nullptr);
    EXPECT_FALSE(context->QueryInterface(typeid(ICmdRun), &out));
    EXPECT_TRUE(context->QueryInterface(typeid(IHxUnknown), nullptr));
    EXPECT_EQ(context->referenceCount(), 1u);
    EXPECT_TRUE(context->QueryInterface(typeid(IHxUnknown), &out));
    EXPECT_EQ(out, static_cast<IHxUnknown*>(context));
    EXPECT_EQ(context->referenceCount(), 2u);
    EXPECT_EQ(context->Release(), 1u);
    EXPECT_EQ(context->document(), &d);
    EXPECT_EQ(context->Release(), 0u);

    // A command that keeps the context past its run finds no document in it.
    g_keepContext = true;
    std::size_t liveBefore = vantrel::HostCommandContext::liveCount();
    app.runCommand(L"protorecord");
    ASSERT_EQ(vantrel::HostCommandContext::liveCount(), liveBefore + 1);
    ASSERT_NE(g_seenContext, nullptr);
    EXPECT_EQ(g_seenContext->document(), nullptr);
    EXPECT_EQ(g_seenContext->Release(), 0u);
    EXPECT_EQ(vantrel::HostCommandContext::liveCount(), liveBefore);
}

TEST_F(CommandProtocolTest, CreatorThatMakesNothingIsReported)
{
    HostApplication::CommandRun run = app.runCommand(L"protoNothing");
    EXPECT_EQ(run.result, HostApplication::CommandRun::Result::Failed);
    EXPECT_EQ(output(), "The command protoNothing could not be created.\n");
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(CommandProtocolTest, FunctionAndUnknownCommands)
{
    int before = g_entryRuns;
    EXPECT_EQ(app.runCommand(L"_protoentry").result, HostApplication::CommandRun::Result::Done);
    EXPECT_EQ(g_entryRuns, before + 1);

    EXPECT_EQ(app.runCommand(L"nosuch").result, HostApplication::CommandRun::Result::Unknown);
    EXPECT_EQ(app.runCommand(L"_").result, HostApplication::CommandRun::Result::Unknown);
    EXPECT_EQ(output(), "Unknown command \"NOSUCH\".\nUnknown command \"\".\n");
}

TEST_F(CommandProtocolTest, EachCommandIsOneUndoGroup)
{
    app.runCommand(L"protoTwoLines");
    app.runCommand(L"protoEntry"); // changes nothing: U passes over it
    app.runCommand(L"protoTwoLines");
    EXPECT_EQ(modelSpaceCount(), 4u);
    EXPECT_FALSE(db->isUndoBlockStarted());

    app.runCommand(L"U");
    EXPECT_EQ(modelSpaceCount(), 2u);
    app.runCommand(L"u");
    EXPECT_EQ(modelSpaceCount(), 0u);
    app.runCommand(L"REDO");
    EXPECT_EQ(modelSpaceCount(), 2u);
    app.runCommand(L"U");
    app.runCommand(L"U");
    // Each step names the command it took back or put back.
    EXPECT_EQ(output(),
              "PROTOTWOLINES\nPROTOTWOLINES\nEverything has been undone\nPROTOTWOLINES\n"
              "PROTOTWOLINES\nEverything has been undone\nNothing to undo.\n");
}

TEST_F(CommandProtocolTest, FailedCommandLeavesTheDrawingAsItWas)
{
    addLine({0, 0, 0}, {1, 0, 0});
    std::size_t before = modelSpaceCount();
    HostApplication::CommandRun run = app.runCommand(L"protoFail");
    EXPECT_EQ(run.result, HostApplication::CommandRun::Result::Failed);
    EXPECT_EQ(modelSpaceCount(), before);
    EXPECT_FALSE(db->isUndoBlockStarted());
    EXPECT_NE(output().find("protoFail failed: broken on purpose"), std::string::npos);
}

TEST_F(CommandProtocolTest, CommandLoopRepeatsOnEnterAndRunsUntilTheInputEnds)
{
    // Enter repeats the last command that ran; an unknown name is not one.
    script("protoTwoLines\n\nbogus\n\nU\n");
    app.runCommandLoop();
    EXPECT_EQ(modelSpaceCount(), 4u);
    EXPECT_EQ(output(),
              "Command: protoTwoLines\nCommand: \nCommand: bogus\nUnknown command \"BOGUS\".\n"
              "Command: \nCommand: U\nPROTOTWOLINES\nCommand: \n");
}

TEST(HostApplicationAbsent, ServiceTwoGivesNullWithoutAnApplication)
{
    auto application = reinterpret_cast<HostApplicationService>(get_host_funcptr(kHostApplicationService));
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(application(), nullptr);
}
