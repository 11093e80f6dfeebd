#include "records/AxisTicks.h"

#include "conditions/TextNumbers.h"
#include "records/RecordTimeline.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kDay = 86400.0;
// Steps of the wall clock from one second up to a day: whole minutes and hours read best.
constexpr std::array<double, 17> kClockSteps = {1,   2,   5,    10,   15,   30,    60,    120,  300,
                                                600, 900, 1800, 3600, 7200, 10800, 21600, 43200};
// No axis gets more ticks than this, whatever it is asked.
constexpr double kMaxTicks = 1000.0;

std::vector<double> Multiples(double first, double last, double step) {
    std::vector<double> values;
    if (!(step > 0.0) || !(last >= first) || (last - first) / step > kMaxTicks)
        return values;
    // A tick a rounding error beyond `last` is still on the axis.
    const double end = last + step * 1e-9;
    for (double k = std::ceil(first / step - 1e-9); k * step <= end; ++k)
        values.push_back(k * step == 0.0 ? 0.0 : k * step);
    return values;
}

} // namespace

int CAxisTicks::Decimals(double step) {
    return step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

double CAxisTicks::TimeStep(double span, double pixels, double spacing, bool wallClock) {
    const double least = span * spacing / std::max(pixels, 1.0);
    if (!wallClock || least < 1.0)
        return Step125(least);
    for (const double step : kClockSteps) {
        if (step >= least)
            return step;
    }
    return Step125(least / kDay) * kDay;
}

std::vector<AxisTick> CAxisTicks::Time(double first, double last, double pixels, double spacing,
                                       bool wallClock) {
    const double step = TimeStep(last - first, pixels, spacing, wallClock);
    const int decimals = Decimals(step);
    std::vector<AxisTick> ticks;
    for (const double value : Multiples(first, last, step)) {
        std::string label;
        if (!wallClock)
            label = FormatText("%.*f", decimals, value);
        else if (step >= kDay)
            label = CRecordTimeline::FormatDateTime(value, 0).substr(0, 10);
        else
            label = CRecordTimeline::FormatTimeOfDay(value, decimals);
        ticks.push_back({value, label});
    }
    return ticks;
}

std::vector<AxisTick> CAxisTicks::Values(double low, double high, double pixels, double spacing) {
    const double step = Step125((high - low) * spacing / std::max(pixels, 1.0));
    const int decimals = Decimals(step);
    std::vector<AxisTick> ticks;
    for (const double value : Multiples(low, high, step))
        ticks.push_back({value, FormatText("%.*f", decimals, value)});
    return ticks;
}
