#include "monitor/VoiceRecorder.h"
#include "monitor/SimAudioInput.h"
#include "monitor/VoiceNoteHost.h"
#include "monitor/WaveFile.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "support/MessageQueue.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

class CFakeHost : public IVoiceNoteHost {
public:
    bool IsAcquiring() const override { return m_acquiring; }
    std::string GetRecordFileName() const override { return m_record; }
    void AddVoiceMark(const std::string& fileName) override { m_marks.push_back(fileName); }

    bool m_acquiring = true;
    std::string m_record;
    std::vector<std::string> m_marks;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class VoiceRecorderTest : public ::testing::Test {
protected:
    explicit VoiceRecorderTest(CSimAudioInput::Source source = CSimAudioInput::Pattern(3, 4))
        : m_input(std::move(source), 0) {
        m_host.m_record = m_folder.File("Test_00001.dat");
    }

    // Hands the next `count` buffers to the recorder, one second of local time apart, as the
    // monitor window does with the posted messages.
    void Process(int count) {
        for (int i = 0; i < count; ++i) {
            if (m_pending.empty()) {
                ASSERT_TRUE(m_queue.WaitFor(1, 5000)) << "buffer " << m_processed;
                for (const auto& message : m_queue.Drain())
                    m_pending.push_back(message);
            }
            const CMessageQueue::Message message = m_pending.front();
            m_pending.pop_front();
            ASSERT_EQ(message.id, CVoiceRecorder::kMessage);
            m_clock.m_localTime.second = m_processed % 60;
            m_clock.m_localTime.minute = 20 + m_processed / 60;
            m_recorder.OnBufferFull(message.wparam, message.lparam);
            ++m_processed;
        }
    }

    // The samples the simulated microphone delivered from `first` on.
    static std::vector<std::uint8_t> Expected(const CSimAudioInput::Source& source,
                                              std::uint64_t first, std::size_t count) {
        std::vector<std::uint8_t> samples(count);
        source(first, samples.data(), count);
        return samples;
    }

    CTempFolder m_folder{"voice"};
    CSimAudioInput m_input;
    CFakeHost m_host;
    CFakePrompt m_prompt;
    CManualClock m_clock;
    CMessageQueue m_queue;
    CVoiceRecorder m_recorder{m_input, m_host, m_prompt, m_clock, m_queue};
    std::deque<CMessageQueue::Message> m_pending;
    int m_processed = 0;
};

class VoiceRecorderLongTest : public VoiceRecorderTest {
protected:
    VoiceRecorderLongTest() : VoiceRecorderTest(CSimAudioInput::Pattern(400, 5)) {}
};

} // namespace

TEST(VoiceRecorderUnitTest, LevelAndNoteNames) {
    const std::vector<std::uint8_t> exactly40{168, 88, 168, 88};
    EXPECT_DOUBLE_EQ(CVoiceRecorder::Level(exactly40), 40.0);
    EXPECT_DOUBLE_EQ(CVoiceRecorder::Level(std::vector<std::uint8_t>{128, 128}), 0.0);
    EXPECT_DOUBLE_EQ(CVoiceRecorder::Level({}), 0.0);

    const LocalTime at{2026, 12, 6, 9, 5, 7, 0, 0};
    const struct {
        const char* record;
        const char* note;
    } names[] = {
        {"/rec/Test_00001.dat", "/rec/Test_00001_090507.wav"},
        {"/rec/Test", "/rec/Test_090507.wav"},     // no extension: the whole name
        {"/rec.d/Test", "/rec.d/Test_090507.wav"}, // a folder's "." is no extension
        {"/rec/a.b.dat", "/rec/a.b_090507.wav"},   // the last "." only
        {"", "_090507.wav"},
    };
    for (const auto& name : names)
        EXPECT_EQ(CVoiceRecorder::NoteFileName(name.record, at), name.note) << name.record;
}

