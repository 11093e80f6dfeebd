#include "conditions/RecCnd.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Three hardware channels on slot 1; the second is disabled.
CRecCnd ConditionWithCalc(int function, std::array<std::uint32_t, 4> params, double high = 100.0,
                          double low = -100.0) {
    CRecCnd cnd;
    for (int c = 0; c < 3; ++c) {
        CChCnd ch;
        ch.m_slot = 1;
        ch.m_channel = static_cast<std::int16_t>(c);
        ch.m_enabled = c != 1;
        cnd.m_channels.push_back(ch);
    }
    cnd.m_calc = 1;
    CCalcChCnd& calc = cnd.m_calcChannels[0];
    calc.m_enabled = 1;
    calc.m_function = function;
    calc.m_param = params;
    calc.SetScale(high, low);
    cnd.PrepareCalcChannels();
    return cnd;
}

struct Result {
    double value;
    std::int16_t count;
};

Result Evaluate(CRecCnd& cnd, double a, double b) {
    double values[8] = {a, b};
    std::int16_t counts[4] = {};
    cnd.EvaluateCalcChannels(values, 2, 8, counts);
    return {values[2], counts[0]};
}

} // namespace

TEST(CalcChannelsTest, FunctionsOnEnabledChannels) {
    // Operands are 1-based positions in the whole channel list: 1 and 3 are enabled.
    struct Case {
        int function;
        std::uint32_t p3;
        double a, b, expected;
    } cases[] = {
        {0, 0, 3, 1, 50.0},
        {1, 0, 3, 4, 5.0},
        {2, 0, 5, 0, -5.0},
        {5, 0, 1, 3, 2.0},
        {6, 0, -1, -3, 4.0},
        {7, 2, 3, 4, 24.0},
        {3, 0, 3.785, 1714.0 / 145.0377, 1.0},
    };
    for (const Case& c : cases) {
        CRecCnd cnd = ConditionWithCalc(c.function, {1, 3, c.p3, 0});
        EXPECT_NEAR(Evaluate(cnd, c.a, c.b).value, c.expected, 1e-9) << "function " << c.function;
    }

    CRecCnd rms = ConditionWithCalc(4, {1, 3, 1, 0});
    double values[8] = {1, 2};
    std::int16_t counts[4];
    rms.EvaluateCalcChannels(values, 2, 8, counts);
    EXPECT_DOUBLE_EQ(values[2], std::sqrt(1 + 4 + 1));
    CRecCnd tld = ConditionWithCalc(8, {3, 1, 3, 0});
    EXPECT_DOUBLE_EQ(Evaluate(tld, 2, 5).value, (5 - 2) * 5);

    CRecCnd dtq = ConditionWithCalc(0, {1, 3, 0, 0});
    EXPECT_TRUE(std::isnan(Evaluate(dtq, 0, 0).value)); // no guard on the division
    EXPECT_EQ(Evaluate(dtq, 0, 0).count, -32768);
}

TEST(CalcChannelsTest, MissingOperandsGiveZero) {
    CRecCnd disabled = ConditionWithCalc(5, {2, 1, 0, 0}); // channel 2 is disabled
    EXPECT_EQ(disabled.m_calcChannels[0].m_operand[0], -1);
    const Result r = Evaluate(disabled, 7, 8);
    EXPECT_EQ(r.value, 0.0);
    EXPECT_EQ(r.count, 0);

    CRecCnd outOfList = ConditionWithCalc(2, {4, 0, 0, 0});
    EXPECT_EQ(outOfList.m_calcChannels[0].m_operand[0], -1);
    CRecCnd zero = ConditionWithCalc(2, {0, 0, 0, 0});
    EXPECT_EQ(zero.m_calcChannels[0].m_operand[0], -1);
    CRecCnd unknown = ConditionWithCalc(10, {1, 3, 0, 0});
    EXPECT_EQ(Evaluate(unknown, 1, 1).value, 0.0);
}

TEST(CalcChannelsTest, MovingAverage) {
    CRecCnd sma = ConditionWithCalc(9, {1, 3, 0, 0});
    const double inputs[] = {3, 6, 9, 12};
    const double expected[] = {3, 4.5, 6, 9};
    for (int i = 0; i < 4; ++i)
        EXPECT_DOUBLE_EQ(Evaluate(sma, inputs[i], 0).value, expected[i]);

    sma.PrepareCalcChannels(); // a new acquisition starts empty
    EXPECT_DOUBLE_EQ(Evaluate(sma, 10, 0).value, 10.0);

    CRecCnd none = ConditionWithCalc(9, {1, 0, 0, 0});
    EXPECT_EQ(Evaluate(none, 5, 0).value, 0.0);
}

