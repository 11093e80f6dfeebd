#include "monitor/CpsRingBuf.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace {

void AppendValue(CCpsRingBuf& ring, double minimum, double maximum) {
    const CpsEntry point[] = {{minimum, maximum}};
    ring.Append(point, 1);
}

// The oldest and the newest point's storage index, and the newest relative to the oldest.
std::array<int, 3> Ends(const CCpsRingBuf& ring) {
    return {ring.GetOldest(), ring.GetNewest(), ring.NewestRel()};
}

} // namespace

// Catches the newest point written over the wrong slot, or a time axis that does not move on.
TEST(CpsRingBufTest, OverwritesTheOldestPointAndMovesTheTimeAxis) {
    CCpsRingBuf ring;
    EXPECT_FALSE(ring.IsValid());
    EXPECT_FALSE(ring.Create(0, 1, 0.0, 1.0));
    EXPECT_FALSE(ring.IsValid());
    AppendValue(ring, 1, 1); // ignored without storage

    ASSERT_TRUE(ring.Create(3, 1, 10.0, 0.25));
    EXPECT_EQ(Ends(ring), (std::array{-1, -1, -1}));

    for (int i = 0; i < 3; ++i)
        AppendValue(ring, i, i);
    EXPECT_EQ(Ends(ring), (std::array{0, 2, 2}));
    EXPECT_DOUBLE_EQ(ring.GetFirstTime(), 10.0);

    AppendValue(ring, 3, 3);
    AppendValue(ring, 4, 4);
    EXPECT_EQ(Ends(ring), (std::array{2, 1, 2}));
    EXPECT_EQ(ring.StorageIndex(0), 2);
    EXPECT_EQ(ring.StorageIndex(2), 1);
    EXPECT_DOUBLE_EQ(ring.GetFirstTime(), 10.5);
    EXPECT_DOUBLE_EQ(ring.TimeOf(2), 11.0);
    EXPECT_DOUBLE_EQ(ring.GetPoint(0)[0].minimum, 2);
    EXPECT_DOUBLE_EQ(ring.GetPoint(2)[0].minimum, 4);

    // A ring of one point keeps only the newest.
    ASSERT_TRUE(ring.Create(1, 1, 0.0, 2.0));
    AppendValue(ring, 1, 1);
    AppendValue(ring, 2, 2);
    EXPECT_EQ(ring.NewestRel(), 0);
    EXPECT_DOUBLE_EQ(ring.GetPoint(0)[0].maximum, 2);
    EXPECT_DOUBLE_EQ(ring.GetFirstTime(), 2.0);
}

// Catches a range that forgets points pushed out of the ring, takes NaN, or survives a reset.
TEST(CpsRingBufTest, RangesFollowEveryPointSinceCreationOrReset) {
    CCpsRingBuf ring;
    ASSERT_TRUE(ring.Create(2, 2, 0.0, 1.0));
    EXPECT_DOUBLE_EQ(ring.GetRange(0).minimum, 2147483647.0);
    EXPECT_DOUBLE_EQ(ring.GetRange(0).maximum, -2147483648.0);
    EXPECT_DOUBLE_EQ(ring.GetRange(5).minimum, 2147483647.0) << "no such channel";

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const CpsEntry a[] = {{-1, 3}, {5e9, 6e9}};
    const CpsEntry b[] = {{nan, 7}, {4e9, nan}};
    const CpsEntry c[] = {{0, 1}, {0, 1}};
    ring.Append(a, 2);
    ring.Append(b, 2);
    ring.Append(c, 2); // pushes a out of the ring, not out of the range
    EXPECT_DOUBLE_EQ(ring.GetRange(0).minimum, -1);
    EXPECT_DOUBLE_EQ(ring.GetRange(0).maximum, 7);
    EXPECT_DOUBLE_EQ(ring.GetRange(1).minimum, 0);
    EXPECT_DOUBLE_EQ(ring.GetRange(1).maximum, 6e9) << "not clipped to the start value";

    ring.ResetRanges();
    EXPECT_DOUBLE_EQ(ring.GetRange(1).minimum, 2147483647.0);
    ring.Append(a, 2);
    EXPECT_DOUBLE_EQ(ring.GetRange(1).minimum, 5e9);
    EXPECT_DOUBLE_EQ(ring.GetRange(1).maximum, 6e9);

    // A point of another width touches only the channels both have.
    const CpsEntry wide[] = {{-9, -9}, {-9, -9}, {-9, -9}};
    ring.Append(wide, 3);
    EXPECT_DOUBLE_EQ(ring.GetRange(1).minimum, -9);
    ring.Append(c, 1);
    EXPECT_DOUBLE_EQ(ring.GetPoint(ring.NewestRel())[0].maximum, 1);
    EXPECT_DOUBLE_EQ(ring.GetPoint(ring.NewestRel())[1].maximum, 6e9) << "left as it was";
}
