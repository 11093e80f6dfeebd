// A process launcher for tests: records every launch and answers as the test says.
#pragma once

#include "framework/ProcessLauncher.h"

#include <string>
#include <vector>

class CFakeProcessLauncher : public IProcessLauncher {
public:
    struct Call {
        std::string program;
        std::vector<std::string> arguments;
        int waitPollMs = 0;
        bool operator==(const Call&) const = default;
    };

    bool Launch(const std::string& program, const std::vector<std::string>& arguments,
                int waitPollMs) override {
        m_launches.push_back({program, arguments, waitPollMs});
        return m_starts;
    }

    std::vector<Call> m_launches;
    bool m_starts = true; // whether a program can be started
};
