// Where the ticks of a trace view's axes go and what they say: time in elapsed seconds or wall
// clock, values in 1-2-5 steps.
#pragma once

#include <string>
#include <vector>

struct AxisTick {
    double value;
    std::string label;
};

class CAxisTicks {
public:
    // Ticks over [first, last] drawn on `pixels`, at least `spacing` pixels apart. Wall-clock
    // times are seconds since 1970-01-01 00:00 of the record's local time.
    static std::vector<AxisTick> Time(double first, double last, double pixels, double spacing,
                                      bool wallClock);
    static std::vector<AxisTick> Values(double low, double high, double pixels, double spacing);
    // The smallest tick step of time that keeps the ticks `spacing` apart.
    static double TimeStep(double span, double pixels, double spacing, bool wallClock);
    // Digits after the point that a step of this size needs.
    static int Decimals(double step);
};
