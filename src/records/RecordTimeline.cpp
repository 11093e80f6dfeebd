#include "records/RecordTimeline.h"

#include "conditions/TextNumbers.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string_view>

namespace {

constexpr double kDaySeconds = 86400.0;
// A resume time up to this much before where the wall clock runs is the same day (the time
// texts have whole seconds).
constexpr double kTimeTextSlack = 2.0;
// Times beyond this (some thirty million years) are not formatted.
constexpr double kLargestTime = 1e15;

// Up to `maxDigits` decimal digits at `pos`, at least one; advances `pos`.
std::optional<int> Digits(std::string_view text, std::size_t& pos, std::size_t maxDigits) {
    int value = 0;
    std::size_t count = 0;
    while (pos < text.size() && count < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos++] - '0');
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    return value;
}

bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// Whole seconds and the rounded fraction, carried into the seconds when it rounds up to 1.
struct SplitSeconds {
    std::int64_t whole;
    long fraction;
};

SplitSeconds Split(double seconds, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(seconds * scale) / scale;
    const auto whole = static_cast<std::int64_t>(std::floor(rounded));
    return {whole, std::lround((rounded - static_cast<double>(whole)) * scale)};
}

std::string TimeOfDayText(std::int64_t secondOfDay, long fraction, int decimals) {
    const int s = static_cast<int>(secondOfDay);
    return FormatText("%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60) +
           (decimals > 0 ? FormatText(".%0*ld", decimals, fraction) : std::string());
}

} // namespace

void CRecordTimeline::SetRows(double rowSeconds, std::uint64_t triggerRow) {
    m_rowSeconds = rowSeconds;
    m_triggerRow = triggerRow;
}

void CRecordTimeline::AddAnchor(std::uint64_t row, double seconds) {
    if (!m_anchors.empty() && row < m_anchors.back().row)
        return;
    if (!m_anchors.empty() && row == m_anchors.back().row)
        m_anchors.back().seconds = seconds;
    else
        m_anchors.push_back({row, seconds});
}

bool CRecordTimeline::AddTimeOfDay(std::uint64_t row, const std::string& timeText) {
    const std::optional<int> timeOfDay = ParseTimeOfDay(timeText);
    if (!timeOfDay || m_anchors.empty())
        return false;
    const double running = WallClock(static_cast<double>(row));
    double seconds = std::floor(running / kDaySeconds) * kDaySeconds + *timeOfDay;
    if (seconds < running - kTimeTextSlack)
        seconds += kDaySeconds;
    AddAnchor(row, seconds);
    return true;
}

double CRecordTimeline::Elapsed(double row) const {
    return (row - static_cast<double>(m_triggerRow)) * m_rowSeconds;
}

double CRecordTimeline::RowAtElapsed(double seconds) const {
    return seconds / m_rowSeconds + static_cast<double>(m_triggerRow);
}

double CRecordTimeline::WallClock(double row) const {
    if (m_anchors.empty())
        return 0.0;
    auto anchor = m_anchors.begin();
    for (auto next = anchor + 1; next != m_anchors.end() && static_cast<double>(next->row) <= row;
         ++next)
        anchor = next;
    return anchor->seconds + (row - static_cast<double>(anchor->row)) * m_rowSeconds;
}

std::optional<double> CRecordTimeline::RowAtWallClock(double seconds) const {
    if (m_anchors.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < m_anchors.size(); ++i) {
        const Anchor& anchor = m_anchors[i];
        const double row =
            static_cast<double>(anchor.row) + (seconds - anchor.seconds) / m_rowSeconds;
        const bool afterStart = i == 0 || row >= static_cast<double>(anchor.row);
        const bool beforeNext =
            i + 1 == m_anchors.size() || row < static_cast<double>(m_anchors[i + 1].row);
        if (afterStart && beforeNext)
            return row;
    }
    return std::nullopt;
}

std::optional<int> CRecordTimeline::ParseTimeOfDay(const std::string& time) {
    const std::string_view text = Trim(time);
    std::size_t pos = 0;
    const std::optional<int> hour = Digits(text, pos, 2);
    if (!hour || !Expect(text, pos, ':'))
        return std::nullopt;
    const std::optional<int> minute = Digits(text, pos, 2);
    if (!minute || !Expect(text, pos, ':'))
        return std::nullopt;
    const std::optional<int> second = Digits(text, pos, 2);
    if (!second || *minute > 59 || *second > 59)
        return std::nullopt;
    const std::string_view rest = Trim(text.substr(pos));
    int h = *hour;
    if (rest == "AM" || rest == "PM") {
        if (h < 1 || h > 12)
            return std::nullopt;
        h = h % 12 + (rest == "PM" ? 12 : 0);
    } else if (!rest.empty() || h > 23) {
        return std::nullopt;
    }
    return (h * 60 + *minute) * 60 + *second;
}

std::optional<double> CRecordTimeline::ParseDateTime(const std::string& date,
                                                     const std::string& time) {
    const std::string_view text = Trim(date);
    std::size_t pos = 0;
    const std::optional<int> month = Digits(text, pos, 2);
    if (!month || !Expect(text, pos, '-'))
        return std::nullopt;
    const std::optional<int> day = Digits(text, pos, 2);
    if (!day || !Expect(text, pos, '-'))
        return std::nullopt;
    const std::optional<int> year = Digits(text, pos, 4);
    const std::optional<int> timeOfDay = ParseTimeOfDay(time);
    if (!year || pos != text.size() || !timeOfDay)
        return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year(*year),
                                          std::chrono::month(static_cast<unsigned>(*month)),
                                          std::chrono::day(static_cast<unsigned>(*day))};
    if (!ymd.ok())
        return std::nullopt;
    const auto days = std::chrono::sys_days(ymd).time_since_epoch().count();
    return static_cast<double>(days) * kDaySeconds + *timeOfDay;
}

std::string CRecordTimeline::FormatDateTime(double seconds, int decimals) {
    decimals = std::clamp(decimals, 0, 9);
    if (!(std::fabs(seconds) < kLargestTime))
        return {};
    const SplitSeconds split = Split(seconds, decimals);
    const std::int64_t day = static_cast<std::int64_t>(kDaySeconds);
    const std::int64_t dayNumber =
        split.whole >= 0 ? split.whole / day : -((-split.whole + day - 1) / day);
    const std::chrono::year_month_day ymd{std::chrono::sys_days(std::chrono::days(dayNumber))};
    return FormatText("%04d-%02u-%02u ", static_cast<int>(ymd.year()),
                      static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day())) +
           TimeOfDayText(split.whole - dayNumber * day, split.fraction, decimals);
}

std::string CRecordTimeline::FormatTimeOfDay(double seconds, int decimals) {
    decimals = std::clamp(decimals, 0, 9);
    if (!(std::fabs(seconds) < kLargestTime))
        return {};
    const SplitSeconds split = Split(seconds, decimals);
    const std::int64_t day = static_cast<std::int64_t>(kDaySeconds);
    return TimeOfDayText((split.whole % day + day) % day, split.fraction, decimals);
}
