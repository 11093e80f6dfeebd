// Measuring for calibration: the sample scaling, the statistics and their buttons, the panel
// geometry, and the measuring thread against simulated recorders (also run under
// ThreadSanitizer).
#include "setup/CalPanelLayout.h"
#include "setup/CalStatistics.h"
#include "setup/ExecCalThreadInfo.h"

#include "device/Device.h"
#include "device/sim/SimLink.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "support/MessageQueue.h"
#include "support/TestSlots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

CChCnd Channel(int ampCode, const std::string& range, std::int32_t residual) {
    CChCnd ch;
    ch.m_ampCode = ampCode;
    ch.SetRange(range);
    ch.m_balanceResidual = residual;
    return ch;
}

// A simulated link that records what the thread asks and may hand out data in small pieces.
class CRecordingLink : public CSimLink {
public:
    using CSimLink::CSimLink;
    int LnkStartArmed(int handle, int bufferBytes) override {
        m_startBytes = bufferBytes;
        return CSimLink::LnkStartArmed(handle, bufferBytes);
    }
    int LnkReadData(int handle, void* buffer, int bytes) override {
        m_largestRead = std::max(m_largestRead.load(), bytes);
        return CSimLink::LnkReadData(handle, buffer,
                                     m_readLimit > 0 ? std::min(bytes, m_readLimit) : bytes);
    }
    std::atomic<int> m_startBytes{0};
    std::atomic<int> m_largestRead{0};
    int m_readLimit = 0; // bytes one read gives at most; 0 = all asked for
};

class CalThreadTest : public ::testing::Test {
protected:
    // Three voltage channels on 10V fed 2.5, -1.25 and 0.5 (counts 6250, -3125, 1250).
    void Open(const std::string& rate, const std::string& faults = "") {
        std::string error;
        CSimConfig config;
        ASSERT_EQ(config.Parse("RECORDER ZT-300 127.0.0.2\nRATE " + rate + "\n" + faults +
                               "SLOT 1 PN=QA-80VA TY=2 NCH=4 RV=10 ON=1,3-4\n"
                               "INPUT 1-1 2.5\nINPUT 1-3 -1.25\nINPUT 1-4 0.5\n"),
                  "");
        for (const CSimRecorderConfig& recorder : config.GetRecorders())
            m_link.AddRecorder(recorder);
        ASSERT_TRUE(m_device.Open("127.0.0.2"));
        ASSERT_TRUE(m_device.ReadModules());
        ASSERT_TRUE(m_device.LoadCondition(m_condition));
        for (CChCnd& ch : m_condition.m_channels) {
            if (ch.m_enabled)
                m_channels.push_back(&ch);
        }
        m_statistics = std::make_unique<CCalStatistics>(m_condition, m_channels);
        m_thread = std::make_unique<CExecCalThreadInfo>(m_queue, m_device, *m_statistics,
                                                        m_condition.CountSampleWords(false),
                                                        m_condition.GetRateHz());
    }

    // Moves the recorder's clock until every channel holds `count` samples.
    bool WaitForSamples(std::uint32_t count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            const std::vector<CalChannelStats> stats = m_statistics->Snapshot();
            if (std::all_of(stats.begin(), stats.end(),
                            [&](const CalChannelStats& s) { return s.count >= count; }))
                return true;
            m_clock.Advance(10);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    void ExpectInputs() {
        const std::vector<CalChannelStats> stats = m_statistics->Snapshot();
        const double inputs[] = {2.5, -1.25, 0.5};
        ASSERT_EQ(stats.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(stats[i].mean, inputs[i], 1e-12) << i;
            // A frame cut apart by a read would mix the channels' words.
            EXPECT_NEAR(stats[i].overallMin, inputs[i], 1e-12) << i;
            EXPECT_NEAR(stats[i].overallMax, inputs[i], 1e-12) << i;
        }
    }

    int Status() { return m_link.LnkGetStatus(m_device.GetHandle()); }

    CManualClock m_clock;
    CRecordingLink m_link{&m_clock};
    CFakePrompt m_prompt;
    CDevice m_device{m_link, m_prompt, m_clock};
    CRecCnd m_condition;
    std::vector<CChCnd*> m_channels;
    CMessageQueue m_queue;
    std::unique_ptr<CCalStatistics> m_statistics;
    std::unique_ptr<CExecCalThreadInfo> m_thread;
};

} // namespace

