// The per-row work of the data thread on the display side, for eight recorders of 64 channels:
// max/min update, display fold, and the user-interface side's ring push.
#include "monitor/CpsRingBuf.h"
#include "monitor/DisplayFeed.h"
#include "monitor/UpdateDataInfo.h"
#include "records/MaxMinRunTable.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kChannels = 8 * 64;
constexpr int kRowVariants = 64;

// A few different rows, so the comparisons do not always go the same way.
std::vector<std::vector<double>> MakeRows() {
    std::vector<std::vector<double>> rows(kRowVariants, std::vector<double>(kChannels));
    for (int r = 0; r < kRowVariants; ++r)
        for (int c = 0; c < kChannels; ++c)
            rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                static_cast<double>((r * 7919 + c * 104729) % 50000) / 10.0 - 2500.0;
    return rows;
}

void SetRates(benchmark::State& state, std::int64_t rows) {
    state.SetItemsProcessed(rows);
    state.counters["channel_samples/s"] =
        benchmark::Counter(static_cast<double>(rows) * kChannels, benchmark::Counter::kIsRate);
}

void BM_MaxMinUpdate(benchmark::State& state) {
    const auto rows = MakeRows();
    CMaxMinRunTable table;
    table.Create(kChannels);
    std::size_t r = 0;
    for (auto _ : state) {
        const auto& row = rows[r++ % kRowVariants];
        table.UpdateRow(row.data(), row.data(), kChannels);
    }
    SetRates(state, state.iterations());
}
BENCHMARK(BM_MaxMinUpdate);

// The fold into the compressed buffer; the hand-over that empties a full buffer is left out of
// the time.
void BM_DisplayFold(benchmark::State& state) {
    const auto rows = MakeRows();
    const int factor = static_cast<int>(state.range(0));
    CDisplayFeed feed;
    feed.Init(factor, 2000, kChannels);
    CCpsRingBuf ring;
    ring.Create(4000, kChannels, 0.0, 0.001);
    std::size_t r = 0;
    for (auto _ : state) {
        const auto& row = rows[r++ % kRowVariants];
        if (feed.AddRow(row.data(), kChannels) == 0) {
            state.PauseTiming();
            CUpdateDataInfo info;
            feed.TransferTo(ring, info);
            state.ResumeTiming();
        }
    }
    SetRates(state, state.iterations());
}
BENCHMARK(BM_DisplayFold)->Arg(1)->Arg(5)->Arg(100);

// One display tick's hand-over of 200 finished points into a full ring.
void BM_HandOver(benchmark::State& state) {
    constexpr int kPoints = 200;
    const auto rows = MakeRows();
    CDisplayFeed feed;
    feed.Init(1, kPoints, kChannels);
    CCpsRingBuf ring;
    ring.Create(4000, kChannels, 0.0, 0.001);
    for (auto _ : state) {
        state.PauseTiming();
        for (int p = 0; p < kPoints; ++p)
            feed.AddRow(rows[static_cast<std::size_t>(p % kRowVariants)].data(), kChannels);
        state.ResumeTiming();
        CUpdateDataInfo info;
        benchmark::DoNotOptimize(feed.TransferTo(ring, info));
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
    state.SetLabel("items = points");
}
BENCHMARK(BM_HandOver);

void BM_RingPush(benchmark::State& state) {
    const auto rows = MakeRows();
    std::vector<std::vector<CpsEntry>> points(kRowVariants, std::vector<CpsEntry>(kChannels));
    for (int p = 0; p < kRowVariants; ++p)
        for (int c = 0; c < kChannels; ++c) {
            const double x = rows[static_cast<std::size_t>(p)][static_cast<std::size_t>(c)];
            points[static_cast<std::size_t>(p)][static_cast<std::size_t>(c)] = {x - 1.0, x};
        }
    CCpsRingBuf ring;
    ring.Create(4000, kChannels, 0.0, 0.001);
    std::size_t p = 0;
    for (auto _ : state)
        ring.Append(points[p++ % kRowVariants].data(), kChannels);
    SetRates(state, state.iterations());
    state.SetLabel("items = points");
}
BENCHMARK(BM_RingPush);

} // namespace

BENCHMARK_MAIN();
