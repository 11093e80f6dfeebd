#include "acquisition/ZT300SetDoc.h"
#include "conditions/RelayTable.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "framework/UpdateHints.h"
#include "setup/ChannelTableRules.h"
#include "support/FakePrompt.h"
#include "ui/CommandIds.h"
#include "ui/grid/GridCtrl.h"
#include "ui/relay/PortSettingDlg.h"
#include "ui/relay/RelayCommands.h"
#include "ui/relay/RelaySetInfoView.h"
#include "ui/relay/RelaySettingDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "UiTestSupport.h"

#include <fstream>

class RelayDialogsTest : public QObject {
    Q_OBJECT

private:
    CRecCnd& Condition() { return m_doc->GetConditions()[0]; }
    QString Cell(CRelaySettingDlg& dialog, int row, int column) {
        return dialog.Grid()->Model().Cell(row, column).text;
    }

    QTemporaryDir m_dir;
    CSystemClock m_clock;
    CFakePrompt m_prompt;
    CRecorderSettings m_settings;
    std::unique_ptr<CSimLink> m_link;
    std::unique_ptr<CZT300SetDoc> m_doc;

private slots:
    void init() {
        m_prompt.Clear();
        m_settings = CRecorderSettings();
        m_link = CSimLink::FromDefaultConfig(&m_clock);
        m_doc = std::make_unique<CZT300SetDoc>(
            DocServices{*m_link, m_prompt, m_clock, m_settings, m_dir.path().toStdString() + "/"});
        QVERIFY(m_doc->OnOpenDocument(ZT300_TEST_DATA_DIR "/conditions/full.czd"));
        CChannelTableRules::NumberChannels(m_doc->GetConditions());
        SetPortLevels(m_settings.m_relaySettings, {0, 0, 0, 0, 0, 0, 1, 0});
    }
    void cleanup() { m_doc.reset(); }

    void dialogEditsReachTheCondition() {
        CRelaySettingDlg dialog(Condition(), GetPortLevels(m_settings.m_relaySettings), m_prompt);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Trg Setting for NI6525"));
        QCOMPARE(GridRow(dialog.Grid()->Model(), 0),
                 (QStringList{"No.", "Ch", "SignalName", "X", "Logic", "Y", "And", "Port",
                              "TrgTimes", "CntLmt(Sec)"}));
        QCOMPARE(dialog.Grid()->ColumnWidth(CRelayTable::kSignalName), 120);
        QCOMPARE(GridRow(dialog.Grid()->Model(), 1),
                 (QStringList{"1", "Ch1", "Force", "1.500", "X <= Data < Y", "7.250", "", "P7(B)",
                              "3", "10"}));
        QVERIFY(dialog.Grid()->Model().Cell(1, CRelayTable::kAnd).checked);
        QCOMPARE(dialog.SafeTimerEdit()->text(), QStringLiteral("5000"));
        QVERIFY2(!dialog.RecStopBox()->isChecked(), "recording stop off in the file");
        QVERIFY(!dialog.RecStopEdit()->isEnabled());
        QVERIFY(dialog.RecStartBox()->isChecked());
        QCOMPARE(dialog.AutoMonitorEdit()->text(), QStringLiteral("120"));

        // "<<" with the third channel of the list, then edits of its cells.
        QCOMPARE(dialog.ChannelList()->item(2)->text(), QStringLiteral("Ch4  1-4"));
        dialog.ChannelList()->setCurrentRow(2);
        dialog.findChild<QPushButton*>("addRow")->click();
        CGridModel& model = dialog.Grid()->Model();
        QCOMPARE(model.GridRows(), 4);
        QVERIFY(model.SetCellTextFromUser(3, CRelayTable::kX, "2.5", false));
        QVERIFY(model.SetCellTextFromUser(3, CRelayTable::kLogic, "Data >= X ", false));
        QVERIFY(model.SetCellTextFromUser(3, CRelayTable::kPort, "P7(B)", false));
        QVERIFY(
            model.setData(model.IndexOf(3, CRelayTable::kAnd), Qt::Checked, Qt::CheckStateRole));
        model.SetCellTextFromUser(3, CRelayTable::kTrgTimes, "-4", false); // refused
        QCOMPARE(GridRow(dialog.Grid()->Model(), 3),
                 (QStringList{"3", "Ch4", "1-4", "2.500", "Data >= X ", "0.000", "", "P7(B)", "0",
                              "0"}));
        QVERIFY(SaveShot(dialog, "relay-dialog.png"));

        // "DEL" on the second row.
        dialog.Grid()->SelectCells(2, 0, 2, 0);
        dialog.findChild<QPushButton*>("deleteRow")->click();
        QCOMPARE(model.GridRows(), 3);
        QCOMPARE(Cell(dialog, 2, CRelayTable::kSignalName), QStringLiteral("1-4"));
        QCOMPARE(Cell(dialog, 2, CRelayTable::kNo), QStringLiteral("2"));

        // A refused watch-dog value keeps the dialog open.
        dialog.RecStopBox()->setChecked(true);
        dialog.RecStopEdit()->setText("601");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(m_prompt.MessageTexts(),
                 std::vector<std::string>{"Please enter an integer between 0 and 600."});
        dialog.RecStopEdit()->setText("45");
        dialog.SafeTimerEdit()->setText("6500");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        dialog.ApplyTo(Condition());
        QCOMPARE(Condition().m_dogTimer, (WatchDogSettings{6500, 200, 45, 1, 120}));
        QCOMPARE(Condition().m_monitorChannels.size(), std::size_t(2));
        QCOMPARE(Condition().m_monitorChannels[1].FormatValues(),
                 std::string("4,1-4,3,2.500,0.000,1,6,0,0"));
    }

