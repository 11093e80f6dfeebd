#include "ui/MainFrame.h"
#include "ui/CommandIds.h"

#include <QAction>
#include <QMenuBar>
#include <QtTest>

class MainFrameTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheProgramTitleAndTheMenuWithoutDocument() {
        CMainFrame frame;
        QCOMPARE(frame.windowTitle(), QStringLiteral("ZT300CTL"));
        QStringList menus;
        for (QAction* action : frame.menuBar()->actions())
            menus << action->text();
        QCOMPARE(menus, (QStringList{"&File", "&Comm", "&Option", "&Help"}));

        const struct {
            int id;
            const char* text;
        } commands[] = {
            {CommandId::kFileOpen, "&Open"},
            {CommandId::kViewAcqFile, "View ACQ file..."},
            {CommandId::kAppExit, "E&xit"},
            {CommandId::kScan, "&Scan ..."},
            {CommandId::kIpSetting, "&IP Setting ..."},
            {CommandId::kOptionSetting, "Setting ..."},
            {CommandId::kCanKInit, "QA-80CANK Init..."},
            {CommandId::kCanGInit, "QA-80CAN-G Init..."},
            {CommandId::kAppAbout, "&About ZT300CTL..."},
        };
        for (const auto& command : commands) {
            QAction* action = frame.FindCommand(command.id);
            QVERIFY2(action != nullptr, command.text);
            QCOMPARE(action->text(), QString::fromLatin1(command.text));
        }
        QVERIFY(frame.FindCommand(CommandId::kAppExit)->isEnabled());
        QVERIFY(frame.FindCommand(CommandId::kAppAbout)->isEnabled());
    }
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
