// Texts of the CAN module commands and the judging of their replies.
#pragma once

#include <string>

// Reply capacities of the text-reply commands.
inline constexpr std::size_t kDatabaseReplyBytes = 500;
inline constexpr std::size_t kShortReplyBytes = 50;

// Blanks and line ends removed from both ends.
std::string TrimReply(const std::string& reply);
std::string ToUpper(std::string text);

// The command of one XCP procedure line: "%dXCP", field 2, field 4 (a count), then the count's
// following fields joined with ","; fields are separated by blanks and counted from 1.
// False for a line of three fields or fewer.
bool BuildXcpCommand(int slot, const std::string& line, std::string& command);

// The digits of an XCP status reply as a number.
int ReadXcpStatus(const std::string& reply);
