#include "conditions/RelayTable.h"

#include "conditions/ConditionTables.h"
#include "conditions/TextNumbers.h"
#include "framework/Prompt.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>

namespace {

// A whole number as the framework's edits take it: blanks around it, an optional sign, digits.
std::optional<std::int64_t> WholeNumber(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::nullopt;
    const std::size_t last = text.find_last_not_of(" \t");
    const std::string trimmed = text.substr(first, last - first + 1);
    const std::size_t digits = trimmed[0] == '-' || trimmed[0] == '+' ? 1 : 0;
    if (digits == trimmed.size() || trimmed.size() - digits > 10 ||
        trimmed.find_first_not_of("0123456789", digits) != std::string::npos)
        return std::nullopt;
    return ReadWholeNumber(trimmed);
}

// The framework's range check of an integer edit; empty when `value` is inside.
std::string CheckRange(const std::optional<std::int64_t>& value, std::int64_t low,
                       std::int64_t high) {
    if (!value)
        return "Please enter an integer.";
    if (*value < low || *value > high)
        return FormatText("Please enter an integer between %lld and %lld.",
                          static_cast<long long>(low), static_cast<long long>(high));
    return {};
}

bool IsRealNumber(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    return first != std::string::npos && std::strchr("+-.0123456789", text[first]) != nullptr &&
           text.find_first_of("0123456789") != std::string::npos;
}

} // namespace

std::vector<int> GetPortLevels(const RelayPortBlock& block) {
    std::vector<int> levels;
    for (std::size_t port = 0; port < block.size() / 4; ++port) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i)
            value = (value << 8) | block[port * 4 + static_cast<std::size_t>(i)];
        levels.push_back(static_cast<int>(static_cast<std::int32_t>(value)));
    }
    return levels;
}

