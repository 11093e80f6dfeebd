#include "monitor/DigitListRows.h"

#include "conditions/ChCnd.h"
#include "conditions/TextNumbers.h"
#include "monitor/ChannelLimits.h"

#include <algorithm>
#include <cmath>

namespace DigitListRows {

namespace {

const CDataFormat kRawFormat{CDataFormat::FRACTIONAL, 0};

std::string WithRaw(const CDataFormat& format, double value, double raw, bool withRaw) {
    std::string text = format.Format(value);
    if (withRaw)
        text += "(" + kRawFormat.Format(raw) + ")";
    return text;
}

} // namespace

LimitColour ColourOf(double minimum, double maximum, const ChannelLimitPair& limits) {
    LimitColour colour = LimitColour::Default;
    if (limits.upper)
        colour = *limits.upper <= maximum ? LimitColour::Red : LimitColour::Green;
    if (limits.lower)
        colour = *limits.lower >= minimum ? LimitColour::Red : LimitColour::Green;
    return colour;
}

DigitRowValues Values(const MaxMinEntry& entry, const CDataFormat& format, bool withRaw,
                      const ChannelLimitPair& limits) {
    DigitRowValues row;
    row.value = WithRaw(format, entry.last, entry.rawLast, withRaw);
    if (!entry.HasData()) {
        row.minimum = "-";
        row.maximum = "-";
        return row;
    }
    row.minimum = WithRaw(format, entry.minimum, entry.rawMinimum, withRaw);
    row.maximum = WithRaw(format, entry.maximum, entry.rawMaximum, withRaw);
    row.colour = ColourOf(entry.minimum, entry.maximum, limits);
    return row;
}

std::vector<int> SortOrder(const std::vector<MonitorChannel>& channels, bool checkedFirst) {
    std::vector<int> order(channels.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    auto shown = [&](int i) {
        const CChCnd* c = channels[static_cast<std::size_t>(i)].condition;
        return c != nullptr && c->m_visible != 0;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (checkedFirst && shown(a) != shown(b))
            return shown(a);
        return channels[static_cast<std::size_t>(a)].number <
               channels[static_cast<std::size_t>(b)].number;
    });
    return order;
}

std::optional<int> EditGridNo(const std::string& text, int current) {
    const std::int64_t value = ReadWholeNumber(text);
    if (value < 0 || value > kMaxGridNo || value == current)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<double> EditDivision(const std::string& text, double current) {
    const double value = ReadReal(text);
    if (!(value > 0.0) || value == current)
        return std::nullopt;
    return value;
}

std::optional<double> EditZeroPoint(const std::string& text, double current) {
    const double value = ReadReal(text);
    if (value == current)
        return std::nullopt;
    return value;
}

} // namespace DigitListRows
