#include "support/FakePrompt.h"

PromptAnswer CFakePrompt::MessageBox(const std::string& text, PromptIcon icon,
                                     PromptButtons buttons) {
    m_messages.push_back({text, icon, buttons});
    if (!m_answers.empty()) {
        const PromptAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    switch (buttons) {
    case PromptButtons::YesNo:
    case PromptButtons::YesNoCancel:
        return PromptAnswer::Yes;
    case PromptButtons::RetryCancel:
        return PromptAnswer::Retry;
    default:
        return PromptAnswer::Ok;
    }
}

void CFakePrompt::ProgressOpen(const std::string& title, const std::string& text) {
    m_progressOpen = true;
    m_progressTitle = title;
    m_progressTexts.push_back(text);
}

void CFakePrompt::ProgressSetText(const std::string& text) {
    m_progressTexts.push_back(text);
}

void CFakePrompt::ProgressSetRange(int low, int high) {
    m_low = low;
    m_high = high;
}

void CFakePrompt::ProgressSetPos(int pos) {
    m_pos = pos;
    m_percentText = FormatProgressPercent(pos, m_low, m_high);
}

bool CFakePrompt::ProgressCheckCancel() {
    if (m_cancelCountdown > 0 && --m_cancelCountdown == 0)
        return true;
    return false;
}

std::vector<std::string> CFakePrompt::MessageTexts() const {
    std::vector<std::string> texts;
    for (const Message& message : m_messages)
        texts.push_back(message.text);
    return texts;
}

void CFakePrompt::Clear() {
    m_messages.clear();
    m_progressTexts.clear();
}
