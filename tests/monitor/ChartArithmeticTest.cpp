#include "monitor/BandScale.h"
#include "monitor/ChartCursors.h"
#include "monitor/CpsRingBuf.h"
#include "monitor/Grp.h"
#include "monitor/GrpCanvas.h"
#include "monitor/LiveScroll.h"
#include "monitor/PanelLayout.h"
#include "monitor/SepChartScale.h"
#include "monitor/TraceBuilder.h"
#include "monitor/WaveLayout.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <tuple>
#include <vector>

namespace {

class CLineRecorder : public IGrpCanvas {
public:
    void Line(int x1, int y1, int x2, int y2, bool dotted) override {
        lines.push_back({x1, y1, x2, y2});
        this->dotted = dotted;
    }
    std::vector<TraceLine> lines;
    bool dotted = false;
};

// Lines as {x1, y1, x2, y2}, to compare whole traces at once.
std::vector<std::array<int, 4>> Coords(const std::vector<TraceLine>& lines) {
    std::vector<std::array<int, 4>> coords;
    for (const TraceLine& line : lines)
        coords.push_back({line.x1, line.y1, line.x2, line.y2});
    return coords;
}

// Bands as {y, units per division, centre}.
std::vector<std::tuple<int, double, double>> Bands(const std::vector<BandChannel>& bands) {
    std::vector<std::tuple<int, double, double>> placed;
    for (const BandChannel& band : bands)
        placed.emplace_back(band.y, band.unitsPerDivision, band.center);
    return placed;
}

void Fill(CCpsRingBuf& ring, const std::vector<CpsEntry>& points, double firstTime,
          double pointTime) {
    ring.Create(static_cast<int>(points.size()) + 4, 1, firstTime, pointTime);
    for (const CpsEntry& point : points)
        ring.Append(&point, 1);
}

} // namespace

TEST(ChartArithmeticTest, TransformMapsWorldToPixelsWithLargerValuesHigher) {
    CGrp grp;
    grp.SetWorld({100, 50, 300, 150}, 0.0, -1.0, 10.0, 1.0);
    EXPECT_DOUBLE_EQ(grp.GetXScale(), 20.0);
    EXPECT_DOUBLE_EQ(grp.GetYScale(), 50.0);
    // 2.49 is truncated, not rounded; far values clamp instead of overflowing.
    for (const auto& [world, x] :
         {std::pair{0.0, 100}, {2.49, 149}, {10.0, 300}, {1e300, 10000100}})
        EXPECT_EQ(grp.X(world), x) << world;
    for (const auto& [world, y] :
         {std::pair{1.0, 50}, {0.0, 100}, {-1.0, 150}, {0.999, 50}, {std::nan(""), 50}})
        EXPECT_EQ(grp.Y(world), y) << world;
    EXPECT_DOUBLE_EQ(grp.WorldX(150), 2.5);
    EXPECT_DOUBLE_EQ(grp.WorldY(75), 0.5);

    grp.SetWorld({0, 0, 100, 100}, 0.0, 0.0, 10.0, 10.0, true, true);
    EXPECT_EQ(grp.Y(0.0), 0) << "flipped: larger values lower";
    EXPECT_EQ(grp.Y(10.0), 100);
    EXPECT_EQ(grp.X(10.0), 0);
    EXPECT_EQ(grp.X(0.0), 100);

    grp.SetWorld({0, 0, 100, 100}, 5.0, 2.0, 5.0, 2.0); // empty world: no division by zero
    EXPECT_DOUBLE_EQ(grp.GetXScale(), 1.0);
}