    void importExportRoundTripAndPortSetting() {
        CRelaySettingDlg dialog(Condition(), GetPortLevels(m_settings.m_relaySettings), m_prompt);
        const QString path = m_dir.filePath("relay.n66");
        QString chosen = path;
        dialog.SetFileChooser([&chosen](bool) { return chosen; });
        dialog.AutoMonitorEdit()->setText("900");
        dialog.ExportToFile();
        QCOMPARE(m_prompt.MessageTexts(), std::vector<std::string>{"Export OK !"});
        TextLines lines;
        QCOMPARE(CTextFile::ReadTextLines(path.toStdString(), lines), std::string());
        QCOMPARE(lines, (TextLines{"N66.FILE", "DOG_TIMER 5000,200,4294967295,1,900",
                                   "MONITORCH 1,Force,4,1.500,7.250,1,6,3,10",
                                   "MONITORCH 2,1-2,4,1.500,7.250,0,6,3,10"}));

        // Emptied and changed, then imported: as exported.
        dialog.Grid()->SelectCells(1, 0, 1, 0);
        dialog.DeleteSelectedRow();
        dialog.AutoMonitorEdit()->setText("60");
        dialog.ImportFromFile();
        QCOMPARE(dialog.Table().RowCount(), 2);
        QCOMPARE(dialog.AutoMonitorEdit()->text(), QStringLiteral("900"));
        QCOMPARE(Cell(dialog, 2, CRelayTable::kSignalName), QStringLiteral("1-2"));

        // A file of another condition changes nothing and says which line.
        std::ofstream(m_dir.filePath("other.n66").toStdString())
            << "N66.FILE\r\nDOG_TIMER 1,2,3,0,60\r\nMONITORCH 9,Torque,0,0,0,0,0,0,0\r\n";
        chosen = m_dir.filePath("other.n66");
        m_prompt.Clear();
        dialog.ImportFromFile();
        QCOMPARE(m_prompt.MessageTexts(),
                 std::vector<std::string>{
                     "Imcompatible File !\nLine 3: MONITORCH 9,Torque,0,0,0,0,0,0,0"});
        QCOMPARE(dialog.Table().RowCount(), 2);
        QCOMPARE(dialog.AutoMonitorEdit()->text(), QStringLiteral("900"));

        // "Port Setting": port 7 LOW again shows as "A".
        dialog.SetPortDialogRunner([](QDialog& shown) {
            auto& ports = static_cast<CPortSettingDlg&>(shown);
            if (ports.windowTitle() != QStringLiteral("NI6525 Port Setting") ||
                ports.PortBox(6)->currentText() != QStringLiteral("HIGH"))
                return int(QDialog::Rejected);
            SaveShot(ports, "relay-ports.png");
            ports.PortBox(6)->setCurrentIndex(0);
            ports.PortBox(0)->setCurrentIndex(1);
            return int(QDialog::Accepted);
        });
        dialog.ShowPortSetting();
        QCOMPARE(Cell(dialog, 1, CRelayTable::kPort), QStringLiteral("P7(A)"));
        QCOMPARE(dialog.GetPortLevels(), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0}));
    }

    void informationViewShowsTheConditionAndFollowsHints() {
        CRelaySetInfoView view(*m_doc, m_settings.m_relaySettings);
        view.resize(520, 220);
        view.show();
        QCOMPARE(view.HeaderLines(),
                 (QStringList{"Relay Control Setting : ",
                              "Trg Timer : 200 ms ,Rec Start : Yes ,AutoMonitor:120 sec",
                              "WatchingDog Timer:5000 ms ,REC Stop:N "}));
        QTableWidget& list = *view.List();
        QCOMPARE(list.horizontalHeaderItem(6)->text(), QStringLiteral("AND"));
        QCOMPARE(list.rowCount(), 2);
        QCOMPARE(Row(&list, 0), (QStringList{"1", "Ch1", "Force", "1.500", "X <= Data < Y", "7.250",
                                             "O", "P7(B)"}));
        QCOMPARE(Row(&list, 1),
                 (QStringList{"2", "Ch2", "1-2", "1.500", "X <= Data < Y", "7.250", "", "P7(B)"}));
        QVERIFY(SaveShot(view, "relay-info.png"));

        Condition().m_dogTimer.recStopTime = 30;
        Condition().m_monitorChannels.pop_back();
        m_doc->UpdateAllViews(nullptr, UpdateHint::kConditionChanged);
        QCOMPARE(view.HeaderLines()[2],
                 QStringLiteral("WatchingDog Timer:5000 ms ,REC Stop:Y, ACQ Time:30 sec"));
        QCOMPARE(list.rowCount(), 1);
    }

    void commandsAndTheirEnabling() {
        QWidget parent;
        CRelayCommands commands(m_settings, m_prompt, &parent);
        using namespace CommandId;
        QVERIFY(CRelayCommands::IsRelayCommand(kWatchDogStop));
        QVERIFY(!CRelayCommands::IsRelayCommand(kVoice));
        QVERIFY(!commands.IsEnabled(kRelayControlSetting, nullptr));
        QVERIFY(commands.IsEnabled(kRelayControlSetting, m_doc.get()));
        QVERIFY2(!commands.IsEnabled(kWatchDogStart, m_doc.get()), "relay control is off");
        m_settings.m_relayControl = 1;
        QVERIFY2(!commands.IsEnabled(kWatchDogStart, m_doc.get()), "not ARMED");
        m_doc->m_acq.run = true;
        QVERIFY(commands.IsEnabled(kWatchDogStart, m_doc.get()));
        QVERIFY2(!commands.IsEnabled(kRelayControlSetting, m_doc.get()), "locked while ARMED");
        commands.OnCommand(kWatchDogStart, *m_doc);
        QCOMPARE(m_prompt.MessageTexts(),
                 std::vector<std::string>{"Relay output module (NI6525) open failed!"});
        QVERIFY(!commands.IsEnabled(kWatchDogStop, m_doc.get()));
        m_doc->m_acq.run = false;

        // The dialog's OK reaches the condition, the ports and the views.
        commands.SetDialogRunner([](CRelaySettingDlg& dialog) {
            dialog.TrgTimerEdit()->setText("750");
            dialog.Grid()->SelectCells(1, 0, 1, 0);
            dialog.DeleteSelectedRow();
            dialog.accept();
            return dialog.result();
        });
        CRelaySetInfoView view(*m_doc, m_settings.m_relaySettings);
        commands.OnCommand(kRelayControlSetting, *m_doc);
        QCOMPARE(Condition().m_dogTimer.trgTimer, 750);
        QCOMPARE(Condition().m_monitorChannels.size(), std::size_t(1));
        QVERIFY(m_doc->IsModified());
        QCOMPARE(view.List()->rowCount(), 1);
        QVERIFY(view.HeaderLines()[1].startsWith("Trg Timer : 750 ms"));
    }
};

QTEST_MAIN(RelayDialogsTest)
#include "RelayDialogsTest.moc"
