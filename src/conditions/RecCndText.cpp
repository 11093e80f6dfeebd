// The condition text and the card condition text of a recording condition.
#include "conditions/RecCnd.h"

#include "conditions/RelaySettings.h"
#include "conditions/TextNumbers.h"

#include <string_view>
#include <utility>

namespace {

// The first entry whose key starts the line, as (key, field); (empty, nullptr) when none does.
template <typename Field, std::size_t N>
std::pair<std::string_view, Field*> FindKey(const std::pair<std::string_view, Field*> (&keys)[N],
                                            std::string_view line) {
    for (const auto& entry : keys) {
        if (line.starts_with(entry.first))
            return entry;
    }
    return {{}, nullptr};
}

void ApplySlotLine(CRecCnd& cnd, std::string_view rest) {
    const std::size_t blank = rest.find(' ');
    if (blank == std::string_view::npos || blank == 0)
        return; // a bare "SLOTn" is an empty slot
    const std::int64_t n = ReadWholeNumber(rest.substr(0, blank));
    if (n >= 1 && n <= CRecCnd::kSlotCount)
        cnd.m_slots[static_cast<std::size_t>(n - 1)].ParseSlotLine(
            std::string(rest.substr(blank + 1)));
}

void ApplyDogTimer(WatchDogSettings& dog, const std::string& rest) {
    TextLines pieces;
    CTextFile::SplitText(pieces, ",", rest);
    ApplyDogTimerPieces(dog, pieces);
    if (dog.autoMonitorTime < 60 || dog.autoMonitorTime > 3600)
        dog.autoMonitorTime = 3600;
}

} // namespace

bool CRecCnd::ParseLines(const TextLines& lines) {
    if (lines.empty() || lines.front().find(kFileMarker) == std::string::npos)
        return false;
    Reset();
    // "MEMO " is looked for before "MEMO2 " and does not match it.
    const std::pair<std::string_view, std::string*> textKeys[] = {
        {"BASE_FILE_NAME ", &m_baseFileName},
        {"MEMO ", &m_memo},
        {"MEMO2 ", &m_memo2},
        {"TESTINFO1 ", &m_testInfo[0]},
        {"TESTINFO2 ", &m_testInfo[1]},
        {"TESTINFO3 ", &m_testInfo[2]},
        {"RATE ", &m_rate}};
    const std::pair<std::string_view, std::int32_t*> numberKeys[] = {
        {"PRE_TIME ", &m_preTime},
        {"POST_TIME ", &m_postTime},
        {"HDD_PRE_TIME ", &m_hddPreTime},
        {"HDD_POST_TIME ", &m_hddPostTime},
        {"HDD_LVL_TRG ", &m_hddLvlTrg},
        {"RS232C ", &m_rs232c},
        {"CALC ", &m_calc},
        {"SUB_SAMP ", &m_subSamp}};
    std::size_t calcLines = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::string_view view(line);
        if (view.starts_with("HDD_Rec_Folder")) {
            m_hddRecFolder = line.substr(14);
            continue;
        }
        if (const auto [key, field] = FindKey(textKeys, view); field != nullptr) {
            *field = line.substr(key.size());
            continue;
        }
        if (const auto [key, field] = FindKey(numberKeys, view); field != nullptr) {
            *field = ReadInt32(view.substr(key.size()));
            continue;
        }
        if (view.starts_with("SYNC ")) {
            SetSyncText(line.substr(5));
        } else if (view.starts_with("HDD_RecFile_Ext ")) {
            m_hddRecFileExt = ReadWholeNumber(view.substr(16)) != 0 ? 1 : 0;
        } else if (view.starts_with("CHAN")) {
            CChCnd channel;
            if (!channel.ParseLine(line.substr(4)))
                return false;
            m_channels.push_back(std::move(channel));
        } else if (view.starts_with("CACH")) {
            if (calcLines < m_calcChannels.size())
                m_calcChannels[calcLines++].ParseLine(line.substr(4));
        } else if (view.starts_with("SLOT")) {
            ApplySlotLine(*this, view.substr(4));
        } else if (view.starts_with("DOG_TIMER ")) {
            ApplyDogTimer(m_dogTimer, line.substr(10));
        } else if (view.starts_with("MONITORCH ")) {
            CMonitorCh monitor;
            if (ParseMonitorChLine(line.substr(10), 6, monitor) == MonitorLine::Read)
                m_monitorChannels.push_back(std::move(monitor));
        }
    }
    return true;
}

