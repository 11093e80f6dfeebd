#include "ui/files/QtProcessLauncher.h"

#include "ui/dialogs/DialogText.h"

#include <QEventLoop>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <QWidget>

bool CQtProcessLauncher::Launch(const std::string& program,
                                const std::vector<std::string>& arguments, int waitPollMs) {
    QStringList list;
    for (const std::string& argument : arguments)
        list << ToQString(argument);
    if (waitPollMs <= 0)
        return QProcess::startDetached(ToQString(program), list);

    QProcess process;
    process.setProgram(ToQString(program));
    process.setArguments(list);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start();
    if (!process.waitForStarted(kStartTimeoutMs))
        return false;
    const bool shown = m_mainWindow != nullptr && m_mainWindow->isVisible();
    if (shown)
        m_mainWindow->hide();
    // Looked at every so often, not on its end: the desktop goes on working meanwhile.
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (process.state() == QProcess::NotRunning)
            loop.quit();
    });
    poll.start(waitPollMs);
    loop.exec();
    if (shown)
        m_mainWindow->show();
    return true;
}
