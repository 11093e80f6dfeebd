#include "conditions/CalcChCnd.h"

#include "conditions/ConditionTables.h"
#include "conditions/KeyedPieces.h"
#include "conditions/TextNumbers.h"

#include <algorithm>
#include <cmath>

namespace {

// A moving average keeps its window of values: never more of them than the data thread keeps
// rows of one read, 30 seconds, and always the 1000 samples the setting dialog allows.
constexpr double kAverageWindowSeconds = 30.0;
constexpr std::uint32_t kDialogAverageWindow = 1000;

using CalcHandler = KeyHandler<CCalcChCnd>;

const CalcHandler kCalcKeys[] = {
    {"NAME=", [](CCalcChCnd& c, std::string_view v) { c.m_name = v; }},
    {"AMP_CODE=", [](CCalcChCnd& c, std::string_view v) { c.m_ampCode = ReadInt32(v); }},
    {"PHYUNIT=", [](CCalcChCnd& c, std::string_view v) { c.m_phyUnit = v; }},
    {"GRP=", [](CCalcChCnd& c, std::string_view v) { c.m_visible = ReadInt32(v); }},
    {"SCALE=",
     [](CCalcChCnd& c, std::string_view v) {
         std::string_view part;
         GetPart(v, 0, part);
         const double high = ReadReal(part);
         const double low = GetPart(v, 1, part) ? ReadReal(part) : 0.0;
         c.SetScale(high, low);
     }},
    {"DIGIT=", [](CCalcChCnd& c, std::string_view v) { c.m_valueBox = ReadInt32(v); }},
    {"GRID=", [](CCalcChCnd& c, std::string_view v) { c.ParseGridValue(v); }},
    {"FUNC=", [](CCalcChCnd& c, std::string_view v) { c.m_function = ReadInt32(v); }},
    {"PARAM=",
     [](CCalcChCnd& c, std::string_view v) {
         std::string_view part;
         for (std::size_t i = 0; i < c.m_param.size(); ++i) {
             if (GetPart(v, i, part))
                 c.m_param[i] = ReadUInt32(part);
         }
     }},
    {"MEMO=", [](CCalcChCnd& c, std::string_view v) { c.m_memo = v; }},
};

} // namespace

CCalcChCnd::CCalcChCnd(const CCalcChCnd& other) : CChCnd(other) {
    m_function = other.m_function;
    m_param = other.m_param;
    m_scaleHigh = other.m_scaleHigh;
    m_scaleLow = other.m_scaleLow;
}

CCalcChCnd& CCalcChCnd::operator=(const CCalcChCnd& other) {
    if (this != &other) {
        CChCnd::operator=(other);
        m_function = other.m_function;
        m_param = other.m_param;
        m_scaleHigh = other.m_scaleHigh;
        m_scaleLow = other.m_scaleLow;
        m_operand = {-1, -1, -1};
        m_average = CMovingAverage{};
    }
    return *this;
}

void CCalcChCnd::ResetOwn() {
    m_function = -1;
    m_param = {};
    m_scaleHigh = 0.0;
    m_scaleLow = 0.0;
    m_operand = {-1, -1, -1};
    m_average = CMovingAverage{};
}

void CCalcChCnd::Reset() {
    CChCnd::Reset();
    ResetOwn();
}

double CCalcChCnd::GetUnitPerCount() const {
    return (m_scaleHigh - m_scaleLow) * 2e-05;
}

double CCalcChCnd::GetAmpOffset() const {
    return -(m_scaleHigh - GetUnitPerCount() * kFullScaleCounts);
}

CScale CCalcChCnd::GetChartScale() const {
    CScale scale = m_sepChartScale;
    scale.m_max = m_scaleHigh;
    scale.m_min = m_scaleLow;
    scale.m_div = Step125((m_scaleHigh - m_scaleLow) / 5);
    return scale;
}

void CCalcChCnd::SetScale(double high, double low) {
    m_scaleHigh = high;
    m_scaleLow = low;
    m_range = FormatText("%2.0f%s", std::fabs(high - low) / 2, m_phyUnit.c_str());
    const double range = GetRangeValue();
    m_sepChartScale.m_min = -range;
    m_sepChartScale.m_max = range;
    m_sepChartScale.m_div = Step125(2 * range / 5);
    m_sepChart.m_min = low;
    m_sepChart.m_max = high;
    m_sepChart.m_div = Step125((high - low) / 5);
}

