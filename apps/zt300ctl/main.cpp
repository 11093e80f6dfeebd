// zt300ctl: the desktop control program of the ZT300 / ZT500 data recorders.
//   --demo              work with simulated recorders inside the program
//   --connect           skip the welcome choice and scan for recorders at once
//   --screenshot FILE   save a picture of the main window after start-up and quit
//   PATH ...            open documents: condition files, or connection texts such as
//                       127_0_0_2_ZT-300,127_0_0_3_ZT-500
#include "ui/MainFrame.h"
#include "ui/RecorderApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMdiArea>
#include <QTimer>

#include <clocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zt300ctl"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZT300CTL"));
    QApplication::setOrganizationName(QStringLiteral("zt300ctl"));
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
    parser.addOptions({demo, connect, screenshot});
    parser.addPositionalArgument(QStringLiteral("path"),
                                 QStringLiteral("Condition files or connection texts to open."));
    parser.process(app);

    AppOptions options;
    options.demo = parser.isSet(demo);
    options.welcome = !parser.isSet(connect) && parser.positionalArguments().isEmpty();
    CRecorderApp recorderApp(options);
    if (parser.isSet(screenshot)) {
        QTimer::singleShot(1500, &app, [&] {
            CMainFrame& frame = recorderApp.MainFrame();
            frame.grab().save(parser.value(screenshot));
            frame.close();
        });
    }
    recorderApp.Start();
    for (const QString& path : parser.positionalArguments())
        recorderApp.OpenDocument(path.toLocal8Bit().toStdString());
    if (parser.isSet(connect))
        recorderApp.ScanAndConnect();
    recorderApp.ArrangeAfterConnect();
    return QApplication::exec();
}
