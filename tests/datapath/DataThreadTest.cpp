#include "datapath/DataThread.h"

#include "datapath/ThreadInfo.h"
#include "device/Device.h"
#include "device/sim/SimLink.h"
#include "device/sim/SimSignal.h"
#include "records/RecordWriter.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "support/MessageQueue.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Message = CMessageQueue::Message;

constexpr int kMaster = 0;
constexpr int kSlave = 1;
constexpr int kDif = 5; // |ChA - ChB|

// Two simulated recorders of the default configuration, connected, with the PC record in a
// folder of their own: the MASTER and its SLAVE, whose CAN module carries a two-word channel.
class DataThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("zt300-datathread-" + std::to_string(getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_clock.m_tick = 1000;
        m_link = CSimLink::FromDefaultConfig(&m_clock);
        for (const char* address : {"127.0.0.2", "127.0.0.3"}) {
            auto device = std::make_unique<CDevice>(*m_link, m_prompt, m_clock);
            CRecCnd condition;
            ASSERT_TRUE(device->Open(address));
            ASSERT_TRUE(device->ReadModules());
            ASSERT_TRUE(device->LoadCondition(condition));
            condition.m_hddRecFolder = m_folder.string();
            condition.m_baseFileName = "Run";
            condition.m_hddRecFileExt = 1;
            m_devices.push_back(std::move(device));
            m_conditions.push_back(condition);
        }
        // Calculation channel 1 of the master: |1-1 - 1-2| on a scale of +-20 V.
        CRecCnd& master = m_conditions[kMaster];
        master.m_calc = 1;
        CCalcChCnd& calc = master.m_calcChannels[0];
        calc.m_enabled = 1;
        calc.m_function = kDif;
        calc.m_param = {1, 2, 0, 0};
        calc.m_scaleHigh = 20.0;
        calc.m_scaleLow = -20.0;
    }

    void TearDown() override {
        m_info.reset();
        fs::remove_all(m_folder);
    }

    CSimRecorder& Sim(int index) {
        return *m_link->FindRecorder(index == kMaster ? "127.0.0.2" : "127.0.0.3");
    }

    // ARM as the document does: the run first, then the slave, the master last.
    void Arm(bool keepFile = false, bool remote = false) {
        RunSetup setup;
        setup.target = &m_messages;
        setup.clock = &m_clock;
        setup.writer = &m_writer;
        for (auto& device : m_devices)
            setup.devices.push_back(device.get());
        setup.conditions = m_conditions;
        setup.masterIndex = kMaster;
        setup.referenceIndex = kMaster;
        setup.nextRecordName = "Run_00001";
        setup.keepFile = keepFile;
        setup.remote = remote;
        setup.displayFactor = 10;
        setup.displayCapacity = 1000;
        m_info = std::make_unique<CThreadInfo>(std::move(setup));
        ASSERT_TRUE(m_info->Prepare());
        // The slave first, the master last.
        for (int index = static_cast<int>(m_devices.size()) - 1; index >= 0; --index) {
            CDevice& device = *m_devices[static_cast<std::size_t>(index)];
            const int bytes =
                m_conditions[static_cast<std::size_t>(index)].CountSampleWords(false) * 30 * 1000 *
                2;
            ASSERT_EQ(remote ? m_link->LnkSetRemote(device.GetHandle(), 1, bytes)
                             : m_link->LnkStartArmed(device.GetHandle(), bytes),
                      1);
        }
    }

    // The data thread run on the test's thread, one pass per step of the clock.
    void Passes(CDataThread& work, int count, int stepMs = 100) {
        for (int i = 0; i < count; ++i) {
            m_clock.Advance(static_cast<std::uint64_t>(stepMs));
            ASSERT_TRUE(work.Pass());
        }
    }

    // The data thread on a thread of its own, the clock 20 ms on every 2 ms, until `done` holds
    // or 10 s have passed.
    template <typename Done> void RunThreadUntil(Done done) {
        m_info->StartThread(&CDataThread::Run);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            m_clock.Advance(20);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    int RowWords() const {
        int words = 0;
        for (const CRecCnd& condition : m_conditions)
            words += condition.CountSampleWords(true);
        return words;
    }

    // A run of the master alone with its first `channels` channels, all 16-bit, and no
    // calculation: rows of that many words.
    void MasterAlone(int channels) {
        m_devices.resize(1);
        m_conditions.resize(1);
        CRecCnd& master = m_conditions[kMaster];
        master.m_calc = 0;
        int enabled = 0;
        for (CChCnd& channel : master.m_channels) {
            channel.m_enabled = enabled < channels && channel.m_wordsPerSample == 1 ? 1 : 0;
            enabled += channel.m_enabled;
        }
        ASSERT_EQ(enabled, channels);
        ASSERT_TRUE(m_devices[kMaster]->WriteCondition(master));
    }

    // Every word of every row against the simulated signals; rows are sample indexes `first`
    // onwards. The calculation word is worked out again from the master's words.
    void ExpectRows(const std::vector<std::int16_t>& words, std::int64_t first,
                    std::int64_t stride = 1) {
        const int rowWords = RowWords();
        ASSERT_EQ(words.size() % static_cast<std::size_t>(rowWords), 0u);
        CRecCnd master = m_conditions[kMaster];
        master.PrepareCalcChannels();
        const bool calc = master.CountSampleWords(true) > master.CountSampleWords(false);
        const auto rows = static_cast<std::int64_t>(words.size()) / rowWords;
        for (std::int64_t row = 0; row < rows; ++row) {
            const std::int16_t* at = words.data() + row * rowWords;
            for (int index = 0; index < static_cast<int>(m_conditions.size()); ++index) {
                CSimRecorder& sim = Sim(index);
                for (const SimFrameChannel& ch : sim.GetFrameLayout()) {
                    std::uint16_t expected[2] = {};
                    const int n = CSimSignal::Words(sim.GetSignalSeed(), ch.slot, ch.channel,
                                                    ch.dataType, first + row * stride, expected);
                    for (int w = 0; w < n; ++w)
                        ASSERT_EQ(static_cast<std::uint16_t>(at[ch.wordOffset + w]), expected[w])
                            << "row " << row << " recorder " << index << " channel " << ch.slot
                            << "-" << ch.channel + 1;
                }
                if (index == kMaster && calc)
                    ExpectCalcWord(master, at, row);
                at += m_conditions[static_cast<std::size_t>(index)].CountSampleWords(true);
            }
        }
    }

    void ExpectCalcWord(CRecCnd& master, const std::int16_t* at, std::int64_t row) {
        std::vector<double> values;
        for (const CChCnd& ch : master.m_channels) {
            if (ch.m_enabled)
                values.push_back(ch.CountToPhys(
                    ReadSampleNumber(reinterpret_cast<const std::uint16_t*>(at) +
                                         master.GetSampleWordOffset(ch.m_slot, ch.m_channel),
                                     ch.m_dataType)));
        }
        const int count = static_cast<int>(values.size());
        values.push_back(0.0);
        std::int16_t calcCount = 0;
        master.EvaluateCalcChannels(values.data(), count, count + 1, &calcCount);
        ASSERT_EQ(at[master.CountSampleWords(false)], calcCount) << "calculation, row " << row;
    }

    // The sample index of the first row, from the master's 1-1, a sawtooth that rises by one
    // count per sample.
    std::int64_t FirstSample(const std::vector<std::int16_t>& words) {
        const std::int64_t seed = Sim(kMaster).GetSignalSeed();
        return ((words.at(0) + 25000 - 97 * seed) % 50000 + 50000) % 50000;
    }

    fs::path RecordFile() const { return fs::path(m_writer.GetPaths().data).filename(); }

    static std::vector<int> Ids(const std::vector<Message>& messages) {
        std::vector<int> ids;
        for (const Message& m : messages)
            ids.push_back(m.id);
        return ids;
    }

    fs::path m_folder;
    CManualClock m_clock;
    CFakePrompt m_prompt;
    std::unique_ptr<CSimLink> m_link;
    std::vector<std::unique_ptr<CDevice>> m_devices;
    std::vector<CRecCnd> m_conditions;
    CMessageQueue m_messages;
    CRecordWriter m_writer{m_clock};
    std::unique_ptr<CThreadInfo> m_info;
};

// Catches a row lost, doubled or misaligned between the recorders, or max/min missing a row.
TEST_F(DataThreadTest, RecordsEveryRowOfBothRecordersAfterThePreTriggerRows) {
    m_conditions[kMaster].m_hddPreTime = 1;
    bool twoWords = false;
    for (const CChCnd& ch : m_conditions[kSlave].m_channels)
        twoWords = twoWords || (ch.m_enabled && ch.m_wordsPerSample == 2);
    ASSERT_TRUE(twoWords) << "the slave's CAN module has no two-word channel enabled";
    Arm();
    CDataThread work(*m_info);

    // The first read comes as soon as 100 frames, the dropped one among them, make the minimum
    // block of a tenth of a second.
    Passes(work, 1);
    EXPECT_EQ(m_info->GetRowsReceived(), 99);
    Passes(work, 14); // 1.5 s: more than the pre-trigger ring holds
    const std::vector<Message> armed = m_messages.Drain();
    EXPECT_EQ(m_info->GetRowsReceived(), 1499); // the first frame after ARM is dropped
    EXPECT_EQ(std::ranges::count(armed, Message{PostedMessage::kDisplayTick, 0, 0}), 3);

    m_info->RequestRecord();
    Passes(work, 1);
    const std::int64_t received = m_info->GetRowsReceived();
    ASSERT_TRUE(m_writer.IsRecording());
    EXPECT_EQ(m_writer.GetPreTriggerRows(), 1000u);
    Passes(work, 4);
    // The slave's reads fail for a while: the master's frames wait for it.
    Sim(kSlave).SetOperationError(LinkOrdinal::kReadData, -2);
    Passes(work, 3);
    Sim(kSlave).SetOperationError(LinkOrdinal::kReadData, 0);
    Passes(work, 5, 70);
    ASSERT_TRUE(m_writer.Close().empty());

    const std::vector<std::int16_t> words = ReadRecordWords(m_writer.GetPaths().data);
    const std::uint32_t written = m_writer.GetSamplesWritten();
    EXPECT_EQ(written, m_info->GetRowsReceived() - received);
    EXPECT_EQ(words.size(), (1000u + written) * static_cast<std::size_t>(RowWords()));
    EXPECT_EQ(RecordFile(), "Run_00001.dat");
    // Sample index 0 is the dropped first frame, so row r of the run is sample r + 1.
    ExpectRows(words, received - 1000 + 1);

    const std::vector<int> ids = Ids(m_messages.Drain());
    const std::vector<int> start(ids.begin(), ids.begin() + 5);
    EXPECT_EQ(start, (std::vector<int>{PostedMessage::kNewData, PostedMessage::kRecordStarted,
                                       PostedMessage::kLogLine, PostedMessage::kNewData,
                                       PostedMessage::kRecordWritten}));
    EXPECT_EQ(std::ranges::count(ids, PostedMessage::kCommError), 0);

    // Max/min got every row, in physical and unconverted values.
    CMaxMinTable table;
    ASSERT_TRUE(table.Create(m_info->GetChannelCount()));
    ASSERT_TRUE(m_info->GetMaxMin().CopyTo(table));
    const std::int64_t last = m_info->GetRowsReceived();
    EXPECT_EQ(table.GetEntry(0).rawLast,
              CSimSignal::Counts(Sim(kMaster).GetSignalSeed(), 1, 0, last));
    EXPECT_EQ(table.GetEntry(0).last,
              m_conditions[kMaster].m_channels[0].CountToPhys(table.GetEntry(0).rawLast));
    EXPECT_TRUE(table.GetEntry(m_info->GetChannelCount() - 1).HasData());
}

// Catches a time limit that cuts a read short or long, and a Count name that does not move on.
TEST_F(DataThreadTest, TheTimeLimitWritesExactlyRateTimesSecondsRows) {
    m_conditions[kMaster].m_hddPostTime = 2;
    Arm();
    CDataThread work(*m_info);
    m_info->RequestRecord();
    Passes(work, 1, 0); // the record opens before the first read
    ASSERT_TRUE(m_writer.IsRecording());
    Passes(work, 35, 70); // reads of 100 ms and more; the limit falls inside one
    EXPECT_EQ(m_writer.GetSamplesWritten(), 2000u);
    const std::vector<int> ids = Ids(m_messages.Drain());
    ASSERT_EQ(std::ranges::count(ids, PostedMessage::kRecordLimit), 1);
    const auto limit = std::ranges::find(ids, PostedMessage::kRecordLimit);
    EXPECT_EQ(*(limit - 1), PostedMessage::kRecordWritten);
    EXPECT_EQ(std::count(limit, ids.end(), PostedMessage::kRecordWritten), 0);

    ASSERT_TRUE(m_writer.Close().empty());
    const std::vector<std::int16_t> words = ReadRecordWords(m_writer.GetPaths().data);
    EXPECT_EQ(words.size(), 2000u * static_cast<std::size_t>(RowWords()));
    EXPECT_EQ(FirstSample(words), 1);
    ExpectRows(words, 1);

    // The next record in Count mode takes the next number.
    m_info->RequestRecord();
    Passes(work, 1);
    EXPECT_EQ(RecordFile(), "Run_00002.dat");
}

// Catches a trigger row off by one and a trigger that fires again before it is reset.
TEST_F(DataThreadTest, APcLevelTriggerStartsTheRecordWithTheTriggerRowLastOfThePreTriggerPart) {
    // UP on 1-1, a sawtooth that starts below the level and rises through it.
    CRecCnd& master = m_conditions[kMaster];
    master.m_hddLvlTrg = 1;
    master.m_hddPreTime = 1;
    CChCnd& channel = master.m_channels[0]; // 1-1: (1 + 0) % 3 == 1, the sawtooth
    ASSERT_EQ(channel.m_slot, 1);
    ASSERT_EQ(channel.m_channel, 0);
    channel.m_hddLvlTrg = 2; // UP
    channel.m_hddLvlVal = channel.CountToPhys(-24000.0);
    Arm();
    CDataThread work(*m_info);
    Passes(work, 20);
    ASSERT_TRUE(m_writer.IsRecording());
    ASSERT_TRUE(m_writer.Close().empty());
    const std::vector<std::int16_t> words = ReadRecordWords(m_writer.GetPaths().data);

    // The sawtooth of 1-1 first reaches the level from below at sample t.
    const int seed = Sim(kMaster).GetSignalSeed();
    std::int64_t t = 1;
    bool below = false;
    for (;; ++t) {
        const std::int32_t counts = CSimSignal::Counts(seed, 1, 0, t);
        if (below && channel.CountToPhys(counts) >= channel.m_hddLvlVal)
            break;
        below = below || channel.CountToPhys(counts) < channel.m_hddLvlVal;
    }
    const std::uint32_t pre = m_writer.GetPreTriggerRows();
    EXPECT_EQ(pre, static_cast<std::uint32_t>(std::min<std::int64_t>(1000, t)));
    ExpectRows(words, t - pre + 1);
    // After Stop ACQ the trigger, still above its level, waits for the reset.
    Passes(work, 5);
    EXPECT_FALSE(m_writer.IsRecording());
    const std::vector<Message> messages = m_messages.Drain();
    EXPECT_EQ(std::ranges::count(messages, Message{PostedMessage::kRecordStarted, 0, 0}), 1);
}

// Catches a status tick missed, doubled or carrying stale counts.
TEST_F(DataThreadTest, EveryStatusTickPostsTheRowsReceivedAndTheMillisecondsOfTheRun) {
    Arm();
    CDataThread work(*m_info);
    std::vector<Message> counts;
    std::vector<std::int64_t> rows; // after each pass
    for (int pass = 0; pass < 10; ++pass) {
        Passes(work, 1);
        rows.push_back(m_info->GetRowsReceived());
        for (const Message& message : m_messages.Drain()) {
            if (message.id == PostedMessage::kDataCount)
                counts.push_back(message);
        }
    }
    ASSERT_EQ(counts.size(), 2u);
    EXPECT_GT(rows[4], 0);
    EXPECT_EQ(counts[0], (Message{PostedMessage::kDataCount, rows[4], 500}));
    EXPECT_EQ(counts[1], (Message{PostedMessage::kDataCount, rows[9], 1000}));
    EXPECT_GT(rows[9], rows[4]);
}

// Catches a lost recorder reported again on every read, or rows before the loss dropped.
TEST_F(DataThreadTest, ALostRecorderIsReportedOnceAndTheRowsBeforeItStayOnDisk) {
    Arm();
    CDataThread work(*m_info);
    m_info->RequestRecord();
    Passes(work, 1, 0);
    Passes(work, 10);
    Sim(kSlave).DropConnections();
    Passes(work, 10);
    EXPECT_TRUE(m_info->HasCommError());
    const std::vector<Message> messages = m_messages.Drain();
    const std::vector<int> ids = Ids(messages);
    ASSERT_EQ(std::ranges::count(ids, PostedMessage::kCommError), 1);
    // The idle update follows the error once, then no more.
    const auto error = std::ranges::find(ids, PostedMessage::kCommError);
    EXPECT_EQ(*(error + 1), PostedMessage::kDataCount);
    EXPECT_EQ(std::count(error, ids.end(), PostedMessage::kDataCount), 1);

    // The document stops ARMED: the record is closed and the thread ends without calls to the
    // lost recorders.
    ASSERT_TRUE(m_writer.Close().empty());
    work.Finish();
    EXPECT_EQ(Sim(kMaster).GetStatus(), RecorderStatus::kArmed);
    const std::vector<std::int16_t> words = ReadRecordWords(m_writer.GetPaths().data);
    EXPECT_GE(words.size(), 900u * static_cast<std::size_t>(RowWords()));
    ExpectRows(words, 1);
}

// Catches a full disk reported as success, a half row kept, or a header counting unwritten rows.
TEST_F(DataThreadTest, AFullDiskEndsTheThreadWithItsMessageAndAHeaderOfTheRowsOnDisk) {
    // Files of this process may not grow beyond the limit, as on a disk that fills up.
    constexpr rlim_t kDiskBytes = 100001;
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    if (saved.rlim_max != RLIM_INFINITY && saved.rlim_max < kDiskBytes)
        GTEST_SKIP() << "file size limit too low";
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit full{kDiskBytes, saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);

    Arm();
    m_info->RequestRecord();
    RunThreadUntil([&] { return m_info->HasEnded(); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_TRUE(m_info->HasEnded());
    m_info->StopThread();

    EXPECT_FALSE(m_writer.IsRecording());
    EXPECT_EQ(m_info->TakeNotice(), "Destination disk drive is full.");
    EXPECT_EQ(m_info->TakeNotice(), "");
    const std::vector<Message> messages = m_messages.Drain();
    const Message failed{PostedMessage::kLogLine, ThreadLog::kRecordFailed, 0};
    EXPECT_EQ(std::ranges::count(messages, failed), 1);
    EXPECT_EQ(Sim(kMaster).GetStatus(), RecorderStatus::kIdle);
    EXPECT_EQ(Sim(kSlave).GetStatus(), RecorderStatus::kIdle);

    // Whole rows stay, every one of them right, and the header counts exactly those.
    const RecordPaths paths = m_writer.GetPaths();
    const std::vector<std::int16_t> words = ReadRecordWords(paths.data);
    const std::size_t rows = words.size() / static_cast<std::size_t>(RowWords());
    EXPECT_GT(rows, 0u);
    EXPECT_LE(words.size() * 2, kDiskBytes);
    ExpectRows(words, FirstSample(words));
    TextLines header;
    ASSERT_EQ(CTextFile::ReadTextLines(paths.header, header), "");
    EXPECT_NE(std::ranges::find(header, "NUM_SAMPS " + std::to_string(rows)), header.end());
}

// Catches a kept-file run that does not record at once, or leaves the recorders ARMED.
TEST_F(DataThreadTest, AfterAReconnectionTheThreadGoesOnRecordingAtOnceUntilStopARMED) {
    Arm(true);
    RunThreadUntil([&] { return m_writer.GetSamplesWritten() >= 2000; });
    ASSERT_GE(m_writer.GetSamplesWritten(), 2000u);
    ASSERT_TRUE(m_writer.Close().empty());
    m_info->StopThread();
    EXPECT_TRUE(m_info->HasEnded());
    EXPECT_EQ(Sim(kMaster).GetStatus(), RecorderStatus::kIdle);
    EXPECT_EQ(Sim(kSlave).GetStatus(), RecorderStatus::kIdle);
    const std::vector<std::int16_t> words = ReadRecordWords(m_writer.GetPaths().data);
    ExpectRows(words, FirstSample(words));
}

// Catches sub-sampling that keeps the wrong frame, or a limit counted in frames, not rows.
TEST_F(DataThreadTest, AtATenthOfAHertzOnlyTheFirstOfSixFramesIsKeptAndTheLimitCountsRows) {
    for (CRecCnd& condition : m_conditions) {
        condition.m_rate = "0.1Hz";
        condition.m_subSamp = 2;
    }
    ASSERT_TRUE(m_devices[kMaster]->WriteCondition(m_conditions[kMaster]));
    m_conditions[kMaster].m_hddPostTime = 120; // two rows of 60 s
    Arm();
    EXPECT_EQ(m_info->GetSubSampling(), 6);
    EXPECT_EQ(m_info->GetRecordLimit(), 2u);
    CDataThread work(*m_info);
    m_info->RequestRecord();
    Passes(work, 30, 10000); // 300 s: frames 1 to 29 after the dropped one
    ASSERT_TRUE(m_writer.Close().empty());
    const std::vector<std::int16_t> words = ReadRecordWords(m_writer.GetPaths().data);
    EXPECT_EQ(words.size(), 2u * static_cast<std::size_t>(RowWords()));
    ExpectRows(words, 1, 6);
    EXPECT_EQ(m_info->GetRowsReceived(), 24);
}

// Catches a remote run whose PC record ignores the recorder's own start and stop.
TEST_F(DataThreadTest, InRemoteModeTheRecordersCardRecordingStartsAndEndsThePcRecord) {
    m_conditions[kMaster].m_hddLvlTrg = 1;
    m_conditions[kMaster].m_channels[0].m_hddLvlTrg = 1; // no PC level trigger in remote mode
    Arm(false, true);
    CDataThread work(*m_info);
    Passes(work, 5);
    EXPECT_FALSE(m_writer.IsRecording());
    const int master = m_devices[kMaster]->GetHandle();
    ASSERT_EQ(m_link->LnkStartAcq(master, 0, 0), 1);
    Passes(work, 5);
    EXPECT_TRUE(m_writer.IsRecording());
    EXPECT_EQ(m_info->GetRecorderStatus(), RecorderStatus::kAcq);
    m_messages.Drain();
    ASSERT_EQ(m_link->LnkStopAcq(master), 1);
    Passes(work, 5);
    const std::vector<int> ids = Ids(m_messages.Drain());
    EXPECT_EQ(std::ranges::count(ids, PostedMessage::kRecordLimit), 1);
    ASSERT_TRUE(m_writer.Close().empty());
    ExpectRows(ReadRecordWords(m_writer.GetPaths().data), 1000);
    work.Finish();
    EXPECT_EQ(Sim(kMaster).GetStatus(), RecorderStatus::kIdle);
}

// One-word rows (a single channel, no calculation channel) and rows of an odd width: the
// pre-trigger ring has wrapped and still hands the record its last second of rows.
TEST_F(DataThreadTest, PreTriggerRowsOfOneWordAndOfOddRowsSurviveTheRingsWrap) {
    for (const int channels : {1, 3}) {
        SCOPED_TRACE(channels);
        m_conditions[kMaster].m_hddPreTime = 1;
        MasterAlone(channels);
        Arm();
        CDataThread work(*m_info);
        Passes(work, 15); // rows 1 to 1499; the ring holds 1000
        m_info->RequestRecord();
        Passes(work, 1, 0);
        ASSERT_TRUE(m_writer.IsRecording());
        EXPECT_EQ(m_writer.GetPreTriggerRows(), 1000u);
        ASSERT_EQ(m_writer.Close(), "");
        ASSERT_EQ(m_writer.WriteHeader(), "");
        const RecordPaths paths = m_writer.GetPaths();
        TextLines header;
        ASSERT_EQ(CTextFile::ReadTextLines(paths.header, header), "");
        EXPECT_NE(std::ranges::find(header, "X_OFFSET -0.999,999"), header.end());
        EXPECT_NE(std::ranges::find(header, "NUM_SAMPS 1000"), header.end());
        const std::vector<std::int16_t> words = ReadRecordWords(paths.data);
        EXPECT_EQ(words.size(), 1000u * static_cast<std::size_t>(channels));
        ExpectRows(words, 500);
        work.Finish();
    }
}

// A trigger that holds all the time (ABS at level 0): Stop ACQ ends the record, and once the
// header is written and the triggers reset, the trigger opens the next record in the same run,
// also when closing and the reset fall between the same two reads.
TEST_F(DataThreadTest, AfterStopAcqThePcLevelTriggerOpensTheNextRecord) {
    CRecCnd& master = m_conditions[kMaster];
    master.m_hddLvlTrg = 1;
    master.m_channels[0].m_hddLvlTrg = 1;
    master.m_channels[0].m_hddLvlVal = 0.0;
    Arm();
    CDataThread work(*m_info);
    Passes(work, 2);
    ASSERT_TRUE(m_writer.IsRecording());
    EXPECT_EQ(RecordFile(), "Run_00001.dat");

    ASSERT_EQ(m_writer.Close(), "");
    Passes(work, 3); // the header is not written yet: no record may take the writer
    EXPECT_FALSE(m_writer.IsRecording());
    ASSERT_EQ(m_writer.WriteHeader(), "");
    m_info->ResetTriggers();
    Passes(work, 1);
    ASSERT_TRUE(m_writer.IsRecording());
    EXPECT_EQ(RecordFile(), "Run_00002.dat");

    ASSERT_EQ(m_writer.Close(), "");
    ASSERT_EQ(m_writer.WriteHeader(), "");
    m_info->ResetTriggers();
    Passes(work, 1);
    ASSERT_TRUE(m_writer.IsRecording());
    EXPECT_EQ(RecordFile(), "Run_00003.dat");
    const std::vector<Message> messages = m_messages.Drain();
    EXPECT_EQ(std::ranges::count(messages, Message{PostedMessage::kRecordStarted, 0, 0}), 3);
}

} // namespace
