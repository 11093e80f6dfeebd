// Modal message boxes and the shared progress window, as the core asks for them.
#pragma once

#include <string>

enum class PromptIcon { None, Stop, Exclamation, Information, Question };

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };

enum class PromptAnswer { Ok, Cancel, Yes, No, Retry };

class IPrompt {
public:
    virtual ~IPrompt() = default;

    virtual PromptAnswer MessageBox(const std::string& text, PromptIcon icon,
                                    PromptButtons buttons = PromptButtons::Ok) = 0;

    // The progress window: modeless, one at a time; its owner is disabled while it shows.
    virtual void ProgressOpen(const std::string& title, const std::string& text) = 0;
    virtual void ProgressSetText(const std::string& text) = 0;
    virtual void ProgressSetRange(int low, int high) = 0;
    // Processes pending window messages first, then moves the bar and the percentage.
    virtual void ProgressSetPos(int pos) = 0;
    virtual void ProgressShowBar(bool show) = 0;
    virtual void ProgressShowPercent(bool show) = 0;
    virtual void ProgressShowCancel(bool show) = 0;
    virtual void ProgressSetCancelText(const std::string& text) = 0;
    // Processes pending window messages; true once when Cancel was pressed since the last poll.
    virtual bool ProgressCheckCancel() = 0;
    virtual void ProgressClose() = 0;
};

// The percentage text of the progress window: "%d%c" with '%'; 100 stays 100, any other value
// is taken modulo 100; an empty range shows nothing.
std::string FormatProgressPercent(int pos, int low, int high);
