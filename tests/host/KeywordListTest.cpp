// Keyword lists: how typed text chooses a keyword (whole word, capitals, `_` forms, `*` words,
// quoted keywords), how results are numbered, and how a prompt's `%s` is filled.
#include <gtest/gtest.h>

#include <vantrel/host/KeywordList.h>

using vantrel::KeywordList;

namespace {

InputResult resultOf(const KeywordList& list, std::wstring_view typed)
{
    const KeywordList::Keyword* k = list.match(typed);
    return k ? k->result : -100;
}

} // namespace

TEST(KeywordList, CapitalsAndWholeWordsCaseInsensitive)
{
    KeywordList list = KeywordList::parse(L"Name Intensity Status Photometry Attenuation filterColor eXit");
    EXPECT_EQ(resultOf(list, L"N"), 2);
    EXPECT_EQ(resultOf(list, L"name"), 2);
    EXPECT_EQ(resultOf(list, L"  NAME  "), 2);
    EXPECT_EQ(resultOf(list, L"c"), 7);
    EXPECT_EQ(resultOf(list, L"filtercolor"), 7);
    EXPECT_EQ(resultOf(list, L"x"), 8);
    EXPECT_EQ(resultOf(list, L"exit"), 8);
    // Neither a prefix nor anything but the capitals or the whole word chooses a keyword.
    EXPECT_EQ(resultOf(list, L"Na"), -100);
    EXPECT_EQ(resultOf(list, L"filter"), -100);
    EXPECT_EQ(resultOf(list, L"ex"), -100);

    KeywordList regen = KeywordList::parse(L"REgen oN oFf");
    EXPECT_EQ(resultOf(regen, L"re"), 2);
    EXPECT_EQ(resultOf(regen, L"r"), -100);
    EXPECT_EQ(resultOf(regen, L"n"), 3);
    EXPECT_EQ(resultOf(regen, L"F"), 4);
}

TEST(KeywordList, WholeWordWinsOverCapitalsThenFirstWins)
{
    // "x" is eXit's capitals and X's whole word.
    KeywordList list = KeywordList::parse(L"Add eXit X Y Z");
    EXPECT_EQ(resultOf(list, L"x"), 4);
    // "A" is the capitals of both: the first listed wins.
    KeywordList twice = KeywordList::parse(L"Arc Area");
    EXPECT_EQ(resultOf(twice, L"a"), 2);
    EXPECT_EQ(resultOf(twice, L"area"), 3);
}

TEST(KeywordList, QuotedMultiWordKeywordsAndStarForms)
{
    // `*` words are the independent forms of the displayed keywords, paired by position.
    KeywordList list = KeywordList::parse(L"\"Smooth surface\" Desmooth Undo *S *D *U");
    ASSERT_EQ(list.keywords().size(), 3u);
    EXPECT_EQ(list.keywords()[0].text, L"Smooth surface");
    EXPECT_EQ(list.keywords()[0].global, L"S");
    EXPECT_EQ(list.displayText(), L"Smooth surface/Desmooth/Undo");
    EXPECT_EQ(resultOf(list, L"smooth   SURFACE"), 2);
    EXPECT_EQ(resultOf(list, L"s"), 2);
    EXPECT_EQ(resultOf(list, L"_D"), 3);
    EXPECT_EQ(resultOf(list, L"_u"), 4);
    EXPECT_EQ(resultOf(list, L"smooth"), -100);

    // Results follow the displayed keywords: this list gives only 2 or 3.
    KeywordList onOff = KeywordList::parse(L"ON OFF  *ON *OFF");
    EXPECT_EQ(onOff.displayText(), L"ON/OFF");
    EXPECT_EQ(resultOf(onOff, L"on"), 2);
    EXPECT_EQ(resultOf(onOff, L"OFF"), 3);
    EXPECT_EQ(resultOf(onOff, L"_off"), 3);
    EXPECT_EQ(onOff.keywords().size(), 2u);

    // A `*` word beyond the displayed keywords is accepted, not displayed, numbered after them.
    KeywordList extra = KeywordList::parse(L"Yes No *Y *N *Maybe");
    EXPECT_EQ(extra.displayText(), L"Yes/No");
    EXPECT_EQ(resultOf(extra, L"maybe"), 4);
    EXPECT_EQ(resultOf(extra, L"_MAYBE"), 4);
}

TEST(KeywordList, FillsFirstPlaceholderWithDisplayedKeywords)
{
    KeywordList list = KeywordList::parse(L"Extend Add Both *E");
    EXPECT_EQ(list.fillPrompt(L"Enter join type [%s] <Extend>:"), L"Enter join type [Extend/Add/Both] <Extend>:");
    EXPECT_EQ(list.fillPrompt(L"[%s] <%s>"), L"[Extend/Add/Both] <%s>");
    EXPECT_EQ(list.fillPrompt(L"No placeholder"), L"No placeholder");
    EXPECT_TRUE(KeywordList::parse(L"   ").empty());
    EXPECT_TRUE(KeywordList::parse(L"\"\" _").empty());
    // An unterminated quote runs to the end of the list.
    EXPECT_EQ(KeywordList::parse(L"A \"open end").displayText(), L"A/open end");
}
