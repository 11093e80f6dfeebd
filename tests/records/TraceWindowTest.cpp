#include "records/TraceWindow.h"
#include "records/AxisTicks.h"
#include "records/RecordTimeline.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Labels(const std::vector<AxisTick>& ticks) {
    std::vector<std::string> labels;
    for (const AxisTick& tick : ticks)
        labels.push_back(tick.label);
    return labels;
}

} // namespace

TEST(TraceWindowTest, ZoomAndPanStayWithinTheRecord) {
    CTraceWindow window;
    window.SetWidth(1000);
    window.SetRowCount(100000);
    EXPECT_EQ(window.GetRowsPerPixel(), 100.0);
    EXPECT_TRUE(window.ShowsAll());

    window.ZoomAt(250.0, 0.5); // the row under the mouse stays there
    EXPECT_EQ(window.GetRowsPerPixel(), 50.0);
    EXPECT_EQ(window.RowAt(250.0), 25000.0);
    window.Pan(-10000.0); // no rows before the first
    EXPECT_EQ(window.GetFirstRow(), 0.0);
    window.Pan(1e9); // nor after the last
    EXPECT_EQ(window.GetEndRow(), 100000.0);
    window.ZoomAt(500.0, 100.0); // never wider than the record
    EXPECT_TRUE(window.ShowsAll());

    window.ShowRows(5000.0, 4990.0); // a selection either way round, widened to the limit
    EXPECT_EQ(window.GetRowsPerPixel(), 1.0 / CTraceWindow::kMaxPixelsPerRow);
    EXPECT_DOUBLE_EQ(window.RowAt(500.0), 4995.0);
    window.ShowRows(2000.0, 3000.0);
    window.SetWidth(500); // a narrower view shows the same rows
    EXPECT_EQ(window.GetFirstRow(), 2000.0);
    EXPECT_EQ(window.GetEndRow(), 3000.0);
    EXPECT_EQ(window.XOf(2500.0), 250.0);

    CTraceWindow empty;
    empty.SetWidth(100);
    empty.SetRowCount(0);
    EXPECT_EQ(empty.GetFirstRow(), 0.0);
    empty.ZoomAt(10.0, 0.001);
    EXPECT_GT(empty.GetRowsPerPixel(), 0.0);
}

TEST(TraceWindowTest, TicksTakeStepsThatReadWell) {
    EXPECT_EQ(Labels(CAxisTicks::Time(-0.04, 0.3, 700.0, 100.0, false)),
              (std::vector<std::string>{"0.00", "0.05", "0.10", "0.15", "0.20", "0.25", "0.30"}));
    EXPECT_EQ(CAxisTicks::TimeStep(3600.0, 1000.0, 100.0, false), 500.0);
    EXPECT_EQ(CAxisTicks::TimeStep(3600.0, 1000.0, 100.0, true), 600.0);
    EXPECT_EQ(CAxisTicks::TimeStep(10 * 86400.0, 600.0, 100.0, true), 2 * 86400.0);
    const double nine = *CRecordTimeline::ParseDateTime("03-07-2026", "09:00:00");
    EXPECT_EQ(Labels(CAxisTicks::Time(nine + 0.5, nine + 3.2, 300.0, 100.0, true)),
              (std::vector<std::string>{"09:00:01", "09:00:02", "09:00:03"}));
    EXPECT_EQ(Labels(CAxisTicks::Time(nine - 0.05, nine + 0.05, 500.0, 100.0, true)),
              (std::vector<std::string>{"08:59:59.96", "08:59:59.98", "09:00:00.00", "09:00:00.02",
                                        "09:00:00.04"}));
    EXPECT_EQ(Labels(CAxisTicks::Time(nine, nine + 5 * 86400.0, 500.0, 100.0, true)).front(),
              "2026-03-08");
    EXPECT_EQ(Labels(CAxisTicks::Values(-10.0, 10.0, 200.0, 40.0)),
              (std::vector<std::string>{"-10", "-5", "0", "5", "10"}));
    EXPECT_EQ(Labels(CAxisTicks::Values(0.001, 0.0042, 100.0, 30.0)),
              (std::vector<std::string>{"0.001", "0.002", "0.003", "0.004"}));
    EXPECT_TRUE(CAxisTicks::Values(1.0, 1.0 + 1e-300, 100.0, 30.0).size() <= 1000u);
}

TEST(TraceWindowTest, WallClockTimesReadAndWrite) {
    struct Case {
        std::string date;
        std::string time;
        std::string text; // empty: not a time
    };
    for (const Case& c : {Case{"03-07-2026", "09:05:04", "2026-03-07 09:05:04"},
                          Case{"12-31-1999", "11:59:59 PM", "1999-12-31 23:59:59"},
                          Case{"02-29-2024", "12:00:00 AM", "2024-02-29 00:00:00"},
                          Case{"02-29-2026", "10:00:00", ""}, Case{"13-01-2026", "10:00:00", ""},
                          Case{"03-07-2026", "24:00:00", ""}, Case{"03-07-2026", "9:5", ""},
                          Case{"03-07-2026", "13:00:00 PM", ""}, Case{"", "10:00:00", ""},
                          Case{"3-7-2026 x", "10:00:00", ""}}) {
        const auto seconds = CRecordTimeline::ParseDateTime(c.date, c.time);
        EXPECT_EQ(seconds ? CRecordTimeline::FormatDateTime(*seconds, 0) : std::string(), c.text)
            << c.date << " " << c.time;
    }
    EXPECT_EQ(CRecordTimeline::FormatDateTime(-0.5, 1), "1969-12-31 23:59:59.5");
    EXPECT_EQ(CRecordTimeline::FormatTimeOfDay(59.9996, 3), "00:01:00.000");
    EXPECT_EQ(CRecordTimeline::FormatDateTime(1e300, 0), "");

    // A record resumed after midnight: the resume time is on the next day.
    CRecordTimeline timeline;
    timeline.SetRows(0.5, 2);
    timeline.AddAnchor(2, *CRecordTimeline::ParseDateTime("03-07-2026", "23:59:00"));
    EXPECT_TRUE(timeline.AddTimeOfDay(100, "00:10:00"));
    EXPECT_FALSE(timeline.AddTimeOfDay(200, "later"));
    EXPECT_EQ(CRecordTimeline::FormatDateTime(timeline.WallClock(0), 1), "2026-03-07 23:58:59.0");
    EXPECT_EQ(CRecordTimeline::FormatDateTime(timeline.WallClock(99), 1), "2026-03-07 23:59:48.5");
    EXPECT_EQ(CRecordTimeline::FormatDateTime(timeline.WallClock(101), 1), "2026-03-08 00:10:00.5");
    EXPECT_DOUBLE_EQ(*timeline.RowAtWallClock(timeline.WallClock(50)), 50.0);
    EXPECT_DOUBLE_EQ(*timeline.RowAtWallClock(timeline.WallClock(150)), 150.0);
    EXPECT_FALSE(timeline.RowAtWallClock(timeline.WallClock(99) + 60.0)); // in the pause
    EXPECT_EQ(timeline.Elapsed(0), -1.0);
    EXPECT_EQ(timeline.RowAtElapsed(1.0), 4.0);
}
