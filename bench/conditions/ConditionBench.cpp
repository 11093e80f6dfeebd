// Reading and writing a large condition: eight slots of 64 channels each.
#include "conditions/RecCnd.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

CRecCnd MakeLargeCondition() {
    CRecCnd cnd;
    cnd.m_rate = "1kHz";
    for (int s = 1; s <= CRecCnd::kSlotCount; ++s) {
        CSlotInfo& slot = cnd.m_slots[static_cast<std::size_t>(s - 1)];
        slot.m_partNo = "QA-80V";
        slot.m_typeCode = 2;
        slot.m_chCount = 64;
        slot.m_ranges = {"10V", "5V", "2V", "1V", "500mV"};
        slot.m_filters = {"OFF", "10Hz", "100Hz", "1kHz"};
        for (int c = 0; c < 64; ++c) {
            CChCnd ch;
            ch.m_ampCode = 2;
            ch.m_slot = static_cast<std::int16_t>(s);
            ch.m_channel = static_cast<std::int16_t>(c);
            ch.m_enabled = 1;
            ch.m_name = "Signal_" + std::to_string(s) + "_" + std::to_string(c);
            ch.m_phyUnit = "kN";
            ch.SetRange("10V");
            ch.m_filter = "100Hz";
            ch.m_phy1 = 50.0;
            ch.m_amp1 = 5.0;
            cnd.m_channels.push_back(ch);
        }
    }
    return cnd;
}

void BM_FormatLines(benchmark::State& state) {
    const CRecCnd cnd = MakeLargeCondition();
    TextLines lines;
    for (auto _ : state) {
        cnd.FormatLines(lines);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(cnd.m_channels.size()));
}
BENCHMARK(BM_FormatLines)->Unit(benchmark::kMicrosecond);

void BM_ParseLines(benchmark::State& state) {
    TextLines lines;
    MakeLargeCondition().FormatLines(lines);
    CRecCnd cnd;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cnd.ParseLines(lines));
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(cnd.m_channels.size()));
}
BENCHMARK(BM_ParseLines)->Unit(benchmark::kMicrosecond);

void BM_SaveAndLoadFile(benchmark::State& state) {
    const CRecCnd cnd = MakeLargeCondition();
    const std::string path = (std::filesystem::temp_directory_path() / "zt300_bench.czd").string();
    CRecCnd loaded;
    for (auto _ : state) {
        if (!cnd.Save(path).empty() || !loaded.Load(path).empty())
            state.SkipWithError("file error");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveAndLoadFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
