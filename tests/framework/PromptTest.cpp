#include "framework/Prompt.h"

#include <gtest/gtest.h>

TEST(PromptTest, ProgressPercentText) {
    EXPECT_EQ(FormatProgressPercent(50, 0, 100), "50%");
    EXPECT_EQ(FormatProgressPercent(100, 0, 100), "100%");
    EXPECT_EQ(FormatProgressPercent(0, 0, 100), "0%");
    EXPECT_EQ(FormatProgressPercent(3, 1, 5), "50%");
    // Beyond the range only 100 itself stays 100; everything else wraps.
    EXPECT_EQ(FormatProgressPercent(150, 0, 100), "50%");
    EXPECT_EQ(FormatProgressPercent(200, 0, 100), "0%");
    EXPECT_EQ(FormatProgressPercent(7, 5, 5), "");
}
