// Decoding UTF-8 from files, scripts and the command line.
#include <gtest/gtest.h>

#include <vantrel/db/OdString.h>

namespace {

std::wstring decode(std::string_view bytes) { return OdString::fromUtf8(bytes).str(); }

TEST(Utf8, WellFormedTextDecodesToItsCodePoints)
{
    EXPECT_EQ(decode("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x99\x82z"), L"a\u00E9\u20AC\U0001F642z");
    EXPECT_EQ(decode(std::string_view("a\0b", 3)), std::wstring(L"a\0b", 3)) << "a NUL written as NUL stays";
    EXPECT_EQ(decode("\xF4\x8F\xBF\xBF"), L"\U0010FFFF");
}

// No ill-formed sequence may turn into NUL, a surrogate or a code point past U+10FFFF, and none
// may swallow the well-formed text after it.
TEST(Utf8, IllFormedSequencesBecomeReplacementCharacters)
{
    EXPECT_EQ(decode("x\xC0\x80y"), L"x\uFFFD\uFFFDy") << "overlong NUL";
    EXPECT_EQ(decode("\xE0\x80\xAF"), L"\uFFFD\uFFFD\uFFFD") << "overlong slash";
    EXPECT_EQ(decode("\xF0\x80\x80\x80"), L"\uFFFD\uFFFD\uFFFD\uFFFD") << "overlong in four bytes";
    EXPECT_EQ(decode("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD") << "surrogate";
    EXPECT_EQ(decode("\xF4\x90\x80\x80"), L"\uFFFD\uFFFD\uFFFD\uFFFD") << "past U+10FFFF";
    EXPECT_EQ(decode("\xF7\xBF\xBF\xBF"), L"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(decode("a\xE2"
                     "b"),
              L"a\uFFFDb")
        << "a sequence cut short by the end keeps what follows";
    EXPECT_EQ(decode("a\xE2\x82"), L"a\uFFFD\uFFFD");
    EXPECT_EQ(decode("\x80\xFF"
                     "c"),
              L"\uFFFD\uFFFDc");
    for (int lead = 0xC0; lead <= 0xFF; ++lead) {
        for (int next : {0x80, 0x00, 0x41}) {
            const char bytes[]
                = {static_cast<char>(lead), static_cast<char>(next), static_cast<char>(0x80), static_cast<char>(0x80)};
            const std::wstring text = decode(std::string_view(bytes, sizeof bytes));
            for (wchar_t c : text) {
                EXPECT_TRUE(c != 0 || next == 0) << std::hex << lead << " " << next;
                EXPECT_TRUE(c < 0xD800 || c > 0xDFFF) << std::hex << lead;
                EXPECT_LE(static_cast<char32_t>(c), 0x10FFFFu) << std::hex << lead;
            }
        }
    }
}

} // namespace
