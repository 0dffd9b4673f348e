// CHxVariant's typed access with its lossless conversions, and Fio_IsFileExist.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include <vantrel/hxicore/CHxVariant.h>
#include <vantrel/hxicore/Fio.h>

namespace {

TEST(CHxVariant, TypedGettersReportMismatch)
{
    CHxVariant empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.asInt32() || empty.asDouble() || empty.asBool() || empty.asString());

    CHxVariant text(L"cloud");
    EXPECT_EQ(text.type(), CHxVariant::Type::String);
    EXPECT_EQ(text.asString(), OdString(L"cloud"));
    EXPECT_FALSE(text.asInt32() || text.asDouble() || text.asBool());
    EXPECT_EQ(CHxVariant(OdString(L"x")), CHxVariant(std::wstring(L"x")));

    CHxVariant flag(true);
    EXPECT_EQ(flag.type(), CHxVariant::Type::Bool);
    EXPECT_EQ(flag.asBool(), true);
    EXPECT_FALSE(flag.asInt32() || flag.asDouble() || flag.asString());
    EXPECT_STREQ(CHxVariant::typeName(flag.type()), "bool");
}

TEST(CHxVariant, NumbersConvertOnlyWithoutLoss)
{
    CHxVariant three(3);
    EXPECT_EQ(three.type(), CHxVariant::Type::Int32);
    EXPECT_EQ(three.asDouble(), 3.0);
    EXPECT_EQ(three.asBool(), std::nullopt);
    EXPECT_EQ(CHxVariant(0).asBool(), false);
    EXPECT_EQ(CHxVariant(1).asBool(), true);

    EXPECT_EQ(CHxVariant(2.0).asInt32(), 2);
    EXPECT_EQ(CHxVariant(-2147483648.0).asInt32(), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(CHxVariant(2.5).asInt32(), std::nullopt);
    EXPECT_EQ(CHxVariant(2147483648.0).asInt32(), std::nullopt);
    EXPECT_EQ(CHxVariant(std::numeric_limits<double>::quiet_NaN()).asInt32(), std::nullopt);
    EXPECT_EQ(CHxVariant(std::numeric_limits<double>::infinity()).asInt32(), std::nullopt);
    EXPECT_EQ(CHxVariant(1.0).asBool(), std::nullopt);

    EXPECT_NE(CHxVariant(2), CHxVariant(2.0)) << "equality compares type and value";
    EXPECT_EQ(CHxVariant(2.5), CHxVariant(2.5));
}

TEST(Fio, IsFileExist)
{
    // Non-ASCII names check the UTF-8 conversion at the boundary.
    const std::string dir = ::testing::TempDir() + "hxicore_fio_\xc3\xa4";
    const std::string file = dir + "/web light \xc3\xbc.ies";
    const std::string link = dir + "/link.ies";
    auto wide = [](const std::string& utf8) { return OdString::fromUtf8(utf8); };
    std::filesystem::create_directories(dir);
    std::ofstream(file) << "IESNA";
    std::filesystem::remove(link);
    std::filesystem::create_symlink(file, link);

    EXPECT_TRUE(Fio_IsFileExist(wide(file)));
    EXPECT_TRUE(Fio_IsFileExist(wide(link)));
    EXPECT_FALSE(Fio_IsFileExist(wide(dir)));
    EXPECT_FALSE(Fio_IsFileExist(wide(dir + "/missing.ies")));
    EXPECT_FALSE(Fio_IsFileExist(L""));
    EXPECT_FALSE(Fio_IsFileExist(nullptr));

    std::filesystem::remove(file);
    EXPECT_FALSE(Fio_IsFileExist(wide(file)));
    EXPECT_FALSE(Fio_IsFileExist(wide(link))) << "a dangling link";
}

} // namespace
