// The process's resident memory, as the memory runs of the benchmarks print it.
#pragma once

#include <fstream>
#include <string>

// VmRSS of /proc/self/status in kB; -1 when it cannot be read.
inline long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}
