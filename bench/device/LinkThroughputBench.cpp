// Sample data carried per second by the links: in-process over simulated recorders, and over
// loopback TCP through the recorder server. The counter "x_recorder" states it as a multiple
// of the most one recorder produces (1 MiB/s of samples); the network link should reach 50.
#include "device/net/NetLink.h"
#include "device/net/NetServer.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr const char* kAddress = "127.0.0.2";
constexpr double kRecorderMaxBytesPerSecond = 1024.0 * 1024.0;
constexpr int kBufferBytes = 8 << 20;
// 16 channels at 100 kHz: 3.2 MB per second of the recorder's clock; 320 ms of it per step.
constexpr int kFrameBytes = 32;
constexpr int kStepMs = 320;
constexpr int kStepBytes = 100000 / 1000 * kStepMs * kFrameBytes;

constexpr const char* kConfig = "RECORDER ZT-300 127.0.0.2\n"
                                "RATE 100kHz\n"
                                "SLOT 1 PN=QA-80VA TY=2 NCH=8 RV=10 CF=OFF ON=ALL\n"
                                "SLOT 2 PN=QA-80VA TY=2 NCH=8 RV=10 CF=OFF ON=ALL\n";

// Time moves only when the benchmark says so, so the recorder never overflows.
class CSteppedClock : public IClock {
public:
    std::uint64_t GetTickCount() const override { return m_tick; }
    LocalTime GetLocalTime() const override { return {2026, 1, 1}; }
    void Advance(int ms) { m_tick += static_cast<std::uint64_t>(ms); }

private:
    std::atomic<std::uint64_t> m_tick = 1000;
};

// Samples without end and at no cost, to measure the transport alone.
class CEndlessLink : public CSimLink {
public:
    int LnkGetDataCount(int) override { return kBufferBytes; }
    int LnkReadData(int, void* buffer, int bytes) override {
        std::memset(buffer, 0x5A, static_cast<std::size_t>(bytes));
        return bytes;
    }
};

std::unique_ptr<CSimLink> MakeSim(const IClock& clock) {
    std::string error;
    return CSimLink::FromConfigText(kConfig, error, &clock);
}

// Reads `bytes` of samples from the handle, however they arrive.
void Drain(ILinkLibrary& link, int handle, int bytes, std::vector<std::uint8_t>& buffer) {
    while (bytes > 0) {
        const int got =
            link.LnkReadData(handle, buffer.data(), std::min<int>(bytes, buffer.size()));
        if (got < 0)
            return;
        if (got == 0)
            std::this_thread::yield();
        bytes -= got;
    }
}

void Report(benchmark::State& state, std::int64_t bytes) {
    state.SetBytesProcessed(bytes);
    state.counters["x_recorder"] = benchmark::Counter(
        static_cast<double>(bytes) / kRecorderMaxBytesPerSecond, benchmark::Counter::kIsRate);
}

void RunSteps(benchmark::State& state, ILinkLibrary& link, int handle, CSteppedClock& clock) {
    std::vector<std::uint8_t> buffer(kBufferBytes);
    std::int64_t total = 0;
    for (auto _ : state) {
        clock.Advance(kStepMs);
        Drain(link, handle, kStepBytes, buffer);
        total += kStepBytes;
    }
    Report(state, total);
}

void BM_SimLinkInProcess(benchmark::State& state) {
    CSteppedClock clock;
    std::unique_ptr<CSimLink> sim = MakeSim(clock);
    const int handle = sim->LnkOpen(kAddress, 1000);
    if (handle == 0 || sim->LnkStartArmed(handle, kBufferBytes) != 1) {
        state.SkipWithError("the simulated recorder did not arm");
        return;
    }
    RunSteps(state, *sim, handle, clock);
}

void BM_NetLinkLoopback(benchmark::State& state) {
    CSteppedClock clock;
    std::unique_ptr<CSimLink> sim = MakeSim(clock);
    CNetServer server(*sim, kAddress, 0);
    std::string error;
    if (!server.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    CNetLink link(server.Port());
    const int handle = link.LnkOpen(kAddress, 1000);
    if (handle == 0 || link.LnkStartArmed(handle, kBufferBytes) != 1) {
        state.SkipWithError("the recorder did not arm over the network");
        return;
    }
    RunSteps(state, link, handle, clock);
}

void BM_NetLinkTransport(benchmark::State& state) {
    CEndlessLink endless;
    std::string error;
    CSimConfig config;
    config.Parse(kConfig);
    endless.AddRecorder(config.GetRecorders().front());
    CNetServer server(endless, kAddress, 0);
    if (!server.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    CNetLink link(server.Port());
    const int handle = link.LnkOpen(kAddress, 1000);
    if (handle == 0) {
        state.SkipWithError("no connection");
        return;
    }
    std::vector<std::uint8_t> buffer(kBufferBytes);
    std::int64_t total = 0;
    for (auto _ : state) {
        Drain(link, handle, kStepBytes, buffer);
        total += kStepBytes;
    }
    Report(state, total);
}

BENCHMARK(BM_SimLinkInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NetLinkLoopback)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_NetLinkTransport)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

BENCHMARK_MAIN();
