#include "records/MinMaxPyramid.h"

#include "RecordTestRecords.h"
#include "records/PyramidCache.h"
#include "records/RecordOverview.h"
#include "records/TraceEnvelope.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

const std::vector<std::vector<int>> kLayouts = {
    {0},       {1, 0, 2},       {4, 0, 3, 1},          {0, 0, 0, 0, 0, 0, 0, 0},
    {2, 2, 4}, {1, 1, 0, 4, 0}, {3, 0, 0, 2, 1, 4, 0}, {0, 9, -1}};

} // namespace

// Every level of the overview equals a min/max over the same rows, for random layouts, row
// counts around the bucket sizes and rows added in random pieces.
TEST(MinMaxPyramidTest, EveryBucketOfEveryLevelIsTheMinMaxOfItsRows) {
    std::mt19937 random(1234);
    const std::vector<std::size_t> rowCounts = {0, 1, 63, 64, 65, 255, 256, 1000, 4113, 20000};
    for (std::size_t i = 0; i < rowCounts.size(); ++i) {
        const std::vector<int>& layout = kLayouts[i % kLayouts.size()];
        const std::size_t rows = rowCounts[i];
        const std::vector<std::uint16_t> words =
            RandomRows(layout, rows, static_cast<std::uint32_t>(i), rows / 5, rows / 5 + 300);
        CRecordReader record;
        ASSERT_EQ(record.OpenInMemory(LayoutHeader(layout), words), "");
        CMinMaxPyramid pyramid(CBlockMinMax::ChannelsOf(record.GetChannels()), record.GetRowWords(),
                               rows);
        ASSERT_EQ(pyramid.Allocate(), "");
        const auto rowWords = static_cast<std::size_t>(record.GetRowWords());
        std::uniform_int_distribution<std::size_t> piece(1, 500);
        for (std::size_t row = 0; row < rows;) {
            const std::size_t count = std::min(piece(random), rows - row);
            pyramid.AddRows({words.data() + row * rowWords, count * rowWords});
            row += count;
        }
        ASSERT_TRUE(pyramid.IsComplete()) << rows << " rows";
        EXPECT_EQ(pyramid.GetBucketCount(pyramid.GetLevelCount() - 1), rows == 0 ? 0u : 1u);
        ExpectBucketsMatch(pyramid, record);
    }
}

// The overview is built in its own thread while this one reads what is published.
TEST(MinMaxPyramidTest, WhatTheBuilderPublishesCanBeReadWhileItBuilds) {
    const std::vector<int> layout = {0, 1, 2, 4, 0, 0};
    const std::size_t rows = 600000;
    const std::vector<std::uint16_t> words = RandomRows(layout, rows, 7, 1000, 2000);
    CRecordReader record;
    ASSERT_EQ(record.OpenInMemory(LayoutHeader(layout), words), "");
    CRecordOverview overview(record);
    ASSERT_EQ(overview.Start(UINT64_MAX), "");
    const CMinMaxPyramid& pyramid = overview.GetPyramid();
    std::uint64_t checked = 0;
    double progress = 0.0;
    while (!overview.IsComplete()) {
        // A sample of the newest buckets, each read as soon as it is published.
        const std::uint64_t built = pyramid.GetBuiltBuckets(0);
        for (std::uint64_t b = checked; b < built; b += 97) {
            for (std::size_t c = 0; c < pyramid.GetChannelCount(); ++c) {
                const NumberRange expected =
                    BruteForce(record, c, b * 64, std::min<std::uint64_t>((b + 1) * 64, rows));
                ASSERT_EQ(pyramid.Get(0, c, b, b + 1).max, expected.max);
            }
        }
        checked = built;
        EXPECT_GE(overview.GetProgress(), progress);
        progress = overview.GetProgress();
    }
    overview.Wait();
    EXPECT_EQ(overview.GetProgress(), 1.0);
    EXPECT_FALSE(overview.IsFromCache());
    ExpectBucketsMatch(pyramid, record);
}

