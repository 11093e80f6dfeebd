#include "conditions/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <string_view>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string ReplacePath(std::string_view format, const std::string& path) {
    std::string text(format);
    const std::size_t at = text.find("%1");
    if (at != std::string::npos)
        text.replace(at, 2, path);
    return text;
}

// Reads the whole file, or fails with EFBIG once it holds more than maxBytes; returns the error
// number of a failed read, 0 on success.
int ReadAll(std::FILE* file, std::string& content, std::uintmax_t maxBytes) {
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (content.size() + n > maxBytes)
            return EFBIG;
        content.append(buffer, n);
    }
    return std::ferror(file) ? (errno != 0 ? errno : EIO) : 0;
}

void AppendLines(std::string_view content, TextLines& lines, int lineLimit) {
    std::size_t pos = 0;
    while (pos < content.size()) {
        if (lineLimit > 0 && static_cast<int>(lines.size()) >= lineLimit)
            break;
        // One read takes up to and including the line feed, but never more than the limit.
        // Read as text, a CR LF arrives as one line feed: the pair takes one character.
        const std::size_t end = content.find('\n', pos);
        std::size_t next = end == std::string_view::npos ? content.size() : end + 1;
        std::size_t length = next - pos;
        if (end != std::string_view::npos && end > pos && content[end - 1] == '\r')
            --length;
        if (length > static_cast<std::size_t>(CTextFile::kMaxLineLength))
            next = pos + CTextFile::kMaxLineLength;
        std::string_view line = content.substr(pos, next - pos);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.remove_suffix(1);
        lines.emplace_back(line);
        pos = next;
    }
}

int WriteLines(std::FILE* file, const TextLines& lines, bool lineBreak) {
    for (const std::string& line : lines) {
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size())
            return errno != 0 ? errno : EIO;
        if (lineBreak && std::fwrite("\r\n", 1, 2, file) != 2)
            return errno != 0 ? errno : EIO;
    }
    return std::fflush(file) == 0 ? 0 : (errno != 0 ? errno : EIO);
}

std::string AppendToFile(const std::string& path, const TextLines& lines, bool lineBreak) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "ab"));
    if (!file)
        return CTextFile::OpenFailureMessage(path, errno, FileDirection::Writing);
    if (const int error = WriteLines(file.get(), lines, lineBreak))
        return CTextFile::OpenFailureMessage(path, error, FileDirection::Writing);
    if (std::fclose(file.release()) != 0)
        return CTextFile::OpenFailureMessage(path, errno, FileDirection::Writing);
    return {};
}

// Writes beside the target and renames over it, so a full disk never leaves a cut file behind
// and the previous content survives any failure.
std::string ReplaceFile(const std::string& path, const TextLines& lines, bool lineBreak) {
    errno = 0;
    // An existing file must be writable by us; this is where a read-only file is refused.
    if (FilePtr existing{std::fopen(path.c_str(), "r+b")}; !existing && errno != ENOENT)
        return CTextFile::OpenFailureMessage(path, errno, FileDirection::Writing);

    const std::string temporary = path + ".~zt300";
    errno = 0;
    FilePtr file(std::fopen(temporary.c_str(), "wb"));
    if (!file)
        return CTextFile::OpenFailureMessage(path, errno, FileDirection::Writing);
    int error = WriteLines(file.get(), lines, lineBreak);
    if (std::fclose(file.release()) != 0 && error == 0)
        error = errno != 0 ? errno : EIO;
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno != 0 ? errno : EIO;
    if (error != 0) {
        std::remove(temporary.c_str());
        return CTextFile::OpenFailureMessage(path, error, FileDirection::Writing);
    }
    return {};
}

} // namespace

std::string CTextFile::OpenFailureMessage(const std::string& path, int errorNumber,
                                          FileDirection direction) {
    const bool reading = direction == FileDirection::Reading;
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return ReplacePath("%1\nCannot find this file.\nPlease verify that the correct path and "
                           "file name are given.",
                           path);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
        return ReplacePath(reading ? "Unable to read from %1, it is opened by someone else."
                                   : "Unable to write to %1, it is read-only or opened by "
                                     "someone else.",
                           path);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Destination disk drive is full.";
    case EMFILE:
    case ENFILE:
    case EIO:
    case EISDIR:
    case ESPIPE:
    case EBADF:
    case ENOMEM:
        return ReplacePath(reading ? kReadError : "An unexpected error occurred while writing %1.",
                           path);
    default:
        return "Invalid filename.";
    }
}

std::string CTextFile::CheckReadable(const std::string& path, std::uintmax_t maxBytes) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status))
        return {}; // opening it says why
    // A named pipe or a device would block the program or never end.
    if (!std::filesystem::is_regular_file(status))
        return ReplacePath(kReadError, path);
    if (std::filesystem::file_size(path, error) > maxBytes && !error)
        return ReplacePath(kReadError, path);
    return {};
}

std::string CTextFile::ReadTextLines(const std::string& path, TextLines& lines, int lineLimit,
                                     std::uintmax_t maxBytes) {
    if (std::string refusal = CheckReadable(path, maxBytes); !refusal.empty())
        return refusal;
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return OpenFailureMessage(path, errno, FileDirection::Reading);
    try {
        std::string content;
        if (const int error = ReadAll(file.get(), content, maxBytes))
            return error == EFBIG ? ReplacePath(kReadError, path)
                                  : OpenFailureMessage(path, error, FileDirection::Reading);
        if (lines.empty())
            lines.reserve(500);
        AppendLines(content, lines, lineLimit);
    } catch (const std::bad_alloc&) {
        return kInsufficientMemory;
    }
    return {};
}

std::string CTextFile::WriteTextLines(const std::string& path, const TextLines& lines, bool append,
                                      bool lineBreak) {
    std::error_code ignored;
    if (append && std::filesystem::exists(path, ignored))
        return AppendToFile(path, lines, lineBreak);
    return ReplaceFile(path, lines, lineBreak);
}

TextLines& CTextFile::SplitText(TextLines& pieces, const std::string& separator,
                                const std::string& text, bool trim) {
    pieces.clear();
    std::string_view rest(text);
    auto trimFront = [&] {
        if (trim) {
            while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
                rest.remove_prefix(1);
        }
    };
    if (separator.empty()) {
        trimFront();
        pieces.emplace_back(rest);
        return pieces;
    }
    for (;;) {
        trimFront();
        const std::size_t at = rest.find(separator);
        if (at == std::string_view::npos) {
            pieces.emplace_back(rest);
            return pieces;
        }
        pieces.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at + separator.size());
    }
}

std::string CTextFile::LineDetail(const TextLines& lines, int line) {
    constexpr std::size_t kShown = 80;
    const auto at = static_cast<std::size_t>(line - 1);
    if (line < 1 || at >= lines.size())
        return "Line " + std::to_string(line) + " is missing.";
    const std::string& text = lines[at];
    return "Line " + std::to_string(line) + ": " +
           (text.size() <= kShown ? text : text.substr(0, kShown) + "...");
}

std::string CTextFile::Load(const std::string& path) {
    TextLines lines;
    if (std::string message = ReadTextLines(path, lines, 0, kMaxLoadBytes); !message.empty())
        return message;
    if (!ParseLines(lines))
        return path + ":" + kUnexpectedFormat;
    return {};
}

std::string CTextFile::Save(const std::string& path) const {
    TextLines lines;
    FormatLines(lines);
    return WriteTextLines(path, lines);
}
