// The floating "Control Panel" of the monitor window: six buttons for the acquisition commands,
// kept where the user left it.
#pragma once

#include <QWidget>

#include <array>

class ICommandHandler;
class QToolButton;

class CControlPanel : public QWidget {
    Q_OBJECT

public:
    // The commands of the buttons, in their order.
    static const std::array<int, 6> kCommands;

    CControlPanel(ICommandHandler* commands, QWidget* parent);

    // Enabled and checked as the handler says.
    void RefreshStates();
    QToolButton* Button(int index) const { return m_buttons[static_cast<std::size_t>(index)]; }

signals:
    // A button was pressed; the frame runs the command for its own document.
    void commandChosen(int id);

private:
    ICommandHandler* m_commands;
    std::array<QToolButton*, 6> m_buttons{};
};
