#include "conditions/ChCnd.h"

#include "conditions/ConditionTables.h"
#include "conditions/KeyedPieces.h"
#include "conditions/SlotInfo.h"
#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"

#include <algorithm>
#include <cmath>

std::atomic<int> CChCnd::s_balWarnPercent{100};

namespace {

std::string ToString(std::string_view value) {
    return std::string(value);
}

// F/V input and mode only take the values of their tables; anything else keeps the default.
void SetFvValue(std::int32_t& field, std::string_view value) {
    const std::int32_t v = ReadInt32(value);
    if (v >= 0 && v <= 2)
        field = v;
}

// A chart scale item: minimum, then maximum (minimum + 10 when missing), then division (the
// 1-2-5 step of a fifth of the span when missing).
void ParseScale(CScale& scale, std::string_view value) {
    std::string_view part;
    GetPart(value, 0, part);
    scale.m_min = ReadReal(part);
    scale.m_max = GetPart(value, 1, part) ? ReadReal(part) : scale.m_min + 10.0;
    scale.m_div =
        GetPart(value, 2, part) ? ReadReal(part) : Step125((scale.m_max - scale.m_min) / 5);
}

using ChHandler = KeyHandler<CChCnd>;

// The keys of a channel line in the order they are looked for.
const ChHandler kChannelKeys[] = {
    {"RANGE=", [](CChCnd& c, std::string_view v) { c.SetRange(ToString(v)); }},
    {"FILTER=", [](CChCnd& c, std::string_view v) { c.m_filter = v; }},
    {"NAME=", [](CChCnd& c, std::string_view v) { c.m_name = v; }},
    {"AMP_CODE=", [](CChCnd& c, std::string_view v) { c.m_ampCode = ReadInt32(v); }},
    {"DataType=", [](CChCnd& c, std::string_view v) { c.SetDataType(ReadInt32(v)); }},
    {"MAT=",
     [](CChCnd& c, std::string_view v) {
         std::string_view part;
         for (std::size_t i = 0; i < c.m_mat.size(); ++i) {
             if (GetPart(v, i, part))
                 c.m_mat[i] = part;
         }
     }},
    {"MEMO=", [](CChCnd& c, std::string_view v) { c.m_memo = v; }},
    {"GRP=", [](CChCnd& c, std::string_view v) { c.m_visible = ReadInt32(v); }},
    {"SEPCHART=", [](CChCnd& c, std::string_view v) { ParseScale(c.m_sepChart, v); }},
    {"SEPCHART_SCALE=", [](CChCnd& c, std::string_view v) { ParseScale(c.m_sepChartScale, v); }},
    {"DIGIT=", [](CChCnd& c, std::string_view v) { c.m_valueBox = ReadInt32(v); }},
    {"GRID=", [](CChCnd& c, std::string_view v) { c.ParseGridValue(v); }},
    {"PHYVAL=",
     [](CChCnd& c, std::string_view v) {
         std::string_view part;
         GetPart(v, 0, part);
         c.m_phy1 = ReadReal(part);
         if (GetPart(v, 1, part))
             c.m_phy2 = ReadReal(part);
     }},
    {"AMPVAL=",
     [](CChCnd& c, std::string_view v) {
         std::string_view part;
         GetPart(v, 0, part);
         c.m_amp1 = ReadReal(part);
         if (GetPart(v, 1, part))
             c.m_amp2 = ReadReal(part);
     }},
    {"AMPOFFSET=",
     [](CChCnd& c, std::string_view v) {
         // The first item is the derived offset the writer puts first; the points follow it.
         std::string_view part;
         if (GetPart(v, 1, part) && !part.empty())
             c.m_amp0 = ReadReal(part);
         else if (GetPart(v, 0, part))
             c.m_amp0 = ReadReal(part);
         if (GetPart(v, 2, part) && !part.empty())
             c.m_phy0 = ReadReal(part);
     }},
    {"PHYOFFSET=",
     [](CChCnd& c, std::string_view v) {
         c.m_phy0 = ReadReal(v);
         c.m_amp0 = 0.0;
     }},
    {"PHYUNIT=", [](CChCnd& c, std::string_view v) { c.m_phyUnit = v; }},
    {"LVL_ST_TRG=", [](CChCnd& c, std::string_view v) { c.m_lvlStTrg = ReadInt32(v); }},
    {"LVL_ST_TRG_VAL=",
     [](CChCnd& c, std::string_view v) { c.m_lvlStTrgVal = std::clamp(ReadReal(v), 0.0, 100.0); }},
    {"HDD_LVLTRG=", [](CChCnd& c, std::string_view v) { c.m_hddLvlTrg = ReadInt32(v); }},
    {"HDD_LVLVAL=", [](CChCnd& c, std::string_view v) { c.m_hddLvlVal = ReadReal(v); }},
    {"FV_FIN=", [](CChCnd& c, std::string_view v) { SetFvValue(c.m_fvInput, v); }},
    {"FV_FME=", [](CChCnd& c, std::string_view v) { SetFvValue(c.m_fvMode, v); }},
    {"FV_FDV=", [](CChCnd& c, std::string_view v) { c.m_fvDivider = ReadInt16(v); }},
    {"FV_FSM=", [](CChCnd& c, std::string_view v) { c.m_fvSmoothing = ReadInt16(v); }},
    {"DIMASK=", [](CChCnd& c, std::string_view v) { c.m_diMask = ReadUInt16(v); }},
    {"CAN_BITRATE=",
     [](CChCnd& c, std::string_view v) {
         std::string_view part;
         GetPart(v, 0, part);
         c.m_canFactor = ReadReal(part);
         // The file carries the negated offset (the writer puts GetAmpOffset there); negating
         // it back keeps the physical offset through any number of saves and loads.
         if (GetPart(v, 1, part) && !part.empty())
             c.m_canOffset = -ReadReal(part);
     }},
};

} // namespace

