#include "records/RecordWriter.h"

#include "support/FakeDiskSpace.h"
#include "support/ManualClock.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::int16_t> Rows(int first, int count) {
    std::vector<std::int16_t> words(static_cast<std::size_t>(count) * 2);
    for (int i = 0; i < count; ++i) {
        words[static_cast<std::size_t>(2 * i)] = static_cast<std::int16_t>(first + i);
        words[static_cast<std::size_t>(2 * i + 1)] = static_cast<std::int16_t>(-(first + i));
    }
    return words;
}

TextLines HeaderLines(const std::string& path) {
    TextLines lines;
    EXPECT_EQ(CTextFile::ReadTextLines(path, lines), "") << path;
    return lines;
}

bool HasLine(const TextLines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TextLines LinesStartingWith(const TextLines& lines, const std::string& prefix) {
    TextLines found;
    for (const std::string& line : lines) {
        if (line.starts_with(prefix))
            found.push_back(line);
    }
    return found;
}

} // namespace

TEST(RecordWriterTest, RecordWithPreTriggerRowsMarksAndPauseMatchesItsFiles) {
    CTempFolder folder("record-run");
    CManualClock clock;
    const auto conditions = MakeTwoWordRows(folder.Path(), 1);
    CRecordWriter writer(clock);
    // A ring holding 5.5 rows, wrapped: the half row at its oldest end is dropped.
    const std::vector<std::int16_t> ring = Rows(0, 6);
    const std::span<const std::int16_t> older(ring.data() + 1, 7);
    const std::span<const std::int16_t> newer(ring.data() + 8, 4);
    ASSERT_EQ(writer.Start({conditions, 0, "Test_00004", ""}, older, newer), "");
    EXPECT_TRUE(writer.IsRecording());
    EXPECT_EQ(writer.GetPreTriggerRows(), 5u);
    EXPECT_EQ(writer.GetPaths().data, folder.File("Test_00004.dat"));

    const auto block = Rows(100, 50);
    EXPECT_EQ(writer.Append(block.data(), 50), AppendResult::Written);
    EXPECT_TRUE(writer.AddMark(writer.GetSamplesWritten(), "10:20:31", "23"));
    EXPECT_EQ(writer.TogglePause("10:20:32"), PauseChange::Paused);
    EXPECT_EQ(writer.Append(block.data(), 50), AppendResult::NotWritten);
    EXPECT_EQ(writer.Append(block.data(), 50), AppendResult::NotWritten);
    EXPECT_EQ(writer.TogglePause("10:20:33"), PauseChange::Resumed);
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    EXPECT_EQ(writer.GetSamplesWritten(), 60u);

    EXPECT_EQ(writer.Close(), "");
    EXPECT_FALSE(writer.IsRecording());
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::NotWritten);
    EXPECT_EQ(writer.TogglePause("x"), PauseChange::None);
    EXPECT_FALSE(writer.AddMark(0, "x", "late"));
    EXPECT_EQ(writer.WriteHeader(), "");

    std::vector<std::int16_t> expected = Rows(1, 5);
    for (const auto& part : {Rows(100, 50), Rows(100, 10)})
        expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(ReadRecordWords(folder.File("Test_00004.dat")), expected);
    const TextLines header = HeaderLines(folder.File("Test_00004.hdr"));
    EXPECT_EQ(header[0], "DATASET Test_00004_hdr");
    EXPECT_EQ(header[3], "TIME 10:20:30");
    EXPECT_TRUE(HasLine(header, "X_OFFSET -0.040,4"));
    EXPECT_TRUE(HasLine(header, "NUM_SAMPS 65"));
    EXPECT_TRUE(HasLine(header, "END 65"));
    EXPECT_EQ(LinesStartingWith(header, "MARK"), TextLines{"MARK 55,10:20:31,,23"});
    EXPECT_EQ(LinesStartingWith(header, "PAUSE"), TextLines{"PAUSE 55,10:20:33,,"});
}

TEST(RecordWriterTest, TimeModeNamesTheRecordByItsStart) {
    CTempFolder folder("record-time");
    CManualClock clock;
    const auto conditions = MakeTwoWordRows(folder.Path() + "/", 0);
    CRecordWriter writer(clock);
    ASSERT_EQ(writer.Start({conditions, 0, "Test_00004", ""}, {}, {}), "");
    const RecordPaths paths = writer.GetPaths();
    EXPECT_EQ(paths.base, folder.File("Test_261206_102030"));
    EXPECT_EQ(paths.header, paths.base + ".hdr");
    EXPECT_EQ(writer.Close(), "");
    EXPECT_EQ(writer.WriteHeader(), "");
    EXPECT_TRUE(HasLine(HeaderLines(paths.header), "X_OFFSET 0"));
    EXPECT_TRUE(HasLine(HeaderLines(paths.header), "NUM_SAMPS 0"));
}

