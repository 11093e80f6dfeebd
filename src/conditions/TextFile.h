// The line-oriented text file layer under every text format of the program.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using TextLines = std::vector<std::string>;

enum class FileDirection { Reading, Writing };

class CTextFile {
public:
    virtual ~CTextFile() = default;

    // Rebuilds the object from the lines; false when they are not this object's format.
    virtual bool ParseLines(const TextLines& lines) = 0;
    virtual void FormatLines(TextLines& lines) const = 0;

    // Read (at most kMaxLoadBytes), then ParseLines. The empty text means success, anything else
    // is the message to show.
    std::string Load(const std::string& path);
    // FormatLines, then write. The file is replaced only once it is written whole.
    std::string Save(const std::string& path) const;

    // Reads at most 16383 characters per line (a CR LF counts as one; a longer line arrives as
    // several) and strips trailing CR and LF; with lineLimit above 0 reading stops after that
    // many lines. What is not a regular file, or holds more than maxBytes, is refused.
    static std::string ReadTextLines(const std::string& path, TextLines& lines, int lineLimit = 0,
                                     std::uintmax_t maxBytes = kNoSizeLimit);
    // The message that refuses to read a path that is not a regular file (a named pipe, a device)
    // or a file larger than maxBytes; empty when it may be opened.
    static std::string CheckReadable(const std::string& path,
                                     std::uintmax_t maxBytes = kNoSizeLimit);
    // Writes each line, followed by CR LF when lineBreak is set. Without append the file is
    // replaced atomically; with append (and an existing file) the lines go at its end.
    static std::string WriteTextLines(const std::string& path, const TextLines& lines,
                                      bool append = false, bool lineBreak = true);
    // Cuts text at each separator (which may be longer than one character); empty pieces are
    // kept. With trim, leading blanks are removed from the remaining text before each search.
    static TextLines& SplitText(TextLines& pieces, const std::string& separator,
                                const std::string& text, bool trim = false);

    // The second line of a refusal: "Line %d: " with the 1-based line (its first 80 characters),
    // or "Line %d is missing." past the end.
    static std::string LineDetail(const TextLines& lines, int line);

    // The message of a failed open (or write) from the C library's error number.
    static std::string OpenFailureMessage(const std::string& path, int errorNumber,
                                          FileDirection direction);

    static constexpr int kMaxLineLength = 16383;
    static constexpr std::uintmax_t kNoSizeLimit = std::numeric_limits<std::uintmax_t>::max();
    // Condition and relay files: eight full modules with every text filled take well under
    // 1 MiB, so a larger file is not one of them.
    static constexpr std::uintmax_t kMaxLoadBytes = 8u << 20;
    static constexpr const char* kReadError = "An unexpected error occurred while reading %1.";
    static constexpr const char* kUnexpectedFormat = "Unexpected file format.";
    static constexpr const char* kInsufficientMemory = "Insufficient memory to perform operation.";
};