TEST(ChartArithmeticTest, GridsLieOnMultiplesOfTheStep) {
    EXPECT_EQ(CGrp::GridPositions(0.0, 10.0, 2.0), (std::vector<double>{0, 2, 4, 6, 8, 10}));
    EXPECT_EQ(CGrp::GridPositions(1.0, 9.0, 2.0), (std::vector<double>{2, 4, 6, 8}));
    EXPECT_EQ(CGrp::GridPositions(-3.0, 3.0, 2.5), (std::vector<double>{-2.5, 0, 2.5}));
    // 0.3 / 0.1 is 2.9999999999999996 in doubles: it still counts as the third line.
    const auto tenths = CGrp::GridPositions(0.3, 0.6, 0.1);
    ASSERT_EQ(tenths.size(), 4u);
    EXPECT_NEAR(tenths.front(), 0.3, 1e-12);
    // No step, or one that would draw too many lines: the 1-2-5 step of a tenth of the range.
    EXPECT_EQ(CGrp::GridPositions(0.0, 100.0, 0.0).size(), 11u);
    EXPECT_EQ(CGrp::GridPositions(0.0, 100.0, 1e-9).size(), 11u);
    EXPECT_TRUE(CGrp::GridPositions(5.0, 1.0, 1.0).empty());

    CGrp grp;
    grp.SetWorld({10, 20, 110, 70}, 0.0, 0.0, 10.0, 5.0);
    CLineRecorder canvas;
    grp.DrawXGrid(canvas, 5.0);
    EXPECT_TRUE(canvas.dotted);
    EXPECT_EQ(Coords(canvas.lines), (std::vector<std::array<int, 4>>{
                                        {10, 20, 10, 69}, {60, 20, 60, 69}, {110, 20, 110, 69}}));
    canvas.lines.clear();
    grp.DrawYGrid(canvas, 2.5);
    EXPECT_EQ(Coords(canvas.lines), (std::vector<std::array<int, 4>>{
                                        {10, 70, 109, 70}, {10, 45, 109, 45}, {10, 20, 109, 20}}));
}

TEST(ChartArithmeticTest, MarginsMakeRoomForTimeLabelsNamesAndScales) {
    WaveLayoutInput in;
    in.client = {0, 0, 1000, 600};
    in.charWidth = 8;
    in.labelLine = 16;
    in.titleLine = 20;
    in.startLabelChars = 2; // " 0"
    in.endLabelChars = 3;   // " 10"
    in.divisions = 25;
    in.longestNameChars = 14;
    ChartRect plot = ComputePlotRect(in);
    EXPECT_EQ(plot.left, (14 + 2 + 5) * 8) << "the longest name, two characters, the scale";
    EXPECT_EQ(plot.right, 1000 - (10 + 2) * 8) << "a scale column on the right";
    EXPECT_EQ(plot.top, 20);
    EXPECT_EQ(plot.bottom, 600 - 32);

    in.showNames = false;
    in.hasTitle = true;
    in.startLabelChars = 20; // a date and a time
    plot = ComputePlotRect(in);
    EXPECT_EQ(plot.left, (10 + 5) * 8) << "half the longest time label";
    EXPECT_EQ(plot.right, 1000 - (10 + 2) * 8);
    EXPECT_EQ(plot.top, 40);
    in.startLabelChars = 0;
    plot = ComputePlotRect(in);
    EXPECT_EQ(plot.left, (3 + 5) * 8) << "the widest division number and one more";
    EXPECT_EQ(plot.right, 1000 - (1 + 2) * 8);

    in.client = {0, 0, 100, 60}; // too small: the plot still gets 5 characters and 5 lines
    plot = ComputePlotRect(in);
    EXPECT_EQ(plot.Width(), 40);
    EXPECT_EQ(plot.Height(), 80);
}

