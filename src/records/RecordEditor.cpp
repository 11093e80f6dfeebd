#include "records/RecordEditor.h"

#include "conditions/TextFile.h"
#include "conditions/TextNumbers.h"
#include "records/RecordHeader.h"
#include "records/RecordWriter.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

namespace fs = std::filesystem;

std::string RenameFailure(const std::string& path, const std::error_code& error) {
    return CTextFile::OpenFailureMessage(path, error.value(), FileDirection::Writing);
}

void ReplaceLine(TextLines& lines, const std::string& keyword, const std::string& line) {
    for (std::string& candidate : lines) {
        if (StartsWith(candidate, keyword)) {
            candidate = line;
            return;
        }
    }
}

} // namespace

RecordPaths RecordPathsFor(const std::string& headerPath) {
    std::string base = headerPath;
    if (fs::path(base).extension() == ".hdr")
        base.resize(base.size() - 4);
    return {base, base + ".hdr", base + ".dat"};
}

std::string RenameOverwriteQuestion(const RecordPaths& renamed) {
    std::error_code error;
    for (const std::string* path : {&renamed.header, &renamed.data}) {
        if (fs::exists(*path, error))
            return fs::path(*path).filename().string() + " already exist. Overwrite ? ";
    }
    return {};
}

std::string EditRecordHeader(const RecordPaths& paths, const CRecCnd& master,
                             const RecordPaths* renamed) {
    TextLines lines;
    if (std::string error = CTextFile::ReadTextLines(paths.header, lines); !error.empty())
        return error;
    ReplaceLine(lines, "COMMENT1", CRecordHeader::Comment1Line(master));
    ReplaceLine(lines, "COMMENT2", CRecordHeader::Comment2Line(master));
    ReplaceLine(lines, "COMMENT3", CRecordHeader::Comment3Line(master));
    if (renamed == nullptr || renamed->header == paths.header)
        return CTextFile::WriteTextLines(paths.header, lines);

    ReplaceLine(lines, "FILENAME", "FILENAME " + fs::path(renamed->data).filename().string());
    // The data file moves first; the header is written under its new name only once the data
    // is there, and the old header goes last, so a failure leaves one complete record.
    std::error_code error;
    fs::rename(paths.data, renamed->data, error);
    if (error)
        return RenameFailure(paths.data, error);
    if (std::string writeError = CTextFile::WriteTextLines(renamed->header, lines);
        !writeError.empty()) {
        fs::rename(renamed->data, paths.data, error);
        return writeError;
    }
    fs::remove(paths.header, error);
    return {};
}
