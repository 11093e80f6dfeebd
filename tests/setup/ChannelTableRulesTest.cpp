// The channel table's rules: numbering, the cells of every module kind, edits and their
// refusals, the calculation and frequency settings.
#include "setup/ChannelTableRules.h"
#include "conditions/ConditionTables.h"
#include "setup/ChannelTableCalcSetting.h"
#include "setup/ChannelTableFixture.h"
#include "setup/ChannelTableFvSetting.h"
#include "support/FakePrompt.h"

#include <gtest/gtest.h>

namespace Col = ChannelTableColumn;

namespace {

const std::vector<std::string> kUnits{"V", "mV", "uST", "Hz", "C", "G"};

class ChannelTableRulesTest : public testing::Test {
protected:
    void SetUp() override {
        m_units = MakeTableConditions();
        CChannelTableRules::NumberChannels(m_units);
    }
    CChannelTableRules Rules(int unit = 0) {
        return CChannelTableRules(m_units[unit], 100, kUnits);
    }
    std::vector<std::string> RowTexts(const CChannelTableRules& rules, int row) {
        std::vector<std::string> texts;
        for (int c = 0; c < Col::kCount; ++c)
            texts.push_back(rules.GetCell(row, c).text);
        return texts;
    }
    // Every cell text of a row, each followed by ";".
    std::string Row(const CChannelTableRules& rules, int row) {
        std::string joined;
        for (const std::string& text : RowTexts(rules, row))
            joined += text + ";";
        return joined;
    }
    CChCnd& Ch(int index, int unit = 0) { return m_units[unit].m_channels[index]; }

