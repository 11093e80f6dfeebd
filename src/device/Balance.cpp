// Balance channel lists, residual replies and the stored channel selection.
#include "device/Balance.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "device/ModuleReply.h"
#include "framework/SettingsStore.h"

#include <cstdint>

namespace {

std::string TrimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// One "slot-channel:hex" item; false when the ":" or either side of the "-" is missing.
bool ParseResidualItem(const std::string& item, int& slot, int& channel, std::int32_t& residual) {
    const std::size_t colon = item.find(':');
    if (colon == std::string::npos)
        return false;
    const std::size_t dash = item.find('-');
    if (dash == std::string::npos || dash == 0 || dash + 1 >= colon)
        return false;
    slot = ReadInt32(item.substr(0, dash));
    channel = ReadInt32(item.substr(dash + 1, colon - dash - 1));
    residual = static_cast<std::int32_t>(ReadHex(item.substr(colon + 1)));
    return true;
}

} // namespace

bool IsChannelSelected(const ChannelSelection* selection, std::size_t position) {
    return selection == nullptr || position >= selection->size() || (*selection)[position] != 0;
}

bool SelectsAnyChannel(const CRecCnd& condition, const ChannelSelection* selection) {
    for (std::size_t i = 0; i < condition.m_channels.size(); ++i) {
        if (IsChannelSelected(selection, i))
            return true;
    }
    return false;
}

std::string BuildBalanceChannelList(const CRecCnd& condition, const ChannelSelection* selection) {
    std::string list;
    if (selection == nullptr)
        return list;
    for (std::size_t i = 0; i < condition.m_channels.size(); ++i) {
        if (!IsChannelSelected(selection, i))
            continue;
        const CChCnd& channel = condition.m_channels[i];
        if (!list.empty())
            list += ',';
        list += FormatText("%d-%d", channel.m_slot, channel.m_channel + 1);
    }
    return list;
}

bool ParseBalanceReply(const std::string& reply, CRecCnd& condition,
                       const ChannelSelection* selection) {
    for (std::size_t i = 0; i < condition.m_channels.size(); ++i) {
        if (IsChannelSelected(selection, i))
            condition.m_channels[i].m_balanceResidual = CChCnd::kNoResidual;
    }
    TextLines items;
    CTextFile::SplitText(items, ",", reply);
    for (const std::string& rawItem : items) {
        const std::string item = TrimBlanks(rawItem);
        if (item.empty())
            break;
        int slot = 0;
        int channel = 0;
        std::int32_t residual = 0;
        if (!ParseResidualItem(item, slot, channel, residual))
            return false;
        if (CChCnd* found = condition.FindChannel(slot, channel - 1).second)
            found->m_balanceResidual = residual;
    }
    return true;
}

ChannelSelection LoadBalanceSelection(const ISettingsStore& settings, std::size_t channelCount) {
    const std::string text = settings.GetString(kBalanceSelSection, kBalanceSelKey, "");
    TextLines flags;
    if (!text.empty())
        CTextFile::SplitText(flags, ",", text);
    if (flags.size() != channelCount)
        return ChannelSelection(channelCount, 0);
    ChannelSelection selection;
    for (const std::string& flag : flags)
        selection.push_back(ReadInt32(flag) != 0 ? 1 : 0);
    return selection;
}

void StoreBalanceSelection(ISettingsStore& settings, const ChannelSelection& selection) {
    std::string text;
    for (std::size_t i = 0; i < selection.size(); ++i) {
        if (i > 0)
            text += ',';
        text += selection[i] != 0 ? "1" : "0";
    }
    settings.WriteString(kBalanceSelSection, kBalanceSelKey, text);
}
