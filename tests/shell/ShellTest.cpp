// The `vantrel` executable end to end: exit codes, messages, scripts, modules, and that a
// refused run writes nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "TestFolder.h"

namespace fs = std::filesystem;

class ShellTest : public TestFolder {
protected:
    struct Result {
        int status;
        std::string out;
        std::string err;
    };

    static std::string quote(const std::string& s)
    {
        std::string q = "'";
        for (char c : s)
            q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    }

    // Standard input is the named file, or empty (never the terminal the tests run in); env is
    // put in front of the command ("NAME=VALUE ").
    Result run(const std::vector<std::string>& args, const std::string& input = "/dev/null",
               const std::string& env = "")
    {
        std::string cmd = env + quote(VANTREL_EXE) + " --profile " + quote(path("profile.toml"));
        for (const auto& a : args)
            cmd += " " + quote(a);
        cmd += " <" + quote(input) + " >" + quote(path("stdout")) + " 2>" + quote(path("stderr"));
        int raw = std::system(cmd.c_str());
        Result r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read("stdout"), read("stderr")};
        fs::remove(path("stdout"));
        fs::remove(path("stderr"));
        return r;
    }

    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::string read(const std::string& name) const
    {
        std::stringstream s;
        s << std::ifstream(path(name)).rdbuf();
        return s.str();
    }
    void write(const std::string& name, const std::string& text) const { std::ofstream(path(name)) << text; }
    // The outputs of a run that must not happen.
    std::vector<std::string> outputArgs() const
    {
        return {"-o", path("out.dxf"), "--svg", path("out.svg"), "--json", path("out.json")};
    }
    bool anyOutput() const
    {
        return fs::exists(path("out.dxf")) || fs::exists(path("out.svg")) || fs::exists(path("out.json"));
    }
};

TEST_F(ShellTest, WrongUsageExitsTwoAndVersionAnswers)
{
    for (std::vector<std::string> args : {std::vector<std::string>{"--frobnicate"}, {"a.dxf", "b.dxf"}, {"-o"}}) {
        Result r = run(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_FALSE(r.err.empty());
    }
    Result v = run({"--version"});
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, "vantrel 0.1.0\n");
    EXPECT_EQ(run({"--help"}).status, 0);
}

TEST_F(ShellTest, UnreadableDrawingExitsOneAndWritesNothing)
{
    write("damaged.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot-a-number\n");
    for (const std::string& name : {path("missing.dxf"), path("damaged.dxf")}) {
        std::vector<std::string> args{name};
        for (auto& a : outputArgs())
            args.push_back(a);
        Result r = run(args);
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_EQ(r.err.rfind(name + ": ", 0), 0u) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(anyOutput());
    }
}

TEST_F(ShellTest, ScriptRunsCommandsAndEndsInsideARequestByCancelling)
{
    // The second line is left unfinished: the script ends at its second point.
    write("draw.scr", "; draw\ntestline\n0,0\n10,0\ntestline\n1,1\n");
    std::vector<std::string> args{"--plugin", VANTREL_TEST_PLUGIN, "-s", path("draw.scr")};
    for (auto& a : outputArgs())
        args.push_back(a);
    Result r = run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "Command: testline\nSpecify first point: 0,0\nSpecify next point: 10,0\n"
              "Command: testline\nSpecify first point: 1,1\nSpecify next point: *Cancel*\n");
    std::vector<std::string> model;
    const auto json = nlohmann::json::parse(read("out.json"));
    for (const auto& e : json["entities"])
        if (e["space"] == "model")
            model.push_back(e["type"]);
    EXPECT_EQ(model, std::vector<std::string>{"LINE"});
    EXPECT_TRUE(fs::exists(path("out.dxf")));

    // The same script from standard input gives the same transcript.
    Result piped = run({"--plugin", VANTREL_TEST_PLUGIN}, path("draw.scr"));
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, r.out);

    EXPECT_EQ(run({"-s", path("none.scr")}).status, 1);
}

