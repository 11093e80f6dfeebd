// Dates are the local time of the last write, on the card as the recorder keeps it.
#include "setup/TransferRows.h"

#include "conditions/TextNumbers.h"
#include "framework/Clock.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

void SetDate(TransferRow& row, const LinkCardTime& t) {
    row.date = FormatText("%02d-%02d-%04d %02d:%02d:%02d", t.month, t.day, t.year, t.hour, t.minute,
                          t.second);
    row.dateKey = t.year;
    for (const std::int32_t field : {t.month, t.day, t.hour, t.minute, t.second})
        row.dateKey = row.dateKey * 100 + field;
}

LinkCardTime LocalWriteTime(const fs::file_time_type& written) {
    const LocalTime t = ToLocalTime(written);
    return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

} // namespace

std::string TransferRow::SizeText() const {
    return FormatText("%llu", static_cast<unsigned long long>(size));
}

std::string TransferRow::Column(int column) const {
    switch (column) {
    case TransferColumn::kName:
        return name;
    case TransferColumn::kDate:
        return date;
    default:
        return SizeText();
    }
}

std::vector<TransferRow> CardRows(const LinkCardFolder& folder) {
    std::vector<TransferRow> rows;
    for (const LinkCardFile& file : folder.files) {
        TransferRow row{file.name, {}, 0, file.size, file.attributes};
        SetDate(row, file.time);
        rows.push_back(std::move(row));
    }
    return rows;
}

bool IsPcListName(const std::string& name) {
    const std::string lower = LowerText(name);
    return std::ranges::any_of(
        std::initializer_list<const char*>{".hdr", ".dat", ".wav"},
        [&](const char* extension) { return lower.find(extension, 1) != std::string::npos; });
}

std::vector<TransferRow> PcRows(const std::string& folder) {
    std::vector<TransferRow> rows;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::error_code fileError;
        if (!entry->is_regular_file(fileError) || !IsPcListName(name))
            continue;
        const std::uint64_t size = entry->file_size(fileError);
        const fs::file_time_type written = entry->last_write_time(fileError);
        if (fileError)
            continue;
        TransferRow row{name, {}, 0, size, 0};
        SetDate(row, LocalWriteTime(written));
        rows.push_back(std::move(row));
    }
    return rows;
}

void SortRows(std::vector<TransferRow>& rows, int column, bool ascending) {
    const auto less = [column](const TransferRow& a, const TransferRow& b) {
        switch (column) {
        case TransferColumn::kDate:
            return a.dateKey < b.dateKey;
        case TransferColumn::kSize:
            return a.size < b.size;
        default:
            return LowerText(a.name) < LowerText(b.name);
        }
    };
    std::ranges::stable_sort(rows, [&](const TransferRow& a, const TransferRow& b) {
        return ascending ? less(a, b) : less(b, a);
    });
}