// The cache beside the record serves the next opening, and only while the record is unchanged.
TEST(MinMaxPyramidTest, TheCacheFileServesOnlyTheRecordItWasBuiltFrom) {
    CTempFolder folder("pyramid-cache");
    const std::vector<int> layout = {0, 2, 1};
    const std::vector<std::uint16_t> words = RandomRows(layout, 5000, 3);
    TextLines header = LayoutHeader(layout);
    header.push_back("NUM_SAMPS 5000");
    ASSERT_EQ(CTextFile::WriteTextLines(folder.File("Layout.hdr"), header), "");
    auto writeData = [&](std::size_t rows) {
        std::ofstream(folder.File("Layout.dat"), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(words.data()),
                   static_cast<std::streamsize>(rows * 4 * 2));
    };
    writeData(5000);
    const std::string cache = folder.File("Layout.minmax");
    struct Opened {
        CRecordReader record;
        std::unique_ptr<CRecordOverview> overview;
    };
    auto open = [&](std::uint64_t cacheFrom) {
        auto opened = std::make_unique<Opened>();
        EXPECT_EQ(opened->record.Open(folder.File("Layout.hdr")), "");
        opened->overview = std::make_unique<CRecordOverview>(opened->record);
        EXPECT_EQ(opened->overview->Start(cacheFrom), "");
        opened->overview->Wait();
        EXPECT_EQ(opened->overview->TakeCacheError(), "");
        return opened;
    };

    open(UINT64_MAX); // a small record keeps its overview in memory
    EXPECT_FALSE(fs::exists(cache));
    EXPECT_FALSE(open(0)->overview->IsFromCache());
    ASSERT_TRUE(fs::exists(cache));
    EXPECT_FALSE(fs::exists(cache + ".tmp"));
    {
        const auto again = open(0);
        EXPECT_TRUE(again->overview->IsFromCache());
        ExpectBucketsMatch(again->overview->GetPyramid(), again->record);
    }
    // A record that changed is built again, and its cache replaced.
    writeData(4000);
    {
        const auto changed = open(0);
        EXPECT_FALSE(changed->overview->IsFromCache());
        ExpectBucketsMatch(changed->overview->GetPyramid(), changed->record);
        EXPECT_TRUE(open(0)->overview->IsFromCache());
    }
    // A cache cut short or of another version is not used.
    CRecordReader record;
    ASSERT_EQ(record.Open(folder.File("Layout.hdr")), "");
    const std::vector<RecordDataFacts> facts = record.GetDataFacts();
    CMinMaxPyramid fresh(CBlockMinMax::ChannelsOf(record.GetChannels()), record.GetRowWords(),
                         record.GetRowCount());
    EXPECT_TRUE(CPyramidCache::Load(cache, facts, fresh));
    const auto size = fs::file_size(cache);
    fs::resize_file(cache, size - 1);
    CMinMaxPyramid cut(CBlockMinMax::ChannelsOf(record.GetChannels()), record.GetRowWords(),
                       record.GetRowCount());
    EXPECT_FALSE(CPyramidCache::Load(cache, facts, cut));
    fs::resize_file(cache, size);
    {
        std::fstream file(cache, std::ios::binary | std::ios::in | std::ios::out);
        file.seekp(12);
        file.put('\x02'); // the version
    }
    EXPECT_FALSE(CPyramidCache::Load(cache, facts, cut));
    EXPECT_FALSE(cut.IsComplete());
}

// What a view draws per pixel, zoomed in to rows and out to the overview, against the rows.
TEST(MinMaxPyramidTest, TheEnvelopeOfAColumnHoldsItsRowsAndAtMostTheBucketsAroundThem) {
    const std::vector<int> layout = {0, 2, 1, 4};
    const std::size_t rows = 50000;
    const std::vector<std::uint16_t> words = RandomRows(layout, rows, 11, 300, 420);
    CRecordReader record;
    ASSERT_EQ(record.OpenInMemory(LayoutHeader(layout), words), "");
    CRecordOverview overview(record);
    ASSERT_EQ(overview.Start(UINT64_MAX), "");
    overview.Wait();
    const CMinMaxPyramid& pyramid = overview.GetPyramid();
    const CTraceEnvelope envelope(record, pyramid);
    const std::vector<std::size_t> channels = {3, 0, 1};
    std::vector<std::vector<NumberRange>> columns;
    struct View {
        double first;
        double rowsPerPixel;
        int width;
    };
    for (const View& view :
         {View{0.0, 0.25, 400}, View{250.5, 1.0, 300}, View{17.0, 10.3, 200}, View{0.0, 63.9, 700},
          View{1000.0, 64.0, 500}, View{333.0, 300.0, 160}, View{-500.0, 2000.0, 40}}) {
        envelope.Compute(channels, view.first, view.rowsPerPixel, view.width, columns);
        ASSERT_EQ(columns.size(), channels.size());
        const int level = pyramid.LevelFor(view.rowsPerPixel);
        const std::uint64_t bucket =
            level < 0 ? 1 : pyramid.GetBucketRows(static_cast<std::size_t>(level));
        for (int x = 0; x < view.width; ++x) {
            const double from =
                std::clamp(std::ceil(view.first + x * view.rowsPerPixel), 0.0, 50000.0);
            const double to =
                std::clamp(std::ceil(view.first + (x + 1) * view.rowsPerPixel), 0.0, 50000.0);
            const auto first = static_cast<std::uint64_t>(from);
            const auto end = static_cast<std::uint64_t>(to);
            for (std::size_t i = 0; i < channels.size(); ++i) {
                const NumberRange got = columns[i][static_cast<std::size_t>(x)];
                if (first == end) {
                    EXPECT_TRUE(got.IsEmpty());
                    continue;
                }
                // Rows of the buckets the column touches.
                const NumberRange expected =
                    BruteForce(record, channels[i], first / bucket * bucket,
                               std::min<std::uint64_t>((end + bucket - 1) / bucket * bucket, rows));
                ASSERT_EQ(got.min, expected.min) << "x " << x << " rpp " << view.rowsPerPixel;
                ASSERT_EQ(got.max, expected.max) << "x " << x << " rpp " << view.rowsPerPixel;
            }
        }
    }
}
