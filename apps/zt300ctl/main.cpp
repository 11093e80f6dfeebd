// zt300ctl: the desktop control program of the ZT300 / ZT500 data recorders.
#include "ui/MainFrame.h"

#include <QApplication>

#include <clocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zt300ctl"));
    QApplication::setOrganizationName(QStringLiteral("zt300ctl"));
    // Qt adopts the user's locale; every file format of the program is written with printf and
    // must keep the decimal point whatever the desktop's language is.
    std::setlocale(LC_NUMERIC, "C");

    CMainFrame frame;
    frame.resize(1280, 800); // the size it keeps where no window manager maximises it
    frame.showMaximized();
    return QApplication::exec();
}
