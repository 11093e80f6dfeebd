#include "framework/SilentPrompt.h"

PromptAnswer CSilentPrompt::MessageBox(const std::string&, PromptIcon, PromptButtons buttons) {
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
