// The update hints a document sends to its views.
#pragma once

namespace UpdateHint {
inline constexpr int kConditionChanged = 1;
inline constexpr int kNewDisplayData = 2;
inline constexpr int kRepaint = 3;
inline constexpr int kChartWidthChanged = 4;
inline constexpr int kGridStepChanged = 5;
inline constexpr int kRepaintPanels = 6; // the separate charts repaint
inline constexpr int kBalanceValuesRead = 7;
inline constexpr int kChannelsRebuilt = 8; // a chart rebuilt its channel list
inline constexpr int kChannelMoved = 9;    // the common chart moved a channel to another division
inline constexpr int kArm = 10;
inline constexpr int kVerticalGridCountChanged = 11;
inline constexpr int kNextRecordNameChanged = 12;
inline constexpr int kTestInfoChanged = 13;
inline constexpr int kRecordFinished = 14;
inline constexpr int kDecimalDigitsChanged = 16;
inline constexpr int kMaxMinChanged = 17;
} // namespace UpdateHint
