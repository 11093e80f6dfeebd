// Finding recorders on the network: the scan that opens a document on the chosen recorders, and
// the address setting of one recorder.
#pragma once

#include "acquisition/RecorderList.h"

#include <functional>
#include <string>
#include <vector>

class IClock;
class ILinkLibrary;
class IPrompt;

// The "Select Connection" choice: gets the found recorders and which rows start ticked; keeps
// the ticked ones and answers false when the user cancelled.
using SelectRecorders =
    std::function<bool(std::vector<RecorderEntry>& recorders, std::vector<bool> ticked)>;

// The four texts of the "Config IP Addres" dialog; false when it was cancelled.
struct IpAddressSetting {
    std::string oldAddress;
    std::string newAddress = "192.168.1.201";
    std::string mask = "255.255.255.0";
    std::string gateway = "192.168.1.1";
};
using EditIpAddress = std::function<bool(IpAddressSetting& setting)>;

class CDeviceScan {
public:
    static constexpr unsigned kScanTimeoutMs = 60000;

    CDeviceScan(ILinkLibrary& link, IPrompt& prompt, const IClock& clock);

    // Scans until a recorder answers (60 s at most, Cancel stops it) and lets the user choose
    // when several answered. The connection text of the chosen recorders, empty for none.
    std::string Scan(bool multiRecorder, const SelectRecorders& select);
    // Asks the recorder list once, lets the user choose a recorder and the new address, and
    // sets it. True when the recorder took the address.
    bool SetIpAddress(const SelectRecorders& select, const EditIpAddress& edit);

private:
    ILinkLibrary& m_link;
    IPrompt& m_prompt;
    const IClock& m_clock;
};
