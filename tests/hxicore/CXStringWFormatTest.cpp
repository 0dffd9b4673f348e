// CXStringW formatting: the conversions the resource texts use, user text as an argument,
// and what a format that does not fit its arguments does.
#include <gtest/gtest.h>

#include <vantrel/hxicore/CXStringW.h>

namespace {

template <typename... Args>
std::wstring formatted(const wchar_t* format, const Args&... args)
{
    CXStringW s;
    s.Format(format, args...);
    return s.str();
}

TEST(CXStringWFormat, ConversionsOfTheResourceTexts)
{
    EXPECT_EQ(formatted(L"%d of %i, %u left", 3, -4, 5u), L"3 of -4, 5 left");
    EXPECT_EQ(formatted(L"\nPoint: %f, %f, %f", 1.0, -2.5, 1e-7), L"\nPoint: 1.000000, -2.500000, 0.000000");
    EXPECT_EQ(formatted(L" <%f>:", 0.0), L" <0.000000>:");
    EXPECT_EQ(formatted(L"%.2f|%0.f|%0.f|%0.f", 3.14159, 2.4, 2.6, -0.4), L"3.14|2|3|-0");
    EXPECT_EQ(formatted(L"[%s] [%ls]", L"Exit", std::wstring(L"Yes/No")), L"[Exit] [Yes/No]");
    EXPECT_EQ(formatted(L"100%% %c", L'x'), L"100% x");
    EXPECT_EQ(formatted(L"%5d|%-5d|%05d|%8.3f|%-6s|%.3s", 42, 42, 42, 2.0, L"ab", L"abcdef"),
              L"   42|42   |00042|   2.000|ab    |abc");
}

TEST(CXStringWFormat, EveryStringTypeIsAnArgument)
{
    OdString od(L"Maß");
    CXStringW cx(L"Öl");
    EXPECT_EQ(formatted(L"%s %s %s %s %s", od, cx, std::wstring(L"w"), "UTF-8 Ä", std::string("narrow")),
              L"Maß Öl w UTF-8 Ä narrow");
    const wchar_t* none = nullptr;
    EXPECT_EQ(formatted(L"<%s>", none), L"<(null)>");
    EXPECT_EQ(formatted(L"%d%%", true), L"1%");
}

TEST(CXStringWFormat, UserTextStaysLiteral)
{
    // Typed text full of conversions must come out unchanged and never read further arguments.
    const std::wstring typed = L"100%d %s %n %% %";
    EXPECT_EQ(formatted(L"Unknown command \"%s\".", typed), L"Unknown command \"100%d %s %n %% %\".");
    EXPECT_EQ(formatted(L"%s|%d", typed, 7), L"100%d %s %n %% %|7");
}

TEST(CXStringWFormat, MismatchThrowsAndKeepsTheString)
{
    CXStringW s(L"before");
    EXPECT_THROW(s.Format(L"%d items", L"text"), vantrel::FormatError);
    EXPECT_THROW(s.Format(L"%s", 42), vantrel::FormatError);
    EXPECT_THROW(s.Format(L"%f", 2), vantrel::FormatError);
    EXPECT_THROW(s.Format(L"%d and %d", 1), vantrel::FormatError);
    EXPECT_THROW(s.Format(L"%q", 1), vantrel::FormatError);
    EXPECT_THROW(s.Format(L"trailing %"), vantrel::FormatError);
    EXPECT_THROW(s.Format(nullptr, 1), vantrel::FormatError);
    EXPECT_EQ(s, L"before");

    try {
        s.Format(L"Größe %d", L"x");
        FAIL() << "no FormatError";
    } catch (const vantrel::FormatError& e) {
        EXPECT_EQ(e.format(), L"Größe %d");
        EXPECT_NE(std::string(e.what()).find("\"Größe %d\""), std::string::npos) << e.what();
    }
}

TEST(CXStringW, ConversionsAndOperators)
{
    CXStringW s(OdString(L"abc"));
    OdString back = s;
    EXPECT_EQ(back, OdString(L"abc"));
    EXPECT_TRUE(s == OdString(L"abc"));
    EXPECT_TRUE(OdString(L"abc") == s);
    EXPECT_TRUE(s == L"abc");
    EXPECT_FALSE(s == nullptr);
    EXPECT_EQ(s.GetLength(), 3);
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(s)), L"abc");

    CXStringW t = s + L"\u00e9" + CXStringW(L"!");
    t += L'?';
    EXPECT_EQ(t, L"abc\u00e9!?");
    EXPECT_EQ(t.toUtf8(), "abc\xc3\xa9!?");
    EXPECT_LT(s, t);
    t.Empty();
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_TRUE(CXStringW(static_cast<const wchar_t*>(nullptr)).IsEmpty());
}

} // namespace
