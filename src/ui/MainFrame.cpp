#include "ui/MainFrame.h"

#include "ui/CommandHandler.h"
#include "ui/CommandIds.h"
#include "ui/dialogs/AboutDlg.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

using namespace CommandId;

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), m_mdiArea(new QMdiArea(this)), m_statusText(new QLabel(this)),
      m_idleTimer(new QTimer(this)) {
    setWindowTitle(kAppTitle);
    setCentralWidget(m_mdiArea);
    statusBar()->addWidget(m_statusText, 1);
    SetMenuKind(MenuKind::NoDocument);
    // The commands' states follow the program as the menus are used and a little after.
    m_idleTimer->setInterval(250);
    connect(m_idleTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandStates);
    m_idleTimer->start();
}

void CMainFrame::SetCommandHandler(ICommandHandler* handler) {
    m_handler = handler;
    UpdateCommandStates();
}

void CMainFrame::SetStatusText(const QString& text) {
    m_statusText->setText(text);
}

QAction* CMainFrame::AddCommand(QMenu* menu, const CommandEntry& entry) {
    QAction* action = new QAction(QString::fromLatin1(entry.text),
                                  menu != nullptr ? static_cast<QObject*>(menu) : this);
    action->setData(entry.id);
    if (entry.key != nullptr)
        action->setShortcut(QKeySequence(QString::fromLatin1(entry.key)));
    connect(action, &QAction::triggered, this, [this, id = entry.id] { RunCommand(id); });
    if (menu != nullptr) {
        menu->addAction(action);
    } else {
        addAction(action);
        m_hiddenCommands.append(action);
    }
    return action;
}

void CMainFrame::AddCommands(QMenu* menu, std::initializer_list<CommandEntry> entries) {
    for (const CommandEntry& entry : entries)
        AddCommand(menu, entry);
}

void CMainFrame::RunCommand(int id) {
    if (id == kAppExit) {
        close();
        return;
    }
    if (id == kAppAbout) {
        ShowAbout();
        return;
    }
    if (m_handler != nullptr && m_handler->IsCommandEnabled(id))
        m_handler->OnCommand(id);
}

QAction* CMainFrame::FindCommand(int id) const {
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (!action->menu() && action->data().toInt() == id)
            return action;
    }
    for (QAction* action : m_hiddenCommands) {
        if (action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

void CMainFrame::UpdateCommandStates() {
    auto update = [this](QAction* action) {
        const int id = action->data().toInt();
        if (id == 0 || action->menu())
            return;
        const bool always = id == kAppExit || id == kAppAbout;
        action->setEnabled(always || (m_handler != nullptr && m_handler->IsCommandEnabled(id)));
        const bool checked = m_handler != nullptr && m_handler->IsCommandChecked(id);
        action->setCheckable(checked || action->isChecked());
        action->setChecked(checked);
    };
    for (QAction* action : menuBar()->findChildren<QAction*>())
        update(action);
    for (QAction* action : m_hiddenCommands)
        update(action);
}

void CMainFrame::SetMenuKind(MenuKind kind) {
    m_kind = kind;
    menuBar()->clear();
    for (QAction* action : m_hiddenCommands)
        removeAction(action);
    qDeleteAll(m_hiddenCommands);
    m_hiddenCommands.clear();
    for (QMenu* menu : menuBar()->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly))
        menu->deleteLater();
    switch (kind) {
    case MenuKind::NoDocument:
        BuildNoDocumentMenu();
        break;
    case MenuKind::Setup:
        BuildSetupMenu();
        break;
    case MenuKind::Monitor:
        BuildMonitorMenu();
        break;
    }
    UpdateCommandStates();
}

void CMainFrame::BuildNoDocumentMenu() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    AddCommands(file,
                {{kFileOpen, "&Open", "Ctrl+O"}, {kViewAcqFile, "View ACQ file...", nullptr}});
    file->addSeparator();
    AddCommand(file, {kAppExit, "E&xit", nullptr});
    QMenu* comm = menuBar()->addMenu(tr("&Comm"));
    AddCommands(comm, {{kScan, "&Scan ...", nullptr}, {kIpSetting, "&IP Setting ...", nullptr}});
    QMenu* option = menuBar()->addMenu(tr("&Option"));
    AddCommands(option, {{kOptionSetting, "Setting ...", nullptr},
                         {kCanKInit, "QA-80CANK Init...", nullptr},
                         {kCanGInit, "QA-80CAN-G Init...", nullptr}});
    AddHelpMenu();
}

