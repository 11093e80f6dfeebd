// Fuzz target of the calibration template reader. Beyond not crashing: a file that is refused
// changes no channel, and a file that is taken exports a template that reads back to the same
// template (once the written precision has rounded the values).
#include "FuzzLines.h"

#include "conditions/RecCnd.h"
#include "setup/CalTemplate.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void AddSlot(CRecCnd& cnd, int n, int type, const std::vector<std::string>& ranges) {
    CSlotInfo& slot = cnd.m_slots[static_cast<std::size_t>(n - 1)];
    slot.m_partNo = "QA-80F";
    slot.m_typeCode = type;
    slot.m_chCount = static_cast<std::uint16_t>(ranges.size());
    for (std::size_t c = 0; c < ranges.size(); ++c) {
        CChCnd ch;
        ch.m_ampCode = type;
        ch.m_slot = static_cast<std::int16_t>(n);
        ch.m_channel = static_cast<std::int16_t>(c);
        ch.m_enabled = 1;
        ch.SetRange(ranges[c]);
        cnd.m_channels.push_back(ch);
    }
}

// Two units: voltage, strain, temperature and a CAN module with a two-word signal.
std::vector<CRecCnd> Units() {
    std::vector<CRecCnd> units(2);
    AddSlot(units[0], 1, 2, {"10V", "500mV"});
    AddSlot(units[1], 1, 2, {"10V", "1V", "500mV"});
    AddSlot(units[1], 2, 10, {""});
    units[1].m_channels.back().SetDataType(3);
    AddSlot(units[1], 3, 3, {"2000uST"});
    AddSlot(units[1], 5, 4, {"100DEG"});
    return units;
}

std::string Text(const std::vector<CRecCnd>& units) {
    std::string text;
    for (const CRecCnd& unit : units) {
        TextLines lines;
        unit.FormatLines(lines);
        for (const std::string& line : lines)
            text += line + "\n";
    }
    return text;
}

// Values far beyond any physical quantity, or points almost on top of each other, make the
// derived fields (AMP, ZERO_CAL, COEFF) overflow; the reader refuses such a file by design.
bool Moderate(const CRecCnd& unit, const TextLines& exported) {
    for (const CChCnd& ch : unit.m_channels) {
        for (const double value : {ch.m_phy1, ch.m_amp1, ch.m_phy0, ch.m_amp0}) {
            if (!(std::fabs(value) < 1e9))
                return false;
        }
    }
    for (const std::string& line : exported) {
        if (line.find("inf") != std::string::npos || line.find("nan") != std::string::npos)
            return false;
    }
    return true;
}

void CheckRoundTrip(std::vector<CRecCnd> units) {
    TextLines first;
    CCalTemplate::FormatLines(units, 1, first);
    if (!Moderate(units[1], first))
        return;
    if (!CCalTemplate::ApplyLines(units, {1}, first).empty())
        __builtin_trap();
    TextLines second;
    CCalTemplate::FormatLines(units, 1, second);
    if (!CCalTemplate::ApplyLines(units, {1}, second).empty())
        __builtin_trap();
    TextLines third;
    CCalTemplate::FormatLines(units, 1, third);
    if (third != second)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TextLines lines = ToLines(std::string(reinterpret_cast<const char*>(data), size));
    for (const std::vector<int>& targets : {std::vector<int>{1}, std::vector<int>{0, 1}}) {
        std::vector<CRecCnd> units = Units();
        const std::string before = Text(units);
        if (!CCalTemplate::ApplyLines(units, targets, lines).empty()) {
            if (Text(units) != before)
                __builtin_trap();
            continue;
        }
        CheckRoundTrip(units);
    }
    return 0;
}
