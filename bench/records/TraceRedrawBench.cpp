// A whole redraw of plotview's trace view, painting included: 64 channels over 1600 pixels at
// zoom levels from half a row to the whole record per pixel. Runs on the offscreen platform.
#include "BenchRecord.h"
#include "records/RecordOverview.h"
#include "ui/plotview/ChannelListModel.h"
#include "ui/plotview/TraceView.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

constexpr std::uint64_t kRecordBytes = 512ull << 20;
// The view's margins take 92 pixels: this leaves 1600 for the traces.
constexpr int kViewWidth = 1692;
constexpr int kViewHeight = 1000;

struct Opened {
    Opened()
        : bench(WriteBenchRecord((std::filesystem::temp_directory_path() /
                                  ("zt300-redraw-bench-" + std::to_string(getpid())))
                                     .string(),
                                 kRecordBytes, false)),
          overview([this]() -> const CRecordReader& {
              record.Open(bench.header);
              return record;
          }()) {
        overview.Start(UINT64_MAX);
        overview.Wait();
        channels.SetChannels(record.GetChannels());
        view.SetRecord(&record, &overview, &channels);
    }
    ~Opened() { std::filesystem::remove_all(bench.folder); }

    BenchRecord bench;
    CRecordReader record;
    CRecordOverview overview;
    CChannelListModel channels;
    CTraceView view;
};

Opened& Record() {
    static Opened opened;
    return opened;
}

// Rows per pixel: state.range(0) / 100; 0 is the whole record.
void BM_Redraw(benchmark::State& state) {
    Opened& opened = Record();
    const double rows = static_cast<double>(opened.record.GetRowCount());
    const double shown =
        state.range(0) > 0 ? static_cast<double>(state.range(0)) / 100.0 * 1600.0 : rows;
    opened.view.ShowRows(rows / 2.0 - shown / 2.0, rows / 2.0 + shown / 2.0);
    QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        opened.view.Render(painter, image.rect());
    }
    state.counters["rows_per_pixel"] = shown / 1600.0;
}
BENCHMARK(BM_Redraw)->Arg(50)->Arg(100)->Arg(1000)->Arg(6300)->Arg(6400)->Arg(100000)->Arg(0)->Unit(
    benchmark::kMillisecond);

} // namespace
