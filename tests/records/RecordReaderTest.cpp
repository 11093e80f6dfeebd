#include "records/RecordReader.h"

#include "RecordTestRecords.h"
#include "records/RecordHeader.h"
#include "records/RecordNames.h"
#include "records/RecordOverview.h"
#include "records/RecordWriter.h"
#include "records/TraceEnvelope.h"
#include "support/ManualClock.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

// Words of the two recorders' rows: (M)Load, (M)1-13 as two words, (M)Sum, (S)3-5, (S)3-6.
constexpr std::size_t kRowWords = 6;

std::int32_t Wide(std::int64_t i) {
    return static_cast<std::int32_t>(i * 100003 - 50000000);
}

std::vector<std::int16_t> Rows(std::int64_t first, std::int64_t count) {
    std::vector<std::int16_t> words;
    for (std::int64_t i = first; i < first + count; ++i) {
        const auto wide = static_cast<std::uint32_t>(Wide(i));
        for (const std::int64_t word :
             {i * 7 - 3000, static_cast<std::int64_t>(wide & 0xFFFF),
              static_cast<std::int64_t>(wide >> 16), i % 50000 - 25000, -i, i * 3})
            words.push_back(static_cast<std::int16_t>(word));
    }
    return words;
}

// A record of the two recorders as the acquisition writes it, with a copy of every row written.
class WrittenRecord {
public:
    explicit WrittenRecord(const std::string& folder, std::uint64_t splitBytes = 1200)
        : m_conditions(MakeTwoRecorders(folder)), m_writer(m_clock, splitBytes) {
        CChCnd::SetBalanceWarnPercent(100);
        m_conditions[0].m_hddRecFileExt = 1; // named Run_00001
    }

    void Start(std::int64_t preRows) {
        const std::vector<std::int16_t> ring = Rows(0, preRows);
        ASSERT_EQ(m_writer.Start({m_conditions, 0, "Run_00001", ""}, ring, {}), "");
        m_words = ring;
        m_next = preRows;
    }
    void Append(std::int64_t count) {
        const std::vector<std::int16_t> block = Rows(m_next, count);
        m_next += count;
        if (m_writer.Append(block.data(), static_cast<std::size_t>(count)) == AppendResult::Written)
            m_words.insert(m_words.end(), block.begin(), block.end());
    }
    void Finish() {
        ASSERT_EQ(m_writer.Close(), "");
        ASSERT_EQ(m_writer.WriteHeader(), "");
    }

    std::string HeaderPath(const std::string& name) const {
        return RecordFolder(m_conditions[0]) + name + ".hdr";
    }
    std::uint64_t RowCount() const { return m_words.size() / kRowWords; }
    std::int16_t Word(std::uint64_t row, std::size_t word) const {
        return m_words[row * kRowWords + word];
    }

    std::vector<CRecCnd> m_conditions;
    CManualClock m_clock;
    CRecordWriter m_writer;
    std::vector<std::int16_t> m_words;
    std::int64_t m_next = 0;
};

// Every channel of every row against the words that were written.
void ExpectEveryValue(const CRecordReader& reader, const WrittenRecord& written) {
    ASSERT_EQ(reader.GetRowCount(), written.RowCount());
    const std::vector<CChCnd>& master = written.m_conditions[0].m_channels;
    for (std::uint64_t row = 0; row < written.RowCount(); ++row) {
        const auto wide = static_cast<std::int32_t>(
            static_cast<std::uint16_t>(written.Word(row, 1)) |
            static_cast<std::uint32_t>(static_cast<std::uint16_t>(written.Word(row, 2))) << 16);
        ASSERT_EQ(reader.Number(0, row), written.Word(row, 0)) << "row " << row;
        ASSERT_EQ(reader.Number(1, row), wide) << "row " << row;
        ASSERT_EQ(reader.Number(2, row), written.Word(row, 3)) << "row " << row;
        ASSERT_EQ(reader.Number(3, row), written.Word(row, 4)) << "row " << row;
        ASSERT_EQ(reader.Number(4, row), written.Word(row, 5)) << "row " << row;
        // The header's scaling is the line the data thread converts the counts with.
        ASSERT_NEAR(reader.Value(0, row), master[0].CountToPhys(written.Word(row, 0)), 1e-12);
        ASSERT_DOUBLE_EQ(reader.Value(1, row), wide * 4e-4);
        ASSERT_DOUBLE_EQ(reader.Value(2, row), written.Word(row, 3) * 4e-3);
        ASSERT_DOUBLE_EQ(reader.Value(3, row), written.Word(row, 4) * 0.08);
    }
}

} // namespace

