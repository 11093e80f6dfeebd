#include "conditions/WatchDog.h"

#include "conditions/RelayTable.h"
#include "framework/Prompt.h"

bool CWatchDog::Start(const std::vector<int>& portLevels, IPrompt& prompt) {
    if (m_output.Open(CNI6525Ctrl::kDeviceName, PortLevelMask(portLevels)))
        return true;
    prompt.MessageBox(kOpenFailed, PromptIcon::Stop);
    return false;
}

void CWatchDog::Stop() {
    m_output.Close();
}
