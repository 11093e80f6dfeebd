// Records left unfinished by a killed program, completed with their whole rows at the next
// start, and what is left beside provisional headers.
#include "records/RecordRecovery.h"

#include "RecordTestRecords.h"
#include "records/RecordWriter.h"
#include "support/ManualClock.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// As if the program had ended long ago: a provisional header this old belongs to no one.
void MakeOld(const std::string& path) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(1));
}

// A record the writer closed without its final header, as a crash after Stop ACQ leaves it.
void ClosedWithoutHeader(const std::string& folder, const std::string& name, int rows) {
    CManualClock clock;
    CRecordWriter writer(clock);
    const auto conditions = MakeTwoWordRows(folder);
    ASSERT_EQ(writer.Start({conditions, 0, name, ""}, TwoWordRows(0, rows), {}), "");
    ASSERT_EQ(writer.Close(), "");
}

} // namespace

// The child records and is killed with SIGKILL after its provisional header counted 65 rows;
// seven more rows and half a row reached the disk after it.
TEST(RecordRecoveryTest, AKilledRecordIsCompletedWithItsWholeRowsAtTheNextStart) {
    CTempFolder folder("record-killed");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CManualClock clock;
        CRecordWriter writer(clock);
        const auto conditions = MakeTwoWordRows(folder.Path());
        writer.Start({conditions, 0, "Test_00001", ""}, TwoWordRows(0, 5), {});
        writer.Append(TwoWordRows(100, 50).data(), 50);
        writer.AddMark(20, "10:20:31", "kept");
        writer.AddMark(80, "10:20:32", "lost");
        clock.Advance(CRecordWriter::kProvisionalMs);
        writer.Append(TwoWordRows(150, 10).data(), 10);
        writer.Append(TwoWordRows(160, 7).data(), 7);
        std::ofstream(folder.File("Test_00001.dat"), std::ios::binary | std::ios::app) << "ab";
        const char done = 1;
        if (write(ready[1], &done, 1) != 1)
            _exit(1);
        for (;;)
            pause();
    }
    char done = 0;
    ASSERT_EQ(read(ready[0], &done, 1), 1);
    close(ready[0]);
    close(ready[1]);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::string header = folder.File("Test_00001.hdr");
    const TextLines provisional = HeaderLines(header + ".part");
    EXPECT_FALSE(fs::exists(header));
    // A record this fresh may still be written by another running program.
    EXPECT_TRUE(CompleteUnfinishedRecords(folder.Path()).empty());
    EXPECT_TRUE(fs::exists(header + ".part"));

    MakeOld(header + ".part");
    EXPECT_EQ(
        CompleteUnfinishedRecords(folder.Path()),
        std::vector<std::string>{"Completed unfinished HDD Record : " + header + " (72 rows)"});
    EXPECT_EQ(fs::file_size(folder.File("Test_00001.dat")), 72u * 4);
    TextLines expected;
    for (const std::string& line : provisional) {
        if (line == "NUM_SAMPS 65")
            expected.push_back("NUM_SAMPS 72");
        else if (line == "END 65")
            expected.push_back("END 72");
        else if (line != "MARK 85,10:20:32,,lost")
            expected.push_back(line);
    }
    EXPECT_NE(std::find(provisional.begin(), provisional.end(), "MARK 25,10:20:31,,kept"),
              provisional.end());
    EXPECT_EQ(HeaderLines(header), expected);
    EXPECT_FALSE(fs::exists(header + ".part"));
    EXPECT_FALSE(fs::exists(header + ".room"));
    EXPECT_TRUE(CompleteUnfinishedRecords(folder.Path()).empty());
}

TEST(RecordRecoveryTest, WhatIsLeftBesideProvisionalHeaders) {
    CTempFolder folder("record-leftovers");
    const auto file = [&](const std::string& name) { return folder.File(name); };
    // Complete: the final header was written, only the provisional one was still to go.
    ClosedWithoutHeader(folder.Path(), "Done_00001", 3);
    std::ofstream(file("Done_00001.hdr")) << "final\r\n";
    // The data file is gone.
    ClosedWithoutHeader(folder.Path(), "Gone_00001", 3);
    fs::remove(file("Gone_00001.dat"));
    // Not a header.
    std::ofstream(file("Odd_00001.hdr.part")) << "DATASET Odd\r\n";
    // Room of a record that never got its provisional header.
    std::ofstream(file("Lone_00001.hdr.room")) << "    ";
    for (const char* name : {"Done_00001.hdr.part", "Gone_00001.hdr.part", "Odd_00001.hdr.part",
                             "Lone_00001.hdr.room"})
        MakeOld(file(name));

    std::vector<std::string> log = CompleteUnfinishedRecords(folder.Path());
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log,
              (std::vector<std::string>{file("Gone_00001.dat") + " : Data File not exist!",
                                        file("Odd_00001.hdr.part") + ":Unexpected file format."}));
    EXPECT_EQ(HeaderLines(file("Done_00001.hdr")), TextLines{"final"});
    for (const char* gone : {"Done_00001.hdr.part", "Done_00001.hdr.room", "Gone_00001.hdr.part",
                             "Gone_00001.hdr.room", "Lone_00001.hdr.room"})
        EXPECT_FALSE(fs::exists(file(gone))) << gone;
    EXPECT_TRUE(fs::exists(file("Odd_00001.hdr.part")));
    EXPECT_TRUE(CompleteUnfinishedRecords(folder.Path() + "/missing").empty());
}