TEST(RecordReaderTest, ARecordOfTwoRecordersSplitThreeTimesOpensWithEveryValueMarkAndPause) {
    CTempFolder folder("reader-split");
    WrittenRecord record(folder.Path());
    record.Start(5);
    record.Append(40);
    record.m_writer.AddMark(record.m_writer.GetSamplesWritten(), "10:20:31", "valve, open");
    record.Append(40);
    record.m_clock.m_localTime.minute = 21; // the second file starts a minute later
    record.Append(40);
    ASSERT_EQ(record.m_writer.TogglePause("10:21:40"), PauseChange::Paused);
    record.Append(30); // not written
    ASSERT_EQ(record.m_writer.TogglePause("10:25:00"), PauseChange::Resumed);
    const std::uint32_t resumedAt = record.m_writer.GetSamplesWritten();
    record.Append(40);
    record.m_writer.AddMark(record.m_writer.GetSamplesWritten(), "10:25:01", "23");
    record.m_clock.m_localTime = {2026, 12, 6, 10, 25, 1, 0, 0};
    record.Append(110);
    record.Finish();
    ASSERT_TRUE(fs::exists(folder.File("Run_00001_2.dat")));
    ASSERT_FALSE(fs::exists(folder.File("Run_00001_4.dat")));

    CRecordReader reader;
    ASSERT_EQ(reader.Open(record.HeaderPath("Run_00001")), "");
    EXPECT_GE(reader.GetPartCount(), 3u);
    EXPECT_FALSE(reader.IsProvisional());
    EXPECT_EQ(reader.GetNotes(), std::vector<std::string>{});
    EXPECT_EQ(reader.GetRowCount(), 5u + 270u);
    ExpectEveryValue(reader, record);

    const std::vector<RecordChannel>& channels = reader.GetChannels();
    ASSERT_EQ(channels.size(), 5u);
    const std::vector<std::tuple<std::string, std::string, SampleKind, int, bool>> expected = {
        {"(M)Load", "V", SampleKind::Int16, 0, false},
        {"(M)1-13", "kN", SampleKind::Int32, 1, false},
        {"(M)Sum", "", SampleKind::Int16, 3, true},
        {"(S)3-5", "uST", SampleKind::Int16, 4, false},
        {"(S)3-6", "", SampleKind::Int16, 5, false}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [name, unit, kind, word, calculated] = expected[i];
        EXPECT_EQ(channels[i].name, name);
        EXPECT_EQ(channels[i].unit, unit) << name;
        EXPECT_EQ(channels[i].kind, kind) << name;
        EXPECT_EQ(channels[i].wordIndex, word) << name;
        EXPECT_EQ(channels[i].calculated, calculated) << name;
    }
    EXPECT_EQ(channels[3].scaleMin, -1500.0);
    EXPECT_EQ(channels[3].scaleMax, 1500.0);

    // Marks and the resume point at rows of the whole record: position + pre-trigger rows.
    ASSERT_EQ(reader.GetMarks().size(), 2u);
    EXPECT_EQ(reader.GetMarks()[0].row, 5u + 40u);
    EXPECT_EQ(reader.GetMarks()[0].memo, "valve, open");
    EXPECT_EQ(reader.GetMarks()[1].row, 5u + 160u);
    ASSERT_EQ(reader.GetPauses().size(), 1u);
    EXPECT_EQ(reader.GetPauses()[0].row, 5u + resumedAt);
    EXPECT_EQ(reader.GetPauses()[0].time, "10:25:00");

    // Time 0 is the last pre-trigger row; the wall clock starts there, goes on at each split
    // file's start and at the resume point.
    const CRecordTimeline& timeline = reader.GetTimeline();
    EXPECT_DOUBLE_EQ(timeline.Elapsed(0), -0.04);
    EXPECT_DOUBLE_EQ(timeline.Elapsed(4), 0.0);
    EXPECT_EQ(CRecordTimeline::FormatDateTime(timeline.WallClock(4), 2), "2026-12-06 10:20:30.00");
    EXPECT_EQ(CRecordTimeline::FormatDateTime(timeline.WallClock(84), 2), "2026-12-06 10:20:30.80");
    EXPECT_EQ(CRecordTimeline::FormatDateTime(timeline.WallClock(85), 2), "2026-12-06 10:21:30.00");
    EXPECT_EQ(CRecordTimeline::FormatTimeOfDay(timeline.WallClock(5.0 + resumedAt + 10), 2),
              "10:25:00.10");
    EXPECT_EQ(CRecordTimeline::FormatTimeOfDay(timeline.WallClock(165), 2), "10:25:01.00");

    // The overview and a zoomed-in view across the files' ends (rows 85 and 165 start files).
    CRecordOverview overview(reader);
    ASSERT_EQ(overview.Start(UINT64_MAX), "");
    overview.Wait();
    ExpectBucketsMatch(overview.GetPyramid(), reader);
    std::vector<std::vector<NumberRange>> columns;
    const std::vector<std::size_t> all = {0, 1, 2, 3, 4};
    CTraceEnvelope(reader, overview.GetPyramid()).Compute(all, 80.0, 3.0, 40, columns);
    for (std::size_t c = 0; c < all.size(); ++c) {
        for (std::uint64_t x = 0; x < 40; ++x) {
            const NumberRange expected = BruteForce(reader, c, 80 + 3 * x, 83 + 3 * x);
            EXPECT_EQ(columns[c][x].min, expected.min) << "channel " << c << " x " << x;
            EXPECT_EQ(columns[c][x].max, expected.max) << "channel " << c << " x " << x;
        }
    }

    // The same record from its data file, and from one of its split files.
    for (const std::string& path : {folder.File("Run_00001.dat"), folder.File("Run_00001_1.hdr"),
                                    folder.File("Run_00001_2.dat")}) {
        CRecordReader again;
        ASSERT_EQ(again.Open(path), "") << path;
        EXPECT_EQ(again.GetRowCount(), reader.GetRowCount()) << path;
        EXPECT_EQ(again.GetHeaderPath(), folder.File("Run_00001.hdr"));
    }
    CRecordReader fromSplit;
    ASSERT_EQ(fromSplit.Open(folder.File("Run_00001_1.hdr")), "");
    EXPECT_EQ(
        fromSplit.GetNotes(),
        std::vector<std::string>{
            "Run_00001_1 is a split file of the record Run_00001: the whole record is shown."});
}

