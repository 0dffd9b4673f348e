// RevCloud's settings across runs of `vantrel` on one profile file: what a run stores the next
// one reads, in units of one DIMSCALE, and damaged values fall back to the defaults.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

class RevCloudProfile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vantrel_revcloud_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Runs the script on the built-in drawing with the shared profile; answers the transcript.
    std::string run(const std::string& script, const std::string& options = "")
    {
        std::ofstream(path("run.scr")) << script;
        const std::string cmd = std::string("'") + VANTREL_EXE + "' --profile '" + path("profile.toml") + "' " + options
            + " -s '" + path("run.scr") + "' </dev/null >'" + path("out") + "' 2>&1";
        EXPECT_EQ(std::system(cmd.c_str()), 0) << read("out");
        return read("out");
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::string read(const std::string& name) const
    {
        std::stringstream s;
        s << std::ifstream(path(name)).rdbuf();
        return s.str();
    }

    fs::path dir;
};

std::string status(const std::string& minimum, const std::string& maximum, const std::string& style)
{
    return "Minimum arc length: " + minimum + "   Maximum arc length: " + maximum + "   Style: " + style;
}

} // namespace

TEST_F(RevCloudProfile, TheSecondRunReadsWhatTheFirstStored)
{
    const std::string first = run("revcloud\na\n10\n30\ns\nc\n!cancel\n");
    EXPECT_NE(first.find(status("15.000000", "15.000000", "Normal")), std::string::npos) << first;
    const std::string second = run("revcloud\n!cancel\n");
    EXPECT_NE(second.find(status("10.000000", "30.000000", "Calligraphy")), std::string::npos) << second;
}

TEST_F(RevCloudProfile, StoredLengthsAreInUnitsOfOneDimscale)
{
    std::ofstream(path("profile.toml")) << "['cmddata\\revcloud']\nMIN_ARC_LENGTH = 15.0\nMAX_ARC_LENGTH = 30.0\n"
                                           "CLOUD_STYLE = 7\n";
    const std::string scaled = run("revcloud\n!cancel\n", "--set DIMSCALE=2");
    EXPECT_NE(scaled.find(status("30.000000", "60.000000", "Calligraphy")), std::string::npos) << scaled;
    const std::string stored = read("profile.toml");
    EXPECT_NE(stored.find("MIN_ARC_LENGTH = 15.0"), std::string::npos) << stored;
    EXPECT_NE(stored.find("MAX_ARC_LENGTH = 30.0"), std::string::npos) << stored;
    EXPECT_NE(stored.find("CLOUD_STYLE = 1"), std::string::npos) << stored; // any non-zero style reads as 1

    // A DIMSCALE of 0 leaves the stored lengths as they are; a minimum set at DIMSCALE 4 is
    // stored as a quarter.
    const std::string unscaled = run("revcloud\na\n20\n\n!cancel\n", "--set DIMSCALE=0");
    EXPECT_NE(unscaled.find(status("15.000000", "30.000000", "Calligraphy")), std::string::npos) << unscaled;
    run("revcloud\na\n40\n\n!cancel\n", "--set DIMSCALE=4");
    const std::string reread = run("revcloud\n!cancel\n");
    EXPECT_NE(reread.find(status("10.000000", "10.000000", "Calligraphy")), std::string::npos) << reread;
}

TEST_F(RevCloudProfile, ValuesThatLayNoArcsFallBackToTheDefaults)
{
    std::ofstream(path("profile.toml")) << "['cmddata\\revcloud']\nMIN_ARC_LENGTH = \"wide\"\n"
                                           "MAX_ARC_LENGTH = -4.0\nCLOUD_STYLE = \"x\"\n";
    const std::string out = run("revcloud\n!cancel\n");
    EXPECT_NE(out.find(status("15.000000", "15.000000", "Normal")), std::string::npos) << out;
}
