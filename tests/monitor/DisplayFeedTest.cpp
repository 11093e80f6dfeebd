#include "monitor/DisplayFeed.h"
#include "monitor/CpsRingBuf.h"
#include "monitor/UpdateDataInfo.h"

#include "framework/Document.h"
#include "framework/UpdateHints.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

class CRecordingView : public IView {
public:
    void OnUpdate(IView*, int hint, const CUpdateData* data) override {
        m_hints.push_back(hint);
        const auto* info = dynamic_cast<const CUpdateDataInfo*>(data);
        m_info.push_back(info != nullptr ? *info : CUpdateDataInfo(-99, -99));
    }
    std::vector<int> m_hints;
    std::vector<CUpdateDataInfo> m_info;
};

} // namespace

TEST(DisplayFeedTest, HandOverTellsTheViewsWhichPointsAreNew) {
    CDocument document;
    CRecordingView view;
    document.AddView(&view);
    CDisplayFeed feed;
    ASSERT_TRUE(feed.Init(1, 10, 1));
    CCpsRingBuf ring;
    ASSERT_TRUE(ring.Create(4, 1, 0.0, 1.0));

    EXPECT_FALSE(feed.HandOver(&ring, document)) << "nothing completed yet";
    for (int i = 0; i < 3; ++i) {
        const double row[] = {static_cast<double>(i)};
        feed.AddRow(row, 1);
    }
    EXPECT_FALSE(feed.HandOver(nullptr, document)) << "no ring, nothing taken";
    ASSERT_TRUE(feed.HandOver(&ring, document));
    for (int i = 3; i < 6; ++i) {
        const double row[] = {static_cast<double>(i)};
        feed.AddRow(row, 1);
    }
    ASSERT_TRUE(feed.HandOver(&ring, document));

    ASSERT_EQ(view.m_hints,
              (std::vector<int>{UpdateHint::kNewDisplayData, UpdateHint::kNewDisplayData}));
    EXPECT_EQ(view.m_info[0].m_lastOld, 0);
    EXPECT_EQ(view.m_info[0].m_dropped, 0);
    EXPECT_EQ(view.m_info[1].m_lastOld, 0) << "2 - 2 dropped";
    EXPECT_EQ(view.m_info[1].m_dropped, 2);
    EXPECT_DOUBLE_EQ(ring.GetPoint(0)[0].minimum, 2.0);
    EXPECT_DOUBLE_EQ(ring.GetFirstTime(), 2.0);

    CCpsRingBuf invalid;
    const double row[] = {9.0};
    feed.AddRow(row, 1);
    EXPECT_FALSE(feed.HandOver(&invalid, document));
    ASSERT_TRUE(feed.HandOver(&ring, document)) << "the point waited for a ring";
    EXPECT_DOUBLE_EQ(ring.GetPoint(ring.NewestRel())[0].maximum, 9.0);
    EXPECT_EQ(view.m_info[2].m_lastOld, 2);
    EXPECT_EQ(view.m_info[2].m_dropped, 1);
}

// The data thread folds rows while the user-interface thread takes points out at its own pace.
// The buffer holds every point of the run, so no row is dropped whatever the timing, and the
// ring must end with exactly the points of a single-threaded fold.
TEST(DisplayFeedTest, WriterAndReaderThreadsMeetOnlyUnderTheLock) {
    constexpr int kChannels = 8;
    constexpr int kFactor = 3;
    constexpr int kRows = 30001; // the last row stays in a point under construction
    constexpr int kPoints = kRows / kFactor;
    CDisplayFeed feed;
    ASSERT_TRUE(feed.Init(kFactor, kPoints + 1, kChannels));
    CCpsRingBuf ring;
    ASSERT_TRUE(ring.Create(kPoints, kChannels, 0.0, 1.0));

    auto value = [](int row, int channel) {
        return static_cast<double>((row * 7919 + channel * 104729) % 1000) - 500.0;
    };
    std::atomic<bool> written{false};
    std::thread writer([&] {
        std::vector<double> row(kChannels);
        for (int r = 0; r < kRows; ++r) {
            for (int c = 0; c < kChannels; ++c)
                row[static_cast<std::size_t>(c)] = value(r, c);
            feed.AddRow(row.data(), kChannels);
        }
        written = true;
    });
    std::vector<CUpdateDataInfo> updates;
    std::thread reader([&] {
        while (!written.load()) {
            CUpdateDataInfo info;
            if (feed.TransferTo(ring, info))
                updates.push_back(info);
            std::this_thread::yield();
        }
        CUpdateDataInfo info;
        if (feed.TransferTo(ring, info))
            updates.push_back(info);
    });
    writer.join();
    reader.join();

    ASSERT_EQ(ring.NewestRel(), kPoints - 1);
    for (int p = 0; p < kPoints; ++p) {
        for (int c = 0; c < kChannels; ++c) {
            double minimum = value(p * kFactor, c);
            double maximum = minimum;
            for (int k = 1; k < kFactor; ++k) {
                minimum = std::min(minimum, value(p * kFactor + k, c));
                maximum = std::max(maximum, value(p * kFactor + k, c));
            }
            ASSERT_DOUBLE_EQ(ring.GetPoint(p)[c].minimum, minimum) << p << "/" << c;
            ASSERT_DOUBLE_EQ(ring.GetPoint(p)[c].maximum, maximum) << p << "/" << c;
        }
    }
    for (const CUpdateDataInfo& info : updates)
        EXPECT_EQ(info.m_dropped, 0);
    EXPECT_DOUBLE_EQ(ring.GetFirstTime(), 0.0);
}
