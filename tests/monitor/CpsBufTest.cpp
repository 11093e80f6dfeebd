#include "monitor/CpsBuf_double.h"
#include "monitor/CpsRingBuf.h"
#include "monitor/MyCpsBuf_double.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

void ExpectEntry(const CpsEntry& entry, double minimum, double maximum) {
    EXPECT_DOUBLE_EQ(entry.minimum, minimum);
    EXPECT_DOUBLE_EQ(entry.maximum, maximum);
}

} // namespace

TEST(CpsBufTest, RefusesImpossibleSizes) {
    CCpsBuf_double buffer;
    const double row[] = {1.0};
    EXPECT_EQ(buffer.Add(row, 0), 0) << "no storage means full";
    EXPECT_FALSE(buffer.Init(0, 10, 2));
    EXPECT_FALSE(buffer.Init(1, -1, 2));
    EXPECT_FALSE(buffer.Init(1, std::numeric_limits<int>::max(), std::numeric_limits<int>::max()));
    EXPECT_EQ(buffer.GetCapacity(), 0) << "a failed Init leaves nothing to write into";
    EXPECT_EQ(buffer.Add(row, 0), 0);
}

TEST(CpsBufTest, FoldsGroupsOfFactorRowsIntoMinimumAndMaximum) {
    CCpsBuf_double one;
    ASSERT_TRUE(one.Init(1, 3, 2));
    const double a[] = {1.5, -2.0};
    EXPECT_EQ(one.Add(a, 2), 1);
    EXPECT_EQ(one.GetFilled(), 1);
    ExpectEntry(one.GetPoint(0)[0], 1.5, 1.5);
    ExpectEntry(one.GetPoint(0)[1], -2.0, -2.0);

    CCpsBuf_double buffer;
    ASSERT_TRUE(buffer.Init(3, 2, 2));
    const std::vector<std::vector<double>> rows = {{5, 0}, {2, 0}, {9, -0.0}, {1, 7}};
    for (const auto& row : rows)
        EXPECT_EQ(buffer.Add(row.data(), 2), 1);
    EXPECT_EQ(buffer.GetFilled(), 1);
    EXPECT_EQ(buffer.GetPartial(), 1);
    ExpectEntry(buffer.GetPoint(0)[0], 2, 9);
    // Ties take the new value: the later -0.0 replaces 0.0 as minimum and maximum.
    EXPECT_TRUE(std::signbit(buffer.GetPoint(0)[1].minimum));
    EXPECT_TRUE(std::signbit(buffer.GetPoint(0)[1].maximum)) << "0.0 <= -0.0 also takes it";
    ExpectEntry(buffer.GetPoint(1)[0], 1, 1);
    ExpectEntry(buffer.GetPoint(1)[1], 7, 7);

    const double wrongWidth[] = {100, 100, 100};
    EXPECT_EQ(buffer.Add(wrongWidth, 3), 1) << "ignored, not an error";
    EXPECT_EQ(buffer.GetPartial(), 1);
    ExpectEntry(buffer.GetPoint(1)[0], 1, 1);

    const double b[] = {3, 3};
    EXPECT_EQ(buffer.Add(b, 2), 1);
    EXPECT_EQ(buffer.Add(b, 2), 0) << "this row completed the last point";
    EXPECT_EQ(buffer.GetFilled(), 2);
    const double dropped[] = {-50, 50};
    EXPECT_EQ(buffer.Add(dropped, 2), 0);
    ExpectEntry(buffer.GetPoint(1)[0], 1, 3);
    EXPECT_EQ(buffer.GetPartial(), 0);
}

TEST(CpsBufTest, NotANumberNeverHidesTheOtherSamplesOfAPoint) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    CCpsBuf_double buffer;
    ASSERT_TRUE(buffer.Init(3, 2, 1));
    for (const double x : {4.0, nan, 2.0, nan, 6.0, 1.0}) {
        const double row[] = {x};
        buffer.Add(row, 1);
    }
    ExpectEntry(buffer.GetPoint(0)[0], 2.0, 4.0);
    ExpectEntry(buffer.GetPoint(1)[0], 1.0, 6.0);
}

TEST(CpsBufTest, TransferMovesCompletedPointsAndKeepsTheHalfBuiltOne) {
    CMyCpsBuf_double buffer;
    ASSERT_TRUE(buffer.Init(2, 4, 1));
    CCpsRingBuf ring;
    ASSERT_TRUE(ring.Create(3, 1, 0.0, 0.5));
    int lastOld = 77;
    int dropped = 77;
    const double first[] = {10};
    buffer.Add(first, 1);
    EXPECT_FALSE(buffer.TransferTo(ring, lastOld, dropped));
    EXPECT_EQ(lastOld, 77);
    EXPECT_EQ(dropped, 77);
    EXPECT_EQ(ring.NewestRel(), -1);

    for (const double x : {20.0, 30.0, 40.0, 50.0}) {
        const double row[] = {x};
        buffer.Add(row, 1);
    }
    ASSERT_TRUE(buffer.TransferTo(ring, lastOld, dropped));
    EXPECT_EQ(lastOld, 0) << "first transfer into an empty ring";
    EXPECT_EQ(dropped, 0);
    EXPECT_EQ(ring.NewestRel(), 1);
    ExpectEntry(ring.GetPoint(0)[0], 10, 20);
    ExpectEntry(ring.GetPoint(1)[0], 30, 40);
    EXPECT_EQ(buffer.GetFilled(), 0);
    EXPECT_EQ(buffer.GetPartial(), 1);
    ExpectEntry(buffer.GetPoint(0)[0], 50, 50);

    // The half-built point goes on folding at point 0, so it keeps all its samples.
    const double low[] = {-5};
    buffer.Add(low, 1);
    for (const double x : {1.0, 2.0, 3.0, 4.0}) {
        const double row[] = {x};
        buffer.Add(row, 1);
    }
    ASSERT_TRUE(buffer.TransferTo(ring, lastOld, dropped));
    EXPECT_EQ(dropped, 2) << "three points into a ring of three holding two";
    EXPECT_EQ(lastOld, 0) << "1 - 2 is clamped at 0";
    EXPECT_EQ(ring.NewestRel(), 2);
    ExpectEntry(ring.GetPoint(0)[0], -5, 50);
    ExpectEntry(ring.GetPoint(1)[0], 1, 2);
    ExpectEntry(ring.GetPoint(2)[0], 3, 4);
    EXPECT_DOUBLE_EQ(ring.GetFirstTime(), 1.0);

    CCpsRingBuf invalid;
    buffer.Add(low, 1);
    buffer.Add(low, 1);
    EXPECT_FALSE(buffer.TransferTo(invalid, lastOld, dropped)) << "no storage to move into";
    EXPECT_EQ(buffer.GetFilled(), 1);
}
