#include "records/MaxMinFile.h"

#include "conditions/TextNumbers.h"
#include "framework/Prompt.h"

#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// A file edited elsewhere may lack the line break after its last line; the new line must not
// run on into it.
bool EndsWithLineBreak(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file || file.tellg() <= 0)
        return true;
    file.seekg(-1, std::ios::end);
    char last = 0;
    return !file.get(last) || last == '\n';
}

} // namespace

CMaxMinFile::CMaxMinFile(std::vector<MaxMinRow> rows, const std::string& headerPath,
                         const LocalTime& now)
    : m_rows(std::move(rows)),
      m_headerFileName(headerPath.substr(headerPath.find_last_of('/') + 1)),
      m_date(FormatText("%d/%02d/%02d", now.year, now.month, now.day)),
      m_time(FormatText("%02d:%02d:%02d", now.hour, now.minute, now.second)) {}

TextLines CMaxMinFile::HeaderLines() const {
    std::string columns = "MEMO";
    for (const MaxMinRow& row : m_rows)
        columns += "," + row.name + "," + row.unit;
    columns += ",FILENAME,DATE,TIME";
    return {kTitleLine, columns};
}

std::string CMaxMinFile::DataLine() const {
    std::string line;
    for (const MaxMinRow& row : m_rows)
        line += "," + row.maxText + "," + row.minText;
    return line + "," + m_headerFileName + "," + m_date + "," + m_time;
}

bool CMaxMinFile::Matches(const TextLines& firstLines) const {
    if (firstLines.size() < 2 || Trim(firstLines[0]) != kTitleLine)
        return false;
    TextLines fields;
    CTextFile::SplitText(fields, ",", firstLines[1]);
    if (fields.size() != 2 * m_rows.size() + 4)
        return false;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (Trim(fields[1 + 2 * i]) != Trim(m_rows[i].name) ||
            Trim(fields[2 + 2 * i]) != Trim(m_rows[i].unit))
            return false;
    }
    return true;
}

std::string CMaxMinFile::Append(const std::string& path, bool& matched) const {
    TextLines firstLines;
    matched = CTextFile::ReadTextLines(path, firstLines, 2).empty() && Matches(firstLines);
    if (!matched)
        return {};
    TextLines lines;
    if (!EndsWithLineBreak(path))
        lines.emplace_back();
    lines.push_back(DataLine());
    return CTextFile::WriteTextLines(path, lines, true);
}

std::string CMaxMinFile::Rewrite(const std::string& path) const {
    TextLines lines = HeaderLines();
    lines.push_back(DataLine());
    return CTextFile::WriteTextLines(path, lines);
}

std::string CMaxMinFile::SaveAutomatically(const std::string& path, bool overwrite) const {
    if (!overwrite && FileExists(path)) {
        bool matched = false;
        std::string error = Append(path, matched);
        if (matched)
            return error;
    }
    return Rewrite(path);
}

bool CMaxMinFile::SaveByHand(const std::string& path, IPrompt& prompt) const {
    if (path.empty())
        return false;
    std::string error;
    if (FileExists(path) && prompt.MessageBox(kOverwriteQuestion, PromptIcon::Question,
                                              PromptButtons::YesNo) == PromptAnswer::No) {
        bool matched = false;
        error = Append(path, matched);
        if (!matched) {
            prompt.MessageBox(kOtherChannelsMessage, PromptIcon::Exclamation);
            return false;
        }
    } else {
        error = Rewrite(path);
    }
    if (!error.empty()) {
        prompt.MessageBox(error, PromptIcon::Stop);
        return false;
    }
    prompt.MessageBox(kSavedMessage, PromptIcon::Information);
    return true;
}
