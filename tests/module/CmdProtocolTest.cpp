// The command-object protocol as the host drives it: reference counts, the interfaces
// QueryInterface answers, the context a command holds, and creators (also when allocation fails).
#include <gtest/gtest.h>

#include <new>

#include "frame/CHxUnknownImpl.h"
#include "frame/HeldContext.h"
#include "frame/command_creators.h"

namespace {

// A host object handed over as context, counting its references.
class CountedContext final : public IHxUnknown {
public:
    CountedContext() = default;
    ~CountedContext() = default;

    std::uint32_t AddRef() override { return ++refs; }
    std::uint32_t Release() override { return --refs; }
    bool QueryInterface(const std::type_info&, void**) override { return false; }
    std::uint32_t refs = 1;
};

bool g_failAllocation = false;
int g_destroyed = 0;

// An object command the way the module's commands are built: context and status fields.
class ProbeCmd : public CHxUnknownImpl<ICmdProcess> {
public:
    explicit ProbeCmd(int mode) : m_mode(mode) {}
    ~ProbeCmd() override { ++g_destroyed; }

    int Run(int) override { return 0; }
    std::int32_t GetStatus() override { return m_status; }
    int QueryFlagB() override { return 1; }
    int GetContext(IHxUnknown** out) override { return m_context.get(out); }
    int SetContext(IHxUnknown* context) override { return m_context.set(context); }
    int mode() const { return m_mode; }

    // The creator's allocation, made to fail on request.
    static void* operator new(std::size_t size, const std::nothrow_t& tag) noexcept
    {
        return g_failAllocation ? nullptr : ::operator new(size, tag);
    }
    static void operator delete(void* p) noexcept { ::operator delete(p); }
    static void operator delete(void* p, const std::nothrow_t&) noexcept { ::operator delete(p); }

private:
    vantrel::HeldContext m_context;
    std::int32_t m_status = 0;
    int m_mode;
};

class CmdProtocol : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_failAllocation = false;
        g_destroyed = 0;
        ASSERT_EQ((vantrel::createCommand<ProbeCmd, 101>(&created)), 1);
        ASSERT_NE(created, nullptr);
        cmd = static_cast<ProbeCmd*>(created);
    }
    void TearDown() override
    {
        if (cmd)
            cmd->Release();
    }

    ICmdProcess* created = nullptr;
    ProbeCmd* cmd = nullptr;
};

} // namespace

TEST_F(CmdProtocol, CreatorHandsOverOneReferenceAndTheEmptyState)
{
    EXPECT_EQ(cmd->referenceCount(), 1u);
    EXPECT_EQ(cmd->mode(), 101);
    EXPECT_EQ(cmd->GetStatus(), 0);
    EXPECT_EQ(cmd->QueryFlagA(), 0);
    IHxUnknown* context = reinterpret_cast<IHxUnknown*>(0x1);
    EXPECT_EQ(cmd->GetContext(&context), 0);
    EXPECT_EQ(context, reinterpret_cast<IHxUnknown*>(0x1)) << "nothing held: the out pointer is left alone";
}

TEST_F(CmdProtocol, ReleaseFromOneDestroysAndAnswersZero)
{
    EXPECT_EQ(cmd->AddRef(), 2u);
    EXPECT_EQ(cmd->Release(), 1u);
    EXPECT_EQ(g_destroyed, 0);
    EXPECT_EQ(std::exchange(cmd, nullptr)->Release(), 0u);
    EXPECT_EQ(g_destroyed, 1);
}

TEST_F(CmdProtocol, QueryInterfaceAnswersTheUnknownAndProcessInterfacesOnly)
{
    void* out = nullptr;
    EXPECT_TRUE(cmd->QueryInterface(typeid(IHxUnknown), &out));
    EXPECT_EQ(out, static_cast<IHxUnknown*>(cmd));
    EXPECT_EQ(cmd->referenceCount(), 2u);

    EXPECT_TRUE(cmd->QueryInterface(typeid(ICmdProcess), &out));
    EXPECT_EQ(out, static_cast<ICmdProcess*>(cmd));
    EXPECT_EQ(cmd->referenceCount(), 3u);

    out = cmd;
    EXPECT_FALSE(cmd->QueryInterface(typeid(ICmdRun), &out)) << "implemented but never answered";
    EXPECT_EQ(out, nullptr);
    out = cmd;
    EXPECT_FALSE(cmd->QueryInterface(typeid(ICmdFactory), &out));
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(cmd->referenceCount(), 3u);

    // Without an out pointer only the answer is given.
    EXPECT_TRUE(cmd->QueryInterface(typeid(ICmdProcess), nullptr));
    EXPECT_FALSE(cmd->QueryInterface(typeid(ICmdRun), nullptr));
    EXPECT_EQ(cmd->referenceCount(), 3u);
    cmd->Release();
    cmd->Release();
}

TEST_F(CmdProtocol, ContextIsHeldOnceAndGivenBackWithAReference)
{
    CountedContext first, second;
    EXPECT_EQ(cmd->SetContext(&first), 1);
    EXPECT_EQ(first.refs, 2u);
    EXPECT_EQ(cmd->SetContext(&first), 1);
    EXPECT_EQ(first.refs, 2u) << "handing over the held object again changes no count";

    IHxUnknown* out = nullptr;
    EXPECT_EQ(cmd->GetContext(&out), 1);
    EXPECT_EQ(out, &first);
    EXPECT_EQ(first.refs, 3u);
    out->Release();

    EXPECT_EQ(cmd->SetContext(&second), 1);
    EXPECT_EQ(first.refs, 1u);
    EXPECT_EQ(second.refs, 2u);

    EXPECT_EQ(cmd->SetContext(nullptr), 1);
    EXPECT_EQ(second.refs, 1u);
    out = &first;
    EXPECT_EQ(cmd->GetContext(&out), 0);
    EXPECT_EQ(out, &first);

    // The command gives back what it holds when it goes away.
    cmd->SetContext(&second);
    EXPECT_EQ(std::exchange(cmd, nullptr)->Release(), 0u);
    EXPECT_EQ(second.refs, 1u);
}

TEST_F(CmdProtocol, CreatorWhoseAllocationFailsStoresNullAndAnswersOne)
{
    g_failAllocation = true;
    ICmdProcess* out = cmd;
    EXPECT_EQ((vantrel::createCommand<ProbeCmd, 2>(&out)), 1);
    EXPECT_EQ(out, nullptr);
}
