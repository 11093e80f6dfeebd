// Reading records: building the min/max overview from the page cache (bytes per second, and
// how many times faster than the record was recorded), and what a redraw of 64 channels over
// 1600 pixels reads at each zoom level.
#include "BenchRecord.h"
#include "records/RecordOverview.h"
#include "records/TraceEnvelope.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <numeric>

#include <unistd.h>

namespace {

constexpr std::uint64_t kRecordBytes = 1ull << 30;
constexpr int kPixels = 1600;

// One record per layout for the whole run, removed at exit.
class BenchFolder {
public:
    explicit BenchFolder(bool wide)
        : m_record(WriteBenchRecord(
              (std::filesystem::temp_directory_path() /
               ("zt300-read-bench-" + std::to_string(getpid()) + (wide ? "-wide" : "")))
                  .string(),
              kRecordBytes, wide)) {
        WarmPageCache(m_record);
    }
    ~BenchFolder() { std::filesystem::remove_all(m_record.folder); }
    const BenchRecord& Get() const { return m_record; }

private:
    BenchRecord m_record;
};

const BenchRecord& Record(bool wide) {
    static BenchFolder narrow(false);
    if (!wide)
        return narrow.Get();
    static BenchFolder withWide(true);
    return withWide.Get();
}

void BM_BuildOverview(benchmark::State& state) {
    const BenchRecord& bench = Record(state.range(0) != 0);
    // The processor time of every thread: on a shared machine the real time says little.
    const std::clock_t started = std::clock();
    for (auto _ : state) {
        CRecordReader record;
        if (!record.Open(bench.header).empty()) {
            state.SkipWithError("the record does not open");
            return;
        }
        CRecordOverview overview(record);
        overview.Start(UINT64_MAX);
        overview.Wait();
        benchmark::DoNotOptimize(overview.GetPyramid().GetBuiltRows());
    }
    const double cpuSeconds = static_cast<double>(std::clock() - started) / CLOCKS_PER_SEC;
    const double bytes = static_cast<double>(bench.bytes);
    state.counters["cpu_GB_per_s"] =
        bytes * static_cast<double>(state.iterations()) / cpuSeconds / 1e9;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bench.bytes));
    // The record came in at 2 bytes per word and row, 10000 rows a second.
    const double realTime = bench.rowWords * 2.0 * bench.rowsPerSecond;
    state.counters["x_real_time"] =
        benchmark::Counter(bytes / realTime, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_BuildOverview)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("wide")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

// The envelope of 64 channels at rows per pixel: state.range(0) / 100.
void BM_Envelope(benchmark::State& state) {
    const BenchRecord& bench = Record(false);
    CRecordReader record;
    record.Open(bench.header);
    CRecordOverview overview(record);
    overview.Start(UINT64_MAX);
    overview.Wait();
    const CTraceEnvelope envelope(record, overview.GetPyramid());
    std::vector<std::size_t> channels(record.GetChannels().size());
    std::iota(channels.begin(), channels.end(), 0);
    const double rowsPerPixel = state.range(0) > 0
                                    ? static_cast<double>(state.range(0)) / 100.0
                                    : static_cast<double>(record.GetRowCount()) / kPixels;
    // A window in the middle of the record, so that zoomed-in redraws read rows.
    const double first = static_cast<double>(record.GetRowCount()) / 2.0 -
                         (state.range(0) > 0 ? rowsPerPixel * kPixels / 2.0
                                             : static_cast<double>(record.GetRowCount()) / 2.0);
    std::vector<std::vector<NumberRange>> columns;
    for (auto _ : state) {
        envelope.Compute(channels, first, rowsPerPixel, kPixels, columns);
        benchmark::DoNotOptimize(columns.data());
    }
    state.counters["rows_per_pixel"] = rowsPerPixel;
}
// 0: the whole record.
BENCHMARK(BM_Envelope)
    ->Arg(50)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(6300)
    ->Arg(6400)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
