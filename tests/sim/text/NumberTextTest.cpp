#include "sim/text/NumberText.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace {

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

TEST(NumberText, WritesTheShortestTextThatReadsBackToTheSameDouble) {
    struct Case {
        double value;
        const char* text;
    };
    using L = std::numeric_limits<double>;
    const Case cases[] = {
        {0.1, "0.1"},
        {3900000000579.0, "3900000000579"},
        {-4.0, "-4"},
        {1e-300, "1e-300"},
        {-0.0, "-0"},
        {static_cast<double>(6.2831855f), "6.2831854820251465"},
        {7000000.0, "7e+06"},
        {3.986004418e14, "398600441800000"},
        {L::denorm_min(), "5e-324"},
        {L::lowest(), "-1.7976931348623157e+308"},
        {1.0 / 3.0, "0.3333333333333333"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vx::formatNumber(c.value), c.text);
        double back = 12345.0;
        ASSERT_TRUE(vx::parseNumber(vx::formatNumber(c.value), back)) << c.text;
        EXPECT_TRUE(sameBits(back, c.value)) << c.text;
    }
    std::string out = "POS ";
    vx::appendVector(out, VECTOR3{7546.0, -0.5, 0.1});
    EXPECT_EQ(out, "POS 7546 -0.5 0.1");
}

TEST(NumberText, ReadsTheDecimalFormsAWriterTypes) {
    const std::pair<const char*, double> cases[] = {
        {"1e3", 1000.0}, {"1E+3", 1000.0}, {"-0.5", -0.5}, {".5", 0.5},
        {"-.5", -0.5},   {"5.", 5.0},      {"+2", 2.0},    {"007", 7.0}};
    for (const auto& [text, value] : cases) {
        double v = -1.0;
        EXPECT_TRUE(vx::parseNumber(text, v)) << text;
        EXPECT_EQ(v, value) << text;
    }
}

TEST(NumberText, RefusesAnythingButOneWholeFiniteNumber) {
    for (const char* text :
         {"",    "nan", "inf", "-inf", "+inf", "infinity", "0x10",   " 1",  "1 ",    "+", "-",
          "+-1", "++1", ".",   "1e",   "e5",   "1e999",    "1e-400", "1,5", "1.2.3", "1f"}) {
        double v = 0.0;
        EXPECT_FALSE(vx::parseNumber(text, v)) << "'" << text << "'";
    }
}

TEST(NumberText, IntegersAreWholeDecimalsWithAnOptionalSign) {
    const std::pair<const char*, long long> accepted[] = {
        {"0", 0}, {"-12", -12}, {"+7", 7}, {"9223372036854775807", 9223372036854775807LL}};
    for (const auto& [text, value] : accepted) {
        long long v = -1;
        EXPECT_TRUE(vx::parseInteger(text, v)) << text;
        EXPECT_EQ(v, value) << text;
    }
    for (const char* text :
         {"", "1.0", "1e3", " 1", "1 ", "9223372036854775808", "0x1", "+", "+-3", "2."}) {
        long long v = 0;
        EXPECT_FALSE(vx::parseInteger(text, v)) << "'" << text << "'";
    }
}

} // namespace
