// The signals of simulated channels, the known inputs a test or the user applies instead, and
// the balance residuals of simulated recorders: pure functions of (seed, slot, channel, sample
// index), so any test can recompute every sample.
#pragma once

#include <cstdint>

// A known input applied to a simulated channel in place of its signal: a constant in the
// amplifier unit of the channel's range (10 on a "10V" range is full scale), plus noise spread
// evenly within +-noise of it.
struct CSimInput {
    double value = 0.0;
    double noise = 0.0; // 0: a clean constant
    bool operator==(const CSimInput&) const = default;
};

class CSimSignal {
public:
    static constexpr double kFullScaleCounts = 25000.0;

    // The count of channel `channel` (0-based) of slot `slot` (1..8) at sample index k (the
    // first frame after the start of sampling has index 0) of a recorder whose signal seed is
    // `seed`. The shape depends on (slot + channel) % 3:
    //   0: sine, amplitude 20000 counts, period 100 + 20 * channel samples, phase seed samples:
    //      lround(20000 * sin(2 * pi * ((k + seed) mod period) / period));
    //   1: sawtooth from -25000 to 24999: ((k + 97 * seed + 1000 * channel) mod 50000) - 25000;
    //   2: square wave of +-(5000 + 1000 * slot) counts, half period 50 + 10 * channel samples:
    //      positive while ((k + seed) / halfPeriod) is even.
    static std::int32_t Counts(int seed, int slot, int channel, std::int64_t k);

    // The 16-bit words (low word first) that carry that sample for a channel of `dataType`:
    // data types 2 and 3 carry Counts * 100 as a 32-bit integer, data type 4 carries
    // Counts / 100 as a 32-bit float, every other type carries Counts as one 16-bit word.
    // Returns the number of words written to `words` (1 or 2).
    static int Words(int seed, int slot, int channel, int dataType, std::int64_t k,
                     std::uint16_t words[2]);
    // The same words for a given count.
    static int CountWords(std::int32_t counts, int dataType, std::uint16_t words[2]);

    // The count of a channel fed `input` at sample k: lround((value + noise * u) * 25000 /
    // rangeValue), u = NoiseUnit(seed, slot, channel, k), kept within the 16-bit A/D range
    // -32768..32767. A range without a value (rangeValue 0) takes the input as counts.
    static std::int32_t InputCounts(const CSimInput& input, double rangeValue, int seed, int slot,
                                    int channel, std::int64_t k);
    // A value spread evenly over -1..1, the same for the same arguments.
    static double NoiseUnit(int seed, int slot, int channel, std::int64_t k);

    // 16-bit words per sample of a channel of `dataType`.
    static int WordsPerSample(int dataType) { return dataType >= 2 && dataType <= 4 ? 2 : 1; }

    // The balance residual (counts) of a channel: before its first balance an offset of up to
    // +-1499 counts, afterwards within +-20 counts.
    static std::int32_t Residual(int seed, int slot, int channel, bool balanced);

    static int SinePeriod(int channel) { return 100 + 20 * channel; }
};
