// The resident memory of opening a large record: a 4 GB record (64 channels at 10 kHz, split
// at 2 GB as recording splits it) is written to a folder, opened and its overview built; the
// process's resident memory is printed before and after, with the overview's size. The folder
// is removed at the end unless --keep is given.
// Usage: record_memory_run [folder] [gigabytes] [--keep]
#include "BenchRecord.h"
#include "ResidentMemory.h"
#include "records/RecordOverview.h"

#include <chrono>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    const std::string folder = argc > 1 ? argv[1] : "/tmp/zt300-memory-record";
    const double gigabytes = argc > 2 ? std::stod(argv[2]) : 4.0;
    const bool keep = argc > 3 && std::strcmp(argv[3], "--keep") == 0;
    std::printf("writing %.1f GB into %s\n", gigabytes, folder.c_str());
    std::fflush(stdout);
    const BenchRecord bench =
        WriteBenchRecord(folder, static_cast<std::uint64_t>(gigabytes * 1e9), false);
    const long before = ResidentKilobytes();
    {
        CRecordReader record;
        if (const std::string error = record.Open(bench.header); !error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        const long opened = ResidentKilobytes();
        CRecordOverview overview(record);
        const auto start = std::chrono::steady_clock::now();
        overview.Start(UINT64_MAX);
        overview.Wait();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const long built = ResidentKilobytes();
        const double pyramid = static_cast<double>(overview.GetPyramid().GetStorageBytes());
        std::printf("data %.0f MB in %zu files, %llu rows\n", bench.bytes / 1e6,
                    record.GetPartCount(), static_cast<unsigned long long>(record.GetRowCount()));
        std::printf("resident before %ld kB, opened %ld kB, overview built %ld kB in %.1f s\n",
                    before, opened, built, seconds);
        std::printf("overview %.1f MB = 1/%.1f of the data; resident memory added %.1f MB = 1/%.1f "
                    "of the data\n",
                    pyramid / 1e6, bench.bytes / pyramid, (built - before) / 1e3,
                    bench.bytes / ((built - before) * 1e3));
    }
    if (!keep)
        std::filesystem::remove_all(folder);
    return 0;
}