void CMainFrame::BuildSetupMenu() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    AddCommands(file, {{kFileOpen, "&Open ...", "Ctrl+O"},
                       {kFileSave, "&Save", "Ctrl+S"},
                       {kFileSaveAs, "Save &As", nullptr},
                       {kFileClose, "&Close", nullptr}});
    file->addSeparator();
    AddCommand(file, {kSaveAsCnd, "Save As .CND...", nullptr});
    AddCommands(file,
                {{kImportCal, "Import CAL...", nullptr}, {kExportCal, "Export CAL ...", nullptr}});
    AddCommand(file, {kViewAcqFile, "View ACQ file...", nullptr});
    file->addSeparator();
    AddCommands(file, {{kFilePrint, "&Print...", "Ctrl+P"},
                       {kFilePrintPreview, "Print Pre&view", nullptr},
                       {kFilePrintSetup, "P&rint Setup...", nullptr}});
    file->addSeparator();
    AddCommand(file, {kAppExit, "E&xit", nullptr});
    QMenu* comm = menuBar()->addMenu(tr("&Comm"));
    AddCommands(comm, {{kLoadCnd, "&Load Cnd", nullptr},
                       {kWriteCnd, "&Write Cnd", nullptr},
                       {kRtc, "&RTC ...", nullptr},
                       {kCalibration, "Calibration ...", nullptr}});
    QMenu* option = menuBar()->addMenu(tr("&Option"));
    AddCommands(option, {{kOptionSetting, "Setting ...", nullptr},
                         {kMaxMinValue, "MAX/MIN Value ...", nullptr},
                         {kSaveMaxMin, "SaveMax/Min", nullptr},
                         {kCanKInit, "QA-80CAN-K Init...", nullptr},
                         {kXcpSet, "XCP Set", nullptr},
                         {kXcpStatus, "XCP Status...", nullptr},
                         {kCanGInit, "QA-80CAN-G Init...", nullptr},
                         {kRelayControlSetting, "Relay Control Setting ...", nullptr},
                         {kMaterialList, "Material List ...", nullptr}});
    QMenu* window = menuBar()->addMenu(tr("&Window"));
    AddWindowCommands(window);
    AddCommand(window, {kSwitch, "SWITCH", "F9"});
    AddHelpMenu();
    AddCommands(nullptr, {{kCardInfo, "Card Info", nullptr},
                          {kRegisterPhyUnit, "Register Phyunit", nullptr}});
}

void CMainFrame::BuildMonitorMenu() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    AddCommand(file, {kViewAcqFile, "View ACQ file...", nullptr});
    file->addSeparator();
    AddCommand(file, {kAppExit, "E&xit", nullptr});
    QMenu* comm = menuBar()->addMenu(tr("&Comm"));
    AddCommands(comm, {{kBalanceChannels, "&Balance Ch ...", nullptr},
                       {kBalanceAll, "&Balance All ..", "F10"},
                       {kGoArmed, "&Go to ARMED", "F1"},
                       {kStartHddAcq, "Start HDDACQ ...", "F2"},
                       {kStopAcq, "Stop AC&Q", "F3"},
                       {kStopArmed, "&Stop ARMED", "F4"},
                       {kStartCardAcq, "Start CARDACQ ...", "F6"},
                       {kStartHddCardAcq, "Start (HDD+CARD)ACQ ...", "F7"},
                       {kMark, "&Mark", "F12"},
                       {kPause, "&Pause", "F11"},
                       {kWatchDogStart, "Watch Dog Start ", nullptr},
                       {kWatchDogStop, "Watch Dog Stop ", nullptr},
                       {kRtc, "&RTC ...", nullptr},
                       {kFileTransfer, "File Transfer", nullptr}});
    QMenu* option = menuBar()->addMenu(tr("&Option"));
    AddCommands(option, {{kOptionSetting, "&Setting ...", nullptr},
                         {kMaxMinValue, "&MAX/MIN Value ...", nullptr},
                         {kOffset, "&OFFSET", nullptr},
                         {kAutoScale, "&AutoScale", nullptr},
                         {kResetScale, "&Reset Scale", nullptr},
                         {kResetMaxMin, "ResetMM", nullptr},
                         {kWave, "Wave", nullptr},
                         {kDigit, "Digit", nullptr},
                         {kMaterialList, "Material List ...", nullptr}});
    QMenu* window = menuBar()->addMenu(tr("&Window"));
    AddWindowCommands(window);
    AddCommands(window, {{kTestInfoPanel, "TestInfo Panel", nullptr},
                         {kRemoteControlPanel, "&Remote Control Panel", nullptr}});
    AddHelpMenu();
    AddCommands(nullptr, {{kSwitch, "SWITCH", "F9"},
                          {kRemoteControl, "Remote Control", nullptr},
                          {kCardInfo, "Card Info", nullptr},
                          {kVoice, "Voice", nullptr},
                          {kRegisterPhyUnit, "Register Phyunit", nullptr},
                          {kFilePrint, "&Print...", "Ctrl+P"},
                          {kEditFile, "Edit File", nullptr},
                          {kDigitAndWave, "Digit && Wave", nullptr},
                          {kChartSlot1, "Chart Slot1", nullptr},
                          {kChartSlot1 + 1, "Chart Slot2", nullptr},
                          {kChartSlot1 + 2, "Chart Slot3", nullptr},
                          {kChartSlot1 + 3, "Chart Slot4", nullptr},
                          {kChartSlot1 + 4, "Chart Slot5", nullptr},
                          {kChartSlot1 + 5, "Chart Slot6", nullptr},
                          {kChartSlot1 + 6, "Chart Slot7", nullptr},
                          {kChartSlot1 + 7, "Chart Slot8", nullptr}});
}

void CMainFrame::AddWindowCommands(QMenu* menu) {
    AddCommands(menu, {{kWindowCascade, "&Cascade", nullptr},
                       {kWindowTileHorz, "&Horz Tile", nullptr},
                       {kWindowTileVert, "&Vert Tile", nullptr},
                       {kWindowArrange, "&Arrange Icons", nullptr}});
}

void CMainFrame::AddHelpMenu() {
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    AddCommand(help, {kAppAbout, "&About ZT300CTL...", nullptr});
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_closeHandler && !m_closeHandler()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::ShowAbout() {
    CAboutDlg about(this);
    about.exec();
}
