#include "monitor/DisplaySizing.h"

#include "monitor/CpsRingBuf.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr int kMinScreenWidth = 10;
constexpr int kBufferSeconds = 10;
constexpr double kLongIntervalRate = 0.1;

int ClampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, 0, std::numeric_limits<int>::max()));
}

} // namespace

DisplaySizing SizeDisplay(double rate, int chartSeconds, int screenWidth, int subSamp) {
    // A rate that is no number or beyond 32 bits is taken as 1 Hz rather than failing later.
    const double usableRate = rate > 0.0 && rate < 2147483647.0 ? rate : 1.0;
    const auto rateInt = static_cast<std::int64_t>(std::max(usableRate, 1.0));
    // 64 bits: five hours at 200 kHz already overflow 32 bits before the division.
    const auto totalSamples = static_cast<std::int64_t>(
        std::ceil(static_cast<double>(std::max(chartSeconds, 1)) * static_cast<double>(rateInt)));
    const std::int64_t screen = std::max(screenWidth, kMinScreenWidth);
    const std::int64_t factor = std::max<std::int64_t>(totalSamples / screen, 1);

    int stretch = 1;
    if (usableRate == kLongIntervalRate && subSamp == 1)
        stretch = 3;
    else if (usableRate == kLongIntervalRate && subSamp == 2)
        stretch = 6;

    DisplaySizing sizing;
    sizing.factor = ClampToInt(factor);
    sizing.bufferCapacity =
        ClampToInt(kBufferSeconds * std::max<std::int64_t>(1, rateInt / factor));
    sizing.ringCapacity = ClampToInt((2 * totalSamples) / factor);
    sizing.pointTime = static_cast<double>(factor) * stretch / usableRate;
    return sizing;
}

double NextRingFirstTime(const CCpsRingBuf* previous, bool resumed) {
    if (!resumed || previous == nullptr || previous->NewestRel() < 0)
        return 0.0;
    return previous->TimeOf(previous->NewestRel());
}