TEST_F(ShellTest, TransientsRemainingAtTheEndAreDrawnIntoTheSvg)
{
    write("t.scr", "testtransient\n");
    Result r = run({"--plugin", VANTREL_TEST_PLUGIN, "-s", path("t.scr"), "--svg", path("out.svg")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(read("out.svg").find("<circle"), std::string::npos);
}

TEST_F(ShellTest, SettingsAndModulesTheUserMustFixExitOne)
{
    write("ok.scr", "; nothing\n");
    struct Case {
        std::vector<std::string> args;
        std::string env;
        std::string message;
    };
    const std::vector<Case> cases{
        {{"--set", "NOSUCHVAR=1"}, "", "NOSUCHVAR"},
        {{"--set", "PICKSTYLE=7"}, "", "PICKSTYLE"},
        {{"--set", "PICKSTYLE"}, "", "PICKSTYLE"},
        {{"--set", "EXTMAX=inf,1,1"}, "", "EXTMAX: expects finite coordinates"},
        {{"--set", "INSBASE=1,nan,2"}, "", "INSBASE: expects finite coordinates"},
        {{"--plugin", path("missing.so")}, "", "missing.so: no such file"},
        {{"--plugin", path("ok.scr")}, "", "cannot load"},
        {{}, "VANTREL_MODULE_PATH=" + quote(path("nomodule.so")) + " ", "nomodule.so: no such file"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back("-s");
        args.push_back(path("ok.scr"));
        for (auto& a : outputArgs())
            args.push_back(a);
        Result r = run(args, "/dev/null", c.env);
        EXPECT_EQ(r.status, 1) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_FALSE(anyOutput()) << c.message;
    }
}

TEST_F(ShellTest, ModuleFromTheEnvironmentAndSettingsIntoTheProfile)
{
    write("count.scr", "testcount\n");
    Result r = run({"--set", "PICKSTYLE=2", "-s", path("count.scr")}, "/dev/null",
                   "VANTREL_MODULE_PATH=" + quote(VANTREL_TEST_PLUGIN) + " ");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Command: testcount\n0 entities\nCommand: \n");
    EXPECT_NE(read("profile.toml").find("PICKSTYLE = 2"), std::string::npos);
    // Without the module its commands are unknown; a module missing from its default place is
    // not an error.
    Result without = run({"-s", path("count.scr")});
    EXPECT_EQ(without.status, 0);
    EXPECT_EQ(without.out, "Command: testcount\nUnknown command \"TESTCOUNT\".\nCommand: \n");
}

// A profile that cannot be used is told once and ignored: a pipe in its place neither blocks the
// start nor, when a setting cannot be saved there, takes the script's next line; illegal values
// fall back to their defaults.
TEST_F(ShellTest, AProfileThatCannotBeUsedIsToldAndIgnored)
{
    write("set.scr", "setvar\npickstyle\n2\nsetvar\npickstyle\n\n");
    ASSERT_EQ(::mkfifo(path("profile.toml").c_str(), 0600), 0);
    Result piped = run({"-s", path("set.scr")});
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_NE(piped.err.find("is not a regular file"), std::string::npos) << piped.err;
    EXPECT_NE(piped.out.find("holds for this session only\nCommand: setvar\nEnter variable name: pickstyle\n"
                             "Enter new value for PICKSTYLE <2>: \nCommand: "),
              std::string::npos)
        << piped.out;
    fs::remove(path("profile.toml"));

    write("profile.toml", "[sysvars]\nPICKSTYLE = \"abc\"\n");
    Result edited = run({"-s", path("set.scr")});
    EXPECT_EQ(edited.status, 0) << edited.err;
    EXPECT_EQ(edited.err,
              "vantrel: " + path("profile.toml")
                  + ": PICKSTYLE: the profile holds a string value; must be between 0 and 3; the default "
                    "1 holds\n");
    EXPECT_NE(edited.out.find("PICKSTYLE <1>: 2"), std::string::npos) << edited.out;

    write("profile.toml", "sysvars = 5\n");
    Result wrongType = run({"-s", path("set.scr")});
    EXPECT_EQ(wrongType.status, 0) << wrongType.err;
    EXPECT_NE(wrongType.err.find("\"sysvars\" holds a value, not a section"), std::string::npos) << wrongType.err;
    EXPECT_NE(read("profile.toml").find("PICKSTYLE = 2"), std::string::npos);
}

TEST_F(ShellTest, TemplateWritesJsonSvgAndDxf)
{
    Result r = run(outputArgs());
    ASSERT_EQ(r.status, 0) << r.err;

    auto json = nlohmann::json::parse(read("out.json"));
    EXPECT_EQ(json["format"], "vantrel-json");
    EXPECT_EQ(json["version"], 2);
    ASSERT_FALSE(json["layers"].empty());
    EXPECT_EQ(json["layers"][0]["name"], "0");
    EXPECT_TRUE(json["header"]["INSUNITS"].is_number_integer());
    EXPECT_TRUE(json["header"]["CLAYER"].is_string());

    std::string svg = read("out.svg");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);

    // The written DXF reads back to the same drawing.
    Result again = run({path("out.dxf"), "--json", path("again.json")});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(nlohmann::json::parse(read("again.json")), json);
}

// Each output is checked before the drawing is read or the script runs: a folder that does not
// exist, a folder where a file should be, a socket, and an empty name.
TEST_F(ShellTest, UnusableOutputsAreRefusedBeforeTheScriptRuns)
{
    write("count.scr", "testcount\n");
    fs::create_directories(path("folder.dxf"));
    const std::string socket = path("socket.svg");
    ASSERT_EQ(
        std::system(("python3 -c \"import socket; socket.socket(socket.AF_UNIX).bind('" + socket + "')\"").c_str()), 0);
    for (std::vector<std::string> output : {std::vector<std::string>{"-o", path("no/such/dir/out.dxf")},
                                            {"--svg", path("no/such/dir/out.svg")},
                                            {"--json", path("folder.dxf")},
                                            {"--svg", socket}}) {
        Result r = run({"--plugin", VANTREL_TEST_PLUGIN, "-s", path("count.scr"), output[0], output[1]});
        EXPECT_EQ(r.status, 1) << output[1];
        EXPECT_EQ(r.out, "") << output[1];
        EXPECT_EQ(r.err.rfind(output[1] + ": cannot be written", 0), 0u) << r.err;
    }
    for (const char* option : {"-o", "--svg", "--json", "--dlg-svg"}) {
        Result r = run({"--plugin", VANTREL_TEST_PLUGIN, "-s", path("count.scr"), option, ""});
        EXPECT_EQ(r.status, 1) << option;
        EXPECT_EQ(r.out, "") << option;
        EXPECT_NE(r.err.find("needs a file name"), std::string::npos) << r.err;
    }
}

// No output replaces what is not a regular file: a device and a pipe are written where they are,
// "-" is standard output, and a link stays a link with its target replaced.
TEST_F(ShellTest, OutputsGoThroughLinksAndIntoDevicesAndPipes)
{
    Result devices = run({"--json", "/dev/null", "--svg", "/dev/null", "-o", "/dev/null"});
    EXPECT_EQ(devices.status, 0) << devices.err;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    Result out = run({"-o", "-"});
    EXPECT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(out.out.rfind("  0\nSECTION\n", 0), 0u);
    EXPECT_NE(out.out.find("EOF"), std::string::npos);

    write("real.json", "old");
    fs::create_symlink("real.json", path("link.json"));
    ASSERT_EQ(::mkfifo(path("pipe.svg").c_str(), 0600), 0);
    FILE* reader = ::popen(("timeout 60 cat " + quote(path("pipe.svg"))).c_str(), "r");
    ASSERT_NE(reader, nullptr);
    Result linked = run({"--json", path("link.json"), "--svg", path("pipe.svg")});
    std::string svg;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, reader)) > 0)
        svg.append(buffer, n);
    ::pclose(reader);
    EXPECT_EQ(linked.status, 0) << linked.err;
    EXPECT_TRUE(fs::is_symlink(path("link.json")));
    EXPECT_EQ(nlohmann::json::parse(read("real.json"))["format"], "vantrel-json");
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    EXPECT_TRUE(fs::is_fifo(path("pipe.svg")));
}

