// The XCP commands of a recorder's K modules outside the CAN setting dialog: "XCP Set", which
// sends XCP to every K module, and the lines of the "CANK XCP Status" window.
#pragma once

#include <string>
#include <vector>

class CDevice;
class IPrompt;

class CXcpCommands {
public:
    // The status shown for a module whose query failed.
    static constexpr int kFailedStatus = 65535;
    // U+3000 in UTF-8: the full-width blank between a status number and its words.
    static constexpr const char* kIdeographicSpace = "\xE3\x80\x80";

    explicit CXcpCommands(CDevice& device);

    // Slots 1 to 8 that hold a K module, in slot order.
    static std::vector<int> FindCanKSlots(const CDevice& device);
    // The commands need a connected recorder with a K module.
    static bool CanRun(const CDevice& device);

    const std::vector<int>& GetSlots() const { return m_slots; }
    // XCP send to every K module in slot order. The first failure ends it: the device has shown
    // a refusal, a lost delivery stays silent. All accepted: `prompt` says "XCP Setting OK!".
    bool SetXcp(IPrompt& prompt);
    // One line per K module with its XCP status as the module reports it now.
    std::vector<std::string> ReadStatusLines();

    // "0 Non XCP", "1 XCP" / "2 XCP" / "3 XCP" with their words, or the number alone.
    static std::string StatusText(int status);
    // "Slot%d CAN_K  ---  %s " with the status text.
    static std::string StatusLine(int slot, int status);

private:
    CDevice& m_device;
    std::vector<int> m_slots;
};
