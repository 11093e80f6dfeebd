#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "monitor/SimAudioInput.h"
#include "support/FakePrompt.h"
#include "ui/CommandIds.h"
#include "ui/RecorderApp.h"
#include "ui/voice/QtAudioInput.h"
#include "ui/voice/VoiceNotes.h"

#include <QMediaDevices>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

#include "UiTestSupport.h"

class VoiceNotesUiTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    CSystemClock m_clock;
    CFakePrompt m_prompt;
    CRecorderSettings m_settings;

private slots:
    void listensWhileTheWindowLivesAndStopsWithIt() {
        auto link = CSimLink::FromDefaultConfig(&m_clock);
        CZT300SetDoc doc(
            DocServices{*link, m_prompt, m_clock, m_settings, m_dir.path().toStdString() + "/"});
        doc.OnNewDocument();
        auto frame = std::make_unique<QWidget>();
        auto input = std::make_unique<CSimAudioInput>(CSimAudioInput::Pattern(3, 4), 5);
        CSimAudioInput* microphone = input.get();
        QPointer<CVoiceNotes> notes =
            CVoiceNotes::Attach(frame.get(), doc, m_prompt, m_clock, std::move(input));
        QCOMPARE(CVoiceNotes::Find(frame.get()), notes.data());
        QVERIFY(CVoiceNotes::Find(nullptr) == nullptr);
        QVERIFY(!notes->IsListening());
        notes->Toggle();
        QVERIFY(notes->IsListening());
        // The buffers come back through the window's messages and are queued again; without an
        // acquisition nothing is taken.
        QTRY_VERIFY_WITH_TIMEOUT(microphone->GetPosition() >= 8 * 11025u, kSlowMs);
        QCOMPARE(notes->Recorder().GetState(), CVoiceRecorder::State::Listening);
        QVERIFY(QDir(m_dir.path()).entryList({"*.wav"}).isEmpty());
        frame.reset();
        QVERIFY(notes.isNull());
        QTest::qWait(30); // messages still posted find nothing
        QVERIFY(m_prompt.m_messages.empty());
    }

    void withoutASoundDeviceVoiceSaysSoAndNothingElseBreaks() {
        if (!QMediaDevices::defaultAudioInput().isNull())
            QSKIP("this machine has a sound input");
        auto link = CSimLink::FromDefaultConfig(&m_clock);
        CZT300SetDoc doc(
            DocServices{*link, m_prompt, m_clock, m_settings, m_dir.path().toStdString() + "/"});
        QWidget frame;
        CVoiceNotes* notes =
            CVoiceNotes::Attach(&frame, doc, m_prompt, m_clock, std::make_unique<CQtAudioInput>());
        m_prompt.Clear();
        notes->Toggle();
        QVERIFY(!notes->IsListening());
        QCOMPARE(m_prompt.MessageTexts(), std::vector<std::string>{CQtAudioInput::kNoDevice});
        QCOMPARE(m_prompt.m_messages[0].icon, PromptIcon::Stop);
    }

    void theApplicationRoutesVoiceAndTheRelayCommands() {
        CRecorderApp app(DemoOptions(m_dir));
        app.Start();
        CZT300SetDoc* doc = app.OpenDocument("127_0_0_2_ZT-300");
        QVERIFY(doc != nullptr);
        using namespace CommandId;
        QVERIFY2(!app.IsCommandEnabled(kVoice), "no monitor window yet");
        QVERIFY(!app.IsCommandEnabled(kWatchDogStart));

        app.ShowMonitor(*doc);
        QVERIFY(app.IsCommandEnabled(kVoice));
        QVERIFY(!app.IsCommandChecked(kVoice));
        app.OnCommand(kVoice);
        QVERIFY(app.IsCommandChecked(kVoice));
        app.OnCommand(kVoice);
        QVERIFY(!app.IsCommandChecked(kVoice));

        app.Settings().m_relayControl = 1;
        doc->m_acq.run = true;
        QVERIFY(app.IsCommandEnabled(kWatchDogStart));
        QVERIFY(!app.IsCommandEnabled(kWatchDogStop));
        doc->m_acq.run = false;
        QVERIFY(app.CloseDocument(*doc));
    }
};

QTEST_MAIN(VoiceNotesUiTest)
#include "VoiceNotesUiTest.moc"
