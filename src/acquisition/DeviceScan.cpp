#include "acquisition/DeviceScan.h"

#include "conditions/TextNumbers.h"
#include "framework/Clock.h"
#include "framework/LinkLibrary.h"
#include "framework/Prompt.h"

namespace {

std::vector<bool> FirstTicked(std::size_t count, bool all) {
    std::vector<bool> ticked(count, all);
    if (!ticked.empty())
        ticked[0] = true;
    return ticked;
}

} // namespace

CDeviceScan::CDeviceScan(ILinkLibrary& link, IPrompt& prompt, const IClock& clock)
    : m_link(link), m_prompt(prompt), m_clock(clock) {}

std::string CDeviceScan::Scan(bool multiRecorder, const SelectRecorders& select) {
    m_prompt.ProgressOpen("", "Scanning Device ...");
    m_prompt.ProgressShowBar(false);
    m_prompt.ProgressShowPercent(false);
    m_prompt.ProgressShowCancel(false);
    if (const int error = m_link.LnkResetWSA(500); error != 0) {
        m_prompt.ProgressClose();
        m_prompt.MessageBox(FormatText("LnkResetWSA failed ! ErrorCode = %d", error),
                            PromptIcon::Stop);
        return {};
    }
    m_prompt.ProgressShowBar(true);
    m_prompt.ProgressShowPercent(true);
    m_prompt.ProgressShowCancel(true);
    m_prompt.ProgressSetRange(0, 100);

    std::vector<RecorderEntry> recorders;
    const std::uint64_t start = m_clock.GetTickCount();
    for (;;) {
        if (m_prompt.ProgressCheckCancel())
            break;
        std::string list;
        if (m_link.LnkScanDevices(list) != 0) {
            recorders = ParseRecorderList(list);
            if (!recorders.empty())
                break;
        }
        const std::uint64_t elapsed = m_clock.GetTickCount() - start;
        if (elapsed >= kScanTimeoutMs)
            break;
        m_prompt.ProgressSetText(FormatText("Scanning Device ...%lu seconds",
                                            static_cast<unsigned long>(elapsed / 1000)));
        m_prompt.ProgressSetPos(static_cast<int>(elapsed * 100 / kScanTimeoutMs));
    }
    m_prompt.ProgressClose();
    if (recorders.size() > 1 && !select(recorders, FirstTicked(recorders.size(), multiRecorder)))
        return {};
    return BuildConnectionText(recorders);
}

bool CDeviceScan::SetIpAddress(const SelectRecorders& select, const EditIpAddress& edit) {
    m_prompt.ProgressOpen("", "Getting IP address ...");
    std::string list;
    const int found = m_link.LnkScanDevices(list);
    m_prompt.ProgressClose();

    std::vector<RecorderEntry> recorders =
        found != 0 ? ParseRecorderList(list) : std::vector<RecorderEntry>{};
    if (recorders.empty()) {
        // Without an answer the address can still be set on the recorder's factory address.
        const char* question =
            found == 0 ? "No device connection! Continue?" : "No Device connection! Continue?";
        if (m_prompt.MessageBox(question, PromptIcon::Stop, PromptButtons::OkCancel) !=
            PromptAnswer::Ok)
            return false;
        recorders = {{"", "192.168.1.201"}};
    } else if (recorders.size() > 1 && !select(recorders, FirstTicked(recorders.size(), false))) {
        return false;
    }
    if (recorders.empty())
        return false;

    IpAddressSetting setting;
    setting.oldAddress = recorders.front().address;
    if (!edit(setting))
        return false;
    m_prompt.ProgressOpen("", "Setting IP address ...");
    const int result =
        m_link.LnkSetIPAddress(setting.oldAddress.substr(0, 50), setting.newAddress.substr(0, 50),
                               setting.mask.substr(0, 50), setting.gateway.substr(0, 50));
    m_prompt.ProgressClose();
    if (result == 1) {
        m_prompt.MessageBox("Setting IP OK!", PromptIcon::Information);
        return true;
    }
    m_prompt.MessageBox("Setting IP failed!", PromptIcon::Stop);
    return false;
}