    std::vector<CRecCnd> m_units;
    CFakePrompt m_prompt;
};

TEST_F(ChannelTableRulesTest, RunningNumbersFollowUnitsDataWordsAndCalculationChannels) {
    // Unit 0: 12 one-word channels, two CAN signals of 2 words, one CAN signal of 12, then
    // its four calculation channels; unit 1 does not calculate.
    m_units[0].m_channels[14].m_wordsPerSample = 12;
    CChannelTableRules::NumberChannels(m_units);
    EXPECT_EQ(Ch(0).m_monitorNo, 1);
    EXPECT_EQ(Ch(11).m_monitorNo, 12);
    EXPECT_EQ(Ch(12).m_monitorNo, 13);
    EXPECT_EQ(Ch(13).m_monitorNo, 15);
    EXPECT_EQ(Ch(14).m_monitorNo, 17);
    EXPECT_EQ(m_units[0].m_calcChannels[0].m_monitorNo, 29);
    EXPECT_EQ(m_units[0].m_calcChannels[3].m_monitorNo, 32);
    EXPECT_EQ(Ch(0, 1).m_monitorNo, 33);
    EXPECT_EQ(Rules().GetCell(15, Col::kModuleType).text, "QA-80CAN-G  8-1(12)");

    CChCnd unnumbered = Ch(2);
    unnumbered.m_monitorNo = 0;
    EXPECT_EQ(CChannelTableRules::DisplayNumber(unnumbered), 21);
}

TEST_F(ChannelTableRulesTest, RowsColoursLabelsAndIconsByModuleType) {
    const CChannelTableRules rules = Rules();
    EXPECT_EQ(rules.RowCount(), 15 + 1 + 4);
    EXPECT_EQ(Rules(1).RowCount(), 3 + 1);
    EXPECT_EQ(rules.RowChannel(0), nullptr);
    EXPECT_EQ(rules.RowChannel(20), nullptr);
    EXPECT_TRUE(rules.IsCalcRow(16));
    EXPECT_FALSE(rules.IsCalcRow(15));

    const std::uint32_t c1 = CChannelTableRules::kSlotColour1;
    const std::uint32_t c2 = CChannelTableRules::kSlotColour2;
    const std::vector<std::uint32_t> colours{c1, c1, c2, c1, c2, c2, c2, c2, c2, c2,
                                             c1, c2, c1, c1, c2, c1, c1, c1, c1};
    for (int row = 1; row < rules.RowCount(); ++row) {
        for (int col : {0, 5, 19})
            EXPECT_EQ(rules.GetCell(row, col).backColour, colours[row - 1]) << row;
    }

    const std::vector<std::pair<std::string, int>> labels{
        {"QA-80V  1-1", 4},         {"QA-80V  1-2", 4},         {"QA-80ST  2-1", 7},
        {"QA-80TC  3-1", 6},        {"QA-80FV  4-1", 5},        {"QA-80FV  4-2", 5},
        {"QA-80FV  4-3", 5},        {"QA-80FV  4-4", 5},        {"QA-80FV  4-5", 5},
        {"QA-80FV  4-6", 5},        {"QA-80DI  5-1", 8},        {"QA-80IMU  6-1", 11},
        {"QA-80CAN-K  7-1(2)", 13}, {"QA-80CAN-K  7-2(2)", 13}, {"QA-80CAN-G  8-1(1)", 14},
        {"QA-80CALC  9-1", 10},     {"QA-80CALC  9-2", 10},     {"QA-80CALC  9-3", 10},
        {"QA-80CALC  9-4", 10}};
    for (int row = 1; row < rules.RowCount(); ++row) {
        const TableCell cell = rules.GetCell(row, Col::kModuleType);
        EXPECT_EQ(cell.text, labels[row - 1].first);
        EXPECT_EQ(cell.icon, labels[row - 1].second);
        EXPECT_EQ(cell.align, TableAlign::Centre);
        EXPECT_FALSE(cell.editable);
    }
    const CChannelTableRules second = Rules(1);
    EXPECT_EQ(second.GetCell(1, 0).icon, 12);
    EXPECT_EQ(second.GetCell(2, 0).icon, 3);
    EXPECT_EQ(second.GetCell(3, 0).icon, 9);
    EXPECT_EQ(second.GetCell(1, Col::kChannels).text, "Ch22");
    EXPECT_EQ(CChannelTableRules::IconIndex(42), 2);

    m_units[1].m_slots[2].m_partNo.clear();
    EXPECT_EQ(Rules(1).GetCell(3, 0).text, "<unknown>");
}

TEST_F(ChannelTableRulesTest, VoltageRowsShowEveryColumn) {
    const CChannelTableRules rules = Rules();
    EXPECT_EQ(Row(rules, 1),
              "QA-80V  1-1;Ch1;Force;10V;10Hz;1.00;;ON;37.500(37%);kN;50.000;"
              "5.000V;0.000;0.000V;-1.000;0.000V;10.000kN;-10.000kN;STEEL_S355;left;");
    EXPECT_EQ(Row(rules, 2), "QA-80V  1-2;Ch2;;10V;;-;;OFF;0.000(0%);;1.000;1.000V;0.000;0.000V;"
                             "-1.000;0.000V;10.000;-10.000;;;");

    const TableCell channels = rules.GetCell(1, Col::kChannels);
    EXPECT_EQ(channels.kind, TableCellKind::Check);
    EXPECT_TRUE(channels.checkable && channels.checked && !channels.editable);
    const TableCell range = rules.GetCell(1, Col::kRange);
    EXPECT_EQ(range.kind, TableCellKind::Choice);
    EXPECT_FALSE(range.freeText);
    EXPECT_EQ(range.choices, (std::vector<std::string>{"10V", "5V", "500mV"}));
    EXPECT_EQ(range.align, TableAlign::Right);
    EXPECT_EQ(rules.GetCell(1, Col::kTrg).choices, (std::vector<std::string>{"OFF", "ON"}));
    const TableCell unit = rules.GetCell(1, Col::kPhyUnit);
    EXPECT_TRUE(unit.freeText && unit.editable);
    EXPECT_EQ(unit.choices, kUnits);
    EXPECT_TRUE(rules.GetCell(1, Col::kMon).checked);
    EXPECT_FALSE(rules.GetCell(2, Col::kMon).checked);
    EXPECT_FALSE(rules.GetCell(1, Col::kBal).editable);
    for (int col = Col::kSignalName; col < Col::kCount; ++col) {
        if (col != Col::kBal && col != Col::kMon) {
            EXPECT_TRUE(rules.GetCell(1, col).editable) << col;
        }
    }
    EXPECT_EQ(rules.HeaderText(Col::kTrg), "TRG");
    EXPECT_EQ(rules.HeaderText(Col::kMinusCalVal), "-Cal_VAL");
}

TEST_F(ChannelTableRulesTest, ModuleTypesChangeRangeFilterTriggerAndCalibrationCells) {
    const CChannelTableRules rules = Rules();
    // Strain, temperature (no filters), frequency sections and set-up.
    EXPECT_EQ(rules.GetCell(3, Col::kCalVal1).text, "1.000uST");
    EXPECT_EQ(rules.GetCell(4, Col::kFilter).text, "-");
    EXPECT_FALSE(rules.GetCell(4, Col::kFilter).editable);
    EXPECT_EQ(rules.GetCell(5, Col::kRange).choices, (std::vector<std::string>{"10kHz", "1kHz"}));
    EXPECT_EQ(rules.GetCell(7, Col::kRange).choices, (std::vector<std::string>{"100Hz"}));
    EXPECT_EQ(rules.GetCell(5, Col::kFilter).text, "MG,1,1,FR");
    EXPECT_FALSE(rules.GetCell(5, Col::kFilter).editable);
    Ch(5).m_fvInput = 2;
    Ch(5).m_fvDivider = 16;
    Ch(5).m_fvSmoothing = 4;
    Ch(5).m_fvMode = 7;
    EXPECT_EQ(Rules().GetCell(6, Col::kFilter).text, "AC,16,4,");

    // Digital input: mask and level in hexadecimal.
    EXPECT_EQ(rules.GetCell(11, Col::kRange).text, "00F3");
    EXPECT_EQ(rules.GetCell(11, Col::kRange).kind, TableCellKind::Text);
    EXPECT_TRUE(rules.GetCell(11, Col::kRange).editable);
    EXPECT_EQ(rules.GetCell(11, Col::kTrgV).text, "30D4");

    // Inertial: no trigger, the calibration columns show the factor and the zero value.
    EXPECT_EQ(Row(rules, 12),
              "QA-80IMU  6-1;Ch12;;2G;-;-;;-;-;;-;0.001;-;-0.500;-;-;1.000;-1.000;;;");
    for (int col = Col::kTrg; col <= Col::kMinusCalVal; ++col) {
        if (col != Col::kPhyUnit) {
            EXPECT_FALSE(rules.GetCell(12, col).editable) << col;
        }
    }
    EXPECT_FALSE(rules.GetCell(12, Col::kRange).editable);

    // CAN signals: value type names, read-only.
    EXPECT_EQ(rules.GetCell(13, Col::kRange).text, "UINT32");
    EXPECT_EQ(rules.GetCell(14, Col::kRange).text, "FLOAT32");
    EXPECT_EQ(rules.GetCell(15, Col::kRange).text, "INT16");
    EXPECT_FALSE(rules.GetCell(13, Col::kRange).editable);
    EXPECT_EQ(rules.GetCell(13, Col::kChannels).text, "Ch13");
    EXPECT_EQ(rules.GetCell(14, Col::kChannels).text, "Ch15");
    EXPECT_EQ(rules.GetCell(13, Col::kCalVal1).text, "0.250");
    EXPECT_EQ(rules.GetCell(13, Col::kTrg).text, "-");
    m_units[0].m_channels[12].m_dataType = 9;
    EXPECT_EQ(Rules().GetCell(13, Col::kRange).text, "");

    // A module of type 15 has no trigger; the voltage/strain kinds have lists.
    const CChannelTableRules second = Rules(1);
    EXPECT_EQ(second.GetCell(3, Col::kTrg).text, "-");
    EXPECT_EQ(second.GetCell(3, Col::kTrgV).text, "-");
    EXPECT_EQ(second.GetCell(1, Col::kRange).choices, (std::vector<std::string>{"10V", "2000uST"}));
    EXPECT_EQ(second.GetCell(2, Col::kFilter).choices, (std::vector<std::string>{"OFF"}));
}

TEST_F(ChannelTableRulesTest, HddLevelTriggerChangesHeadersListsAndValues) {
    m_units[0].m_hddLvlTrg = 1;
    Ch(0).m_hddLvlTrg = 2;
    Ch(0).m_hddLvlVal = -1.25;
    const CChannelTableRules rules = Rules();
    EXPECT_EQ(rules.HeaderText(Col::kTrg), "H_TRG");
    EXPECT_EQ(rules.HeaderText(Col::kTrgV), "H_TRG_V");
    EXPECT_EQ(rules.GetCell(1, Col::kTrg).text, "UP");
    EXPECT_EQ(rules.GetCell(1, Col::kTrg).choices,
              (std::vector<std::string>{"OFF", "ABS", "UP", "DOWN"}));
    EXPECT_EQ(rules.GetCell(1, Col::kTrgV).text, "-1.250");
    EXPECT_EQ(rules.GetCell(11, Col::kTrg).text, "-");
    EXPECT_EQ(rules.GetCell(11, Col::kTrgV).text, "-");
    EXPECT_FALSE(rules.GetCell(11, Col::kTrgV).editable);
    Ch(0).m_hddLvlTrg = 5;
    EXPECT_EQ(Rules().GetCell(1, Col::kTrg).text, "");
}

TEST_F(ChannelTableRulesTest, BalanceTurnsRedAtTheWarningPercentage) {
    Ch(0).m_balanceResidual = 25000; // 100 percent, exactly the warning
    Ch(1).m_balanceResidual = -24999;
    Ch(2).m_balanceResidual = CChCnd::kNoResidual;
    const CChannelTableRules rules = Rules();
    const TableCell red = rules.GetCell(1, Col::kBal);
    EXPECT_EQ(red.text, "100.00 *");
    EXPECT_EQ(red.textColour, CChannelTableRules::kWarnColour);
    const TableCell below = rules.GetCell(2, Col::kBal);
    EXPECT_EQ(below.text, "-100.00");
    EXPECT_FALSE(below.textColour.has_value());
    EXPECT_EQ(rules.GetCell(3, Col::kBal).text, "-");
    EXPECT_FALSE(rules.GetCell(3, Col::kBal).textColour.has_value());
    const CChannelTableRules strict(m_units[0], 50, kUnits);
    EXPECT_EQ(strict.GetCell(2, Col::kBal).text, "-100.00 *");
}

TEST_F(ChannelTableRulesTest, CalculationRowsShowTheirFunctionAndLockTheRest) {
    const CChannelTableRules rules = Rules();
    EXPECT_EQ(Row(rules, 16), "QA-80CALC  9-1;Ch18;Diff;50V;DIF=|ChA-ChB|,1,2;-;;-;-;V;-;-;-;-;-;-;"
                              "50.000V;-50.000V;-;;");
    EXPECT_EQ(Row(rules, 17), "QA-80CALC  9-2;Ch19;-;-;,0,0;-;;-;-;-;-;-;-;-;-;-;1.000;-1.000;-;;");
    for (int col = Col::kSignalName; col < Col::kCount; ++col) {
        const bool editable = col == Col::kScaleMax || col == Col::kScaleMin || col == Col::kMemo;
        EXPECT_EQ(rules.GetCell(16, col).editable, editable) << col;
    }
    EXPECT_TRUE(rules.GetCell(16, Col::kChannels).checkable);
    EXPECT_TRUE(rules.GetCell(16, Col::kMon).checkable);
    m_units[0].m_calcChannels[1].m_function = 1;
    EXPECT_EQ(Rules().GetCell(17, Col::kFilter).text, "ABS_V=sqrt(ChA^2+ChB^2)\t  ,0,0");
}

TEST_F(ChannelTableRulesTest, RangeEditsRescaleAndResetCalibrationWhenTheUnitChanges) {
    CChannelTableRules rules = Rules();
    Ch(1).m_phy1 = 3.0;
    EXPECT_TRUE(rules.ApplyText(2, Col::kRange, "5v", m_prompt)); // list spelling is kept
    EXPECT_EQ(Ch(1).m_range, "5V");
    EXPECT_EQ(Ch(1).m_phy1, 3.0);
    EXPECT_EQ(m_units[0].m_sendPending, 1);

    EXPECT_TRUE(rules.ApplyText(1, Col::kRange, "500mV", m_prompt));
    const CChCnd& ch = Ch(0);
    EXPECT_EQ(ch.m_range, "500mV");
    EXPECT_EQ(ch.m_phyUnit, "mV");
    EXPECT_EQ(ch.m_sepChartScale, (CScale{-500.0, 500.0, 200.0, 0}));
    EXPECT_EQ(ch.m_sepChart, ch.m_sepChartScale);
    EXPECT_EQ(RowTexts(rules, 1)[Col::kPhyVal1], "1.000");
    const std::vector<double> calibration{ch.m_phy1, ch.m_amp1, ch.m_phy0,
                                          ch.m_amp0, ch.m_phy2, ch.m_amp2};
    EXPECT_EQ(calibration, (std::vector<double>{1.0, 1.0, 0.0, 0.0, -1.0, 0.0}));

    EXPECT_FALSE(rules.ApplyText(1, Col::kRange, "20V", m_prompt)); // not on the list
    EXPECT_EQ(ch.m_range, "500mV");

    // Digital input mask: hexadecimal, 16 bits at most.
    EXPECT_TRUE(rules.ApplyText(11, Col::kRange, " 1a2B", m_prompt));
    EXPECT_EQ(Ch(10).m_diMask, 0x1A2B);
    EXPECT_FALSE(rules.ApplyText(11, Col::kRange, "12345", m_prompt));
    EXPECT_FALSE(rules.ApplyText(11, Col::kRange, "zz", m_prompt));
    EXPECT_EQ(Ch(10).m_diMask, 0x1A2B);

    // Read-only cells take nothing.
    EXPECT_FALSE(rules.ApplyText(12, Col::kRange, "5G", m_prompt));
    EXPECT_FALSE(rules.ApplyText(5, Col::kFilter, "TTL,1,1,FR", m_prompt));
    EXPECT_FALSE(rules.ApplyText(1, Col::kBal, "0", m_prompt));
    EXPECT_FALSE(rules.ApplyText(12, Col::kCalVal1, "2", m_prompt));
    EXPECT_FALSE(rules.ApplyText(0, Col::kSignalName, "x", m_prompt));
    EXPECT_EQ(Ch(11).m_range, "2G");
}

TEST_F(ChannelTableRulesTest, TriggerEditsStorePercentagesOrHddLevels) {
    CChannelTableRules rules = Rules();
    m_units[0].m_sendPending = 0;
    EXPECT_TRUE(rules.ApplyText(2, Col::kTrg, "on", m_prompt));
    EXPECT_EQ(Ch(1).m_lvlStTrg, 1);
    EXPECT_EQ(m_units[0].m_sendPending, 1);
    EXPECT_TRUE(rules.ApplyText(2, Col::kTrg, "OFF", m_prompt));
    EXPECT_EQ(Ch(1).m_lvlStTrg, 0);

    // Gain 10 (50 physical per 5 amplifier units) on a 10V range: 25 is 2.5 V, 25 percent.
    EXPECT_TRUE(rules.ApplyText(1, Col::kTrgV, "25kN", m_prompt));
    EXPECT_DOUBLE_EQ(Ch(0).m_lvlStTrgVal, 25.0);
    EXPECT_EQ(rules.GetCell(1, Col::kTrgV).text, "25.000(25%)");
    EXPECT_TRUE(rules.ApplyText(1, Col::kTrgV, "500", m_prompt));
    EXPECT_DOUBLE_EQ(Ch(0).m_lvlStTrgVal, 100.0); // the recorder takes at most full scale
    EXPECT_FALSE(rules.ApplyText(1, Col::kTrgV, "high", m_prompt));
    EXPECT_DOUBLE_EQ(Ch(0).m_lvlStTrgVal, 100.0);

    // An offset point moves the level: the value shown after a rebuild is the one typed.
    Ch(1).m_phy0 = 1.0;
    Ch(1).m_amp0 = 0.0;
    Ch(1).m_phy1 = 2.0;
    Ch(1).m_amp1 = 1.0;
    EXPECT_TRUE(rules.ApplyText(2, Col::kTrgV, "5", m_prompt));
    EXPECT_EQ(rules.GetCell(2, Col::kTrgV).text, "5.000(40%)");

    EXPECT_TRUE(rules.ApplyText(11, Col::kTrgV, "2710", m_prompt));
    EXPECT_DOUBLE_EQ(Ch(10).m_lvlStTrgVal, 40.0);
    EXPECT_EQ(rules.GetCell(11, Col::kTrgV).text, "2710");

    m_units[0].m_hddLvlTrg = 1;
    m_units[0].m_sendPending = 0;
    EXPECT_TRUE(rules.ApplyText(1, Col::kTrg, "down", m_prompt));
    EXPECT_EQ(Ch(0).m_hddLvlTrg, 3);
    EXPECT_TRUE(rules.ApplyText(1, Col::kTrgV, "-7.5", m_prompt));
    EXPECT_DOUBLE_EQ(Ch(0).m_hddLvlVal, -7.5);
    EXPECT_EQ(m_units[0].m_sendPending, 0); // the PC-side trigger stays on the PC
    EXPECT_FALSE(rules.ApplyText(1, Col::kTrg, "ON", m_prompt));
}

// A level typed in shows as typed, also after the table is rebuilt from the condition file.
TEST_F(ChannelTableRulesTest, TypedTriggerLevelsShowAsTypedAfterARebuild) {
    struct Case {
        int row;
        std::string typed;
        std::string shown;
    };
    const Case cases[] = {
        {11, "1a", "001A"},       {11, "1", "0001"},       {11, "3", "0003"},
        {11, "7ff", "07FF"},      {11, "61a8", "61A8"},    {11, "FFFF", "61A8"},
        {2, "3.3", "3.300(33%)"}, {2, "0.7", "0.700(7%)"}, {2, "5.8", "5.800(58%)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ASSERT_TRUE(Rules().ApplyText(c.row, Col::kTrgV, c.typed, m_prompt));
        EXPECT_EQ(Rules().GetCell(c.row, Col::kTrgV).text, c.shown);
        TextLines lines;
        m_units[0].FormatLines(lines);
        CRecCnd reread;
        ASSERT_TRUE(reread.ParseLines(lines));
        EXPECT_EQ(CChannelTableRules(reread, 100, kUnits).GetCell(c.row, Col::kTrgV).text, c.shown);
    }
}

// The widths were made for a font whose ten digits take 60 pixels; wider fonts widen them all
// alike, narrower ones keep them.
TEST(ChannelTableWidthsTest, WidthsScaleWithTheDigitsOfTheFont) {
    const int widths[] = {150, 70, 130, 70, 70, 60, 40,  60,  60,  60,
                          80,  80, 80,  80, 80, 80, 100, 100, 100, 100};
    for (int c = 0; c < Col::kCount; ++c) {
        EXPECT_EQ(CChannelTableRules::ScaledWidth(c, 60), widths[c]);
        EXPECT_EQ(CChannelTableRules::ScaledWidth(c, 48), widths[c]);
        EXPECT_EQ(CChannelTableRules::ScaledWidth(c, 90), widths[c] * 3 / 2);
    }
    EXPECT_EQ(CChannelTableRules::ScaledWidth(Col::kTrgV, 76), 76);
    EXPECT_EQ(CChannelTableRules::ScaledWidth(Col::kCount, 76), 0);
}

TEST_F(ChannelTableRulesTest, TextNumberAndScaleEdits) {
    CChannelTableRules rules = Rules();
    EXPECT_TRUE(rules.ApplyText(2, Col::kSignalName, "Torque", m_prompt));
    EXPECT_TRUE(rules.ApplyText(2, Col::kPhyUnit, "Nm", m_prompt)); // typed, not on the list
    EXPECT_TRUE(rules.ApplyText(2, Col::kMemo, "rear axle", m_prompt));
    EXPECT_EQ(Ch(1).m_name, "Torque");
    EXPECT_EQ(Ch(1).m_phyUnit, "Nm");
    EXPECT_EQ(Ch(1).m_memo, "rear axle");
    EXPECT_TRUE(m_prompt.m_messages.empty());

    // Texts the condition file could not read back are refused with a message.
    EXPECT_FALSE(rules.ApplyText(2, Col::kSignalName, "a,b", m_prompt));
    EXPECT_FALSE(rules.ApplyText(2, Col::kMemo, "x NAME=y", m_prompt));
    EXPECT_EQ(Ch(1).m_name, "Torque");
    ASSERT_EQ(m_prompt.m_messages.size(), 2u);
    EXPECT_EQ(m_prompt.m_messages[0].text, "You can not use \",\" charactor");
    EXPECT_EQ(m_prompt.m_messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(m_prompt.m_messages[1].text, "You can not use \"=\" charactor");

    const int calibrationColumns[] = {Col::kPhyVal1, Col::kCalVal1,     Col::kPhyVal2,
                                      Col::kCalVal2, Col::kMinusPhyVal, Col::kMinusCalVal};
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(
            rules.ApplyText(2, calibrationColumns[i], std::to_string(i + 2) + ".5V", m_prompt));
    const CChCnd& ch = Ch(1);
    EXPECT_EQ(
        (std::vector<double>{ch.m_phy1, ch.m_amp1, ch.m_phy0, ch.m_amp0, ch.m_phy2, ch.m_amp2}),
        (std::vector<double>{2.5, 3.5, 4.5, 5.5, 6.5, 7.5}));
    EXPECT_EQ(rules.GetCell(2, Col::kCalVal2).text, "5.500V");
    EXPECT_FALSE(rules.ApplyText(2, Col::kPhyVal1, "none", m_prompt));
    EXPECT_EQ(ch.m_phy1, 2.5);

    EXPECT_FALSE(rules.ApplyText(2, Col::kScaleMax, "-10", m_prompt)); // not above the minimum
    EXPECT_TRUE(rules.ApplyText(2, Col::kScaleMax, "20", m_prompt));
    EXPECT_EQ(ch.m_sepChartScale, (CScale{-10.0, 20.0, 10.0, 0}));
    EXPECT_FALSE(rules.ApplyText(2, Col::kScaleMin, "20", m_prompt));
    EXPECT_TRUE(rules.ApplyText(2, Col::kScaleMin, "0", m_prompt));
    EXPECT_EQ(ch.m_sepChartScale, (CScale{0.0, 20.0, 5.0, 0}));
    EXPECT_EQ(rules.GetCell(2, Col::kScaleMin).text, "0.000Nm");

    // The material cell is shown but not stored; calculation rows take scale and memo.
    EXPECT_FALSE(rules.ApplyText(1, Col::kMaterialId, "A_B", m_prompt));
    EXPECT_EQ(Ch(0).m_mat[0], "STEEL");
    EXPECT_TRUE(rules.ApplyText(16, Col::kScaleMax, "80", m_prompt));
    EXPECT_EQ(m_units[0].m_calcChannels[0].m_sepChartScale.m_max, 80.0);
    EXPECT_TRUE(rules.ApplyText(16, Col::kMemo, "sum", m_prompt));
    EXPECT_FALSE(rules.ApplyText(16, Col::kSignalName, "x", m_prompt));
}

TEST_F(ChannelTableRulesTest, ListEditsSpreadToSelectedRowsWhoseListHoldsTheText) {
    CChannelTableRules rules = Rules();
    const std::vector<int> selected{1, 2, 3, 4, 11, 16};
    EXPECT_TRUE(rules.ApplyText(1, Col::kFilter, "100Hz", m_prompt));
    EXPECT_EQ(rules.ApplyToRows(1, Col::kFilter, "100Hz", selected, m_prompt), std::vector<int>{2});
    EXPECT_EQ(Ch(1).m_filter, "100Hz");
    EXPECT_EQ(Ch(2).m_filter, "");

    EXPECT_EQ(rules.ApplyToRows(1, Col::kFilter, "off", selected, m_prompt),
              (std::vector<int>{2, 3}));
    EXPECT_EQ(Ch(2).m_filter, "OFF");

    EXPECT_EQ(rules.ApplyToRows(3, Col::kRange, "5V", selected, m_prompt),
              (std::vector<int>{1, 2}));
    EXPECT_EQ(Ch(0).m_range, "5V");
    EXPECT_EQ(Ch(10).m_diMask, 0x00F3);

    EXPECT_EQ(rules.ApplyToRows(1, Col::kPhyUnit, "uST", selected, m_prompt),
              (std::vector<int>{2, 3, 4, 11}));
    EXPECT_EQ(m_units[0].m_calcChannels[0].m_phyUnit, "V");
    EXPECT_EQ(rules.ApplyToRows(1, Col::kTrg, "ON", selected, m_prompt),
              (std::vector<int>{2, 3, 4, 11}));
    EXPECT_TRUE(rules.ApplyToRows(1, Col::kSignalName, "X", selected, m_prompt).empty());
}

TEST_F(ChannelTableRulesTest, CheckBoxesSwitchChannelsAndMonitorVisibility) {
    CChannelTableRules rules = Rules();
    m_units[0].m_sendPending = 0;
    EXPECT_TRUE(rules.ApplyCheck(2, Col::kMon, true));
    EXPECT_EQ(Ch(1).m_visible, 1);
    EXPECT_EQ(m_units[0].m_sendPending, 0);
    EXPECT_TRUE(rules.ApplyCheck(2, Col::kChannels, false));
    EXPECT_EQ(Ch(1).m_enabled, 0);
    EXPECT_EQ(m_units[0].m_sendPending, 1);
    EXPECT_TRUE(rules.ApplyCheck(17, Col::kChannels, true));
    EXPECT_EQ(m_units[0].m_calcChannels[1].m_enabled, 1);
    EXPECT_FALSE(rules.ApplyCheck(2, Col::kRange, true));
    EXPECT_FALSE(rules.ApplyCheck(0, Col::kMon, true));
}

TEST(ChannelTableCalcSettingTest, ArgumentsChecksAndStoring) {
    using Setting = CChannelTableCalcSetting;
    EXPECT_FALSE(Setting::ArgumentEnabled(-1, 0));
    EXPECT_TRUE(Setting::ArgumentEnabled(2, 0));
    EXPECT_FALSE(Setting::ArgumentEnabled(2, 1));
    for (int f : {0, 1, 3, 4, 5, 6, 7, 8, 9})
        EXPECT_TRUE(Setting::ArgumentEnabled(f, 1)) << f;
    for (int f = 0; f < 10; ++f) {
        EXPECT_EQ(Setting::ArgumentEnabled(f, 2), f == 4 || f == 7 || f == 8) << f;
        EXPECT_FALSE(Setting::ArgumentEnabled(f, 3));
    }

    CCalcChCnd calc;
    Setting setting = Setting::FromChannel(calc);
    setting.m_name = "Avg";
    setting.m_unit = "V";
    setting.m_function = ConditionTables::kCalcSma;
    setting.m_args = {3, 1, 0, 0};
    setting.m_max = 50.0;
    setting.m_min = 50.0;
    CFakePrompt prompt;
    EXPECT_FALSE(setting.Check(prompt));
    setting.m_args[1] = 1001;
    EXPECT_FALSE(setting.Check(prompt));
    setting.m_args[1] = 10;
    EXPECT_FALSE(setting.Check(prompt));
    ASSERT_EQ(prompt.m_messages.size(), 3u);
    EXPECT_EQ(prompt.m_messages[0].text, "Please enter an integer between 2 and 1000.");
    EXPECT_EQ(prompt.m_messages[2].text, "Error : Max <= Min ");
    EXPECT_EQ(prompt.m_messages[2].icon, PromptIcon::Stop);

    setting.m_min = -50.0;
    EXPECT_TRUE(setting.Check(prompt));
    setting.Store(calc);
    EXPECT_EQ(calc.m_name, "Avg");
    EXPECT_EQ(calc.m_function, 9);
    EXPECT_EQ(calc.m_param, (std::array<std::uint32_t, 4>{3, 10, 0, 0}));
    EXPECT_EQ(calc.m_range, "50V");
    EXPECT_EQ(calc.m_sepChartScale, (CScale{-50.0, 50.0, 20.0, 0}));
    EXPECT_EQ(Setting::FromChannel(calc).m_max, 50.0);
}

TEST(ChannelTableFvSettingTest, PulseCountingPairsWithPulseWidth) {
    std::vector<CRecCnd> units = MakeTableConditions();
    CRecCnd& cnd = units[0];
    std::vector<CChCnd*> fv;
    for (int i = 4; i < 10; ++i)
        fv.push_back(&cnd.m_channels[i]);
    using Setting = CChannelTableFvSetting;

    EXPECT_EQ(Setting::ForChannel(cnd, *fv[0]).m_modeChoices, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Setting::ForChannel(cnd, *fv[2]).m_modeChoices, (std::vector<int>{0, 1}));

    cnd.m_sendPending = 0;
    Setting tail = Setting::ForChannel(cnd, *fv[3]);
    EXPECT_EQ(tail.Store(cnd, *fv[3]), std::vector<CChCnd*>{}); // nothing changed
    EXPECT_EQ(cnd.m_sendPending, 0);
    tail.m_mode = Setting::kModePl;
    tail.m_input = 1;
    tail.m_divider = 300;
    EXPECT_EQ(tail.Store(cnd, *fv[3]), (std::vector<CChCnd*>{fv[3], fv[2]}));
    EXPECT_EQ(fv[3]->m_fvMode, 2);
    EXPECT_EQ(fv[3]->m_fvInput, 1);
    EXPECT_EQ(fv[3]->m_fvDivider, 255);
    EXPECT_EQ(fv[2]->m_fvMode, 1);
    EXPECT_EQ(cnd.m_sendPending, 1);

    const Setting head = Setting::ForChannel(cnd, *fv[2]);
    EXPECT_EQ(head.m_modeChoices, (std::vector<int>{1, 2}));
    EXPECT_EQ(head.m_mode, Setting::kModePw);
}

} // namespace
