// Message boxes and the progress window of the desktop, for the core's prompts.
#pragma once

#include "framework/Prompt.h"

#include <memory>

class QWidget;
class CProgressWnd;

class CQtPrompt : public IPrompt {
public:
    // `owner` parents the boxes and is disabled while the progress window shows.
    explicit CQtPrompt(QWidget* owner);
    ~CQtPrompt() override;

    PromptAnswer MessageBox(const std::string& text, PromptIcon icon,
                            PromptButtons buttons) override;
    void ProgressOpen(const std::string& title, const std::string& text) override;
    void ProgressSetText(const std::string& text) override;
    void ProgressSetRange(int low, int high) override;
    void ProgressSetPos(int pos) override;
    void ProgressShowBar(bool show) override;
    void ProgressShowPercent(bool show) override;
    void ProgressShowCancel(bool show) override;
    void ProgressSetCancelText(const std::string& text) override;
    bool ProgressCheckCancel() override;
    void ProgressClose() override;

    CProgressWnd* Progress() const { return m_progress.get(); }

private:
    CProgressWnd& EnsureProgress();

    QWidget* m_owner;
    std::unique_ptr<CProgressWnd> m_progress;
};
