// One module slot of a recorder: the module's part number, type and what it offers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CSlotInfo {
public:
    std::string m_partNo; // empty means no module
    std::int32_t m_typeCode = 0;
    std::uint16_t m_chCount = 0;
    std::vector<std::string> m_ranges;
    std::vector<std::string> m_filters;

    void Reset();
    bool IsEmpty() const { return m_partNo.empty() || m_typeCode == 0; }

    // " %s,%d,%d" with optional ",RANGE=" and ",FILTER=" lists; empty for an empty slot.
    std::string FormatSlotLine() const;
    void ParseSlotLine(const std::string& text);

    // The ranges a channel (0-based) may take. Frequency modules list per-channel sections:
    // a head "a-b" or "a" (1-based channels) followed by its ranges.
    void GetRangesForChannel(int channel, std::vector<std::string>& ranges) const;

    bool operator==(const CSlotInfo&) const = default;
};
