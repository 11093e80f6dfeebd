// The relay watch-dog of a document: started and stopped from the monitor window while relay
// control is switched on, it holds the relay output module open with the ports at their initial
// values.
#pragma once

#include "conditions/NI6525Ctrl.h"

#include <vector>

class IPrompt;
class IRelayOutput;

class CWatchDog {
public:
    static constexpr const char* kOpenFailed = "Relay output module (NI6525) open failed!";

    explicit CWatchDog(IRelayOutput* driver = nullptr) : m_output(driver) {}

    // Opens the output module with the ports' initial values; says so when it is not there.
    bool Start(const std::vector<int>& portLevels, IPrompt& prompt);
    void Stop();
    bool IsRunning() const { return m_output.IsOpen(); }
    const CNI6525Ctrl& GetOutput() const { return m_output; }

private:
    CNI6525Ctrl m_output;
};
