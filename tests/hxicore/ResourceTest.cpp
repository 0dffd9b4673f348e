// String tables of real modules: module handles, loading by id, translation of resources,
// and the generator's refusal of broken tables.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <vantrel/hxicore/CXStringW.h>
#include <vantrel/hxicore/ResTranslation.h>
#include <vantrel/hxicore/StringTable.h>
#include <vantrel/hxicore/TranslationCatalogue.h>

using vantrel::ModuleHandle;

namespace {

class ModuleResources : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The plain module loads the resource module as its dependency; both stay loaded.
        plain = dlopen(HXICORE_TEST_PLAIN_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(plain, nullptr) << dlerror();
        res = dlopen(HXICORE_TEST_RES_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(res, nullptr) << dlerror();
    }

    void SetUp() override { vantrel::installCatalogue(std::nullopt); }
    void TearDown() override
    {
        _DeInitResTranslation(res);
        vantrel::installCatalogue(std::nullopt);
    }

    static inline ModuleHandle res = nullptr;
    static inline ModuleHandle plain = nullptr;
};

TEST_F(ModuleResources, HandlesByAddressAndByName)
{
    EXPECT_EQ(vantrel::moduleHandleOf(dlsym(res, "hxicoreTestResAnchor")), res);
    EXPECT_EQ(vantrel::moduleHandleOf(dlsym(plain, "hxicoreTestPlainAnchor")), plain);
    EXPECT_EQ(vantrel::findLoadedModule("hxicore_test_res.dll"), res);
    EXPECT_EQ(vantrel::findLoadedModule("hxicore_test_res"), res);
    EXPECT_EQ(vantrel::findLoadedModule(L"libhxicore_test_plain.so"), plain);
    EXPECT_EQ(vantrel::findLoadedModule("hxicore_not_loaded.dll"), nullptr);
    EXPECT_EQ(vantrel::findLoadedModule(""), nullptr);

    // Code of the executable belongs to the main program, whose exports dlopen(nullptr) gives.
    static int local = 0;
    ASSERT_NE(vantrel::mainProgramModule(), nullptr);
    EXPECT_EQ(vantrel::moduleHandleOf(&local), vantrel::mainProgramModule());
    EXPECT_EQ(vantrel::moduleHandleOf(nullptr), nullptr);
    // hxicore itself is found by the name the module asks for.
    EXPECT_EQ(vantrel::moduleHandleOf(reinterpret_cast<const void*>(&_InitResTranslation)),
              vantrel::findLoadedModule("hxicore.dll"));
    EXPECT_NE(vantrel::findLoadedModule("hxicore.dll"), nullptr);

    EXPECT_EQ(vantrel::libraryFileName("deziro"), "libdeziro.so");
    EXPECT_EQ(vantrel::libraryFileName("HxAcApp.dll"), "libHxAcApp.so");
    EXPECT_EQ(vantrel::libraryFileName("libvantrel_host.so"), "libvantrel_host.so");
    EXPECT_EQ(vantrel::libraryFileName("/opt/x/liby.so.1"), "/opt/x/liby.so.1");
}

TEST_F(ModuleResources, SymbolsOnlyOfTheModuleItself)
{
    EXPECT_NE(vantrel::moduleSymbol(res, "hxicoreTestResAnchor"), nullptr);
    EXPECT_EQ(vantrel::moduleSymbol(plain, "hxicoreTestResAnchor"), nullptr) << "defined by a dependency";
    EXPECT_EQ(vantrel::moduleSymbol(plain, VANTREL_STRING_TABLE_SYMBOL), nullptr);
    EXPECT_EQ(vantrel::moduleSymbol(nullptr, "hxicoreTestResAnchor"), nullptr);
}

TEST_F(ModuleResources, LoadById)
{
    CXStringW s;
    EXPECT_TRUE(s.Load(res, 501));
    EXPECT_EQ(s, L"Specify first point");
    EXPECT_TRUE(s.Load(res, 618));
    EXPECT_EQ(s, L"Specify fourth point");
    EXPECT_TRUE(s.Load(res, 1000000));
    EXPECT_EQ(s, L"Last %d of %s");
    EXPECT_TRUE(s.Load(res, 7));
    EXPECT_EQ(s, L"\u00dcber \"Ma\u00df\" \\ 100%%\nnext\tcolumn \u2713");
    EXPECT_TRUE(s.Load(res, 9));
    EXPECT_TRUE(s.IsEmpty());

    s = L"stale";
    EXPECT_FALSE(s.Load(res, 502));
    EXPECT_TRUE(s.IsEmpty());
    s = L"stale";
    EXPECT_FALSE(s.Load(res, 0));
    EXPECT_TRUE(s.IsEmpty());
    s = L"stale";
    EXPECT_FALSE(s.Load(plain, 501)) << "the table of a dependency is not the module's own";
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_FALSE(s.Load(nullptr, 501));

    CXStringW formatted;
    ASSERT_TRUE(s.Load(res, 1000000));
    formatted.Format(s, 3, L"%s typed");
    EXPECT_EQ(formatted, L"Last 3 of %s typed");
}

TEST_F(ModuleResources, TranslatedOnlyAfterInit)
{
    vantrel::installCatalogue(vantrel::TranslationCatalogue::readFile(HXICORE_TEST_DATA "/catalogue.tsv"));
    CXStringW s;
    ASSERT_TRUE(s.Load(res, 501));
    EXPECT_EQ(s, L"Specify first point");

    EXPECT_TRUE(_InitResTranslation(res));
    EXPECT_TRUE(vantrel::isResTranslationOn(res));
    EXPECT_FALSE(vantrel::isResTranslationOn(plain));
    ASSERT_TRUE(s.Load(res, 501));
    EXPECT_EQ(s, L"Ersten Punkt angeben");
    ASSERT_TRUE(s.Load(res, 2039));
    EXPECT_EQ(s, L"Unsch\u00e4rfe eingeben [%s]");
    ASSERT_TRUE(s.Load(res, 618));
    EXPECT_EQ(s, L"Specify fourth point") << "no entry: the text is its own translation";

    ASSERT_TRUE(_LoadStringNotTrans(res, 501, s));
    EXPECT_EQ(s, L"Specify first point");
    EXPECT_FALSE(_LoadStringNotTrans(res, 502, s));
    EXPECT_TRUE(s.IsEmpty());

    EXPECT_TRUE(_DeInitResTranslation(res));
    EXPECT_FALSE(_DeInitResTranslation(res));
    ASSERT_TRUE(s.Load(res, 501));
    EXPECT_EQ(s, L"Specify first point");
    EXPECT_FALSE(_InitResTranslation(nullptr));
}

TEST_F(ModuleResources, ModulesFindTheC_Names)
{
    // The module looks these up by name in hxicore, as it would with GetProcAddress.
    ModuleHandle core = vantrel::findLoadedModule("hxicore.dll");
    EXPECT_NE(vantrel::moduleSymbol(core, "_InitResTranslation"), nullptr);
    EXPECT_NE(vantrel::moduleSymbol(core, "_DeInitResTranslation"), nullptr);
}

class StringTableGenerator : public ::testing::Test {
protected:
    // The generator's exit status for a table with the given lines.
    int generate(const std::string& tsv)
    {
        auto dir = std::filesystem::path(::testing::TempDir()) / "hxicore_gen";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "in.tsv", std::ios::binary) << tsv;
        std::string command = std::string(VANTREL_STRING_TABLE_GEN) + " '" + (dir / "in.tsv").string() + "' '"
            + (dir / "out.cpp").string() + "' 2>/dev/null";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(StringTableGenerator, RefusesBrokenTables)
{
    EXPECT_EQ(generate("1\tone\n2\ttwo\n"), 0);
    EXPECT_EQ(generate("# only a comment\n"), 0);
    EXPECT_EQ(generate("1\tone\n1\tagain\n"), 1) << "duplicate id";
    EXPECT_EQ(generate("1 one\n"), 1) << "no TAB";
    EXPECT_EQ(generate("x1\tone\n"), 1) << "id not a number";
    EXPECT_EQ(generate("1\tbad \\q escape\n"), 1);
    EXPECT_EQ(generate("1\tends in \\\n"), 1);
    EXPECT_EQ(generate("1\t\xc3\x28\n"), 1) << "invalid UTF-8";
    EXPECT_EQ(generate("1\t\xed\xa0\x80\n"), 1) << "a surrogate";
}

} // namespace
