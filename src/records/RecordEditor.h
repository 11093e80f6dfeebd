// Changes to a finished record: its comments taken again from the condition, and a new name
// for both of its files.
#pragma once

#include "conditions/RecCnd.h"

#include <string>

struct RecordPaths;

// The paths of a record named by a header path from the rename dialog (".hdr" may be left off).
RecordPaths RecordPathsFor(const std::string& headerPath);
// The question before a rename would replace existing files; empty when it replaces nothing.
std::string RenameOverwriteQuestion(const RecordPaths& renamed);
// Rewrites the COMMENT1..3 lines of the record's header from `master`; with `renamed`, also
// gives both files their new names and the header its new "FILENAME". Nothing is renamed when
// the header cannot be rewritten. Empty, or the message to show.
std::string EditRecordHeader(const RecordPaths& paths, const CRecCnd& master,
                             const RecordPaths* renamed);
