// Records that ended without their final header (the program was killed, the power failed):
// found by their provisional header and completed with the whole rows on the disk.
#pragma once

#include <string>
#include <vector>

// Completes every such record in `folder`: cuts a half row off its data file, writes the final
// header counting the whole rows and removes the provisional header. A provisional header that
// was written in the last few seconds belongs to a record another running program still writes,
// and is left alone. Returns one log line per record completed or found beyond repair.
std::vector<std::string> CompleteUnfinishedRecords(const std::string& folder);
