#include "device/Device.h"
#include "device/sim/SimLink.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "ui/dialogs/AboutDlg.h"
#include "ui/dialogs/AutoSaveDlg.h"
#include "ui/dialogs/CardInfoDlg.h"
#include "ui/dialogs/ConfigIpDlg.h"
#include "ui/dialogs/IpAddressEdit.h"
#include "ui/dialogs/RegPhyUnitDlg.h"
#include "ui/dialogs/RtcDlg.h"
#include "ui/dialogs/SelectConnectionDlg.h"
#include "ui/dialogs/WelcomeDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

namespace {

const std::vector<RecorderEntry> kRecorders{
    {"ZT-300", "192.168.1.3"}, {"ZT-500", "192.168.1.12"}, {"ZT-300", "192.168.1.20"}};

void Tick(CSelectConnectionDlg& dialog, int row, bool ticked) {
    QAbstractItemModel* model = dialog.List()->model();
    model->setData(model->index(row, 0), ticked ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

QStringList TickColumn(const CSelectConnectionDlg& dialog) {
    QStringList ticks;
    QAbstractItemModel* model = dialog.List()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        ticks << (model->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked ? "x" : "-");
    return ticks;
}

// One simulated recorder on loopback with a card and its CDevice.
struct SimRecorderDevice {
    SimRecorderDevice() {
        std::string error;
        link = CSimLink::FromConfigText("RECORDER ZT-300 127.0.0.5\nCARD_KB 2048\nSLOT 1 "
                                        "PN=QA-80VA TY=2 NCH=2 RV=10 CF=OFF\n",
                                        error, &clock);
        if (!link)
            qFatal("%s", error.c_str());
        device = std::make_unique<CDevice>(*link, prompt, clock);
        device->SetDeviceName("ZT-300");
    }
    CManualClock clock;
    CFakePrompt prompt;
    std::unique_ptr<CSimLink> link;
    std::unique_ptr<CDevice> device;
};

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void welcomeOffersConnectAndOffline() {
        CWelcomeDlg welcome;
        QCOMPARE(welcome.GetChoice(), CWelcomeDlg::Choice::NoConnection);
        QTest::mouseClick(welcome.ConnectButton(), Qt::LeftButton);
        QCOMPARE(welcome.GetChoice(), CWelcomeDlg::Choice::Connect);
        QCOMPARE(welcome.result(), int(QDialog::Accepted));
        QVERIFY(welcome.NoConnectionButton()->text().startsWith("NOCON"));
    }

    void selectConnectionTicksAndOk() {
        CSelectConnectionDlg single(kRecorders, false);
        QCOMPARE(single.windowTitle(), QStringLiteral("Select Connection"));
        QCOMPARE(TickColumn(single), (QStringList{"x", "-", "-"}));
        QAbstractItemModel* model = single.List()->model();
        QCOMPARE(model->index(1, 0).data().toInt(), 2);
        QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("192.168.1.12"));
        QCOMPARE(model->index(1, 2).data().toString(), QStringLiteral("ZT-500"));
        QVERIFY(single.OkButton()->isEnabled());
        Tick(single, 0, false);
        QVERIFY(!single.OkButton()->isEnabled());
        Tick(single, 2, true);
        QVERIFY(single.OkButton()->isEnabled());
        QCOMPARE(single.GetSelected(), (std::vector<RecorderEntry>{kRecorders[2]}));

        CSelectConnectionDlg multi(kRecorders, true);
        QCOMPARE(TickColumn(multi), (QStringList{"x", "x", "x"}));
        Tick(multi, 1, false);
        QCOMPARE(multi.GetSelected(), (std::vector<RecorderEntry>{kRecorders[0], kRecorders[2]}));

        CSelectConnectionDlg one(kRecorders, true, true);
        QCOMPARE(TickColumn(one), (QStringList{"x", "-", "-"}));
        Tick(one, 2, true);
        QCOMPARE(TickColumn(one), (QStringList{"-", "-", "x"}));
    }

    void configIpReturnsTheFourTexts() {
        CConfigIpDlg dialog("192.168.1.12");
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Config IP Addres"));
        QCOMPARE(dialog.GetOldAddress(), std::string("192.168.1.12"));
        QCOMPARE(dialog.GetNewAddress(), std::string("192.168.1.201"));
        QCOMPARE(dialog.GetMask(), std::string("255.255.255.0"));
        QCOMPARE(dialog.GetGateway(), std::string("192.168.1.1"));

        CIpAddressEdit* edit = dialog.NewAddressEdit();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        edit->Part(0)->setFocus();
        edit->Part(0)->selectAll();
        QTest::keyClicks(edit->Part(0), "10.");
        QTest::keyClicks(QApplication::focusWidget(), "999");
        QTest::keyClicks(QApplication::focusWidget(), "x7");
        QCOMPARE(dialog.GetNewAddress(), std::string("10.255.7.201")); // 999 is cut to 255
        edit->Part(3)->clear();
        QCOMPARE(dialog.GetNewAddress(), std::string("10.255.7.0"));

        CConfigIpDlg unknown("not an address");
        QCOMPARE(unknown.GetOldAddress(), std::string("0.0.0.0"));
        QVERIFY(unknown.OldAddressEdit()->Part(0)->text().isEmpty());
    }

    void unitListEditing() {
        CRegPhyUnitDlg dialog({"V", "", "mV"});
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Register Physical Unit"));
        QCOMPARE(dialog.UnitList()->model()->rowCount(), 3);
        QVERIFY(!dialog.InsertAfterButton()->isEnabled()); // nothing typed
        QVERIFY(!dialog.DeleteButton()->isEnabled());      // nothing selected

        dialog.NewUnitEdit()->setText("Hz");
        QTest::mouseClick(dialog.InsertAfterButton(), Qt::LeftButton); // no selection: at the end
        QCOMPARE(dialog.GetUnits(), (std::vector<std::string>{"V", "", "mV", "Hz"}));
        QVERIFY(dialog.DeleteButton()->isEnabled()); // the new unit is selected
        dialog.NewUnitEdit()->setText("uST");
        QTest::mouseClick(dialog.InsertBeforeButton(), Qt::LeftButton);
        QCOMPARE(dialog.GetUnits(), (std::vector<std::string>{"V", "", "mV", "uST", "Hz"}));
        dialog.UnitList()->setCurrentIndex(dialog.UnitList()->model()->index(1, 0));
        QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);
        QCOMPARE(dialog.GetUnits(), (std::vector<std::string>{"V", "mV", "uST", "Hz"}));
        dialog.NewUnitEdit()->setText("m,s");
        QVERIFY(!dialog.InsertBeforeButton()->isEnabled());
    }

