// The driver of a relay output module: eight output ports switched low or high.
#pragma once

#include <string>

class IRelayOutput {
public:
    virtual ~IRelayOutput() = default;
    // Opens the module of that name; false when it is not there.
    virtual bool Open(const std::string& device) = 0;
    // Port 0..7, level 0 (low) or 1 (high); false when the module did not take it.
    virtual bool SetPort(int port, int level) = 0;
    virtual void Close() = 0;
};