void CChCnd::Reset() {
    *this = CChCnd{};
}

bool CChCnd::IsCanType() const {
    return ModuleType::IsCanType(m_ampCode);
}

double CChCnd::GetRangeValue() const {
    if (m_ampCode == ModuleType::kFrequency && m_fvMode != 0)
        return kFullScaleCounts;
    const std::size_t start = m_range.find_first_not_of(' ');
    if (start == std::string::npos)
        return 0.0;
    const std::size_t end = m_range.find_first_not_of("0123456789.", start);
    return ReadReal(std::string_view(m_range).substr(
        start, end == std::string::npos ? std::string::npos : end - start));
}

double CChCnd::GetAmpOffset() const {
    if (IsCanType())
        return m_canOffset == 0.0 ? 0.0 : -m_canOffset; // no "-0" in the files
    if (m_phy1 == m_phy0)
        return m_amp0; // no line through the two points; keep the offset point as it is
    return m_amp0 - (m_amp1 - m_amp0) * m_phy0 / (m_phy1 - m_phy0);
}

double CChCnd::GetUnitPerCount() const {
    if (IsCanType())
        return m_canFactor;
    const double span = std::fabs(m_amp1 - GetAmpOffset());
    const double f = (m_phy1 != 0.0 && span != 0.0) ? std::fabs(m_phy1) / span : 1.0;
    return GetRangeValue() * kRangePerCount * f;
}

std::int32_t CChCnd::GetBalanceCorrection() const {
    if (m_balanceResidual == kNoResidual)
        return 0;
    // Signed on purpose: a negative residual is always corrected.
    return m_balanceResidual * 0.004 < GetBalanceWarnPercent() ? m_balanceResidual : 0;
}

double CChCnd::CountToPhys(double count) const {
    const double unit = IsCanType() ? m_canFactor : GetRangeValue() * kRangePerCount;
    return AmpToPhys((count - GetBalanceCorrection()) * unit);
}

double CChCnd::AmpToPhys(double ampValue) const {
    const double off = GetAmpOffset();
    if (IsCanType())
        return ampValue - off;
    if (m_amp2 != 0.0 && m_phy2 != 0.0 && m_amp2 != off && ampValue < off)
        return (ampValue - off) * std::fabs(m_phy2) / std::fabs(m_amp2 - off);
    const double k =
        (m_phy1 != 0.0 && m_amp1 != off) ? std::fabs(m_phy1) / std::fabs(m_amp1 - off) : 1.0;
    return (ampValue - off) * k;
}

std::string CChCnd::GetDisplayName() const {
    if (!m_name.empty())
        return m_name;
    return FormatText("%d-%d", m_slot, m_channel + 1);
}

void CChCnd::SetChartScalesFromRange() {
    const double range = GetRangeValue();
    m_sepChart.m_min = -range;
    m_sepChart.m_max = range;
    m_sepChart.m_div = Step125(2 * range / 5);
    m_sepChartScale = m_sepChart;
}

void CChCnd::SetRange(const std::string& range) {
    m_range = range;
    SetChartScalesFromRange();
}

void CChCnd::SetDataType(std::int32_t dataType) {
    m_dataType = dataType;
    m_wordsPerSample = (dataType == 2 || dataType == 3 || dataType == 4) ? 2 : 1;
}

