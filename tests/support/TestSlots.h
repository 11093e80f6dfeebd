// Building conditions for tests: a module in a slot with its channels.
#pragma once

#include "conditions/RecCnd.h"

#include <functional>
#include <string>
#include <vector>

// Fills slot `n` and appends its `count` channels. Each channel is ON when `enabled(channel)`
// says so and takes a range the slot offers it: the first one, or with `cycleRanges` the
// offered ranges in turn.
void AddTestSlot(CRecCnd& cnd, int n, const std::string& partNo, int type, int count,
                 std::vector<std::string> ranges, std::vector<std::string> filters,
                 const std::function<bool(int channel)>& enabled, bool cycleRanges);