// Without a script and without a terminal there is no command line at all: a conversion prints
// nothing; --batch does not even read standard input.
TEST_F(ShellTest, ConversionsRunNoCommandLine)
{
    write("count.scr", "testcount\n");
    Result plain = run({"-o", path("out.dxf")});
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, "");
    EXPECT_TRUE(fs::exists(path("out.dxf")));
    Result batch = run({"--batch", "--plugin", VANTREL_TEST_PLUGIN}, path("count.scr"));
    EXPECT_EQ(batch.status, 0) << batch.err;
    EXPECT_EQ(batch.out, "");
}

// The output's folder goes away while the script runs: the drawing is kept in a recovery copy
// in the working folder, which says where, and the run fails.
TEST_F(ShellTest, ADrawingThatCannotBeSavedIsKeptInARecoveryCopy)
{
    fs::create_directories(path("gone"));
    write("draw.scr", "testremovefolder\ngone\nline\n0,0\n5,0\n\n");
    Result r = run(
        {"--plugin", VANTREL_TEST_PLUGIN, "-s", path("draw.scr"), "-o", "gone/out.dxf", "--json", path("out.json")},
        "/dev/null", "cd " + quote(dir.string()) + " && ");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("gone/out.dxf"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("kept in " + path("out.recover.dxf")), std::string::npos) << r.err;
    // The other outputs are written all the same.
    EXPECT_TRUE(fs::exists(path("out.json")));
    Result again = run({path("out.recover.dxf"), "--json", path("again.json")});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(nlohmann::json::parse(read("again.json"))["entities"].size(),
              nlohmann::json::parse(read("out.json"))["entities"].size());
}

