#include "monitor/BandScale.h"

#include "conditions/TextNumbers.h"
#include "monitor/WaveLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kExactScale = 2;

void FitRange(BandChannel& channel, int height, int scaleMode) {
    const CpsEntry range = channel.range;
    // A range that has seen nothing keeps the channel's scale.
    if (!(range.maximum >= range.minimum) || !std::isfinite(range.maximum - range.minimum))
        return;
    double units = (range.maximum - range.minimum) / height;
    if (scaleMode != kExactScale && units > 0.0)
        units = Step125(units);
    if (!(units > 0.0))
        units = 1.0;
    double center = (range.minimum + range.maximum) / 2.0;
    if (scaleMode != kExactScale)
        center = std::trunc(center / units + 1e-10) * units;
    channel.unitsPerDivision = units;
    channel.center = center;
}

} // namespace

bool ApplyBandAutoScale(std::vector<BandChannel>& channels, int firstDivision, int divisions,
                        bool autoScale, int scaleMode) {
    const int visible = static_cast<int>(
        std::count_if(channels.begin(), channels.end(), [](const auto& c) { return c.visible; }));
    if (visible == 0)
        return false;
    const int height = BandDivisions(visible, divisions, autoScale);
    int i = 0;
    for (BandChannel& channel : channels) {
        if (!channel.visible)
            continue;
        if (autoScale)
            FitRange(channel, height, scaleMode);
        // A band that would reach past the last division leaves the channel where it was.
        if ((i + 1) * height <= divisions)
            channel.y = static_cast<std::int16_t>(firstDivision + height / 2 + i * height);
        ++i;
    }
    return true;
}

void PlaceByRange(std::vector<BandChannel>& channels, int firstDivision, int divisions) {
    const int visible = static_cast<int>(
        std::count_if(channels.begin(), channels.end(), [](const auto& c) { return c.visible; }));
    if (visible == 0)
        return;
    const int height = BandDivisions(visible, divisions, false);
    const int bands = std::max(divisions / height, 1);
    int i = 0;
    for (BandChannel& channel : channels) {
        if (!channel.visible)
            continue;
        FitRange(channel, height, 1);
        channel.y = static_cast<std::int16_t>(firstDivision + height / 2 + (i % bands) * height);
        ++i;
    }
}