TEST(ChartArithmeticTest, BandAutoScaleSharesTheDivisions) {
    std::vector<BandChannel> three(3);
    three[0].range = {-1.0, 1.0};
    three[1].range = {0.0, 7.3};
    three[2].range = {2.0, 2.0}; // flat
    ASSERT_TRUE(ApplyBandAutoScale(three, 0, 25, true, 1));
    // 2 / 8 rounds up to 0.5; 0.9125 to 1 with 3.65 snapped down to a whole unit; a single value
    // still gets a scale.
    EXPECT_EQ(Bands(three), (std::vector<std::tuple<int, double, double>>{
                                {4, 0.5, 0.0}, {12, 1.0, 3.0}, {20, 1.0, 2.0}}));

    std::vector<BandChannel> exact(1);
    exact[0].range = {0.0, 7.3};
    ApplyBandAutoScale(exact, 0, 25, true, 2);
    EXPECT_DOUBLE_EQ(exact[0].unitsPerDivision, 7.3 / 24);
    EXPECT_DOUBLE_EQ(exact[0].center, 3.65);
    EXPECT_EQ(exact[0].y, 12);

    // 13 channels: 25 / 13 is 1, raised to 2; the thirteenth band would pass the top.
    std::vector<BandChannel> many(14);
    many[5].visible = false;
    many[13].y = 7;
    many[13].range = CCpsRingBuf::kEmptyRange; // never seen: keeps its scale
    many[13].unitsPerDivision = 0.25;
    ApplyBandAutoScale(many, 0, 25, true, 1);
    EXPECT_EQ(many[0].y, 1);
    EXPECT_EQ(many[12].y, 23);
    EXPECT_EQ(many[13].y, 7) << "keeps its division";
    EXPECT_DOUBLE_EQ(many[13].unitsPerDivision, 0.25);
    EXPECT_EQ(many[5].y, 0) << "hidden channels are left alone";

    // Without auto the bands are just placed, one division high at least; the scales stay.
    std::vector<BandChannel> placed(30);
    placed[0].unitsPerDivision = 3.0;
    ApplyBandAutoScale(placed, 2, 25, false, 1);
    EXPECT_EQ(placed[0].y, 2);
    EXPECT_EQ(placed[24].y, 26);
    EXPECT_EQ(placed[25].y, 0);
    EXPECT_DOUBLE_EQ(placed[0].unitsPerDivision, 3.0);

    // A first placement gives every channel its own division when there are many.
    std::vector<BandChannel> fresh(27);
    for (BandChannel& channel : fresh)
        channel.range = {-10.0, 10.0};
    fresh[1].visible = false;
    PlaceByRange(fresh, 0, 25);
    EXPECT_EQ(fresh[0].y, 0);
    EXPECT_EQ(fresh[2].y, 1);
    EXPECT_EQ(fresh[25].y, 24);
    EXPECT_EQ(fresh[26].y, 0) << "the 26th shown channel shares the first band";
    EXPECT_DOUBLE_EQ(fresh[0].unitsPerDivision, 20.0);
    EXPECT_DOUBLE_EQ(fresh[1].unitsPerDivision, 1.0) << "hidden: untouched";
    std::vector<BandChannel> two(2);
    two[0].range = {-10.0, 10.0};
    two[1].range = {0.0, 500.0};
    PlaceByRange(two, 0, 25);
    // 20 / 12 rounds up to 2.
    EXPECT_EQ(Bands(two),
              (std::vector<std::tuple<int, double, double>>{{6, 2.0, 0.0}, {18, 50.0, 250.0}}));

    std::vector<BandChannel> hidden(2);
    hidden[0].visible = hidden[1].visible = false;
    EXPECT_FALSE(ApplyBandAutoScale(hidden, 0, 25, true, 1));

    for (const auto& [channels, divisions] : {std::pair{2, 12}, {5, 4}, {6, 4}, {7, 2}})
        EXPECT_EQ(BandDivisions(channels, 25, true), divisions) << channels;
    const ChartRect band = BandRect({0, 0, 100, 250}, 0, 25, 4, 8);
    EXPECT_EQ(band, (ChartRect{0, 170, 100, 250})) << "divisions 0..8 of 10 pixels each";
    EXPECT_EQ(BandRect({0, 0, 100, 250}, 0, 25, 24, 8), (ChartRect{0, 0, 100, 50}));
}

TEST(ChartArithmeticTest, LiveUpdateDrawsScrollsOrTurnsAPage) {
    LiveStep step = PlanLiveStep(0, 100.0, 9.5, 0.0, 10.0, 5);
    EXPECT_EQ(step.action, LiveStep::Action::DrawNew);
    EXPECT_EQ(step.end, 10.0);
    EXPECT_EQ(PlanLiveStep(0, 100.0, 10.0, 0.0, 10.0, 5).action, LiveStep::Action::DrawNew);

    step = PlanLiveStep(0, 100.0, 10.001, 0.0, 10.0, 5);
    EXPECT_EQ(step.action, LiveStep::Action::Scroll);
    EXPECT_EQ(step.shift, 5) << "1 ms past the edge still scrolls by the minimum step";
    EXPECT_DOUBLE_EQ(step.start, 0.05);
    EXPECT_DOUBLE_EQ(step.end, 10.05);

    step = PlanLiveStep(0, 100.0, 10.5, 0.0, 10.0, 5);
    EXPECT_EQ(step.shift, 50);
    EXPECT_DOUBLE_EQ(step.end, 10.5);
    EXPECT_EQ(PlanLiveStep(0, 100.0, 10.001, 0.0, 10.0, 1).shift, 1);

    step = PlanLiveStep(1, 100.0, 10.5, 0.0, 10.0, 5);
    EXPECT_EQ(step.action, LiveStep::Action::Page);
    EXPECT_DOUBLE_EQ(step.start, 5.0) << "half the range";
    EXPECT_DOUBLE_EQ(step.end, 15.0);
    step = PlanLiveStep(1, 100.0, 27.0, 0.0, 10.0, 5);
    EXPECT_DOUBLE_EQ(step.end, 27.0) << "a page never leaves the newest point outside";
}

