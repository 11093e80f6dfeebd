#include "framework/Prompt.h"

#include <gtest/gtest.h>

// Catches a wrong percentage in the progress box, beyond the range or on an empty range.
TEST(PromptTest, ProgressPercentText) {
    // Beyond the range only 100 itself stays 100; everything else wraps.
    const struct {
        int pos, low, high;
        const char* text;
    } cases[] = {{50, 0, 100, "50%"},  {100, 0, 100, "100%"}, {0, 0, 100, "0%"}, {3, 1, 5, "50%"},
                 {150, 0, 100, "50%"}, {200, 0, 100, "0%"},   {7, 5, 5, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatProgressPercent(c.pos, c.low, c.high), c.text) << c.pos << " " << c.low;
}