TEST(RecordWriterTest, RecordOnTheDiskIsNeverReplaced) {
    CTempFolder folder("record-kept");
    CManualClock clock;
    const auto conditions = MakeTwoWordRows(folder.Path(), 1);
    std::ofstream(folder.File("Test_00004.dat")) << "earlier record";
    CRecordWriter writer(clock);
    ASSERT_EQ(writer.Start({conditions, 0, "Test_00004", ""}, {}, {}), "");
    EXPECT_EQ(writer.GetPaths().data, folder.File("Test_00005.dat"));
    EXPECT_EQ(fs::file_size(folder.File("Test_00004.dat")), 14u);
}

// A running record keeps a provisional header, rewritten every two seconds with the whole rows
// so far, and room for the final header, which replaces both when the record ends.
TEST(RecordWriterTest, ProvisionalHeaderFollowsTheRecordUntilTheFinalOneReplacesIt) {
    CTempFolder folder("record-provisional");
    CManualClock clock;
    const auto conditions = MakeTwoWordRows(folder.Path(), 1);
    CRecordWriter writer(clock);
    const std::string part = folder.File("Test_00001.hdr.part");
    const std::string room = folder.File("Test_00001.hdr.room");
    const std::string header = folder.File("Test_00001.hdr");
    const auto ring = Rows(0, 5);
    ASSERT_EQ(writer.Start({conditions, 0, "Test_00001", ""}, ring, {}), "");
    TextLines lines = HeaderLines(part);
    EXPECT_EQ(lines[0], "DATASET Test_00001_hdr");
    EXPECT_TRUE(HasLine(lines, "NUM_SAMPS 5"));
    EXPECT_TRUE(HasLine(lines, "END 5"));
    EXPECT_TRUE(HasLine(lines, "X_OFFSET -0.040,4"));
    EXPECT_TRUE(HasLine(lines, "FILENAME Test_00001.dat"));
    EXPECT_EQ(fs::file_size(room), CRecordWriter::kHeaderRoomBytes);

    const auto block = Rows(100, 50);
    clock.Advance(CRecordWriter::kProvisionalMs - 1);
    ASSERT_EQ(writer.Append(block.data(), 50), AppendResult::Written);
    EXPECT_TRUE(HasLine(HeaderLines(part), "NUM_SAMPS 5"));
    writer.AddMark(20, "10:20:31", "m");
    clock.Advance(1);
    ASSERT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    lines = HeaderLines(part);
    EXPECT_TRUE(HasLine(lines, "NUM_SAMPS 65"));
    EXPECT_TRUE(HasLine(lines, "END 65"));
    EXPECT_EQ(LinesStartingWith(lines, "MARK"), TextLines{"MARK 25,10:20:31,,m"});
    EXPECT_FALSE(fs::exists(header));

    // Closed but without its header yet, the record still has its provisional one.
    ASSERT_EQ(writer.Close(), "");
    EXPECT_TRUE(fs::exists(part));
    ASSERT_EQ(writer.WriteHeader(), "");
    EXPECT_EQ(HeaderLines(header), lines);
    EXPECT_FALSE(fs::exists(part));
    EXPECT_FALSE(fs::exists(room));
    EXPECT_EQ(writer.GetRecordsClosed(), 1u);
}

// Below the margin of free space a record does not start, and a running one ends before the
// block that would cross it, with a header that counts its rows.
TEST(RecordWriterTest, TheDiskMarginStopsTheRecordWithItsHeader) {
    CTempFolder folder("record-margin");
    CManualClock clock;
    const auto conditions = MakeTwoWordRows(folder.Path(), 1);
    constexpr std::int64_t kMargin = 1 << 20;
    CFakeDiskSpace space;
    CRecordWriter writer(clock, CRecordWriter::kSplitBytes, &space, kMargin);
    const std::string where = "HDD (" + folder.Path() + ") has less than 1 MB free! ";

    const auto room = static_cast<std::int64_t>(CRecordWriter::kHeaderRoomBytes);
    space.m_free = kMargin + room - 1;
    EXPECT_EQ(writer.Start({conditions, 0, "Test_00001", ""}, {}, {}),
              where + "The record was not started.");
    EXPECT_FALSE(writer.IsRecording());
    EXPECT_TRUE(fs::is_empty(folder.Path()));

    space.m_free = kMargin + room;
    ASSERT_EQ(writer.Start({conditions, 0, "Test_00001", ""}, {}, {}), "");
    const auto block = Rows(0, 10); // 40 bytes
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    space.m_free = kMargin + 40;
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    space.m_free = kMargin + 39;
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Stopped);
    EXPECT_FALSE(writer.IsRecording());
    EXPECT_EQ(writer.GetRecordsClosed(), 1u);
    EXPECT_EQ(writer.TakeError(), where + "The record was stopped.");
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::NotWritten);
    EXPECT_EQ(fs::file_size(folder.File("Test_00001.dat")), 80u);
    const TextLines header = HeaderLines(folder.File("Test_00001.hdr"));
    EXPECT_TRUE(HasLine(header, "NUM_SAMPS 20"));
    EXPECT_FALSE(fs::exists(folder.File("Test_00001.hdr.part")));

    // A file system that does not tell its free space is written as long as it takes the rows.
    space.m_free = -1;
    ASSERT_EQ(writer.Start({conditions, 0, "Test_00002", ""}, {}, {}), "");
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
}

