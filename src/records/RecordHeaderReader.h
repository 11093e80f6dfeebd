// Reading the ".hdr" text of one data file of a record: its rate, its series with their scaling
// and channel lines, its row count, marks and resume points.
#pragma once

#include "conditions/TextFile.h"
#include "records/RecordChannel.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A MARK or PAUSE line: a row index of its data file, the time of day it was taken, and texts.
struct RecordMark {
    std::uint64_t row = 0;
    std::string time;
    std::string text;
    std::string memo;
};

struct RecordFileHeader {
    std::string dataset;
    std::string date; // "mm-dd-yyyy"
    std::string time; // "hh:mm:ss"
    std::string device;
    std::string dataName; // FILENAME: the data file beside the header
    std::array<std::string, 4> comments;
    double rowSeconds = 1.0;
    int rowWords = 0;             // NUM_SERIES
    std::uint64_t rows = 0;       // NUM_SAMPS
    std::uint64_t triggerRow = 0; // the row at time 0: the last pre-trigger row
    std::vector<RecordChannel> channels;
    std::vector<RecordMark> marks;
    std::vector<RecordMark> pauses;
    std::vector<std::string> notes; // what the header lacked and how it was read anyway
};

class CRecordHeaderReader {
public:
    // More words per row than any set of recorders can deliver.
    static constexpr int kMaxRowWords = 65536;

    // Empty, or why the lines cannot describe a record.
    static std::string ParseLines(const TextLines& lines, RecordFileHeader& header);
    // Empty, or the message to show (the path, then the reason).
    static std::string Read(const std::string& path, RecordFileHeader& header);
};
