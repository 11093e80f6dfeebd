#include "records/RecordNames.h"

#include "conditions/TextNumbers.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string_view>

namespace {

// Past this many records of one name a name is used again rather than searching on.
constexpr int kMaxRecordNameAttempts = 100000;

bool IsFiveDigits(const std::string& text) {
    return text.size() == 5 &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

} // namespace

std::string RecordFolder(const CRecCnd& master) {
    std::string folder = master.m_hddRecFolder;
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder + "/";
}

std::string RecordBase(const CRecCnd& master) {
    const std::string& name = master.m_baseFileName;
    const std::size_t slash = name.find_last_of('\\');
    std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    const std::size_t dot = base.find_last_of('.');
    return dot == std::string::npos ? base : base.substr(0, dot);
}

std::string ComputeNextRecordName(const CRecCnd& master) {
    const std::string base = RecordBase(master);
    const std::string prefix = base + "_";
    long largest = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(RecordFolder(master), error)) {
        const std::filesystem::path& path = entry.path();
        const std::string extension = path.extension().string();
        const std::string stem = path.stem().string();
        if ((extension != ".hdr" && extension != ".dat") || !stem.starts_with(prefix))
            continue;
        const std::string number = stem.substr(prefix.size());
        if (IsFiveDigits(number))
            largest = std::max(largest, static_cast<long>(ReadWholeNumber(number)));
    }
    return prefix + FormatText("%05ld", largest + 1);
}

std::string NextRecordDisplayName(const CRecCnd& master, const std::string& nextRecordName) {
    return master.m_hddRecFileExt ? nextRecordName : RecordBase(master) + "_yymmdd_hhmmss";
}

std::string IncrementRecordName(const std::string& name) {
    if (name.size() < 5)
        return name;
    const std::string head = name.substr(0, name.size() - 5);
    const long number = static_cast<long>(ReadWholeNumber(name.substr(name.size() - 5)));
    return head + FormatText("%05ld", number + 1);
}

std::string RecordName(const CRecCnd& master, const std::string& nextRecordName,
                       const LocalTime& start) {
    if (master.m_hddRecFileExt)
        return nextRecordName;
    return RecordBase(master) + FormatText("_%02d%02d%02d_%02d%02d%02d", start.year % 100,
                                           start.month, start.day, start.hour, start.minute,
                                           start.second);
}

std::string FreeRecordName(const std::string& folder, const std::string& name, bool countMode) {
    auto taken = [&folder](const std::string& candidate) {
        std::error_code error;
        return std::filesystem::exists(folder + candidate + ".hdr", error) ||
               std::filesystem::exists(folder + candidate + ".dat", error);
    };
    std::string candidate = name;
    for (int attempt = 2; taken(candidate) && attempt < kMaxRecordNameAttempts; ++attempt)
        candidate = countMode ? IncrementRecordName(candidate) : name + FormatText("-%d", attempt);
    return candidate;
}

std::string CheckNameText(const std::string& text, std::size_t limit) {
    if (text.size() > limit)
        return FormatText("Please enter no more than %zu characters.", limit);
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 128 || std::string_view("\t ,\"*./\\?:;<>|").find(c) != std::string_view::npos)
            return FormatText("You can not use \"%c\" charactor", c);
    }
    return {};
}

std::string JoinBaseFileName(const std::string& cardFolder, const std::string& fileName) {
    std::string folder = cardFolder;
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder + "\\" + fileName;
}

void SplitBaseFileName(const std::string& baseFileName, std::string& cardFolder,
                       std::string& fileName) {
    const std::size_t slash = baseFileName.find_last_of('\\');
    cardFolder = slash == std::string::npos ? std::string() : baseFileName.substr(0, slash);
    fileName = slash == std::string::npos ? baseFileName : baseFileName.substr(slash + 1);
}
