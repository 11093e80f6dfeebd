#include "ui/SetFrame.h"
#include "acquisition/ZT300SetDoc.h"
#include "framework/LinkLibrary.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "ui/LinkFactory.h"
#include "ui/LogView.h"
#include "ui/grid/GridCtrl.h"
#include "ui/setup/ZT300SetView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
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

    // Each pair of times keeps its values, and the table follows the bar's switches at once.
    void hddLevelTriggerAndCalculationSwitchTimesAndTable() {
        auto doc = ConnectedDoc();
        CRecCnd& cnd = doc->GetConditions()[0];
        cnd.m_preTime = 5;
        cnd.m_postTime = 6;
        cnd.m_hddPreTime = 7;
        cnd.m_hddPostTime = 8;
        cnd.m_hddLvlTrg = 0;
        cnd.m_calc = 0;
        CZT300SetFrame frame(*doc, m_prompt);
        auto* view = new CZT300SetView(&frame);
        view->SetConditions(&doc->GetConditions(), doc->GetShownIndex(), &m_settings);
        doc->AddView(view);
        frame.SetView(view);
        CGridModel& model = view->Grid().Model();
        const int rows = model.GridRows();
        QCOMPARE(rows, static_cast<int>(cnd.m_channels.size()) + 1);
        QCOMPARE(model.Cell(0, ChannelTableColumn::kTrg).text, QStringLiteral("TRG"));
        QCOMPARE(frame.PreTimeBox()->value(), 5);

        frame.HddLvlTrgCheck()->setChecked(true);
        QCOMPARE(cnd.m_hddLvlTrg, 1);
        QCOMPARE(frame.TimeLabel()->text(), QStringLiteral("HDD Recording Time ( seconds ):"));
        QCOMPARE(frame.PreTimeBox()->value(), 7);
        QCOMPARE(frame.PostTimeBox()->value(), 8);
        QCOMPARE(model.Cell(0, ChannelTableColumn::kTrg).text, QStringLiteral("H_TRG"));
        QCOMPARE(model.Cell(0, ChannelTableColumn::kTrgV).text, QStringLiteral("H_TRG_V"));
        QCOMPARE(model.Cell(1, ChannelTableColumn::kTrg).choices,
                 QStringList({"OFF", "ABS", "UP", "DOWN"}));
        frame.PreTimeBox()->setValue(9);
        QCOMPARE(cnd.m_hddPreTime, 9);

        frame.HddLvlTrgCheck()->setChecked(false);
        QCOMPARE(frame.TimeLabel()->text(), QStringLiteral("Recording Time ( seconds ):"));
        QCOMPARE(frame.PreTimeBox()->value(), 5);
        QCOMPARE(frame.PostTimeBox()->value(), 6);
        QCOMPARE(cnd.m_preTime, 5);
        QCOMPARE(cnd.m_postTime, 6);
        QCOMPARE(cnd.m_hddPreTime, 9);
        QCOMPARE(cnd.m_hddPostTime, 8);
        QCOMPARE(model.Cell(0, ChannelTableColumn::kTrg).text, QStringLiteral("TRG"));
        QCOMPARE(model.Cell(1, ChannelTableColumn::kTrg).choices, QStringList({"OFF", "ON"}));

        frame.CalcCheck()->setChecked(true);
        QCOMPARE(cnd.m_calc, 1);
        QCOMPARE(model.GridRows(), rows + 4);
        frame.CalcCheck()->setChecked(false);
        QCOMPARE(model.GridRows(), rows);
        QVERIFY(doc->IsModified());
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
