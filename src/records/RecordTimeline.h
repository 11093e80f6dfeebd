// The time of a row of a record: elapsed seconds from the trigger row, and the wall-clock time
// of day from the header's DATE and TIME, set again where a split file starts and where a
// paused record went on (the data file holds no gap for a pause).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CRecordTimeline {
public:
    void SetRows(double rowSeconds, std::uint64_t triggerRow);
    // From this row on, the wall clock reads `seconds` (the record's local time counted from
    // 1970-01-01 00:00). Anchors are given in row order; an earlier row is ignored.
    void AddAnchor(std::uint64_t row, double seconds);
    // From this row on, the wall clock reads the time of day `timeText` ("hh:mm:ss"), on the day
    // that puts it at or just after the time the previous anchor runs to there. False when the
    // text is not a time or no date is known yet.
    bool AddTimeOfDay(std::uint64_t row, const std::string& timeText);

    double GetRowSeconds() const { return m_rowSeconds; }
    std::uint64_t GetTriggerRow() const { return m_triggerRow; }
    double Elapsed(double row) const;
    double RowAtElapsed(double seconds) const;
    bool HasWallClock() const { return !m_anchors.empty(); }
    // The wall-clock seconds of a row (rows before the first anchor count back from it).
    double WallClock(double row) const;
    // The row at a wall-clock time; none where the time falls in a pause.
    std::optional<double> RowAtWallClock(double seconds) const;

    // Seconds since 1970-01-01 00:00 of "mm-dd-yyyy" and "hh:mm:ss" (also "h:mm:ss PM").
    static std::optional<double> ParseDateTime(const std::string& date, const std::string& time);
    static std::optional<int> ParseTimeOfDay(const std::string& time);
    // "yyyy-mm-dd hh:mm:ss" with `decimals` digits of the second.
    static std::string FormatDateTime(double seconds, int decimals);
    // "hh:mm:ss" with `decimals` digits of the second.
    static std::string FormatTimeOfDay(double seconds, int decimals);

private:
    struct Anchor {
        std::uint64_t row;
        double seconds;
    };
    double m_rowSeconds = 1.0;
    std::uint64_t m_triggerRow = 0;
    std::vector<Anchor> m_anchors;
};
