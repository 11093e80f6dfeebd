#include "monitor/DisplaySizing.h"
#include "monitor/CpsRingBuf.h"

#include <gtest/gtest.h>

TEST(DisplaySizingTest, AboutOnePointPerPixelOfChartWidth) {
    DisplaySizing s = SizeDisplay(1000.0, 10, 1920, 0);
    EXPECT_EQ(s.factor, 5); // 10000 samples over 1920 pixels
    EXPECT_EQ(s.bufferCapacity, 2000);
    EXPECT_EQ(s.ringCapacity, 4000);
    EXPECT_DOUBLE_EQ(s.pointTime, 0.005);

    s = SizeDisplay(1000.0, 10, 4, 0);
    EXPECT_EQ(s.factor, 1000) << "a screen narrower than 10 pixels counts as 10";
    EXPECT_EQ(s.ringCapacity, 20);
    EXPECT_EQ(s.bufferCapacity, 10);
}

TEST(DisplaySizingTest, SlowRatesAndLongIntervals) {
    DisplaySizing s = SizeDisplay(0.1, 10, 1920, 0);
    EXPECT_EQ(s.factor, 1); // a rate below 1 Hz sizes as 1 Hz
    EXPECT_EQ(s.bufferCapacity, 10);
    EXPECT_EQ(s.ringCapacity, 20);
    EXPECT_DOUBLE_EQ(s.pointTime, 10.0);
    EXPECT_DOUBLE_EQ(SizeDisplay(0.1, 10, 1920, 1).pointTime, 30.0);
    EXPECT_DOUBLE_EQ(SizeDisplay(0.1, 10, 1920, 2).pointTime, 60.0);
    EXPECT_DOUBLE_EQ(SizeDisplay(0.5, 10, 1920, 2).pointTime, 2.0) << "only at 0.1 Hz";
    EXPECT_DOUBLE_EQ(SizeDisplay(0.0, 10, 1920, 0).pointTime, 1.0) << "no division by 0";
    EXPECT_EQ(SizeDisplay(100.0, 0, 1920, 0).ringCapacity, 200) << "a chart at least 1 s wide";

    // Five hours at 200 kHz: 3.6e9 samples do not fit 32 bits.
    s = SizeDisplay(200000.0, 18000, 1920, 0);
    EXPECT_EQ(s.factor, 1875000);
    EXPECT_EQ(s.ringCapacity, 3840);
    EXPECT_EQ(s.bufferCapacity, 10);
    EXPECT_DOUBLE_EQ(s.pointTime, 9.375);
}

TEST(DisplaySizingTest, AResumedRunContinuesTheTimeAxis) {
    CCpsRingBuf previous;
    ASSERT_TRUE(previous.Create(4, 1, 5.0, 0.5));
    EXPECT_DOUBLE_EQ(NextRingFirstTime(&previous, true), 0.0) << "empty ring";
    const CpsEntry point[] = {{1, 1}};
    for (int i = 0; i < 3; ++i)
        previous.Append(point, 1);
    EXPECT_DOUBLE_EQ(NextRingFirstTime(&previous, true), 6.0);
    EXPECT_DOUBLE_EQ(NextRingFirstTime(&previous, false), 0.0);
    EXPECT_DOUBLE_EQ(NextRingFirstTime(nullptr, true), 0.0);
}
