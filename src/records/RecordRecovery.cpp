#include "records/RecordRecovery.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "records/RecordHeaderFiles.h"
#include "records/RecordWriter.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// A running record writes its provisional header every few seconds: one this fresh is alive.
constexpr auto kLiveProvisional = std::chrono::milliseconds(5 * CRecordWriter::kProvisionalMs);

bool IsFresh(const fs::path& path) {
    std::error_code error;
    const auto written = fs::last_write_time(path, error);
    return !error && fs::file_time_type::clock::now() - written < kLiveProvisional;
}

std::string HeaderOf(const fs::path& helper) {
    const std::string path = helper.string();
    return path.substr(0, path.size() - helper.extension().string().size());
}

// The number after `keyword` and a blank on the first line that starts with them; -1 when none.
long long NumberAfter(const TextLines& lines, const std::string& keyword) {
    for (const std::string& line : lines) {
        if (StartsWith(line, keyword + " "))
            return ReadWholeNumber(line.substr(keyword.size() + 1));
    }
    return -1;
}

std::string TextAfter(const TextLines& lines, const std::string& keyword) {
    for (const std::string& line : lines) {
        if (StartsWith(line, keyword + " "))
            return line.substr(keyword.size() + 1);
    }
    return {};
}

// The header with its row counts set to `rows`; marks and resume points past them were in rows
// the disk never got.
TextLines CompletedLines(const TextLines& lines, std::uint64_t rows) {
    TextLines done;
    for (const std::string& line : lines) {
        if (StartsWith(line, "NUM_SAMPS ")) {
            done.push_back(FormatText("NUM_SAMPS %llu", static_cast<unsigned long long>(rows)));
        } else if (StartsWith(line, "END ")) {
            done.push_back(FormatText("END %llu", static_cast<unsigned long long>(rows)));
        } else if ((StartsWith(line, "MARK ") || StartsWith(line, "PAUSE ")) &&
                   ReadWholeNumber(line.substr(line.find(' ') + 1)) >
                       static_cast<long long>(rows)) {
            continue;
        } else {
            done.push_back(line);
        }
    }
    return done;
}

// Completes the record of one provisional header; the log line, empty when nothing was done.
std::string CompleteRecord(const fs::path& part) {
    const std::string partPath = part.string();
    const std::string header = HeaderOf(part);
    std::error_code error;
    if (fs::exists(header, error)) {
        // The final header was written; only removing the provisional one was left.
        RemoveHeaderHelpers(header);
        return {};
    }
    if (IsFresh(part))
        return {};

    TextLines lines;
    if (std::string message = CTextFile::ReadTextLines(partPath, lines); !message.empty())
        return message;
    const long long words = NumberAfter(lines, "NUM_SERIES");
    const std::string dataName = TextAfter(lines, "FILENAME");
    if (words <= 0 || dataName.empty() || dataName.find('/') != std::string::npos)
        return partPath + ":" + CTextFile::kUnexpectedFormat;
    const std::string data = (part.parent_path() / dataName).string();
    const std::uintmax_t bytes = fs::file_size(data, error);
    if (error) {
        RemoveHeaderHelpers(header);
        return data + CRecordWriter::kDataMissing;
    }
    const auto rowBytes = static_cast<std::uintmax_t>(words) * 2;
    const std::uintmax_t rows = bytes / rowBytes;
    if (rows * rowBytes != bytes) {
        fs::resize_file(data, rows * rowBytes, error);
        if (error)
            return CTextFile::OpenFailureMessage(data, error.value(), FileDirection::Writing);
    }
    if (std::string message = WriteFinalHeader(header, CompletedLines(lines, rows));
        !message.empty())
        return message;
    return FormatText("Completed unfinished HDD Record : %s (%llu rows)", header.c_str(),
                      static_cast<unsigned long long>(rows));
}

} // namespace

std::vector<std::string> CompleteUnfinishedRecords(const std::string& folder) {
    std::vector<fs::path> parts;
    std::vector<fs::path> rooms;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const fs::path& path = entry.path();
        if (path.stem().extension() != ".hdr" || !entry.is_regular_file(error))
            continue;
        if (path.extension() == kProvisionalSuffix)
            parts.push_back(path);
        else if (path.extension() == kRoomSuffix)
            rooms.push_back(path);
    }
    std::vector<std::string> log;
    for (const fs::path& part : parts) {
        if (std::string line = CompleteRecord(part); !line.empty())
            log.push_back(std::move(line));
    }
    // Room kept for a header that has nothing left to describe it.
    for (const fs::path& room : rooms) {
        if (!fs::exists(ProvisionalHeaderPath(HeaderOf(room)), error) && !IsFresh(room))
            fs::remove(room, error);
    }
    return log;
}
