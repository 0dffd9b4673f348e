// Typed numbers, integers, angles and points: what is accepted, what is refused, and where
// relative and polar input lands.
#include <gtest/gtest.h>

#include <numbers>

#include <vantrel/host/InputSyntax.h>

using vantrel::InputSyntax;

TEST(InputSyntax, Numbers)
{
    EXPECT_EQ(InputSyntax::parseNumber(L"12"), 12.0);
    EXPECT_EQ(InputSyntax::parseNumber(L" -3.5 "), -3.5);
    EXPECT_EQ(InputSyntax::parseNumber(L"1e3"), 1000.0);
    EXPECT_EQ(InputSyntax::parseNumber(L"+.5"), 0.5);
    EXPECT_EQ(InputSyntax::parseNumber(L"2.E-1"), 0.2);
    EXPECT_EQ(InputSyntax::parseNumber(L"-1e100"), -1e100);
    for (const wchar_t* bad : {L"", L" ", L"-", L".", L"1e", L"1e+", L"1.2.3", L"12a", L"nan", L"inf", L"0x10",
                               L"1e999", L"1e101", L"-2e300", L"1,5", L"--1", L"\u0661"})
        EXPECT_FALSE(InputSyntax::parseNumber(bad)) << std::wstring(bad).size();
    // What is refused for its size alone, and so is told the limit.
    for (const wchar_t* big : {L"1e999", L"1e101", L"-2e300", L"1e101,0", L"0,0,-1e200", L"@1e101<0", L"@0,1e300"})
        EXPECT_TRUE(InputSyntax::exceedsLimit(big)) << std::wstring(big).size();
    for (const wchar_t* other : {L"12", L"1e100", L"1,2", L"1e-999", L"abc", L"1e101x", L"nan", L""})
        EXPECT_FALSE(InputSyntax::exceedsLimit(other)) << std::wstring(other).size();
    EXPECT_TRUE(InputSyntax::exceedsIntegerRange(L" -2147483649 "));
    EXPECT_FALSE(InputSyntax::exceedsIntegerRange(L"2147483647"));
    EXPECT_FALSE(InputSyntax::exceedsIntegerRange(L"1e12"));
}

TEST(InputSyntax, Integers)
{
    EXPECT_EQ(InputSyntax::parseInteger(L"42"), 42);
    EXPECT_EQ(InputSyntax::parseInteger(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(InputSyntax::parseInteger(L"+2147483647"), 2147483647);
    EXPECT_FALSE(InputSyntax::parseInteger(L"2147483648"));
    EXPECT_FALSE(InputSyntax::parseInteger(L"-2147483649"));
    EXPECT_FALSE(InputSyntax::parseInteger(L"1.0"));
    EXPECT_FALSE(InputSyntax::parseInteger(L"1e3"));
    EXPECT_FALSE(InputSyntax::parseInteger(L"-"));
    EXPECT_FALSE(InputSyntax::parseInteger(L"99999999999999999999999"));
}

TEST(InputSyntax, AnglesAreDegreesAnsweredInRadians)
{
    EXPECT_DOUBLE_EQ(*InputSyntax::parseAngle(L"90"), std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(*InputSyntax::parseAngle(L"-180"), -std::numbers::pi);
    EXPECT_FALSE(InputSyntax::parseAngle(L"90d"));
}

TEST(InputSyntax, AbsoluteRelativeAndPolarPoints)
{
    const OdGePoint3d last(10.0, 20.0, 5.0);
    EXPECT_EQ(InputSyntax::parsePoint(L"1,2", last), OdGePoint3d(1, 2, 0));
    EXPECT_EQ(InputSyntax::parsePoint(L" 1 , -2 , 3 ", last), OdGePoint3d(1, -2, 3));
    EXPECT_EQ(InputSyntax::parsePoint(L"@1,2", last), OdGePoint3d(11, 22, 5));
    EXPECT_EQ(InputSyntax::parsePoint(L"@1,2,-5", last), OdGePoint3d(11, 22, 0));
    EXPECT_EQ(InputSyntax::parsePoint(L"@", last), last);

    auto polar = InputSyntax::parsePoint(L"@10<90", last);
    ASSERT_TRUE(polar);
    EXPECT_NEAR(polar->x, 10.0, 1e-12);
    EXPECT_NEAR(polar->y, 30.0, 1e-12);
    EXPECT_EQ(polar->z, 5.0);
    auto back = InputSyntax::parsePoint(L"@ 2 < 180 ", OdGePoint3d());
    ASSERT_TRUE(back);
    EXPECT_NEAR(back->x, -2.0, 1e-12);

    for (const wchar_t* bad :
         {L"1", L"1,2,3,4", L"1,,2", L",1", L"@1", L"@<5", L"@5<", L"1<5", L"@1,2<3", L"a,b", L"@@1,2", L"1e400,0"})
        EXPECT_FALSE(InputSyntax::parsePoint(bad, last)) << std::wstring(bad).size();
}
