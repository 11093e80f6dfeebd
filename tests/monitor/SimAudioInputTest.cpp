#include "monitor/SimAudioInput.h"
#include "monitor/WaveFile.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

// Collects the buffers the input hands back, from the input's thread.
class CDoneLog {
public:
    IAudioInput::BufferDone Callback() {
        return [this](int index, std::size_t bytes) {
            std::lock_guard lock(m_lock);
            m_done.push_back({index, bytes});
            m_changed.notify_all();
        };
    }
    bool WaitFor(std::size_t count) {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, std::chrono::seconds(5),
                                  [&] { return m_done.size() >= count; });
    }
    std::vector<std::pair<int, std::size_t>> Take() {
        std::lock_guard lock(m_lock);
        return std::exchange(m_done, {});
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<std::pair<int, std::size_t>> m_done;
};

} // namespace

TEST(SimAudioInputTest, BuffersComeBackInOrderWithTheSoundContinued) {
    CTempFolder folder("sim-audio");
    std::vector<std::uint8_t> recorded(300);
    for (std::size_t i = 0; i < recorded.size(); ++i)
        recorded[i] = static_cast<std::uint8_t>(i);
    ASSERT_EQ(CWaveFile::Write(folder.File("r.wav"), recorded), "");
    std::string error;
    CSimAudioInput input(CSimAudioInput::WaveFile(folder.File("r.wav"), error), 0);
    ASSERT_EQ(error, "");

    CDoneLog log;
    ASSERT_EQ(input.Open(log.Callback()), "");
    std::vector<std::uint8_t> a(200), b(200);
    ASSERT_EQ(input.AddBuffer(0, a.data(), a.size()), "");
    ASSERT_EQ(input.AddBuffer(1, b.data(), b.size()), "");
    ASSERT_EQ(input.Start(), "");
    ASSERT_TRUE(log.WaitFor(2));
    EXPECT_EQ(log.Take(), (std::vector<std::pair<int, std::size_t>>{{0, 200}, {1, 200}}));
    EXPECT_EQ(a[199], 199);
    EXPECT_EQ(b[99], 299 % 256) << "the file's samples go on in the second buffer";
    EXPECT_EQ(b[100], 128) << "then silence";
    EXPECT_EQ(input.GetPosition(), 400u);

    // The device goes away: a queued buffer comes back empty, none can be queued again.
    input.Unplug();
    ASSERT_EQ(input.AddBuffer(0, a.data(), a.size()), CSimAudioInput::kDeviceRemoved);
    input.Stop();
    input.Close();
    EXPECT_FALSE(input.IsOpen());
}

TEST(SimAudioInputTest, StopEndsTheCallbacksAndAMissingDeviceRefusesToOpen) {
    CSimAudioInput input(CSimAudioInput::Pattern(1, 1), 0);
    std::atomic<int> calls{0};
    std::vector<std::uint8_t> buffers[2] = {std::vector<std::uint8_t>(64),
                                            std::vector<std::uint8_t>(64)};
    // Re-queues from the callback, as fast as it can, until stopped.
    ASSERT_EQ(input.Open([&](int index, std::size_t) {
        ++calls;
        input.AddBuffer(index, buffers[index].data(), 64);
    }),
              "");
    input.AddBuffer(0, buffers[0].data(), 64);
    input.AddBuffer(1, buffers[1].data(), 64);
    input.Start();
    while (calls.load() < 100)
        std::this_thread::yield();
    input.Stop();
    const int stopped = calls.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(calls.load(), stopped);
    input.Close();

    input.SetDevicePresent(false);
    EXPECT_EQ(input.Open([](int, std::size_t) {}), CSimAudioInput::kNoDevice);
    EXPECT_FALSE(input.IsOpen());
}

TEST(SimAudioInputTest, PatternSecondsAreLoudThenQuiet) {
    const CSimAudioInput::Source pattern = CSimAudioInput::Pattern(3, 4);
    std::vector<std::uint8_t> second(11025);
    for (std::uint64_t s = 0; s < 14; ++s) {
        pattern(s * 11025, second.data(), second.size());
        const auto [low, high] = std::minmax_element(second.begin(), second.end());
        const int swing = *high - *low;
        EXPECT_EQ(swing >= 2 * CSimAudioInput::kLoudAmplitude - 2, s % 7 < 3) << "second " << s;
        EXPECT_LE(*high - 128, CSimAudioInput::kLoudAmplitude);
    }
}
