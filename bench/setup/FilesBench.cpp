// The recorded files: a card record copied to the PC over the network, the card directory
// through the protocol, and the record list of a folder of many recordings.
#include "device/net/NetLink.h"
#include "device/net/NetMessage.h"
#include "device/net/NetServer.h"
#include "device/sim/SimLink.h"
#include "setup/RecordList.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path BenchFolder(const std::string& name) {
    const fs::path folder =
        fs::temp_directory_path() / ("zt300-bench-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// A record of `megabytes` of data on the card of a recorder served on loopback, copied to the
// PC again and again; the bytes per second are the header's and the data's.
void BM_CardCopyOverTheNetwork(benchmark::State& state) {
    const fs::path root = BenchFolder("copy");
    const auto bytes = static_cast<std::size_t>(state.range(0)) << 20;
    fs::create_directories(root / "card" / "DATA");
    std::ofstream(root / "card" / "DATA" / "RUN0001.DAT", std::ios::binary)
        << std::string(bytes, '\x5A');
    std::ofstream(root / "card" / "DATA" / "RUN0001.HDR", std::ios::binary)
        << "DATE 01-01-2026\r\n";
    fs::create_directories(root / "pc");
    std::string error;
    auto sim = CSimLink::FromConfigText(
        "RECORDER ZT-300 127.0.0.2\nCARD " + (root / "card").string() + "\n", error);
    CNetServer server(*sim, "127.0.0.2", 0);
    if (!sim || !server.Start(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    CNetLink link(server.Port());
    const int handle = link.LnkOpen("127.0.0.2", 3000);
    for (auto _ : state) {
        if (link.LnkCopy(handle, "\\DATA\\run0001.hdr", (root / "pc" / "run0001.hdr").string()) !=
            1)
            state.SkipWithError("copy failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes));
    link.LnkClose(handle);
    server.Stop();
    fs::remove_all(root);
}
BENCHMARK(BM_CardCopyOverTheNetwork)->Arg(64)->Unit(benchmark::kMillisecond)->UseRealTime();

// A directory of `range(0)` files in one folder, written and read back as the link does.
void BM_CardDirectoryMessage(benchmark::State& state) {
    std::vector<LinkCardFolder> folders{{"\\", {}}, {"\\DATA\\", {}}};
    for (int file = 0; file < state.range(0); ++file)
        folders[1].files.push_back({"RUN" + std::to_string(10000 + file) + ".DAT",
                                    {2026, 3, 7, 9, 5, 4},
                                    12345678,
                                    LinkCardAttribute::kArchive});
    for (auto _ : state) {
        CNetMessage message;
        message.Put(folders);
        CNetMessage read(message.Bytes());
        std::vector<LinkCardFolder> got;
        read.Get(got);
        benchmark::DoNotOptimize(got.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CardDirectoryMessage)->Arg(10000)->Unit(benchmark::kMillisecond);

// "View ACQ Files" on a folder of `range(0)` recordings: read every header, then sort by date.
void BM_RecordListFill(benchmark::State& state) {
    const fs::path folder = BenchFolder("list");
    const fs::path fixture = fs::path(ZT300_SOURCE_DIR) / "tests/data/records/two_recorders.hdr";
    for (int record = 0; record < state.range(0); ++record)
        fs::copy_file(fixture, folder / ("Run_" + std::to_string(10000 + record) + ".hdr"));
    CRecordList list;
    for (auto _ : state) {
        list.Fill(folder.string());
        list.Sort(RecordColumn::kDate, false);
        benchmark::DoNotOptimize(list.GetRows().data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    fs::remove_all(folder);
}
BENCHMARK(BM_RecordListFill)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
