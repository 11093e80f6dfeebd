// Drawing cost of the monitor's charts, bounded by pixels: a full repaint of the common chart
// with 128 shown channels over a 1600-pixel plot into an image, and the live update that adds
// one second of 10 kHz points of 128 channels (scroll, strip, copy to the window); the same for
// 64 separate panels.
#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "framework/SilentPrompt.h"
#include "framework/UpdateHints.h"
#include "monitor/CpsRingBuf.h"
#include "monitor/MyCommonWaveChInfo.h"
#include "monitor/UpdateDataInfo.h"
#include "ui/monitor/MoniChartView.h"
#include "ui/monitor/NewCommonWaveView_Comp.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kChannels = 128;
constexpr double kChartSeconds = 10.0;
constexpr int kPlotWidth = 1600;
constexpr double kRate = 10000.0;
// One point per plot pixel of a 10 s chart: 62.5 samples folded into each.
constexpr double kPointTime = kChartSeconds / kPlotWidth;
constexpr int kPointsPerSecond = static_cast<int>(1.0 / kPointTime);

// A sine of a different period per channel, with the min/max spread of the folded samples.
void AppendPoints(CCpsRingBuf& ring, long long& next, int count) {
    const int channels = ring.GetChannels();
    std::vector<CpsEntry> point(static_cast<std::size_t>(channels));
    for (int p = 0; p < count; ++p, ++next) {
        for (int c = 0; c < channels; ++c) {
            const double phase = next * kPointTime * (0.5 + 0.1 * c);
            const double v = 8.0 * std::sin(2.0 * M_PI * phase);
            point[static_cast<std::size_t>(c)] = {v - 0.4, v + 0.4};
        }
        ring.Append(point.data(), channels);
    }
}

class CBenchView : public CNewCommonWaveView_Comp {
public:
    CBenchView() {
        m_ring.Create(2 * kPlotWidth, kChannels, 0.0, kPointTime);
        for (int c = 0; c < kChannels; ++c) {
            auto channel = std::make_unique<CCommonWaveChInfo>(c);
            channel->SetName("Ch" + std::to_string(c + 1));
            channel->SetY(static_cast<std::int16_t>(1 + (c % 12) * 2));
            channel->SetUnitsPerDivision(10.0);
            channel->SetColor(ChartColour::TraceColour(c));
            m_channels.push_back(std::move(channel));
        }
        SetDivisions(0, 25);
        SetTimeGrid(2.0);
    }
    CCpsRingBuf& Ring() { return m_ring; }
    // The widget size whose plot is `plotWidth` pixels wide.
    void SizePlot(int plotWidth, int height) {
        resize(plotWidth + 400, height);
        QImage probe;
        RenderTo(probe);
        resize(plotWidth + (width() - GetPlotRect().Width()), height);
    }

    // A 1600-pixel plot, the ring full with two chart widths, the time range ending at its newest.
    void Prepare(long long& next) {
        SizePlot(kPlotWidth, 1000);
        AppendPoints(m_ring, next, 2 * kPlotWidth);
        const double newest = m_ring.TimeOf(m_ring.NewestRel());
        SetTimeRange(newest - kChartSeconds, newest);
    }

protected:
    const CCpsRingBuf* GetRing() const override { return &m_ring; }

private:
    CCpsRingBuf m_ring;
};

