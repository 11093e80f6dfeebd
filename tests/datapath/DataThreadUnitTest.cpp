#include "datapath/DataThread.h"
#include "datapath/DataThreadRing.h"

#include "conditions/ChCnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <vector>

namespace {

std::vector<std::int16_t> Words(std::span<const std::int16_t> a, std::span<const std::int16_t> b) {
    std::vector<std::int16_t> words(a.begin(), a.end());
    words.insert(words.end(), b.begin(), b.end());
    return words;
}

// Row r of a test ring: its words are 100 r + 0, 1, ...
std::vector<std::int16_t> RingRows(std::size_t first, std::size_t count, std::size_t rowWords) {
    std::vector<std::int16_t> words;
    for (std::size_t r = first; r < first + count; ++r) {
        for (std::size_t w = 0; w < rowWords; ++w)
            words.push_back(static_cast<std::int16_t>(100 * r + w));
    }
    return words;
}

TEST(DataThreadRingTest, KeepsTheLastRowsOldestFirstAcrossTheWrap) {
    struct Case {
        std::size_t rows;     // the ring's size in rows
        std::size_t rowWords; // one word: a single channel without calculation
        std::size_t pushed;
    };
    const Case cases[] = {
        {3, 2, 2}, {3, 2, 3}, {3, 2, 5}, {4, 1, 3}, {4, 1, 4}, {4, 1, 5},       {4, 1, 9},
        {2, 3, 7}, {5, 3, 5}, {5, 3, 6}, {1, 1, 3}, {0, 2, 3}, {1000, 1, 1500}, {1000, 3, 2999},
    };
    for (const Case& c : cases) {
        CDataThreadRing ring;
        ring.Init(c.rows, c.rowWords);
        for (std::size_t r = 0; r < c.pushed; ++r)
            ring.Push(RingRows(r, 1, c.rowWords).data(), c.rowWords);
        const std::size_t kept = std::min(c.rows, c.pushed);
        EXPECT_EQ(Words(ring.GetOlder(), ring.GetNewer()),
                  RingRows(c.pushed - kept, kept, c.rowWords))
            << c.rows << " rows of " << c.rowWords << ", " << c.pushed << " pushed";
        EXPECT_EQ(ring.GetWords(), kept * c.rowWords);
        ring.Clear();
        EXPECT_EQ(ring.GetWords(), 0u);
    }

    // A row longer than the ring leaves its last ring-size - 1 words.
    CDataThreadRing small;
    small.Init(1, 2);
    const std::int16_t wide[4] = {7, 8, 9, 10};
    small.Push(wide, 4);
    EXPECT_EQ(Words(small.GetOlder(), small.GetNewer()), (std::vector<std::int16_t>{9, 10}));
}

TEST(DataThreadRowTest, SampleNumbersOfEveryDataType) {
    const std::uint16_t negative[2] = {0xFFFE, 0x1234};
    EXPECT_EQ(ReadSampleNumber(negative, 0), -2.0);
    EXPECT_EQ(ReadSampleNumber(negative, 7), -2.0); // unknown types read as signed 16-bit
    EXPECT_EQ(ReadSampleNumber(negative, 1), 65534.0);
    const std::uint16_t wide[2] = {0x0000, 0x8000};
    EXPECT_EQ(ReadSampleNumber(wide, 2), -2147483648.0);
    EXPECT_EQ(ReadSampleNumber(wide, 3), 2147483648.0);
    const auto bits = std::bit_cast<std::uint32_t>(-1.5f);
    const std::uint16_t real[2] = {static_cast<std::uint16_t>(bits & 0xFFFF),
                                   static_cast<std::uint16_t>(bits >> 16)};
    EXPECT_EQ(ReadSampleNumber(real, 4), -1.5);
}

TEST(DataThreadRowTest, TheConverterGivesExactlyWhatTheChannelGives) {
    std::vector<CChCnd> channels(4);
    channels[0].m_ampCode = 2;
    channels[0].SetRange("10V");
    channels[0].m_balanceResidual = 250;
    channels[1].m_ampCode = 3;
    channels[1].SetRange("2000uST");
    channels[1].m_phy1 = 100.0;
    channels[1].m_amp1 = 10.0;
    channels[1].m_phy2 = -50.0;
    channels[1].m_amp2 = -10.0;
    channels[1].m_amp0 = 0.5;
    channels[2].m_ampCode = 10; // CAN: factor and offset
    channels[2].m_canFactor = 0.01;
    channels[2].m_canOffset = -3.0;
    channels[3].m_ampCode = 2; // no range: 0 units per count
    for (const CChCnd& channel : channels) {
        const CCountConverter convert(channel);
        for (const double count : {-32768.0, -12500.0, -1.0, 0.0, 1.0, 250.0, 25000.0, 1e6})
            EXPECT_EQ(convert(count), channel.CountToPhys(count))
                << channel.m_ampCode << " " << count;
    }
}

} // namespace
