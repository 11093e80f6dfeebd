// PC records on a real file system that fills up: a small tmpfs that a child process mounts in a
// mount namespace of its own (as root; skipped where the machine refuses it).
#include "records/RecordWriter.h"

#include "support/FakeDiskSpace.h"
#include "support/ManualClock.h"
#include "support/RecordTestConditions.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kCannotMount = 77;
constexpr std::size_t kBlockRows = 1000;

std::vector<std::int16_t> Rows(std::size_t first, std::size_t count) {
    std::vector<std::int16_t> words(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        words[2 * i] = static_cast<std::int16_t>(first + i);
        words[2 * i + 1] = static_cast<std::int16_t>((first + i) >> 16);
    }
    return words;
}

const char* ResultName(AppendResult result) {
    switch (result) {
    case AppendResult::Written:
        return "Written";
    case AppendResult::NotWritten:
        return "NotWritten";
    case AppendResult::Stopped:
        return "Stopped";
    default:
        return "Failed";
    }
}

// One record on `folder` until the writer no longer takes a block; what it said, one per line.
std::string RecordUntilRefused(const std::string& folder, const std::string& name,
                               const IDiskSpace* space) {
    CManualClock clock;
    const auto conditions = MakeTwoWordRows(folder, 1, "1kHz");
    CRecordWriter writer(clock, CRecordWriter::kSplitBytes, space, 1 << 20);
    if (std::string error = writer.Start({conditions, 0, name, ""}, {}, {}); !error.empty())
        return error + "\n";
    AppendResult result = AppendResult::Written;
    for (std::size_t block = 0; block < 10000 && result == AppendResult::Written; ++block) {
        const auto rows = Rows(block * kBlockRows, kBlockRows);
        result = writer.Append(rows.data(), kBlockRows);
    }
    return std::string(ResultName(result)) + "\n" + writer.TakeError() + "\n";
}

// In the child: a 4 MiB file system on `disk`; a record with a margin of 1 MiB, then one that
// cannot tell the free space (as some network file systems); the files and what the writers
// said are copied to `out` before the mount goes.
int RecordOnSmallDisk(const std::string& disk, const std::string& out) {
    if (unshare(CLONE_NEWNS) != 0 ||
        mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=4m") != 0)
        return kCannotMount;
    std::string said = RecordUntilRefused(disk, "Test_00001", nullptr);
    const CFakeDiskSpace unknown;
    said += RecordUntilRefused(disk, "Test_00002", &unknown);
    std::error_code error;
    fs::copy(disk, out, fs::copy_options::recursive, error);
    std::ofstream(out + "/said.txt") << said;
    return error ? 1 : 0;
}

} // namespace

TEST(RecordDiskFullTest, ASmallFileSystemStopsARecordAtItsMarginAndAFullOneStillGetsItsHeader) {
    CTempFolder folder("record-disk");
    const std::string disk = folder.File("disk");
    const std::string out = folder.File("out");
    fs::create_directories(disk);
    fs::create_directories(out);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(RecordOnSmallDisk(disk, out));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kCannotMount)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    ASSERT_EQ(WEXITSTATUS(status), 0);

    EXPECT_EQ(ReadTestFile(out + "/said.txt"),
              "Stopped\nHDD (" + disk +
                  ") has less than 1 MB free! The record was stopped.\n"
                  "Failed\nDestination disk drive is full.\n");
    std::uintmax_t total = 0;
    for (const std::string name : {"Test_00001", "Test_00002"}) {
        const std::vector<std::int16_t> words = ReadRecordWords(out + "/" + name + ".dat");
        ASSERT_EQ(words.size() % 2, 0u) << name;
        const std::size_t rows = words.size() / 2;
        EXPECT_EQ(words, Rows(0, rows)) << name;
        TextLines header;
        ASSERT_EQ(CTextFile::ReadTextLines(out + "/" + name + ".hdr", header), "") << name;
        EXPECT_NE(std::find(header.begin(), header.end(), "NUM_SAMPS " + std::to_string(rows)),
                  header.end())
            << name;
        EXPECT_FALSE(fs::exists(out + "/" + name + ".hdr.part")) << name;
        EXPECT_FALSE(fs::exists(out + "/" + name + ".hdr.room")) << name;
        total += words.size() * 2;
    }
    // The first record left its margin; the second took the disk up to its last pages.
    EXPECT_GT(fs::file_size(out + "/Test_00001.dat"), 2u << 20);
    EXPECT_GT(total, (4u << 20) - (200u << 10));
}
