#include "conditions/RecCnd.h"
#include "monitor/ChannelLimits.h"
#include "monitor/ChartSlots.h"
#include "monitor/CommonWaveChInfo.h"
#include "monitor/DigitListRows.h"
#include "monitor/MonitorChannels.h"
#include "monitor/MonitorStatus.h"
#include "monitor/MyCommonWaveChInfo.h"
#include "support/TestSlots.h"

#include <gtest/gtest.h>

namespace {

// Slot 1: four voltage channels (1, 2 and 4 on); slot 2: two strain channels (both on).
CRecCnd TwoSlots() {
    CRecCnd condition;
    AddTestSlot(
        condition, 1, "QA-80VA", 2, 4, {"10V", "500mV"}, {"OFF"}, [](int c) { return c != 2; },
        true);
    AddTestSlot(
        condition, 2, "QA-80SG", 3, 2, {"2000uST"}, {"OFF"}, [](int) { return true; }, false);
    return condition;
}

MaxMinEntry Entry(double minimum, double maximum, double last) {
    MaxMinEntry entry;
    entry.minimum = minimum;
    entry.maximum = maximum;
    entry.last = last;
    entry.rawMinimum = minimum * 2000;
    entry.rawMaximum = maximum * 2000;
    entry.rawLast = last * 2000;
    return entry;
}

} // namespace

TEST(MonitorModelTest, ChannelsFollowTheRingColumnOrderWithTheirNames) {
    std::vector<CRecCnd> conditions{TwoSlots()};
    conditions[0].m_channels[1].m_name = "Load";
    conditions[0].m_channels[4].m_monitorNo = 7;
    conditions[0].m_calc = 1;
    conditions[0].m_calcChannels[1].m_enabled = 1;
    conditions[0].m_calcChannels[1].m_name = "Sum";
    std::vector<MonitorChannel> channels = EnumerateMonitorChannels(conditions);
    ASSERT_EQ(channels.size(), 6u);
    EXPECT_EQ(channels[0].name, "1-1(Ch10)") << "no own number: slot 1, channel 0";
    EXPECT_EQ(channels[1].name, "Load(Ch11)");
    EXPECT_EQ(channels[2].name, "1-4(Ch13)");
    EXPECT_EQ(channels[3].name, "2-1(Ch7)");
    EXPECT_EQ(channels[5].name, "Sum(Ch91)");
    EXPECT_TRUE(channels[5].calc);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(channels[static_cast<std::size_t>(i)].index, i);
    EXPECT_EQ(channels[2].condition, &conditions[0].m_channels[3]);
    EXPECT_EQ(MonitorChannelUnit(conditions[0].m_channels[1]), "mV");
    conditions[0].m_channels[1].m_phyUnit = "kN";
    EXPECT_EQ(MonitorChannelUnit(conditions[0].m_channels[1]), "kN");

    conditions[0].m_calc = 0; // calculation off: its channels are not columns
    conditions.push_back(TwoSlots());
    conditions[0].m_sync = 11;
    conditions[1].m_sync = 12;
    channels = EnumerateMonitorChannels(conditions);
    ASSERT_EQ(channels.size(), 10u);
    EXPECT_EQ(channels[0].name, "(M)1-1(Ch10)");
    EXPECT_EQ(channels[5].name, "(S)1-1(Ch10)");
    EXPECT_EQ(channels[5].recorder, 1);
    EXPECT_EQ(channels[9].index, 9);
}

TEST(MonitorModelTest, CommonChartChannelKeepsItsPlacementInTheCondition) {
    CChCnd condition;
    CMyCommonWaveChInfo info(3, condition);
    info.SetVisible(true);
    info.SetY(12);
    info.SetUnitsPerDivision(0.5);
    info.SetCenter(-2.0);
    EXPECT_EQ(condition.m_visible, 1);
    EXPECT_EQ(condition.m_gridCentreDiv, 12);
    EXPECT_EQ(condition.m_gridUnitsPerDiv, 0.5);
    EXPECT_EQ(condition.m_gridCentreValue, -2.0);
    EXPECT_EQ(info.GetColor(), ChartColour::TraceColour(3)) << "no colour yet: the palette";
    info.SetColor(ChartColour::Rgb(1, 2, 3));
    EXPECT_EQ(condition.m_gridColour, 0x030201u);
    EXPECT_EQ(info.GetColor(), 0x030201u);

    // Centre -2 on division 12 of 25, 0.5 per division: the plot runs from -8 to 4.5.
    info.PlaceOn({0, 0, 100, 250}, 0, 25, 10.0, 20.0);
    EXPECT_EQ(info.Transform().X(15.0), 50);
    EXPECT_DOUBLE_EQ(info.Transform().GetYMin(), -8.0);
    EXPECT_DOUBLE_EQ(info.Transform().GetYMax(), 4.5);
    EXPECT_EQ(info.Transform().Y(-2.0), 130);

    CCommonWaveChInfo plain(0);
    EXPECT_TRUE(plain.IsVisible());
    EXPECT_EQ(plain.GetColor(), ChartColour::kBlue);
    EXPECT_EQ(plain.ValueFormat().GetDigits(), 2);
}

