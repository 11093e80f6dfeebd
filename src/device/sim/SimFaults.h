// Faults a test (or the configuration) sets on one simulated recorder.
#pragma once

#include <map>
#include <string>
#include <vector>

struct CSimFaults {
    bool refuseConnection = false;      // LnkOpen answers 0; the scan does not list the recorder
    int dropAfterArmedSeconds = -1;     // drop every connection after this long ARMED; -1 = never
    std::map<int, int> operationErrors; // ordinal -> result code answered instead of the operation
    bool busy = false;                  // status -100; every operation answers -100
    std::vector<std::string> nakCommands; // text commands beginning with one of these get NAK
    int answerDelayMs = 0;                // every answer comes this late (capped by time-outs)

    // The result code injected for `ordinal`, or 0 when the operation runs normally.
    int ErrorFor(int ordinal) const;
    bool NaksCommand(const std::string& command) const;
};
