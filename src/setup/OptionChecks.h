// The value checks of the option sheet's pages and the choices its lists offer. Each check reads
// the text of one field and either gives the value or the message the user sees.
#pragma once

#include "acquisition/RecorderSettings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The message of a refused value; nothing when the value is accepted.
using OptionRefusal = std::optional<std::string>;

namespace OptionLimits {
inline constexpr int kBalWarnMin = 0;
inline constexpr int kBalWarnMax = CRecorderSettings::kBalWarnMax;
inline constexpr int kYGridMin = CRecorderSettings::kYGridMin;
inline constexpr int kYGridMax = CRecorderSettings::kYGridMax;
// The horizontal grid step may be as fine as a hundredth of the chart width.
inline constexpr double kXGridMinDivisor = CRecorderSettings::kXGridMinDivisor;
inline constexpr int kCodeLength = 2;
} // namespace OptionLimits

inline constexpr const char* kTwoFigureCodeMessage = "Please input 2 figures digit number (0~9)!";

// "Decimal Digit :" offers these; the chosen index is the number of decimals.
inline constexpr std::array<std::string_view, 5> kDecimalDigitChoices{"0", "1", "2", "3", "4"};

// "Warning if the balance residual value exceed": a whole number from 0 to 100.
OptionRefusal CheckBalWarnPercent(std::string_view text, std::uint16_t& value);

// "X_GRID :" in seconds, from 0.01 times the chart width up to the chart width.
OptionRefusal CheckXGrid(std::string_view text, int chartWidthSeconds, double& value);

// "Y_GRID_CNT :": a whole number from 8 to 64.
OptionRefusal CheckYGridCnt(std::string_view text, int& value);

// With control-code input on, each of the START, STOP and PAUSE codes must be two digits, since
// the key-code input only ever forms codes of two digits.
OptionRefusal CheckControlCode(bool ctrlInput, std::string_view code);

// Keys the code fields take: the digits, "." and backspace.
bool IsCodeKeyAccepted(char key);

// The chart width row shown for a stored width and grid step. A width of no row shows the first
// row, whose width and grid step then replace the stored ones.
struct ChartWidthChoice {
    int row = 0;
    int seconds = 0;
    double gridSeconds = 0.0;
};
ChartWidthChoice ChooseChartWidth(int xWidthSeconds, double xGridSeconds);
// The width and grid step of a row of the chart width table; row 0 for rows outside it.
ChartWidthChoice ChartWidthOfRow(int row);

// A real number as the sheet shows it: the shortest text that reads back as the same value.
std::string FormatOptionNumber(double value);
