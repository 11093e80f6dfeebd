// The ".hdr" text that describes a ".dat" file of a PC record: its lines in order, each ending
// in CR LF on disk.
#pragma once

#include "conditions/RecCnd.h"
#include "conditions/TextFile.h"
#include "framework/Clock.h"
#include "records/MarkList.h"

#include <cstdint>
#include <string>
#include <vector>

// What one data file of a record adds to the description of the record.
struct RecordFileFacts {
    std::string headerName; // no folder, with extension
    std::string dataName;   // no folder, with extension
    LocalTime start;
    std::uint32_t preRows = 0;       // pre-trigger rows at the start of the file
    std::uint64_t rows = 0;          // rows in the file, pre-trigger rows included
    std::uint32_t firstPosition = 0; // record position of the first row after the pre-trigger rows
    std::uint32_t endPosition = 0;   // record position just past the file's last row
};

class CRecordHeader {
public:
    // Takes what stays the same over a record from the conditions as it starts.
    void Describe(const std::vector<CRecCnd>& conditions, int masterIndex,
                  const std::string& comment);
    void FormatLines(TextLines& lines, const RecordFileFacts& file, const CMarkList& marks) const;
    int GetWordsPerRow() const { return m_wordsPerRow; }

    // The COMMENT1..3 lines of a master condition.
    static std::string Comment1Line(const CRecCnd& master);
    static std::string Comment2Line(const CRecCnd& master);
    static std::string Comment3Line(const CRecCnd& master);

private:
    void DescribeChannel(const CChCnd& channel, const std::string& namePrefix);
    void DescribeCalcChannel(const CCalcChCnd& channel, const std::string& namePrefix);
    void AddSeries(const std::string& series, const std::string& slope, const std::string& offset,
                   const std::string& unit);

    std::string m_rateLine;
    double m_rowSeconds = 1.0;
    std::string m_comment;
    std::string m_comment1;
    std::string m_comment2;
    std::string m_comment3;
    std::string m_series;
    std::string m_slopes;
    std::string m_offsets;
    std::string m_units;
    int m_wordsPerRow = 0;
    std::string m_device;
    TextLines m_channelLines;
};