TEST(CalStatisticsTest, SamplesAreScaledByRangeOrFactorLessTheCorrectedResidual) {
    CChCnd::SetBalanceWarnPercent(100);
    EXPECT_DOUBLE_EQ(CalSampleScale::Of(Channel(2, "10V", 250))(2750), 1.0);   // 1 % corrected
    EXPECT_DOUBLE_EQ(CalSampleScale::Of(Channel(2, "10V", 25000))(2500), 1.0); // 100 % is not
    EXPECT_DOUBLE_EQ(CalSampleScale::Of(Channel(2, "10V", CChCnd::kNoResidual))(2500), 1.0);
    EXPECT_DOUBLE_EQ(CalSampleScale::Of(Channel(3, "2000uST", 0))(-25000), -2000.0);
    CChCnd inertial = Channel(8, "", 0);
    inertial.m_canFactor = 0.5;
    EXPECT_DOUBLE_EQ(CalSampleScale::Of(inertial)(-4), -2.0);
    CChCnd counter = Channel(5, "10kHz", 0);
    counter.m_fvMode = 1; // counting: 25000 full scale
    EXPECT_DOUBLE_EQ(CalSampleScale::Of(counter)(1234), 1234.0);
}

TEST(CalStatisticsTest, BlocksFoldIntoMinMaxAndMeanAndTheButtonsKeepTheirRules) {
    CRecCnd unit;
    AddTestSlot(
        unit, 1, "QA-80VA", 2, 4, {"10V", "500mV"}, {}, [](int c) { return c != 1; }, true);
    std::vector<CChCnd*> channels{&unit.m_channels[0], &unit.m_channels[2], &unit.m_channels[3]};
    CCalStatistics stats(unit, channels);
    EXPECT_EQ(stats.Get(1).wordIndex, 1); // the switched-off channel has no word
    EXPECT_EQ(stats.Get(2).displayRange, 500.0);

    const std::int16_t block[] = {100, 200, -300, 300, 0, -100};
    stats.AddFrames(block, 2, 3);
    CalChannelStats first = stats.Get(0);
    EXPECT_DOUBLE_EQ(first.blockMin, 0.04);
    EXPECT_DOUBLE_EQ(first.blockMax, 0.12);
    EXPECT_DOUBLE_EQ(first.mean, 0.08);
    EXPECT_EQ(first.count, 2u);
    const std::int16_t next[] = {-500, 1000, 0};
    stats.StopStart(1, false); // channel 1 pauses and keeps what it has
    stats.AddFrames(next, 1, 3);
    EXPECT_DOUBLE_EQ(stats.Get(0).blockMin, -0.2);
    EXPECT_DOUBLE_EQ(stats.Get(0).overallMax, 0.12);
    EXPECT_NEAR(stats.Get(0).mean, (0.04 + 0.12 - 0.2) / 3, 1e-15);
    EXPECT_EQ(stats.Get(1).count, 2u);
    EXPECT_DOUBLE_EQ(stats.Get(1).mean, 0.04);
    EXPECT_EQ(stats.Means().size(), 3u);

    stats.Reset(0, false);
    EXPECT_EQ(stats.Get(0).count, 0u);
    EXPECT_FALSE(stats.Get(0).HasOverall());
    EXPECT_EQ(stats.Get(1).paused, 1); // a reset keeps the pause
    stats.StopStart(1, false);         // runs again, from nothing
    EXPECT_EQ(stats.Get(1).paused, 0);
    EXPECT_EQ(stats.Get(1).count, 0u);

    stats.AddFrames(block, 2, 3);
    stats.StopStart(2, true); // a running channel with ALL: every channel pauses
    EXPECT_EQ(stats.Get(0).paused + stats.Get(1).paused + stats.Get(2).paused, 3);
    EXPECT_EQ(stats.Get(0).count, 2u);
    stats.StopStart(0, true); // a paused one with ALL: every channel is reset and runs
    EXPECT_EQ(stats.Get(0).paused + stats.Get(1).paused + stats.Get(2).paused, 0);
    EXPECT_EQ(stats.Get(2).count, 0u);
    stats.AddFrames(block, 2, 3);
    stats.Reset(2, true);
    EXPECT_EQ(stats.Get(0).count + stats.Get(1).count, 0u);

    stats.StepRange(0, true);
    stats.StepRange(std::nullopt, false);
    EXPECT_EQ(stats.Get(0).displayRange, 10.0);
    EXPECT_EQ(stats.Get(1).displayRange, 20.0);
    EXPECT_EQ(stats.Get(2).displayRange, 1000.0);
}