// The program stopped while recording: only the provisional header, a few rows behind the data
// file, which ends in half a row; and the next split file has no header at all.
TEST(RecordReaderTest, ACrashCutRecordOpensWithItsWholeRowsAndSaysSo) {
    CTempFolder folder("reader-crash");
    WrittenRecord record(folder.Path(), 1200);
    record.Start(3);
    record.Append(90);
    record.m_writer.AddMark(record.m_writer.GetSamplesWritten(), "10:20:31", "before");
    record.Append(20);
    record.Finish();
    ASSERT_TRUE(fs::exists(folder.File("Run_00001_1.hdr")));

    // The first file keeps its final header; the second has only a provisional one that counts
    // 5 rows fewer than its file holds.
    TextLines lines;
    ASSERT_EQ(CTextFile::ReadTextLines(folder.File("Run_00001_1.hdr"), lines), "");
    for (std::string& line : lines) {
        if (line.starts_with("NUM_SAMPS ") || line.starts_with("END "))
            line = line.substr(0, line.find(' ')) + " 10";
    }
    fs::remove(folder.File("Run_00001_1.hdr"));
    ASSERT_EQ(CTextFile::WriteTextLines(folder.File("Run_00001_1.hdr.part"), lines), "");
    std::ofstream(folder.File("Run_00001_1.dat"), std::ios::binary | std::ios::app)
        .write("\x01\x02\x03\x04\x05\x06\x07", 7);

    CRecordReader reader;
    ASSERT_EQ(reader.Open(folder.File("Run_00001.hdr")), "");
    EXPECT_TRUE(reader.IsProvisional());
    ExpectEveryValue(reader, record);
    EXPECT_EQ(reader.GetNotes(),
              (std::vector<std::string>{
                  "The record is not finished (still being recorded, or stopped before its end): "
                  "it shows the 113 whole rows on the disk.",
                  "Run_00001_1.dat ends in part of a row: its last 7 bytes are left out."}));
    ASSERT_EQ(reader.GetMarks().size(), 1u);
    EXPECT_EQ(reader.GetMarks()[0].row, 93u);

    // No final header at all; and a split file whose header was never written.
    fs::rename(folder.File("Run_00001.hdr"), folder.File("Run_00001.hdr.part"));
    fs::remove(folder.File("Run_00001_1.hdr.part"));
    CRecordReader cut;
    ASSERT_EQ(cut.Open(folder.File("Run_00001.hdr")), "");
    EXPECT_TRUE(cut.IsProvisional());
    EXPECT_EQ(cut.GetHeaderPath(), folder.File("Run_00001.hdr.part"));
    ExpectEveryValue(cut, record);
    EXPECT_EQ(cut.GetNotes()[1], "Run_00001_1.dat has no header: it is read with the layout of "
                                 "the record.");
}

