// Supp_Translate and the catalogue: no catalogue, an installed one, one named by
// VANTREL_CATALOGUE, and catalogue files that must be refused.
#include <gtest/gtest.h>

#include <cstdlib>

#include <vantrel/db/OdError.h>
#include <vantrel/hxicore/ResTranslation.h>
#include <vantrel/hxicore/TranslationCatalogue.h>

using vantrel::TranslationCatalogue;

namespace {

class Translation : public ::testing::Test {
protected:
    void TearDown() override { vantrel::installCatalogue(std::nullopt); }
};

TEST_F(Translation, WithoutCatalogueATextIsItsOwnTranslation)
{
    vantrel::installCatalogue(std::nullopt);
    EXPECT_EQ(vantrel::activeCatalogue(), nullptr);
    EXPECT_EQ(Supp_Translate(L"Specify first point"), L"Specify first point");
    EXPECT_EQ(Supp_Translate(L"\nCommand only valid in Model space"), L"\nCommand only valid in Model space");
    EXPECT_TRUE(Supp_Translate(nullptr).IsEmpty());
}

TEST_F(Translation, InstalledCatalogue)
{
    vantrel::installCatalogue(TranslationCatalogue::readFile(HXICORE_TEST_DATA "/catalogue.tsv"));
    EXPECT_EQ(Supp_Translate(L"Specify first point"), L"Ersten Punkt angeben");
    EXPECT_EQ(Supp_Translate(L"\nCommand only valid in Model space"), L"\nBefehl nur im Modellbereich g\u00fcltig");
    EXPECT_EQ(Supp_Translate(L"specify first point"), L"specify first point") << "lookup is exact";
    EXPECT_EQ(Supp_Translate(L"Unknown"), L"Unknown");
}

TEST_F(Translation, CatalogueFromTheEnvironmentIsReadOnce)
{
    // A fresh process, so that the catalogue has not been chosen yet when the variable is set.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            setenv("VANTREL_CATALOGUE", HXICORE_TEST_DATA "/catalogue.tsv", 1);
            bool translated = Supp_Translate(L"Specify first point") == L"Ersten Punkt angeben";
            setenv("VANTREL_CATALOGUE", "/nonexistent/catalogue.tsv", 1);
            bool kept = Supp_Translate(L"Specify first point") == L"Ersten Punkt angeben";
            std::exit(translated && kept ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            setenv("VANTREL_CATALOGUE", "/nonexistent/catalogue.tsv", 1);
            std::exit(Supp_Translate(L"Exit") == L"Exit" && !vantrel::activeCatalogue() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "translation catalogue not used: /nonexistent/catalogue.tsv: cannot read");
}

TEST_F(Translation, CatalogueFormat)
{
    auto catalogue = TranslationCatalogue::parse(
        "# comment\r\n\nYes No\tJa Nein\r\nsay \\\"\\t\\\\\\\"\tsag \\\"\\t\\\\\\\"\nLast %d of %s\tLetzte %d von %s\n"
        "no newline at end\tohne",
        "inline");
    EXPECT_EQ(catalogue.size(), 4u);
    ASSERT_NE(catalogue.find(L"Yes No"), nullptr);
    EXPECT_EQ(*catalogue.find(L"Yes No"), L"Ja Nein");
    ASSERT_NE(catalogue.find(L"say \"\t\\\""), nullptr);
    EXPECT_EQ(*catalogue.find(L"say \"\t\\\""), L"sag \"\t\\\"");
    EXPECT_EQ(*catalogue.find(L"no newline at end"), L"ohne");
    EXPECT_EQ(catalogue.find(L"# comment"), nullptr);
}

TEST_F(Translation, BrokenCataloguesAreRefusedNamingTheLine)
{
    auto refusal = [](const char* text) -> std::string {
        try {
            TranslationCatalogue::parse(text, "cat.tsv");
        } catch (const OdError& e) {
            return e.what();
        }
        return "accepted";
    };
    EXPECT_EQ(refusal("ok\tgut\nno tab here\n").rfind("cat.tsv:2: ", 0), 0u);
    EXPECT_EQ(refusal("a\tb\tc\n").rfind("cat.tsv:1: ", 0), 0u);
    EXPECT_EQ(refusal("bad \\x\tb\n").rfind("cat.tsv:1: ", 0), 0u);
    EXPECT_EQ(refusal("\ttranslation of nothing\n").rfind("cat.tsv:1: ", 0), 0u);
    EXPECT_EQ(refusal("a\tb\n\na\tc\n").rfind("cat.tsv:3: ", 0), 0u) << "duplicate source";
    // A translation that would make Format fail where its source does not.
    EXPECT_EQ(refusal("Last %d of %s\tLetzte %s von %d\n").rfind("cat.tsv:1: ", 0), 0u);
    EXPECT_EQ(refusal("%d of %s\t%d\n").rfind("cat.tsv:1: ", 0), 0u) << "a dropped conversion";
    EXPECT_EQ(refusal("%d%%\t%5d %%\n"), "accepted") << "flags and widths may change";

    EXPECT_THROW(TranslationCatalogue::readFile("/nonexistent/catalogue.tsv"), OdError);
}

TEST(PrintfConversions, ListsConversionsInOrder)
{
    EXPECT_EQ(vantrel::printfConversions(L"%-5.2f of %s, 100%% %ld %0.f"), L"fsdf");
    EXPECT_EQ(vantrel::printfConversions(L"no conversions %%"), L"");
    EXPECT_EQ(vantrel::printfConversions(L"dangling %"), L"?");
}

} // namespace
