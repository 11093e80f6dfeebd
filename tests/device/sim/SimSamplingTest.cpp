// Sample frames: layout, count per time, values, master/slave alignment, a full buffer and
// reading from two threads at once.
#include "SimFixture.h"

#include "device/sim/SimSignal.h"

#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

std::vector<std::uint16_t> Read(CSimLink& link, int handle, int frames, int frameWords) {
    std::vector<std::uint16_t> words(static_cast<std::size_t>(frames * frameWords));
    const int bytes = link.LnkReadData(handle, words.data(), static_cast<int>(words.size() * 2));
    words.resize(static_cast<std::size_t>(std::max(bytes, 0) / 2));
    return words;
}

// The words every frame from `first` on must hold, from the documented signal function.
std::vector<std::uint16_t> Expected(CSimRecorder& recorder, std::int64_t first, int frames) {
    std::vector<std::uint16_t> words;
    for (std::int64_t k = first; k < first + frames; ++k) {
        for (const SimFrameChannel& channel : recorder.GetFrameLayout()) {
            std::uint16_t sample[2];
            const int count = CSimSignal::Words(recorder.GetSignalSeed(), channel.slot,
                                                channel.channel, channel.dataType, k, sample);
            words.insert(words.end(), sample, sample + count);
        }
    }
    return words;
}

} // namespace

using SimSamplingTest = SimFixture;

TEST(SimSignalTest, ShapesAreTheDocumentedOnes) {
    // (slot + channel) % 3 == 0: sine of 20000 counts and 100 + 20 * channel samples.
    EXPECT_EQ(CSimSignal::Counts(0, 3, 0, 25), 20000);
    EXPECT_EQ(CSimSignal::Counts(0, 3, 0, 75), -20000);
    EXPECT_EQ(CSimSignal::Counts(5, 3, 0, 20), 20000);
    // 1: sawtooth.
    EXPECT_EQ(CSimSignal::Counts(0, 1, 0, 0), -25000);
    EXPECT_EQ(CSimSignal::Counts(0, 1, 0, 49999), 24999);
    EXPECT_EQ(CSimSignal::Counts(1, 1, 0, 0), -25000 + 97);
    // 2: square wave of +-(5000 + 1000 * slot), half period 50 + 10 * channel.
    EXPECT_EQ(CSimSignal::Counts(0, 2, 0, 49), 7000);
    EXPECT_EQ(CSimSignal::Counts(0, 2, 0, 50), -7000);

    std::uint16_t words[2];
    ASSERT_EQ(CSimSignal::Words(0, 1, 0, 2, 0, words), 2); // -25000 * 100, low word first
    EXPECT_EQ(static_cast<std::int32_t>(words[0] | (static_cast<std::uint32_t>(words[1]) << 16)),
              -2500000);
    ASSERT_EQ(CSimSignal::Words(0, 1, 0, 4, 0, words), 2);
    const std::uint32_t bits = words[0] | (static_cast<std::uint32_t>(words[1]) << 16);
    EXPECT_EQ(std::bit_cast<float>(bits), -250.0f);
    ASSERT_EQ(CSimSignal::Words(0, 1, 0, 1, 0, words), 1);
    EXPECT_EQ(static_cast<std::int16_t>(words[0]), -25000);
}

TEST(SimSignalTest, KnownInputsAreScaledByTheRangeAndKeptWithinTheConverter) {
    EXPECT_EQ(CSimSignal::InputCounts({2.5, 0.0}, 10.0, 0, 1, 0, 7), 6250);
    EXPECT_EQ(CSimSignal::InputCounts({-125.0, 0.0}, 500.0, 0, 1, 0, 7), -6250); // a mV range
    EXPECT_EQ(CSimSignal::InputCounts({1234.0, 0.0}, 0.0, 0, 1, 0, 7), 1234);    // no range: counts
    EXPECT_EQ(CSimSignal::InputCounts({20.0, 0.0}, 10.0, 0, 1, 0, 7), 32767);
    EXPECT_EQ(CSimSignal::InputCounts({-20.0, 0.0}, 10.0, 0, 1, 0, 7), -32768);
    // Noise stays within its bound, is centred and repeats for the same sample.
    double sum = 0.0;
    for (std::int64_t k = 0; k < 10000; ++k) {
        const std::int32_t counts = CSimSignal::InputCounts({1.0, 0.1}, 10.0, 4, 2, 3, k);
        ASSERT_GE(counts, 2250);
        ASSERT_LE(counts, 2750);
        ASSERT_EQ(counts, CSimSignal::InputCounts({1.0, 0.1}, 10.0, 4, 2, 3, k));
        sum += counts;
    }
    EXPECT_NEAR(sum / 10000, 2500.0, 5.0);
}

