// A long acquisition measured from outside: one simulated recorder of 64 channels at 10 kHz is
// ARMED and records to a folder for the given seconds (default 600), and the process's resident
// memory is printed every 30 s. Usage: acq_memory_run [seconds] [folder]
#include "ResidentMemory.h"
#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "framework/SilentPrompt.h"
#include "support/MessageQueue.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

constexpr const char* kConfig = R"(RECORDER ZT-300 127.0.0.2
SYNC SINGLE
RATE 10kHz
SLOT 1 PN=QA-80VA TY=2 NCH=8 RV=10,5,1 CF=OFF,1kHz ON=1-8
SLOT 2 PN=QA-80VA TY=2 NCH=8 RV=10,5,1 CF=OFF,1kHz ON=1-8
SLOT 3 PN=QA-80VA TY=2 NCH=8 RV=10,5,1 CF=OFF,1kHz ON=1-8
SLOT 4 PN=QA-80VA TY=2 NCH=8 RV=10,5,1 CF=OFF,1kHz ON=1-8
SLOT 5 PN=QA-80VA TY=2 NCH=8 RV=10,5,1 CF=OFF,1kHz ON=1-8
SLOT 6 PN=QA-80VA TY=2 NCH=8 RV=10,5,1 CF=OFF,1kHz ON=1-8
SLOT 7 PN=QA-80VA TY=2 NCH=8 RV=10,5,1 CF=OFF,1kHz ON=1-8
SLOT 8 PN=QA-80VA TY=2 NCH=8 RV=10,5,1 CF=OFF,1kHz ON=1-8
)";

} // namespace

int main(int argc, char* argv[]) {
    const int seconds = argc > 1 ? std::stoi(argv[1]) : 600;
    const std::filesystem::path folder = argc > 2 ? argv[2] : "/tmp/zt300_memory_run";
    std::filesystem::create_directories(folder);

    CSystemClock clock;
    CSilentPrompt prompt;
    CRecorderSettings settings;
    CMessageQueue queue;
    std::string error;
    auto link = CSimLink::FromConfigText(kConfig, error, &clock);
    if (!link) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    CZT300SetDoc doc(DocServices{*link, prompt, clock, settings, folder.string() + "/"});
    if (!doc.OnOpenDocument("127_0_0_2_ZT-300"))
        return 1;
    doc.GetConditions()[0].m_hddRecFolder = folder.string();
    doc.SetMessageTarget(&queue);
    if (!doc.Arm(false))
        return 1;
    doc.StartAcq(CZT300SetDoc::AcqKind::Hdd);

    const auto start = std::chrono::steady_clock::now();
    auto nextReport = start;
    for (;;) {
        for (const auto& message : queue.Drain())
            doc.OnThreadMessage(message.id, message.wparam, message.lparam);
        const auto now = std::chrono::steady_clock::now();
        if (now >= nextReport) {
            const auto elapsed =
                std::chrono::duration_cast<std::chrono::seconds>(now - start).count();
            std::printf("%4lld s  rows %lld  resident %ld kB\n", static_cast<long long>(elapsed),
                        static_cast<long long>(doc.GetRun()->GetRowsReceived()),
                        ResidentKilobytes());
            std::fflush(stdout);
            nextReport += std::chrono::seconds(30);
        }
        if (now - start >= std::chrono::seconds(seconds))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    doc.StopArmed(false);
    std::printf("end: %s, resident %ld kB\n", doc.GetRecordResultText().c_str(),
                ResidentKilobytes());
    return 0;
}