void SetPortLevels(RelayPortBlock& block, const std::vector<int>& levels) {
    for (std::size_t port = 0; port < block.size() / 4 && port < levels.size(); ++port) {
        const auto value = static_cast<std::uint32_t>(levels[port]);
        for (std::size_t i = 0; i < 4; ++i)
            block[port * 4 + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint8_t PortLevelMask(const std::vector<int>& levels) {
    std::uint8_t mask = 0;
    for (std::size_t port = 0; port < 8 && port < levels.size(); ++port) {
        if (levels[port] != 0)
            mask = static_cast<std::uint8_t>(mask | (1u << port));
    }
    return mask;
}

CRelayTable::CRelayTable(const CRecCnd& condition, std::vector<int> portLevels)
    : m_condition(condition), m_settings{condition.m_dogTimer, condition.m_monitorChannels},
      m_portLevels(std::move(portLevels)) {
    m_portLevels.resize(8, 0);
    for (const CChCnd& channel : condition.m_channels) {
        if (channel.m_enabled)
            m_candidates.push_back({channel.m_monitorNo, channel.GetDisplayName()});
    }
    if (condition.m_calc == 0)
        return;
    for (const CCalcChCnd& calc : condition.m_calcChannels) {
        if (calc.m_enabled)
            m_candidates.push_back({calc.m_monitorNo, calc.GetDisplayName()});
    }
}

int CRelayTable::AddRow(std::size_t candidate) {
    if (candidate >= m_candidates.size())
        return -1;
    CMonitorCh monitor;
    monitor.m_channel = m_candidates[candidate].monitorNo;
    monitor.m_signalName = m_candidates[candidate].name;
    m_settings.monitors.push_back(std::move(monitor));
    return RowCount() - 1;
}

bool CRelayTable::DeleteRow(int row) {
    if (row < 0 || row >= RowCount())
        return false;
    m_settings.monitors.erase(m_settings.monitors.begin() + row);
    return true;
}

std::vector<std::string> CRelayTable::RowTexts(int row) const {
    const CMonitorCh& monitor = m_settings.monitors[static_cast<std::size_t>(row)];
    std::vector<std::string> texts = FormatRelayInfoRow(row + 1, monitor, m_portLevels);
    texts.push_back(FormatText("%d", monitor.m_trgTimes));
    texts.push_back(FormatText("%d", monitor.m_countLimit));
    return texts;
}

std::vector<std::string> CRelayTable::LogicChoices() {
    return {ConditionTables::kMonitorConditions.begin(), ConditionTables::kMonitorConditions.end()};
}

std::vector<std::string> CRelayTable::PortChoices() const {
    std::vector<std::string> choices;
    for (int port = 0; port < 8; ++port) {
        CMonitorCh monitor;
        monitor.m_port = port;
        choices.push_back(FormatRelayInfoRow(0, monitor, m_portLevels)[kPort]);
    }
    return choices;
}

bool CRelayTable::EditCell(int row, int column, const std::string& text) {
    if (row < 0 || row >= RowCount())
        return false;
    CMonitorCh& monitor = m_settings.monitors[static_cast<std::size_t>(row)];
    const auto indexIn = [&text](const std::vector<std::string>& choices) {
        const auto found = std::find(choices.begin(), choices.end(), text);
        return found == choices.end() ? -1 : static_cast<int>(found - choices.begin());
    };
    const auto count = [&text](std::int32_t& field) {
        const auto value = WholeNumber(text);
        if (!value || *value < 0 || *value > INT32_MAX)
            return false;
        field = static_cast<std::int32_t>(*value);
        return true;
    };
    switch (column) {
    case kX:
    case kY:
        if (!IsRealNumber(text))
            return false;
        (column == kX ? monitor.m_x : monitor.m_y) = ReadReal(text);
        return true;
    case kLogic:
        if (const int index = indexIn(LogicChoices()); index >= 0) {
            monitor.m_condition = index;
            return true;
        }
        return false;
    case kPort:
        if (const int index = indexIn(PortChoices()); index >= 0) {
            monitor.m_port = index;
            return true;
        }
        return false;
    case kAnd:
        if (text != "0" && text != "1")
            return false;
        monitor.m_and = text == "1" ? 1 : 0;
        return true;
    case kTrgTimes:
        return count(monitor.m_trgTimes);
    case kCntLmt:
        return count(monitor.m_countLimit);
    default:
        return false;
    }
}

std::string CRelayTable::SetDogValues(const std::string& safeTimer, const std::string& trgTimer,
                                      bool recStopOn, const std::string& recStop, bool recStart,
                                      const std::string& autoMonitor) {
    const auto safe = WholeNumber(safeTimer);
    const auto trg = WholeNumber(trgTimer);
    const auto stop = WholeNumber(recStop);
    const auto monitor = WholeNumber(autoMonitor);
    for (const std::string& message :
         {CheckRange(safe, 0, INT32_MAX), CheckRange(trg, 0, INT32_MAX),
          recStopOn ? CheckRange(stop, 0, kRecStopMax) : std::string(),
          CheckRange(monitor, kAutoMonitorMin, kAutoMonitorMax)}) {
        if (!message.empty())
            return message;
    }
    m_settings.dog.safeTimer = static_cast<std::int32_t>(*safe);
    m_settings.dog.trgTimer = static_cast<std::int32_t>(*trg);
    m_settings.dog.recStopTime =
        recStopOn ? static_cast<std::uint32_t>(*stop) : WatchDogSettings::kRecStopOff;
    m_settings.dog.recStart = recStart ? 1 : 0;
    m_settings.dog.autoMonitorTime = static_cast<std::uint32_t>(*monitor);
    return {};
}

bool CRelayTable::Import(const TextLines& lines, IPrompt& prompt) {
    return ImportRelaySettings(lines, m_condition, m_settings, prompt);
}

bool CRelayTable::Export(const std::string& path, IPrompt& prompt) const {
    return ExportRelaySettings(path, m_settings, prompt);
}

void CRelayTable::ApplyTo(CRecCnd& condition) const {
    condition.m_dogTimer = m_settings.dog;
    condition.m_monitorChannels = m_settings.monitors;
}