TEST_F(VoiceRecorderTest, LoudThreeQuietFourGivesFiveSecondNotesWithMarks) {
    ASSERT_TRUE(m_recorder.Start());
    EXPECT_TRUE(m_recorder.IsListening());
    Process(3);
    EXPECT_EQ(m_recorder.GetState(), CVoiceRecorder::State::Recording);
    EXPECT_EQ(m_recorder.GetCapturedBytes(), 3 * 11025u);
    Process(2);
    EXPECT_EQ(m_recorder.GetState(), CVoiceRecorder::State::Recording) << "two quiet seconds";
    Process(16); // three whole cycles of seven seconds
    EXPECT_EQ(m_recorder.GetState(), CVoiceRecorder::State::Listening);
    EXPECT_EQ(m_recorder.GetCapturedBytes(), 0u);
    m_recorder.Stop();

    // Each note: three loud seconds and two quiet ones; the third quiet second ends it unkept.
    const std::size_t noteBytes = 5 * 11025;
    const CSimAudioInput::Source source = CSimAudioInput::Pattern(3, 4);
    const std::string names[] = {"Test_00001_102000.wav", "Test_00001_102007.wav",
                                 "Test_00001_102014.wav"};
    ASSERT_EQ(m_host.m_marks.size(), 3u);
    for (int note = 0; note < 3; ++note) {
        EXPECT_EQ(m_host.m_marks[note], m_folder.File(names[note]));
        const std::vector<std::uint8_t> bytes = ReadBytes(m_folder.File(names[note]));
        ASSERT_EQ(bytes.size(), CWaveFile::kHeaderBytes + noteBytes + 1) << "padded to even";
        std::vector<std::uint8_t> expected = CWaveFile::Header(noteBytes);
        const auto samples = Expected(source, note * 7 * 11025u, noteBytes);
        expected.insert(expected.end(), samples.begin(), samples.end());
        expected.push_back(0);
        EXPECT_TRUE(bytes == expected) << names[note];
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder.Path()), fs::directory_iterator()), 3);
    EXPECT_TRUE(m_prompt.m_messages.empty());
}

TEST_F(VoiceRecorderLongTest, TwoHundredSecondsCloseTheNoteAndTheNextLoudSecondStartsAnother) {
    ASSERT_TRUE(m_recorder.Start());
    Process(200);
    EXPECT_EQ(m_recorder.GetCapturedBytes(), CVoiceRecorder::kCaptureBytes);
    Process(1); // would go beyond the capture buffer: the note is written without it
    EXPECT_EQ(m_recorder.GetState(), CVoiceRecorder::State::Listening);
    const std::string first = m_folder.File("Test_00001_102000.wav");
    EXPECT_EQ(fs::file_size(first), CWaveFile::kHeaderBytes + CVoiceRecorder::kCaptureBytes);
    Process(1);
    EXPECT_EQ(m_recorder.GetState(), CVoiceRecorder::State::Recording);
    EXPECT_EQ(m_recorder.GetFileName(), m_folder.File("Test_00001_102321.wav"));
    EXPECT_EQ(m_host.m_marks.size(), 2u);
}

TEST_F(VoiceRecorderTest, NothingIsTakenWithoutAnAcquisitionOrBelowTheStartLevel) {
    m_host.m_acquiring = false;
    ASSERT_TRUE(m_recorder.Start());
    Process(7);
    EXPECT_EQ(m_recorder.GetState(), CVoiceRecorder::State::Listening);
    EXPECT_TRUE(m_host.m_marks.empty());
    EXPECT_TRUE(m_recorder.IsListening()) << "the buffers were queued again";
    m_recorder.Stop();
    EXPECT_FALSE(m_recorder.IsListening());
}

