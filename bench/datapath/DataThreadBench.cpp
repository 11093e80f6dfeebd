// The data thread's work per row, fed from memory: eight recorders of 64 enabled 16-bit
// channels, every read cycle finding a second of frames waiting. Rows are joined, converted,
// folded into max/min and the display, pushed into the pre-trigger ring and, in the second
// variant, written to a PC record. "x_realtime" is the multiple of real time when each
// recorder delivers 1 MiB of samples per second (8192 rows of 64 channels).
#include "datapath/DataThread.h"
#include "datapath/ThreadInfo.h"
#include "device/Device.h"
#include "device/sim/SimLink.h"
#include "framework/MessageTarget.h"
#include "framework/SilentPrompt.h"
#include "monitor/CpsRingBuf.h"
#include "monitor/UpdateDataInfo.h"
#include "records/RecordWriter.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

constexpr int kRecorders = 8;
constexpr int kChannels = 64;
constexpr int kRealTimeRows = 1024 * 1024 / (2 * kChannels); // rows per second at 1 MiB/s
constexpr int kFramesPerCycle = kRealTimeRows;

// Every recorder always has a second of frames of a changing signal waiting.
class CMemoryLink : public CSimLink {
public:
    CMemoryLink() : m_frames(static_cast<std::size_t>(kFramesPerCycle) * kChannels) {
        for (std::size_t i = 0; i < m_frames.size(); ++i)
            m_frames[i] = static_cast<std::int16_t>((i * 7919) % 50000 - 25000);
    }
    int LnkGetDataCount(int) override { return static_cast<int>(m_frames.size() * 2); }
    int LnkReadData(int, void* buffer, int bytes) override {
        std::memcpy(buffer, m_frames.data(), static_cast<std::size_t>(bytes));
        return bytes;
    }
    int LnkGetStatusWait(int, int) override { return RecorderStatus::kArmed; }

private:
    std::vector<std::int16_t> m_frames;
};

class CNoTarget : public IMessageTarget {
public:
    void Post(int, std::intptr_t, std::intptr_t) override {}
};

class CTickClock : public IClock {
public:
    std::uint64_t GetTickCount() const override { return m_tick; }
    LocalTime GetLocalTime() const override { return {2026, 1, 1, 12, 0, 0, 0, 0}; }
    std::uint64_t m_tick = 0;
};

CRecCnd MakeCondition(int index, const std::string& folder) {
    CRecCnd condition;
    condition.m_rate = "10kHz";
    condition.m_sync = index == 0 ? 11 : 12;
    condition.m_hddRecFolder = folder;
    condition.m_hddPreTime = 1;
    for (int c = 0; c < kChannels; ++c) {
        CChCnd channel;
        channel.m_ampCode = 2;
        channel.m_slot = static_cast<std::int16_t>(1 + c / 8);
        channel.m_channel = static_cast<std::int16_t>(c % 8);
        channel.m_enabled = 1;
        channel.SetRange("10V");
        channel.m_balanceResidual = 100;
        condition.m_channels.push_back(channel);
    }
    return condition;
}

void BM_DataThreadRows(benchmark::State& state) {
    const bool record = state.range(0) != 0;
    const std::string folder =
        (std::filesystem::temp_directory_path() / "zt300-data-thread-bench").string();
    std::filesystem::create_directories(folder);
    CMemoryLink link;
    CSilentPrompt prompt;
    CTickClock clock;
    CNoTarget target;
    CRecordWriter writer(clock);
    std::vector<std::unique_ptr<CDevice>> devices;
    RunSetup setup;
    setup.target = &target;
    setup.clock = &clock;
    setup.writer = &writer;
    for (int r = 0; r < kRecorders; ++r) {
        devices.push_back(std::make_unique<CDevice>(link, prompt, clock));
        setup.devices.push_back(devices.back().get());
        setup.conditions.push_back(MakeCondition(r, folder));
    }
    setup.nextRecordName = "Bench_00001";
    setup.displayFactor = 20;
    setup.displayCapacity = 10 * 10000 / 20;
    CThreadInfo info(std::move(setup));
    info.Prepare();
    CCpsRingBuf ring;
    ring.Create(2 * 10000 * 10 / 20, kRecorders * kChannels, 0.0, 0.002);
    CDataThread work(info);
    if (record)
        info.RequestRecord();
    std::int64_t rows = 0;
    for (auto _ : state) {
        clock.m_tick += 100;
        const std::int64_t before = info.GetRowsReceived();
        work.Pass();
        rows += info.GetRowsReceived() - before;
        state.PauseTiming();
        CUpdateDataInfo update;
        info.GetDisplayFeed().TransferTo(ring, update);
        if (record && writer.GetSamplesWritten() > 50u * kRealTimeRows) {
            writer.Close();
            info.RequestRecord();
        }
        state.ResumeTiming();
    }
    writer.Close();
    std::filesystem::remove_all(folder);
    state.SetItemsProcessed(rows);
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(rows), benchmark::Counter::kIsRate);
    state.counters["channel_samples/s"] = benchmark::Counter(
        static_cast<double>(rows) * kRecorders * kChannels, benchmark::Counter::kIsRate);
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(rows) / kRealTimeRows, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DataThreadRows)->Arg(0)->Arg(1)->ArgName("record")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