TEST(ChartArithmeticTest, SeparateChartScales) {
    CScale scale;
    ASSERT_TRUE(SepChartScale::AutoScale({2.0, 2.0}, scale));
    EXPECT_EQ(scale, (CScale{-3.0, 7.0, 2.0, 0})) << "a flat signal";
    ASSERT_TRUE(SepChartScale::AutoScale({-12.0, 31.0}, scale));
    EXPECT_DOUBLE_EQ(scale.m_div, 10.0); // 43 / 5 = 8.6
    EXPECT_FALSE(SepChartScale::AutoScale(CCpsRingBuf::kEmptyRange, scale));

    CCpsRingBuf ring;
    Fill(ring, {{1.0, 2.0}, {-4.0, 0.5}, {std::nan(""), 9.0}}, 0.0, 1.0);
    const CpsEntry extremes = SepChartScale::RingExtremes(ring, 0);
    EXPECT_DOUBLE_EQ(extremes.minimum, -4.0);
    EXPECT_DOUBLE_EQ(extremes.maximum, 9.0);
    EXPECT_FALSE(SepChartScale::RingExtremes(ring, 1).maximum >= 0.0);

    CScale offset{-1.0, 1.0, 1.0, 0};
    SepChartScale::Offset(offset, true);
    EXPECT_EQ(offset, (CScale{0.0, 2.0, 1.0, 0}));
    SepChartScale::Offset(offset, false);
    EXPECT_EQ(offset, (CScale{-1.0, 1.0, 1.0, 0}));

    const std::tuple<double, bool, double> halves[] = {
        {1.0, true, 0.5},   {1.0, false, 2.0}, {2.0, true, 1.0},
        {5.0, false, 10.0}, {0.3, true, 0.1},  {0.3, false, 0.5},
        {7.0, true, 2.0},   {0.1, true, 0.05}, {20.0, false, 50.0}};
    for (const auto& [half, smaller, next] : halves)
        EXPECT_NEAR(SepChartScale::NextHalfSpan(half, smaller), next, next * 1e-12)
            << half << (smaller ? " in" : " out");

    CScale zoom{8.0, 12.0, 1.0, 0};
    SepChartScale::Zoom(zoom, true);
    EXPECT_EQ(zoom, (CScale{9.0, 11.0, 0.5, 0})) << "half span 2 -> 1 around 10";
    SepChartScale::Zoom(zoom, false);
    SepChartScale::Zoom(zoom, false);
    EXPECT_EQ(zoom, (CScale{5.0, 15.0, 2.0, 0}));
    SepChartScale::Move(zoom, true);
    EXPECT_EQ(zoom, (CScale{6.0, 16.0, 2.0, 0}));
    SepChartScale::Move(zoom, false);
    EXPECT_EQ(zoom, (CScale{5.0, 15.0, 2.0, 0}));

    for (const auto& [range, over] : {std::pair{CpsEntry{-1.0, 10.5}, true},
                                      {CpsEntry{-10.5, 1.0}, true},
                                      {CpsEntry{-10.0, 10.0}, false}})
        EXPECT_EQ(SepChartScale::IsOverRange(range, CScale{-10.0, 10.0, 5.0, 0}), over);
    EXPECT_FALSE(SepChartScale::IsOverRange(CCpsRingBuf::kEmptyRange, CScale{}));
}

