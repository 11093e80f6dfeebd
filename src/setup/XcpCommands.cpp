#include "setup/XcpCommands.h"

#include "conditions/ConditionTables.h"
#include "conditions/TextNumbers.h"
#include "device/Device.h"
#include "framework/Prompt.h"

namespace {

constexpr int kNonXcp = 0;
constexpr int kSentCompletely = 3;

} // namespace

CXcpCommands::CXcpCommands(CDevice& device) : m_device(device), m_slots(FindCanKSlots(device)) {}

std::vector<int> CXcpCommands::FindCanKSlots(const CDevice& device) {
    std::vector<int> slots;
    for (int slot = 1; slot <= CDevice::kSlotCount; ++slot) {
        if (device.GetSlots()[static_cast<std::size_t>(slot - 1)].m_typeCode == ModuleType::kCanK)
            slots.push_back(slot);
    }
    return slots;
}

bool CXcpCommands::CanRun(const CDevice& device) {
    return device.IsConnected() && device.HasModuleOfType(ModuleType::kCanK);
}

bool CXcpCommands::SetXcp(IPrompt& prompt) {
    for (int slot : m_slots) {
        if (!m_device.SendXcp(slot))
            return false;
    }
    prompt.MessageBox("XCP Setting OK!", PromptIcon::Information);
    return true;
}

std::vector<std::string> CXcpCommands::ReadStatusLines() {
    std::vector<std::string> lines;
    lines.reserve(m_slots.size());
    for (int slot : m_slots) {
        int status = 0;
        if (!m_device.GetXcpStatus(slot, status))
            status = kFailedStatus;
        lines.push_back(StatusLine(slot, status));
    }
    return lines;
}

std::string CXcpCommands::StatusText(int status) {
    if (status == kNonXcp)
        return "0 Non XCP";
    if (status > kNonXcp && status < kSentCompletely)
        return FormatText("%d XCP", status) + kIdeographicSpace + "time out";
    if (status == kSentCompletely)
        return std::string("3 XCP") + kIdeographicSpace + "Send completely";
    return FormatText("%d", status);
}

std::string CXcpCommands::StatusLine(int slot, int status) {
    return FormatText("Slot%d CAN_K  ---  %s ", slot, StatusText(status).c_str());
}