// The data thread appends while the UI thread pauses, resumes and marks: every row that was
// counted is in the file, and each resume point lies within what was written.
TEST(RecordWriterTest, AppendWhileTheUserPausesAndMarks) {
    CTempFolder folder("record-threads");
    CManualClock clock;
    const auto conditions = MakeTwoWordRows(folder.Path(), 1);
    CRecordWriter writer(clock);
    ASSERT_EQ(writer.Start({conditions, 0, "Test_00001", ""}, {}, {}), "");
    std::atomic<bool> done{false};
    std::thread data([&] {
        const auto block = Rows(0, 16);
        for (int i = 0; i < 4000; ++i)
            writer.Append(block.data(), 16);
        done = true;
    });
    int toggles = 0;
    while (!done) {
        writer.TogglePause("t");
        writer.AddMark(writer.GetSamplesWritten(), "t", "m");
        ++toggles;
    }
    data.join();
    if (writer.IsPaused())
        writer.TogglePause("t");
    EXPECT_EQ(writer.Close(), "");
    EXPECT_EQ(writer.WriteHeader(), "");
    const std::uint32_t written = writer.GetSamplesWritten();
    EXPECT_EQ(fs::file_size(folder.File("Test_00001.dat")), written * 4u);
    EXPECT_EQ(written % 16, 0u);
    const CMarkList marks = writer.GetMarks();
    EXPECT_EQ(marks.GetPauses().size(), static_cast<std::size_t>((toggles + 1) / 2));
    std::uint32_t previous = 0;
    for (const CMarkRecord& resume : marks.GetPauses()) {
        EXPECT_GE(resume.m_position, previous);
        EXPECT_LE(resume.m_position, written);
        previous = resume.m_position;
    }
}

TEST(RecordWriterTest, DataFileThatCannotBeCreatedStartsNoRecord) {
    CManualClock clock;
    const auto conditions = MakeTwoWordRows("/nonexistent-zt300-folder", 1);
    CRecordWriter writer(clock);
    const std::string error = writer.Start({conditions, 0, "Test_00001", ""}, {}, {});
    EXPECT_EQ(error, "/nonexistent-zt300-folder/Test_00001.dat\nCannot find this file.\nPlease "
                     "verify that the correct path and file name are given.");
    EXPECT_FALSE(writer.IsRecording());
    const auto block = Rows(0, 2);
    EXPECT_EQ(writer.Append(block.data(), 2), AppendResult::NotWritten);
}

TEST(RecordWriterTest, DataFileGoneAtStopWritesNoHeader) {
    CTempFolder folder("record-gone");
    CManualClock clock;
    const auto conditions = MakeTwoWordRows(folder.Path(), 1);
    CRecordWriter writer(clock);
    ASSERT_EQ(writer.Start({conditions, 0, "Test_00002", ""}, {}, {}), "");
    fs::remove(folder.File("Test_00002.dat"));
    EXPECT_EQ(writer.Close(), folder.File("Test_00002.dat") + " : Data File not exist!");
    EXPECT_FALSE(writer.IsRecording());
    EXPECT_FALSE(fs::exists(folder.File("Test_00002.hdr")));
}