// The samples are written by ezdxf: each must open, survive a DXF round trip unchanged, and
// render to a document an XML parser accepts.
TEST_F(ShellTest, SamplesReadWriteAndRender)
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator(VANTREL_SAMPLES)) {
        if (entry.path().extension() != ".dxf")
            continue;
        ++count;
        std::string name = entry.path().string();
        Result r = run({name, "-o", path("out.dxf"), "--svg", path("out.svg"), "--json", path("out.json")});
        ASSERT_EQ(r.status, 0) << name << ": " << r.err;
        auto json = nlohmann::json::parse(read("out.json"));
        EXPECT_FALSE(json["entities"].empty()) << name;
        Result again = run({path("out.dxf"), "--json", path("again.json")});
        ASSERT_EQ(again.status, 0) << name << ": " << again.err;
        EXPECT_EQ(nlohmann::json::parse(read("again.json")), json) << name;
        if (fs::exists("/usr/bin/python3")) {
            std::string parse = "/usr/bin/python3 -c 'import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])' "
                + quote(path("out.svg"));
            EXPECT_EQ(std::system(parse.c_str()), 0) << name;
        }
    }
    EXPECT_GE(count, 2);
}

// Every sample, opened or run as `make demo` runs it, is saved with the extents of its model space
// and paper space in the header, as ezdxf's bounding boxes measure them (saved_extents.py says
// within which tolerance).
TEST_F(ShellTest, SavedExtentsAgreeWithEzdxf)
{
    std::vector<std::string> saved;
    for (const auto& entry : fs::directory_iterator(VANTREL_SAMPLES)) {
        const fs::path& sample = entry.path();
        const std::string out = path(sample.stem().string() + sample.extension().string().substr(1) + ".dxf");
        std::vector<std::string> args;
        if (sample.extension() == ".scr") {
            std::ifstream script(sample);
            for (std::string line; std::getline(script, line);) {
                if (line.rfind("; args: ", 0) != 0)
                    continue;
                std::istringstream words(line.substr(8));
                for (std::string w; words >> w;)
                    args.push_back(w == "@LIGHTPANEL@"        ? VANTREL_LIGHTPANEL
                                       : w == "@OUT@/dialogs" ? path("dialogs")
                                                              : w);
                break;
            }
            fs::path drawing = fs::path(sample).replace_extension(".dxf");
            if (fs::exists(drawing))
                args.push_back(drawing.string());
            args.insert(args.end(), {"-s", sample.string()});
        } else if (sample.extension() == ".dxf") {
            args.push_back(sample.string());
        } else {
            continue;
        }
        args.insert(args.end(), {"-o", out});
        Result r = run(args, "/dev/null", "cd " + quote(VANTREL_SAMPLES) + " && ");
        ASSERT_EQ(r.status, 0) << sample << ": " << r.err;
        saved.push_back(out);
    }
    std::string command = "/usr/bin/python3 " + quote(VANTREL_EXTENTS_CHECK);
    for (const std::string& file : saved)
        command += " " + quote(file);
    command += " >" + quote(path("check.txt")) + " 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << read("check.txt");
    EXPECT_EQ(read("check.txt"), "ok\n");
    EXPECT_GE(saved.size(), 8u);
}

