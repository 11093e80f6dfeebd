#include "monitor/MonitorStatus.h"

#include "conditions/TextNumbers.h"

#include <algorithm>

namespace MonitorStatus {

std::string ChartWidthText(std::string_view widthLabel, double gridStep) {
    return FormatText("Chart Width:%s, Grid:%2.1f sec", std::string(widthLabel).c_str(), gridStep);
}

std::string RateText(std::string_view rate, std::string_view recordFile) {
    return "Rate :" + std::string(rate) + ",    HDD Rec File : " + std::string(recordFile);
}

std::string CountsText(std::uint64_t rows, std::uint64_t ticks) {
    // The whole count, even past what 32 bits hold: a long run at a high rate gets there.
    return FormatText("DataCnt=%llu, TickCnt%llu", static_cast<unsigned long long>(rows),
                      static_cast<unsigned long long>(ticks));
}

int RecordProgress(std::uint64_t samplesWritten, std::uint64_t sampleLimit, double rowRate) {
    if (!(rowRate > 0.0))
        return -1;
    if (sampleLimit > 0)
        return static_cast<int>(std::min<std::uint64_t>(samplesWritten * 100 / sampleLimit, 100));
    const auto seconds = static_cast<std::uint64_t>(static_cast<double>(samplesWritten) / rowRate);
    return static_cast<int>(seconds % 100) + 1;
}

PanelPosition ControlPanelPosition(int savedX, int savedY, bool visible, int screenWidth,
                                   int screenHeight) {
    if (savedX < 0 || savedX >= screenWidth || savedY < 0 || savedY >= screenHeight)
        return {screenWidth - kPanelRightInset, kPanelTop, visible};
    return {savedX, savedY, visible};
}

} // namespace MonitorStatus
