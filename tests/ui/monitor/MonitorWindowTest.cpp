// The monitor window of the program on demo recorders: its commands and their states, its
// panels and panes, both chart arrangements on a running acquisition, and what it keeps.
#include "acquisition/ZT300SetDoc.h"
#include "framework/UpdateHints.h"
#include "ui/CommandIds.h"
#include "ui/LogView.h"
#include "ui/MainFrame.h"
#include "ui/RecorderApp.h"
#include "ui/dialogs/SelectConnectionDlg.h"
#include "ui/grid/GridCtrl.h"
#include "ui/monitor/ControlPanel.h"
#include "ui/monitor/MoniChartFrame.h"
#include "ui/monitor/MoniChartView.h"
#include "ui/monitor/MoniCommonView.h"
#include "ui/monitor/MoniDigitListBase.h"
#include "ui/monitor/MyStatusBar.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QtTest>

#include "UiTestSupport.h"

using namespace CommandId;

namespace {

const std::string kOneRecorder = "127_0_0_2_ZT-300";

} // namespace

class MonitorWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    AppOptions Options() const { return DemoOptions(m_dir); }

    static CMoniChartFrame* Monitor(CRecorderApp& app) {
        return app.MainFrame().findChild<CMoniChartFrame*>();
    }

    CZT300SetDoc* OpenMonitor(CRecorderApp& app, const std::string& recorders) {
        CZT300SetDoc* doc = app.OpenDocument(recorders);
        if (doc == nullptr)
            return nullptr;
        const QString records = m_dir.filePath("records");
        QDir().mkpath(records);
        for (CRecCnd& condition : doc->GetConditions())
            condition.m_hddRecFolder = records.toStdString();
        app.ShowMonitor(*doc);
        app.ArrangeAfterConnect();
        return doc;
    }

