#include "setup/ChannelTableRules.h"

#include "conditions/ConditionTables.h"
#include "conditions/RecCnd.h"
#include "conditions/TextNumbers.h"
#include "framework/Prompt.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string_view>

namespace Col = ChannelTableColumn;

const std::array<TableColumn, ChannelTableColumn::kCount> CChannelTableRules::kColumns{{
    {"ModuleType", 150, TableAlign::Centre}, {"Channels", 70, TableAlign::Right},
    {"Signal Name", 130, TableAlign::Left},  {"Range", 70, TableAlign::Right},
    {"Filter", 70, TableAlign::Right},       {"BAL(%)", 60, TableAlign::Right},
    {"MON", 40, TableAlign::Left},           {"TRG", 60, TableAlign::Left},
    {"TRG_V", 60, TableAlign::Right},        {"Phy_Unit", 60, TableAlign::Left},
    {"Phy_VAL1", 80, TableAlign::Right},     {"Cal_VAL1", 80, TableAlign::Right},
    {"Phy_VAL2", 80, TableAlign::Right},     {"Cal_VAL2", 80, TableAlign::Right},
    {"-Phy_VAL", 80, TableAlign::Right},     {"-Cal_VAL", 80, TableAlign::Right},
    {"ScaleMax", 100, TableAlign::Right},    {"ScaleMin", 100, TableAlign::Right},
    {"Material_ID", 100, TableAlign::Left},  {"Memo", 100, TableAlign::Left},
}};

