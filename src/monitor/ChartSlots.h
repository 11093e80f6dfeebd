// The "Chart Slot" commands: every channel of one slot shown in or taken out of the charts at
// once, while the document holds a single recorder.
#pragma once

#include <vector>

class CRecCnd;

namespace ChartSlots {

// Slot 1..8 has an enabled channel and the document at most one recorder.
bool IsEnabled(const std::vector<CRecCnd>& conditions, int slot);
// Any channel of the slot is shown in the charts.
bool IsChecked(const std::vector<CRecCnd>& conditions, int slot);
// Hides every channel of the slot when one is shown, else shows them all. False (nothing
// changed) with more than one recorder.
bool Toggle(std::vector<CRecCnd>& conditions, int slot);

// The "Digit & Wave" indicator: an enabled, shown channel (calculation channels too when
// calculation is on) has its value box on.
bool AnyValueBox(const std::vector<CRecCnd>& conditions);
// Any enabled channel (calculation channels included) is shown.
bool AnyVisible(const std::vector<CRecCnd>& conditions);

} // namespace ChartSlots
