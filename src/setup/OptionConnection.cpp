#include "setup/OptionConnection.h"

#include <algorithm>
#include <charconv>

ConnectionTicks InitialConnectionTicks(std::size_t rows, bool multiRecorder) {
    ConnectionTicks ticks(rows, multiRecorder);
    if (!ticks.empty())
        ticks.front() = true;
    return ticks;
}

void SetConnectionTick(ConnectionTicks& ticks, std::size_t row, bool ticked, bool singleChoice) {
    if (row >= ticks.size())
        return;
    if (ticked && singleChoice)
        std::fill(ticks.begin(), ticks.end(), false);
    ticks[row] = ticked;
}

bool CanAcceptConnectionTicks(const ConnectionTicks& ticks) {
    return std::find(ticks.begin(), ticks.end(), true) != ticks.end();
}

std::vector<RecorderEntry> KeepTickedRecorders(const std::vector<RecorderEntry>& recorders,
                                               const ConnectionTicks& ticks) {
    std::vector<RecorderEntry> kept;
    for (std::size_t i = 0; i < recorders.size() && i < ticks.size(); ++i) {
        if (ticks[i])
            kept.push_back(recorders[i]);
    }
    return kept;
}

namespace {

std::optional<int> ParseAddressPart(std::string_view part) {
    const auto first = part.find_first_not_of(' ');
    const auto last = part.find_last_not_of(' ');
    if (first == std::string_view::npos)
        return std::nullopt;
    part = part.substr(first, last - first + 1);
    int value = 0;
    const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (error != std::errc() || end != part.data() + part.size() || value < 0 || value > 255)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<DottedAddress> ParseDottedAddress(std::string_view text) {
    DottedAddress address{};
    for (std::size_t i = 0; i < address.size(); ++i) {
        const auto dot = text.find('.');
        const bool last = i + 1 == address.size();
        if (last != (dot == std::string_view::npos))
            return std::nullopt;
        const std::optional<int> part = ParseAddressPart(text.substr(0, dot));
        if (!part)
            return std::nullopt;
        address[i] = *part;
        text = last ? std::string_view() : text.substr(dot + 1);
    }
    return address;
}

std::string FormatDottedAddress(const DottedAddress& address) {
    std::string text;
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (i > 0)
            text += '.';
        text += std::to_string(address[i]);
    }
    return text;
}
