// `vantrel` at a pseudo-terminal, through the real line editor: Esc and Ctrl-C cancel, leaving
// with unsaved changes asks, a stop signal leaves a recovery copy, an unusable output is refused
// before anything runs, and a save that fails at the end asks for another name.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Session.h"
#include "TestFolder.h"

namespace fs = std::filesystem;

// Types keys and waits for what they bring up.
::testing::AssertionResult answer(Session& s, std::string_view keys, std::string_view expected)
{
    s.type(keys);
    if (s.waitFor(expected))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no \"" << expected << "\" after " << ::testing::PrintToString(keys)
                                         << "; the terminal shows:\n"
                                         << s.output();
}

class TerminalTest : public TestFolder {
protected:
    std::vector<std::string> command(const std::vector<std::string>& args) const
    {
        std::vector<std::string> c{VANTREL_EXE, "--profile", (dir / "profile.toml").string(), "--plugin",
                                   VANTREL_TEST_PLUGIN};
        c.insert(c.end(), args.begin(), args.end());
        return c;
    }
    // An interactive session, up to its first `Command:`.
    std::unique_ptr<Session> start(const std::vector<std::string>& args)
    {
        auto session = std::make_unique<Session>(Session::Input::Terminal, command(args), dir.string());
        EXPECT_TRUE(session->waitFor("Command: ")) << session->output();
        return session;
    }
    // The types of the model-space entities of a drawing, as `vantrel FILE --json` lists them.
    std::vector<std::string> entityTypes(const fs::path& drawing)
    {
        const fs::path json = dir / "entities.json";
        Session read(Session::Input::Pipe, command({drawing.string(), "--json", json.string()}), dir.string());
        read.closeInput();
        EXPECT_EQ(read.finish(), 0) << read.output();
        std::ifstream in(json);
        const nlohmann::json drawingData = nlohmann::json::parse(in);
        std::vector<std::string> types;
        for (const auto& e : drawingData["entities"])
            if (e["space"] == "model")
                types.push_back(e["type"]);
        return types;
    }
};

// The prompt after a cancel is the command line's again, and the drawing has nothing new.
TEST_F(TerminalTest, EscAndCtrlCCancelThePromptAndLeaveTheDrawingAsItWas)
{
    auto s = start({"-o", "out.dxf"});
    EXPECT_NE(s->output().find("HELP"), std::string::npos) << s->output();
    EXPECT_NE(s->output().find("QUIT"), std::string::npos) << s->output();

    ASSERT_TRUE(answer(*s, "circle\r", "Specify center point"));
    ASSERT_TRUE(answer(*s, "5,5\r", "Specify radius"));
    ASSERT_TRUE(answer(*s, "\x1b", "*Cancel*\nCommand: ")); // Esc, alone

    ASSERT_TRUE(answer(*s, "circle\r", "Specify center point"));
    ASSERT_TRUE(answer(*s, "\x03", "*Cancel*\nCommand: ")); // Ctrl-C: SIGINT from the terminal
    ASSERT_TRUE(answer(*s, "\x03", "*Cancel*\nCommand: "));

    // Keys whose sequences start with ESC are keys, not Esc: the point is taken.
    ASSERT_TRUE(answer(*s, "line\r", "Specify first point: "));
    ASSERT_TRUE(answer(*s, "1,1\x1b[D\x1b[C\r", "Specify next point"));
    ASSERT_TRUE(answer(*s, "\x1b", "*Cancel*\nCommand: "));

    ASSERT_TRUE(answer(*s, "testcount\r", "0 entities"));
    ASSERT_TRUE(s->waitFor("Command: ")) << s->output();
    s->type("\x04");
    EXPECT_EQ(s->finish(), 0) << s->output();
    EXPECT_TRUE(entityTypes(dir / "out.dxf").empty());
}

// Space ends an answer (and repeats the last command at `Command:`), but is part of a text, which
// may hold letters beyond ASCII; Tab completes a command name.
TEST_F(TerminalTest, SpaceEndsAnAnswerExceptInTextAndTabCompletes)
{
    auto s = start({});
    ASSERT_TRUE(answer(*s, "circ\t 5,5 2\r", "Specify radius of circle or [Diameter]: "));
    ASSERT_TRUE(s->waitFor("Command: ")) << s->output();
    ASSERT_TRUE(answer(*s, " 9,9 1\r", "Command: "));
    ASSERT_TRUE(answer(*s, "save my plan \u00e9t\u00e9\r", "Saved my plan \u00e9t\u00e9.dxf"));
    s->type("quit\r");
    EXPECT_EQ(s->finish(), 0) << s->output();
    EXPECT_EQ(entityTypes(dir / "my plan \u00e9t\u00e9.dxf"), (std::vector<std::string>{"CIRCLE", "CIRCLE"}));
}

