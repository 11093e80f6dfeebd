#include "records/BlockMinMax.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

namespace {

template <typename T>
void WordPass(const std::uint16_t* rows, std::size_t rowCount, std::size_t rowWords, T* min,
              T* max) {
    for (std::size_t w = 0; w < rowWords; ++w)
        min[w] = max[w] = static_cast<T>(rows[w]);
    for (std::size_t r = 1; r < rowCount; ++r) {
        const std::uint16_t* row = rows + r * rowWords;
        for (std::size_t w = 0; w < rowWords; ++w) {
            const T value = static_cast<T>(row[w]);
            min[w] = std::min(min[w], value);
            max[w] = std::max(max[w], value);
        }
    }
}

// One two-word channel down the block; the kind is fixed per loop so that the loop holds no
// branch but the comparisons.
template <SampleKind Kind>
NumberRange ColumnPass(const std::uint16_t* rows, std::size_t rowCount, std::size_t rowWords,
                       std::size_t wordIndex) {
    NumberRange range = NumberRange::Empty();
    const std::uint16_t* at = rows + wordIndex;
    if constexpr (Kind == SampleKind::Float32) {
        for (std::size_t r = 0; r < rowCount; ++r, at += rowWords) {
            const double value = ReadSample(at, Kind);
            if (std::isnan(value))
                continue;
            range.min = std::min(range.min, value);
            range.max = std::max(range.max, value);
        }
        return range;
    } else {
        using T = std::conditional_t<Kind == SampleKind::Int32, std::int32_t, std::uint32_t>;
        auto read = [](const std::uint16_t* words) {
            return static_cast<T>(static_cast<std::uint32_t>(words[0]) |
                                  static_cast<std::uint32_t>(words[1]) << 16);
        };
        T min = read(at);
        T max = min;
        for (std::size_t r = 1; r < rowCount; ++r) {
            at += rowWords;
            const T value = read(at);
            min = std::min(min, value);
            max = std::max(max, value);
        }
        return {static_cast<double>(min), static_cast<double>(max)};
    }
}

} // namespace

void NumberRange::Include(const NumberRange& other) {
    min = std::min(min, other.min);
    max = std::max(max, other.max);
}

NumberRange NumberRange::Empty() {
    return {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
}

CBlockMinMax::CBlockMinMax(std::vector<Channel> channels, int rowWords)
    : m_channels(std::move(channels)), m_rowWords(static_cast<std::size_t>(rowWords)),
      m_signedMin(m_rowWords), m_signedMax(m_rowWords), m_ranges(m_channels.size()) {
    m_unsigned = std::any_of(m_channels.begin(), m_channels.end(),
                             [](const Channel& c) { return c.kind == SampleKind::UInt16; });
    if (m_unsigned) {
        m_unsignedMin.resize(m_rowWords);
        m_unsignedMax.resize(m_rowWords);
    }
}

std::vector<CBlockMinMax::Channel>
CBlockMinMax::ChannelsOf(const std::vector<RecordChannel>& channels) {
    std::vector<Channel> result;
    for (const RecordChannel& channel : channels)
        result.push_back({channel.kind, channel.wordIndex});
    return result;
}

void CBlockMinMax::Scan(const std::uint16_t* rows, std::size_t rowCount) {
    WordPass(rows, rowCount, m_rowWords, m_signedMin.data(), m_signedMax.data());
    if (m_unsigned)
        WordPass(rows, rowCount, m_rowWords, m_unsignedMin.data(), m_unsignedMax.data());
    for (std::size_t c = 0; c < m_channels.size(); ++c) {
        const Channel& channel = m_channels[c];
        const auto w = static_cast<std::size_t>(channel.wordIndex);
        switch (channel.kind) {
        case SampleKind::Int16:
            m_ranges[c] = {static_cast<double>(m_signedMin[w]),
                           static_cast<double>(m_signedMax[w])};
            break;
        case SampleKind::UInt16:
            m_ranges[c] = {static_cast<double>(m_unsignedMin[w]),
                           static_cast<double>(m_unsignedMax[w])};
            break;
        case SampleKind::Int32:
            m_ranges[c] = ColumnPass<SampleKind::Int32>(rows, rowCount, m_rowWords, w);
            break;
        case SampleKind::UInt32:
            m_ranges[c] = ColumnPass<SampleKind::UInt32>(rows, rowCount, m_rowWords, w);
            break;
        case SampleKind::Float32:
            m_ranges[c] = ColumnPass<SampleKind::Float32>(rows, rowCount, m_rowWords, w);
            break;
        }
    }
}
