#include "setup/ViewerLauncher.h"

#include "conditions/TextNumbers.h"
#include "framework/ProcessLauncher.h"
#include "framework/Prompt.h"

#include <filesystem>

CViewerLauncher::CViewerLauncher(IProcessLauncher& launcher, IPrompt& prompt,
                                 std::function<void()> beep)
    : m_launcher(launcher), m_prompt(prompt), m_beep(std::move(beep)) {}

std::string CViewerLauncher::RecordPath(const std::string& folder, const std::string& fileName) {
    return (std::filesystem::path(folder) / fileName).string();
}

std::string CViewerLauncher::CommandLine(const std::string& viewer, const std::string& recordPath) {
    return viewer + " \"" + recordPath + "\"";
}

bool CViewerLauncher::Run(const std::string& viewer, const std::string& recordPath, bool wait,
                          bool message) {
    if (m_launcher.Launch(viewer, {recordPath}, wait ? kWaitPollMs : 0))
        return true;
    if (message) {
        if (m_beep)
            m_beep();
        m_prompt.MessageBox(
            FormatText("Calling %s failed!", CommandLine(viewer, recordPath).c_str()),
            PromptIcon::Stop);
    }
    return false;
}
