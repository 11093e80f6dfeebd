// At start-up, the records that a crash (a killed program, a power loss) left without their final
// header are completed; what was done waits for the first log a monitor window shows.
#pragma once

#include <string>
#include <vector>

class CStartupRecovery {
public:
    // Completes the unfinished records of the default record folder (`dataFolder`) and of the
    // record folders that the default condition files there name.
    static void Run(const std::string& dataFolder);
    // The log lines of Run, once.
    static std::vector<std::string> TakeLog();
    // The folders Run looks in, each once.
    static std::vector<std::string> RecordFolders(const std::string& dataFolder);
};
