#include "records/BlockMinMax.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

NumberRange ColumnPass(const std::uint16_t* rows, std::size_t rowCount, std::size_t rowWords,
                       const CBlockMinMax::Channel& channel) {
    NumberRange range = NumberRange::Empty();
    const std::uint16_t* at = rows + channel.wordIndex;
    for (std::size_t r = 0; r < rowCount; ++r, at += rowWords) {
        const double value = ReadSample(at, channel.kind);
        if (std::isnan(value))
            continue;
        range.min = std::min(range.min, value);
        range.max = std::max(range.max, value);
    }
    return range;
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
        default:
            m_ranges[c] = ColumnPass(rows, rowCount, m_rowWords, channel);
            break;
        }
    }
}