TEST_F(SimSamplingTest, KnownInputsReplaceTheSignalFromConfigCallsAndTextCommands) {
    std::string error;
    auto link = CSimLink::FromConfigText("RECORDER R 127.0.0.4\n"
                                         "RATE 100Hz\n"
                                         "SLOT 1 PN=QA-80VA TY=2 NCH=3 RV=10,500m ON=1-3\n"
                                         "INPUT 1-1 2.5\n",
                                         error, &m_clock);
    ASSERT_TRUE(link) << error;
    const int handle = link->LnkOpen("127.0.0.4", 1000);
    CSimRecorder& recorder = *link->FindRecorder("127.0.0.4");
    EXPECT_TRUE(recorder.SetInput(1, 1, CSimInput{-0.5, 0.0}));
    EXPECT_FALSE(recorder.SetInput(1, 3, CSimInput{}));
    EXPECT_FALSE(recorder.SetInput(2, 0, CSimInput{}));
    // The text command works in any state; a wrong one is refused.
    EXPECT_EQ(link->LnkSetCommand(handle, "1SIMIN 3,0.25,0.01"), 1);
    EXPECT_EQ(recorder.GetInput(1, 2), (CSimInput{0.25, 0.01}));
    for (const char* wrong :
         {"1SIMIN 4,1", "1SIMIN 3,x", "1SIMIN 3,1,-1", "2SIMIN 1,1", "1SIMIN 3", "1SIMIN 03,1"})
        EXPECT_EQ(link->LnkSetCommand(handle, wrong), LinkCode::kNak) << wrong;

    ASSERT_EQ(link->LnkStartArmed(handle, 6 * 100), 1);
    m_clock.Advance(100);
    std::vector<std::uint16_t> words = Read(*link, handle, 10, 3);
    ASSERT_EQ(words.size(), 30u);
    for (std::int64_t k = 0; k < 10; ++k) {
        const std::size_t at = static_cast<std::size_t>(k) * 3;
        EXPECT_EQ(static_cast<std::int16_t>(words[at]), 6250);
        EXPECT_EQ(static_cast<std::int16_t>(words[at + 1]), -1250);
        EXPECT_EQ(static_cast<std::int16_t>(words[at + 2]),
                  CSimSignal::InputCounts({0.25, 0.01}, 10.0, recorder.GetSignalSeed(), 1, 2, k));
    }
    // Taken away while sampling: the channel carries its own signal again.
    EXPECT_EQ(link->LnkSetCommand(handle, "1SIMIN 1,OFF"), 1);
    EXPECT_EQ(recorder.GetInput(1, 0), std::nullopt);
    m_clock.Advance(10);
    words = Read(*link, handle, 1, 3);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(static_cast<std::int16_t>(words[0]),
              CSimSignal::Counts(recorder.GetSignalSeed(), 1, 0, 10));
}

TEST_F(SimSamplingTest, FramesComeAtTheRateInListOrderWithTwoWordChannels) {
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 12 * 3000), 1);
    const std::vector<SimFrameChannel> layout = Master().GetFrameLayout();
    ASSERT_EQ(layout.size(), 5u);
    EXPECT_EQ((std::vector<int>{layout[0].slot, layout[1].slot, layout[2].slot, layout[3].slot,
                                layout[4].slot}),
              (std::vector<int>{1, 1, 3, 6, 6}));
    EXPECT_EQ(layout[4].dataType, 2); // from the CAN database
    EXPECT_EQ(layout[4].wordOffset, 4);
    ASSERT_EQ(Master().GetFrameWords(), 6);

    EXPECT_EQ(m_link->LnkGetDataCount(m_master), 0);
    m_clock.Advance(9);
    EXPECT_EQ(m_link->LnkGetDataCount(m_master), 0); // the first period is not over
    m_clock.Advance(991);
    EXPECT_EQ(m_link->LnkGetDataCount(m_master), 100 * 12);

    // Read in pieces that split frames: the stream stays continuous.
    std::vector<std::uint16_t> words = Read(*m_link, m_master, 7, 5);
    const std::vector<std::uint16_t> rest = Read(*m_link, m_master, 100, 6);
    words.insert(words.end(), rest.begin(), rest.end());
    EXPECT_EQ(words, Expected(Master(), 0, 100));
    EXPECT_EQ(m_link->LnkGetDataCount(m_master), 0);

    m_clock.Advance(20000);
    EXPECT_EQ(m_link->LnkGetDataCount(m_master), 2000 * 12);
    EXPECT_EQ(Read(*m_link, m_master, 2000, 6), Expected(Master(), 100, 2000));
}

