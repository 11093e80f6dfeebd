// Calibration: what the measuring thread spends folding a block into the statistics, and
// reading a unit's calibration template.
#include "conditions/RecCnd.h"
#include "setup/CalStatistics.h"
#include "setup/CalTemplate.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

// One unit of 64 voltage channels on 10V, all on.
CRecCnd Unit() {
    CRecCnd unit;
    for (int slot = 1; slot <= 8; ++slot) {
        CSlotInfo& info = unit.m_slots[static_cast<std::size_t>(slot - 1)];
        info.m_partNo = "QA-80VA";
        info.m_typeCode = 2;
        info.m_chCount = 8;
        for (int channel = 0; channel < 8; ++channel) {
            CChCnd ch;
            ch.m_ampCode = 2;
            ch.m_slot = static_cast<std::int16_t>(slot);
            ch.m_channel = static_cast<std::int16_t>(channel);
            ch.m_enabled = 1;
            ch.SetRange("10V");
            unit.m_channels.push_back(ch);
        }
    }
    return unit;
}

// Twelve channels of 64-word frames, one read of the thread's minimum block at the rate.
void BM_FoldBlock(benchmark::State& state) {
    CRecCnd unit = Unit();
    std::vector<CChCnd*> channels;
    for (int i = 0; i < 12; ++i)
        channels.push_back(&unit.m_channels[static_cast<std::size_t>(i * 5)]);
    CCalStatistics statistics(unit, channels);
    const int frames = static_cast<int>(state.range(0)) / 20;
    std::vector<std::int16_t> block(static_cast<std::size_t>(frames) * 64);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::int16_t>(i * 7919);
    for (auto _ : state)
        statistics.AddFrames(block.data(), frames, 64);
    state.SetItemsProcessed(state.iterations() * frames * 12);
}
BENCHMARK(BM_FoldBlock)->Arg(1000)->Arg(200000);

void BM_ApplyTemplate(benchmark::State& state) {
    std::vector<CRecCnd> units{Unit()};
    TextLines lines;
    CCalTemplate::FormatLines(units, 0, lines);
    for (auto _ : state)
        benchmark::DoNotOptimize(CCalTemplate::ApplyLines(units, {0}, lines));
    state.SetItemsProcessed(state.iterations() * 64);
}
BENCHMARK(BM_ApplyTemplate);

} // namespace

BENCHMARK_MAIN();
