// The PC record writer: the data file and its header, pre-trigger rows, marks and pauses,
// split files, the provisional header, the disk margin and a full disk.
#include "records/RecordWriter.h"

#include "RecordTestRecords.h"

#include "support/FakeDiskSpace.h"
#include "support/ManualClock.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <span>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// The lines of the header whose key is one of these, in the order of the file.
TextLines Keyed(const TextLines& lines, std::initializer_list<std::string> keys) {
    TextLines found;
    for (const std::string& line : lines) {
        if (std::ranges::any_of(
                keys, [&](const std::string& key) { return line.starts_with(key + " "); }))
            found.push_back(line);
    }
    return found;
}

// A writer of two-word rows into the test's folder, records numbered from the name given.
class RecordWriterTest : public testing::Test {
protected:
    std::string Start(const std::string& name, std::span<const std::int16_t> older = {},
                      std::span<const std::int16_t> newer = {}) {
        return m_writer.Start({m_conditions, 0, name, ""}, older, newer);
    }

    CTempFolder m_folder{"record-writer"};
    CManualClock m_clock;
    std::vector<CRecCnd> m_conditions = MakeTwoWordRows(m_folder.Path(), 1);
    CRecordWriter m_writer{m_clock};
};

} // namespace

// A wrapped ring of pre-trigger rows, marks and a pause end up in the data file and the header.
TEST_F(RecordWriterTest, RecordWithPreTriggerRowsMarksAndPauseMatchesItsFiles) {
    // A ring holding 5.5 rows, wrapped: the half row at its oldest end is dropped.
    const std::vector<std::int16_t> ring = TwoWordRows(0, 6);
    ASSERT_EQ(Start("Test_00004", {ring.data() + 1, 7}, {ring.data() + 8, 4}), "");
    EXPECT_TRUE(m_writer.IsRecording());
    EXPECT_EQ(m_writer.GetPreTriggerRows(), 5u);
    EXPECT_EQ(m_writer.GetPaths().data, m_folder.File("Test_00004.dat"));

    const auto block = TwoWordRows(100, 50);
    EXPECT_EQ(m_writer.Append(block.data(), 50), AppendResult::Written);
    EXPECT_TRUE(m_writer.AddMark(m_writer.GetSamplesWritten(), "10:20:31", "23"));
    EXPECT_EQ(m_writer.TogglePause("10:20:32"), PauseChange::Paused);
    EXPECT_EQ(m_writer.Append(block.data(), 50), AppendResult::NotWritten);
    EXPECT_EQ(m_writer.Append(block.data(), 50), AppendResult::NotWritten);
    EXPECT_EQ(m_writer.TogglePause("10:20:33"), PauseChange::Resumed);
    EXPECT_EQ(m_writer.Append(block.data(), 10), AppendResult::Written);
    EXPECT_EQ(m_writer.GetSamplesWritten(), 60u);

    // Once closed the writer takes nothing more.
    EXPECT_EQ(m_writer.Close(), "");
    EXPECT_FALSE(m_writer.IsRecording());
    EXPECT_EQ(m_writer.Append(block.data(), 10), AppendResult::NotWritten);
    EXPECT_EQ(m_writer.TogglePause("x"), PauseChange::None);
    EXPECT_FALSE(m_writer.AddMark(0, "x", "late"));
    EXPECT_EQ(m_writer.WriteHeader(), "");

    std::vector<std::int16_t> expected = TwoWordRows(1, 5);
    for (const auto& part : {TwoWordRows(100, 50), TwoWordRows(100, 10)})
        expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(ReadRecordWords(m_folder.File("Test_00004.dat")), expected);
    const TextLines header = HeaderLines(m_folder.File("Test_00004.hdr"));
    EXPECT_EQ(header[0], "DATASET Test_00004_hdr");
    EXPECT_EQ(header[3], "TIME 10:20:30");
    EXPECT_EQ(Keyed(header, {"X_OFFSET", "NUM_SAMPS", "END", "MARK", "PAUSE"}),
              (TextLines{"X_OFFSET -0.040,4", "NUM_SAMPS 65", "MARK 55,10:20:31,,23",
                         "PAUSE 55,10:20:33,,", "END 65"}));
}