// What `make install` installs (the install rules, run on the tree under test) works from any
// folder: the program finds its libraries, the command module and the plugin beside it, with
// nothing of the build tree. The README's examples run there exactly as written.
TEST_F(ShellTest, InstalledProgramRunsAnywhereAndTheReadmeExamplesRun)
{
    const fs::path prefix = dir / "prefix";
    const std::string install = quote(VANTREL_CMAKE) + " --install " + quote(VANTREL_BUILD_DIR) + " --prefix "
        + quote(prefix.string()) + " >" + quote(path("install.txt")) + " 2>&1";
    ASSERT_EQ(std::system(install.c_str()), 0) << read("install.txt");
    const std::string program = (prefix / "bin" / "vantrel").string();
    EXPECT_TRUE(fs::exists(prefix / "share" / "doc" / "vantrel" / "docs" / "commands.md"));
    const std::string runpath = "readelf -d " + quote(program) + " >" + quote(path("runpath.txt"));
    ASSERT_EQ(std::system(runpath.c_str()), 0);
    EXPECT_NE(read("runpath.txt").find("[$ORIGIN/../lib]"), std::string::npos) << read("runpath.txt");

    // Solid comes from the command module, LIGHTCOLOR from the plugin.
    fs::create_directories(dir / "elsewhere");
    write("elsewhere/draw.scr", "solid\n0,0\n4,0\n0,3\n4,3\n\nlightcolor\n\n");
    const std::string run = "cd " + quote((dir / "elsewhere").string()) + " && " + quote(program)
        + " --version >version.txt && " + quote(program) + " --profile profile.toml --plugin "
        + quote((prefix / "lib" / "libvantrel_lightpanel.so").string())
        + " -s draw.scr -o drawing.dxf </dev/null >out.txt 2>&1";
    ASSERT_EQ(std::system(run.c_str()), 0) << read("elsewhere/out.txt");
    EXPECT_EQ(read("elsewhere/version.txt"), "vantrel 0.1.0\n");
    EXPECT_NE(read("elsewhere/out.txt").find("Specify fourth point: 4,3"), std::string::npos)
        << read("elsewhere/out.txt");
    EXPECT_NE(read("elsewhere/out.txt").find("Result 20: no light."), std::string::npos) << read("elsewhere/out.txt");

    // The README's examples, from a folder that has the samples, with the installed program.
    fs::create_directories(dir / "readme");
    fs::create_directory_symlink(VANTREL_SAMPLES, dir / "readme" / "samples");
    std::ifstream readme(VANTREL_README);
    bool inExamples = false;
    int examples = 0;
    for (std::string line; std::getline(readme, line);) {
        if (line == "Examples:")
            inExamples = true;
        else if (inExamples && line == "```")
            break;
        if (!inExamples || line.rfind("vantrel", 0) != 0)
            continue;
        const std::string example = line.substr(0, line.find(" #"));
        // The settings go to a profile of the test's own.
        const std::string command = "cd " + quote((dir / "readme").string())
            + " && PATH=" + quote((prefix / "bin").string()) + ":\"$PATH\" XDG_CONFIG_HOME=" + quote(path("config"))
            + " " + example + " </dev/null >out.txt 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << example << "\n" << read("readme/out.txt");
        ++examples;
    }
    EXPECT_GE(examples, 5);
}

