#include "conditions/TextNumbers.h"

#include <gtest/gtest.h>

#include <limits>

TEST(TextNumbersTest, WholeNumbersReadLikeTheFiles) {
    EXPECT_EQ(ReadWholeNumber("  42abc"), 42);
    EXPECT_EQ(ReadWholeNumber("-17"), -17);
    EXPECT_EQ(ReadWholeNumber("+8"), 8);
    EXPECT_EQ(ReadWholeNumber("abc"), 0);
    EXPECT_EQ(ReadWholeNumber(""), 0);
    EXPECT_EQ(ReadWholeNumber("- 5"), 0);
    EXPECT_EQ(ReadWholeNumber("99999999999999999999999"), INT64_MAX);
    // "%lu" fields keep all 32 bits through a write and read.
    EXPECT_EQ(ReadUInt32("4294967295"), 4294967295u);
    EXPECT_EQ(ReadInt32("4294967295"), -1);
    EXPECT_EQ(ReadInt16("70000"), static_cast<std::int16_t>(70000));
}

TEST(TextNumbersTest, RealsTakeTheLongestLeadingNumber) {
    EXPECT_DOUBLE_EQ(ReadReal("1.28kHz"), 1.28);
    EXPECT_DOUBLE_EQ(ReadReal(" -2.5e+01|3"), -25.0);
    EXPECT_DOUBLE_EQ(ReadReal("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(ReadReal("7.e2"), 700.0);
    EXPECT_DOUBLE_EQ(ReadReal("3e"), 3.0); // an exponent without digits is not part of it
    EXPECT_DOUBLE_EQ(ReadReal("3e+x"), 3.0);
    EXPECT_DOUBLE_EQ(ReadReal("EXT"), 0.0);
    EXPECT_DOUBLE_EQ(ReadReal("."), 0.0);
    EXPECT_DOUBLE_EQ(ReadReal("inf"), 0.0);
    EXPECT_DOUBLE_EQ(ReadReal("nan"), 0.0);
    EXPECT_EQ(ReadReal("1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(ReadReal("-1e999"), -std::numeric_limits<double>::max());
    EXPECT_DOUBLE_EQ(ReadReal("-1e-999"), 0.0);
    EXPECT_EQ(ReadReal("12e99999999999999999999"), std::numeric_limits<double>::max());
    EXPECT_EQ(ReadReal("0.01e-99999999999999999999"), 0.0);
}

TEST(TextNumbersTest, Step125RoundsUpToOneTwoOrFive) {
    EXPECT_DOUBLE_EQ(Step125(4.0), 5.0);
    EXPECT_DOUBLE_EQ(Step125(2.0), 2.0);
    EXPECT_DOUBLE_EQ(Step125(1.0), 1.0);
    EXPECT_DOUBLE_EQ(Step125(0.3), 0.5);
    EXPECT_DOUBLE_EQ(Step125(7.0), 10.0);
    EXPECT_DOUBLE_EQ(Step125(1500.0), 2000.0);
    EXPECT_DOUBLE_EQ(Step125(0.0), 1.0);
    EXPECT_DOUBLE_EQ(Step125(-3.0), 1.0);
}

TEST(TextNumbersTest, FormatTextHandlesLongResults) {
    const std::string longName(1000, 'x');
    EXPECT_EQ(FormatText("%s|%d", longName.c_str(), 5), longName + "|5");
    EXPECT_EQ(FormatText("%5.3f", 0.0004), "0.000");
}
