// A record, or a time range of it, written as comma-separated values: a header row of names
// and units, then one line per row with its time and each chosen channel's physical value.
#pragma once

#include "records/RecordReader.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CRecordCsvExport {
public:
    enum class TimeColumn { Elapsed, WallClock };
    // Told the part written (0..1) now and then; returning false stops the export.
    using Progress = std::function<bool(double done)>;
    static constexpr const char* kCancelled = "The export was cancelled.";

    struct Request {
        std::vector<std::size_t> channels;
        std::uint64_t firstRow = 0;
        std::uint64_t endRow = 0; // one past the last row written
        TimeColumn time = TimeColumn::Elapsed;
    };

    // Writes the file whole or not at all. Empty, kCancelled, or the message.
    static std::string Write(const CRecordReader& record, const Request& request,
                             const std::string& path, const Progress& progress = {});

    // The rows whose elapsed time lies within [from, to]; an absent bound is the record's end.
    static void RowsBetween(const CRecordReader& record, std::optional<double> from,
                            std::optional<double> to, Request& request);
    // Channels from a list separated by commas: 1-based numbers, names (with or without the
    // "(M)"/"(S)" of their recorder) or series names. Empty, or the message.
    static std::string ChooseChannels(const std::vector<RecordChannel>& channels,
                                      const std::string& list, std::vector<std::size_t>& chosen);

    // The header row (without line end).
    static std::string HeaderRow(const CRecordReader& record, const Request& request);
    // Digits after the point that tell rows apart (at most 6).
    static int TimeDecimals(double rowSeconds);
};