TEST_F(ShellTest, UnmodelledEntitiesKeepTheirRecordName)
{
    std::string make = "/usr/bin/python3 -c 'import sys, ezdxf; d = ezdxf.new(\"R2010\"); "
                       "d.modelspace().add_mtext(\"note\"); d.saveas(sys.argv[1])' "
        + quote(path("mtext.dxf")) + " 2>/dev/null";
    if (std::system(make.c_str()) != 0)
        GTEST_SKIP() << "python3-ezdxf is not installed";
    Result r = run({path("mtext.dxf"), "--json", path("out.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    auto entities = nlohmann::json::parse(read("out.json"))["entities"];
    ASSERT_EQ(entities.size(), 1u);
    EXPECT_EQ(entities[0]["type"], "MTEXT");
    EXPECT_EQ(entities[0]["space"], "model");
}

// A light's lamp colour is the one its type computes, not the custom colour it also stores, and
// its resulting colour is that lamp colour filtered by its light colour.
TEST_F(ShellTest, LightsShowTheirComputedLampAndResultingColours)
{
    // LIGHT records with the VANTREL extended data that holds the lamp: type, kelvin, preset,
    // the custom colour (0.25, 0.5, 0.75), then the filter colour as a method and a value.
    auto light = [](const char* handle, int type, const char* kelvin, int preset, int filterMethod, int filterValue) {
        return std::string("  0\nLIGHT\n  5\n") + handle
            + "\n100\nAcDbEntity\n  8\n0\n100\nAcDbLight\n 90\n1\n  1\nlamp\n 70\n2\n"
            + "1001\nVANTREL\n1070\n1\n1070\n0\n1070\n0\n1040\n1500.0\n1070\n0\n1040\n1.0\n1070\n"
            + std::to_string(type) + "\n1040\n" + kelvin + "\n1070\n" + std::to_string(preset)
            + "\n1040\n0.25\n1040\n0.5\n1040\n0.75\n1070\n" + std::to_string(filterMethod) + "\n1071\n"
            + std::to_string(filterValue) + "\n1070\n0\n1070\n0\n1070\n0\n1040\n0.0\n1040\n0.0\n1040\n0.0\n";
    };
    // A black body at 4000 K through a grey filter; the custom preset through palette red.
    write("lights.dxf",
          "  0\nSECTION\n  2\nENTITIES\n" + light("2A", 0, "4000.0", 14, 194, 0x808080)
              + light("2B", 1, "4000.0", 14, 195, 1) + "  0\nENDSEC\n  0\nEOF\n");
    Result r = run({path("lights.dxf"), "--json", path("out.json")});
    ASSERT_EQ(r.status, 0) << r.err;
    auto entities = nlohmann::json::parse(read("out.json"))["entities"];
    ASSERT_EQ(entities.size(), 2u);

    auto bytes = [](const nlohmann::json& rgb, double scale) {
        std::vector<long> b;
        for (const auto& c : rgb)
            b.push_back(std::lround(c.get<double>() * scale));
        return b;
    };
    EXPECT_EQ(bytes(entities[0]["lampColorRGB"], 255.0), (std::vector<long>{255, 211, 165}));
    const std::vector<long> filtered = bytes(entities[0]["lampColorRGB"], 128.0);
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02lx%02lx%02lx", filtered[0], filtered[1], filtered[2]);
    EXPECT_EQ(entities[0]["resultingColor"], hex);
    EXPECT_EQ(entities[0]["lightColor"], "#808080");

    EXPECT_EQ(entities[1]["lampColorRGB"], nlohmann::json::array({0.25, 0.5, 0.75}));
    EXPECT_EQ(entities[1]["resultingColor"], "#400000");
}

// A drawing whose values break the rules is refused by name; --recover opens it, tells each
// repair on standard error, and what it saves opens without --recover.
TEST_F(ShellTest, RecoverOpensADrawingWithBadValuesAndTellsEachRepair)
{
    write("bad.dxf",
          "  0\nSECTION\n  2\nENTITIES\n  0\nCIRCLE\n  5\n30\n100\nAcDbEntity\n  8\n0\n100\nAcDbCircle\n"
          " 10\n0.0\n 20\n0.0\n 30\n0.0\n 40\n-3.0\n  0\nENDSEC\n  0\nEOF\n");
    Result refused = run({path("bad.dxf"), "--batch", "-o", path("out.dxf")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              path("bad.dxf")
                  + ": line 22: CIRCLE, radius (group code 40) \"-3.0\": a radius must be a positive number\n");
    EXPECT_FALSE(fs::exists(path("out.dxf")));

    Result recovered = run({path("bad.dxf"), "--recover", "--batch", "-o", path("out.dxf")});
    ASSERT_EQ(recovered.status, 0) << recovered.err;
    EXPECT_EQ(recovered.err,
              path("bad.dxf")
                  + ": repaired: line 22: CIRCLE, radius (group code 40) \"-3.0\": a radius "
                    "must be a positive number; set to 1\n");
    Result reopened = run({path("out.dxf"), "--batch"});
    EXPECT_EQ(reopened.status, 0);
    EXPECT_EQ(reopened.err, "");
}
