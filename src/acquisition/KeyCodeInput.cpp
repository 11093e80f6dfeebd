#include "acquisition/KeyCodeInput.h"

#include "acquisition/RecorderSettings.h"
#include "framework/MessageTarget.h"

#include <string>
#include <utility>

bool CKeyCodeInput::OnKeyDown(int key, const CRecorderSettings& settings, IMessageTarget& target) {
    if (!settings.m_realTimeMark && !settings.m_ctrlInput)
        return false;
    if (key >= '0' && key <= '9') {
        AddDigit(static_cast<char>(key));
        return true;
    }
    if (key >= kNumPad0 && key <= kNumPad0 + 9) {
        AddDigit(static_cast<char>('0' + key - kNumPad0));
        return true;
    }
    if (key >= kNumLock)
        return true;
    if (key != kEnter)
        return false;
    if (m_count == 2)
        SendCode(settings, target);
    return true;
}

// A third digit pushes the oldest out: the last two typed count.
void CKeyCodeInput::AddDigit(char digit) {
    if (m_count < 2) {
        m_digits[static_cast<std::size_t>(m_count++)] = digit;
        return;
    }
    m_digits[0] = m_digits[1];
    m_digits[1] = digit;
}

void CKeyCodeInput::SendCode(const CRecorderSettings& settings, IMessageTarget& target) {
    const std::string code(m_digits.begin(), m_digits.end());
    m_count = 0;
    if (settings.m_ctrlInput) {
        const std::pair<const std::string&, int> commands[] = {
            {settings.m_rtmStartCode, PostedCommand::kStartHddAcq},
            {settings.m_rtmStopCode, PostedCommand::kStopAcq},
            {settings.m_rtmPauseCode, PostedCommand::kPause},
        };
        for (const auto& [text, command] : commands) {
            if (code == text) {
                target.Post(PostedMessage::kCommand, command);
                return;
            }
        }
    }
    if (settings.m_realTimeMark)
        target.Post(PostedMessage::kMarkRequest, (m_digits[0] - '0') * 10 + (m_digits[1] - '0'));
}
