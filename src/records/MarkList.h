// The marks and resume points of the PC record being written.
#pragma once

#include "conditions/TextFile.h"
#include "records/MarkRecord.h"

#include <cstdint>
#include <string>
#include <vector>

class CMarkList {
public:
    void Clear();
    void AddMark(std::uint32_t position, const std::string& time, const std::string& memo);
    void AddResume(std::uint32_t position, const std::string& time);

    const std::vector<CMarkRecord>& GetMarks() const { return m_marks; }
    const std::vector<CMarkRecord>& GetPauses() const { return m_pauses; }

    // The "MARK" and "PAUSE" header lines of the records at positions from `first` up to (not
    // including) `end`, as row indexes of a data file that starts `preRows` rows before `first`.
    void FormatLines(TextLines& lines, std::uint32_t first, std::uint32_t end,
                     std::uint32_t preRows) const;

private:
    std::vector<CMarkRecord> m_marks;
    std::vector<CMarkRecord> m_pauses;
};
