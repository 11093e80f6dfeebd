// Band auto-scaling of the common chart: the vertical divisions are shared out among the
// visible channels, each gets its own band and, when asked, a scale that fits its range.
#pragma once

#include "monitor/CpsEntry.h"

#include <cstdint>
#include <vector>

struct BandChannel {
    bool visible = true;
    std::int16_t y = 0;
    double unitsPerDivision = 1.0;
    double center = 0.0;
    CpsEntry range; // running range of the channel in the display ring
};

// Scale mode 2 scales exactly; any other rounds the units to their 1-2-5 step and snaps the
// centre to a multiple of them. False, with nothing changed, when no channel is visible.
bool ApplyBandAutoScale(std::vector<BandChannel>& channels, int firstDivision, int divisions,
                        bool autoScale, int scaleMode);

// A first placement for channels nobody placed yet: every visible channel gets its own band of
// at least one division (more channels than divisions share them in turn) and a scale that fits
// its range (the chart scale of its condition) into the band.
void PlaceByRange(std::vector<BandChannel>& channels, int firstDivision, int divisions);
