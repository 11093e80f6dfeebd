#include "records/MaxMinTable.h"
#include "records/MaxMinRunTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

namespace {

void ExpectEntry(const MaxMinEntry& e, const std::vector<double>& six) {
    EXPECT_DOUBLE_EQ(e.minimum, six[0]);
    EXPECT_DOUBLE_EQ(e.maximum, six[1]);
    EXPECT_DOUBLE_EQ(e.last, six[2]);
    EXPECT_DOUBLE_EQ(e.rawMinimum, six[3]);
    EXPECT_DOUBLE_EQ(e.rawMaximum, six[4]);
    EXPECT_DOUBLE_EQ(e.rawLast, six[5]);
}

} // namespace

TEST(MaxMinTableTest, KeepsExtremesAndLastValuesOfBothTriples) {
    CMaxMinTable table;
    EXPECT_FALSE(table.Exists());
    const double none[] = {0.0};
    EXPECT_FALSE(table.Update(none, none, 1));

    ASSERT_TRUE(table.Create(3));
    ASSERT_EQ(table.GetCount(), 3);
    ExpectEntry(table.GetEntry(0), {32767, -32768, 0, 32767, -32768, 0});
    EXPECT_FALSE(table.GetEntry(0).HasData());

    const double v1[] = {1.5, 50000.0, -40000.0};
    const double r1[] = {150, 70000, -70000};
    const double v2[] = {-2.5, 60000.0, -30000.0};
    const double r2[] = {-250, 80000, -60000};
    const double v3[] = {0.5, 55000.0, -35000.0};
    const double r3[] = {50, 75000, -65000};
    ASSERT_TRUE(table.Update(v1, r1, 3));
    ASSERT_TRUE(table.Update(v2, r2, 3));
    ASSERT_TRUE(table.Update(v3, r3, 3));
    ExpectEntry(table.GetEntry(0), {-2.5, 1.5, 0.5, -250, 150, 50});
    // Values beyond the start values are not clipped to them.
    ExpectEntry(table.GetEntry(1), {50000, 60000, 55000, 70000, 80000, 75000});
    ExpectEntry(table.GetEntry(2), {-40000, -30000, -35000, -70000, -60000, -65000});
    EXPECT_TRUE(table.GetEntry(0).HasData());

    const double wide[] = {9, 9, 9, 9};
    EXPECT_FALSE(table.Update(wide, wide, 4)) << "a row of another width is ignored";
    ExpectEntry(table.GetEntry(0), {-2.5, 1.5, 0.5, -250, 150, 50});

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double vn[] = {nan, 1.0, 1.0};
    ASSERT_TRUE(table.Update(vn, vn, 3));
    EXPECT_DOUBLE_EQ(table.GetEntry(0).minimum, -2.5) << "NaN never becomes an extreme";
    EXPECT_DOUBLE_EQ(table.GetEntry(0).maximum, 1.5);
    EXPECT_TRUE(std::isnan(table.GetEntry(0).last));

    table.ResetPhysical();
    EXPECT_FALSE(table.GetEntry(1).HasData());
    ExpectEntry(table.GetEntry(1), {32767, -32768, 1, 1, 80000, 1});
    ASSERT_TRUE(table.Update(v1, r1, 3));
    ExpectEntry(table.GetEntry(1), {50000, 50000, 50000, 1, 80000, 70000});
}

// The data thread folds row r (every channel r, raw -r) while the user-interface thread copies
// and resets: every copy must show whole rows, never a row half folded.
TEST(MaxMinTableTest, ThreadsSeeWholeRowsOnly) {
    constexpr int kChannels = 64;
    constexpr int kRows = 20000;
    CMaxMinRunTable run;
    ASSERT_TRUE(run.Create(kChannels));
    std::atomic<bool> done{false};
    std::thread writer([&] {
        std::vector<double> values(kChannels);
        std::vector<double> raw(kChannels);
        for (int r = 1; r <= kRows; ++r) {
            std::fill(values.begin(), values.end(), static_cast<double>(r));
            std::fill(raw.begin(), raw.end(), static_cast<double>(-r));
            run.UpdateRow(values.data(), raw.data(), kChannels);
        }
        done = true;
    });

    CMaxMinTable copy;
    ASSERT_TRUE(copy.Create(kChannels));
    int torn = 0;
    int copies = 0;
    bool finished = false;
    while (!finished) {
        finished = done.load();
        ASSERT_TRUE(run.CopyTo(copy));
        ++copies;
        const double last = copy.GetEntry(0).last;
        for (const MaxMinEntry& e : copy.GetEntries()) {
            if (e.last != last || e.rawLast != -last || (last != 0 && e.rawMinimum != -last) ||
                (e.HasData() && e.maximum != last))
                ++torn;
        }
        if (copies % 16 == 0)
            run.ResetPhysical();
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    ASSERT_TRUE(run.CopyTo(copy));
    for (const MaxMinEntry& e : copy.GetEntries()) {
        EXPECT_DOUBLE_EQ(e.last, kRows);
        EXPECT_DOUBLE_EQ(e.rawMinimum, -kRows);
        EXPECT_DOUBLE_EQ(e.rawMaximum, -1);
    }
}
