// The shared progress window for the length of one recorder operation: opened with a text and
// closed on every way out, so a failing operation never leaves it showing.
#pragma once

#include "framework/Prompt.h"

#include <string>

class CProgressScope {
public:
    CProgressScope(IPrompt& prompt, const std::string& text) : m_prompt(prompt), m_text(text) {
        m_prompt.ProgressOpen("", m_text);
    }
    ~CProgressScope() { Close(); }
    CProgressScope(const CProgressScope&) = delete;
    CProgressScope& operator=(const CProgressScope&) = delete;

    // Shows the window again after a nested operation closed it.
    void Reopen() {
        m_prompt.ProgressOpen("", m_text);
        m_open = true;
    }
    void Close() {
        if (m_open)
            m_prompt.ProgressClose();
        m_open = false;
    }

private:
    IPrompt& m_prompt;
    std::string m_text;
    bool m_open = true;
};