// Time mode names a record by its start; a numbered record never replaces one on the disk.
TEST_F(RecordWriterTest, RecordsAreNamedByTheirStartOrTheNextFreeNumber) {
    const auto byTime = MakeTwoWordRows(m_folder.Path() + "/", 0);
    CRecordWriter timed(m_clock);
    ASSERT_EQ(timed.Start({byTime, 0, "Test_00004", ""}, {}, {}), "");
    const RecordPaths paths = timed.GetPaths();
    EXPECT_EQ(paths.base, m_folder.File("Test_261206_102030"));
    EXPECT_EQ(paths.header, paths.base + ".hdr");
    EXPECT_EQ(timed.Close(), "");
    EXPECT_EQ(timed.WriteHeader(), "");
    EXPECT_EQ(Keyed(HeaderLines(paths.header), {"X_OFFSET", "NUM_SAMPS"}),
              (TextLines{"X_OFFSET 0", "NUM_SAMPS 0"}));

    std::ofstream(m_folder.File("Test_00004.dat")) << "earlier record";
    ASSERT_EQ(Start("Test_00004"), "");
    EXPECT_EQ(m_writer.GetPaths().data, m_folder.File("Test_00005.dat"));
    EXPECT_EQ(fs::file_size(m_folder.File("Test_00004.dat")), 14u);
}

// A running record keeps a provisional header, rewritten every two seconds with the whole rows
// so far, and room for the final header, which replaces both when the record ends.
TEST_F(RecordWriterTest, ProvisionalHeaderFollowsTheRecordUntilTheFinalOneReplacesIt) {
    const std::string part = m_folder.File("Test_00001.hdr.part");
    const std::string room = m_folder.File("Test_00001.hdr.room");
    const std::string header = m_folder.File("Test_00001.hdr");
    const auto ring = TwoWordRows(0, 5);
    ASSERT_EQ(Start("Test_00001", ring), "");
    TextLines lines = HeaderLines(part);
    EXPECT_EQ(lines[0], "DATASET Test_00001_hdr");
    EXPECT_EQ(Keyed(lines, {"X_OFFSET", "NUM_SAMPS", "FILENAME", "END"}),
              (TextLines{"X_OFFSET -0.040,4", "NUM_SAMPS 5", "FILENAME Test_00001.dat", "END 5"}));
    EXPECT_EQ(fs::file_size(room), CRecordWriter::kHeaderRoomBytes);

    const auto block = TwoWordRows(100, 50);
    m_clock.Advance(CRecordWriter::kProvisionalMs - 1);
    ASSERT_EQ(m_writer.Append(block.data(), 50), AppendResult::Written);
    EXPECT_EQ(Keyed(HeaderLines(part), {"NUM_SAMPS"}), TextLines{"NUM_SAMPS 5"});
    m_writer.AddMark(20, "10:20:31", "m");
    m_clock.Advance(1);
    ASSERT_EQ(m_writer.Append(block.data(), 10), AppendResult::Written);
    lines = HeaderLines(part);
    EXPECT_EQ(Keyed(lines, {"NUM_SAMPS", "END", "MARK"}),
              (TextLines{"NUM_SAMPS 65", "MARK 25,10:20:31,,m", "END 65"}));
    EXPECT_FALSE(fs::exists(header));

    // Closed but without its header yet, the record still has its provisional one.
    ASSERT_EQ(m_writer.Close(), "");
    EXPECT_TRUE(fs::exists(part));
    ASSERT_EQ(m_writer.WriteHeader(), "");
    EXPECT_EQ(HeaderLines(header), lines);
    EXPECT_FALSE(fs::exists(part));
    EXPECT_FALSE(fs::exists(room));
    EXPECT_EQ(m_writer.GetRecordsClosed(), 1u);
}

