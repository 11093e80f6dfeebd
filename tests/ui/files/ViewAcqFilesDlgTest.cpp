// The "View ACQ Files" dialog over a folder of fixture records, and the viewer started on a
// record: a stand-in viewer script records the arguments it got.
#include "support/FakeProcessLauncher.h"
#include "support/TestFiles.h"

#include "ui/files/EditFileDlg.h"
#include "ui/files/QtProcessLauncher.h"
#include "ui/files/ViewAcqFilesDlg.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "UiTestSupport.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void SelectRow(QTableView* list, const QString& name) {
    list->clearSelection();
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        if (list->model()->index(row, 0).data().toString() == name)
            list->selectRow(row);
    }
}

} // namespace

class ViewAcqFilesDlgTest : public QObject {
    Q_OBJECT

private:
    // A copy of the fixture records in a folder of the test.
    std::string Records(const QString& name) {
        const fs::path folder = m_dir.filePath(name).toStdString();
        fs::create_directories(folder);
        fs::copy(ZT300_TEST_DATA_DIR "/records/list", folder, fs::copy_options::recursive);
        return folder.string() + "/";
    }

    QTemporaryDir m_dir;

private slots:
    void listsSortsEditsAndDeletes() {
        const std::string folder = Records("records");
        CFakeProcessLauncher launcher;
        CModalResponder responder;
        CViewAcqFilesDlg dialog(folder, "/opt/viewer/plotview", launcher);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("View ACQ Files"));
        QCOMPARE(dialog.FolderText()->text(), QString::fromStdString(folder));
        QCOMPARE(dialog.ViewerText()->text(), QStringLiteral("/opt/viewer/plotview"));
        QTableView* list = dialog.List();
        QStringList headers;
        for (int column = 0; column < list->model()->columnCount(); ++column)
            headers << list->model()->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(headers,
                 (QStringList{"FileName", "Date", "TestInfo", "Memo1", "Memo2", "SamplingRate"}));
        QCOMPARE(Column(list, 0),
                 (QStringList{"Run_00001.hdr", "a.b.hdr", "card0001.hdr", "late.hdr"}));
        QCOMPARE(Column(list, 1).front(), QStringLiteral("03-07-2026 09:05:04"));
        QCOMPARE(list->model()->index(0, 5).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(list->model()->index(0, 1).data(Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignHCenter | Qt::AlignVCenter));

        emit list->horizontalHeader()->sectionClicked(1);
        QCOMPARE(Column(list, 0),
                 (QStringList{"a.b.hdr", "Run_00001.hdr", "card0001.hdr", "late.hdr"}));
        emit list->horizontalHeader()->sectionClicked(1);
        QCOMPARE(Column(list, 0),
                 (QStringList{"late.hdr", "card0001.hdr", "Run_00001.hdr", "a.b.hdr"}));

        QVERIFY(!dialog.EditButton()->isEnabled());
        SelectRow(list, "a.b.hdr");
        QVERIFY(dialog.EditButton()->isEnabled() && dialog.DeleteButton()->isEnabled());
        QVERIFY(SaveShot(dialog, "zt300_view_acq_files.png"));

        // Edit File shows the recording's texts; a new name renames both files.
        QStringList shown;
        responder.m_onDialog = [&](QDialog& modal) {
            auto* edit = qobject_cast<CEditFileDlg*>(&modal);
            if (edit == nullptr)
                return;
            shown = {edit->TestInfo()->text(), edit->Memo1()->text(), edit->Memo2()->text(),
                     edit->FileName()->text()};
            QVERIFY(SaveShot(*edit, "zt300_edit_file.png"));
            edit->TestInfo()->setText(QStringLiteral("Checked"));
            edit->FileName()->setText(QStringLiteral("bench 2.dat"));
            edit->accept();
        };
        QTest::mouseClick(dialog.EditButton(), Qt::LeftButton);
        QCOMPARE(shown, (QStringList{"bench", "Second", "x,y,z", "a.b.dat"}));
        QCOMPARE(Column(list, 0).back(), QStringLiteral("bench 2.hdr"));
        QCOMPARE(Column(list, 2).back(), QStringLiteral("Checked"));
        QVERIFY(fs::exists(folder + "bench 2.dat"));
        QVERIFY(!fs::exists(folder + "a.b.hdr"));

        // Deleting asks first and takes both files of every selected recording.
        SelectRow(list, "bench 2.hdr");
        list->selectionModel()->select(list->model()->index(0, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        responder.m_answers.push_back(QMessageBox::Cancel);
        QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);
        QCOMPARE(list->model()->rowCount(), 4);
        QTest::mouseClick(dialog.DeleteButton(), Qt::LeftButton);
        QCOMPARE(Column(list, 0), (QStringList{"card0001.hdr", "Run_00001.hdr"}));
        QVERIFY(!fs::exists(folder + "bench 2.dat"));
        QVERIFY(!fs::exists(folder + "late.dat"));
        QVERIFY(fs::exists(folder + "Run_00001.dat"));
        QCOMPARE(responder.m_texts, (QStringList{"Do you want to delete selected files ?",
                                                 "Do you want to delete selected files ?"}));
        QVERIFY(launcher.m_launches.empty());
    }

    void theViewerGetsTheRecordAsOneArgumentWhileTheMainWindowHides() {
        // Blanks, quotes and ";" in the folder and the name: no shell may cut them.
        const std::string folder = Records("rec dir 'x' \"q\"; y");
        fs::rename(folder + "Run_00001.hdr", folder + "run; \"1\" 'a'.hdr");
        const std::string argsFile = m_dir.filePath("args").toStdString();
        const std::string script = m_dir.filePath("viewer stand-in.sh").toStdString();
        std::ofstream(script) << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" << argsFile
                              << ".part'\nmv '" << argsFile << ".part' '" << argsFile
                              << "'\nsleep 1\n";
        fs::permissions(script, fs::perms::owner_all);

        QMainWindow mainWindow;
        mainWindow.show();
        CQtProcessLauncher launcher(&mainWindow);
        CModalResponder responder;
        CViewAcqFilesDlg dialog(folder, script, launcher, &mainWindow);
        dialog.show();
        QTableView* list = dialog.List();
        const int row = static_cast<int>(Column(list, 0).indexOf("run; \"1\" 'a'.hdr"));
        QVERIFY(row >= 0);
        bool hiddenWhileRunning = false;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (fs::exists(argsFile) && !mainWindow.isVisible())
                hiddenWhileRunning = true;
        });
        watch.start(50);
        QElapsedTimer elapsed;
        elapsed.start();
        emit list->doubleClicked(list->model()->index(row, 0));
        watch.stop();
        QVERIFY(elapsed.elapsed() >= 1000); // it waited for the viewer to end
        QVERIFY(hiddenWhileRunning);
        QVERIFY(mainWindow.isVisible());
        QVERIFY(dialog.isEnabled());
        QCOMPARE(ReadTestFile(argsFile), "1\n" + folder + "run; \"1\" 'a'.hdr\n");
        QVERIFY(responder.m_texts.isEmpty());

        // A viewer that cannot start is told, with its command line; the window stays.
        dialog.SetViewer(m_dir.filePath("no viewer").toStdString());
        emit list->doubleClicked(list->model()->index(row, 0));
        QCOMPARE(responder.m_texts, QStringList{QString::fromStdString(
                                        "Calling " + m_dir.filePath("no viewer").toStdString() +
                                        " \"" + folder + "run; \"1\" 'a'.hdr\" failed!")});
        QVERIFY(mainWindow.isVisible());
    }
};

QTEST_MAIN(ViewAcqFilesDlgTest)
#include "ViewAcqFilesDlgTest.moc"
