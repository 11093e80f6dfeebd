// A prompt for tests: records every message and progress text and answers from a script.
#pragma once

#include "framework/Prompt.h"

#include <deque>
#include <string>
#include <vector>

class CFakePrompt : public IPrompt {
public:
    struct Message {
        std::string text;
        PromptIcon icon;
        PromptButtons buttons;
    };

    PromptAnswer MessageBox(const std::string& text, PromptIcon icon,
                            PromptButtons buttons) override;
    void ProgressOpen(const std::string& title, const std::string& text) override;
    void ProgressSetText(const std::string& text) override;
    void ProgressSetRange(int low, int high) override;
    void ProgressSetPos(int pos) override;
    void ProgressShowBar(bool show) override { m_barShown = show; }
    void ProgressShowPercent(bool show) override { m_percentShown = show; }
    void ProgressShowCancel(bool show) override { m_cancelShown = show; }
    void ProgressSetCancelText(const std::string& text) override { m_cancelText = text; }
    bool ProgressCheckCancel() override;
    void ProgressClose() override { m_progressOpen = false; }

    // Answers for the next message boxes, in order; without one a box answers its first button.
    void QueueAnswer(PromptAnswer answer) { m_answers.push_back(answer); }
    // Cancel is pressed at the n-th poll from now (1 = the next one).
    void CancelAtPoll(int n) { m_cancelCountdown = n; }

    std::vector<std::string> MessageTexts() const;
    const std::vector<Message>& Messages() const { return m_messages; }
    void Clear();

    std::vector<Message> m_messages;
    std::vector<std::string> m_progressTexts;
    std::string m_progressTitle;
    bool m_progressOpen = false;
    bool m_barShown = true;
    bool m_percentShown = true;
    bool m_cancelShown = true;
    std::string m_cancelText = "Cancel";
    int m_low = 0;
    int m_high = 100;
    int m_pos = 0;
    std::string m_percentText;

private:
    std::deque<PromptAnswer> m_answers;
    int m_cancelCountdown = 0;
};
