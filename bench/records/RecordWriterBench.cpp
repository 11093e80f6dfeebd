// Appending rows to the PC record: the data thread's cost per block (with the free-space probe),
// the provisional header it rewrites every two seconds, and a header at the end.
#include "records/RecordWriter.h"

#include "framework/Clock.h"
#include "framework/DiskSpace.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Two recorders of 16 channels at 1 kHz: 32 words per row, a block per 100 ms.
constexpr int kChannels = 16;
constexpr int kRowsPerBlock = 100;

std::vector<CRecCnd> Conditions(const std::string& folder) {
    std::vector<CRecCnd> conditions(2);
    for (CRecCnd& condition : conditions) {
        condition.m_rate = "1kHz";
        condition.m_baseFileName = "Bench";
        condition.m_hddRecFolder = folder;
        condition.m_hddRecFileExt = 1;
        for (int channel = 0; channel < kChannels; ++channel) {
            CChCnd ch;
            ch.m_slot = static_cast<std::int16_t>(1 + channel / 8);
            ch.m_channel = static_cast<std::int16_t>(channel % 8);
            ch.m_enabled = 1;
            ch.SetRange("10V");
            condition.m_channels.push_back(ch);
        }
    }
    return conditions;
}

// Every tick read is two seconds later: each block also rewrites the provisional header.
class CRewritingClock : public CSystemClock {
public:
    std::uint64_t GetTickCount() const override { return m_tick += CRecordWriter::kProvisionalMs; }

private:
    mutable std::uint64_t m_tick = 0;
};

template <class Clock> void AppendBlocks(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zt300-bench-record-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    Clock clock;
    const auto conditions = Conditions(folder.string());
    const std::vector<std::int16_t> block(kRowsPerBlock * kChannels * 2, 1234);
    {
        CRecordWriter writer(clock);
        writer.Start({conditions, 0, "Bench_00001", ""}, {}, {});
        for (auto _ : state)
            benchmark::DoNotOptimize(writer.Append(block.data(), kRowsPerBlock));
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                                static_cast<std::int64_t>(block.size() * 2));
        writer.Close();
        writer.WriteHeader();
    }
    std::filesystem::remove_all(folder);
}
void BM_AppendBlock(benchmark::State& state) {
    AppendBlocks<CSystemClock>(state);
}
void BM_AppendBlockAndProvisionalHeader(benchmark::State& state) {
    AppendBlocks<CRewritingClock>(state);
}
// A fixed count keeps the file at about 13 MB on a shared disk.
BENCHMARK(BM_AppendBlock)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AppendBlockAndProvisionalHeader)->Iterations(2000)->Unit(benchmark::kMicrosecond);

// The question Append asks before each block.
void BM_FreeSpaceProbe(benchmark::State& state) {
    const CFileSystemSpace space;
    const std::string folder = std::filesystem::temp_directory_path().string();
    for (auto _ : state)
        benchmark::DoNotOptimize(space.GetFreeBytes(folder));
}
BENCHMARK(BM_FreeSpaceProbe)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