namespace {

constexpr std::string_view kNone = "-";
// A module kind without a level trigger that the program knows only by its code.
constexpr std::int32_t kTriggerlessModule = 15;
constexpr std::array<std::string_view, 2> kOnOff{"OFF", "ON"};
constexpr std::array<std::string_view, 5> kValueTypes{"INT16", "UINT16", "INT32", "UINT32",
                                                      "FLOAT32"};
// The channel line has no escaping: a comma splits the item and "=" can start a key.
constexpr std::string_view kRefusedChars = ",=";

// Every number cell of the table shows this one format.
std::string FormatValue(double value) {
    return FormatText("%5.3f", value);
}

std::string TableText(std::string_view text) {
    return std::string(text);
}

// The text of a table index, empty when the index is not in the table.
template <std::size_t N>
std::string TableText(const std::array<std::string_view, N>& table, std::int32_t index) {
    return index >= 0 && static_cast<std::size_t>(index) < N ? std::string(table[index])
                                                             : std::string();
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// The list entry that equals the text without regard to case.
std::optional<std::string> FindChoice(const std::vector<std::string>& choices,
                                      std::string_view text) {
    for (const std::string& choice : choices) {
        if (EqualNoCase(choice, text))
            return choice;
    }
    return std::nullopt;
}

std::string_view SkipBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

// The leading decimal number of a text; none when the text does not start with one.
std::optional<double> ReadNumber(std::string_view text) {
    text = SkipBlanks(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The leading hexadecimal number of a text ("0x" allowed); none above 16 bits.
std::optional<std::uint16_t> ReadHex16(std::string_view text) {
    text = SkipBlanks(text);
    if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end == text.data() || value > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

bool IsOneOf(std::int32_t code, std::initializer_list<std::int32_t> codes) {
    return std::ranges::find(codes, code) != codes.end();
}

bool HasNoTrigger(std::int32_t type, bool hddLevel) {
    if (hddLevel && type == ModuleType::kDigitalInput)
        return true;
    return IsOneOf(
        type, {ModuleType::kInertial, ModuleType::kCanK, ModuleType::kCanG, kTriggerlessModule});
}

TableCell ReadOnly(std::string text) {
    TableCell cell;
    cell.text = std::move(text);
    return cell;
}

TableCell Editable(std::string text) {
    TableCell cell;
    cell.text = std::move(text);
    cell.editable = true;
    return cell;
}

TableCell ChoiceCell(std::string text, std::vector<std::string> choices) {
    TableCell cell;
    cell.text = std::move(text);
    cell.kind = TableCellKind::Choice;
    cell.editable = true;
    cell.choices = std::move(choices);
    return cell;
}

TableCell CheckCell(std::string text, bool checked) {
    TableCell cell;
    cell.text = std::move(text);
    cell.kind = TableCellKind::Check;
    cell.checkable = true;
    cell.checked = checked;
    return cell;
}

template <std::size_t N> std::vector<std::string> ToList(const std::array<std::string_view, N>& a) {
    return std::vector<std::string>(a.begin(), a.end());
}

// The channel's gain between amplifier and physical values at its first calibration point.
double Gain(const CChCnd& ch) {
    if (ch.IsCanType())
        return 1.0;
    const double span = std::fabs(ch.m_amp1 - ch.GetAmpOffset());
    return (ch.m_phy1 != 0.0 && span != 0.0) ? std::fabs(ch.m_phy1) / span : 1.0;
}

// The amplifier value whose physical value is `phys`: the inverse of the channel's scaling,
// second slope included, so a level typed in shows the same value when the table is rebuilt.
double PhysToAmp(const CChCnd& ch, double phys) {
    const double off = ch.GetAmpOffset();
    if (!ch.IsCanType() && phys < 0.0 && ch.m_amp2 != 0.0 && ch.m_phy2 != 0.0 && ch.m_amp2 != off)
        return off + phys * std::fabs(ch.m_amp2 - off) / std::fabs(ch.m_phy2);
    return off + phys / Gain(ch);
}

// The level start trigger of a digital input as the 16-bit count of its share of full scale.
// The percentage was made from a whole count, so the nearest count is the one typed (0x1A is
// 0.104 %, which gives back 25.9999... counts).
std::uint16_t DigitalLevel(const CChCnd& ch) {
    const double count = ch.m_lvlStTrgVal * 0.01 * CChCnd::kFullScaleCounts;
    return static_cast<std::uint16_t>(std::clamp(std::lround(count), 0L, 0xFFFFL));
}

// The stored percentage as a whole number. A level typed in (3.3 of 10 V) can leave it a hair
// below the whole number it stands for, and truncating must not lose that one.
int WholePercent(double percent) {
    constexpr double kRoundingError = 1e-9;
    return static_cast<int>(std::floor(percent + kRoundingError));
}

template <typename Channel> auto& CalibrationField(Channel& ch, int column) {
    switch (column) {
    case Col::kPhyVal1:
        return ch.m_phy1;
    case Col::kCalVal1:
        return ch.m_amp1;
    case Col::kPhyVal2:
        return ch.m_phy0;
    case Col::kCalVal2:
        return ch.m_amp0;
    case Col::kMinusPhyVal:
        return ch.m_phy2;
    default:
        return ch.m_amp2;
    }
}

bool IsCalibrationColumn(int column) {
    return column >= Col::kPhyVal1 && column <= Col::kMinusCalVal;
}

bool IsAmplifierColumn(int column) {
    return column == Col::kCalVal1 || column == Col::kCalVal2 || column == Col::kMinusCalVal;
}

void ResetCalibration(CChCnd& ch) {
    ch.m_phy1 = 1.0;
    ch.m_amp1 = 1.0;
    ch.m_phy0 = 0.0;
    ch.m_amp0 = 0.0;
    ch.m_phy2 = -1.0;
    ch.m_amp2 = 0.0;
}

} // namespace

void CChannelTableRules::NumberChannels(std::vector<CRecCnd>& conditions) {
    int next = 1;
    for (CRecCnd& condition : conditions) {
        for (CChCnd& ch : condition.m_channels) {
            ch.m_monitorNo = static_cast<std::int16_t>(next);
            next += ch.m_wordsPerSample;
        }
        if (condition.m_calc == 0)
            continue;
        for (CCalcChCnd& calc : condition.m_calcChannels)
            calc.m_monitorNo = static_cast<std::int16_t>(next++);
    }
}

int CChannelTableRules::DisplayNumber(const CChCnd& channel) {
    if (channel.m_monitorNo >= 1)
        return channel.m_monitorNo;
    const std::int64_t number =
        ReadWholeNumber(FormatText("%d%d", channel.m_slot, channel.m_channel + 1));
    return static_cast<int>(std::clamp<std::int64_t>(number, INT_MIN, INT_MAX));
}

int CChannelTableRules::IconIndex(std::int32_t typeCode) {
    switch (typeCode) {
    case ModuleType::kVoltage:
        return 4;
    case ModuleType::kStrain:
        return 7;
    case ModuleType::kTemperature:
        return 6;
    case ModuleType::kFrequency:
        return 5;
    case ModuleType::kDigitalInput:
        return 8;
    case ModuleType::kInertial:
        return 11;
    case ModuleType::kVoltageStrain:
        return 12;
    case ModuleType::kCanK:
        return 13;
    case ModuleType::kCanG:
        return 14;
    case kTriggerlessModule:
        return 9;
    case ModuleType::kVoltageStrain2:
        return 3;
    default:
        return 2;
    }
}

int CChannelTableRules::ScaledWidth(int column, int digitsWidth) {
    constexpr double kReferenceDigitsWidth = 60.0;
    if (column < 0 || column >= Col::kCount)
        return 0;
    const double scale = std::max(1.0, digitsWidth / kReferenceDigitsWidth);
    return static_cast<int>(std::lround(kColumns[static_cast<std::size_t>(column)].width * scale));
}

std::string CChannelTableRules::AmpUnit(const std::string& range) {
    const std::string_view text = SkipBlanks(range);
    const std::size_t end = text.find_first_not_of("0123456789.");
    return end == std::string_view::npos ? std::string() : std::string(text.substr(end));
}

bool CChannelTableRules::CheckFreeText(const std::string& text, IPrompt& prompt) {
    const std::size_t bad = text.find_first_of(kRefusedChars);
    if (bad == std::string::npos)
        return true;
    prompt.MessageBox(FormatText("You can not use \"%c\" charactor", text[bad]), PromptIcon::Stop);
    return false;
}

bool CChannelTableRules::SpreadsToSelectedRows(int column) {
    return column == Col::kRange || column == Col::kFilter || column == Col::kTrg ||
           column == Col::kPhyUnit;
}

CChannelTableRules::CChannelTableRules(CRecCnd& condition, int balWarnPercent,
                                       std::vector<std::string> units)
    : m_condition(condition), m_balWarnPercent(balWarnPercent), m_units(std::move(units)) {
    // The background alternates each time the slot number changes from one row to the next.
    std::uint32_t colour = kSlotColour1;
    std::optional<int> lastSlot;
    auto add = [&](CChCnd& ch, bool calc) {
        if (lastSlot && *lastSlot != ch.m_slot)
            colour = colour == kSlotColour1 ? kSlotColour2 : kSlotColour1;
        lastSlot = ch.m_slot;
        m_rows.push_back(Row{&ch, calc, colour});
    };
    for (CChCnd& ch : m_condition.m_channels)
        add(ch, false);
    if (m_condition.m_calc != 0) {
        for (CCalcChCnd& calc : m_condition.m_calcChannels)
            add(calc, true);
    }
}

const CChannelTableRules::Row* CChannelTableRules::FindRow(int row) const {
    if (row < 1 || row > static_cast<int>(m_rows.size()))
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row - 1)];
}

CChCnd* CChannelTableRules::RowChannel(int row) const {
    const Row* found = FindRow(row);
    return found ? found->channel : nullptr;
}

bool CChannelTableRules::IsCalcRow(int row) const {
    const Row* found = FindRow(row);
    return found && found->calc;
}

std::int32_t CChannelTableRules::RowTypeCode(int row) const {
    const Row* found = FindRow(row);
    return found ? m_condition.GetSlotOf(*found->channel).m_typeCode : 0;
}

std::string CChannelTableRules::HeaderText(int column) const {
    if (column < 0 || column >= Col::kCount)
        return {};
    const std::string header(kColumns[static_cast<std::size_t>(column)].header);
    const bool hddLevel = m_condition.m_hddLvlTrg != 0;
    return hddLevel && (column == Col::kTrg || column == Col::kTrgV) ? "H_" + header : header;
}

TableCell CChannelTableRules::GetCell(int row, int column) const {
    const Row* found = FindRow(row);
    if (!found || column < 0 || column >= Col::kCount)
        return {};
    TableCell cell = column == Col::kModuleType ? ModuleCell(*found)
                     : found->calc              ? CalcCell(*found, column)
                                                : ChannelCell(*found, column);
    cell.align = kColumns[static_cast<std::size_t>(column)].align;
    cell.backColour = found->colour;
    return cell;
}

TableCell CChannelTableRules::ModuleCell(const Row& row) const {
    const CChCnd& ch = *row.channel;
    const CSlotInfo& slot = m_condition.GetSlotOf(ch);
    TableCell cell;
    cell.icon = row.calc ? kCalcIcon : IconIndex(slot.m_typeCode);
    if (slot.m_partNo.empty()) {
        cell.text = "<unknown>";
    } else if (slot.m_typeCode == ModuleType::kCanK || slot.m_typeCode == ModuleType::kCanG) {
        cell.text = slot.m_partNo +
                    FormatText("  %d-%d(%d)", ch.m_slot, ch.m_channel + 1, ch.m_wordsPerSample);
    } else {
        cell.text = slot.m_partNo + FormatText("  %d-%d", ch.m_slot, ch.m_channel + 1);
    }
    return cell;
}

TableCell CChannelTableRules::ChannelCell(const Row& row, int column) const {
    const CChCnd& ch = *row.channel;
    const std::int32_t type = m_condition.GetSlotOf(ch).m_typeCode;
    switch (column) {
    case Col::kChannels:
        return CheckCell(FormatText("Ch%d", DisplayNumber(ch)), ch.m_enabled != 0);
    case Col::kSignalName:
        return Editable(ch.m_name);
    case Col::kRange:
        return RangeCell(ch, type);
    case Col::kFilter:
        return FilterCell(ch, type);
    case Col::kBal:
        return BalanceCell(ch);
    case Col::kMon:
        return CheckCell({}, ch.m_visible != 0);
    case Col::kTrg:
        return TriggerCell(ch, type);
    case Col::kTrgV:
        return TriggerValueCell(ch, type);
    case Col::kPhyUnit: {
        TableCell cell = ChoiceCell(ch.m_phyUnit, m_units);
        cell.freeText = true;
        return cell;
    }
    case Col::kScaleMax:
        return Editable(FormatValue(ch.m_sepChartScale.m_max) + ch.m_phyUnit);
    case Col::kScaleMin:
        return Editable(FormatValue(ch.m_sepChartScale.m_min) + ch.m_phyUnit);
    case Col::kMaterialId:
        return Editable(ch.m_mat[0].empty() && ch.m_mat[1].empty()
                            ? std::string()
                            : ch.m_mat[0] + "_" + ch.m_mat[1]);
    case Col::kMemo:
        return Editable(ch.m_memo);
    default:
        return CalibrationCell(ch, type, column);
    }
}

TableCell CChannelTableRules::CalcCell(const Row& row, int column) const {
    const CCalcChCnd& calc = static_cast<const CCalcChCnd&>(*row.channel);
    const bool inUse = calc.m_function >= 0 &&
                       calc.m_function < static_cast<int>(ConditionTables::kCalcFunctions.size());
    switch (column) {
    case Col::kChannels:
        return CheckCell(FormatText("Ch%d", DisplayNumber(calc)), calc.m_enabled != 0);
    case Col::kSignalName:
        return ReadOnly(inUse ? calc.m_name : TableText(kNone));
    case Col::kRange:
        return ReadOnly(inUse ? calc.m_range : TableText(kNone));
    case Col::kPhyUnit:
        return ReadOnly(inUse ? calc.m_phyUnit : TableText(kNone));
    case Col::kFilter:
        return ReadOnly(FormatText(
            "%s,%lu,%lu", TableText(ConditionTables::kCalcFunctions, calc.m_function).c_str(),
            static_cast<unsigned long>(calc.m_param[0]),
            static_cast<unsigned long>(calc.m_param[1])));
    case Col::kMon:
        return CheckCell({}, calc.m_visible != 0);
    case Col::kScaleMax:
    case Col::kScaleMin:
    case Col::kMemo:
        return ChannelCell(row, column);
    default:
        return ReadOnly(TableText(kNone));
    }
}

TableCell CChannelTableRules::RangeCell(const CChCnd& ch, std::int32_t type) const {
    std::vector<std::string> ranges;
    m_condition.GetSlotOf(ch).GetRangesForChannel(ch.m_channel, ranges);
    if (!ranges.empty())
        return ChoiceCell(ch.m_range, std::move(ranges));
    if (type == ModuleType::kDigitalInput)
        return Editable(FormatText("%04X", static_cast<unsigned>(ch.m_diMask)));
    if (type == ModuleType::kCanK || type == ModuleType::kCanG)
        return ReadOnly(TableText(kValueTypes, ch.m_dataType));
    return ReadOnly(ch.m_range);
}

TableCell CChannelTableRules::FilterCell(const CChCnd& ch, std::int32_t type) const {
    if (type == ModuleType::kFrequency) {
        // Edited in its own dialog, never in place.
        return ReadOnly(FormatText("%s,%d,%d,%s",
                                   TableText(ConditionTables::kFvInputs, ch.m_fvInput).c_str(),
                                   ch.m_fvDivider, ch.m_fvSmoothing,
                                   TableText(ConditionTables::kFvModes, ch.m_fvMode).c_str()));
    }
    const std::vector<std::string>& filters = m_condition.GetSlotOf(ch).m_filters;
    if (filters.empty())
        return ReadOnly(TableText(kNone));
    return ChoiceCell(ch.m_filter, filters);
}

TableCell CChannelTableRules::BalanceCell(const CChCnd& ch) const {
    if (ch.m_balanceResidual == CChCnd::kNoResidual)
        return ReadOnly(TableText(kNone));
    const double percent = ch.m_balanceResidual * 0.004;
    TableCell cell = ReadOnly(FormatText("%4.2f", percent));
    if (std::fabs(percent) >= m_balWarnPercent) {
        cell.text += " *";
        cell.textColour = kWarnColour;
    }
    return cell;
}

TableCell CChannelTableRules::TriggerCell(const CChCnd& ch, std::int32_t type) const {
    const bool hddLevel = m_condition.m_hddLvlTrg != 0;
    if (HasNoTrigger(type, hddLevel))
        return ReadOnly(TableText(kNone));
    if (hddLevel)
        return ChoiceCell(TableText(ConditionTables::kTriggerModes, ch.m_hddLvlTrg),
                          ToList(ConditionTables::kTriggerModes));
    return ChoiceCell(TableText(kOnOff[ch.m_lvlStTrg != 0 ? 1 : 0]), ToList(kOnOff));
}

TableCell CChannelTableRules::TriggerValueCell(const CChCnd& ch, std::int32_t type) const {
    const bool hddLevel = m_condition.m_hddLvlTrg != 0;
    if (HasNoTrigger(type, hddLevel))
        return ReadOnly(TableText(kNone));
    if (hddLevel)
        return Editable(FormatValue(ch.m_hddLvlVal));
    if (type == ModuleType::kDigitalInput)
        return Editable(FormatText("%04X", static_cast<unsigned>(DigitalLevel(ch))));
    const double amp = ch.GetRangeValue() * ch.m_lvlStTrgVal * 0.01;
    return Editable(FormatValue(ch.AmpToPhys(amp)) +
                    FormatText("(%d%%)", WholePercent(ch.m_lvlStTrgVal)));
}

TableCell CChannelTableRules::CalibrationCell(const CChCnd& ch, std::int32_t type,
                                              int column) const {
    if (ModuleType::IsCanType(type)) {
        if (column == Col::kCalVal1) {
            // The factor that also scales calibration samples of such a channel.
            const double factor =
                ch.IsCanType() ? ch.m_canFactor : ch.GetRangeValue() * CChCnd::kRangePerCount;
            return ReadOnly(FormatValue(factor));
        }
        if (column == Col::kCalVal2)
            return ReadOnly(FormatValue(ch.GetAmpOffset()));
        return ReadOnly(TableText(kNone));
    }
    const double value = CalibrationField(ch, column);
    return Editable(FormatValue(value) + (IsAmplifierColumn(column) ? AmpUnit(ch.m_range) : ""));
}

bool CChannelTableRules::ApplyText(int row, int column, const std::string& text, IPrompt& prompt) {
    const Row* found = FindRow(row);
    if (!found || column == Col::kMaterialId)
        return false; // the material fields are shown but not stored from the table
    const TableCell cell = GetCell(row, column);
    if (!cell.editable)
        return false;
    std::string value = text;
    if (cell.kind == TableCellKind::Choice && !cell.freeText) {
        const std::optional<std::string> choice = FindChoice(cell.choices, text);
        if (!choice)
            return false; // a pasted text that is not on the list
        value = *choice;
    }
    return StoreText(*found->channel, RowTypeCode(row), column, value, prompt);
}

bool CChannelTableRules::StoreText(CChCnd& ch, std::int32_t type, int column,
                                   const std::string& text, IPrompt& prompt) {
    const bool hddLevel = m_condition.m_hddLvlTrg != 0;
    switch (column) {
    case Col::kSignalName:
    case Col::kPhyUnit:
    case Col::kMemo:
        if (!CheckFreeText(text, prompt))
            return false;
        (column == Col::kSignalName ? ch.m_name
         : column == Col::kPhyUnit  ? ch.m_phyUnit
                                    : ch.m_memo) = text;
        return true;
    case Col::kRange:
        if (!StoreRange(ch, type, text))
            return false;
        m_condition.m_sendPending = 1;
        return true;
    case Col::kFilter:
        ch.m_filter = text;
        m_condition.m_sendPending = 1;
        return true;
    case Col::kTrg:
        if (hddLevel) {
            const auto& modes = ConditionTables::kTriggerModes;
            const auto at = std::ranges::find(modes, text);
            ch.m_hddLvlTrg = at == modes.end() ? 0 : static_cast<std::int32_t>(at - modes.begin());
        } else {
            ch.m_lvlStTrg = EqualNoCase(text, "ON") ? 1 : 0;
            m_condition.m_sendPending = 1;
        }
        return true;
    case Col::kTrgV:
        if (!StoreTriggerValue(ch, type, text))
            return false;
        if (!hddLevel)
            m_condition.m_sendPending = 1;
        return true;
    case Col::kScaleMax:
    case Col::kScaleMin:
        return StoreScale(ch, column, text);
    default:
        if (!IsCalibrationColumn(column))
            return false;
        if (const std::optional<double> number = ReadNumber(text)) {
            CalibrationField(ch, column) = *number;
            return true;
        }
        return false;
    }
}

bool CChannelTableRules::StoreRange(CChCnd& ch, std::int32_t type, const std::string& text) {
    if (type == ModuleType::kDigitalInput) {
        const std::optional<std::uint16_t> mask = ReadHex16(text);
        if (mask)
            ch.m_diMask = *mask;
        return mask.has_value();
    }
    const std::string oldUnit = AmpUnit(ch.m_range);
    ch.SetRange(text);
    const std::string newUnit = AmpUnit(ch.m_range);
    if (!EqualNoCase(oldUnit, newUnit)) {
        ResetCalibration(ch);
        ch.m_phyUnit = newUnit;
    }
    return true;
}

bool CChannelTableRules::StoreTriggerValue(CChCnd& ch, std::int32_t type, const std::string& text) {
    if (m_condition.m_hddLvlTrg != 0) {
        const std::optional<double> number = ReadNumber(text);
        if (number)
            ch.m_hddLvlVal = *number;
        return number.has_value();
    }
    // The recorder keeps the level as a percentage of full scale, within 0..100.
    if (type == ModuleType::kDigitalInput) {
        const std::optional<std::uint16_t> count = ReadHex16(text);
        if (count)
            ch.m_lvlStTrgVal = std::clamp(*count * 100.0 / CChCnd::kFullScaleCounts, 0.0, 100.0);
        return count.has_value();
    }
    const std::optional<double> number = ReadNumber(text);
    const double fullScale = ch.GetRangeValue();
    if (!number || fullScale == 0.0)
        return false;
    const double percent = PhysToAmp(ch, *number) / fullScale * 100.0;
    ch.m_lvlStTrgVal = std::clamp(percent, 0.0, 100.0);
    return true;
}

bool CChannelTableRules::StoreScale(CChCnd& ch, int column, const std::string& text) {
    const std::optional<double> number = ReadNumber(text);
    CScale& scale = ch.m_sepChartScale;
    if (!number)
        return false;
    if (column == Col::kScaleMax) {
        if (!(*number > scale.m_min))
            return false;
        scale.m_max = *number;
    } else {
        if (!(*number < scale.m_max))
            return false;
        scale.m_min = *number;
    }
    scale.m_div = Step125((scale.m_max - scale.m_min) / 5);
    return true;
}

std::vector<int> CChannelTableRules::ApplyToRows(int row, int column, const std::string& text,
                                                 const std::vector<int>& rows, IPrompt& prompt) {
    std::vector<int> taken;
    if (!SpreadsToSelectedRows(column))
        return taken;
    for (int other : rows) {
        if (other == row || !RowChannel(other) || IsCalcRow(other))
            continue;
        const TableCell cell = GetCell(other, column);
        if (cell.kind != TableCellKind::Choice || !cell.editable)
            continue;
        const std::optional<std::string> choice = FindChoice(cell.choices, text);
        if (choice && StoreText(*RowChannel(other), RowTypeCode(other), column, *choice, prompt))
            taken.push_back(other);
    }
    return taken;
}

bool CChannelTableRules::ApplyCheck(int row, int column, bool checked) {
    CChCnd* ch = RowChannel(row);
    if (!ch)
        return false;
    if (column == Col::kChannels) {
        ch->m_enabled = checked ? 1 : 0;
        // The sample frame of the recorder changes with it.
        if (!IsCalcRow(row))
            m_condition.m_sendPending = 1;
        return true;
    }
    if (column == Col::kMon) {
        ch->m_visible = checked ? 1 : 0;
        return true;
    }
    return false;
}
