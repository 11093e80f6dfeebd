// The texts and numbers of the monitor window's status bar and floating panel: chart width pane,
// rate and record file, record progress, and where the control panel reappears.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace MonitorStatus {

// "Chart Width:%s, Grid:%2.1f sec" with the chart width label and the grid step.
std::string ChartWidthText(std::string_view widthLabel, double gridStep);
// "Rate :" + the rate text + ",    HDD Rec File : " + the record file name.
std::string RateText(std::string_view rate, std::string_view recordFile);

// "DataCnt=%u, TickCnt%lu": the rows received since ARM and the milliseconds the run has taken.
std::string CountsText(std::uint64_t rows, std::uint64_t ticks);

// Percent of the record written when it has a sample limit; without one a value that runs
// 1..100 once every 100 seconds; -1 when the rate is not positive.
int RecordProgress(std::uint64_t samplesWritten, std::uint64_t sampleLimit, double rowRate);

struct PanelPosition {
    int x = 0;
    int y = 0;
    bool visible = true;
};

// The saved position of the control panel, or the default (180 pixels in from the right edge,
// 240 down) when it lies off a screen of that size.
PanelPosition ControlPanelPosition(int savedX, int savedY, bool visible, int screenWidth,
                                   int screenHeight);
inline constexpr int kPanelRightInset = 180;
inline constexpr int kPanelTop = 240;

} // namespace MonitorStatus
