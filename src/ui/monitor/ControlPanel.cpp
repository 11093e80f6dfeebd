#include "ui/monitor/ControlPanel.h"

#include "ui/CommandHandler.h"
#include "ui/CommandIds.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

const std::array<int, 6> CControlPanel::kCommands{
    CommandId::kGoArmed, CommandId::kStartHddAcq, CommandId::kPause,
    CommandId::kStopAcq, CommandId::kStopArmed,   CommandId::kBalanceChannels};

namespace {

constexpr int kButtonSize = 28;

struct ButtonLook {
    QStyle::StandardPixmap icon;
    const char* text;
    const char* tip;
};

constexpr std::array<ButtonLook, 6> kLooks{{
    {QStyle::SP_MediaPlay, "ARM", "Go to ARMED"},
    {QStyle::SP_DriveHDIcon, "HDD", "Start HDD_ACQ"},
    {QStyle::SP_MediaPause, "Pause", "Pause"},
    {QStyle::SP_MediaStop, "Stop ACQ", "Stop ACQ"},
    {QStyle::SP_BrowserStop, "Stop", "Stop"},
    {QStyle::SP_FileDialogDetailedView, "BAL", "Select Channel to do balance"},
}};

} // namespace

CControlPanel::CControlPanel(ICommandHandler* commands, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_commands(commands) {
    setWindowTitle(tr("Control Panel"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    for (std::size_t i = 0; i < kCommands.size(); ++i) {
        auto* button = new QToolButton(this);
        button->setIcon(style()->standardIcon(kLooks[i].icon));
        button->setText(tr(kLooks[i].text));
        button->setToolTip(tr(kLooks[i].tip));
        button->setFixedSize(kButtonSize, kButtonSize);
        button->setCheckable(kCommands[i] == CommandId::kPause);
        connect(button, &QToolButton::clicked, this, [this, id = kCommands[i]] {
            emit commandChosen(id);
            RefreshStates();
        });
        // Each button takes one sixth of the panel.
        layout->addWidget(button, 1);
        m_buttons[i] = button;
    }
    adjustSize();
}

void CControlPanel::RefreshStates() {
    if (m_commands == nullptr)
        return;
    for (std::size_t i = 0; i < kCommands.size(); ++i) {
        m_buttons[i]->setEnabled(m_commands->IsCommandEnabled(kCommands[i]));
        if (m_buttons[i]->isCheckable())
            m_buttons[i]->setChecked(m_commands->IsCommandChecked(kCommands[i]));
    }
}