TEST(RecordWriterTest, SplitFilesEachCarryTheirHeaderAndMarks) {
    CTempFolder folder("record-split");
    CManualClock clock;
    const auto conditions = MakeTwoWordRows(folder.Path(), 1);
    // 100 bytes instead of 2 GB: 10-row blocks of 40 bytes after 5 pre-trigger rows.
    CRecordWriter writer(clock, 100);
    const auto ring = Rows(0, 5);
    ASSERT_EQ(writer.Start({conditions, 0, "Test_00001", ""}, ring, {}), "");
    const auto block = Rows(10, 10);
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    writer.AddMark(5, "t1", "a");
    writer.AddMark(10, "t2", "b");
    clock.m_localTime.minute = 21;
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    writer.AddMark(30, "t3", "c");
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    EXPECT_EQ(writer.GetSamplesWritten(), 40u);
    EXPECT_EQ(writer.GetPaths().data, folder.File("Test_00001_2.dat"));
    EXPECT_EQ(writer.Close(), "");
    EXPECT_EQ(writer.WriteHeader(), "");
    EXPECT_EQ(writer.TakeError(), "");

    EXPECT_EQ(fs::file_size(folder.File("Test_00001.dat")), 60u);
    EXPECT_EQ(fs::file_size(folder.File("Test_00001_1.dat")), 80u);
    EXPECT_EQ(fs::file_size(folder.File("Test_00001_2.dat")), 40u);
    const TextLines first = HeaderLines(folder.File("Test_00001.hdr"));
    EXPECT_TRUE(HasLine(first, "NUM_SAMPS 15"));
    EXPECT_TRUE(HasLine(first, "X_OFFSET -0.040,4"));
    EXPECT_TRUE(HasLine(first, "FILENAME Test_00001.dat"));
    EXPECT_EQ(LinesStartingWith(first, "MARK"), TextLines{"MARK 10,t1,,a"});
    const TextLines second = HeaderLines(folder.File("Test_00001_1.hdr"));
    EXPECT_EQ(second[0], "DATASET Test_00001_1_hdr");
    EXPECT_EQ(second[3], "TIME 10:21:30");
    EXPECT_TRUE(HasLine(second, "NUM_SAMPS 20"));
    EXPECT_TRUE(HasLine(second, "X_OFFSET 0"));
    EXPECT_TRUE(HasLine(second, "FILENAME Test_00001_1.dat"));
    EXPECT_EQ(LinesStartingWith(second, "MARK"), (TextLines{"MARK 0,t2,,b"}));
    const TextLines third = HeaderLines(folder.File("Test_00001_2.hdr"));
    EXPECT_TRUE(HasLine(third, "NUM_SAMPS 10"));
    EXPECT_EQ(LinesStartingWith(third, "MARK"), TextLines{"MARK 0,t3,,c"});
}

// A disk that fills up: the child process may write 65538 bytes per file, room enough for the
// header's 64 KiB. Rows are 4 bytes; 10 pre-trigger rows, then 40-row blocks: the 410th block
// reaches the disk with 14 rows and a half.
TEST(RecordWriterTest, FileSizeLimitKeepsTheWholeRowsWithAMatchingHeader) {
    CTempFolder folder("record-full");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t bytes = CRecordWriter::kHeaderRoomBytes + 2;
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        CManualClock clock;
        const auto conditions = MakeTwoWordRows(folder.Path(), 1);
        CRecordWriter writer(clock);
        const auto ring = Rows(0, 10);
        int failures = writer.Start({conditions, 0, "Test_00001", ""}, ring, {}).empty() ? 0 : 1;
        AppendResult result = AppendResult::Written;
        int blocks = 0;
        for (; blocks < 500 && result == AppendResult::Written; ++blocks) {
            const auto block = Rows(100 + 40 * blocks, 40);
            result = writer.Append(block.data(), 40);
        }
        failures |= result == AppendResult::Failed ? 0 : 2;
        failures |= blocks == 410 ? 0 : 4;
        failures |= writer.IsRecording() ? 8 : 0;
        failures |= writer.GetSamplesWritten() == 409 * 40 + 14 ? 0 : 16;
        failures |= writer.TakeError() == "Destination disk drive is full." ? 0 : 32;
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    // The half row is cut off again.
    const std::vector<std::int16_t> words = ReadRecordWords(folder.File("Test_00001.dat"));
    ASSERT_EQ(words.size(), 2u * 16384);
    std::vector<std::int16_t> expected = Rows(0, 10);
    const auto written = Rows(100, 409 * 40 + 14);
    expected.insert(expected.end(), written.begin(), written.end());
    EXPECT_EQ(words, expected);
    const TextLines header = HeaderLines(folder.File("Test_00001.hdr"));
    EXPECT_TRUE(HasLine(header, "NUM_SAMPS 16384"));
    EXPECT_TRUE(HasLine(header, "END 16384"));
    EXPECT_TRUE(HasLine(header, "X_OFFSET -0.090,9"));
    EXPECT_FALSE(fs::exists(folder.File("Test_00001.hdr.part")));
    EXPECT_FALSE(fs::exists(folder.File("Test_00001.hdr.room")));
}
