// The CSV export of a record: the exact bytes of a whole and a partial export, the channel
// choice, the number texts, and no file left by a stopped or failed export.
#include "records/RecordCsvExport.h"

#include "support/RecordTestConditions.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

const std::string kFixture = ZT300_TEST_DATA_DIR "/records/plotview/";

} // namespace

TEST(RecordCsvExportTest, TheSmallRecordExportsByteForByte) {
    CTempFolder folder("csv-export");
    CRecordReader record;
    ASSERT_EQ(record.Open(kFixture + "Small_00001.hdr"), "");
    ASSERT_EQ(record.GetMarks().size(), 1u);
    EXPECT_EQ(record.GetMarks()[0].memo, "valve \"A\", open");

    CRecordCsvExport::Request whole;
    whole.channels = {0, 1, 2, 3};
    CRecordCsvExport::RowsBetween(record, std::nullopt, std::nullopt, whole);
    EXPECT_EQ(whole.endRow, 5u);
    ASSERT_EQ(CRecordCsvExport::Write(record, whole, folder.File("all.csv")), "");
    EXPECT_EQ(ReadTestFile(folder.File("all.csv")), ReadTestFile(kFixture + "Small_00001.csv"));

    // Two channels by name and number, from 0 s to 0.01 s, with the wall-clock time.
    CRecordCsvExport::Request part;
    ASSERT_EQ(CRecordCsvExport::ChooseChannels(record.GetChannels(), " Load, 2", part.channels),
              "");
    CRecordCsvExport::RowsBetween(record, 0.0, 0.01, part);
    part.time = CRecordCsvExport::TimeColumn::WallClock;
    EXPECT_EQ(part.firstRow, 2u);
    EXPECT_EQ(part.endRow, 4u);
    ASSERT_EQ(CRecordCsvExport::Write(record, part, folder.File("part.csv")), "");
    EXPECT_EQ(ReadTestFile(folder.File("part.csv")),
              ReadTestFile(kFixture + "Small_00001_part.csv"));
}

TEST(RecordCsvExportTest, ChannelsAreChosenByNumberNameOrSeries) {
    std::vector<RecordChannel> channels(4);
    channels[0].name = "(M)Load";
    channels[0].series = "CH_10";
    channels[1].name = "(S)Load";
    channels[1].series = "CH_10";
    channels[2].name = "(M)Temp";
    channels[2].series = "CH_12";
    channels[3].name = "Flow";
    channels[3].series = "CH_7";
    struct Case {
        std::string list;
        std::vector<std::size_t> chosen;
        std::string error;
    };
    for (const Case& c :
         {Case{"4,1", {3, 0}, ""}, Case{"(S)Load, Temp", {1, 2}, ""}, Case{"CH_7", {3}, ""},
          Case{"CH_10", {0}, ""}, Case{"Load", {}, "The record has no channel \"Load\"."},
          Case{"5", {}, "The record has no channel \"5\"."},
          Case{"0", {}, "The record has no channel \"0\"."}}) {
        std::vector<std::size_t> chosen;
        EXPECT_EQ(CRecordCsvExport::ChooseChannels(channels, c.list, chosen), c.error) << c.list;
        if (c.error.empty()) {
            EXPECT_EQ(chosen, c.chosen) << c.list;
        }
    }
}

TEST(RecordCsvExportTest, AStoppedOrFailedExportLeavesNoFile) {
    CTempFolder folder("csv-cancel");
    CRecordReader record;
    ASSERT_EQ(record.Open(kFixture + "Small_00001.hdr"), "");
    CRecordCsvExport::Request request;
    request.channels = {0};
    request.endRow = 5;
    const std::string path = folder.File("out.csv");
    EXPECT_EQ(CRecordCsvExport::Write(record, request, path, [](double) { return false; }),
              CRecordCsvExport::kCancelled);
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(fs::exists(path + ".tmp"));
    const std::string missing = folder.File("no/such/folder/out.csv");
    EXPECT_EQ(CRecordCsvExport::Write(record, request, missing),
              missing + "\nCannot find this file.\nPlease verify that the correct path and file "
                        "name are given.");
}

TEST(RecordCsvExportTest, ValuesShowOneCountAndNoBinaryNoise) {
    RecordChannel channel;
    struct Case {
        double slope;
        double offset;
        SampleKind kind;
        double value;
        std::string text;
    };
    for (const Case& c :
         {Case{4e-4, -0.1, SampleKind::Int16, 250 * 4e-4 - 0.1, "0"},
          Case{4e-4, -0.1, SampleKind::Int16, 1000 * 4e-4 - 0.1, "0.3"},
          Case{8e-2, 0.0, SampleKind::Int16, -1 * 8e-2, "-0.08"},
          Case{4e-4, 0.0, SampleKind::Int32, 2147483647 * 4e-4, "858993.4588"},
          Case{1.234567e-5, 0.0, SampleKind::Int16, 3 * 1.234567e-5, "0.00003703701"},
          Case{0.0, -0.0, SampleKind::Int16, -0.0, "0"},
          Case{250.0, 0.0, SampleKind::Int16, 25000 * 250.0, "6250000"},
          Case{1.0, 0.0, SampleKind::Float32, 0.1f, "0.100000001"},
          Case{1.0, 0.0, SampleKind::Float32, 1e30f, "1.00000002e+30"}}) {
        channel.slope = c.slope;
        channel.offset = c.offset;
        channel.kind = c.kind;
        EXPECT_EQ(ValueText(c.value, channel.ValueDecimals()), c.text) << c.value;
    }
}
