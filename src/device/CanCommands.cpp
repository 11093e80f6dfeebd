// CAN module command texts and reply judging.
#include "device/CanCommands.h"

#include "conditions/TextNumbers.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

namespace {

constexpr std::size_t kXcpCountField = 3; // field 4, 0-based

std::vector<std::string> SplitAtBlanks(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> fields;
    for (std::string field; stream >> field;)
        fields.push_back(field);
    return fields;
}

} // namespace

std::string TrimReply(const std::string& reply) {
    constexpr const char* kBlanks = " \t\r\n";
    const std::size_t first = reply.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return {};
    return reply.substr(first, reply.find_last_not_of(kBlanks) - first + 1);
}

std::string ToUpper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool BuildXcpCommand(int slot, const std::string& line, std::string& command) {
    const std::vector<std::string> fields = SplitAtBlanks(line);
    if (fields.size() <= kXcpCountField)
        return false;
    command = FormatText("%dXCP %s %s", slot, fields[1].c_str(), fields[kXcpCountField].c_str());
    const std::int64_t count = ReadWholeNumber(fields[kXcpCountField]);
    for (std::int64_t k = 1; k <= count && kXcpCountField + k < fields.size(); ++k)
        command += "," + fields[kXcpCountField + static_cast<std::size_t>(k)];
    return true;
}

int ReadXcpStatus(const std::string& reply) {
    std::string digits;
    for (char c : reply) {
        if (c >= '0' && c <= '9')
            digits += c;
    }
    return ReadInt32(digits);
}
