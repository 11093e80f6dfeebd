// What a trace view draws: per pixel column, the smallest and largest number of each shown
// channel over the rows that column covers. Zoomed out, it reads the overview level with
// about one bucket per pixel; zoomed in below the overview's finest level, the rows
// themselves — so a redraw never reads more than a few buckets or rows per pixel.
#pragma once

#include "records/MinMaxPyramid.h"
#include "records/RecordReader.h"

#include <cstddef>
#include <span>
#include <vector>

class CTraceEnvelope {
public:
    CTraceEnvelope(const CRecordReader& record, const CMinMaxPyramid& pyramid);

    // Column x of `width` covers the rows r with firstRow + x * rowsPerPixel <= r <
    // firstRow + (x + 1) * rowsPerPixel. columns[i][x] is the range of channels[i] there; empty
    // where the column holds no row or the overview there is not built yet.
    void Compute(std::span<const std::size_t> channels, double firstRow, double rowsPerPixel,
                 int width, std::vector<std::vector<NumberRange>>& columns) const;

private:
    void FromOverview(std::span<const std::size_t> channels, int level,
                      std::span<const std::uint64_t> bounds,
                      std::vector<std::vector<NumberRange>>& columns) const;
    void FromRows(std::span<const std::size_t> channels, std::span<const std::uint64_t> bounds,
                  std::vector<std::vector<NumberRange>>& columns) const;

    const CRecordReader& m_record;
    const CMinMaxPyramid& m_pyramid;
};