// Below the margin of free space a record does not start, and a running one ends before the
// block that would cross it, with a header that counts its rows.
TEST_F(RecordWriterTest, TheDiskMarginStopsTheRecordWithItsHeader) {
    constexpr std::int64_t kMargin = 1 << 20;
    CFakeDiskSpace space;
    CRecordWriter writer(m_clock, CRecordWriter::kSplitBytes, &space, kMargin);
    const std::string where = "HDD (" + m_folder.Path() + ") has less than 1 MB free! ";

    const auto room = static_cast<std::int64_t>(CRecordWriter::kHeaderRoomBytes);
    space.m_free = kMargin + room - 1;
    EXPECT_EQ(writer.Start({m_conditions, 0, "Test_00001", ""}, {}, {}),
              where + "The record was not started.");
    EXPECT_FALSE(writer.IsRecording());
    EXPECT_TRUE(fs::is_empty(m_folder.Path()));

    space.m_free = kMargin + room;
    ASSERT_EQ(writer.Start({m_conditions, 0, "Test_00001", ""}, {}, {}), "");
    const auto block = TwoWordRows(0, 10); // 40 bytes
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    space.m_free = kMargin + 40;
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    space.m_free = kMargin + 39;
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Stopped);
    EXPECT_FALSE(writer.IsRecording());
    EXPECT_EQ(writer.GetRecordsClosed(), 1u);
    EXPECT_EQ(writer.TakeError(), where + "The record was stopped.");
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::NotWritten);
    EXPECT_EQ(fs::file_size(m_folder.File("Test_00001.dat")), 80u);
    EXPECT_EQ(Keyed(HeaderLines(m_folder.File("Test_00001.hdr")), {"NUM_SAMPS"}),
              TextLines{"NUM_SAMPS 20"});
    EXPECT_FALSE(fs::exists(m_folder.File("Test_00001.hdr.part")));

    // A file system that does not tell its free space is written as long as it takes the rows.
    space.m_free = -1;
    ASSERT_EQ(writer.Start({m_conditions, 0, "Test_00002", ""}, {}, {}), "");
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
}

// The data thread appends while the UI thread pauses, resumes and marks: every row that was
// counted is in the file, and each resume point lies within what was written.
TEST_F(RecordWriterTest, AppendWhileTheUserPausesAndMarks) {
    ASSERT_EQ(Start("Test_00001"), "");
    std::atomic<bool> done{false};
    std::thread data([&] {
        const auto block = TwoWordRows(0, 16);
        for (int i = 0; i < 4000; ++i)
            m_writer.Append(block.data(), 16);
        done = true;
    });
    int toggles = 0;
    while (!done) {
        m_writer.TogglePause("t");
        m_writer.AddMark(m_writer.GetSamplesWritten(), "t", "m");
        ++toggles;
    }
    data.join();
    if (m_writer.IsPaused())
        m_writer.TogglePause("t");
    EXPECT_EQ(m_writer.Close(), "");
    EXPECT_EQ(m_writer.WriteHeader(), "");
    const std::uint32_t written = m_writer.GetSamplesWritten();
    EXPECT_EQ(fs::file_size(m_folder.File("Test_00001.dat")), written * 4u);
    EXPECT_EQ(written % 16, 0u);
    const CMarkList marks = m_writer.GetMarks();
    EXPECT_EQ(marks.GetPauses().size(), static_cast<std::size_t>((toggles + 1) / 2));
    std::uint32_t previous = 0;
    for (const CMarkRecord& resume : marks.GetPauses()) {
        EXPECT_GE(resume.m_position, previous);
        EXPECT_LE(resume.m_position, written);
        previous = resume.m_position;
    }
}

// A data file that cannot be made starts no record; one gone at the stop gets no header.
TEST_F(RecordWriterTest, AMissingDataFileStartsNoRecordAndEndsOneWithoutAHeader) {
    const auto nowhere = MakeTwoWordRows("/nonexistent-zt300-folder", 1);
    CRecordWriter writer(m_clock);
    EXPECT_EQ(writer.Start({nowhere, 0, "Test_00001", ""}, {}, {}),
              "/nonexistent-zt300-folder/Test_00001.dat\nCannot find this file.\nPlease "
              "verify that the correct path and file name are given.");
    EXPECT_FALSE(writer.IsRecording());
    const auto block = TwoWordRows(0, 2);
    EXPECT_EQ(writer.Append(block.data(), 2), AppendResult::NotWritten);

    ASSERT_EQ(Start("Test_00002"), "");
    fs::remove(m_folder.File("Test_00002.dat"));
    EXPECT_EQ(m_writer.Close(), m_folder.File("Test_00002.dat") + " : Data File not exist!");
    EXPECT_FALSE(m_writer.IsRecording());
    EXPECT_FALSE(fs::exists(m_folder.File("Test_00002.hdr")));
}