    void autoSaveSettingAndAbout() {
        CAutoSaveDlg dialog(1, "/data/maxmin.csv", CAutoSaveDlg::kOverWrite);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Auto Save Setting"));
        QVERIFY(dialog.AutoSaveBox()->isChecked());
        QVERIFY(dialog.OverWriteButton()->isChecked());
        QCOMPARE(dialog.AppendButton()->text(), QStringLiteral("Append"));
        dialog.AutoSaveBox()->setChecked(false);
        dialog.AppendButton()->setChecked(true);
        dialog.FileNameEdit()->setText("/data/other.csv");
        QCOMPARE(dialog.GetAutoSave(), 0);
        QCOMPARE(dialog.GetMode(), CAutoSaveDlg::kAppend);
        QCOMPARE(dialog.GetFilePath(), std::string("/data/other.csv"));

        CAboutDlg about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About ZT300CTL"));
        QVERIFY(about.findChild<QLabel*>("versionText")->text().startsWith("ZT300CTL Version "));
    }

    void clockDialogShowsBothClocksAndSetsTheRecorder() {
        SimRecorderDevice sim;
        QVERIFY(sim.device->Open("127.0.0.5"));
        LinkRtc other{5, 4, 3, 2, 1, 2027, 6, 1, 0};
        QCOMPARE(sim.link->LnkSetRTC(sim.device->GetHandle(), other), 1);

        CRtcDlg dialog(*sim.device, sim.clock);
        dialog.show();
        QVERIFY(dialog.IsRefreshing());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.PcDate()->text().isEmpty(), 5000);
        QCOMPARE(dialog.PcDate()->text(), QStringLiteral("12-06-2026"));
        QCOMPARE(dialog.PcTime()->text(), QStringLiteral("10:20:30"));
        QCOMPARE(dialog.DeviceDate()->text(), QStringLiteral("01-02-2027"));
        QCOMPARE(dialog.DeviceTime()->text(), QStringLiteral("03:04:05"));

