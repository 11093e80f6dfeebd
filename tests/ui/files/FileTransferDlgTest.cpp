// The "File Transfer" dialog over a simulated recorder in this process, and against zt300sim a
// recorder killed in the middle of a copy.
#include "device/Device.h"
#include "device/net/NetLink.h"
#include "device/sim/SimLink.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "support/MemorySettingsStore.h"
#include "support/SimProcess.h"
#include "support/TestFiles.h"

#include "ui/files/FileTransferDlg.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "UiTestSupport.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const char* const kSection = "CFileTransferDlg_Section";

void SelectRows(QTableView* list, const QStringList& names) {
    list->clearSelection();
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        if (names.contains(list->model()->index(row, 0).data().toString()))
            list->selectionModel()->select(list->model()->index(row, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

} // namespace

class FileTransferDlgTest : public QObject {
    Q_OBJECT

private:
    fs::path Path(const QString& name) const { return m_dir.filePath(name).toStdString(); }

    QTemporaryDir m_dir;

private slots:
    void listsTheCardAndThePcAndCopies() {
        const fs::path card = Path("card");
        const fs::path pc = Path("pc");
        std::string error;
        CManualClock clock;
        auto link = CSimLink::FromConfigText(
            "RECORDER ZT-300 127.0.0.2\nCARD " + card.string() +
                "\nRATE 100Hz\nSLOT 1 PN=QA-80VA TY=2 NCH=2 RV=10 CF=OFF\n",
            error, &clock);
        QVERIFY2(link, error.c_str());
        CFakePrompt devicePrompt;
        CDevice device(*link, devicePrompt, clock);
        device.SetDeviceName("ZT-300");
        QVERIFY(device.Open("127.0.0.2"));
        // Two records of card acquisitions, a condition file and a voice note.
        const int h = device.GetHandle();
        QCOMPARE(link->LnkSetAcqCondition(h, {"CARD01\\Run", "100Hz", 0, 0}), 1);
        for (int record = 0; record < 2; ++record) {
            QCOMPARE(link->LnkStartArmed(h, 4000), 1);
            QCOMPARE(link->LnkStartAcq(h, 0, 0), 1);
            clock.Advance(300 + 200 * record);
            QCOMPARE(link->LnkStopAcq(h), 1);
            QCOMPARE(link->LnkStopArmed(h), 1);
        }
        WriteTestFile(card / "ZT300.CND", "condition");
        WriteTestFile(card / "DATA" / "NOTE.WAV", "wave");
        const auto now = fs::file_time_type::clock::now();
        fs::last_write_time(card / "DATA" / "CARD01_Run0001.DAT", now - std::chrono::hours(3));
        fs::last_write_time(card / "DATA" / "NOTE.WAV", now + std::chrono::hours(1));
        WriteTestFile(pc / "b.hdr", "12");
        WriteTestFile(pc / "a.dat", "1");
        WriteTestFile(pc / "x.WAV", "123");
        WriteTestFile(pc / "note.txt", "1234");

        CMemorySettingsStore store;
        store.WriteString(kSection, "Tgt_Folder", pc.string());
        store.WriteInt(kSection, "TGT_Last_Column", 0);
        store.WriteInt(kSection, "TGT_Last_ASC", 1);
        CModalResponder responder;
        CFileTransferDlg dialog(device, store, "/unused/");
        QVERIFY(dialog.Open());
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("File Transfer"));
        QCOMPARE(dialog.TargetFolder()->text(), QString::fromStdString(pc.string()));

        QTreeWidgetItem* root = dialog.Tree()->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("Memory Card"));
        QCOMPARE(root->childCount(), 1);
        QCOMPARE(root->child(0)->text(0), QStringLiteral("DATA"));
        QCOMPARE(Column(dialog.CardList(), 0), QStringList{"ZT300.CND"});
        dialog.Tree()->setCurrentItem(root->child(0));
        QCOMPARE(dialog.CardTotal()->text(), QStringLiteral("\\DATA\\  Total: 5 files"));
        // The card list starts newest first (date, descending), the PC list as it was kept.
        QCOMPARE(Column(dialog.CardList(), 0).front(), QStringLiteral("NOTE.WAV"));
        QCOMPARE(Column(dialog.CardList(), 0).back(), QStringLiteral("CARD01_Run0001.DAT"));
        QCOMPARE(Column(dialog.PcList(), 0), (QStringList{"a.dat", "b.hdr", "x.WAV"}));
        QCOMPARE(Column(dialog.PcList(), 2), (QStringList{"1", "2", "3"}));
        QCOMPARE(dialog.PcList()->model()->headerData(2, Qt::Horizontal).toString(),
                 QStringLiteral("Size"));
        emit dialog.PcList()->horizontalHeader()->sectionClicked(2);
        emit dialog.PcList()->horizontalHeader()->sectionClicked(2);
        QCOMPARE(Column(dialog.PcList(), 0), (QStringList{"x.WAV", "b.hdr", "a.dat"}));

        QVERIFY(!dialog.CopyButton()->isEnabled());
        QVERIFY(dialog.FormatButton()->isEnabled());
        SelectRows(dialog.CardList(), {"CARD01_Run0002.DAT", "NOTE.WAV"});
        QVERIFY(dialog.CopyButton()->isEnabled() && dialog.DeleteButton()->isEnabled());
        QVERIFY(SaveShot(dialog, "zt300_file_transfer.png"));

        QTest::mouseClick(dialog.CopyButton(), Qt::LeftButton);
        QVERIFY(responder.m_texts.isEmpty());
        QVERIFY(fs::exists(pc / "card01_run0002.dat"));
        QVERIFY(fs::exists(pc / "note.wav"));
        QCOMPARE(dialog.PcList()->model()->rowCount(), 6); // refilled
        QVERIFY(dialog.isEnabled());

        // Moving and deleting read the card again; the folder shown stays shown.
        SelectRows(dialog.CardList(), {"CARD01_Run0001.HDR"});
        QTest::mouseClick(dialog.MoveButton(), Qt::LeftButton);
        QCOMPARE(dialog.CardTotal()->text(), QStringLiteral("\\DATA\\  Total: 3 files"));
        SelectRows(dialog.CardList(), {"NOTE.WAV"});
        responder.m_answers.push_back(QMessageBox::Cancel);
        QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);
        QCOMPARE(dialog.CardTotal()->text(), QStringLiteral("\\DATA\\  Total: 3 files"));
        QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);
        QCOMPARE(dialog.CardTotal()->text(), QStringLiteral("\\DATA\\  Total: 2 files"));
        QTest::mouseClick(dialog.FormatButton(), Qt::LeftButton);
        QCOMPARE(dialog.Tree()->topLevelItem(0)->childCount(), 0);
        QCOMPARE(dialog.CardList()->model()->rowCount(), 0);
        QCOMPARE(responder.m_texts, (QStringList{"Do you want to delete selected files ?",
                                                 "Do you want to delete selected files ?",
                                                 "Do you want to format the card ?"}));
        QVERIFY(fs::is_empty(card));

        QTest::mouseClick(dialog.CloseButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(store.GetInt(kSection, "TGT_Last_Column", -1), 2);
        QCOMPARE(store.GetInt(kSection, "TGT_Last_ASC", -1), 0);
        QCOMPARE(store.GetInt(kSection, "SRC_Last_Column", -1), 1);
        QCOMPARE(store.GetString(kSection, "Tgt_Folder", ""), pc.string());
    }

    void theSecondModelCannotFormatAndNoCardIsTold() {
        std::string error;
        CManualClock clock;
        auto link =
            CSimLink::FromConfigText("RECORDER ZT-500 127.0.0.3\nCARD " + Path("card500").string() +
                                         "\nRECORDER ZT-300 127.0.0.4\nCARD NONE\n",
                                     error, &clock);
        QVERIFY2(link, error.c_str());
        CFakePrompt devicePrompt;
        CDevice second(*link, devicePrompt, clock);
        second.SetDeviceName("ZT-500");
        QVERIFY(second.Open("127.0.0.3"));
        CMemorySettingsStore store;
        CFileTransferDlg dialog(second, store, Path("data").string());
        QVERIFY(dialog.Open());
        QVERIFY(!dialog.FormatButton()->isEnabled());
        QCOMPARE(dialog.TargetFolder()->text(), QString::fromStdString(Path("data").string()));

        CDevice noCard(*link, devicePrompt, clock);
        noCard.SetDeviceName("ZT-300");
        QVERIFY(noCard.Open("127.0.0.4"));
        CModalResponder responder;
        CFileTransferDlg none(noCard, store, "");
        QCOMPARE(none.Run(), int(QDialog::Rejected));
        QCOMPARE(responder.m_texts, QStringList{"The memory card does not exist !"});
    }

    void aRecorderKilledDuringACopyLeavesTheDialogUsable() {
        const fs::path card = Path("simcard");
        const fs::path pc = Path("simpc");
        fs::create_directories(pc);
        std::string big(64u << 20, 'x');
        WriteTestFile(card / "DATA" / "BIG0001.DAT", big);
        WriteTestFile(card / "DATA" / "BIG0001.HDR", "DATE 01-01-2026\r\n");
        const std::string config = Path("sim.conf").string();
        std::ofstream(config) << "RECORDER ZT-300 127.0.0.2\nCARD " << card.string() << "\n";
        const std::uint16_t port = FreePort();
        QVERIFY(port != 0);
        CSimProcess sim(port, config, m_dir.path().toStdString());
        QCOMPARE(sim.FirstLine(10000), std::string("ready"));
        CNetLink link(port);
        CFakePrompt devicePrompt;
        CManualClock clock;
        CDevice device(link, devicePrompt, clock);
        device.SetDeviceName("ZT-300");
        QVERIFY(device.Open("127.0.0.2"));

        CMemorySettingsStore store;
        CModalResponder responder;
        CFileTransferDlg dialog(device, store, pc.string());
        QVERIFY(dialog.Open());
        dialog.show();
        dialog.SelectCardFolder("\\DATA\\");
        SelectRows(dialog.CardList(), {"BIG0001.DAT"});
        // The recorder goes once the first piece of the data file reached the PC.
        QTimer watch;
        bool killed = false;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!killed && fs::exists(pc / "big0001.dat.part")) {
                sim.Signal(SIGKILL);
                killed = true;
            }
        });
        watch.start(5);
        QTest::mouseClick(dialog.CopyButton(), Qt::LeftButton);
        watch.stop();
        if (!killed)
            QSKIP("the copy ended before the recorder could be killed");
        QCOMPARE(responder.m_texts, (QStringList{"LnkCopy failed :-1", "Copy failed !"}));
        QVERIFY(fs::is_empty(pc));
        QCOMPARE(fs::file_size(card / "DATA" / "BIG0001.DAT"), big.size());
        QVERIFY(dialog.isEnabled());
        QVERIFY(dialog.CopyButton()->isEnabled());
        QCOMPARE(dialog.CardTotal()->text(), QStringLiteral("\\DATA\\  Total: 2 files"));
        QTest::mouseClick(dialog.CloseButton(), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(FileTransferDlgTest)
#include "FileTransferDlgTest.moc"
