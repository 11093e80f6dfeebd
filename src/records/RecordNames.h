// Where PC records go and what they are called.
#pragma once

#include "conditions/RecCnd.h"
#include "framework/Clock.h"

#include <string>

// The record folder with one trailing separator.
std::string RecordFolder(const CRecCnd& master);
// The file-name part of BASE_FILE_NAME (after its last "\"), up to its last ".".
std::string RecordBase(const CRecCnd& master);
// Base + "_" + the next free five-digit number in the record folder: one more than the largest
// number of a ".hdr" or ".dat" file named base + "_" + five digits, 1 when there is none.
std::string ComputeNextRecordName(const CRecCnd& master);
// What "HDD Rec File :" shows before a record: the next name in Count mode, and the pattern
// base + "_yymmdd_hhmmss" in Time mode.
std::string NextRecordDisplayName(const CRecCnd& master, const std::string& nextRecordName);
// The name after `name` in Count mode: its last five digits plus one.
std::string IncrementRecordName(const std::string& name);
// The name of a record starting at `start`: base + "_yymmdd_hhmmss" in Time mode, the next
// record name in Count mode.
std::string RecordName(const CRecCnd& master, const std::string& nextRecordName,
                       const LocalTime& start);
// `name` when no ".hdr" or ".dat" of that name is in `folder`, else the first free name after
// it, so that a record never replaces another: the next number in Count mode, name + "-2",
// "-3", ... in Time mode.
std::string FreeRecordName(const std::string& folder, const std::string& name, bool countMode);

// The check of the card folder and file name edits: empty when `text` is acceptable, else the
// message to show ("Please enter no more than %1 characters." or "You can not use "%c" charactor").
std::string CheckNameText(const std::string& text, std::size_t limit);
// BASE_FILE_NAME from the card folder (trailing "\" removed) and the file name.
std::string JoinBaseFileName(const std::string& cardFolder, const std::string& fileName);
// The two parts of BASE_FILE_NAME: before and after its last "\" (no folder when there is none).
void SplitBaseFileName(const std::string& baseFileName, std::string& cardFolder,
                       std::string& fileName);
