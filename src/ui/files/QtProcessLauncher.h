// Starting a program with QProcess: an argument list, never a shell. A waiting launch hides the
// main window until the program has ended.
#pragma once

#include "framework/ProcessLauncher.h"

class QWidget;

class CQtProcessLauncher : public IProcessLauncher {
public:
    explicit CQtProcessLauncher(QWidget* mainWindow) : m_mainWindow(mainWindow) {}

    bool Launch(const std::string& program, const std::vector<std::string>& arguments,
                int waitPollMs) override;

    // How long a program may take to start before it counts as not started.
    static constexpr int kStartTimeoutMs = 30000;

private:
    QWidget* m_mainWindow;
};
