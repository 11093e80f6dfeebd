#include "conditions/TextNumbers.h"

#include <gtest/gtest.h>

#include <limits>

// Catches a number read past its digits, a sign misread, or an overflow that wraps.
TEST(TextNumbersTest, WholeNumbersReadLikeTheFiles) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"  42abc", 42}, {"-17", -17}, {"+8", 8}, {"abc", 0}, {"", 0}, {"- 5", 0}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ReadWholeNumber(text), value) << text;
    EXPECT_EQ(ReadWholeNumber("99999999999999999999999"), INT64_MAX);
    // "%lu" fields keep all 32 bits through a write and read.
    EXPECT_EQ(ReadUInt32("4294967295"), 4294967295u);
    EXPECT_EQ(ReadInt32("4294967295"), -1);
    EXPECT_EQ(ReadInt16("70000"), static_cast<std::int16_t>(70000));
}

// Catches an exponent without digits taken as part of a number, and an infinity, a NaN or a
// value beyond the doubles let into a condition.
TEST(TextNumbersTest, RealsTakeTheLongestLeadingNumber) {
    const double max = std::numeric_limits<double>::max();
    const std::pair<const char*, double> cases[] = {
        {"1.28kHz", 1.28}, {" -2.5e+01|3", -25.0}, {"+.5", 0.5},    {"7.e2", 700.0}, {"3e", 3.0},
        {"3e+x", 3.0},     {"EXT", 0.0},           {".", 0.0},      {"inf", 0.0},    {"nan", 0.0},
        {"1e999", max},    {"-1e999", -max},       {"-1e-999", 0.0}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ReadReal(text), value) << text;
    EXPECT_EQ(ReadReal("12e99999999999999999999"), max);
    EXPECT_EQ(ReadReal("0.01e-99999999999999999999"), 0.0);
}

// Catches a step rounded down, or a step of 0 or below that would draw no grid.
TEST(TextNumbersTest, Step125RoundsUpToOneTwoOrFive) {
    const std::pair<double, double> cases[] = {{4.0, 5.0}, {2.0, 2.0},  {1.0, 1.0},
                                               {0.3, 0.5}, {7.0, 10.0}, {1500.0, 2000.0},
                                               {0.0, 1.0}, {-3.0, 1.0}};
    for (const auto& [value, step] : cases)
        EXPECT_DOUBLE_EQ(Step125(value), step) << value;
}

// Catches a formatted text cut at a fixed buffer size.
TEST(TextNumbersTest, FormatTextHandlesLongResults) {
    const std::string longName(1000, 'x');
    EXPECT_EQ(FormatText("%s|%d", longName.c_str(), 5), longName + "|5");
    EXPECT_EQ(FormatText("%5.3f", 0.0004), "0.000");
}