        sim.clock.m_localTime.second = 31; // both clocks go on
        QTRY_COMPARE_WITH_TIMEOUT(dialog.PcTime()->text(), QStringLiteral("10:20:31"), 5000);
        QCOMPARE(dialog.DeviceTime()->text(), QStringLiteral("03:04:06"));

        QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
        QCOMPARE(sim.prompt.MessageTexts(), std::vector<std::string>{"Setting RTC OK!"});
        QCOMPARE(sim.prompt.Messages()[0].icon, PromptIcon::Information);
        QCOMPARE(dialog.DeviceDate()->text(), QStringLiteral("12-06-2026"));
        QCOMPARE(dialog.DeviceTime()->text(), QStringLiteral("10:20:31"));
        QVERIFY(dialog.IsRefreshing());

        sim.link->FindRecorder("127.0.0.5")->SetOperationError(LinkOrdinal::kSetRTC, -3);
        QTest::mouseClick(dialog.SetButton(), Qt::LeftButton);
        QCOMPARE(sim.prompt.MessageTexts().back(), std::string("Setting RTC failed !"));
        QCOMPARE(sim.prompt.Messages().back().icon, PromptIcon::Stop);
        QVERIFY(dialog.IsRefreshing());

        sim.link->FindRecorder("127.0.0.5")->SetOperationError(LinkOrdinal::kGetRTC, -3);
        dialog.Refresh();
        QCOMPARE(dialog.DeviceDate()->text(), QStringLiteral("-"));
        QCOMPARE(dialog.DeviceTime()->text(), QStringLiteral("-"));
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.IsRefreshing());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void clockDialogOfAnUnconnectedRecorderCloses() {
        SimRecorderDevice sim;
        CRtcDlg dialog(*sim.device, sim.clock);
        bool closedByItself = true;
        QTimer::singleShot(5000, this, [&] {
            closedByItself = false;
            dialog.show(); // a hidden dialog's exec() would never end
            dialog.accept();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(closedByItself);
        QCOMPARE(dialog.DeviceTime()->text(), QStringLiteral("-"));
    }

    void cardInfoShowsTheCardValues() {
        SimRecorderDevice sim;
        CCardInfoDlg offline(*sim.device);
        QCOMPARE(offline.windowTitle(), QStringLiteral("Card Info"));
        QVERIFY(!offline.RefreshButton()->isEnabled());

        QVERIFY(sim.device->Open("127.0.0.5"));
        CCardInfoDlg dialog(*sim.device);
        // Nothing read yet: the values are all zero.
        QCOMPARE(dialog.InfoText()->text(), QStringLiteral("Memory Card : Not available"));
        QTest::mouseClick(dialog.RefreshButton(), Qt::LeftButton);
        QCOMPARE(dialog.InfoText()->text(), QStringLiteral("Memory Card : Present\n"
                                                           "Capacity : 2048 KB\n"
                                                           "Used : 0 KB\n"
                                                           "Free : 2048 KB\n"
                                                           "Files : 0\n"
                                                           "Folders : 0"));
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
