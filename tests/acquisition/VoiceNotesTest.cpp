#include "acquisition/DocVoiceHost.h"
#include "acquisition/ZT300SetDoc.h"
#include "conditions/TextNumbers.h"
#include "device/sim/SimLink.h"
#include "monitor/SimAudioInput.h"
#include "monitor/VoiceRecorder.h"
#include "monitor/WaveFile.h"
#include "records/RecordNames.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "support/MessageQueue.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t Little(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

// Voice notes beside a PC record of the demo recorders: the document runs a real acquisition on
// the simulated link while the simulated microphone speaks three seconds in every seven.
class VoiceNotesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_link = CSimLink::FromDefaultConfig(&m_docClock);
        m_doc = std::make_unique<CZT300SetDoc>(
            DocServices{*m_link, m_prompt, m_docClock, m_settings, m_folder.Path() + "/"});
        ASSERT_TRUE(m_doc->OnOpenDocument("127_0_0_2_ZT-300,127_0_0_3_ZT-500"));
        for (CRecCnd& condition : m_doc->GetConditions()) {
            condition.m_hddRecFolder = m_folder.Path();
            condition.m_hddRecFileExt = 1;
        }
        m_doc->UpdateNextRecordName();
        m_doc->SetMessageTarget(&m_docQueue);
    }

    void PumpDocument(int milliseconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        do {
            for (const auto& message : m_docQueue.Drain())
                m_doc->OnThreadMessage(message.id, message.wparam, message.lparam);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        } while (std::chrono::steady_clock::now() < end);
    }

    // One second of sound handed to the recorder, with the samples written around it.
    std::pair<std::uint32_t, std::uint32_t> NextSecond(CVoiceRecorder& recorder, int second) {
        if (m_voicePending.empty()) {
            EXPECT_TRUE(m_voiceQueue.WaitFor(1, 5000));
            for (const auto& message : m_voiceQueue.Drain())
                m_voicePending.push_back(message);
        }
        const auto message = m_voicePending.front();
        m_voicePending.erase(m_voicePending.begin());
        m_voiceClock.m_localTime.second = second;
        const std::uint32_t before = m_doc->GetRecordWriter().GetSamplesWritten();
        recorder.OnBufferFull(message.wparam, message.lparam);
        return {before, m_doc->GetRecordWriter().GetSamplesWritten()};
    }

    CTempFolder m_folder{"voice-notes"};
    CSystemClock m_docClock;
    CManualClock m_voiceClock;
    CFakePrompt m_prompt;
    CRecorderSettings m_settings;
    CMessageQueue m_docQueue;
    CMessageQueue m_voiceQueue;
    std::vector<CMessageQueue::Message> m_voicePending;
    std::unique_ptr<CSimLink> m_link;
    std::unique_ptr<CZT300SetDoc> m_doc;
};

} // namespace

// Catches a note cut, misnamed or mis-sized, or its mark on the wrong row of the running record.
TEST_F(VoiceNotesTest, NotesOfADemoAcquisitionLandBesideTheRecordWithMarks) {
    CSimAudioInput microphone(CSimAudioInput::Pattern(3, 4), 0);
    CDocVoiceHost host(*m_doc, m_voiceClock);
    CVoiceRecorder recorder(microphone, host, m_prompt, m_voiceClock, m_voiceQueue);
    ASSERT_TRUE(recorder.Start());

    // Before ARM the microphone is only listened to.
    for (int second = 0; second < 3; ++second)
        NextSecond(recorder, second);
    EXPECT_EQ(recorder.GetState(), CVoiceRecorder::State::Listening);

    const std::string name = m_doc->GetNextRecordName();
    ASSERT_TRUE(m_doc->Arm(false));
    m_doc->StartAcq(CZT300SetDoc::AcqKind::Hdd);
    PumpDocument(300);
    ASSERT_TRUE(m_doc->m_acq.pcRecord);

    // The pattern goes on at its fourth second: quiet until the next cycle.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> starts;
    for (int second = 3; second < 28; ++second) {
        const auto written = NextSecond(recorder, second);
        if (second % 7 == 0)
            starts.push_back(written);
        PumpDocument(20);
    }
    recorder.Stop();
    m_doc->StopAcq();
    ASSERT_EQ(m_doc->GetRecordResultText(), "ACQ OK ! (" + name + ".hdr)");
    m_doc->StopArmed(false);
    EXPECT_TRUE(m_prompt.MessageTexts().empty());

    // Three notes of five seconds, named after the record and the second they began.
    const CSimAudioInput::Source pattern = CSimAudioInput::Pattern(3, 4);
    const std::size_t noteBytes = 5 * 11025;
    TextLines header;
    ASSERT_EQ(CTextFile::ReadTextLines(m_folder.File(name + ".hdr"), header), "");
    std::vector<std::string> marks;
    for (const std::string& line : header) {
        if (line.starts_with("MARK "))
            marks.push_back(line);
    }
    ASSERT_EQ(marks.size(), 3u);
    ASSERT_EQ(starts.size(), 3u);
    const std::uint32_t preRows = m_doc->GetRecordWriter().GetPreTriggerRows();
    for (int note = 0; note < 3; ++note) {
        const int second = 7 * (note + 1);
        const std::string wave = name + FormatText("_1020%02d.wav", second);
        const std::vector<std::uint8_t> bytes = ReadBytes(m_folder.File(wave));
        ASSERT_EQ(bytes.size(), CWaveFile::kHeaderBytes + noteBytes + 1) << wave;
        // The file's bytes; its two sizes as a standard reader checks them against the file.
        std::vector<std::uint8_t> expected = CWaveFile::Header(noteBytes);
        expected.resize(CWaveFile::kHeaderBytes + noteBytes + 1);
        pattern(static_cast<std::uint64_t>(second) * 11025, &expected[CWaveFile::kHeaderBytes],
                noteBytes);
        EXPECT_TRUE(bytes == expected) << wave;
        EXPECT_EQ(Little(bytes, 4, 4), bytes.size() - 8);
        EXPECT_EQ(Little(bytes, 42, 4), noteBytes);

        // The mark: the row written when the note began, the time, the note's name.
        const std::string& mark = marks[static_cast<std::size_t>(note)];
        const std::uint32_t row = ReadUInt32(mark.substr(5));
        EXPECT_GE(row, starts[static_cast<std::size_t>(note)].first + preRows) << mark;
        EXPECT_LE(row, starts[static_cast<std::size_t>(note)].second + preRows) << mark;
        EXPECT_TRUE(mark.ends_with(FormatText(",10:20:%02d,,", second) + wave)) << mark;
    }
}

// Catches notes placed outside the record folder, or marked when no record runs.
TEST_F(VoiceNotesTest, BeforeTheFirstRecordNotesGoWhereTheRecordsGo) {
    CDocVoiceHost host(*m_doc, m_voiceClock);
    EXPECT_FALSE(host.IsAcquiring());
    EXPECT_EQ(host.GetRecordFileName(),
              m_folder.Path() + "/" + RecordBase(m_doc->GetConditions()[0]));
    ASSERT_TRUE(m_doc->Arm(false));
    EXPECT_TRUE(host.IsAcquiring());
    host.AddVoiceMark(m_folder.File("x_102030.wav")); // no record runs: nothing to mark
    EXPECT_TRUE(m_doc->GetRecordWriter().GetMarks().GetMarks().empty());
    m_doc->StopArmed(false);
    EXPECT_FALSE(host.IsAcquiring());
}
