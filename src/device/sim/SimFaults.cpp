// Injected faults of a simulated recorder.
#include "device/sim/SimFaults.h"

int CSimFaults::ErrorFor(int ordinal) const {
    const auto found = operationErrors.find(ordinal);
    return found == operationErrors.end() ? 0 : found->second;
}

bool CSimFaults::NaksCommand(const std::string& command) const {
    for (const std::string& prefix : nakCommands) {
        if (!prefix.empty() && command.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}