// Each split file carries its own header, time and the marks that fall into it.
TEST_F(RecordWriterTest, SplitFilesEachCarryTheirHeaderAndMarks) {
    // 100 bytes instead of 2 GB: 10-row blocks of 40 bytes after 5 pre-trigger rows.
    CRecordWriter writer(m_clock, 100);
    const auto ring = TwoWordRows(0, 5);
    ASSERT_EQ(writer.Start({m_conditions, 0, "Test_00001", ""}, ring, {}), "");
    const auto block = TwoWordRows(10, 10);
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    writer.AddMark(5, "t1", "a");
    writer.AddMark(10, "t2", "b");
    m_clock.m_localTime.minute = 21;
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    writer.AddMark(30, "t3", "c");
    EXPECT_EQ(writer.Append(block.data(), 10), AppendResult::Written);
    EXPECT_EQ(writer.GetSamplesWritten(), 40u);
    EXPECT_EQ(writer.GetPaths().data, m_folder.File("Test_00001_2.dat"));
    EXPECT_EQ(writer.Close(), "");
    EXPECT_EQ(writer.WriteHeader(), "");
    EXPECT_EQ(writer.TakeError(), "");

    EXPECT_EQ(fs::file_size(m_folder.File("Test_00001.dat")), 60u);
    EXPECT_EQ(fs::file_size(m_folder.File("Test_00001_1.dat")), 80u);
    EXPECT_EQ(fs::file_size(m_folder.File("Test_00001_2.dat")), 40u);
    const std::initializer_list<std::string> keys = {"X_OFFSET", "NUM_SAMPS", "FILENAME", "MARK"};
    EXPECT_EQ(Keyed(HeaderLines(m_folder.File("Test_00001.hdr")), keys),
              (TextLines{"X_OFFSET -0.040,4", "NUM_SAMPS 15", "FILENAME Test_00001.dat",
                         "MARK 10,t1,,a"}));
    const TextLines second = HeaderLines(m_folder.File("Test_00001_1.hdr"));
    EXPECT_EQ(second[0], "DATASET Test_00001_1_hdr");
    EXPECT_EQ(second[3], "TIME 10:21:30");
    EXPECT_EQ(Keyed(second, keys), (TextLines{"X_OFFSET 0", "NUM_SAMPS 20",
                                              "FILENAME Test_00001_1.dat", "MARK 0,t2,,b"}));
    EXPECT_EQ(Keyed(HeaderLines(m_folder.File("Test_00001_2.hdr")), {"NUM_SAMPS", "MARK"}),
              (TextLines{"NUM_SAMPS 10", "MARK 0,t3,,c"}));
}

// A disk that fills up: the child process may write 65538 bytes per file, room enough for the
// header's 64 KiB. Rows are 4 bytes; 10 pre-trigger rows, then 40-row blocks: the 410th block
// reaches the disk with 14 rows and a half.
TEST_F(RecordWriterTest, FileSizeLimitKeepsTheWholeRowsWithAMatchingHeader) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t bytes = CRecordWriter::kHeaderRoomBytes + 2;
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        const auto ring = TwoWordRows(0, 10);
        int failures = Start("Test_00001", ring).empty() ? 0 : 1;
        AppendResult result = AppendResult::Written;
        int blocks = 0;
        for (; blocks < 500 && result == AppendResult::Written; ++blocks) {
            const auto block = TwoWordRows(100 + 40 * blocks, 40);
            result = m_writer.Append(block.data(), 40);
        }
        failures |= result == AppendResult::Failed ? 0 : 2;
        failures |= blocks == 410 ? 0 : 4;
        failures |= m_writer.IsRecording() ? 8 : 0;
        failures |= m_writer.GetSamplesWritten() == 409 * 40 + 14 ? 0 : 16;
        failures |= m_writer.TakeError() == "Destination disk drive is full." ? 0 : 32;
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    // The half row is cut off again.
    const std::vector<std::int16_t> words = ReadRecordWords(m_folder.File("Test_00001.dat"));
    ASSERT_EQ(words.size(), 2u * 16384);
    std::vector<std::int16_t> expected = TwoWordRows(0, 10);
    const auto written = TwoWordRows(100, 409 * 40 + 14);
    expected.insert(expected.end(), written.begin(), written.end());
    EXPECT_EQ(words, expected);
    EXPECT_EQ(Keyed(HeaderLines(m_folder.File("Test_00001.hdr")), {"X_OFFSET", "NUM_SAMPS", "END"}),
              (TextLines{"X_OFFSET -0.090,9", "NUM_SAMPS 16384", "END 16384"}));
    EXPECT_FALSE(fs::exists(m_folder.File("Test_00001.hdr.part")));
    EXPECT_FALSE(fs::exists(m_folder.File("Test_00001.hdr.room")));
}
