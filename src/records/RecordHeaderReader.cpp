#include "records/RecordHeaderReader.h"

#include "conditions/TextNumbers.h"

#include <cmath>
#include <initializer_list>
#include <string_view>

namespace {

// Rates and intervals outside these bounds are no sampling rate at all.
constexpr double kSlowest = 1e-9;
constexpr double kFastest = 1e9;

constexpr const char* kNoSeries = "The header lists no series.";
constexpr const char* kNoRate =
    "The header gives no sampling rate: rows are shown one second apart.";
constexpr const char* kNoScaling =
    "The header gives no scaling for some series: they show their numbers as recorded.";
constexpr const char* kNoUnits = "The units of the header do not match its series: none are shown.";
constexpr const char* kUnmatchedLines =
    "The channel lines do not match the series: those channels show their series names.";

TextLines Split(const std::string& text) {
    TextLines pieces;
    CTextFile::SplitText(pieces, ",", text);
    return pieces;
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::uint64_t ReadCount(std::string_view text) {
    const std::int64_t value = ReadWholeNumber(text);
    return value < 0 ? 0 : static_cast<std::uint64_t>(value);
}

// "row,time,text,memo": the memo is the rest of the line and may hold commas.
RecordMark ReadMark(const std::string& value) {
    RecordMark mark;
    std::string_view rest(value);
    std::array<std::string_view, 3> fields;
    for (std::string_view& field : fields) {
        const std::size_t comma = rest.find(',');
        field = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    mark.row = ReadCount(fields[0]);
    mark.time = fields[1];
    mark.text = fields[2];
    mark.memo = rest;
    return mark;
}

// The text after `key` up to the first of `ends` (each a ",KEY=") or the end; npos when absent.
std::string_view Field(std::string_view line, std::string_view key,
                       std::initializer_list<std::string_view> ends, std::size_t from = 0) {
    std::size_t start = line.find(key, from);
    if (start == std::string_view::npos)
        return {};
    start += key.size();
    std::size_t end = line.size();
    for (std::string_view next : ends)
        end = std::min(end, line.find(next, start));
    return line.substr(start, end - start);
}

// A channel line "CHn RANGE=..,FILTER=..,NAME=..,MIN=..,MAX=..,FMT=.." (FILTER and FMT absent
// for a calculation channel) fills what the series lists do not say.
void ApplyChannelLine(const std::string& line, RecordChannel& channel) {
    const std::string_view text(line);
    const std::size_t space = text.find(' ');
    const std::string_view fields = space == std::string_view::npos ? "" : text.substr(space + 1);
    channel.range = Field(fields, "RANGE=", {",FILTER=", ",NAME="});
    channel.calculated = fields.find(",FILTER=") == std::string_view::npos;
    const std::size_t nameAt = fields.find("NAME=");
    if (nameAt != std::string_view::npos) {
        const std::string_view name = Field(fields, "NAME=", {",MIN="}, nameAt);
        if (!name.empty())
            channel.name = name;
        const std::size_t after = nameAt + 5 + name.size();
        const std::string_view min = Field(fields, ",MIN=", {","}, after);
        const std::string_view max = Field(fields, ",MAX=", {","}, after);
        if (!min.empty() && !max.empty()) {
            channel.scaleMin = ReadReal(min);
            channel.scaleMax = ReadReal(max);
        }
        const std::string_view format = Field(fields, ",FMT=", {","}, after);
        if (!format.empty())
            channel.dataType = ReadInt32(format);
    }
}

// "CH_10" and "CH10" name the same series number.
bool SameNumber(const std::string& series, const std::string& line) {
    const std::size_t space = line.find(' ');
    const std::string keyword = line.substr(0, space);
    return series.size() > 3 && keyword.size() > 2 && series.substr(3) == keyword.substr(2);
}

bool IsSecondWord(const std::string& series) {
    return series.ends_with("(2)");
}

struct SeriesLists {
    TextLines names;
    TextLines slopes;
    TextLines offsets;
    TextLines units;
    TextLines channelLines;
};

// Groups the series into channels: a series "CH_n(2)" right after "CH_n" is its second word.
void BuildChannels(const SeriesLists& lists, RecordFileHeader& header) {
    const std::size_t count = lists.names.size();
    if (lists.slopes.size() < count || lists.offsets.size() < count)
        header.notes.push_back(kNoScaling);
    const bool unitsMatch = lists.units.size() == count;
    if (!unitsMatch)
        header.notes.push_back(kNoUnits);
    std::size_t nextLine = 0;
    bool unmatched = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string& series = lists.names[i];
        if (IsSecondWord(series) && !header.channels.empty()) {
            RecordChannel& head = header.channels.back();
            if (WordsOf(head.kind) == 1 && head.wordIndex + 1 == static_cast<int>(i) &&
                series == head.series + "(2)") {
                head.kind = SampleKind::Int32;
                continue;
            }
        }
        RecordChannel channel;
        channel.series = series;
        channel.name = series;
        channel.wordIndex = static_cast<int>(i);
        if (i < lists.slopes.size() && i < lists.offsets.size()) {
            channel.slope = ReadReal(lists.slopes[i]);
            channel.offset = ReadReal(lists.offsets[i]);
        }
        if (unitsMatch)
            channel.unit = Trimmed(lists.units[i]);
        while (nextLine < lists.channelLines.size() &&
               IsSecondWord(
                   lists.channelLines[nextLine].substr(0, lists.channelLines[nextLine].find(' '))))
            ++nextLine;
        if (nextLine < lists.channelLines.size() &&
            SameNumber(series, lists.channelLines[nextLine])) {
            ApplyChannelLine(lists.channelLines[nextLine++], channel);
        } else {
            unmatched = unmatched || !lists.channelLines.empty();
        }
        header.channels.push_back(std::move(channel));
    }
    for (RecordChannel& channel : header.channels)
        channel.kind = SampleKindOf(channel.dataType, WordsOf(channel.kind));
    if (unmatched)
        header.notes.push_back(kUnmatchedLines);
}

void ReadXOffset(const std::string& value, RecordFileHeader& header) {
    const TextLines pieces = Split(value);
    if (pieces.size() > 1) {
        header.triggerRow = ReadCount(pieces[1]);
    } else {
        const double rows = std::fabs(ReadReal(value)) / header.rowSeconds;
        header.triggerRow = rows < 1e15 ? static_cast<std::uint64_t>(std::llround(rows)) : 0;
    }
}

} // namespace

std::string CRecordHeaderReader::ParseLines(const TextLines& lines, RecordFileHeader& header) {
    header = RecordFileHeader();
    SeriesLists lists;
    std::string xOffset;
    bool hasRowWords = false;
    bool hasRate = false;
    bool hasRows = false;
    for (const std::string& line : lines) {
        const std::size_t space = line.find(' ');
        const std::string keyword = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (keyword == "DATASET") {
            header.dataset = value;
        } else if (keyword == "DATE") {
            header.date = Trimmed(value);
        } else if (keyword == "TIME") {
            header.time = Trimmed(value);
        } else if (keyword == "RATE" || keyword == "INTERVAL") {
            const double number = ReadReal(value);
            if (number >= kSlowest && number <= kFastest) {
                header.rowSeconds = keyword == "RATE" ? 1.0 / number : number;
                hasRate = true;
            }
        } else if (keyword.size() == 8 && keyword.starts_with("COMMENT") && keyword[7] >= '0' &&
                   keyword[7] <= '3') {
            header.comments[static_cast<std::size_t>(keyword[7] - '0')] = value;
        } else if (keyword == "SERIES") {
            lists.names = Split(value);
        } else if (keyword == "SLOPE") {
            lists.slopes = Split(value);
        } else if (keyword == "Y_OFFSET") {
            lists.offsets = Split(value);
        } else if (keyword == "VERT_UNITS") {
            lists.units = Split(value);
        } else if (keyword == "NUM_SERIES") {
            const std::int64_t words = ReadWholeNumber(value);
            header.rowWords = words > 0 && words <= kMaxRowWords ? static_cast<int>(words) : -1;
            hasRowWords = true;
        } else if (keyword == "X_OFFSET") {
            xOffset = value;
        } else if (keyword == "NUM_SAMPS" || (keyword == "END" && !hasRows)) {
            header.rows = ReadCount(value);
            hasRows = true;
        } else if (keyword == "FILENAME") {
            header.dataName = Trimmed(value);
        } else if (keyword == "MARK") {
            header.marks.push_back(ReadMark(value));
        } else if (keyword == "PAUSE") {
            header.pauses.push_back(ReadMark(value));
        } else if (keyword == "DEVICE") {
            header.device = Trimmed(value);
        } else if (keyword.starts_with("CH")) {
            lists.channelLines.push_back(line);
        }
    }
    if (lists.names.empty() || (lists.names.size() == 1 && Trimmed(lists.names[0]).empty()))
        return kNoSeries;
    if (lists.names.size() > static_cast<std::size_t>(kMaxRowWords) || header.rowWords < 0)
        return CTextFile::kUnexpectedFormat;
    if (!hasRowWords)
        header.rowWords = static_cast<int>(lists.names.size());
    if (static_cast<std::size_t>(header.rowWords) != lists.names.size()) {
        return FormatText("NUM_SERIES %d does not match the %zu series of the SERIES line.",
                          header.rowWords, lists.names.size());
    }
    if (!hasRate)
        header.notes.push_back(kNoRate);
    ReadXOffset(xOffset, header);
    BuildChannels(lists, header);
    return {};
}

std::string CRecordHeaderReader::Read(const std::string& path, RecordFileHeader& header) {
    TextLines lines;
    if (std::string error = CTextFile::ReadTextLines(path, lines); !error.empty())
        return error;
    if (std::string error = ParseLines(lines, header); !error.empty())
        return path + "\n" + error;
    return {};
}
