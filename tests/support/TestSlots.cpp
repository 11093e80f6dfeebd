#include "support/TestSlots.h"

void AddTestSlot(CRecCnd& cnd, int n, const std::string& partNo, int type, int count,
                 std::vector<std::string> ranges, std::vector<std::string> filters,
                 const std::function<bool(int channel)>& enabled, bool cycleRanges) {
    CSlotInfo& slot = cnd.m_slots[static_cast<std::size_t>(n - 1)];
    slot.m_partNo = partNo;
    slot.m_typeCode = type;
    slot.m_chCount = static_cast<std::uint16_t>(count);
    slot.m_ranges = std::move(ranges);
    slot.m_filters = std::move(filters);
    for (int c = 0; c < count; ++c) {
        CChCnd ch;
        ch.m_ampCode = type;
        ch.m_slot = static_cast<std::int16_t>(n);
        ch.m_channel = static_cast<std::int16_t>(c);
        ch.m_enabled = enabled(c) ? 1 : 0;
        std::vector<std::string> offered;
        slot.GetRangesForChannel(c, offered);
        if (!offered.empty())
            ch.SetRange(cycleRanges ? offered[static_cast<std::size_t>(c) % offered.size()]
                                    : offered.front());
        cnd.m_channels.push_back(ch);
    }
}
