#include "ui/MainFrame.h"

#include "ui/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent), m_mdiArea(new QMdiArea(this)) {
    setWindowTitle(kAppTitle);
    setCentralWidget(m_mdiArea);
    BuildNoDocumentMenu();
    statusBar();
}

QAction* CMainFrame::AddCommand(QMenu* menu, const QString& text, int id, bool enabled) {
    QAction* action = menu->addAction(text);
    action->setData(id);
    action->setEnabled(enabled);
    return action;
}

QAction* CMainFrame::FindCommand(int id) const {
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

// Commands whose handlers are not part of the program yet stay disabled.
void CMainFrame::BuildNoDocumentMenu() {
    menuBar()->clear();
    QMenu* file = menuBar()->addMenu(tr("&File"));
    AddCommand(file, tr("&Open"), CommandId::kFileOpen, false);
    AddCommand(file, tr("View ACQ file..."), CommandId::kViewAcqFile, false);
    file->addSeparator();
    QAction* exit = AddCommand(file, tr("E&xit"), CommandId::kAppExit, true);
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* comm = menuBar()->addMenu(tr("&Comm"));
    AddCommand(comm, tr("&Scan ..."), CommandId::kScan, false);
    AddCommand(comm, tr("&IP Setting ..."), CommandId::kIpSetting, false);

    QMenu* option = menuBar()->addMenu(tr("&Option"));
    AddCommand(option, tr("Setting ..."), CommandId::kOptionSetting, false);
    AddCommand(option, tr("QA-80CANK Init..."), CommandId::kCanKInit, false);
    AddCommand(option, tr("QA-80CAN-G Init..."), CommandId::kCanGInit, false);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* about = AddCommand(help, tr("&About ZT300CTL..."), CommandId::kAppAbout, true);
    connect(about, &QAction::triggered, this, &CMainFrame::ShowAbout);
}

void CMainFrame::ShowAbout() {
    QMessageBox::about(
        this, tr("About ZT300CTL"),
        tr("ZT300CTL Version %1\nControl program of the ZT300 / ZT500 data recorders.")
            .arg(QStringLiteral(ZT300CTL_VERSION)));
}
