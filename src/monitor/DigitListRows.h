// What a digit list row shows: the current value and the extremes of its max/min record with
// their limit colours, the order of the rows, and the placement edits of the common list.
#pragma once

#include "monitor/DataFormat.h"
#include "monitor/MonitorChannels.h"
#include "records/MaxMinTable.h"

#include <optional>
#include <string>
#include <vector>

struct ChannelLimitPair;

enum class LimitColour { Default, Red, Green };

struct DigitRowValues {
    std::string value;
    std::string minimum;
    std::string maximum;
    LimitColour colour = LimitColour::Default; // of MIN and MAX
};

namespace DigitListRows {

// `withRaw` (the separate-chart list) follows each value with its unconverted reading in
// brackets; no data yet shows "-" for the extremes.
DigitRowValues Values(const MaxMinEntry& entry, const CDataFormat& format, bool withRaw,
                      const ChannelLimitPair& limits);
// The upper limit reached gives red, kept below gives green; then the lower limit decides in the
// same way when it is set.
LimitColour ColourOf(double minimum, double maximum, const ChannelLimitPair& limits);

// Row order by channel number; `checkedFirst` puts the rows whose channel is shown in the chart
// before the others. Gives positions in `channels`.
std::vector<int> SortOrder(const std::vector<MonitorChannel>& channels, bool checkedFirst);

// Edits of the placement columns: the new value, or nullopt when the text is out of range or
// leaves the value as it was.
std::optional<int> EditGridNo(const std::string& text, int current);
std::optional<double> EditDivision(const std::string& text, double current);
std::optional<double> EditZeroPoint(const std::string& text, double current);

inline constexpr int kMaxGridNo = 63;

} // namespace DigitListRows
