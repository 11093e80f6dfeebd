#include "records/RecordHeaderFiles.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

namespace fs = std::filesystem;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

int LastError() {
    return errno != 0 ? errno : EIO;
}

std::string Joined(const TextLines& lines) {
    std::string text;
    text.reserve(HeaderTextBytes(lines));
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    return text;
}

// Overwrites the room from its start, which needs no new blocks of the disk as long as the text
// fits, then cuts the room to the text. 0, or the error number.
int FillRoom(const std::string& room, const std::string& text) {
    errno = 0;
    FilePtr file(std::fopen(room.c_str(), "r+b"));
    if (!file)
        return LastError();
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() ||
        std::fflush(file.get()) != 0)
        return LastError();
    if (std::fclose(file.release()) != 0)
        return LastError();
    std::error_code error;
    fs::resize_file(room, text.size(), error);
    return error.value();
}

} // namespace

std::string ProvisionalHeaderPath(const std::string& headerPath) {
    return headerPath + kProvisionalSuffix;
}

std::string HeaderRoomPath(const std::string& headerPath) {
    return headerPath + kRoomSuffix;
}

std::uint64_t HeaderTextBytes(const TextLines& lines) {
    std::uint64_t bytes = 0;
    for (const std::string& line : lines)
        bytes += line.size() + 2;
    return bytes;
}

std::string ReserveHeaderRoom(const std::string& headerPath, std::uint64_t bytes) {
    const std::string room = HeaderRoomPath(headerPath);
    std::error_code error;
    std::uint64_t held = 0;
    if (const std::uintmax_t size = fs::file_size(room, error); !error)
        held = size;
    if (held >= bytes)
        return {};
    // Appended, never rewritten: a room that cannot grow keeps what it had.
    errno = 0;
    FilePtr file(std::fopen(room.c_str(), "ab"));
    if (!file)
        return CTextFile::OpenFailureMessage(room, LastError(), FileDirection::Writing);
    const std::string blanks(static_cast<std::size_t>(bytes - held), ' ');
    errno = 0;
    if (std::fwrite(blanks.data(), 1, blanks.size(), file.get()) != blanks.size() ||
        std::fflush(file.get()) != 0)
        return CTextFile::OpenFailureMessage(room, LastError(), FileDirection::Writing);
    return {};
}

std::string WriteProvisionalHeader(const std::string& headerPath, const TextLines& lines) {
    return CTextFile::WriteTextLines(ProvisionalHeaderPath(headerPath), lines);
}

std::string WriteFinalHeader(const std::string& headerPath, const TextLines& lines) {
    const std::string room = HeaderRoomPath(headerPath);
    std::error_code error;
    bool written = fs::exists(room, error) && FillRoom(room, Joined(lines)) == 0;
    if (written) {
        fs::rename(room, headerPath, error);
        written = !error;
    }
    if (!written) {
        if (std::string message = CTextFile::WriteTextLines(headerPath, lines); !message.empty())
            return message;
    }
    RemoveHeaderHelpers(headerPath);
    return {};
}

void RemoveHeaderHelpers(const std::string& headerPath) {
    std::error_code error;
    fs::remove(ProvisionalHeaderPath(headerPath), error);
    fs::remove(HeaderRoomPath(headerPath), error);
}
