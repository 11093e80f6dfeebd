#include "ui/DlopenDigitalInput.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(DlopenDigitalInputTest, MissingLibraryFailsCleanly) {
    CDlopenDigitalInput input("libzt300-no-such-module.so");
    EXPECT_FALSE(input.Load());
    EXPECT_FALSE(input.Open());
    std::uint8_t input1 = 7;
    std::uint8_t input2 = 7;
    EXPECT_FALSE(input.Read(input1, input2));
    input.Close();
    input.Unload();

    CDlopenDigitalInput partial(ZT300_FAKE_INPUT_PARTIAL);
    EXPECT_FALSE(partial.Load());
    EXPECT_FALSE(partial.Open());
}

TEST(DlopenDigitalInputTest, ReadsTheContactsThroughTheLibrary) {
    CDlopenDigitalInput input(ZT300_FAKE_INPUT);
    ASSERT_TRUE(input.Load());
    std::uint8_t input1 = 0;
    std::uint8_t input2 = 0;
    EXPECT_FALSE(input.Read(input1, input2));

    setenv("ZT300_FAKE_INPUT_ABSENT", "1", 1);
    EXPECT_FALSE(input.Open());
    unsetenv("ZT300_FAKE_INPUT_ABSENT");
    ASSERT_TRUE(input.Open());
    setenv("ZT300_FAKE_INPUT1", "1", 1);
    setenv("ZT300_FAKE_INPUT2", "0", 1);
    ASSERT_TRUE(input.Read(input1, input2));
    EXPECT_EQ(input1, 1);
    EXPECT_EQ(input2, 0);
    setenv("ZT300_FAKE_INPUT2", "1", 1);
    ASSERT_TRUE(input.Read(input1, input2));
    EXPECT_EQ(input2, 1);
    input.Close();
    EXPECT_FALSE(input.Read(input1, input2));
    input.Unload();
    EXPECT_FALSE(input.Open());
}
