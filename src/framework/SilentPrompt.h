// A prompt that shows nothing and answers every box with its first button: for checks that run
// without telling the user (enabling rules, fuzzing).
#pragma once

#include "framework/Prompt.h"

class CSilentPrompt : public IPrompt {
public:
    PromptAnswer MessageBox(const std::string&, PromptIcon, PromptButtons buttons) override;
    void ProgressOpen(const std::string&, const std::string&) override {}
    void ProgressSetText(const std::string&) override {}
    void ProgressSetRange(int, int) override {}
    void ProgressSetPos(int) override {}
    void ProgressShowBar(bool) override {}
    void ProgressShowPercent(bool) override {}
    void ProgressShowCancel(bool) override {}
    void ProgressSetCancelText(const std::string&) override {}
    bool ProgressCheckCancel() override { return false; }
    void ProgressClose() override {}
};