void BM_CommonChartFullRepaint(benchmark::State& state) {
    CBenchView view;
    long long next = 0;
    view.Prepare(next);
    QImage image;
    for (auto _ : state) {
        view.RenderTo(image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["plot_px"] = view.GetPlotRect().Width();
    state.counters["channels"] = kChannels;
}
BENCHMARK(BM_CommonChartFullRepaint)->Unit(benchmark::kMillisecond);

// Each iteration: one second of new points (the ring's own work left out of the time), the
// view's live update and the copy of its picture to the window.
template <typename View> void LiveSeconds(benchmark::State& state, View& view, long long& next) {
    view.show();
    QApplication::processEvents();
    view.repaint();
    for (auto _ : state) {
        state.PauseTiming();
        const int before = view.Ring().NewestRel();
        AppendPoints(view.Ring(), next, kPointsPerSecond);
        // The full ring dropped as many old points as came: the last old one moved back.
        const CUpdateDataInfo info(std::max(before - kPointsPerSecond, 0), kPointsPerSecond);
        state.ResumeTiming();
        if (view.OnNewData(&info) != LiveStep::Action::Scroll) {
            state.SkipWithError("the live update did not scroll");
            break;
        }
        view.repaint();
    }
}

void BM_CommonChartLiveSecond(benchmark::State& state) {
    CBenchView view;
    long long next = 0;
    view.Prepare(next);
    LiveSeconds(state, view, next);
    state.counters["samples_per_update"] = kRate * kChannels;
    state.counters["points_per_update"] = kPointsPerSecond * kChannels;
}
BENCHMARK(BM_CommonChartLiveSecond)->Unit(benchmark::kMillisecond);

constexpr int kPanels = 64;

// One recorder of eight 8-channel modules, every channel shown in its own panel.
constexpr const char* kPanelConfig = R"(RECORDER ZT-300 127.0.0.2
RATE 10kHz
SLOT 1 PN=QA-80VA TY=2 NCH=8 RV=10 CF=OFF ON=1-8
SLOT 2 PN=QA-80VA TY=2 NCH=8 RV=10 CF=OFF ON=1-8
SLOT 3 PN=QA-80VA TY=2 NCH=8 RV=10 CF=OFF ON=1-8
SLOT 4 PN=QA-80VA TY=2 NCH=8 RV=10 CF=OFF ON=1-8
SLOT 5 PN=QA-80VA TY=2 NCH=8 RV=10 CF=OFF ON=1-8
SLOT 6 PN=QA-80VA TY=2 NCH=8 RV=10 CF=OFF ON=1-8
SLOT 7 PN=QA-80VA TY=2 NCH=8 RV=10 CF=OFF ON=1-8
SLOT 8 PN=QA-80VA TY=2 NCH=8 RV=10 CF=OFF ON=1-8
)";

// The document of the 64 channels, offline: the panels take their channels and scales from it.
struct PanelDocument {
    PanelDocument() {
        std::string error;
        link = CSimLink::FromConfigText(kPanelConfig, error, &clock);
        doc = std::make_unique<CZT300SetDoc>(
            DocServices{*link, prompt, clock, settings, std::string("/tmp/")});
        doc->OnOpenDocument("127_0_0_2_ZT-300");
        for (CChCnd& channel : doc->GetConditions()[0].m_channels)
            channel.m_visible = 1;
    }
    CSystemClock clock;
    CSilentPrompt prompt;
    CRecorderSettings settings;
    std::unique_ptr<CSimLink> link;
    std::unique_ptr<CZT300SetDoc> doc;
};

class CBenchPanels : public CMoniChartView {
public:
    CBenchPanels(CZT300SetDoc& doc, const CRecorderSettings& settings)
        : CMoniChartView(doc, settings, nullptr) {
        m_ring.Create(2 * kPlotWidth, kPanels, 0.0, kPointTime);
    }
    CCpsRingBuf& Ring() { return m_ring; }

protected:
    const CCpsRingBuf* GetRing() const override { return &m_ring; }

private:
    CCpsRingBuf m_ring;
};

// The panels over a 1920 x 1000 view, 8 x 8, the time range ending at the newest point.
void PreparePanels(CBenchPanels& view, long long& next) {
    view.resize(1920, 1000);
    AppendPoints(view.Ring(), next, 2 * kPlotWidth);
    // Hint 10 puts the range at 0 .. 10 s; the live updates carry it to the newest point.
    CUpdateDataInfo info(0, 0);
    view.OnUpdate(nullptr, UpdateHint::kArm, nullptr);
    QImage probe;
    view.RenderTo(probe);
    view.OnNewData(&info);
}

void BM_SeparateChartsFullRepaint(benchmark::State& state) {
    PanelDocument document;
    CBenchPanels view(*document.doc, document.settings);
    long long next = 0;
    PreparePanels(view, next);
    QImage image;
    for (auto _ : state) {
        view.RenderTo(image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["panels"] = kPanels;
    state.counters["panel_plot_px"] = view.GetGroups().front().GetPlot().Width();
}
BENCHMARK(BM_SeparateChartsFullRepaint)->Unit(benchmark::kMillisecond);

void BM_SeparateChartsLiveSecond(benchmark::State& state) {
    PanelDocument document;
    CBenchPanels view(*document.doc, document.settings);
    long long next = 0;
    PreparePanels(view, next);
    LiveSeconds(state, view, next);
    state.counters["samples_per_update"] = kRate * kPanels;
}
BENCHMARK(BM_SeparateChartsLiveSecond)->Unit(benchmark::kMillisecond);

} // namespace
