// Opening a recording in the external viewer program: the record's header path is its one
// argument; a double click waits for the viewer to end with the main window hidden.
#pragma once

#include <functional>
#include <string>

class IProcessLauncher;
class IPrompt;

class CViewerLauncher {
public:
    // `beep` sounds before the failure message; none is silent.
    CViewerLauncher(IProcessLauncher& launcher, IPrompt& prompt, std::function<void()> beep = {});

    // The record file in the folder.
    static std::string RecordPath(const std::string& folder, const std::string& fileName);
    // The command line the failure message shows: the viewer, a blank and the quoted path.
    static std::string CommandLine(const std::string& viewer, const std::string& recordPath);

    // False when the viewer could not be started; with `message`, after "Calling %s failed!".
    bool Run(const std::string& viewer, const std::string& recordPath, bool wait, bool message);

    // How often a waiting launch looks whether the viewer has ended.
    static constexpr int kWaitPollMs = 1000;

private:
    IProcessLauncher& m_launcher;
    IPrompt& m_prompt;
    std::function<void()> m_beep;
};
