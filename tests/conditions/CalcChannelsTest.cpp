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

// Catches a wrong formula, operands taken from the wrong channel, or a division by zero hidden.
TEST(CalcChannelsTest, FunctionsOnEnabledChannels) {
    // Operands are 1-based positions in the whole channel list: 1 and 3 are enabled.
    const struct {
        int function;
        std::array<std::uint32_t, 4> params;
        double a, b, expected;
    } cases[] = {
        {0, {1, 3, 0, 0}, 3, 1, 50.0},
        {1, {1, 3, 0, 0}, 3, 4, 5.0},
        {2, {1, 3, 0, 0}, 5, 0, -5.0},
        {5, {1, 3, 0, 0}, 1, 3, 2.0},
        {6, {1, 3, 0, 0}, -1, -3, 4.0},
        {7, {1, 3, 2, 0}, 3, 4, 24.0},
        {3, {1, 3, 0, 0}, 3.785, 1714.0 / 145.0377, 1.0},
        {4, {1, 3, 1, 0}, 1, 2, std::sqrt(1 + 4 + 1)},
        {8, {3, 1, 3, 0}, 2, 5, (5 - 2) * 5},
    };
    for (const auto& c : cases) {
        CRecCnd cnd = ConditionWithCalc(c.function, c.params);
        EXPECT_NEAR(Evaluate(cnd, c.a, c.b).value, c.expected, 1e-9) << "function " << c.function;
    }
    CRecCnd dtq = ConditionWithCalc(0, {1, 3, 0, 0});
    EXPECT_TRUE(std::isnan(Evaluate(dtq, 0, 0).value)); // no guard on the division
    EXPECT_EQ(Evaluate(dtq, 0, 0).count, -32768);
}

// Catches a disabled, absent or zero operand read as a channel, and an unknown function computed.
TEST(CalcChannelsTest, MissingOperandsGiveZero) {
    CRecCnd disabled = ConditionWithCalc(5, {2, 1, 0, 0}); // channel 2 is disabled
    EXPECT_EQ(disabled.m_calcChannels[0].m_operand[0], -1);
    const Result r = Evaluate(disabled, 7, 8);
    EXPECT_EQ(r.value, 0.0);
    EXPECT_EQ(r.count, 0);
    for (std::uint32_t operand : {4u, 0u})
        EXPECT_EQ(ConditionWithCalc(2, {operand, 0, 0, 0}).m_calcChannels[0].m_operand[0], -1);
    CRecCnd unknown = ConditionWithCalc(10, {1, 3, 0, 0});
    EXPECT_EQ(Evaluate(unknown, 1, 1).value, 0.0);
}

// Catches an average that keeps the last run's samples, and a window beyond the run's memory
// (30 seconds of rows, always 1000) taken at ARM or averaging anything when prepared all the same.
TEST(CalcChannelsTest, MovingAverageAndItsWindowBound) {
    CRecCnd sma = ConditionWithCalc(9, {1, 3, 0, 0});
    const double inputs[] = {3, 6, 9, 12};
    const double expected[] = {3, 4.5, 6, 9};
    for (int i = 0; i < 4; ++i)
        EXPECT_DOUBLE_EQ(Evaluate(sma, inputs[i], 0).value, expected[i]);
    sma.PrepareCalcChannels(); // a new acquisition starts empty
    EXPECT_DOUBLE_EQ(Evaluate(sma, 10, 0).value, 10.0);
    CRecCnd none = ConditionWithCalc(9, {1, 0, 0, 0});
    EXPECT_EQ(Evaluate(none, 5, 0).value, 0.0);

    for (const auto& [hz, window] :
         {std::pair{0.1, 1000u}, {20.0, 1000u}, {1000.0, 30000u}, {100000.0, 3000000u}})
        EXPECT_EQ(CCalcChCnd::LargestAverageWindow(hz), window) << hz;
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

// Catches counts off the channel's scale, wrapped instead of clipped, or rounded away from zero.
TEST(CalcChannelsTest, CountsOnTheChannelScale) {
    CRecCnd cnd = ConditionWithCalc(2, {1, 0, 0, 0});
    for (const auto& [value, count] : {std::pair{-100.0, 25000},
                                       {100.0, -25000},
                                       {-200.0, 32767},
                                       {1e9, -32768},
                                       {-0.006, 1}}) // truncated toward zero
        EXPECT_EQ(Evaluate(cnd, value, 0).count, count) << value;
    CRecCnd flat = ConditionWithCalc(2, {1, 0, 0, 0}, 5.0, 5.0);
    EXPECT_EQ(Evaluate(flat, 1, 0).count, -32768);
}

// Catches results written over the hardware values, out of order, or beyond the room given.
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

// Catches a scale whose range text, count step, offset or chart scales do not follow it.
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
