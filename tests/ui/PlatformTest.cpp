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
};

QTEST_MAIN(PlatformTest)
#include "PlatformTest.moc"
