// The smallest and largest number of each channel over a block of rows: the one loop that
// reads rows for the overview and for a view zoomed in below the overview's finest level.
// One-word channels come from a word-by-word pass that the compiler vectorises; two-word
// channels are read column by column while the block is in the cache.
#pragma once

#include "records/RecordChannel.h"

#include <cstdint>
#include <span>
#include <vector>

// A range of numbers; empty (min > max) when no number was found (all NaN).
struct NumberRange {
    double min;
    double max;

    bool IsEmpty() const { return min > max; }
    void Include(const NumberRange& other);
    static NumberRange Empty();
};

class CBlockMinMax {
public:
    struct Channel {
        SampleKind kind;
        int wordIndex;
    };

    CBlockMinMax(std::vector<Channel> channels, int rowWords);
    static std::vector<Channel> ChannelsOf(const std::vector<RecordChannel>& channels);

    // Scans `rowCount` (at least 1) rows at `rows`; Get gives each channel's range of them.
    void Scan(const std::uint16_t* rows, std::size_t rowCount);
    NumberRange Get(std::size_t channel) const { return m_ranges[channel]; }
    std::size_t GetChannelCount() const { return m_channels.size(); }
    const std::vector<Channel>& GetChannels() const { return m_channels; }

private:
    std::vector<Channel> m_channels;
    std::size_t m_rowWords;
    bool m_unsigned = false; // any channel of unsigned 16-bit numbers
    std::vector<std::int16_t> m_signedMin;
    std::vector<std::int16_t> m_signedMax;
    std::vector<std::uint16_t> m_unsignedMin;
    std::vector<std::uint16_t> m_unsignedMax;
    std::vector<NumberRange> m_ranges;
};
