// Lines are trimmed before their name is looked for; the value is the rest after the name and
// its blank, as it stands.
#include "setup/RecordList.h"

#include "conditions/TextNumbers.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <tuple>

namespace fs = std::filesystem;

namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// "mm-dd-yyyy" as (year, month, day); a date in another form sorts before every readable one.
std::tuple<std::int64_t, std::int64_t, std::int64_t> DayKey(const std::string& date) {
    TextLines parts;
    CTextFile::SplitText(parts, "-", date);
    if (parts.size() != 3)
        return {-1, 0, 0};
    return {ReadWholeNumber(parts[2]), ReadWholeNumber(parts[0]), ReadWholeNumber(parts[1])};
}

// Empty rates first, then those that are numbers by their value, then any other text.
std::tuple<int, double, std::string> RateKey(const std::string& rate) {
    const std::string_view text = Trim(rate);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool number = error == std::errc() && end == text.data() + text.size();
    return {text.empty() ? 0 : number ? 1 : 2, number ? value : 0.0, LowerText(text)};
}

bool Less(const RecordRow& a, const RecordRow& b, int column) {
    switch (column) {
    case RecordColumn::kDate:
        return std::make_tuple(DayKey(a.date), a.time) < std::make_tuple(DayKey(b.date), b.time);
    case RecordColumn::kSamplingRate:
        return RateKey(a.rate) < RateKey(b.rate);
    default:
        return LowerText(a.Column(column)) < LowerText(b.Column(column));
    }
}

} // namespace

std::string RecordRow::Column(int column) const {
    switch (column) {
    case RecordColumn::kFileName:
        return fileName;
    case RecordColumn::kDate:
        return date + " " + time;
    case RecordColumn::kTestInfo:
        return testInfo;
    case RecordColumn::kMemo1:
        return memo1;
    case RecordColumn::kMemo2:
        return memo2;
    default:
        return rate;
    }
}

bool CRecordList::ParseRow(const TextLines& lines, RecordRow& row) {
    const std::pair<const char*, std::string*> fields[] = {{"DATE ", &row.date},
                                                           {"TIME ", &row.time},
                                                           {"COMMENT1 ", &row.testInfo},
                                                           {"COMMENT2 ", &row.memo1},
                                                           {"COMMENT3 ", &row.memo2},
                                                           {"RATE ", &row.rate},
                                                           {"FILENAME ", &row.dataFileName}};
    std::vector<bool> found(std::size(fields), false);
    for (const std::string& line : lines) {
        const std::string_view text = Trim(line);
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            const std::string_view prefix = fields[i].first;
            if (!found[i] && text.starts_with(prefix)) {
                *fields[i].second = std::string(text.substr(prefix.size()));
                found[i] = true;
            }
        }
    }
    return !row.date.empty();
}

void CRecordList::Fill(const std::string& folder) {
    m_folder = folder;
    m_rows.clear();
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::error_code typeError;
        // Only files are read: a folder is not a record, and a pipe or device would never end.
        const fs::file_status status = entry->status(typeError);
        if (!name.ends_with(kHeaderExtension) || fs::is_directory(status) || fs::is_other(status))
            continue;
        TextLines lines;
        RecordRow row;
        row.fileName = name;
        if (CTextFile::ReadTextLines(entry->path().string(), lines).empty() && ParseRow(lines, row))
            m_rows.push_back(std::move(row));
    }
    std::ranges::sort(m_rows, {}, &RecordRow::fileName);
}

void CRecordList::Sort(int column, bool ascending) {
    std::ranges::sort(m_rows, {}, &RecordRow::fileName);
    std::ranges::stable_sort(m_rows, [&](const RecordRow& a, const RecordRow& b) {
        return ascending ? Less(a, b, column) : Less(b, a, column);
    });
}
