// The header is always written beside itself and renamed over (or to) its final name, so a
// failed write leaves the record as it was.
#include "setup/RecordListEdit.h"

#include "conditions/TextNumbers.h"
#include "framework/Prompt.h"
#include "records/PyramidCache.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The name up to its last ".", or the whole name without one.
std::string BaseName(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The base name the edited file name asks for: a ".dat" (or ".hdr") of the name is left off.
std::string WantedBase(const std::string& fileName) {
    const std::string lower = LowerText(fileName);
    const bool extension = lower.ends_with(".dat") || lower.ends_with(".hdr");
    return extension ? fileName.substr(0, fileName.size() - 4) : fileName;
}

void SetLine(TextLines& lines, const std::string& prefix, const std::string& value) {
    const std::string line = prefix + value;
    for (std::string& candidate : lines) {
        const std::size_t start = candidate.find_first_not_of(" \t");
        if (start != std::string::npos && candidate.compare(start, prefix.size(), prefix) == 0) {
            candidate = line;
            return;
        }
    }
    lines.push_back(line);
}

std::string FileError(const fs::path& path, const std::error_code& error) {
    return CTextFile::OpenFailureMessage(path.string(), error.value(), FileDirection::Writing);
}

// "/" and "\" would make the name a path; both are refused as the setup refuses them.
bool RefusedName(const std::string& base, IPrompt& prompt) {
    const std::size_t bad = base.find_first_of("/\\");
    if (bad != std::string::npos) {
        prompt.MessageBox(FormatText("You can not use \"%c\" charactor", base[bad]),
                          PromptIcon::Stop);
        return true;
    }
    if (base.empty() || base == "." || base == "..") {
        prompt.MessageBox(base + " : Invalid file name!", PromptIcon::Stop);
        return true;
    }
    return false;
}

// The new header is written first, then the data file takes its new name, then the old header
// goes; every step that fails undoes the ones before.
bool RenameRecord(const fs::path& folder, const RecordRow& row, const TextLines& lines,
                  const std::string& base, IPrompt& prompt) {
    const fs::path oldHeader = folder / row.fileName;
    const fs::path oldData = folder / (BaseName(row.fileName) + ".dat");
    const fs::path newHeader = folder / (base + ".hdr");
    const fs::path newData = folder / (base + ".dat");
    std::error_code error;
    for (const fs::path& taken : {newHeader, newData}) {
        if (fs::exists(fs::symlink_status(taken, error))) {
            prompt.MessageBox(taken.filename().string() + " already exist!",
                              PromptIcon::Exclamation);
            return false;
        }
    }
    if (std::string message = CTextFile::WriteTextLines(newHeader.string(), lines);
        !message.empty()) {
        prompt.MessageBox(message, PromptIcon::Stop);
        return false;
    }
    if (fs::exists(oldData, error)) {
        fs::rename(oldData, newData, error);
        if (error) {
            std::error_code ignored;
            fs::remove(newHeader, ignored);
            prompt.MessageBox(FileError(oldData, error), PromptIcon::Stop);
            return false;
        }
    }
    fs::remove(oldHeader, error);
    if (error) {
        std::error_code ignored;
        fs::rename(newData, oldData, ignored);
        fs::remove(newHeader, ignored);
        prompt.MessageBox(FileError(oldHeader, error), PromptIcon::Stop);
        return false;
    }
    return true;
}

// The viewer's overview kept beside a record describes files that are gone or renamed.
void RemoveOverviewCache(const fs::path& header) {
    std::error_code ignored;
    fs::remove(CPyramidCache::PathFor(header.string()), ignored);
}

} // namespace

RecordEdit RecordEditOf(const RecordRow& row) {
    return {row.testInfo, row.memo1, row.memo2, row.dataFileName};
}

bool EditRecord(const std::string& folder, RecordRow& row, const RecordEdit& edit,
                IPrompt& prompt) {
    std::string base = WantedBase(edit.fileName);
    const std::string oldBase = BaseName(row.fileName);
    // A name the same but for letter case keeps the files: both name the same record.
    const bool rename = !base.empty() && LowerText(base) != LowerText(oldBase);
    if (rename && RefusedName(base, prompt))
        return false;
    if (!rename)
        base = oldBase;
    const fs::path header = fs::path(folder) / row.fileName;
    TextLines lines;
    if (std::string message = CTextFile::ReadTextLines(header.string(), lines); !message.empty()) {
        prompt.MessageBox(message, PromptIcon::Stop);
        return false;
    }
    // FILENAME names the data file as it is on the disk.
    const std::string dataFileName =
        rename || row.dataFileName.empty() ? base + ".dat" : row.dataFileName;
    SetLine(lines, "COMMENT1 ", edit.testInfo);
    SetLine(lines, "COMMENT2 ", edit.memo1);
    SetLine(lines, "COMMENT3 ", edit.memo2);
    SetLine(lines, "FILENAME ", dataFileName);
    if (rename) {
        if (!RenameRecord(folder, row, lines, base, prompt))
            return false;
        RemoveOverviewCache(header);
        row.fileName = base + ".hdr";
    } else if (std::string message = CTextFile::WriteTextLines(header.string(), lines);
               !message.empty()) {
        prompt.MessageBox(message, PromptIcon::Stop);
        return false;
    }
    row.testInfo = edit.testInfo;
    row.memo1 = edit.memo1;
    row.memo2 = edit.memo2;
    row.dataFileName = dataFileName;
    return true;
}

bool DeleteRecord(const std::string& folder, const RecordRow& row, IPrompt& prompt) {
    for (const fs::path& file :
         {fs::path(folder) / row.fileName, fs::path(folder) / (BaseName(row.fileName) + ".dat")}) {
        std::error_code error;
        fs::remove(file, error);
        if (error) {
            prompt.MessageBox(FileError(file, error), PromptIcon::Stop);
            return false;
        }
    }
    RemoveOverviewCache(fs::path(folder) / row.fileName);
    return true;
}
