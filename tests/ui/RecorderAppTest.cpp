#include "ui/RecorderApp.h"
#include "acquisition/ZT300SetDoc.h"
#include "device/Device.h"
#include "framework/LinkLibrary.h"
#include "setup/ChannelTableCell.h"
#include "ui/CommandIds.h"
#include "ui/LogView.h"
#include "ui/MainFrame.h"
#include "ui/QtPrompt.h"
#include "ui/can/XcpStatusDlg.h"
#include "ui/dialogs/SelectConnectionDlg.h"
#include "ui/grid/GridCtrl.h"
#include "ui/grid/GridModel.h"
#include "ui/monitor/MoniChartFrame.h"
#include "ui/monitor/MoniDigitListBase.h"
#include "ui/setup/ZT300SetView.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QInputDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "UiTestSupport.h"

namespace {

// Answers every modal window the program opens while a test drives it: the connection choice
// is accepted as offered, a memo is typed where one is asked for, the XCP status lines are kept.
class CProgramResponder : public CModalResponder {
public:
    CProgramResponder() {
        m_onDialog = [this](QDialog& dialog) {
            if (auto* input = qobject_cast<QInputDialog*>(&dialog)) {
                input->setTextValue(QStringLiteral("memo"));
                input->accept();
            } else if (auto* xcp = qobject_cast<CXcpStatusDlg*>(&dialog)) {
                if (!xcp->GetLines().isEmpty()) {
                    m_texts << xcp->GetLines();
                    xcp->reject();
                }
            } else if (qobject_cast<CSelectConnectionDlg*>(&dialog) != nullptr) {
                dialog.accept();
            }
        };
    }
};

} // namespace

class RecorderAppTest : public QObject {
    Q_OBJECT

private:
    AppOptions Options(bool demo) const { return DemoOptions(m_dir, demo); }
    QTemporaryDir m_dir;

private slots:
    // The menu bar follows the active window; F9 switches between setup and monitor.
    void menusFollowTheActiveWindowAndF9Switches() {
        CRecorderApp app(Options(true));
        app.Start();
        CMainFrame& frame = app.MainFrame();
        QCOMPARE(frame.GetMenuKind(), MenuKind::NoDocument);
        QVERIFY(!app.IsCommandEnabled(CommandId::kFileTransfer)); // no recorder

        QVERIFY(app.OpenDocument(kDemoRecorders) != nullptr);
        QCOMPARE(frame.GetMenuKind(), MenuKind::Setup);
        QVERIFY(app.IsCommandEnabled(CommandId::kFileTransfer));
        QAction* f9 = frame.FindCommand(CommandId::kSwitch);
        QVERIFY(f9 != nullptr);
        QCOMPARE(f9->shortcut(), QKeySequence(Qt::Key_F9));
        frame.UpdateCommandStates();
        f9->trigger();
        QCOMPARE(frame.GetMenuKind(), MenuKind::Monitor);
        QVERIFY(!app.IsCommandEnabled(CommandId::kCalibration)); // a command of the table
        QVERIFY(frame.FindCommand(CommandId::kGoArmed) != nullptr);
        QCOMPARE(frame.FindCommand(CommandId::kGoArmed)->shortcut(), QKeySequence(Qt::Key_F1));
        frame.UpdateCommandStates();
        frame.FindCommand(CommandId::kSwitch)->trigger();
        QCOMPARE(frame.GetMenuKind(), MenuKind::Setup);

        app.OnCommand(CommandId::kFileClose);
        QCOMPARE(app.DocumentCount(), 0);
        QCOMPARE(frame.GetMenuKind(), MenuKind::NoDocument);

        // An application ended with a document still open takes its windows down first.
        QVERIFY(app.OpenDocument(kDemoRecorders) != nullptr);
        app.ShowMonitor(*app.ActiveDocument());
    }

    // The title bars show the program's icon (a window without one shows the toolkit's logo).
    void everyWindowShowsTheProgramsIcon() {
        CRecorderApp app(Options(true));
        const QIcon own(QStringLiteral(":/icons/zt300ctl.svg"));
        QVERIFY(!own.isNull());
        const QImage expected = own.pixmap(32, 32).toImage();
        QVERIFY(!expected.isNull());
        app.Start();
        QVERIFY(app.OpenDocument(kDemoRecorders) != nullptr);
        app.ShowMonitor(*app.ActiveDocument());
        QCOMPARE(app.MainFrame().windowIcon().pixmap(32, 32).toImage(), expected);
        for (QMdiSubWindow* child : app.MainFrame().MdiArea()->subWindowList())
            QCOMPARE(child->windowIcon().pixmap(32, 32).toImage(), expected);
    }

