#include "monitor/MonitorChannels.h"

#include "conditions/ConditionTables.h"
#include "conditions/RecCnd.h"
#include "conditions/TextNumbers.h"

namespace {

MonitorChannel Describe(CChCnd& channel, int index, int recorder, bool calc,
                        const std::string& prefix) {
    MonitorChannel described;
    described.index = index;
    described.recorder = recorder;
    described.condition = &channel;
    described.calc = calc;
    described.number = MonitorChannelNumber(channel);
    described.name =
        prefix + FormatText("%s(Ch%d)", channel.GetDisplayName().c_str(), described.number);
    return described;
}

} // namespace

std::vector<MonitorChannel> EnumerateMonitorChannels(std::vector<CRecCnd>& conditions) {
    std::vector<MonitorChannel> channels;
    int index = 0;
    for (std::size_t r = 0; r < conditions.size(); ++r) {
        CRecCnd& condition = conditions[r];
        std::string prefix;
        if (conditions.size() > 1)
            prefix = condition.m_sync == ConditionTables::kSyncMaster ? "(M)" : "(S)";
        const int recorder = static_cast<int>(r);
        for (CChCnd& channel : condition.m_channels) {
            if (channel.m_enabled)
                channels.push_back(Describe(channel, index++, recorder, false, prefix));
        }
        if (!condition.m_calc)
            continue;
        for (CCalcChCnd& calc : condition.m_calcChannels) {
            if (calc.m_enabled)
                channels.push_back(Describe(calc, index++, recorder, true, prefix));
        }
    }
    return channels;
}

int MonitorChannelNumber(const CChCnd& channel) {
    if (channel.m_monitorNo > 0)
        return channel.m_monitorNo;
    return static_cast<std::int16_t>(
        ReadWholeNumber(FormatText("%d%d", channel.m_slot, channel.m_channel)));
}

std::string MonitorChannelUnit(const CChCnd& channel) {
    if (!channel.m_phyUnit.empty())
        return channel.m_phyUnit;
    const std::string& range = channel.m_range;
    std::size_t pos = range.find_first_not_of(' ');
    if (pos == std::string::npos)
        return {};
    pos = range.find_first_not_of("0123456789.+-", pos);
    return pos == std::string::npos ? std::string() : range.substr(pos);
}