std::string CCalcChCnd::FormatLine() const {
    return FormatText("%d-%d,%d,NAME=%s,AMP_CODE=%d,PHYUNIT=%s,GRP=%d,SCALE=%5.3f|%5.3f,DIGIT=%d,"
                      "GRID=%5.3f|%d|%lu|%5.3f,FUNC=%i,PARAM=%lu|%lu|%lu|%lu,MEMO=%s",
                      m_slot, m_channel + 1, m_enabled, m_name.c_str(), m_ampCode,
                      m_phyUnit.c_str(), m_visible, m_scaleHigh, m_scaleLow, m_valueBox,
                      m_gridUnitsPerDiv, m_gridCentreDiv, static_cast<unsigned long>(m_gridColour),
                      m_gridCentreValue, m_function, static_cast<unsigned long>(m_param[0]),
                      static_cast<unsigned long>(m_param[1]),
                      static_cast<unsigned long>(m_param[2]),
                      static_cast<unsigned long>(m_param[3]), m_memo.c_str());
}

bool CCalcChCnd::ParseLine(const std::string& text) {
    std::vector<std::string> pieces;
    if (!ParseHead(text, pieces))
        return false;
    for (std::size_t i = 2; i < pieces.size(); ++i)
        ApplyFirstKey<CCalcChCnd>(*this, pieces[i], kCalcKeys);
    return true;
}

void CCalcChCnd::Prepare(const std::array<std::int16_t, 3>& operandIndexes,
                         std::uint32_t largestWindow) {
    m_operand = operandIndexes;
    const std::uint32_t window = m_param[1];
    if (m_function == ConditionTables::kCalcSma)
        m_average.Prepare(window <= largestWindow ? static_cast<int>(window) : 0);
    else
        m_average = CMovingAverage{};
}

std::uint32_t CCalcChCnd::LargestAverageWindow(double rateHz) {
    const double rows = kAverageWindowSeconds * std::max(rateHz, 1.0);
    return std::max(kDialogAverageWindow, static_cast<std::uint32_t>(rows));
}

std::string CCalcChCnd::CheckAverageWindow(double rateHz) const {
    const std::uint32_t largest = LargestAverageWindow(rateHz);
    if (m_function != ConditionTables::kCalcSma || m_param[1] <= largest)
        return {};
    return FormatText("Calculation channel %s : the moving-average window %lu is larger than "
                      "%lu samples!",
                      GetDisplayName().c_str(), static_cast<unsigned long>(m_param[1]),
                      static_cast<unsigned long>(largest));
}

double CCalcChCnd::Evaluate(const double* values, int count, bool& valid) {
    using namespace ConditionTables;
    static constexpr int kNeeded[] = {2, 2, 1, 2, 3, 2, 2, 2, 3, 1}; // operands per function
    valid = false;
    if (m_function < 0 || m_function > kCalcSma)
        return 0.0;
    double operand[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < kNeeded[m_function]; ++i) {
        const int index = m_operand[static_cast<std::size_t>(i)];
        if (index < 0 || index >= count)
            return 0.0;
        operand[i] = values[index];
    }
    valid = true;
    const double a = operand[0];
    const double b = operand[1];
    const double c = operand[2];
    switch (m_function) {
    case kCalcDtq:
        return (a - b) / (b + a) * 100;
    case kCalcAbsV:
        return std::sqrt(b * b + a * a);
    case kCalcRev:
        return a * (-1);
    case kCalcHp:
        return a * 0.2642007926023778 * (b * 145.0377) * 0.0005834305717619603;
    case kCalcRms:
        return std::sqrt(c * c + b * b + a * a);
    case kCalcDif:
        return std::fabs(a - b);
    case kCalcSum:
        return std::fabs(b + a);
    case kCalcMul:
        return static_cast<double>(m_param[2]) * b * a;
    case kCalcTld:
        return (a - b) * c;
    default:
        return m_average.Add(a);
    }
}

std::int16_t CCalcChCnd::ValueToCount(double value) const {
    const double unit = (m_scaleHigh - m_scaleLow) * 2e-05;
    const double middle = m_scaleHigh - unit * kFullScaleCounts;
    const double c = (value - middle) / unit;
    if (std::isnan(c) || c < -32768.0)
        return -32768;
    if (c > 32767.0)
        return 32767;
    return static_cast<std::int16_t>(c);
}