TEST(MonitorModelTest, DigitRowsShowValuesAndLimitColours) {
    const CDataFormat three(CDataFormat::FRACTIONAL, 3);
    MaxMinEntry fresh;
    DigitRowValues row = DigitListRows::Values(fresh, three, true, {});
    EXPECT_EQ(row.value, " 0.000( 0)") << "before data: the initial last value";
    EXPECT_EQ(row.minimum, "-");
    EXPECT_EQ(row.maximum, "-");
    EXPECT_EQ(row.colour, LimitColour::Default);

    row = DigitListRows::Values(Entry(-1.5, 1.234, 0.617), three, true, {});
    EXPECT_EQ(row.value, " 0.617( 1234)");
    EXPECT_EQ(row.minimum, "-1.500(-3000)");
    EXPECT_EQ(row.maximum, " 1.234( 2468)");
    row = DigitListRows::Values(Entry(-1.5, 1.234, 0.617), three, false, {});
    EXPECT_EQ(row.value, " 0.617");
    EXPECT_EQ(row.maximum, " 1.234");

    const struct {
        std::optional<double> upper;
        std::optional<double> lower;
        double minimum;
        double maximum;
        LimitColour colour;
    } limits[] = {
        {5.0, {}, 0.0, 5.0, LimitColour::Red},     {5.0, {}, 0.0, 4.9, LimitColour::Green},
        {5.0, -5.0, 0.0, 6.0, LimitColour::Green}, // the lower limit decides
        {{}, -5.0, -5.0, 0.0, LimitColour::Red},   {{}, {}, -9.0, 9.0, LimitColour::Default},
    };
    for (const auto& c : limits)
        EXPECT_EQ(DigitListRows::ColourOf(c.minimum, c.maximum, {c.upper, c.lower}), c.colour);
    EXPECT_EQ(DigitListRows::Values(Entry(0.0, 5.0, 1.0), three, false, {5.0, {}}).colour,
              LimitColour::Red);

    CChCnd channel;
    channel.m_mat = {"Steel", "S1", "400", ""};
    CMatLimits matLimits;
    ChannelLimitPair pair = matLimits.GetLimits(channel);
    EXPECT_EQ(pair.upper, 400.0);
    EXPECT_FALSE(pair.lower.has_value());
    channel.m_mat[3] = "abc";
    EXPECT_EQ(matLimits.GetLimits(channel).lower, 0.0) << "not a number reads as 0";
}

TEST(MonitorModelTest, NameSortAndPlacementEdits) {
    std::vector<CRecCnd> conditions{TwoSlots()};
    std::vector<MonitorChannel> channels = EnumerateMonitorChannels(conditions);
    // Numbers 10, 11, 13, 20, 21; shown: the second and the fourth.
    channels[1].condition->m_visible = 1;
    channels[3].condition->m_visible = 1;
    channels[0].number = 30;
    EXPECT_EQ(DigitListRows::SortOrder(channels, true), (std::vector<int>{1, 3, 2, 4, 0}));
    EXPECT_EQ(DigitListRows::SortOrder(channels, false), (std::vector<int>{1, 2, 3, 4, 0}));

    EXPECT_EQ(DigitListRows::EditGridNo("12", 4), 12);
    EXPECT_EQ(DigitListRows::EditGridNo("63", 4), 63);
    EXPECT_EQ(DigitListRows::EditGridNo("64", 4), std::nullopt);
    EXPECT_EQ(DigitListRows::EditGridNo("-1", 4), std::nullopt);
    EXPECT_EQ(DigitListRows::EditGridNo("4", 4), std::nullopt);
    EXPECT_EQ(DigitListRows::EditDivision("0.25", 1.0), 0.25);
    EXPECT_EQ(DigitListRows::EditDivision("0", 1.0), std::nullopt);
    EXPECT_EQ(DigitListRows::EditDivision("-2", 1.0), std::nullopt);
    EXPECT_EQ(DigitListRows::EditZeroPoint("-3.5", 0.0), -3.5);
    EXPECT_EQ(DigitListRows::EditZeroPoint("x", 0.0), std::nullopt) << "reads as 0: unchanged";
}

