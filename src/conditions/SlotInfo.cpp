#include "conditions/SlotInfo.h"

#include "conditions/ConditionTables.h"
#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"

namespace {

std::string Join(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += '|';
        text += items[i];
    }
    return text;
}

bool IsFrequencyRange(const std::string& item) {
    const std::size_t hz = item.find("Hz");
    return hz != std::string::npos && hz > 0;
}

// Whether a section head ("a-b" or "a") names the 1-based channel.
bool HeadSelects(const std::string& head, int channel) {
    const std::size_t dash = head.find('-');
    const std::int64_t a = ReadWholeNumber(head.substr(0, dash));
    if (dash == std::string::npos)
        return a == channel;
    const std::int64_t b = ReadWholeNumber(std::string_view(head).substr(dash + 1));
    return b >= 0 ? (channel >= a && channel <= b) : a == channel;
}

} // namespace

void CSlotInfo::Reset() {
    *this = CSlotInfo{};
}

std::string CSlotInfo::FormatSlotLine() const {
    if (IsEmpty())
        return {};
    std::string line = FormatText(" %s,%d,%d", m_partNo.c_str(), m_typeCode, m_chCount);
    if (!m_ranges.empty())
        line += ",RANGE=" + Join(m_ranges);
    if (!m_filters.empty())
        line += ",FILTER=" + Join(m_filters);
    return line;
}

void CSlotInfo::ParseSlotLine(const std::string& text) {
    Reset();
    TextLines pieces;
    CTextFile::SplitText(pieces, ",", text);
    if (pieces.size() < 3)
        return;
    m_partNo = pieces[0];
    m_typeCode = ReadInt32(pieces[1]);
    m_chCount = ReadUInt16(pieces[2]);
    for (std::size_t i = 3; i < pieces.size(); ++i) {
        const std::size_t start = pieces[i].find_first_not_of(' ');
        const std::string piece =
            start == std::string::npos ? std::string() : pieces[i].substr(start);
        if (StartsWith(piece, "RANGE="))
            CTextFile::SplitText(m_ranges, "|", piece.substr(6));
        else if (StartsWith(piece, "FILTER="))
            CTextFile::SplitText(m_filters, "|", piece.substr(7));
    }
}

void CSlotInfo::GetRangesForChannel(int channel, std::vector<std::string>& ranges) const {
    ranges.clear();
    if (IsEmpty())
        return;
    if (m_typeCode != ModuleType::kFrequency) {
        ranges = m_ranges;
        return;
    }
    bool inSection = false;
    for (const std::string& item : m_ranges) {
        if (IsFrequencyRange(item)) {
            if (inSection)
                ranges.push_back(item);
        } else if (inSection) {
            return; // the next head ends the section
        } else {
            inSection = HeadSelects(item, channel + 1);
        }
    }
}
