// Fuzz target of the material list and relay settings readers: the material file (template and
// comma-separated rules) and the relay settings file's import into a condition. Beyond not
// crashing, what the program wrote must read back as the same: a list or relay file read and
// written once is a fixed point of reading and writing.
#include "conditions/RelayTable.h"
#include "framework/SilentPrompt.h"
#include "monitor/MyMatData.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

TextLines ToLines(const std::string& text) {
    TextLines lines;
    CTextFile::SplitText(lines, "\n", text);
    for (std::string& line : lines) {
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
    }
    return lines;
}

void CheckMaterials(const TextLines& lines, bool commaSeparated) {
    CMyMatData data;
    data.m_commaSeparated = commaSeparated;
    if (!data.ParseLines(lines)) {
        if (!data.m_items.empty() || data.GetRefusedLine() < 1)
            __builtin_trap();
        return;
    }
    // Whatever was read is written as a template, which reads back to the same text.
    TextLines written;
    data.FormatLines(written);
    CMyMatData again;
    if (!again.ParseLines(written) || again.m_items.size() != data.m_items.size())
        __builtin_trap();
    TextLines rewritten;
    again.FormatLines(rewritten);
    CMyMatData third;
    third.ParseLines(rewritten);
    TextLines fixed;
    third.FormatLines(fixed);
    if (fixed != rewritten)
        __builtin_trap();
}

// A condition whose channels the relay files may name: "Force" (1), "1-2" (2) and the
// calculation channel "Sum" (3).
CRecCnd RelayCondition() {
    CRecCnd condition;
    for (int i = 0; i < 2; ++i) {
        CChCnd channel;
        channel.m_slot = 1;
        channel.m_channel = static_cast<std::int16_t>(i);
        channel.m_enabled = 1;
        channel.m_monitorNo = static_cast<std::int16_t>(i + 1);
        condition.m_channels.push_back(channel);
    }
    condition.m_channels[0].m_name = "Force";
    condition.m_calc = 1;
    condition.m_calcChannels[0].m_enabled = 1;
    condition.m_calcChannels[0].m_name = "Sum";
    condition.m_calcChannels[0].m_monitorNo = 3;
    return condition;
}

void CheckRelay(const TextLines& lines) {
    static const CRecCnd condition = RelayCondition();
    CSilentPrompt prompt;
    CRelayTable table(condition, {0, 1});
    const RelaySettings before = table.Settings();
    if (!table.Import(lines, prompt)) {
        if (table.Settings().dog != before.dog ||
            table.Settings().monitors.size() != before.monitors.size())
            __builtin_trap();
        return;
    }
    for (int row = 0; row < table.RowCount(); ++row)
        (void)table.RowTexts(row);
    TextLines written;
    FormatRelaySettingsLines(table.Settings(), written);
    CRelayTable again(condition, {});
    if (!again.Import(written, prompt))
        __builtin_trap();
    TextLines rewritten;
    FormatRelaySettingsLines(again.Settings(), rewritten);
    if (rewritten != written)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TextLines lines = ToLines(text);
    CheckMaterials(lines, false);
    CheckMaterials(lines, true);
    CheckRelay(lines);
    return 0;
}
