#include "records/TraceEnvelope.h"

#include "records/BlockMinMax.h"

#include <algorithm>
#include <cmath>

CTraceEnvelope::CTraceEnvelope(const CRecordReader& record, const CMinMaxPyramid& pyramid)
    : m_record(record), m_pyramid(pyramid) {}

void CTraceEnvelope::Compute(std::span<const std::size_t> channels, double firstRow,
                             double rowsPerPixel, int width,
                             std::vector<std::vector<NumberRange>>& columns) const {
    const auto pixels = static_cast<std::size_t>(std::max(width, 0));
    columns.resize(channels.size());
    for (std::vector<NumberRange>& column : columns)
        column.assign(pixels, NumberRange::Empty());
    if (pixels == 0 || !(rowsPerPixel > 0.0))
        return;
    // bounds[x] is the first row of column x, clamped to the record.
    const double rows = static_cast<double>(m_record.GetRowCount());
    std::vector<std::uint64_t> bounds(pixels + 1);
    for (std::size_t x = 0; x <= pixels; ++x) {
        const double row = std::ceil(firstRow + static_cast<double>(x) * rowsPerPixel);
        bounds[x] = static_cast<std::uint64_t>(std::clamp(row, 0.0, rows));
    }
    const int level = m_pyramid.LevelFor(rowsPerPixel);
    if (level >= 0)
        FromOverview(channels, level, bounds, columns);
    else
        FromRows(channels, bounds, columns);
}

void CTraceEnvelope::FromOverview(std::span<const std::size_t> channels, int level,
                                  std::span<const std::uint64_t> bounds,
                                  std::vector<std::vector<NumberRange>>& columns) const {
    const auto l = static_cast<std::size_t>(level);
    const std::uint64_t bucketRows = m_pyramid.GetBucketRows(l);
    const std::uint64_t built = m_pyramid.GetBuiltBuckets(l);
    for (std::size_t x = 0; x + 1 < bounds.size(); ++x) {
        const std::uint64_t first = bounds[x] / bucketRows;
        const std::uint64_t end = std::min(built, (bounds[x + 1] + bucketRows - 1) / bucketRows);
        if (bounds[x] == bounds[x + 1] || first >= end)
            continue;
        for (std::size_t i = 0; i < channels.size(); ++i)
            columns[i][x] = m_pyramid.Get(l, channels[i], first, end);
    }
}

void CTraceEnvelope::FromRows(std::span<const std::size_t> channels,
                              std::span<const std::uint64_t> bounds,
                              std::vector<std::vector<NumberRange>>& columns) const {
    std::vector<CBlockMinMax::Channel> wanted;
    const std::vector<CBlockMinMax::Channel> all = CBlockMinMax::ChannelsOf(m_record.GetChannels());
    for (std::size_t channel : channels)
        wanted.push_back(all[channel]);
    CBlockMinMax scan(std::move(wanted), m_record.GetRowWords());
    const auto rowWords = static_cast<std::uint64_t>(m_record.GetRowWords());
    for (std::size_t x = 0; x + 1 < bounds.size(); ++x) {
        // A column may span the end of one split file and the start of the next.
        for (std::uint64_t row = bounds[x]; row < bounds[x + 1];) {
            const std::span<const std::uint16_t> run = m_record.RowRun(row);
            const std::uint64_t count = std::min(run.size() / rowWords, bounds[x + 1] - row);
            scan.Scan(run.data(), count);
            for (std::size_t i = 0; i < channels.size(); ++i)
                columns[i][x].Include(scan.Get(i));
            row += count;
        }
    }
}