TEST_F(SimSamplingTest, SlaveFollowsTheMasterClockSoRowsAlign) {
    ASSERT_EQ(m_link->LnkStartArmed(m_slave, 4 * 3000), 1);
    m_clock.Advance(500);
    EXPECT_EQ(m_link->LnkGetDataCount(m_slave), 0); // waits for the master's start
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 12 * 3000), 1);
    m_clock.Advance(1234);
    EXPECT_EQ(m_link->LnkGetDataCount(m_master), 123 * 12);
    EXPECT_EQ(m_link->LnkGetDataCount(m_slave), 123 * 4);
    EXPECT_EQ(Read(*m_link, m_slave, 123, 2), Expected(Slave(), 0, 123));

    ASSERT_EQ(m_link->LnkStopArmed(m_master), 1);
    m_clock.Advance(1000);
    EXPECT_EQ(m_link->LnkGetDataCount(m_slave), 0); // no clock without the master
    EXPECT_EQ(m_link->LnkGetStatus(m_slave), RecorderStatus::kArmed);
    ASSERT_EQ(m_link->LnkStopArmed(m_slave), 1);

    // A slave armed after the master's start waits for the next start.
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 12 * 3000), 1);
    ASSERT_EQ(m_link->LnkStartArmed(m_slave, 4 * 3000), 1);
    m_clock.Advance(1000);
    EXPECT_EQ(m_link->LnkGetDataCount(m_slave), 0);
}

TEST_F(SimSamplingTest, FullBufferStopsSamplingAndKeepsWhatItHolds) {
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 12 * 10 + 11), 1); // room for 10 frames
    m_clock.Advance(50);
    EXPECT_EQ(Read(*m_link, m_master, 5, 6), Expected(Master(), 0, 5));
    m_clock.Advance(100); // 15 frames made, 10 waiting: full but not over
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kArmed);
    m_clock.Advance(10);
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kRecorderError);
    EXPECT_TRUE(Master().HasOverflowed());
    EXPECT_EQ(m_link->LnkGetDataCount(m_master), 10 * 12);
    EXPECT_EQ(Read(*m_link, m_master, 20, 6), Expected(Master(), 5, 10));
    m_clock.Advance(1000);
    EXPECT_EQ(m_link->LnkGetDataCount(m_master), 0);

    ASSERT_EQ(m_link->LnkStopArmed(m_master), 1);
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kIdle);
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 12 * 10), 1);
    m_clock.Advance(100);
    EXPECT_EQ(Read(*m_link, m_master, 10, 6), Expected(Master(), 0, 10));
}

TEST_F(SimSamplingTest, ExternalClockRateProducesNothing) {
    ASSERT_EQ(m_link->LnkSetAcqCondition(m_master, {"Test", "EXT", 0, 0}), 1);
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 12 * 10), 1);
    m_clock.Advance(10000);
    EXPECT_EQ(m_link->LnkGetDataCount(m_master), 0);
}

TEST_F(SimSamplingTest, DataThreadAndUiThreadCallAtOnce) {
    ASSERT_EQ(m_link->LnkSetAcqCondition(m_master, {"Test", "10kHz", 0, 0}), 1);
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 12 * 100000), 1);
    std::atomic<bool> done{false};
    std::thread ui([&] {
        while (!done) {
            EXPECT_EQ(m_link->LnkGetStatusWait(m_master, 1000), RecorderStatus::kArmed);
            std::string reply;
            EXPECT_EQ(m_link->LnkGetBalanceResidual(m_master, reply), 1);
        }
    });
    std::thread ticker([&] {
        for (int step = 0; step < 500; ++step) {
            m_clock.Advance(1);
            std::this_thread::yield();
        }
    });
    std::vector<std::uint16_t> words;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (words.size() < 5000 * 6 && std::chrono::steady_clock::now() < deadline) {
        const int frames = m_link->LnkGetDataCount(m_master) / 12;
        const std::vector<std::uint16_t> block = Read(*m_link, m_master, frames, 6);
        words.insert(words.end(), block.begin(), block.end());
        std::this_thread::yield();
    }
    ticker.join();
    done = true;
    ui.join();
    EXPECT_EQ(words, Expected(Master(), 0, 5000));
}
