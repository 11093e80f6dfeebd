// Signals and balance residuals of simulated channels.
#include "device/sim/SimSignal.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

namespace {
std::int64_t PositiveModulo(std::int64_t value, std::int64_t divisor) {
    const std::int64_t rest = value % divisor;
    return rest < 0 ? rest + divisor : rest;
}
} // namespace

std::int32_t CSimSignal::Counts(int seed, int slot, int channel, std::int64_t k) {
    switch ((slot + channel) % 3) {
    case 0: {
        const int period = SinePeriod(channel);
        const double phase = static_cast<double>(PositiveModulo(k + seed, period)) / period;
        return static_cast<std::int32_t>(
            std::lround(20000.0 * std::sin(2.0 * std::numbers::pi * phase)));
    }
    case 1:
        return static_cast<std::int32_t>(PositiveModulo(k + 97LL * seed + 1000LL * channel, 50000) -
                                         25000);
    default: {
        const std::int64_t halfPeriod = 50 + 10 * channel;
        const std::int32_t level = 5000 + 1000 * slot;
        return PositiveModulo((k + seed) / halfPeriod, 2) == 0 ? level : -level;
    }
    }
}

int CSimSignal::Words(int seed, int slot, int channel, int dataType, std::int64_t k,
                      std::uint16_t words[2]) {
    return CountWords(Counts(seed, slot, channel, k), dataType, words);
}

int CSimSignal::CountWords(std::int32_t counts, int dataType, std::uint16_t words[2]) {
    if (WordsPerSample(dataType) == 1) {
        words[0] = static_cast<std::uint16_t>(counts);
        return 1;
    }
    const std::uint32_t bits =
        dataType == 4 ? std::bit_cast<std::uint32_t>(static_cast<float>(counts) / 100.0f)
                      : static_cast<std::uint32_t>(counts * 100);
    words[0] = static_cast<std::uint16_t>(bits & 0xFFFFu);
    words[1] = static_cast<std::uint16_t>(bits >> 16);
    return 2;
}

std::int32_t CSimSignal::Residual(int seed, int slot, int channel, bool balanced) {
    if (balanced) {
        return (seed + 3 * slot + 7 * channel) % 41 - 20;
    }
    return (13 * seed + 100 * slot + 37 * channel) % 2999 - 1499;
}

double CSimSignal::NoiseUnit(int seed, int slot, int channel, std::int64_t k) {
    // splitmix64 of the four numbers: cheap, and even enough for a mean over a few samples.
    std::uint64_t x = static_cast<std::uint64_t>(k) ^
                      (static_cast<std::uint64_t>(static_cast<std::uint32_t>(seed)) << 32) ^
                      (static_cast<std::uint64_t>(slot) << 24) ^
                      (static_cast<std::uint64_t>(channel) << 40);
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    return static_cast<double>(x >> 11) * 0x1.0p-52 - 1.0;
}

std::int32_t CSimSignal::InputCounts(const CSimInput& input, double rangeValue, int seed, int slot,
                                     int channel, std::int64_t k) {
    double value = input.value;
    if (input.noise != 0.0)
        value += input.noise * NoiseUnit(seed, slot, channel, k);
    const double counts = rangeValue > 0.0 ? value * kFullScaleCounts / rangeValue : value;
    return static_cast<std::int32_t>(std::lround(std::clamp(counts, -32768.0, 32767.0)));
}
