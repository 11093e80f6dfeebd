#include "records/RecordCsvExport.h"

#include "conditions/TextNumbers.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace {

// The buffer goes to the disk once it holds this much.
constexpr std::size_t kFlushBytes = 1 << 20;
// Progress is told, and rows released, after this many rows.
constexpr std::uint64_t kStepRows = 1 << 16;
constexpr int kMaxTimeDecimals = 6;
// A row time this close to a whole number of steps counts as one.
constexpr double kRowTolerance = 1e-6;

std::string Quoted(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

void AppendTime(std::string& out, double seconds, int decimals) {
    char text[400];
    const auto result = std::to_chars(text, text + sizeof(text), seconds == 0.0 ? 0.0 : seconds,
                                      std::chars_format::fixed, decimals);
    out.append(text, result.ptr);
}

std::string Trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The channel name without the "(M)" or "(S)" of its recorder.
std::string WithoutRecorder(const std::string& name) {
    return name.starts_with("(M)") || name.starts_with("(S)") ? name.substr(3) : name;
}

std::optional<std::size_t> FindChannel(const std::vector<RecordChannel>& channels,
                                       const std::string& item) {
    if (!item.empty() && item.find_first_not_of("0123456789") == std::string::npos) {
        const std::int64_t number = ReadWholeNumber(item);
        if (number >= 1 && static_cast<std::uint64_t>(number) <= channels.size())
            return static_cast<std::size_t>(number - 1);
        return std::nullopt;
    }
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (channels[i].name == item || channels[i].series == item)
            return i;
    }
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        if (WithoutRecorder(channels[i].name) == item) {
            if (found)
                return std::nullopt; // the same name on two recorders
            found = i;
        }
    }
    return found;
}

} // namespace

int CRecordCsvExport::TimeDecimals(double rowSeconds) {
    double scaled = rowSeconds;
    for (int decimals = 0; decimals < kMaxTimeDecimals; ++decimals, scaled *= 10.0) {
        if (std::fabs(scaled - std::round(scaled)) <= kRowTolerance * scaled)
            return decimals;
    }
    return kMaxTimeDecimals;
}

std::string CRecordCsvExport::HeaderRow(const CRecordReader& record, const Request& request) {
    std::string row = request.time == TimeColumn::WallClock ? "Date Time" : "Time [s]";
    for (const std::size_t index : request.channels) {
        const RecordChannel& channel = record.GetChannels()[index];
        row += ',';
        row +=
            Quoted(channel.unit.empty() ? channel.name : channel.name + " [" + channel.unit + "]");
    }
    return row;
}

void CRecordCsvExport::RowsBetween(const CRecordReader& record, std::optional<double> from,
                                   std::optional<double> to, Request& request) {
    const CRecordTimeline& timeline = record.GetTimeline();
    const double rows = static_cast<double>(record.GetRowCount());
    request.firstRow = 0;
    request.endRow = record.GetRowCount();
    if (from) {
        const double first = std::ceil(timeline.RowAtElapsed(*from) - kRowTolerance);
        request.firstRow = static_cast<std::uint64_t>(std::clamp(first, 0.0, rows));
    }
    if (to) {
        const double end = std::floor(timeline.RowAtElapsed(*to) + kRowTolerance) + 1.0;
        request.endRow = static_cast<std::uint64_t>(std::clamp(end, 0.0, rows));
    }
    request.endRow = std::max(request.endRow, request.firstRow);
}

std::string CRecordCsvExport::ChooseChannels(const std::vector<RecordChannel>& channels,
                                             const std::string& list,
                                             std::vector<std::size_t>& chosen) {
    TextLines items;
    CTextFile::SplitText(items, ",", list);
    for (const std::string& piece : items) {
        const std::string item = Trim(piece);
        if (item.empty())
            continue;
        const std::optional<std::size_t> found = FindChannel(channels, item);
        if (!found)
            return "The record has no channel \"" + item + "\".";
        chosen.push_back(*found);
    }
    return {};
}

std::string CRecordCsvExport::Write(const CRecordReader& record, const Request& request,
                                    const std::string& path, const Progress& progress) {
    namespace fs = std::filesystem;
    const std::string temporary = path + ".tmp";
    errno = 0;
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        return CTextFile::OpenFailureMessage(path, errno, FileDirection::Writing);
    const CRecordTimeline& timeline = record.GetTimeline();
    const std::vector<RecordChannel>& channels = record.GetChannels();
    const int decimals = TimeDecimals(timeline.GetRowSeconds());
    const auto rowWords = static_cast<std::uint64_t>(record.GetRowWords());
    const std::uint64_t end = std::min(request.endRow, record.GetRowCount());
    std::vector<int> valueDecimals;
    for (const std::size_t index : request.channels)
        valueDecimals.push_back(channels[index].ValueDecimals());
    std::string buffer = HeaderRow(record, request) + "\r\n";
    bool written = true;
    bool cancelled = false;
    for (std::uint64_t row = request.firstRow; row < end && written && !cancelled;) {
        const std::span<const std::uint16_t> run = record.RowRun(row);
        const std::uint64_t count = std::min({run.size() / rowWords, end - row, kStepRows});
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint16_t* words = run.data() + i * rowWords;
            const double at = static_cast<double>(row + i);
            if (request.time == TimeColumn::WallClock)
                buffer += CRecordTimeline::FormatDateTime(timeline.WallClock(at), decimals);
            else
                AppendTime(buffer, timeline.Elapsed(at), decimals);
            for (std::size_t c = 0; c < request.channels.size(); ++c) {
                const RecordChannel& channel = channels[request.channels[c]];
                buffer += ',';
                AppendValueText(buffer, channel.Physical(channel.Read(words)), valueDecimals[c]);
            }
            buffer += "\r\n";
            if (buffer.size() >= kFlushBytes) {
                written = std::fwrite(buffer.data(), 1, buffer.size(), file) == buffer.size();
                buffer.clear();
            }
        }
        record.ReleaseRows(row, count);
        row += count;
        cancelled = progress && !progress(static_cast<double>(row - request.firstRow) /
                                          static_cast<double>(end - request.firstRow));
    }
    written = written && std::fwrite(buffer.data(), 1, buffer.size(), file) == buffer.size();
    const int error = errno;
    written = std::fclose(file) == 0 && written;
    std::error_code fileError;
    if (!cancelled && written)
        fs::rename(temporary, path, fileError);
    if (cancelled || !written || fileError) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    if (cancelled)
        return kCancelled;
    if (!written || fileError) {
        const int reason = fileError ? fileError.value() : error != 0 ? error : EIO;
        return CTextFile::OpenFailureMessage(path, reason, FileDirection::Writing);
    }
    return {};
}
