// A demo record made by a real acquisition: the two simulated recorders of the demo mode are
// ARMED, a PC record runs for the given seconds (default 12) with a calculation channel, two
// marks and a pause, and the header's path is printed. For a look at plotview:
//   record_demo /tmp/zt300-demo && plotview /tmp/zt300-demo/Demo_00001.hdr
// Usage: record_demo FOLDER [seconds]
#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "framework/SilentPrompt.h"
#include "support/MessageQueue.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

namespace {

constexpr int kDifference = 5; // |ChA - ChB|

// What the monitor frame does: hands the thread's messages to the document on this thread.
void Pump(CZT300SetDoc& doc, CMessageQueue& queue, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        for (const auto& message : queue.Drain())
            doc.OnThreadMessage(message.id, message.wparam, message.lparam);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: record_demo FOLDER [seconds]\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const double seconds = argc > 2 ? std::stod(argv[2]) : 12.0;
    std::filesystem::create_directories(folder);

    CSystemClock clock;
    CSilentPrompt prompt;
    CRecorderSettings settings;
    CMessageQueue queue;
    auto link = CSimLink::FromDefaultConfig(&clock);
    CZT300SetDoc doc(DocServices{*link, prompt, clock, settings, folder.string() + "/"});
    if (!doc.OnOpenDocument("127_0_0_2_ZT-300,127_0_0_3_ZT-500"))
        return 1;
    for (CRecCnd& condition : doc.GetConditions()) {
        condition.m_hddRecFolder = folder.string();
        condition.m_hddRecFileExt = 1;
        condition.m_baseFileName = "Demo";
        condition.m_hddPreTime = 1;
    }
    CRecCnd& master = doc.GetConditions()[0];
    master.m_memo = "Demo run";
    master.m_calc = 1;
    CCalcChCnd& calc = master.m_calcChannels[0];
    calc.m_enabled = 1;
    calc.m_function = kDifference;
    calc.m_param = {1, 2, 0, 0};
    calc.SetScale(20.0, -20.0);
    calc.m_name = "|1-1 - 1-2|";
    doc.UpdateNextRecordName();
    doc.SetMessageTarget(&queue);
    doc.SetMemoAsker([](const MarkMemoRequest&, std::string& memo) {
        memo = "valve open";
        return true;
    });
    if (!doc.Arm(false))
        return 1;
    Pump(doc, queue, 1.5); // fills the pre-trigger ring
    doc.StartAcq(CZT300SetDoc::AcqKind::Hdd);
    Pump(doc, queue, seconds * 0.3);
    doc.OnMark();
    Pump(doc, queue, seconds * 0.2);
    doc.OnPause();
    Pump(doc, queue, 2.0);
    doc.OnPause();
    Pump(doc, queue, seconds * 0.2);
    doc.OnMark(42);
    Pump(doc, queue, seconds * 0.3);
    doc.StopAcq();
    Pump(doc, queue, 0.5);
    const std::string header = doc.GetRecordWriter().GetPaths().header;
    doc.StopArmed(false);
    std::printf("%s\n%s\n", doc.GetRecordResultText().c_str(), header.c_str());
    return std::filesystem::exists(header) ? 0 : 1;
}
