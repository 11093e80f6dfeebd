// zt300ctl: the desktop control program of the ZT300 / ZT500 data recorders.
//   --demo              work with simulated recorders inside the program
//   --connect           skip the welcome choice and scan for recorders at once
//   --screenshot FILE   save a picture of the main window after start-up and quit
//   --arm SECONDS       go to ARMED and start an HDD record in the monitor window of the
//                       opened recorders; a screenshot is then taken SECONDS later
//   --chart-type N      the monitor's chart arrangement: 0 separate charts, 1 common chart
//   PATH ...            open documents: condition files, or connection texts such as
//                       127_0_0_2_ZT-300,127_0_0_3_ZT-500
#include "Screenshot.h"
#include "ui/CommandIds.h"
#include "ui/MainFrame.h"
#include "ui/RecorderApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <memory>

namespace {

// Long enough for the windows to settle after start-up.
constexpr int kScreenshotDelayMs = 1500;

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zt300ctl"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZT300CTL"));
    QApplication::setOrganizationName(QStringLiteral("zt300ctl"));
    QApplication::setDesktopFileName(QStringLiteral("zt300ctl"));
    // Qt adopts the user's locale; every file format of the program is written with printf and
    // must keep the decimal point whatever the desktop's language is.
    std::setlocale(LC_NUMERIC, "C");

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Use simulated recorders."));
    const QCommandLineOption connect(QStringLiteral("connect"),
                                     QStringLiteral("Scan for recorders at start."));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Save a picture of the window and quit."),
                                        QStringLiteral("file"));
    const QCommandLineOption arm(
        QStringLiteral("arm"),
        QStringLiteral("Go to ARMED and record; the screenshot follows after the seconds."),
        QStringLiteral("seconds"));
    const QCommandLineOption chartType(
        QStringLiteral("chart-type"),
        QStringLiteral("Monitor charts: 0 separate charts, 1 one common chart."),
        QStringLiteral("type"));
    parser.addOptions({demo, connect, screenshot, arm, chartType});
    parser.addPositionalArgument(QStringLiteral("path"),
                                 QStringLiteral("Condition files or connection texts to open."));
    parser.process(app);

    AppOptions options;
    options.demo = parser.isSet(demo);
    options.welcome = !parser.isSet(connect) && parser.positionalArguments().isEmpty();
    CRecorderApp recorderApp(options);
    if (parser.isSet(chartType))
        recorderApp.Settings().m_chartType = parser.value(chartType).toInt() == 1 ? 1 : 0;
    const int armSeconds = parser.isSet(arm) ? std::max(parser.value(arm).toInt(), 0) : -1;
    std::unique_ptr<CScreenshot> shot;
    if (parser.isSet(screenshot)) {
        const int delay = armSeconds >= 0 ? 1000 + armSeconds * 1000 : kScreenshotDelayMs;
        shot =
            std::make_unique<CScreenshot>(recorderApp.MainFrame(), parser.value(screenshot), delay);
    }
    recorderApp.Start();
    for (const QString& path : parser.positionalArguments())
        recorderApp.OpenDocument(path.toLocal8Bit().toStdString());
    if (parser.isSet(connect))
        recorderApp.ScanAndConnect();
    recorderApp.ArrangeAfterConnect();
    if (armSeconds >= 0) {
        QTimer::singleShot(500, &app, [&] {
            // Unattended: a question on the way (sending a changed condition) is answered Yes,
            // a message acknowledged.
            QTimer answer;
            QObject::connect(&answer, &QTimer::timeout, &app, [] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    if (QAbstractButton* yes = box->button(QMessageBox::Yes))
                        yes->click();
                    else
                        box->accept();
                }
            });
            answer.start(100);
            for (const int id : {CommandId::kGoArmed, CommandId::kStartHddAcq}) {
                if (recorderApp.IsCommandEnabled(id))
                    recorderApp.OnCommand(id);
            }
        });
    }
    return shot ? shot->Exec() : QApplication::exec();
}
