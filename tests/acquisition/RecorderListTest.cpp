#include "acquisition/RecorderList.h"

#include <gtest/gtest.h>

TEST(RecorderListTest, ParsesSortsAndNamesTheConnection) {
    const auto recorders =
        ParseRecorderList("ZT-300,192.168.1.12;;bad;,1.2.3.4;ZT-500,192.168.1.3;B,10.0.0.12;");
    EXPECT_EQ(recorders,
              (std::vector<RecorderEntry>{
                  {"ZT-500", "192.168.1.3"}, {"ZT-300", "192.168.1.12"}, {"B", "10.0.0.12"}}));
    EXPECT_EQ(BuildConnectionText({{"N", "192.168.1.201"}}), "192_168_1_201_N");
    EXPECT_EQ(BuildConnectionText(recorders), "192_168_1_3_ZT-500,192_168_1_12_ZT-300,10_0_0_12_B");
    EXPECT_TRUE(ParseRecorderList("").empty());
}