TEST(MonitorModelTest, ChartSlotCommandsAndIndicators) {
    std::vector<CRecCnd> conditions{TwoSlots()};
    EXPECT_TRUE(ChartSlots::IsEnabled(conditions, 1));
    EXPECT_FALSE(ChartSlots::IsEnabled(conditions, 3)) << "no enabled channel in slot 3";
    EXPECT_FALSE(ChartSlots::IsChecked(conditions, 1));
    EXPECT_FALSE(ChartSlots::AnyVisible(conditions));
    EXPECT_TRUE(ChartSlots::Toggle(conditions, 1));
    for (const CChCnd& channel : conditions[0].m_channels)
        EXPECT_EQ(channel.m_visible, channel.m_slot == 1 ? 1 : 0);
    EXPECT_TRUE(ChartSlots::IsChecked(conditions, 1));
    EXPECT_TRUE(ChartSlots::AnyVisible(conditions));
    conditions[0].m_channels[5].m_visible = 1;
    EXPECT_TRUE(ChartSlots::Toggle(conditions, 1)) << "one shown: all of the slot hide";
    EXPECT_FALSE(ChartSlots::IsChecked(conditions, 1));
    EXPECT_TRUE(ChartSlots::IsChecked(conditions, 2));

    EXPECT_FALSE(ChartSlots::AnyValueBox(conditions));
    conditions[0].m_channels[5].m_valueBox = 1;
    EXPECT_TRUE(ChartSlots::AnyValueBox(conditions));
    conditions[0].m_channels[5].m_enabled = 0;
    EXPECT_FALSE(ChartSlots::AnyValueBox(conditions)) << "only enabled channels count";

    conditions.push_back(TwoSlots());
    EXPECT_FALSE(ChartSlots::IsEnabled(conditions, 1));
    EXPECT_FALSE(ChartSlots::Toggle(conditions, 1)) << "several recorders: nothing";
}

TEST(MonitorModelTest, StatusTextsProgressAndPanelPosition) {
    EXPECT_EQ(MonitorStatus::ChartWidthText("10 sec", 2.0), "Chart Width:10 sec, Grid:2.0 sec");
    EXPECT_EQ(MonitorStatus::ChartWidthText("", 0.25), "Chart Width:, Grid:0.2 sec");
    EXPECT_EQ(MonitorStatus::RateText("1kHz", "Test00001"),
              "Rate :1kHz,    HDD Rec File : Test00001");
    EXPECT_EQ(MonitorStatus::CountsText(12345, 61700), "DataCnt=12345, TickCnt61700");
    EXPECT_EQ(MonitorStatus::CountsText(5000000000ULL, 0), "DataCnt=5000000000, TickCnt0");

    EXPECT_EQ(MonitorStatus::RecordProgress(2500, 10000, 1000.0), 25);
    EXPECT_EQ(MonitorStatus::RecordProgress(20000, 10000, 1000.0), 100);
    EXPECT_EQ(MonitorStatus::RecordProgress(0, 0, 1000.0), 1);
    EXPECT_EQ(MonitorStatus::RecordProgress(99999, 0, 1000.0), 100);
    EXPECT_EQ(MonitorStatus::RecordProgress(100000, 0, 1000.0), 1) << "cycles every 100 s";
    EXPECT_EQ(MonitorStatus::RecordProgress(100, 0, 0.0), -1);

    const auto fallback = MonitorStatus::ControlPanelPosition(-5, 300, true, 1920, 1080);
    EXPECT_EQ(fallback.x, 1740);
    EXPECT_EQ(fallback.y, 240);
    EXPECT_EQ(MonitorStatus::ControlPanelPosition(100, 1080, false, 1920, 1080).x, 1740);
    EXPECT_FALSE(MonitorStatus::ControlPanelPosition(100, 1080, false, 1920, 1080).visible);
    const auto kept = MonitorStatus::ControlPanelPosition(1919, 0, true, 1920, 1080);
    EXPECT_EQ(kept.x, 1919);
    EXPECT_EQ(kept.y, 0);
}