std::string CChCnd::FormatLine() const {
    std::string line = FormatText(
        "%d-%d,%d,NAME=%s,AMP_CODE=%d,DataType=%d,MAT=%s|%s|%s|%s,RANGE=%s,FILTER=%s,MEMO=%s,"
        "GRP=%d,SEPCHART=%5.3f|%5.3f|%5.3f,SEPCHART_SCALE=%5.3f|%5.3f|%5.3f,DIGIT=%d,"
        "GRID=%5.3f|%d|%lu|%5.3f,PHYVAL=%e|%e,AMPVAL=%e|%e,AMPOFFSET=%e|%e|%e,PHYUNIT=%s,"
        "LVL_ST_TRG=%d,LVL_ST_TRG_VAL=%e,HDD_LVLTRG=%d,HDD_LVLVAL=%e,FV_FIN=%d,FV_FME=%d,"
        "FV_FDV=%d,FV_FSM=%d,DIMASK=%u",
        m_slot, m_channel + 1, m_enabled, m_name.c_str(), m_ampCode,
        static_cast<std::int16_t>(m_dataType), m_mat[0].c_str(), m_mat[1].c_str(), m_mat[2].c_str(),
        m_mat[3].c_str(), m_range.c_str(), m_filter.c_str(), m_memo.c_str(), m_visible,
        m_sepChart.m_min, m_sepChart.m_max, m_sepChart.m_div, m_sepChartScale.m_min,
        m_sepChartScale.m_max, m_sepChartScale.m_div, m_valueBox, m_gridUnitsPerDiv,
        m_gridCentreDiv, static_cast<unsigned long>(m_gridColour), m_gridCentreValue, m_phy1,
        m_phy2, m_amp1, m_amp2, GetAmpOffset(), m_amp0, m_phy0, m_phyUnit.c_str(), m_lvlStTrg,
        m_lvlStTrgVal, m_hddLvlTrg, m_hddLvlVal, m_fvInput, m_fvMode, m_fvDivider, m_fvSmoothing,
        static_cast<unsigned>(m_diMask));
    if (IsCanType())
        line += FormatText(",CAN_BITRATE=%e|%e", m_canFactor, GetAmpOffset());
    return line;
}

void CChCnd::ParseGridValue(std::string_view value) {
    std::string_view part;
    GetPart(value, 0, part);
    m_gridUnitsPerDiv = ReadReal(part);
    if (GetPart(value, 1, part))
        m_gridCentreDiv = ReadInt16(part);
    if (GetPart(value, 2, part))
        m_gridColour = ReadUInt32(part);
    if (GetPart(value, 3, part))
        m_gridCentreValue = ReadReal(part);
}

bool CChCnd::ParseHead(const std::string& text, std::vector<std::string>& pieces) {
    CTextFile::SplitText(pieces, ",", text);
    if (pieces.size() < 2)
        return false;
    Reset();
    // The first character is never the separator, so a slot written with a sign reads back.
    const std::size_t dash = pieces[0].find('-', 1);
    if (dash == std::string::npos)
        return false;
    m_slot = ReadInt16(std::string_view(pieces[0]).substr(0, dash));
    m_channel =
        static_cast<std::int16_t>(ReadInt16(std::string_view(pieces[0]).substr(dash + 1)) - 1);
    m_enabled = ReadInt32(pieces[1]);
    return true;
}

bool CChCnd::ParseLine(const std::string& text) {
    std::vector<std::string> pieces;
    if (!ParseHead(text, pieces))
        return false;
    for (std::size_t i = 2; i < pieces.size(); ++i)
        ApplyFirstKey<CChCnd>(*this, pieces[i], kChannelKeys);
    return true;
}

std::string CChCnd::FormatCardChannelLine(int position, const CSlotInfo& slot) const {
    std::string line;
    if (m_lvlStTrg == 0) {
        line = FormatText("%d %s_%d%02d,RANGE=%s", position, slot.m_partNo.c_str(), m_slot,
                          m_channel + 1, m_range.c_str());
    } else {
        line = FormatText("%d %s_%d%02d,A_TRG=%d,A_TYPE=%s,RANGE=%s", position,
                          slot.m_partNo.c_str(), m_slot, m_channel + 1,
                          static_cast<int>(m_lvlStTrgVal), "ABS", m_range.c_str());
    }
    if (!m_filter.empty())
        line += ",FILTER=" + m_filter;
    if (slot.m_typeCode == ModuleType::kFrequency)
        line += FormatText(",FIN=%d,FDV=%d,FSM=%d,FME=%d", m_fvInput, m_fvDivider, m_fvSmoothing,
                           m_fvMode);
    return line;
}