TEST_F(TerminalTest, LeavingWithUnsavedChangesAsks)
{
    {
        auto s = start({"-o", "out.dxf"});
        ASSERT_TRUE(answer(*s, "line\r0,0\r10,0\r\r", "Command: "));
        ASSERT_TRUE(answer(*s, "\x04", "Save changes to out.dxf? [Yes/No/Cancel] <Yes>: ")); // Ctrl-D
        ASSERT_TRUE(answer(*s, "c\r", "Command: "));
        ASSERT_TRUE(answer(*s, "testcount\r", "1 entities"));
        ASSERT_TRUE(answer(*s, "quit\r", "Save changes to out.dxf?"));
        s->type("n\r");
        EXPECT_EQ(s->finish(), 0) << s->output();
        EXPECT_FALSE(fs::exists(dir / "out.dxf")); // No: the output is not written
    }
    {
        auto s = start({"-o", "out.dxf"});
        ASSERT_TRUE(answer(*s, "line\r0,0\r10,0\r\r", "Command: "));
        ASSERT_TRUE(answer(*s, "\x04", "Save changes to out.dxf?"));
        s->type("\r"); // Yes
        EXPECT_EQ(s->finish(), 0) << s->output();
        EXPECT_EQ(entityTypes(dir / "out.dxf"), std::vector<std::string>{"LINE"});
        EXPECT_FALSE(fs::exists(dir / "out.dxf.bak")); // saved once, not again at the end
    }
    {
        // A new drawing has no name: Yes asks for one.
        auto s = start({});
        ASSERT_TRUE(answer(*s, "circle\r0,0\r1\r", "Command: "));
        ASSERT_TRUE(answer(*s, "\x04", "Save changes to the new drawing?"));
        ASSERT_TRUE(answer(*s, "y\r", "Enter file name: "));
        s->type("mine\r");
        EXPECT_EQ(s->finish(), 0) << s->output();
        EXPECT_EQ(entityTypes(dir / "mine.dxf"), std::vector<std::string>{"CIRCLE"});
    }
}

// SIGTERM at `Command:` and inside a command: the run stops, says where the drawing is, and the
// copy holds everything drawn (the line being drawn keeps its finished segment).
TEST_F(TerminalTest, StopSignalLeavesARecoveryCopyThatReopensWithEveryEntity)
{
    fs::create_directories(dir / "work");
    for (bool insideACommand : {false, true}) {
        fs::remove(dir / "work" / "out.recover.dxf");
        auto s = start({"-o", "work/out.dxf"});
        ASSERT_TRUE(answer(*s, "circle\r0,0\r1\r", "Command: "));
        ASSERT_TRUE(answer(*s, "line\r0,0\r10,0\r", "Specify next point or [Close/Undo]: "));
        ASSERT_TRUE(s->waitFor("Specify next point or [Close/Undo]: ")) << s->output();
        if (!insideACommand) {
            ASSERT_TRUE(answer(*s, "\r", "Command: "));
        }
        s->signal(SIGTERM);
        int status = s->finish();
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status << s->output();
        EXPECT_NE(s->output().find("out.recover.dxf"), std::string::npos) << s->output();
        EXPECT_FALSE(fs::exists(dir / "work" / "out.dxf"));
        EXPECT_EQ(entityTypes(dir / "work" / "out.recover.dxf"), (std::vector<std::string>{"CIRCLE", "LINE"}));
    }
}

TEST_F(TerminalTest, AnUnusableOutputIsRefusedBeforeAnythingRuns)
{
    Session s(Session::Input::Terminal, command({"-o", "no/such/folder/out.dxf"}), dir.string());
    int status = s.finish();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << s.output();
    EXPECT_NE(s.output().find("no/such/folder/out.dxf: cannot be written"), std::string::npos) << s.output();
    EXPECT_EQ(s.output().find("Command:"), std::string::npos) << s.output();
}

// The output's folder goes away during the session: the save at the end fails, and the terminal
// asks for another name.
TEST_F(TerminalTest, ASaveThatFailsAtTheEndAsksForAnotherName)
{
    fs::create_directories(dir / "gone");
    auto s = start({"-o", "gone/out.dxf"});
    ASSERT_TRUE(answer(*s, "testremovefolder\r", "Folder to remove: "));
    ASSERT_TRUE(answer(*s, "gone\r", "removed"));
    ASSERT_TRUE(s->waitFor("Command: ")) << s->output();
    ASSERT_TRUE(answer(*s, "\x04", "Save the drawing to another file"));
    ASSERT_TRUE(answer(*s, "elsewhere.dxf\r", "Saved elsewhere.dxf"));
    EXPECT_EQ(s->finish(), 0) << s->output();
    EXPECT_TRUE(fs::exists(dir / "elsewhere.dxf"));
}

// --batch at a terminal: no command line, the outputs written.
TEST_F(TerminalTest, BatchRunsNoCommandLine)
{
    Session s(Session::Input::Terminal, command({"--batch", "-o", "out.dxf"}), dir.string());
    EXPECT_EQ(s.finish(), 0) << s.output();
    EXPECT_EQ(s.output(), "");
    EXPECT_TRUE(fs::exists(dir / "out.dxf"));
}