// A window is held in memory: a run takes at most 30 seconds of rows, and always the dialog's
// 1000. A larger one is refused at ARM, and, prepared all the same, averages nothing.
TEST(CalcChannelsTest, MovingAverageWindowsBeyondTheRunsMemory) {
    EXPECT_EQ(CCalcChCnd::LargestAverageWindow(0.1), 1000u);
    EXPECT_EQ(CCalcChCnd::LargestAverageWindow(20.0), 1000u);
    EXPECT_EQ(CCalcChCnd::LargestAverageWindow(1000.0), 30000u);
    EXPECT_EQ(CCalcChCnd::LargestAverageWindow(100000.0), 3000000u);

    CRecCnd largest = ConditionWithCalc(9, {1, 1000, 0, 0});
    EXPECT_EQ(largest.CheckAverageWindows(), "");
    EXPECT_EQ(Evaluate(largest, 5, 0).value, 5.0);

    CRecCnd huge = ConditionWithCalc(9, {1, 2000000000, 0, 0});
    huge.m_calcChannels[0].m_name = "Avg";
    EXPECT_EQ(huge.CheckAverageWindows(),
              "Calculation channel Avg : the moving-average window 2000000000 is larger than 1000 "
              "samples!");
    EXPECT_EQ(Evaluate(huge, 5, 0).value, 0.0);
    huge.m_calcChannels[0].m_enabled = 0;
    EXPECT_EQ(huge.CheckAverageWindows(), "");
    huge.m_calcChannels[0].m_enabled = 1;
    huge.m_calc = 0;
    EXPECT_EQ(huge.CheckAverageWindows(), "");
}

TEST(CalcChannelsTest, CountsOnTheChannelScale) {
    CRecCnd cnd = ConditionWithCalc(2, {1, 0, 0, 0});
    EXPECT_EQ(Evaluate(cnd, -100, 0).count, 25000);
    EXPECT_EQ(Evaluate(cnd, 100, 0).count, -25000);
    EXPECT_EQ(Evaluate(cnd, -200, 0).count, 32767);
    EXPECT_EQ(Evaluate(cnd, 1e9, 0).count, -32768);
    EXPECT_EQ(Evaluate(cnd, -0.006, 0).count, 1); // truncated toward zero

    CRecCnd flat = ConditionWithCalc(2, {1, 0, 0, 0}, 5.0, 5.0);
    EXPECT_EQ(Evaluate(flat, 1, 0).count, -32768);
}

TEST(CalcChannelsTest, ResultsFollowTheHardwareValuesInOrder) {
    CRecCnd cnd = ConditionWithCalc(2, {1, 0, 0, 0});
    cnd.m_calcChannels[2].m_enabled = 1;
    cnd.m_calcChannels[2].m_function = 5;
    cnd.m_calcChannels[2].m_param = {1, 3, 0, 0};
    cnd.m_calcChannels[2].SetScale(10, -10);
    cnd.PrepareCalcChannels();
    double values[4] = {2, 7, -1, -1};
    std::int16_t counts[2] = {};
    cnd.EvaluateCalcChannels(values, 2, 4, counts);
    EXPECT_EQ(values[2], -2.0);
    EXPECT_EQ(values[3], 5.0);
    EXPECT_EQ(counts[0], -500);
    EXPECT_EQ(counts[1], 12500);

    // Calculation off, or no room: nothing is touched.
    double untouched[3] = {2, 7, 42};
    cnd.EvaluateCalcChannels(untouched, 2, 2, counts);
    EXPECT_EQ(untouched[2], 42.0);
    cnd.m_calc = 0;
    cnd.EvaluateCalcChannels(untouched, 2, 3, counts);
    EXPECT_EQ(untouched[2], 42.0);
}

TEST(CalcChannelsTest, ScaleSetsRangeAndChartScales) {
    CCalcChCnd calc;
    calc.m_phyUnit = "V";
    calc.SetScale(100, -100);
    EXPECT_EQ(calc.m_range, "100V");
    EXPECT_DOUBLE_EQ(calc.GetUnitPerCount(), 200 * 2e-05);
    EXPECT_DOUBLE_EQ(calc.GetAmpOffset(), 0.0);
    EXPECT_EQ(calc.m_sepChart, (CScale{-100, 100, 50, 0}));
    EXPECT_EQ(calc.m_sepChartScale, (CScale{-100, 100, 50, 0}));
    calc.SetScale(30, 10);
    EXPECT_EQ(calc.m_range, "10V");
    EXPECT_DOUBLE_EQ(calc.GetAmpOffset(), -20.0); // minus the middle of the scale
    const CScale chart = calc.GetChartScale();
    EXPECT_EQ(chart.m_min, 10.0);
    EXPECT_EQ(chart.m_max, 30.0);
    EXPECT_EQ(chart.m_div, 5.0);
}
