#include "ui/QtPrompt.h"

#include "ui/ProgressWnd.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QString FromLocal(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QMessageBox::Icon ToQtIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Stop:
        return QMessageBox::Critical;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Question:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ToQtButtons(PromptButtons buttons) {
    switch (buttons) {
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

PromptAnswer FromQtButton(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return PromptAnswer::Cancel;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    case QMessageBox::Retry:
        return PromptAnswer::Retry;
    default:
        return PromptAnswer::Ok;
    }
}

} // namespace

CQtPrompt::CQtPrompt(QWidget* owner) : m_owner(owner) {}

CQtPrompt::~CQtPrompt() = default;

PromptAnswer CQtPrompt::MessageBox(const std::string& text, PromptIcon icon,
                                   PromptButtons buttons) {
    QMessageBox box(ToQtIcon(icon), QApplication::applicationDisplayName(), FromLocal(text),
                    ToQtButtons(buttons), m_owner);
    return FromQtButton(box.exec());
}

CProgressWnd& CQtPrompt::EnsureProgress() {
    if (!m_progress)
        m_progress = std::make_unique<CProgressWnd>(m_owner);
    return *m_progress;
}

void CQtPrompt::ProgressOpen(const std::string& title, const std::string& text) {
    // Every operation starts from the plain window: bar, percentage and Cancel showing.
    m_progress.reset();
    EnsureProgress().Open(FromLocal(title), FromLocal(text));
}

void CQtPrompt::ProgressSetText(const std::string& text) {
    EnsureProgress().SetText(FromLocal(text));
}
void CQtPrompt::ProgressSetRange(int low, int high) {
    EnsureProgress().SetRange(low, high);
}
void CQtPrompt::ProgressSetPos(int pos) {
    EnsureProgress().SetPos(pos);
}
void CQtPrompt::ProgressShowBar(bool show) {
    EnsureProgress().ShowBar(show);
}
void CQtPrompt::ProgressShowPercent(bool show) {
    EnsureProgress().ShowPercent(show);
}
void CQtPrompt::ProgressShowCancel(bool show) {
    EnsureProgress().ShowCancel(show);
}
void CQtPrompt::ProgressSetCancelText(const std::string& text) {
    EnsureProgress().SetCancelText(FromLocal(text));
}
bool CQtPrompt::ProgressCheckCancel() {
    return m_progress && m_progress->CheckCancel();
}

void CQtPrompt::ProgressClose() {
    if (m_progress)
        m_progress->Close();
    m_progress.reset();
}
