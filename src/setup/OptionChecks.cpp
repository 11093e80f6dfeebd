#include "setup/OptionChecks.h"

#include "acquisition/RecorderSettings.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A leading "+" is allowed as people type it; from_chars takes only "-".
std::string_view WithoutPlus(std::string_view text) {
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    return text;
}

enum class Parsed { Ok, NotANumber, OutOfRange };

Parsed ParseWhole(std::string_view text, long long& value) {
    text = WithoutPlus(Trimmed(text));
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size())
        return Parsed::NotANumber;
    return error == std::errc::result_out_of_range ? Parsed::OutOfRange : Parsed::Ok;
}

bool ParseReal(std::string_view text, double& value) {
    text = WithoutPlus(Trimmed(text));
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() &&
           std::isfinite(value);
}

std::string WholeRangeMessage(int low, int high) {
    return "Please enter an integer between " + std::to_string(low) + " and " +
           std::to_string(high) + ".";
}

OptionRefusal CheckWhole(std::string_view text, int low, int high, long long& value) {
    const Parsed parsed = ParseWhole(text, value);
    if (parsed == Parsed::NotANumber)
        return "Please enter an integer.";
    if (parsed == Parsed::OutOfRange || value < low || value > high)
        return WholeRangeMessage(low, high);
    return std::nullopt;
}

bool IsTwoDigitCode(std::string_view code) {
    return code.size() == static_cast<std::size_t>(OptionLimits::kCodeLength) &&
           code.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

OptionRefusal CheckBalWarnPercent(std::string_view text, std::uint16_t& value) {
    long long number = 0;
    OptionRefusal refusal =
        CheckWhole(text, OptionLimits::kBalWarnMin, OptionLimits::kBalWarnMax, number);
    if (!refusal)
        value = static_cast<std::uint16_t>(number);
    return refusal;
}

OptionRefusal CheckYGridCnt(std::string_view text, int& value) {
    long long number = 0;
    OptionRefusal refusal =
        CheckWhole(text, OptionLimits::kYGridMin, OptionLimits::kYGridMax, number);
    if (!refusal)
        value = static_cast<int>(number);
    return refusal;
}

OptionRefusal CheckXGrid(std::string_view text, int chartWidthSeconds, double& value) {
    double number = 0.0;
    if (!ParseReal(text, number))
        return "Please enter a number.";
    const double high = chartWidthSeconds;
    // Divided rather than multiplied, so that a typed hundredth of the width is the same double.
    const double low = high / OptionLimits::kXGridMinDivisor;
    if (number < low || number > high) {
        return "Please enter a number between " + FormatOptionNumber(low) + " and " +
               FormatOptionNumber(high) + ".";
    }
    value = number;
    return std::nullopt;
}

OptionRefusal CheckControlCode(bool ctrlInput, std::string_view code) {
    if (!ctrlInput || IsTwoDigitCode(code))
        return std::nullopt;
    return std::string(kTwoFigureCodeMessage);
}

bool IsCodeKeyAccepted(char key) {
    return (key >= '0' && key <= '9') || key == '.' || key == '\b';
}

ChartWidthChoice ChartWidthOfRow(int row) {
    if (row < 0 || row >= static_cast<int>(kChartWidths.size()))
        row = 0;
    const ChartWidth& width = kChartWidths[static_cast<std::size_t>(row)];
    return {row, width.seconds, width.gridSeconds};
}

ChartWidthChoice ChooseChartWidth(int xWidthSeconds, double xGridSeconds) {
    for (std::size_t row = 0; row < kChartWidths.size(); ++row) {
        if (kChartWidths[row].seconds == xWidthSeconds)
            return {static_cast<int>(row), xWidthSeconds, xGridSeconds};
    }
    return ChartWidthOfRow(0);
}

std::string FormatOptionNumber(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}
