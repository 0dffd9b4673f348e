// The TOML profile: values of every kind survive a trip through the file, a failed write leaves
// the old file, and a damaged file is reported and kept until a setting changes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vantrel/db/OdError.h>
#include <vantrel/host/TomlProfile.h>

namespace fs = std::filesystem;
using vantrel::TomlProfile;

namespace {

std::string readText(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeText(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vantrel-profile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        file = dir / "profile.toml";
    }
    void TearDown() override
    {
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }

    fs::path dir;
    fs::path file;
};

TEST_F(ProfileTest, EveryKindRoundTripsThroughTheFileUnderSectionNamesWithBackslashes)
{
    const CHxVariant text(L"Ünïcode \"quoted\" C:\\path ☁");
    {
        TomlProfile profile(file.string());
        EXPECT_TRUE(profile.loadError().empty());
        IProfileSection& cloud = profile.openSection(L"cmddata\\revcloud");
        EXPECT_EQ(&cloud, &profile.openSection(L"cmddata\\revcloud"));
        EXPECT_TRUE(cloud.getValue(L"MIN_ARC_LENGTH").isEmpty());
        cloud.setValue(L"MIN_ARC_LENGTH", CHxVariant(15.0));
        cloud.setValue(L"MAX_ARC_LENGTH", CHxVariant(1.0 / 3.0));
        cloud.setValue(L"CLOUD_STYLE", CHxVariant(std::int32_t(-2147483647 - 1)));
        IProfileSection& other = profile.openSection(L"a\\b\\c");
        other.setValue(L"flag", CHxVariant(true));
        other.setValue(L"name", text);
        other.setValue(L"gone", CHxVariant(std::int32_t(7)));
        other.setValue(L"gone", CHxVariant());
    }
    EXPECT_EQ(readText(file).find("[cmddata"), std::string::npos) << "the name is one quoted key\n" << readText(file);

    TomlProfile again(file.string());
    ASSERT_TRUE(again.loadError().empty()) << again.loadError();
    IProfileSection& cloud = again.openSection(L"cmddata\\revcloud");
    EXPECT_EQ(cloud.getValue(L"MIN_ARC_LENGTH"), CHxVariant(15.0)) << "a whole real stays a real";
    EXPECT_EQ(cloud.getValue(L"MAX_ARC_LENGTH"), CHxVariant(1.0 / 3.0)) << "reals keep every bit";
    EXPECT_EQ(cloud.getValue(L"CLOUD_STYLE"), CHxVariant(std::int32_t(-2147483647 - 1)));
    IProfileSection& other = again.openSection(L"a\\b\\c");
    EXPECT_EQ(other.getValue(L"flag"), CHxVariant(true));
    EXPECT_EQ(other.getValue(L"name"), text);
    EXPECT_TRUE(other.getValue(L"gone").isEmpty());
    EXPECT_TRUE(again.openSection(L"cmddata").getValue(L"revcloud").isEmpty()) << "a backslash does not nest sections";
}

TEST_F(ProfileTest, MissingFileIsEmptyAndWhatCannotBeAVariantIsKept)
{
    TomlProfile fresh((dir / "sub" / "profile.toml").string());
    EXPECT_TRUE(fresh.loadError().empty());
    EXPECT_FALSE(fs::exists(dir / "sub")) << "opening alone writes nothing";
    fresh.openSection(L"s").setValue(L"k", CHxVariant(std::int32_t(1)));
    EXPECT_TRUE(fs::exists(dir / "sub" / "profile.toml")) << "the folder is created on the first change";

    writeText(file, "top = 1\n[s]\nlist = [1, 2]\nwide = 9999999999\nwhen = 1979-05-27\n");
    TomlProfile profile(file.string());
    ASSERT_TRUE(profile.loadError().empty()) << profile.loadError();
    IProfileSection& s = profile.openSection(L"s");
    EXPECT_TRUE(s.getValue(L"list").isEmpty());
    EXPECT_TRUE(s.getValue(L"wide").isEmpty()) << "an integer beyond 32 bits is not cut short";
    EXPECT_EQ(profile.warnings().size(), 1U) << "top = 1 is told and kept";
    s.setValue(L"k", CHxVariant(2.5));
    std::string saved = readText(file);
    for (const char* kept : {"top = 1", "list = [ 1, 2 ]", "wide = 9999999999", "when = 1979-05-27", "k = 2.5"})
        EXPECT_NE(saved.find(kept), std::string::npos) << kept << " missing from\n" << saved;
}

TEST_F(ProfileTest, FailedWriteKeepsTheOldFileAndTheValueForTheSession)
{
    {
        TomlProfile profile(file.string());
        profile.openSection(L"s").setValue(L"k", CHxVariant(std::int32_t(1)));
    }
    const std::string before = readText(file);
    fs::permissions(dir,
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec
                        | fs::perms::others_read | fs::perms::others_exec);
    auto attempt = [&]() -> int {
        TomlProfile profile(file.string());
        IProfileSection& s = profile.openSection(L"s");
        try {
            s.setValue(L"k", CHxVariant(std::int32_t(2)));
            return 1;
        } catch (const OdError& e) {
            if (e.code() != eFileError || std::string(e.what()).find(file.string()) == std::string::npos)
                return 2;
        }
        return s.getValue(L"k") == CHxVariant(std::int32_t(2)) ? 0 : 3;
    };
    if (::geteuid() != 0) {
        EXPECT_EQ(attempt(), 0);
    } else {
        // Permissions do not stop root: try as an unprivileged user in a child process.
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? attempt() : 4);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    EXPECT_EQ(readText(file), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "no temporary file left";
}

TEST_F(ProfileTest, DamagedFileIsReportedAndKeptUntilASettingChanges)
{
    const std::string damaged = "[s]\nk = 1\nbad = = 2\nz = 3\n";
    writeText(file, damaged);
    {
        TomlProfile profile(file.string());
        EXPECT_NE(profile.loadError().find(file.string() + ":3:"), std::string::npos) << profile.loadError();
        IProfileSection& s = profile.openSection(L"s");
        EXPECT_TRUE(s.getValue(L"k").isEmpty()) << "the profile starts empty";
    }
    EXPECT_EQ(readText(file), damaged);

    TomlProfile profile(file.string());
    EXPECT_FALSE(profile.loadError().empty());
    profile.openSection(L"s").setValue(L"k", CHxVariant(std::int32_t(5)));
    EXPECT_EQ(readText(file.string() + ".damaged"), damaged);
    TomlProfile repaired(file.string());
    EXPECT_TRUE(repaired.loadError().empty()) << repaired.loadError();
    EXPECT_EQ(repaired.openSection(L"s").getValue(L"k"), CHxVariant(std::int32_t(5)));
}

// A plain value where a section is used is told once; the section starts empty and the file
// is moved aside before the first change is saved.
TEST_F(ProfileTest, AValueWhereASectionBelongsIsToldAndKept)
{
    const std::string edited = "sysvars = 5\n[s]\nk = 1\n";
    writeText(file, edited);
    TomlProfile profile(file.string());
    EXPECT_TRUE(profile.loadError().empty()) << profile.loadError();
    ASSERT_EQ(profile.warnings().size(), 1U);
    EXPECT_EQ(profile.warnings()[0], file.string() + ": \"sysvars\" holds a value, not a section; it is ignored");
    EXPECT_EQ(profile.openSection(L"s").getValue(L"k"), CHxVariant(std::int32_t(1)));
    IProfileSection& sysvars = profile.openSection(L"sysvars");
    EXPECT_TRUE(sysvars.getValue(L"PICKSTYLE").isEmpty());
    EXPECT_EQ(readText(file), edited) << "nothing is written before a setting changes";
    sysvars.setValue(L"PICKSTYLE", CHxVariant(std::int32_t(2)));
    EXPECT_EQ(readText(file.string() + ".damaged"), edited);
    TomlProfile again(file.string());
    EXPECT_TRUE(again.warnings().empty());
    EXPECT_EQ(again.openSection(L"sysvars").getValue(L"PICKSTYLE"), CHxVariant(std::int32_t(2)));
    EXPECT_EQ(again.openSection(L"s").getValue(L"k"), CHxVariant(std::int32_t(1)));
}

// A pipe would block the start and a device never end: neither is read, and a setting holds
// for the session without being written there.
TEST_F(ProfileTest, WhatIsNotARegularFileIsNeitherReadNorWritten)
{
    const fs::path pipe = dir / "pipe.toml";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& name : {pipe.string(), std::string("/dev/zero")}) {
        TomlProfile profile(name);
        EXPECT_EQ(profile.loadError(), name + " is not a regular file; settings start empty and are not saved");
        IProfileSection& s = profile.openSection(L"s");
        try {
            s.setValue(L"k", CHxVariant(std::int32_t(2)));
            ADD_FAILURE() << "saved into " << name;
        } catch (const OdError& e) {
            EXPECT_EQ(e.code(), eFileError);
            EXPECT_NE(std::string(e.what()).find("holds for this session only"), std::string::npos) << e.what();
        }
        EXPECT_EQ(s.getValue(L"k"), CHxVariant(std::int32_t(2)));
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_TRUE(fs::is_character_file("/dev/zero"));
}

TEST(ProfilePath, FollowsXdgConfigHomeThenHome)
{
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    std::string savedXdg = oldXdg ? oldXdg : "", savedHome = oldHome ? oldHome : "";
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(TomlProfile::defaultPath(), "/xdg/vantrel/profile.toml");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(TomlProfile::defaultPath(), "/home/someone/.config/vantrel/profile.toml");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(TomlProfile::defaultPath(), "/home/someone/.config/vantrel/profile.toml");
    oldXdg ? ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    oldHome ? ::setenv("HOME", savedHome.c_str(), 1) : ::unsetenv("HOME");
}

} // namespace
