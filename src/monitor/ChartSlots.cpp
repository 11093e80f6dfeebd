#include "monitor/ChartSlots.h"

#include "conditions/RecCnd.h"

#include <algorithm>

namespace ChartSlots {

namespace {

template <typename Test> bool AnyEnabled(const std::vector<CRecCnd>& conditions, Test test) {
    for (const CRecCnd& condition : conditions) {
        for (const CChCnd& channel : condition.m_channels) {
            if (channel.m_enabled && test(channel))
                return true;
        }
        if (!condition.m_calc)
            continue;
        for (const CCalcChCnd& calc : condition.m_calcChannels) {
            if (calc.m_enabled && test(calc))
                return true;
        }
    }
    return false;
}

} // namespace

bool IsEnabled(const std::vector<CRecCnd>& conditions, int slot) {
    if (conditions.size() != 1)
        return false;
    const auto& channels = conditions.front().m_channels;
    return std::any_of(channels.begin(), channels.end(), [slot](const CChCnd& channel) {
        return channel.m_slot == slot && channel.m_enabled;
    });
}

bool IsChecked(const std::vector<CRecCnd>& conditions, int slot) {
    for (const CRecCnd& condition : conditions) {
        for (const CChCnd& channel : condition.m_channels) {
            if (channel.m_slot == slot && channel.m_visible)
                return true;
        }
    }
    return false;
}

bool Toggle(std::vector<CRecCnd>& conditions, int slot) {
    if (conditions.size() > 1)
        return false;
    const int visible = IsChecked(conditions, slot) ? 0 : 1;
    for (CRecCnd& condition : conditions) {
        for (CChCnd& channel : condition.m_channels) {
            if (channel.m_slot == slot)
                channel.m_visible = visible;
        }
    }
    return true;
}

bool AnyValueBox(const std::vector<CRecCnd>& conditions) {
    return AnyEnabled(
        conditions, [](const CChCnd& channel) { return channel.m_visible && channel.m_valueBox; });
}

bool AnyVisible(const std::vector<CRecCnd>& conditions) {
    return AnyEnabled(conditions, [](const CChCnd& channel) { return channel.m_visible != 0; });
}

} // namespace ChartSlots