// A record still being written opens from the provisional header its writer keeps, with every
// whole row already on the disk (more than that header counts) and the marks it names.
TEST(RecordReaderTest, ARunningRecordOpensFromTheProvisionalHeaderOfItsWriter) {
    CTempFolder folder("reader-running");
    WrittenRecord record(folder.Path(), CRecordWriter::kSplitBytes);
    record.Start(5);
    record.Append(40);
    record.m_writer.AddMark(record.m_writer.GetSamplesWritten(), "10:20:31", "running");
    record.m_clock.Advance(CRecordWriter::kProvisionalMs);
    record.Append(10); // the provisional header is written again with these rows
    record.Append(20);
    ASSERT_TRUE(record.m_writer.IsRecording());
    ASSERT_FALSE(fs::exists(folder.File("Run_00001.hdr")));

    CRecordReader reader;
    ASSERT_EQ(reader.Open(folder.File("Run_00001.hdr")), "");
    EXPECT_TRUE(reader.IsProvisional());
    EXPECT_EQ(reader.GetHeaderPath(), folder.File("Run_00001.hdr.part"));
    ExpectEveryValue(reader, record);
    ASSERT_EQ(reader.GetMarks().size(), 1u);
    EXPECT_EQ(reader.GetMarks()[0].row, 45u);
    EXPECT_EQ(reader.GetNotes().front(),
              "The record is not finished (still being recorded, or stopped before its end): it "
              "was read from its provisional header Run_00001.hdr.part and shows the 75 whole "
              "rows on the disk.");
    record.Finish();
}

