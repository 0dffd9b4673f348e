// System variables through one service: application variables checked against their table and
// kept in the profile, drawing variables answered (and undone) by the database, and NAME=VALUE.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include <vantrel/db/OdError.h>
#include <vantrel/db/Template.h>
#include <vantrel/host/AppSysVarStore.h>
#include <vantrel/host/SysVarService.h>
#include <vantrel/host/TomlProfile.h>

namespace fs = std::filesystem;
using vantrel::AppSysVarStore;
using vantrel::SysVarService;
using vantrel::TomlProfile;

namespace {

class SysVarServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vantrel-sysvars-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        file = (dir / "profile.toml").string();
        profile = std::make_unique<TomlProfile>(file);
        service = std::make_unique<SysVarService>(*profile);
        db = vantrel::newDrawing();
    }
    void TearDown() override { fs::remove_all(dir); }

    std::int32_t intOf(const wchar_t* name, OdDbDatabase* in) { return service->getSysVar(name, in)->getInt32(); }

    // The error code of an action, and its message in `message`.
    template <class F>
    OdResult failure(F&& action, std::string* message = nullptr)
    {
        try {
            action();
        } catch (const OdError& e) {
            if (message)
                *message = e.what();
            return e.code();
        }
        return eOk;
    }

    OdResult set(const wchar_t* name, const OdResBufPtr& value, std::string* message = nullptr)
    {
        return failure([&] { service->setSysVar(name, value.get(), db.get()); }, message);
    }
    OdResult assign(const wchar_t* text, std::string* message = nullptr)
    {
        return failure([&] { service->applyAssignment(text, db.get()); }, message);
    }

    fs::path dir;
    std::string file;
    std::unique_ptr<TomlProfile> profile;
    std::unique_ptr<SysVarService> service;
    OdDbDatabasePtr db;
};

TEST_F(SysVarServiceTest, ApplicationVariablesHaveDefaultsRangesAndPersist)
{
    EXPECT_EQ(intOf(L"PICKSTYLE", nullptr), 1);
    EXPECT_EQ(intOf(L"DELOBJ", nullptr), 1);
    EXPECT_EQ(intOf(L"PEDITACCEPT", nullptr), 0);
    EXPECT_EQ(intOf(L"PLINECONVERTMODE", nullptr), 0);
    EXPECT_EQ(intOf(L"plinetype", nullptr), 2);
    for (const auto& def : AppSysVarStore::definitions()) {
        EXPECT_EQ(AppSysVarStore::find(OdString::fromUtf8(def.name)), &def) << def.name;
        EXPECT_FALSE(db->hasSysVar(OdString::fromUtf8(def.name))) << def.name << " is also a drawing variable";
    }

    std::string message;
    EXPECT_EQ(set(L"PICKSTYLE", OdResBuf::newRb(70, 2)), eOk);
    EXPECT_EQ(set(L"PICKSTYLE", OdResBuf::newRb(70, 4), &message), eInvalidSysVarValue);
    EXPECT_NE(message.find("PICKSTYLE"), std::string::npos) << message;
    EXPECT_NE(message.find("between 0 and 3"), std::string::npos) << message;
    EXPECT_EQ(set(L"PICKSTYLE", OdResBuf::newRb(40, 1.5)), eInvalidSysVarValue);
    EXPECT_EQ(set(L"PICKSTYLE", OdResBuf::newRb(1, OdString(L"2"))), eInvalidSysVarValue);
    EXPECT_EQ(set(L"DELOBJ", OdResBuf::newRb(70, -2)), eOk);
    EXPECT_EQ(set(L"DELOBJ", OdResBuf::newRb(70, -3)), eInvalidSysVarValue);
    EXPECT_EQ(set(L"NOSUCHVAR", OdResBuf::newRb(70, 1)), eUnknownSysVar);
    EXPECT_EQ(failure([&] { service->getSysVar(L"NOSUCHVAR", db.get()); }), eUnknownSysVar);
    EXPECT_EQ(intOf(L"PICKSTYLE", nullptr), 2) << "a refused value leaves the old one";

    TomlProfile reopened(file);
    SysVarService later(reopened);
    EXPECT_EQ(later.getSysVar(L"PICKSTYLE", nullptr)->getInt32(), 2);
    EXPECT_EQ(later.getSysVar(L"DELOBJ", nullptr)->getInt32(), -2);
    EXPECT_EQ(reopened.openSection(L"sysvars").getValue(L"PICKSTYLE"), CHxVariant(std::int32_t(2)));
}

// A hand-edited profile with illegal values breaks nothing: each is told once and its
// variable holds the default until it is set again.
TEST_F(SysVarServiceTest, IllegalValuesInTheProfileAreToldOnceAndDefaulted)
{
    std::ofstream(file) << "[sysvars]\nPICKSTYLE = \"abc\"\nDELOBJ = 9\nPLINETYPE = 1.5\nPEDITACCEPT = 1\n";
    TomlProfile edited(file);
    SysVarService fromFile(edited);
    const std::vector<std::string> problems = fromFile.profileProblems();
    ASSERT_EQ(problems.size(), 3U);
    EXPECT_EQ(problems[0].rfind("DELOBJ: the profile's value 9 is out of range", 0), 0U) << problems[0];
    EXPECT_NE(problems[0].find("the default 1 holds"), std::string::npos) << problems[0];
    EXPECT_EQ(problems[1].rfind("PICKSTYLE: the profile holds a string value", 0), 0U) << problems[1];
    EXPECT_EQ(problems[2].rfind("PLINETYPE: the profile's value 1.5 is not a whole number", 0), 0U) << problems[2];
    EXPECT_EQ(fromFile.getSysVar(L"PICKSTYLE", nullptr)->getInt32(), 1);
    EXPECT_EQ(fromFile.getSysVar(L"DELOBJ", nullptr)->getInt32(), 1);
    EXPECT_EQ(fromFile.getSysVar(L"PLINETYPE", nullptr)->getInt32(), 2);
    EXPECT_EQ(fromFile.getSysVar(L"PEDITACCEPT", nullptr)->getInt32(), 1);
    fromFile.setSysVar(L"PICKSTYLE", OdResBuf::newRb(70, 3).get(), nullptr);
    EXPECT_EQ(fromFile.getSysVar(L"PICKSTYLE", nullptr)->getInt32(), 3);
    EXPECT_EQ(fromFile.profileProblems().size(), 2U);
}