TEST(CalPanelLayoutTest, PanelsRangeStepsAndScaleRows) {
    const std::pair<int, int> shapes[] = {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6},
                                          {2, 4}, {2, 4}, {2, 5}, {2, 5}, {2, 6}, {2, 6}};
    for (int count = 1; count <= 12; ++count)
        EXPECT_EQ(CCalPanelLayout::Shape(count), shapes[count - 1]) << count;
    EXPECT_EQ(CCalPanelLayout::Panel(5, 7).panel, (CalRect{150, 330, 300, 660}));
    EXPECT_EQ(CCalPanelLayout::Area(7), (CalRect{0, 0, 600, 660}));
    EXPECT_LE(CCalPanelLayout::Panel(1, 2).reset.bottom, 330);
    EXPECT_EQ(CCalPanelLayout::PanelAt(160, 340, 7), 5);
    EXPECT_EQ(CCalPanelLayout::PanelAt(460, 340, 7), std::nullopt); // the empty eighth place

    const std::tuple<double, bool, double> steps[] = {
        {10.0, true, 5.0},     {5.0, true, 2.0},   {2.0, true, 1.0},   {1.0, true, 0.5},
        {0.5, false, 1.0},     {3.0, true, 1.0},   {3.0, false, 5.0},  {7.0, false, 10.0},
        {1000.0, true, 500.0}, {-2.0, true, -1.0}, {0.02, true, 0.01}, {0.0, true, 0.0},
        {9.99, false, 10.0},
    };
    for (const auto& [range, down, want] : steps)
        EXPECT_DOUBLE_EQ(CCalPanelLayout::StepRange(range, down), want) << range << down;

    const CalRect scale{0, 0, 10, 101};
    EXPECT_EQ(CCalPanelLayout::ValueY(scale, 10.0, 10.0), 0);
    EXPECT_EQ(CCalPanelLayout::ValueY(scale, 0.0, 10.0), 50);
    EXPECT_EQ(CCalPanelLayout::ValueY(scale, -5.0, -10.0), 75);
    EXPECT_EQ(CCalPanelLayout::ValueY(scale, -99.0, 10.0), 100);
}

TEST_F(CalThreadTest, AtFiveHertzTheRecorderBuffersTenFramesAndTheThreadReadsSingleFrames) {
    Open("5Hz");
    EXPECT_EQ(CExecCalThreadInfo::DeviceBufferBytes(5.0, 3), 60);
    EXPECT_EQ(CExecCalThreadInfo::ThreadBufferFrames(5.0), 5);
    EXPECT_EQ(CExecCalThreadInfo::MinBlockFrames(5.0), 1);
    EXPECT_EQ(CExecCalThreadInfo::MinBlockFrames(1000.0), 50);
    ASSERT_EQ(m_thread->Start(), 1);
    EXPECT_EQ(m_link.m_startBytes, 60);
    EXPECT_EQ(Status(), RecorderStatus::kArmed);
    ASSERT_TRUE(WaitForSamples(12));
    EXPECT_LE(m_link.m_largestRead, 5 * 6);
    m_thread->Stop();
    EXPECT_FALSE(m_thread->IsRunning());
    EXPECT_EQ(Status(), RecorderStatus::kIdle); // the thread stopped the armed acquisition
    ExpectInputs();
    const auto messages = m_queue.Drain();
    ASSERT_FALSE(messages.empty());
    EXPECT_TRUE(std::all_of(messages.begin(), messages.end(), [](const auto& m) {
        return m.id == CExecCalThreadInfo::kUpdateMessage;
    }));
}

TEST_F(CalThreadTest, FramesCutApartByTheLinkStayWhole) {
    Open("1kHz");
    m_link.m_readLimit = 14; // two frames and a word
    ASSERT_EQ(m_thread->Start(), 1);
    ASSERT_TRUE(WaitForSamples(500));
    m_thread->Stop();
    ExpectInputs();
}

TEST_F(CalThreadTest, ALostRecorderIsReportedOnceAndEndsTheThread) {
    Open("100Hz");
    ASSERT_EQ(m_thread->Start(), 1);
    ASSERT_TRUE(WaitForSamples(5));
    m_link.FindRecorder("127.0.0.2")->DropConnections();
    ASSERT_TRUE(m_queue.WaitFor(1, 10000));
    std::vector<CMessageQueue::Message> errors;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (errors.empty() && std::chrono::steady_clock::now() < deadline) {
        for (const auto& message : m_queue.Drain()) {
            if (message.id == CExecCalThreadInfo::kCommErrorMessage)
                errors.push_back(message);
        }
    }
    m_thread->Stop();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_LT(errors[0].wparam, 0);
    EXPECT_TRUE(m_queue.Drain().empty());
}

TEST_F(CalThreadTest, AStartTheRecorderRefusesStartsNoThread) {
    Open("100Hz", "FAULT ERROR 10 -7\n");
    EXPECT_EQ(m_thread->Start(), -7);
    EXPECT_FALSE(m_thread->IsRunning());
    m_device.Close();
    EXPECT_EQ(m_thread->Start(), RecorderStatus::kCommError);
    EXPECT_FALSE(m_thread->IsRunning());
}