TEST(ChartArithmeticTest, PanelsFillColumnByColumn) {
    const std::tuple<int, int, int, int, int> grids[] = {
        // n, width, height, rows, columns
        {5, 1600, 600, 3, 2},  {1, 1600, 600, 1, 1},  {13, 1600, 600, 7, 2}, {36, 1600, 600, 6, 6},
        {40, 1600, 600, 8, 5}, {40, 400, 1000, 8, 5}, {5, 700, 600, 5, 1},   {12, 700, 600, 8, 2},
        {64, 1600, 600, 8, 8}, {0, 1600, 600, 0, 0},
    };
    for (const auto& [n, width, height, rows, columns] : grids) {
        const PanelGrid grid = ArrangePanels(n, width, height);
        EXPECT_EQ(grid.rows, rows) << n << " in " << width << "x" << height;
        EXPECT_EQ(grid.columns, columns) << n << " in " << width << "x" << height;
    }
    const PanelGrid grid = ArrangePanels(5, 1600, 600);
    EXPECT_EQ(PanelRect(0, grid, 1600, 600), (ChartRect{1, 1, 800, 200}));
    EXPECT_EQ(PanelRect(2, grid, 1600, 600), (ChartRect{1, 401, 800, 600}));
    EXPECT_EQ(PanelRect(3, grid, 1600, 600), (ChartRect{801, 1, 1600, 200}));

    const PanelParts parts = SplitPanel({0, 0, 400, 200}, 14, 12, 7);
    EXPECT_EQ(parts.title, (ChartRect{2, 2, 397, 16}));
    EXPECT_EQ(parts.plot, (ChartRect{2, 16, 397, 197}));
    EXPECT_EQ(parts.value, (ChartRect{2, 149, 254, 197})) << "four lines, 36 characters";
    EXPECT_EQ(SplitPanel({0, 0, 100, 40}, 14, 12, 7).value, (ChartRect{2, 16, 97, 37}))
        << "cut to the plot";

    EXPECT_EQ(WavePanelFonts(3, {0, 0, 500, 200}, 1920, 1080).value, 18);
    EXPECT_EQ(WavePanelFonts(1, {0, 0, 500, 200}, 1920, 1080).unit, 18);
    EXPECT_EQ(WavePanelFonts(2, {0, 0, 100, 100}, 1920, 1080).value, 30);
    EXPECT_EQ(LowerPaneWidths(1000, 2), (std::vector<int>{800, 200}));
    EXPECT_EQ(LowerPaneWidths(1000, 3), (std::vector<int>{500, 250, 250}));
    EXPECT_EQ(LowerPaneWidths(12, 3), (std::vector<int>{10, 10, 10})) << "at least 10 pixels";
    EXPECT_EQ(ChartRowHeight(900), 600);
    EXPECT_EQ((std::array{NextPanelStyle(1), NextPanelStyle(2), NextPanelStyle(3)}),
              (std::array{2, 3, 1}));
}

