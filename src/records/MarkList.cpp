#include "records/MarkList.h"

#include "conditions/TextNumbers.h"

namespace {

void FormatRecords(TextLines& lines, const char* keyword, const std::vector<CMarkRecord>& records,
                   std::uint32_t first, std::uint32_t end, std::uint32_t preRows) {
    for (const CMarkRecord& record : records) {
        if (record.m_position < first || record.m_position >= end)
            continue;
        const unsigned long row = static_cast<unsigned long>(record.m_position - first) + preRows;
        lines.push_back(FormatText("%s %lu,%s,%s,%s", keyword, row, record.m_time.c_str(),
                                   record.m_text.c_str(), record.m_memo.c_str()));
    }
}

} // namespace

std::string FormatTimeText(const LocalTime& time) {
    return FormatText("%02d:%02d:%02d", time.hour, time.minute, time.second);
}

void CMarkList::Clear() {
    m_marks.clear();
    m_pauses.clear();
}

void CMarkList::AddMark(std::uint32_t position, const std::string& time, const std::string& memo) {
    m_marks.push_back({position, time, {}, memo});
}

void CMarkList::AddResume(std::uint32_t position, const std::string& time) {
    m_pauses.push_back({position, time, {}, {}});
}

void CMarkList::FormatLines(TextLines& lines, std::uint32_t first, std::uint32_t end,
                            std::uint32_t preRows) const {
    FormatRecords(lines, "MARK", m_marks, first, end, preRows);
    FormatRecords(lines, "PAUSE", m_pauses, first, end, preRows);
}
