// The Mark and Pause commands on the running PC record, from the menu, the key codes and the
// mark requests of the monitor window. They run on the UI thread.
#pragma once

#include "records/RecordWriter.h"

#include <cstdint>
#include <functional>
#include <string>

class CMarkForwarder;
class CMarkLog;
class IClock;

// What the "Mark Memo" dialog shows: the data file name and the mark's row in the file.
struct MarkMemoRequest {
    std::string fileName;
    std::uint32_t dataPoint = 0;
};

class CMarkCommands {
public:
    // Shows the memo dialog; false when the user cancelled.
    using MemoAsker = std::function<bool(const MarkMemoRequest& request, std::string& memo)>;

    CMarkCommands(CRecordWriter& writer, CMarkLog& log, const IClock& clock);

    // A negative code comes from the Mark command and asks for a memo; a key code becomes the
    // memo itself. With a forwarder and a recorder handle the mark also goes to the optional
    // unit. Returns whether a mark was added.
    bool SetMark(int code, const MemoAsker& askMemo, CMarkForwarder* forwarder = nullptr,
                 int handle = 0);
    PauseChange TogglePause();

private:
    CRecordWriter& m_writer;
    CMarkLog& m_log;
    const IClock& m_clock;
};