TEST(VoiceRecorderLevelTest, ALevelOfExactlyFortyStartsNothingJustAboveDoes) {
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < 11025; ++i)
        samples.push_back(i % 2 ? 88 : 168); // exactly 40.0
    for (int i = 0; i < 11025; ++i)
        samples.push_back(i % 2 ? 87 : 169); // 41.0
    CSimAudioInput input(CSimAudioInput::Recording(samples), 0);
    CFakeHost host;
    CTempFolder folder("voice-level");
    host.m_record = folder.File("R.dat");
    CFakePrompt prompt;
    CManualClock clock;
    CMessageQueue queue;
    CVoiceRecorder recorder(input, host, prompt, clock, queue);
    ASSERT_TRUE(recorder.Start());
    ASSERT_TRUE(queue.WaitFor(2, 5000));
    const auto messages = queue.Drain();
    recorder.OnBufferFull(messages[0].wparam, messages[0].lparam);
    EXPECT_TRUE(host.m_marks.empty());
    recorder.OnBufferFull(messages[1].wparam, messages[1].lparam);
    EXPECT_EQ(host.m_marks.size(), 1u);
}

TEST_F(VoiceRecorderTest, FailuresAreShownAndListeningGoesOnOrStops) {
    // A note that cannot be created is discarded with the message; listening goes on.
    m_host.m_record = m_folder.File("missing/Test_00001.dat");
    ASSERT_TRUE(m_recorder.Start());
    Process(6);
    ASSERT_EQ(m_prompt.MessageTexts(), std::vector<std::string>{"Failed to open file."});
    EXPECT_EQ(m_prompt.m_messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(m_recorder.GetState(), CVoiceRecorder::State::Listening);
    m_host.m_record = m_folder.File("Test_00002.dat");
    Process(1 + 2); // the rest of the cycle, then two loud seconds
    EXPECT_EQ(m_recorder.GetState(), CVoiceRecorder::State::Recording);

    // The device goes away during a note once the next second has arrived: what was captured is
    // kept, the recorder stops with the device's text (no icon).
    m_prompt.Clear();
    ASSERT_TRUE(!m_pending.empty() || m_queue.WaitFor(1, 5000));
    m_input.Unplug();
    Process(1);
    EXPECT_FALSE(m_recorder.IsListening());
    EXPECT_EQ(m_recorder.GetState(), CVoiceRecorder::State::Error);
    ASSERT_EQ(m_prompt.MessageTexts(), std::vector<std::string>{CSimAudioInput::kDeviceRemoved});
    EXPECT_EQ(m_prompt.m_messages[0].icon, PromptIcon::None);
    EXPECT_EQ(fs::file_size(m_folder.File("Test_00002_102007.wav")),
              CWaveFile::kHeaderBytes + 3 * 11025u + 1);
}

TEST_F(VoiceRecorderTest, WithoutADeviceTheRecorderStaysStopped) {
    m_input.SetDevicePresent(false);
    EXPECT_FALSE(m_recorder.Start());
    EXPECT_FALSE(m_recorder.IsListening());
    EXPECT_EQ(m_recorder.GetState(), CVoiceRecorder::State::Error);
    ASSERT_EQ(m_prompt.MessageTexts(), std::vector<std::string>{CSimAudioInput::kNoDevice});
    EXPECT_EQ(m_prompt.m_messages[0].icon, PromptIcon::Stop);

    // The Voice command again, with a device now: it listens; a buffer posted before the
    // recorder was stopped and started again is dropped.
    m_input.SetDevicePresent(true);
    m_recorder.Toggle();
    EXPECT_TRUE(m_recorder.IsListening());
    ASSERT_TRUE(m_queue.WaitFor(1, 5000));
    const CMessageQueue::Message stale = m_queue.Drain().front();
    m_recorder.Toggle();
    m_recorder.Toggle();
    m_recorder.OnBufferFull(stale.wparam, stale.lparam);
    EXPECT_EQ(m_recorder.GetCapturedBytes(), 0u);
    EXPECT_TRUE(m_host.m_marks.empty());
}
