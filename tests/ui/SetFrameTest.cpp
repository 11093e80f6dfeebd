#include "ui/SetFrame.h"
#include "acquisition/ZT300SetDoc.h"
#include "framework/LinkLibrary.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "ui/LinkFactory.h"
#include "ui/LogView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

class SetFrameTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CZT300SetDoc> ConnectedDoc() {
        auto doc = std::make_unique<CZT300SetDoc>(
            DocServices{*m_link, m_prompt, m_clock, m_settings, m_dir.path().toStdString() + "/"});
        doc->OnOpenDocument("127_0_0_2_ZT-300,127_0_0_3_ZT-500");
        return doc;
    }

    QTemporaryDir m_dir;
    CManualClock m_clock;
    CFakePrompt m_prompt;
    CRecorderSettings m_settings;
    std::unique_ptr<ILinkLibrary> m_link = CreateLink(true, &m_clock, 0);

private slots:
    void namesAreCheckedAndGoToEveryRecorder() {
        auto doc = ConnectedDoc();
        QCOMPARE(doc->GetRecorderCount(), 2);
        CZT300SetFrame frame(*doc, m_prompt);
        m_prompt.Clear();

        QLineEdit* name = frame.FileNameEdit();
        const QString old = name->text();
        name->setText(QStringLiteral("run.1"));
        emit name->editingFinished();
        QCOMPARE(name->text(), old);
        QCOMPARE(m_prompt.MessageTexts(),
                 std::vector<std::string>{"You can not use \".\" charactor"});
        QCOMPARE(m_prompt.Messages()[0].icon, PromptIcon::Stop);

        frame.CardFolderEdit()->setText(QString(22, QLatin1Char('f')));
        emit frame.CardFolderEdit()->editingFinished();
        QCOMPARE(m_prompt.MessageTexts().back(),
                 std::string("Please enter no more than 21 characters."));

        frame.CardFolderEdit()->setText(QStringLiteral("CARD01"));
        emit frame.CardFolderEdit()->editingFinished();
        name->setText(QStringLiteral("Run_7"));
        emit name->editingFinished();
        for (const CRecCnd& condition : doc->GetConditions()) {
            QCOMPARE(condition.m_baseFileName, std::string("CARD01\\Run_7"));
            QCOMPARE(condition.m_sendPending, 1);
        }
        QVERIFY(doc->IsModified());
        QCOMPARE(frame.NextRecordLabel()->text(), QStringLiteral("Run_7_yymmdd_hhmmss"));
    }

    void syncModeChangeAsksFirst() {
        auto doc = ConnectedDoc();
        CZT300SetFrame frame(*doc, m_prompt);
        doc->GetConditions()[0].m_sync = 10;
        doc->UpdateAllViews(nullptr, 1);
        m_prompt.Clear();
        QComboBox* sync = frame.SyncList();
        m_prompt.QueueAnswer(PromptAnswer::No);
        sync->setCurrentIndex(1);
        emit sync->activated(1);
        QCOMPARE(doc->GetConditions()[0].m_sync, 10);
        QCOMPARE(sync->currentIndex(), 0);
        QCOMPARE(
            m_prompt.MessageTexts(),
            std::vector<std::string>{
                "The Sync Mode will be changed to MASTER or SLAVE. It may cause the device not "
                "record. Do you really want to change?"});
        sync->setCurrentIndex(2);
        emit sync->activated(2);
        QCOMPARE(doc->GetConditions()[0].m_sync, 12);
    }

    void rateListsFollowTheCondition() {
        auto doc = ConnectedDoc();
        doc->GetConditions()[0].m_rate = "2.56kHz";
        CZT300SetFrame frame(*doc, m_prompt);
        QCOMPARE(frame.RateList()->count(), 17);
        QCOMPARE(frame.RateList()->currentText(), QStringLiteral("2.56kHz"));
        frame.RateList()->setCurrentIndex(0);
        QCOMPARE(doc->GetConditions()[0].m_rate, std::string("1.28Hz"));
    }

    void logViewEmptiesItselfWhenFull() {
        CLogView log;
        for (int i = 0; i < 999; ++i)
            log.AddLine(QString::number(i));
        QCOMPARE(log.count(), 999);
        QCOMPARE(log.currentRow(), 998);
        log.AddLine(QStringLiteral("line 1000"));
        QCOMPARE(log.count(), 1);
        QCOMPARE(log.item(0)->text(), QStringLiteral("line 1000"));
        QCOMPARE(log.currentRow(), 0);
    }
};

QTEST_MAIN(SetFrameTest)
#include "SetFrameTest.moc"