TEST(ChartArithmeticTest, CursorsMarkersAndTab) {
    CChartCursors cursors;
    cursors.SetCursorRange(100, 400);
    cursors.SetMarkerRange(300);
    EXPECT_EQ(cursors.GetCursor(0), 200) << "unplaced cursors at a third";
    EXPECT_EQ(cursors.GetCursor(1), 300);
    EXPECT_FALSE(cursors.OnArrow(true, false, false)) << "nothing shown, nothing moves";

    cursors.ShowCursors(true);
    EXPECT_TRUE(cursors.OnArrow(true, false, true));
    EXPECT_EQ(cursors.GetCursor(0), 210);
    EXPECT_TRUE(cursors.OnArrow(false, true, false));
    EXPECT_EQ(cursors.GetCursor(1), 299);
    cursors.SetCursorPosition(0, 395);
    cursors.OnArrow(true, false, true);
    EXPECT_EQ(cursors.GetCursor(0), 400) << "kept inside the range";
    EXPECT_FALSE(cursors.OnArrow(true, false, false));
    cursors.SetCursorRange(100, 700); // a placed cursor keeps its proportion
    EXPECT_EQ(cursors.GetCursor(0), 700);
    EXPECT_EQ(cursors.GetCursor(1), 498);
    EXPECT_EQ(cursors.HitTest(702, 0).kind, CChartCursors::Grab::Kind::Cursor);
    EXPECT_EQ(cursors.HitTest(690, 0).kind, CChartCursors::Grab::Kind::None);

    cursors.ShowCursors(false);
    cursors.ShowMarkers(true);
    EXPECT_TRUE(cursors.OnArrow(true, false, true));
    EXPECT_EQ(cursors.GetMarker(0), 130) << "a tenth of the range";
    cursors.SetMarkerPosition(1, -5);
    EXPECT_EQ(cursors.GetMarker(1), 0);
    EXPECT_EQ(cursors.HitTest(0, 2).which, 1);
    cursors.Reset();
    EXPECT_FALSE(cursors.HasMarkers());
    EXPECT_EQ(cursors.GetMarker(0), 100);

    const std::vector<std::int16_t> ys{4, 12, 20, 12, 8};
    const std::vector<bool> visible{true, true, true, true, false};
    EXPECT_EQ(NextChannelByDivision(ys, visible, 0, true, 0, 25), 1) << "ties: the first";
    EXPECT_EQ(NextChannelByDivision(ys, visible, 1, true, 0, 25), 2);
    EXPECT_EQ(NextChannelByDivision(ys, visible, 2, true, 0, 25), std::nullopt)
        << "no larger division: the caller beeps";
    EXPECT_EQ(NextChannelByDivision(ys, visible, 2, false, 0, 25), 1);
    EXPECT_EQ(NextChannelByDivision(ys, visible, 1, false, 0, 25), 0) << "the hidden one skipped";
    EXPECT_EQ(NextChannelByDivision(ys, visible, 2, true, 0, 19), std::nullopt);
    EXPECT_EQ(LowestVisibleChannel(ys, visible), 0);
    EXPECT_EQ(LowestVisibleChannel(ys, std::vector<bool>(5, false)), std::nullopt);
}

TEST(ChartArithmeticTest, TraceMergesPointsOfOnePixelColumn) {
    // Points 0.5 pixel apart: two to a column.
    CCpsRingBuf ring;
    Fill(ring, {{0.0, 1.0}, {-1.0, 0.5}, {2.0, 3.0}, {1.0, 1.0}}, 0.0, 0.5);
    CGrp grp;
    grp.SetWorld({0, 0, 10, 100}, 0.0, -5.0, 10.0, 5.0); // 1 pixel per second, 10 per unit
    CTraceBuilder builder;
    const std::vector<TraceLine>& lines = builder.Build(ring, 0, 0, grp);
    // Column 0 from its highest (1.0) to its lowest (-1.0); column 1 from 3.0 down to where the
    // last column's maximum (0.5) was.
    EXPECT_EQ(Coords(lines), (std::vector<std::array<int, 4>>{{0, 40, 0, 60}, {1, 20, 1, 45}}));

    // Points 3 pixels apart: a join from the last maximum to the next minimum, then the stroke.
    CCpsRingBuf sparse;
    Fill(sparse, {{0.0, 1.0}, {-2.0, -1.0}}, 0.0, 3.0);
    const std::vector<TraceLine>& apart = builder.Build(sparse, 0, 0, grp);
    EXPECT_EQ(Coords(apart),
              (std::vector<std::array<int, 4>>{{0, 40, 0, 50}, {0, 40, 3, 70}, {3, 60, 3, 70}}));

    EXPECT_TRUE(builder.Build(sparse, 1, 0, grp).empty()) << "no such column";
    EXPECT_EQ(builder.Build(sparse, 0, 1, grp).size(), 1u);

    CCpsRingBuf times;
    Fill(times, {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}, 10.0, 0.5);
    // Point 2 is at 11.0: the first point drawn is one before it.
    for (const auto& [time, first, last] :
         {std::tuple{11.0, 1, 3}, {11.2, 2, 3}, {0.0, 0, 0}, {99.0, 4, 4}}) {
        EXPECT_EQ(CTraceBuilder::FirstPointAt(times, time), first) << time;
        EXPECT_EQ(CTraceBuilder::LastPointAt(times, time), last) << time;
    }
    EXPECT_EQ(CTraceBuilder::FirstPointAt(CCpsRingBuf(), 1.0), -1);
}
