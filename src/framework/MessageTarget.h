// Posting a message from any thread to a window; messages arrive on the UI thread in the order
// they were posted. The numbers are the program's own: the user message base plus an offset.
#pragma once

#include <cstdint>

namespace PostedMessage {
inline constexpr int kUserBase = 1024;
// A menu command; the parameter carries the command's id.
inline constexpr int kCommand = 0x0111;
inline constexpr int kDisplayTick = kUserBase + 5;
inline constexpr int kRecordWritten = kUserBase + 7;
inline constexpr int kDataCount = kUserBase + 8;
inline constexpr int kRecordStarted = kUserBase + 9;
inline constexpr int kMarkRequest = kUserBase + 10; // parameter: the mark code
inline constexpr int kExternalStart = kUserBase + 11;
inline constexpr int kRecordLimit = kUserBase + 12;
inline constexpr int kLogLine = kUserBase + 13;
inline constexpr int kNewData = kUserBase + 14;
inline constexpr int kCommError = kUserBase + 15;
} // namespace PostedMessage

// Command ids the core posts as kCommand messages (the menu keeps the same numbers).
namespace PostedCommand {
inline constexpr int kStartHddAcq = 32778;
inline constexpr int kStopAcq = 32780;
inline constexpr int kPause = 32787;
} // namespace PostedCommand

class IMessageTarget {
public:
    virtual ~IMessageTarget() = default;
    // Safe from any thread; never blocks on the receiver.
    virtual void Post(int id, std::intptr_t wparam = 0, std::intptr_t lparam = 0) = 0;
};
