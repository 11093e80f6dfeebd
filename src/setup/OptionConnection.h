// The rules of the recorder choice after a scan ("Select Connection") and of the recorder
// address setting ("Config IP Addres").
#pragma once

#include "acquisition/RecorderList.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using ConnectionTicks = std::vector<bool>;

// Every row starts ticked when several recorders may share a document, only the first otherwise.
ConnectionTicks InitialConnectionTicks(std::size_t rows, bool multiRecorder);

// Ticks or unticks one row. With `singleChoice` a tick clears every other row, for callers that
// can use only one recorder.
void SetConnectionTick(ConnectionTicks& ticks, std::size_t row, bool ticked, bool singleChoice);

// OK is allowed only while a row is ticked.
bool CanAcceptConnectionTicks(const ConnectionTicks& ticks);

// The ticked recorders, in list order.
std::vector<RecorderEntry> KeepTickedRecorders(const std::vector<RecorderEntry>& recorders,
                                               const ConnectionTicks& ticks);

// The presets of the address dialog.
inline constexpr const char* kDefaultRecorderAddress = "192.168.1.201";
inline constexpr const char* kDefaultAddressMask = "255.255.255.0";
inline constexpr const char* kDefaultGateway = "192.168.1.1";

using DottedAddress = std::array<int, 4>;

// Four numbers 0-255 separated by "."; blanks around the numbers are allowed.
std::optional<DottedAddress> ParseDottedAddress(std::string_view text);
std::string FormatDottedAddress(const DottedAddress& address);