private slots:
    // Every test starts from the default settings.
    void init() { QFile::remove(m_dir.filePath("zt300ctl.ini")); }

    // A chart command enabled or checked in the wrong chart type, display type or panel state.
    void commandsEnableAndCheckAsTheWindowStands() {
        CRecorderApp app(Options());
        app.Settings().m_chartType = 0;
        app.Start();
        CZT300SetDoc* doc = OpenMonitor(app, kDemoRecorders);
        QVERIFY(doc != nullptr);
        CMoniChartFrame* frame = Monitor(app);
        QVERIFY(frame != nullptr);
        QCOMPARE(app.MainFrame().GetMenuKind(), MenuKind::Monitor);
        QVERIFY(frame->windowTitle().endsWith(QStringLiteral(" --- Chart")));
        QVERIFY(frame->GetChartView() != nullptr);
        QVERIFY(ChartSlotsAllShown(*doc)); // a condition that showed nothing shows everything

        // Offset, ResetScale, AutoScale, Wave, Digit, DigitAndWave, ChartSlot1, TestInfoPanel and
        // RemoteControlPanel: separate charts in the wave type, nothing in the ring yet, and no
        // chart slots for two recorders.
        QCOMPARE(States(app), (QStringList{"E-", "E-", "--", "EC", "E-", "E-", "-C", "EC", "EC"}));
        doc->GetConditions()[0].m_channels[0].m_valueBox = 1;
        app.OnCommand(kOffset);
        QCOMPARE(States(app), (QStringList{"EC", "E-", "--", "EC", "E-", "EC", "-C", "EC", "EC"}));
        app.OnCommand(kDigit); // the digit type has no scales
        QCOMPARE(States(app), (QStringList{"-C", "--", "--", "E-", "EC", "-C", "-C", "EC", "EC"}));
        app.OnCommand(kWave);
        app.OnCommand(kTestInfoPanel);
        app.OnCommand(kRemoteControlPanel);
        QCOMPARE(States(app), (QStringList{"EC", "E-", "--", "EC", "E-", "EC", "-C", "E-", "E-"}));
        QVERIFY(!frame->GetTestInfoPanel()->isVisibleTo(frame));
        QVERIFY(!frame->GetControlPanel()->isVisible());

        // Nothing shown: the chart commands wait for a channel.
        for (CRecCnd& condition : doc->GetConditions()) {
            for (CChCnd& channel : condition.m_channels)
                channel.m_visible = 0;
            for (CCalcChCnd& calc : condition.m_calcChannels)
                calc.m_visible = 0;
        }
        QCOMPARE(States(app), (QStringList{"-C", "--", "--", "-C", "--", "--", "--", "E-", "E-"}));

        // The setup window has none of the monitor's commands.
        app.OnCommand(kSwitch);
        QCOMPARE(app.MainFrame().GetMenuKind(), MenuKind::Setup);
        QCOMPARE(States(app), (QStringList{"--", "--", "--", "--", "--", "--", "--", "--", "--"}));
        QVERIFY(app.Exit());
    }

    void chartSlotsActOnASingleRecorder() {
        CRecorderApp app(Options());
        app.Start();
        CZT300SetDoc* doc = OpenMonitor(app, kOneRecorder);
        QVERIFY(doc != nullptr);
        app.MainFrame().UpdateCommandStates();
        QVERIFY(app.MainFrame().FindCommand(kChartSlot1 + 1) != nullptr);
        QVERIFY(app.IsCommandEnabled(kChartSlot1)); // slot 1 has enabled channels
        for (CChCnd& channel : doc->GetConditions()[0].m_channels)
            channel.m_enabled = channel.m_slot == 8 ? 0 : channel.m_enabled;
        QVERIFY2(!app.IsCommandEnabled(kChartSlot1 + 7), "slot 8 records nothing");
        QVERIFY(app.IsCommandChecked(kChartSlot1));
        app.OnCommand(kChartSlot1);
        QVERIFY(!app.IsCommandChecked(kChartSlot1));
        for (const CChCnd& channel : doc->GetConditions()[0].m_channels)
            QCOMPARE(channel.m_visible, channel.m_slot == 1 ? 0 : 1);
        // The digit list re-read its boxes with the repaint hint.
        CMoniDigitListBase* list = Monitor(app)->GetDigitList();
        QVERIFY(!list->Grid().Model().Cell(1, 0).checked);
        app.OnCommand(kChartSlot1);
        QVERIFY(list->Grid().Model().Cell(1, 0).checked);
        QVERIFY(app.Exit());
    }

    void aDemoAcquisitionDrivesBothChartsAndBothLists() {
        CRecorderApp app(Options());
        app.Settings().m_chartType = 0;
        app.Settings().m_xWidth = 2;
        app.Settings().m_xGrid = 0.5;
        app.Start();
        CModalResponder answerer; // acknowledges what a start may say
        CZT300SetDoc* doc = OpenMonitor(app, kDemoRecorders);
        QVERIFY(doc != nullptr);
        CMoniChartFrame* frame = Monitor(app);
        QCOMPARE(frame->GetStatusBar()->PaneText(CMyStatusBar::kChartWidth),
                 QStringLiteral("Chart Width:2  sec, Grid:0.5 sec"));
        QVERIFY(frame->GetStatusBar()
                    ->PaneText(CMyStatusBar::kText)
                    .startsWith(QStringLiteral("Rate :1kHz,    HDD Rec File : ")));

        app.OnCommand(kGoArmed);
        QVERIFY(doc->m_acq.run);
        app.OnCommand(kStartHddAcq);
        CMoniDigitListBase* list = frame->GetDigitList();
        QTRY_VERIFY_WITH_TIMEOUT(list->Grid().Model().Cell(1, 2).text != QStringLiteral("-"), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(frame->GetChartView()->GetTimeStart() > 0.0, 8000);
        QVERIFY(frame->GetStatusBar()->Progress()->value() >= 1);
        QVERIFY(frame->GetStatusBar()
                    ->PaneText(CMyStatusBar::kStatus)
                    .startsWith(QStringLiteral("HDD ACQ...")));
        // The data thread's counts: rows received since ARM and the run's milliseconds.
        const QRegularExpressionMatch counts =
            QRegularExpression(QStringLiteral("^DataCnt=(\\d+), TickCnt(\\d+)$"))
                .match(frame->GetStatusBar()->PaneText(CMyStatusBar::kCounts));
        QVERIFY(counts.hasMatch());
        QVERIFY(counts.captured(1).toLongLong() > 0);
        QVERIFY(counts.captured(2).toLongLong() >= 500);
        // The separate charts drew yellow traces into their panels.
        const QImage picture = frame->GetChartView()->grab().toImage();
        QVERIFY(picture.pixelColor(picture.width() / 8, picture.height() / 8).isValid());
        int yellow = 0;
        for (int y = 0; y < picture.height(); y += 2)
            for (int x = 0; x < picture.width(); x += 2)
                yellow += picture.pixelColor(x, y) == QColor(255, 255, 0) ? 1 : 0;
        QVERIFY(yellow > 100);

        // The window stays while the acquisition runs.
        QCloseEvent close;
        QApplication::sendEvent(frame, &close);
        QVERIFY(!close.isAccepted());

        // Another chart arrangement builds the window again, on the same run.
        app.Settings().m_chartType = 1;
        app.ShowMonitor(*doc);
        frame = Monitor(app);
        QVERIFY(frame->GetCommonView() != nullptr);
        QVERIFY(frame->GetChartView() == nullptr);
        list = frame->GetDigitList();
        QCOMPARE(list->Grid().Model().Cell(0, 1).text, QStringLiteral("CL"));
        QTRY_VERIFY_WITH_TIMEOUT(list->Grid().Model().Cell(1, 2).text != QStringLiteral("-"), 5000);
        const double start = frame->GetCommonView()->GetTimeStart();
        QTRY_VERIFY_WITH_TIMEOUT(frame->GetCommonView()->GetTimeStart() > start, 5000);
        QVERIFY(app.IsCommandEnabled(kAutoScale));
        QVERIFY2(!app.IsCommandEnabled(kOffset), "the common chart has no separate scales");
        app.OnCommand(kAutoScale);

        app.OnCommand(kStopAcq);
        QTRY_VERIFY_WITH_TIMEOUT(frame->findChild<QLabel*>(QStringLiteral("field1115"))->text() !=
                                     QStringLiteral("-"),
                                 kSlowMs);
        QCOMPARE(frame->GetStatusBar()->Progress()->value(), 0);
        app.OnCommand(kStopArmed);
        QVERIFY(!doc->m_acq.run);
        QVERIFY(app.Exit());
    }

    void panelsPanesAndTheirPlacesSurviveARestart() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        {
            CRecorderApp app(Options());
            app.Start();
            QVERIFY(OpenMonitor(app, kOneRecorder) != nullptr);
            CMoniChartFrame* frame = Monitor(app);
            CControlPanel* panel = frame->GetControlPanel();
            QCOMPARE(panel->pos(), QPoint(screen.width() - 180, 240));
            panel->move(300, 200);
            // The test texts go into every recorder's condition at once.
            QSignalSpy edited(frame->TestInfoEdit(0), &QLineEdit::textEdited);
            QTest::keyClicks(frame->TestInfoEdit(0), QStringLiteral("Run 7"));
            QCOMPARE(app.ActiveDocument()->GetConditions()[0].m_testInfo[0], std::string("Run 7"));
            // A third pane beside the log: the list and the log keep three quarters.
            frame->resize(1200, 800);
            auto* third = new QWidget;
            frame->AddLowerPane(third);
            QCOMPARE(frame->GetLowerSplitter()->count(), 3);
            const QList<int> sizes = frame->GetLowerSplitter()->sizes();
            QVERIFY(sizes[0] > sizes[1]);
            QVERIFY(std::abs(sizes[2] - sizes[1]) <= 12);
            QVERIFY(app.Exit());
        }
        {
            CRecorderApp again(Options());
            again.Start();
            QVERIFY(OpenMonitor(again, kOneRecorder) != nullptr);
            QCOMPARE(Monitor(again)->GetControlPanel()->pos(), QPoint(300, 200));
            QVERIFY(again.IsCommandChecked(kRemoteControlPanel));
            again.OnCommand(kRemoteControlPanel);
            QVERIFY(!again.IsCommandChecked(kRemoteControlPanel));
            QVERIFY(again.Exit());
        }
        QSettings ini(m_dir.filePath("zt300ctl.ini"), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("CMoniChartFrame/PopUpBar_Visible")).toInt(), 0);
        ini.setValue(QStringLiteral("CMoniChartFrame/PopUpBar_X"), -5);
        ini.setValue(QStringLiteral("CMoniChartFrame/PopUpBar_Visible"), 1);
        ini.sync();
        CRecorderApp last(Options());
        last.Start();
        QVERIFY(OpenMonitor(last, kOneRecorder) != nullptr);
        QCOMPARE(Monitor(last)->GetControlPanel()->pos(), QPoint(screen.width() - 180, 240));
        QVERIFY(last.Exit());
    }

private:
    // The chart commands, each as "E" (enabled) or "-" followed by "C" (checked) or "-".
    static QStringList States(const CRecorderApp& app) {
        QStringList states;
        for (const int id : {kOffset, kResetScale, kAutoScale, kWave, kDigit, kDigitAndWave,
                             kChartSlot1, kTestInfoPanel, kRemoteControlPanel})
            states << QLatin1String(app.IsCommandEnabled(id) ? "E" : "-") +
                          QLatin1String(app.IsCommandChecked(id) ? "C" : "-");
        return states;
    }

    static bool ChartSlotsAllShown(const CZT300SetDoc& doc) {
        for (const CRecCnd& condition : doc.GetConditions())
            for (const CChCnd& channel : condition.m_channels)
                if (channel.m_enabled && !channel.m_visible)
                    return false;
        return true;
    }
};

QTEST_MAIN(MonitorWindowTest)
#include "MonitorWindowTest.moc"
