// Balance of bridge channels: which channels take part, the channel list sent to the recorder,
// the residual reply read back, and the selection the balance dialog keeps in the settings.
#pragma once

#include "conditions/RecCnd.h"

#include <cstddef>
#include <string>
#include <vector>

class ISettingsStore;

// Flags by channel-list position; a missing selection, or a position beyond it, selects.
using ChannelSelection = std::vector<int>;

bool IsChannelSelected(const ChannelSelection* selection, std::size_t position);
bool SelectsAnyChannel(const CRecCnd& condition, const ChannelSelection* selection);

// "%d-%d" of slot and 1-based channel for every selected channel, joined with ","; empty
// without a selection, which asks the recorder to balance all its channels.
std::string BuildBalanceChannelList(const CRecCnd& condition, const ChannelSelection* selection);

// Items "slot-channel:hex" separated by ",", read up to the first empty item. Every selected
// channel loses its residual first. False when an item is malformed: the reply is then the
// recorder's error text, and the residuals read before it stay.
bool ParseBalanceReply(const std::string& reply, CRecCnd& condition,
                       const ChannelSelection* selection);

inline constexpr const char* kBalanceSelSection = "CSelChBalDlg_Section";
inline constexpr const char* kBalanceSelKey = "SELCH";

// The stored flags when there are as many as channels, otherwise all channels unselected.
ChannelSelection LoadBalanceSelection(const ISettingsStore& settings, std::size_t channelCount);
void StoreBalanceSelection(ISettingsStore& settings, const ChannelSelection& selection);
