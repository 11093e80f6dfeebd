// Changes "View ACQ Files" makes to a listed recording: its header texts and name ("Edit File"),
// and deleting its two files.
#pragma once

#include "setup/RecordList.h"

#include <string>

class IPrompt;

// The texts of the "Edit File" dialog: TestInfo, Memo1, Memo2 and File Name.
struct RecordEdit {
    std::string testInfo;
    std::string memo1;
    std::string memo2;
    std::string fileName; // the data file's name; ".dat" may be left off
};

RecordEdit RecordEditOf(const RecordRow& row);

// Writes the texts into the header's COMMENT1..3 and FILENAME lines. A new name that differs
// other than in letter case renames the ".hdr" and the ".dat" file; one that names an existing
// record, or is no plain file name, is refused. On success `row` shows the new state. A failure
// is told through `prompt` and leaves both files as they were.
bool EditRecord(const std::string& folder, RecordRow& row, const RecordEdit& edit, IPrompt& prompt);
// Deletes the header and the data file (the header's name up to its last "." and ".dat"); a
// file already gone is no failure. False, after the message, when one could not be deleted.
bool DeleteRecord(const std::string& folder, const RecordRow& row, IPrompt& prompt);