TEST(RecordReaderTest, WhatCannotBeReadIsToldAndWhatCanIsShown) {
    CTempFolder folder("reader-bad");
    const std::string header = folder.File("Bad.hdr");
    CRecordReader missing;
    EXPECT_EQ(missing.Open(header), header + " : Header File not exist!");

    auto write = [&](const TextLines& lines) {
        ASSERT_EQ(CTextFile::WriteTextLines(header, lines), "");
    };
    write({"DATASET Bad_hdr", "RATE   100", "SERIES CH_10,CH_11", "NUM_SERIES 3",
           "FILENAME Bad.dat"});
    CRecordReader mismatch;
    EXPECT_EQ(mismatch.Open(header),
              header + "\nNUM_SERIES 3 does not match the 2 series of the SERIES line.");

    write({"DATASET Bad_hdr", "RATE   100", "NUM_SERIES 1"});
    CRecordReader noSeries;
    EXPECT_EQ(noSeries.Open(header), header + "\nThe header lists no series.");

    // FILENAME may not lead out of the folder: only its name is used.
    write({"SERIES CH_10,CH_11", "SLOPE 2.0", "VERT_UNITS V,mV,A", "NUM_SERIES 2",
           "FILENAME ../../etc/Other.dat", "CH10 RANGE=10V,FILTER=OFF,NAME=Load,MIN=-10.000"});
    CRecordReader noData;
    EXPECT_EQ(noData.Open(header), folder.File("Other.dat") + " : Data File not exist!");

    const std::int16_t words[] = {1, 2, 3, 4, 5};
    std::ofstream(folder.File("Other.dat"), std::ios::binary)
        .write(reinterpret_cast<const char*>(words), sizeof(words));
    CRecordReader lenient;
    ASSERT_EQ(lenient.Open(folder.File("Bad.dat")), "");
    EXPECT_EQ(lenient.GetRowCount(), 2u);
    EXPECT_EQ(lenient.Value(0, 1), 3.0); // no Y_OFFSET: the numbers as recorded
    EXPECT_EQ(lenient.GetChannels()[0].name, "Load");
    EXPECT_EQ(lenient.GetChannels()[1].name, "CH_11");
    EXPECT_EQ(lenient.GetChannels()[1].unit, "");
    EXPECT_EQ(lenient.GetNotes(),
              (std::vector<std::string>{
                  "Bad.hdr: The header gives no sampling rate: rows are shown one second apart.",
                  "Bad.hdr: The header gives no scaling for some series: they show their numbers "
                  "as recorded.",
                  "Bad.hdr: The units of the header do not match its series: none are shown.",
                  "Bad.hdr: The channel lines do not match the series: those channels show their "
                  "series names.",
                  "Other.dat ends in part of a row: its last 2 bytes are left out.",
                  "Other.dat holds 2 whole rows where its header counts 0."}));
}

TEST(RecordReaderTest, TheGoldenHeaderReadsBackAsItsChannels) {
    RecordFileHeader header;
    ASSERT_EQ(CRecordHeaderReader::Read(ZT300_TEST_DATA_DIR "/records/two_recorders.hdr", header),
              "");
    EXPECT_EQ(header.rowWords, 6);
    EXPECT_EQ(header.rows, 3000u);
    EXPECT_EQ(header.triggerRow, 999u);
    EXPECT_DOUBLE_EQ(header.rowSeconds, 0.01);
    EXPECT_EQ(header.date, "03-07-2026");
    EXPECT_EQ(header.comments[0], "Lab run");
    EXPECT_EQ(header.comments[3], "A,B,C");
    EXPECT_EQ(header.dataName, "Run.x_00003.dat");
    EXPECT_EQ(header.device, "ZT300");
    ASSERT_EQ(header.channels.size(), 5u);
    EXPECT_EQ(header.channels[0].offset, -0.1);
    EXPECT_EQ(header.channels[1].range, "5V");
    EXPECT_EQ(header.channels[1].dataType, 2);
    EXPECT_EQ(header.channels[2].range, "100");
    EXPECT_EQ(header.channels[4].name, "(S)3-6");
    EXPECT_EQ(header.channels[4].slope, 0.0);
    EXPECT_FALSE(header.channels[4].HasScale());
    ASSERT_EQ(header.marks.size(), 2u);
    EXPECT_EQ(header.marks[1].row, 1510u);
    EXPECT_EQ(header.marks[1].memo, "valve open");
    ASSERT_EQ(header.pauses.size(), 1u);
    EXPECT_EQ(header.pauses[0].time, "10:20:40");
    EXPECT_EQ(header.notes, std::vector<std::string>{});
}
