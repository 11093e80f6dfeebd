// The record header: the exact bytes for one and two recorders, the rate lines, the
// pre-trigger offset and the marks of each split file.
#include "records/RecordHeader.h"

#include "support/RecordTestConditions.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

std::string Joined(const TextLines& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

RecordFileFacts Facts(std::uint32_t preRows, std::uint64_t rows) {
    RecordFileFacts facts;
    facts.headerName = "Run.x_00003.hdr";
    facts.dataName = "Run.x_00003.dat";
    facts.start = {2026, 3, 7, 9, 5, 4, 0, 6};
    facts.preRows = preRows;
    facts.rows = rows;
    facts.endPosition = 0xFFFFFFFFu;
    return facts;
}

TextLines Header(const std::vector<CRecCnd>& conditions, const RecordFileFacts& facts,
                 const CMarkList& marks = {}, const std::string& comment = {}) {
    CRecordHeader header;
    header.Describe(conditions, 0, comment);
    TextLines lines;
    header.FormatLines(lines, facts, marks);
    return lines;
}

} // namespace

TEST(RecordHeaderTest, TwoRecordersMatchTheGoldenFileByteForByte) {
    CChCnd::SetBalanceWarnPercent(100);
    std::vector<CRecCnd> conditions = MakeTwoRecorders("/tmp");
    CMarkList marks;
    marks.AddMark(500, "10:20:30", "23");
    marks.AddMark(510, "10:20:31", "valve open");
    marks.AddResume(700, "10:20:40");
    const TextLines lines = Header(conditions, Facts(1000, 3000), marks, "Lab run");

    const std::string golden = ZT300_TEST_DATA_DIR "/records/two_recorders.hdr";
    const std::string written = ::testing::TempDir() + "two_recorders.hdr";
    ASSERT_EQ(CTextFile::WriteTextLines(written, lines), "");
    EXPECT_EQ(ReadTestFile(written), ReadTestFile(golden));
    EXPECT_EQ(Joined(lines), ReadTestFile(golden));
}

TEST(RecordHeaderTest, OneRecorderWithTwoPlainChannels) {
    std::vector<CRecCnd> conditions(1);
    conditions[0].m_rate = "100Hz";
    conditions[0].m_channels = {MakeRecordChannel(1, 0, "10V"), MakeRecordChannel(1, 1, "10V")};
    const TextLines lines = Header(conditions, Facts(0, 20));
    const std::string expected =
        "DATASET Run_x_00003_hdr\r\n"
        "VERSION 1\r\n"
        "DATE 03-07-2026\r\n"
        "TIME 09:05:04\r\n"
        "RATE   100\r\n"
        "COMMENT1 \r\n"
        "COMMENT2 \r\n"
        "COMMENT3 ,,\r\n"
        "SERIES CH_10,CH_11\r\n"
        "SLOPE 4.000000e-04,4.000000e-04\r\n"
        "Y_OFFSET -0.000000e+00,-0.000000e+00\r\n"
        "VERT_UNITS V,V\r\n"
        "NUM_SERIES 2\r\n"
        "HORZ_UNITS Sec\r\n"
        "STORAGE_MODE INTERLACED\r\n"
        "FILE_TYPE INTEGER\r\n"
        "X_OFFSET 0\r\n"
        "NUM_SAMPS 20\r\n"
        "FILENAME Run.x_00003.dat\r\n"
        "DATA\r\n"
        "DEVICE ZT300\r\n"
        "END 20\r\n"
        "CH10 RANGE=10V,FILTER=OFF,NAME=1-1,MIN=-10.000,MAX=10.000,FMT=0\r\n"
        "CH11 RANGE=10V,FILTER=OFF,NAME=1-2,MIN=-10.000,MAX=10.000,FMT=0\r\n";
    EXPECT_EQ(Joined(lines), expected);
}

TEST(RecordHeaderTest, RateLinesDeviceAndPreTriggerOffset) {
    std::vector<CRecCnd> conditions(1);
    conditions[0].m_channels = {MakeRecordChannel(1, 0, "10V")};
    auto line = [&](std::size_t index, std::uint32_t preRows = 0) {
        return Header(conditions, Facts(preRows, 10))[index];
    };
    conditions[0].m_rate = "0.5Hz";
    EXPECT_EQ(line(4), "INTERVAL 2.000");
    conditions[0].m_rate = "1kHz";
    EXPECT_EQ(line(4), "RATE  1000");
    // One frame in six kept at 0.1 Hz: a row every 60 s, and the pre-trigger offset in rows.
    conditions[0].m_rate = "0.1Hz";
    conditions[0].m_subSamp = 2;
    EXPECT_EQ(line(4), "INTERVAL 60.000");
    EXPECT_EQ(line(16, 3), "X_OFFSET -120.000,2");
    conditions[0].m_subSamp = 1;
    EXPECT_EQ(line(4), "INTERVAL 30.000");
    conditions[0].m_rate = "100Hz";
    EXPECT_EQ(line(16, 1000), "X_OFFSET -9.990,999");
    EXPECT_EQ(line(16, 1), "X_OFFSET -0.000,0");
    conditions[0].m_secondModel = 1;
    EXPECT_EQ(line(20), "DEVICE ZT500");
}

TEST(RecordHeaderTest, MarksOfOneFileOfASplitRecord) {
    CMarkList marks;
    marks.AddMark(5, "t1", "a");
    marks.AddMark(10, "t2", "b");
    marks.AddResume(12, "t3");
    TextLines lines;
    marks.FormatLines(lines, 0, 10, 4);
    EXPECT_EQ(lines, (TextLines{"MARK 9,t1,,a"}));
    lines.clear();
    marks.FormatLines(lines, 10, 0xFFFFFFFFu, 0);
    EXPECT_EQ(lines, (TextLines{"MARK 0,t2,,b", "PAUSE 2,t3,,"}));
}