TEST_F(SysVarServiceTest, DrawingVariablesGoToTheDatabaseAndUndoThere)
{
    db->blockUndoRecording(true);
    EXPECT_EQ(set(L"DIMSCALE", OdResBuf::newRb(40, 2.5)), eOk);
    EXPECT_EQ(set(L"PICKSTYLE", OdResBuf::newRb(70, 3)), eOk);
    db->blockUndoRecording(false);
    EXPECT_EQ(db->getDIMSCALE(), 2.5);
    EXPECT_EQ(service->getSysVar(L"DIMSCALE", db.get())->getDouble(), 2.5);
    EXPECT_TRUE(profile->openSection(L"sysvars").getValue(L"DIMSCALE").isEmpty());
    EXPECT_EQ(service->getSysVar(L"CVPORT", db.get())->getInt32(), db->sysVarInt(L"CVPORT"));

    ASSERT_TRUE(db->undo());
    EXPECT_EQ(db->getDIMSCALE(), 1.0);
    EXPECT_EQ(intOf(L"PICKSTYLE", db.get()), 3) << "application settings are not part of the drawing's undo";

    EXPECT_EQ(failure([&] { service->getSysVar(L"DIMSCALE", nullptr); }), eNullObjectPointer);
    EXPECT_EQ(failure([&] { service->setSysVar(L"DIMSCALE", OdResBuf::newRb(40, 2.0).get(), nullptr); }),
              eNullObjectPointer);
    EXPECT_EQ(set(L"DIMSCALE", OdResBuf::newRb(40, -1.0)), eInvalidSysVarValue);
}

TEST_F(SysVarServiceTest, AssignmentsAreReadByTheVariablesKind)
{
    EXPECT_EQ(assign(L"PICKSTYLE=3"), eOk);
    EXPECT_EQ(assign(L" pedItaccept = 1 "), eOk);
    EXPECT_EQ(assign(L"DELOBJ=-1"), eOk);
    EXPECT_EQ(assign(L"DIMSCALE=0.25"), eOk);
    EXPECT_EQ(assign(L"SPLINETYPE=5"), eOk);
    EXPECT_EQ(assign(L"INSBASE=1,2.5,-3"), eOk);
    EXPECT_EQ(assign(L"TEXTSTYLE=Standard"), eOk);
    EXPECT_EQ(intOf(L"PICKSTYLE", nullptr), 3);
    EXPECT_EQ(intOf(L"PEDITACCEPT", nullptr), 1);
    EXPECT_EQ(intOf(L"DELOBJ", nullptr), -1);
    EXPECT_EQ(db->getDIMSCALE(), 0.25);
    EXPECT_EQ(db->sysVarInt(L"SPLINETYPE"), 5);
    EXPECT_EQ(db->getSysVar(L"INSBASE")->getPoint3d(), OdGePoint3d(1, 2.5, -3));

    struct Bad {
        const wchar_t* text;
        OdResult code;
        const char* mentions;
    };
    const Bad bad[] = {
        {L"PICKSTYLE=abc", eInvalidSysVarValue, "between 0 and 3"},
        {L"PICKSTYLE=7", eInvalidSysVarValue, "between 0 and 3"},
        {L"PICKSTYLE=1.5", eInvalidSysVarValue, "between 0 and 3"},
        {L"PICKSTYLE=", eInvalidSysVarValue, "between 0 and 3"},
        {L"SPLINETYPE=7", eInvalidSysVarValue, "one of 5, 6"},
        {L"DIMSCALE=big", eInvalidSysVarValue, "at least 0"},
        {L"INSBASE=1", eInvalidSysVarValue, "X,Y"},
        {L"SURFU=12x", eInvalidSysVarValue, "between 0 and 200"},
        {L"NOSUCHVAR=1", eUnknownSysVar, "NOSUCHVAR"},
        {L"PICKSTYLE", eInvalidInput, "NAME=VALUE"},
        {L"=3", eInvalidInput, "NAME=VALUE"},
    };
    for (const Bad& b : bad) {
        std::string message;
        EXPECT_EQ(assign(b.text, &message), b.code) << OdString(b.text).toUtf8();
        EXPECT_NE(message.find(b.mentions), std::string::npos) << message;
        if (b.code == eInvalidSysVarValue) {
            std::string name = OdString(b.text).toUtf8();
            EXPECT_NE(message.find(name.substr(0, name.find('='))), std::string::npos) << message;
        }
    }
    EXPECT_EQ(intOf(L"PICKSTYLE", nullptr), 3) << "refused assignments change nothing";
    EXPECT_EQ(db->getDIMSCALE(), 0.25);
}

} // namespace
