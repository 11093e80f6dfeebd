// Starting another program, such as the record viewer: the program and each argument reach it as
// they are, never through a shell.
#pragma once

#include <string>
#include <vector>

class IProcessLauncher {
public:
    virtual ~IProcessLauncher() = default;

    // False when the program could not be started. With `waitPollMs` above 0 the call returns
    // only once the program has ended, looking every `waitPollMs` whether it has; meanwhile the
    // program's main window is hidden and the desktop's events are handled.
    virtual bool Launch(const std::string& program, const std::vector<std::string>& arguments,
                        int waitPollMs) = 0;
};
