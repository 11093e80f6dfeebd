#include "acquisition/RecorderSettings.h"
#include "ui/ProgressWnd.h"
#include "ui/QtMessageTarget.h"
#include "ui/QtPrompt.h"
#include "ui/QtSettingsStore.h"
#include "ui/QtSoundPlayer.h"

#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>
#include <vector>

#include <sys/stat.h>

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void progressWindowDisablesItsOwnerAndReportsCancelOnce() {
        QMainWindow owner;
        owner.show();
        CQtPrompt prompt(&owner);
        prompt.ProgressOpen("COMM ERROR", "Scanning Device ...");
        CProgressWnd* progress = prompt.Progress();
        QVERIFY(progress->isVisible());
        QCOMPARE(progress->windowTitle(), QStringLiteral("COMM ERROR"));
        QVERIFY(!owner.isEnabled());
        QVERIFY(progress->isEnabled());

        prompt.ProgressSetRange(0, 60);
        prompt.ProgressSetPos(30);
        QCOMPARE(progress->PercentText(), QStringLiteral("50%"));
        prompt.ProgressSetPos(60);
        QCOMPARE(progress->PercentText(), QStringLiteral("100%"));
        prompt.ProgressSetText("Scanning Device ...3 seconds");
        QCOMPARE(progress->Text(), QStringLiteral("Scanning Device ...3 seconds"));
        prompt.ProgressSetCancelText("Reconnect");
        QPushButton* button = progress->findChild<QPushButton*>();
        QCOMPARE(button->text(), QStringLiteral("Reconnect"));

        QVERIFY(!prompt.ProgressCheckCancel());
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(prompt.ProgressCheckCancel());
        QVERIFY(!prompt.ProgressCheckCancel()); // polling clears it

        prompt.ProgressShowBar(false);
        QVERIFY(progress->findChild<QProgressBar*>()->isHidden());
        prompt.ProgressClose();
        QVERIFY(owner.isEnabled());
        QVERIFY(prompt.Progress() == nullptr);
    }

    void postedMessagesArriveOnTheUiThreadInOrder() {
        std::vector<int> received;
        bool onUiThread = true;
        CQtMessageTarget target([&](int id, std::intptr_t wparam, std::intptr_t) {
            received.push_back(id * 1000 + static_cast<int>(wparam));
            onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
        });
        std::thread poster([&] {
            for (int i = 0; i < 100; ++i)
                target.Post(PostedMessage::kDisplayTick, i);
        });
        poster.join();
        target.Post(PostedMessage::kCommError);
        QTRY_COMPARE(received.size(), std::size_t(101));
        for (int i = 0; i < 100; ++i)
            QCOMPARE(received[static_cast<std::size_t>(i)], PostedMessage::kDisplayTick * 1000 + i);
        QCOMPARE(received.back(), PostedMessage::kCommError * 1000);
        QVERIFY(onUiThread);

        CQtSoundPlayer player;
        player.PlayAsync("/nonexistent/mark.wav"); // skipped without a sound device being asked
    }

    void settingsStoreKeepsSectionsAndKeysInAnIniFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("zt300ctl.ini");
        {
            CQtSettingsStore store(path);
            QCOMPARE(store.GetInt("ZT300SET_SECTION", "XWidth", 10), 10);
            QCOMPARE(store.GetString("ZT300SET_SECTION", "RegPhyUnits", "V"), std::string("V"));
            store.WriteInt("ZT300SET_SECTION", "XWidth", 45);
            store.WriteString("ZT300SET_SECTION", "RegPhyUnits", "V,,mV");
            store.WriteString("CSelChBalDlg_Section", "SELCH", "1,0,1");
            store.Sync();
        }
        CQtSettingsStore again(path);
        QCOMPARE(again.GetInt("ZT300SET_SECTION", "XWidth", 10), 45);
        QCOMPARE(again.GetString("ZT300SET_SECTION", "RegPhyUnits", ""), std::string("V,,mV"));
        QCOMPARE(again.GetString("CSelChBalDlg_Section", "SELCH", ""), std::string("1,0,1"));
        QCOMPARE(again.GetInt("ZT300SET_SECTION", "RegPhyUnits", 7), 7); // not a number
    }

    // A file edited by hand: values holding commas are the texts they are, and survive a save.
    void handWrittenValuesWithCommasAreReadAsTheyStand() {
        QTemporaryDir dir;
        const QString path = dir.filePath("zt300ctl.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[ZT300SET_SECTION]\nRegPhyUnits=V,,mV\nAS_FilePath = /data/a, b.csv \n"
                   "CalFileRef=/cal/x,\nXWidth=30\n[Other]\nRegPhyUnits=kN,N\n");
        file.close();
        CRecorderSettings settings;
        {
            CQtSettingsStore store(path);
            QCOMPARE(store.OpenError(), std::string());
            settings.Load(store);
            QCOMPARE(settings.m_regPhyUnits, std::string("V,,mV"));
            QCOMPARE(settings.GetUnitList(), (std::vector<std::string>{"V", "", "mV"}));
            QCOMPARE(settings.m_asFilePath, std::string("/data/a, b.csv"));
            QCOMPARE(settings.m_calFileRef, std::string("/cal/x,"));
            QCOMPARE(settings.m_xWidth, 30);
            QCOMPARE(store.GetString("Other", "RegPhyUnits", ""), std::string("kN,N"));
            settings.Save(store);
            store.Sync();
        }
        CQtSettingsStore again(path);
        CRecorderSettings reread;
        reread.Load(again);
        QCOMPARE(reread.m_regPhyUnits, std::string("V,,mV"));
        QCOMPARE(reread.m_asFilePath, std::string("/data/a, b.csv"));
        QCOMPARE(reread.m_calFileRef, std::string("/cal/x,"));
    }

    // A named pipe or a device as the profile is neither read (it would hang or never end) nor
    // replaced; the store works in memory and says why.
    void profilesThatAreNoRegularFilesAreRefused() {
        QTemporaryDir dir;
        const QString pipe = dir.filePath("pipe.ini");
        QVERIFY(::mkfifo(pipe.toLocal8Bit().constData(), 0600) == 0);
        for (const QString& path : {pipe, QStringLiteral("/dev/zero")}) {
            CQtSettingsStore store(path);
            QCOMPARE(store.OpenError(),
                     "An unexpected error occurred while reading " + path.toStdString() + ".");
            QCOMPARE(store.GetInt("ZT300SET_SECTION", "XWidth", 10), 10);
            store.WriteInt("ZT300SET_SECTION", "XWidth", 45);
            QCOMPARE(store.GetInt("ZT300SET_SECTION", "XWidth", 10), 45);
            store.Sync();
        }
        QVERIFY(QFileInfo(pipe).isFile() == false && QFileInfo::exists(pipe));
    }
};

QTEST_MAIN(PlatformTest)
#include "PlatformTest.moc"