    // Every command of the menus without a document and of the setup window, in each state of
    // the program: no document, an offline document, a connected one, and that one ARMED (the
    // setup window active). The table is the program's rule for each.
    void commandsAreEnabledByTheProgramsState() {
        using namespace CommandId;
        enum State { kNone, kOffline, kConnected, kArmed, kStates };
        struct Row {
            int id;
            const char* text;
            bool enabled[kStates];
        };
        // clang-format off
        const Row rows[] = {
            {kFileOpen,            "Open",                      {true,  true,  true,  false}},
            {kFileSave,            "Save",                      {false, true,  true,  true}},
            {kFileSaveAs,          "Save As",                   {false, true,  true,  true}},
            {kFileClose,           "Close",                     {false, true,  true,  true}},
            {kSaveAsCnd,           "Save As .CND...",           {false, true,  true,  true}},
            {kImportCal,           "Import CAL...",             {false, true,  true,  false}},
            {kExportCal,           "Export CAL ...",            {false, true,  true,  true}},
            {kViewAcqFile,         "View ACQ file...",          {true,  true,  true,  false}},
            {kFilePrint,           "Print...",                  {false, true,  true,  true}},
            {kFilePrintPreview,    "Print Preview",             {false, true,  true,  true}},
            {kFilePrintSetup,      "Print Setup...",            {false, true,  true,  true}},
            {kAppExit,             "Exit",                      {true,  true,  true,  true}},
            {kScan,                "Scan ...",                  {true,  true,  false, false}},
            {kIpSetting,           "IP Setting ...",            {true,  true,  true,  true}},
            {kLoadCnd,             "Load Cnd",                  {false, false, true,  false}},
            {kWriteCnd,            "Write Cnd",                 {false, false, true,  false}},
            {kRtc,                 "RTC ...",                   {false, false, true,  false}},
            {kCalibration,         "Calibration ...",           {false, true,  true,  false}},
            {kOptionSetting,       "Setting ...",               {true,  true,  true,  false}},
            {kMaxMinValue,         "MAX/MIN Value ...",         {true,  true,  true,  false}},
            {kSaveMaxMin,          "SaveMax/Min",               {false, false, false, true}},
            {kCanKInit,            "QA-80CAN-K Init...",        {true,  true,  true,  false}},
            {kXcpSet,              "XCP Set",                   {false, false, true,  false}},
            {kXcpStatus,           "XCP Status...",             {false, false, true,  false}},
            {kCanGInit,            "QA-80CAN-G Init...",        {true,  true,  true,  false}},
            {kRelayControlSetting, "Relay Control Setting ...", {false, true,  true,  false}},
            {kMaterialList,        "Material List ...",         {false, true,  true,  true}},
            {kWindowCascade,       "Cascade",                   {true,  true,  true,  true}},
            {kWindowTileHorz,      "Horz Tile",                 {true,  true,  true,  true}},
            {kWindowTileVert,      "Vert Tile",                 {true,  true,  true,  true}},
            {kWindowArrange,       "Arrange Icons",             {true,  true,  true,  true}},
            {kSwitch,              "SWITCH",                    {false, false, true,  true}},
            {kAppAbout,            "About ZT300CTL...",         {true,  true,  true,  true}},
            {kCardInfo,            "Card Info",                 {false, false, true,  false}},
            {kRegisterPhyUnit,     "Register Phyunit",          {true,  true,  true,  false}},
        };
        // clang-format on
        CRecorderApp app(Options(true));
        app.Start();
        CProgramResponder responder;
        CMainFrame& frame = app.MainFrame();
        // The commands whose state differs from the table, and those of the menu on show that
        // the table lacks.
        auto check = [&](State state) {
            QStringList wrong;
            for (const Row& row : rows) {
                const bool enabled = app.IsCommandEnabled(row.id) || row.id == kAppExit ||
                                     row.id == kAppAbout; // the frame runs these itself
                if (enabled != row.enabled[state])
                    wrong << QString::fromLatin1(row.text);
            }
            QList<QAction*> commands = frame.actions(); // those without a menu entry
            for (QAction* menu : frame.menuBar()->actions())
                commands += menu->menu()->actions();
            for (QAction* action : commands) {
                const int id = action->data().toInt();
                if (id != 0 && std::none_of(std::begin(rows), std::end(rows),
                                            [id](const Row& row) { return row.id == id; }))
                    wrong << QStringLiteral("not in the table: ") + action->text();
            }
            return wrong;
        };
        QCOMPARE(check(kNone), QStringList());

        const QString path = m_dir.filePath("offline.czd");
        QCOMPARE(CRecCnd().Save(path.toStdString()), std::string());
        CZT300SetDoc* offline = app.OpenDocument(path.toStdString());
        QVERIFY(offline != nullptr);
        QCOMPARE(frame.GetMenuKind(), MenuKind::Setup);
        QCOMPARE(check(kOffline), QStringList());
        QVERIFY(app.CloseDocument(*offline));

        CZT300SetDoc* doc = app.OpenDocument(kDemoRecorders);
        QVERIFY(doc != nullptr);
        QCOMPARE(check(kConnected), QStringList());
        app.OnCommand(kGoArmed);
        QVERIFY(doc->m_acq.run);
        app.ShowSetup(*doc);
        QCOMPARE(frame.GetMenuKind(), MenuKind::Setup);
        QCOMPARE(check(kArmed), QStringList());
        app.OnCommand(kStopArmed);
        QVERIFY(!doc->m_acq.run);
        for (int id : {kOptionSetting, kMaxMinValue, kRegisterPhyUnit, kFileOpen})
            QVERIFY(app.IsCommandEnabled(id));
    }

