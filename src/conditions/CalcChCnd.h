// A calculation channel: a value the PC derives for every sample from up to three channels.
#pragma once

#include "conditions/ChCnd.h"
#include "conditions/MovingAverage.h"

#include <array>
#include <cstdint>

class CCalcChCnd : public CChCnd {
public:
    CCalcChCnd() { ResetOwn(); }
    // A copy starts with unresolved operands and an empty average window.
    CCalcChCnd(const CCalcChCnd& other);
    CCalcChCnd& operator=(const CCalcChCnd& other);

    void Reset() override;
    double GetUnitPerCount() const override;
    double GetAmpOffset() const override;
    CScale GetChartScale() const override;
    std::string FormatLine() const override;
    bool ParseLine(const std::string& text) override;

    // Sets the scale and, from it, the range text ("%2.0f%s" of half the span with the unit)
    // and both chart scales.
    void SetScale(double high, double low);

    // Resolves the operands against the condition's channel list and empties the average window.
    // A window above `largestWindow` is taken as no window: the average is then 0.0.
    void Prepare(const std::array<std::int16_t, 3>& operandIndexes, std::uint32_t largestWindow);
    // The largest moving-average window of a run at `rateHz`: as many samples as the data thread
    // holds rows (30 seconds of them), and never fewer than the dialog's 1000.
    static std::uint32_t LargestAverageWindow(double rateHz);
    // The message that refuses this channel's moving-average window at that rate; empty when the
    // channel has none or it is not too large.
    std::string CheckAverageWindow(double rateHz) const;
    // The value of one sample; `valid` is false when an operand is missing or the function is
    // unknown (the value is then 0.0 and the count 0).
    double Evaluate(const double* values, int count, bool& valid);
    // The signed 16-bit count of a value on this channel's scale, clamped.
    std::int16_t ValueToCount(double value) const;

    std::int32_t m_function = -1;           // none
    std::array<std::uint32_t, 4> m_param{}; // ChA, ChB (SMA: window), ChC (MUL: factor), unused
    double m_scaleHigh = 0.0;
    double m_scaleLow = 0.0;
    std::array<std::int16_t, 3> m_operand{-1, -1, -1}; // positions in one sample's values

private:
    void ResetOwn();

    CMovingAverage m_average;
};
