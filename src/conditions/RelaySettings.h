// The relay control settings: watch-dog values and monitor channels in the condition text, the
// relay settings file ("N66.FILE") and the lines of the relay information view.
#pragma once

#include "conditions/RecCnd.h"

#include <string>
#include <vector>

class IPrompt;

// "DOG_TIMER %d,%d,%lu,%d,%lu"
std::string FormatDogTimerLine(const WatchDogSettings& dog);
// The first up to five pieces set the values in order; missing pieces keep what is there.
void ApplyDogTimerPieces(WatchDogSettings& dog, const TextLines& pieces);
// A "MONITORCH" value list: with 9 or more pieces every field is read; with minPieces to 8 the
// relay port, trigger times and count limit are 0; shorter lists, and a relay port that is not
// one of the eight, are refused.
enum class MonitorLine { Read, TooShort, BadPort };
MonitorLine ParseMonitorChLine(const std::string& values, std::size_t minPieces,
                               CMonitorCh& monitor);

// What the relay setting dialog edits: a copy of the watch-dog values and monitor channels.
struct RelaySettings {
    WatchDogSettings dog;
    std::vector<CMonitorCh> monitors;
};

void FormatRelaySettingsLines(const RelaySettings& settings, TextLines& lines);
// Writes the relay settings file; shows "Export OK !" on success, the file's message otherwise.
bool ExportRelaySettings(const std::string& path, const RelaySettings& settings, IPrompt& prompt);
// Replaces `settings` with the file's lines when they are a relay settings file whose monitor
// channels all match channels of the condition; otherwise says why and changes nothing.
bool ImportRelaySettings(const TextLines& lines, const CRecCnd& condition, RelaySettings& settings,
                         IPrompt& prompt);
// The same from a relay settings file; a file that cannot be read (or is far larger than any
// relay settings file) is refused with its message.
bool ImportRelaySettingsFile(const std::string& path, const CRecCnd& condition,
                             RelaySettings& settings, IPrompt& prompt);

// The three header lines of the relay information view.
std::vector<std::string> FormatRelayInfoLines(const WatchDogSettings& dog);
// One row of the information view's list: "No.", "Ch", "SignalName", "X", "Logic", "Y", "AND",
// "Port"; `portLevels` are the initial output values of the eight ports.
std::vector<std::string> FormatRelayInfoRow(int number, const CMonitorCh& monitor,
                                            const std::vector<int>& portLevels);