void CRecCnd::FormatLines(TextLines& lines) const {
    lines.clear();
    lines.reserve(40 + m_channels.size() + m_monitorChannels.size());
    lines.emplace_back(kFileMarker);
    lines.push_back("HDD_Rec_Folder" + m_hddRecFolder);
    lines.push_back("BASE_FILE_NAME " + m_baseFileName);
    lines.push_back(FormatText("HDD_RecFile_Ext %d", m_hddRecFileExt));
    lines.push_back(FormatText("PRE_TIME %d", m_preTime));
    lines.push_back(FormatText("POST_TIME %d", m_postTime));
    lines.push_back(FormatText("HDD_PRE_TIME %d", m_hddPreTime));
    lines.push_back(FormatText("HDD_POST_TIME %d", m_hddPostTime));
    lines.push_back(FormatText("HDD_LVL_TRG %d", m_hddLvlTrg));
    lines.push_back("RATE " + m_rate);
    lines.push_back(FormatText("RS232C %d", m_rs232c));
    lines.push_back("SYNC " + GetSyncText());
    lines.push_back(FormatText("CALC %d", m_calc));
    lines.push_back(FormatText("SUB_SAMP %d", m_subSamp));
    for (const CChCnd& channel : m_channels)
        lines.push_back("CHAN" + channel.FormatLine());
    for (const CCalcChCnd& calc : m_calcChannels)
        lines.push_back("CACH" + calc.FormatLine());
    for (int n = 1; n <= kSlotCount; ++n)
        lines.push_back(FormatText("SLOT%d", n) +
                        m_slots[static_cast<std::size_t>(n - 1)].FormatSlotLine());
    lines.push_back("MEMO " + m_memo);
    lines.push_back("MEMO2 " + m_memo2);
    lines.push_back("TESTINFO1 " + m_testInfo[0]);
    lines.push_back("TESTINFO2 " + m_testInfo[1]);
    lines.push_back("TESTINFO3 " + m_testInfo[2]);
    lines.push_back(FormatDogTimerLine(m_dogTimer));
    for (const CMonitorCh& monitor : m_monitorChannels)
        lines.push_back("MONITORCH " + monitor.FormatValues());
}

void CRecCnd::BuildCardCondition(TextLines& lines) const {
    lines.clear();
    lines.emplace_back("CND_BEGIN");
    lines.push_back("FILENAME " + m_baseFileName);
    if (GetRateHz() == 0.0) {
        lines.emplace_back("CLOCK EXTERNAL");
        lines.emplace_back("RATE 1Hz");
    } else {
        lines.emplace_back("CLOCK INTERNAL");
        lines.push_back("RATE " + m_rate);
    }
    lines.push_back("MODE " + GetSyncText());
    lines.push_back(FormatText("PRETRG %ds", m_preTime));
    lines.push_back(FormatText("PSTTRG %ds", m_postTime));
    lines.push_back(FormatText("RS232C %d", m_rs232c));
    for (std::size_t i = 0; i < m_channels.size(); ++i) {
        const CChCnd& channel = m_channels[i];
        if (channel.m_enabled)
            lines.push_back(
                "CH" + channel.FormatCardChannelLine(static_cast<int>(i) + 1, GetSlotOf(channel)));
    }
    lines.emplace_back("RTMSET");
    lines.emplace_back("CND_END");
}
