// The recordings of a PC folder as "View ACQ Files" lists them: one row per header file, from
// the header lines "DATE ", "TIME ", "COMMENT1 ".."COMMENT3 ", "RATE " and "FILENAME ".
#pragma once

#include "conditions/TextFile.h"

#include <string>
#include <vector>

struct RecordRow {
    std::string fileName; // the header file's name, without the folder
    std::string date;
    std::string time;
    std::string testInfo; // COMMENT1
    std::string memo1;    // COMMENT2
    std::string memo2;    // COMMENT3
    std::string rate;
    std::string dataFileName; // FILENAME

    // The text of one of the RecordColumn columns.
    std::string Column(int column) const;
};

namespace RecordColumn {
inline constexpr int kFileName = 0;
inline constexpr int kDate = 1;
inline constexpr int kTestInfo = 2;
inline constexpr int kMemo1 = 3;
inline constexpr int kMemo2 = 4;
inline constexpr int kSamplingRate = 5;
inline constexpr int kCount = 6;
} // namespace RecordColumn

class CRecordList {
public:
    // The row of a header's lines; false when its DATE value is empty (it is not listed).
    static bool ParseRow(const TextLines& lines, RecordRow& row);

    // Every "*.hdr" file of the folder that can be read and has a date; folders are left out.
    void Fill(const std::string& folder);
    // Dates sort by day and time, the rate by its number, the texts without regard to case;
    // rows that compare equal keep their file-name order.
    void Sort(int column, bool ascending);

    const std::string& GetFolder() const { return m_folder; }
    const std::vector<RecordRow>& GetRows() const { return m_rows; }
    std::vector<RecordRow>& GetRows() { return m_rows; }

    static constexpr const char* kHeaderExtension = ".hdr";

private:
    std::string m_folder;
    std::vector<RecordRow> m_rows;
};