    // ARM, a record started by the contacts, a mark, a typed code and the memo edit, then IDLE.
    void armRecordAndStopFromTheMonitorWindow() {
        CRecorderApp app(Options(true));
        app.Start();
        CProgramResponder responder;
        CZT300SetDoc* doc = app.OpenDocument(kDemoRecorders);
        QVERIFY(doc != nullptr);
        const QString records = m_dir.filePath("records");
        QDir().mkpath(records);
        for (CRecCnd& condition : doc->GetConditions())
            condition.m_hddRecFolder = records.toStdString();

        app.Settings().m_externalSignal = 1; // the simulated contacts start the record
        QVERIFY(app.IsCommandEnabled(CommandId::kGoArmed));
        app.OnCommand(CommandId::kGoArmed);
        QCOMPARE(app.MainFrame().GetMenuKind(), MenuKind::Monitor);
        QVERIFY(doc->m_acq.run);
        auto* view = app.MainFrame().findChild<CZT300SetView*>();
        QVERIFY(view->IsLocked());
        // The recorded files wait until the recorders are no longer ARMED.
        QVERIFY(!app.IsCommandEnabled(CommandId::kViewAcqFile));
        QVERIFY(!app.IsCommandEnabled(CommandId::kFileTransfer));
        QVERIFY(app.IsCommandEnabled(CommandId::kStartHddAcq));
        QCheckBox* input1 = nullptr; // in the Simulated Inputs window, a window of its own
        for (QWidget* window : QApplication::topLevelWidgets()) {
            for (QCheckBox* box : window->findChildren<QCheckBox*>()) {
                if (box->text() == QStringLiteral("Input 1"))
                    input1 = box;
            }
        }
        QVERIFY(input1 != nullptr);
        input1->setChecked(true);
        QTRY_VERIFY_WITH_TIMEOUT(doc->m_acq.pcRecord, 5000);
        QTest::qWait(300);
        app.OnCommand(CommandId::kMark);
        QTest::qWait(300);
        // A two-digit code typed in the monitor window is a mark whose memo is the code.
        auto* monitor = app.MainFrame().findChild<CMoniChartFrame*>();
        QVERIFY(monitor != nullptr);
        app.Settings().m_realTimeMark = 1;
        const int linesBefore = monitor->GetLogView()->count();
        QTest::keyClicks(monitor, QStringLiteral("42"));
        QTest::keyClick(monitor, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(monitor->GetLogView()->count() > linesBefore, kSlowMs);
        app.OnCommand(CommandId::kStopAcq);
        QVERIFY(QString::fromStdString(doc->GetRecordResultText())
                    .startsWith(QStringLiteral("ACQ OK ! (")));
        QCOMPARE(QDir(records).entryList({QStringLiteral("*.hdr")}).size(), 1);

        // The edit panel rewrites the last record's memo.
        monitor->MemoEdit(0)->setText(QStringLiteral("after the run"));
        monitor->EditFile();
        QVERIFY(responder.m_texts.contains(QStringLiteral("Edit OK!")));
        TextLines header;
        const QString hdr =
            QDir(records).filePath(QDir(records).entryList({QStringLiteral("*.hdr")}).first());
        QCOMPARE(QString::fromStdString(CTextFile::ReadTextLines(hdr.toStdString(), header)),
                 QString());
        QVERIFY(std::find(header.begin(), header.end(), "COMMENT1 after the run") != header.end());
        QVERIFY(monitor->GetDigitList()->RowCount() > 0);
        QVERIFY(monitor->GetLogView()->count() >= 2); // start, mark, stop
        app.OnCommand(CommandId::kStopArmed);
        QVERIFY(!doc->m_acq.run);
        QCOMPARE(doc->GetStatusPaneText(), std::string("IDLE"));
        QVERIFY(!view->IsLocked());
    }

    // Every setting the program keeps is read back after a restart.
    void settingsSurviveARestart() {
        CRecorderSettings changed;
        {
            CRecorderApp app(Options(true));
            CRecorderSettings& s = app.Settings();
            s.m_viewFolder = "/data/view/";
            s.m_viewerPgm = "/usr/bin/viewer";
            s.m_multiZt300 = 1;
            s.m_calRef = 1;
            s.m_calFileRef = "/data/cal.cal";
            s.m_balWarnPercent = 42;
            s.m_chartType = 1;
            s.m_yGridCnt = 12;
            s.m_xWidth = 45;
            s.m_xGrid = 0.5;
            s.m_decimalDigit = 2;
            s.m_realTimeMark = 1;
            s.m_ctrlInput = 1;
            s.m_rtmStartCode = "11";
            s.m_rtmStopCode = "22";
            s.m_rtmPauseCode = "33";
            s.m_autoSave = 1;
            s.m_asFilePath = "/data/mm.csv";
            s.m_asMode = 1;
            s.m_regPhyUnits = "V,,kN";
            changed = s;
            QVERIFY(app.Exit());
        }
        // Every setting changed above, read back.
        const auto kept = [](const CRecorderSettings& s) {
            return std::tuple(s.m_viewFolder, s.m_viewerPgm, s.m_multiZt300, s.m_calRef,
                              s.m_calFileRef, s.m_balWarnPercent, s.m_chartType, s.m_yGridCnt,
                              s.m_xWidth, s.m_xGrid, s.m_decimalDigit, s.m_realTimeMark,
                              s.m_ctrlInput, s.m_rtmStartCode, s.m_rtmStopCode, s.m_rtmPauseCode,
                              s.m_autoSave, s.m_asFilePath, s.m_asMode, s.m_regPhyUnits);
        };
        CRecorderApp again(Options(true));
        QCOMPARE(kept(again.Settings()), kept(changed));
        QVERIFY(ChartWidthLabel(again.Settings().m_xWidth).empty()); // 45 s is no listed width
    }

    // The picture is taken and the program ends also while a modal dialog is open (the welcome
    // choice) and while a scan that finds nothing outlasts the picture's delay.
    void screenshotEndsTheProgramWhateverItIsDoing() {
        for (const QStringList& arguments :
             {QStringList{"--demo"}, QStringList{"--connect"},
              QStringList{"--demo", QString::fromStdString(kDemoRecorders)}}) {
            QTemporaryDir home;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("HOME"), home.path());
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath("config"));
            environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath("data"));
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            const QString picture = home.filePath("shot.png");
            QProcess program;
            program.setProcessEnvironment(environment);
            program.start(QStringLiteral(ZT300CTL_PROGRAM),
                          arguments + QStringList{"--screenshot", picture});
            QVERIFY2(program.waitForFinished(30000), qPrintable(arguments.join(' ')));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 0);
            QImage image(picture);
            QVERIFY(!image.isNull());
            QVERIFY(image.width() > 300 && image.height() > 300);
        }
    }

    // XCP Set and XCP Status act on the current recorder, and only when it has a K module: the
    // module's refusal, the success and the status lines reach the user.
    void xcpCommandsActOnTheCurrentRecorderWithAKModule() {
        CRecorderApp app(Options(true));
        app.Start();
        CProgramResponder responder;
        CZT300SetDoc* doc = app.OpenDocument(kDemoRecorders);
        QVERIFY(doc != nullptr);
        // The first recorder, with a K module in slot 8, is the enabling table's case.
        QCOMPARE(doc->GetCurrentIndex(), 0);
        doc->SetCurrentIndex(1);
        for (const int id : {CommandId::kXcpSet, CommandId::kXcpStatus})
            QVERIFY2(!app.IsCommandEnabled(id), "the second recorder's CAN module is a G module");
        doc->SetCurrentIndex(0);

        // The module refuses while its XCP switch is off: its refusal, nothing more.
        responder.m_texts.clear(); // what opening the document said
        app.OnCommand(CommandId::kXcpSet);
        QCOMPARE(responder.m_texts, QStringList{QStringLiteral("8XSN:NAK!")});
        CDevice& device = doc->GetDevice(0);
        QVERIFY(device.SetXcpSwitch(8, true));
        QVERIFY(device.WriteXcpProcedure(8, {"1 CONNECT x 0"}));
        responder.m_texts.clear();
        app.OnCommand(CommandId::kXcpSet);
        QCOMPARE(responder.m_texts, QStringList{QStringLiteral("XCP Setting OK!")});
        responder.m_texts.clear();
        app.OnCommand(CommandId::kXcpStatus);
        QCOMPARE(responder.m_texts,
                 QStringList{QStringLiteral("Slot8 CAN_K  ---  3 XCP\u3000Send completely ")});

        QVERIFY(app.Exit());
    }

    // Two recorders served by zt300sim: scan, connect, edit a range in the table, write it to the
    // recorder and read it back.
    void editedRangeTravelsToTheRecorderAndBack() {
        QProcess sim;
        const QString port = QStringLiteral("47391");
        sim.start(QStringLiteral(ZT300_SIM_PROGRAM),
                  {QStringLiteral("--config"),
                   QStringLiteral(ZT300_TEST_DATA_DIR "/net/two_recorders.conf"),
                   QStringLiteral("--port"), port});
        QVERIFY(sim.waitForStarted(10000));
        QVERIFY(sim.waitForReadyRead(10000));
        QVERIFY(sim.readLine().startsWith("ready"));

        AppOptions options = Options(false);
        options.netPort = port.toUShort();
        CRecorderApp app(options);
        app.Settings().m_multiZt300 = 1;
        app.Start();
        CProgramResponder responder;
        app.ScanAndConnect();
        CZT300SetDoc* doc = app.ActiveDocument();
        QVERIFY(doc != nullptr);
        QCOMPARE(doc->GetRecorderCount(), 2);

        auto* view = app.MainFrame().MdiArea()->activeSubWindow()->findChild<CZT300SetView*>();
        QVERIFY(view != nullptr);
        CGridModel& model = view->Grid().Model();
        const int row = 1; // the first channel: slot 1, channel 1
        QCOMPARE(model.Cell(row, ChannelTableColumn::kRange).text, QStringLiteral("10V"));
        QVERIFY(model.setData(model.IndexOf(row, ChannelTableColumn::kRange), QStringLiteral("5V"),
                              Qt::EditRole));
        QCOMPARE(doc->GetConditions()[0].m_channels[0].m_range, std::string("5V"));

        app.OnCommand(CommandId::kWriteCnd);
        QVERIFY(responder.m_texts.contains(QStringLiteral("Write Condition OK!")));

        // The recorder itself now holds the range.
        ILinkLibrary& link = app.Link();
        const int handle = doc->GetDevice(0).GetHandle();
        std::vector<LinkChannelRecord> records;
        QCOMPARE(link.LnkGetSlotChannels(handle, 1, records), 1);
        QCOMPARE(records.at(0).range, std::string("5V"));

        doc->GetConditions()[0].m_channels[0].SetRange("10V");
        app.OnCommand(CommandId::kLoadCnd);
        QCOMPARE(doc->GetConditions()[0].m_channels[0].m_range, std::string("5V"));
        QCOMPARE(model.Cell(row, ChannelTableColumn::kRange).text, QStringLiteral("5V"));

        QVERIFY(app.Exit());
        sim.terminate();
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 0);
    }
};

QTEST_MAIN(RecorderAppTest)
#include "RecorderAppTest.moc"
