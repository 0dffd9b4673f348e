// formatSvgNumber against printf's "%.10g", which it must match character for character: values
// of every magnitude, powers of ten and their neighbours, rounding ties and carries.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include <vantrel/host/svg_number.h>

namespace {

std::string printed(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

std::string formatted(double v)
{
    char text[32];
    return std::string(text, vantrel::formatSvgNumber(text, v));
}

} // namespace

TEST(SvgNumberTest, MatchesPrintfOnValuesOfEveryMagnitude)
{
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 200000; ++i) {
        double v = 0.0;
        switch (i % 4) {
        case 0: v = std::uniform_real_distribution<double>(-30000.0, 30000.0)(random); break;
        case 1:
            v = std::ldexp(std::uniform_real_distribution<double>(1.0, 2.0)(random),
                           static_cast<int>(random() % 90) - 45);
            break;
        case 2: v = std::bit_cast<double>(random()); break;
        default:
            v = static_cast<double>(static_cast<long>(random() % 2000001) - 1000000)
                / static_cast<double>(1 << (random() % 12));
            break;
        }
        if (!std::isfinite(v))
            continue;
        ASSERT_EQ(formatted(v), printed(v)) << "bits " << std::bit_cast<std::uint64_t>(v);
    }
}

TEST(SvgNumberTest, MatchesPrintfAtPowersOfTenTiesAndCarries)
{
    for (int e = -12; e <= 14; ++e) {
        const double p = std::pow(10.0, e);
        for (double v : {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300), 9.9999999995 * p, 9.99999999949 * p,
                         0.5 * p, 1.00000000005 * p, 1.23456789055 * p}) {
            EXPECT_EQ(formatted(v), printed(v)) << v;
            EXPECT_EQ(formatted(-v), printed(-v)) << -v;
        }
    }
    // Exact halves at the tenth digit, rounded to even as printf does.
    for (long k = 0; k < 20000; ++k) {
        const double v = static_cast<double>(k) / 4.0 + 1e9;
        EXPECT_EQ(formatted(v), printed(v)) << v;
        const double w = static_cast<double>(k) + 0.5;
        EXPECT_EQ(formatted(w * 1e-6), printed(w * 1e-6));
    }
    EXPECT_EQ(formatted(0.0), "0");
    EXPECT_EQ(formatted(1e-300), printed(1e-300));
    EXPECT_EQ(formatted(123456.5), "123456.5");
    EXPECT_EQ(formatted(-0.00012345678912), "-0.0001234567891");
}
