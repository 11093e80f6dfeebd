#include "setup/ChannelTableFvSetting.h"

#include "conditions/RecCnd.h"

#include <algorithm>

namespace {

bool IsPairHead(int channel) {
    return channel == 2 || channel == 4;
}

bool IsPairTail(int channel) {
    return channel == 3 || channel == 5;
}

} // namespace

CChannelTableFvSetting CChannelTableFvSetting::ForChannel(const CRecCnd& condition,
                                                          const CChCnd& channel) {
    CChannelTableFvSetting setting;
    setting.m_input = channel.m_fvInput;
    setting.m_mode = channel.m_fvMode;
    setting.m_divider = channel.m_fvDivider;
    setting.m_smoothing = channel.m_fvSmoothing;
    setting.m_modeChoices = {kModeFr, kModePw, kModePl};
    if (!IsPairHead(channel.m_channel))
        return setting;
    const CChCnd* next = condition.FindChannel(channel.m_slot, channel.m_channel + 1).second;
    if (next && next->m_fvMode == kModePl) {
        setting.m_modeChoices = {kModePw, kModePl};
        setting.m_mode = kModePw;
    } else {
        setting.m_modeChoices = {kModeFr, kModePw};
    }
    return setting;
}

std::vector<CChCnd*> CChannelTableFvSetting::Store(CRecCnd& condition, CChCnd& channel) const {
    std::vector<CChCnd*> changed;
    if (channel.m_fvInput == m_input && channel.m_fvMode == m_mode &&
        channel.m_fvDivider == m_divider && channel.m_fvSmoothing == m_smoothing)
        return changed;
    const bool becamePl = m_mode == kModePl && channel.m_fvMode != kModePl;
    channel.m_fvInput = m_input;
    channel.m_fvMode = m_mode;
    channel.m_fvDivider =
        static_cast<std::int16_t>(std::clamp(m_divider, kDividerMin, kDividerMax));
    channel.m_fvSmoothing =
        static_cast<std::int16_t>(std::clamp(m_smoothing, kSmoothingMin, kSmoothingMax));
    changed.push_back(&channel);
    if (becamePl && IsPairTail(channel.m_channel)) {
        CChCnd* partner = condition.FindChannel(channel.m_slot, channel.m_channel - 1).second;
        if (partner && partner->m_fvMode != kModePw) {
            partner->m_fvMode = kModePw;
            changed.push_back(partner);
        }
    }
    condition.m_sendPending = 1;
    return changed;
}
