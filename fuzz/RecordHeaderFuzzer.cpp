// Fuzz target of the record reader: a header text, then optionally a NUL and the bytes of its
// data file. Beyond not crashing: every channel lies within the row, the overview's top bucket
// of each channel is the min/max of all its rows, and what a view draws stays within it.
#include "FuzzLines.h"
#include "records/MinMaxPyramid.h"
#include "records/RecordCsvExport.h"
#include "records/RecordReader.h"
#include "records/TraceEnvelope.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

void CheckChannels(const RecordFileHeader& header) {
    for (const RecordChannel& channel : header.channels) {
        if (channel.wordIndex < 0 || channel.wordIndex + WordsOf(channel.kind) > header.rowWords)
            __builtin_trap();
    }
}

NumberRange AllRows(const CRecordReader& record, std::size_t channel) {
    NumberRange range = NumberRange::Empty();
    for (std::uint64_t row = 0; row < record.GetRowCount(); ++row) {
        const double value = record.Number(channel, row);
        if (!std::isnan(value))
            range.Include({value, value});
    }
    return range;
}

void ExerciseRecord(const CRecordReader& record) {
    const std::size_t channels = record.GetChannels().size();
    CMinMaxPyramid pyramid(CBlockMinMax::ChannelsOf(record.GetChannels()), record.GetRowWords(),
                           record.GetRowCount());
    if (!pyramid.Allocate().empty())
        return;
    for (std::uint64_t row = 0; row < record.GetRowCount(); ++row) {
        const std::span<const std::uint16_t> run = record.RowRun(row);
        pyramid.AddRows(run.first(static_cast<std::size_t>(record.GetRowWords())));
    }
    if (!pyramid.IsComplete())
        __builtin_trap();
    const std::size_t top = pyramid.GetLevelCount() - 1;
    std::vector<std::size_t> all;
    for (std::size_t c = 0; c < channels; ++c) {
        all.push_back(c);
        if (record.GetRowCount() == 0)
            continue;
        const NumberRange got = pyramid.Get(top, c, 0, 1);
        const NumberRange expected = AllRows(record, c);
        if (got.min != expected.min || got.max != expected.max)
            __builtin_trap();
    }
    const CTraceEnvelope envelope(record, pyramid);
    std::vector<std::vector<NumberRange>> columns;
    for (const double rowsPerPixel : {0.3, 7.0, 300.0}) {
        envelope.Compute(all, -3.0, rowsPerPixel, 50, columns);
        for (std::size_t c = 0; c < channels; ++c) {
            const NumberRange whole = pyramid.Get(top, c, 0, pyramid.GetBucketCount(top));
            for (const NumberRange& column : columns[c]) {
                if (!column.IsEmpty() && (column.min < whole.min || column.max > whole.max))
                    __builtin_trap();
            }
        }
    }
    CRecordCsvExport::Request request;
    request.channels = all;
    (void)CRecordCsvExport::HeaderRow(record, request);
    const CRecordTimeline& timeline = record.GetTimeline();
    for (std::uint64_t row = 0; row < record.GetRowCount() && row < 4; ++row) {
        (void)CRecordTimeline::FormatDateTime(timeline.WallClock(static_cast<double>(row)), 3);
        for (std::size_t c = 0; c < channels; ++c)
            (void)ValueText(record.Value(c, row), record.GetChannels()[c].ValueDecimals());
    }
    for (const RecordMark& mark : record.GetMarks()) {
        if (mark.row > record.GetRowCount())
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    const std::size_t headerSize = std::strlen(std::string(text, size).c_str());
    const TextLines lines = ToLines(std::string(text, headerSize));

    RecordFileHeader header;
    if (CRecordHeaderReader::ParseLines(lines, header).empty())
        CheckChannels(header);

    std::vector<std::uint16_t> words;
    if (headerSize < size) {
        const std::size_t bytes = size - headerSize - 1;
        words.resize(bytes / 2);
        if (!words.empty())
            std::memcpy(words.data(), data + headerSize + 1, words.size() * 2);
    }
    CRecordReader record;
    if (record.OpenInMemory(lines, words).empty())
        ExerciseRecord(record);
    return 0;
}
