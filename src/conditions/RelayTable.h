// What the relay setting dialog edits, without its widgets: a copy of the watch-dog values and
// the monitor channel rows, the channels a row can be made from, the texts of each cell and the
// rules of every edit. OK hands the copy back to the condition.
#pragma once

#include "conditions/RelaySettings.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class IPrompt;

// The eight ports' initial output values, kept as eight little-endian int32 in the program's
// 32-byte relay settings block.
using RelayPortBlock = std::array<std::uint8_t, 32>;
std::vector<int> GetPortLevels(const RelayPortBlock& block);
void SetPortLevels(RelayPortBlock& block, const std::vector<int>& levels);
// Bit n set for a port n whose initial value is not 0.
std::uint8_t PortLevelMask(const std::vector<int>& levels);

// A channel of the condition that a monitor row can watch.
struct RelayCandidate {
    std::int16_t monitorNo = 0;
    std::string name; // the display name the import compares with
};

class CRelayTable {
public:
    enum Column {
        kNo,
        kCh,
        kSignalName,
        kX,
        kLogic,
        kY,
        kAnd,
        kPort,
        kTrgTimes,
        kCntLmt,
        kColumnCount
    };
    struct ColumnInfo {
        const char* title;
        int width; // pixels
        bool left; // the others are centred
    };
    static constexpr std::array<ColumnInfo, kColumnCount> kColumns{{{"No.", 50, false},
                                                                    {"Ch", 50, false},
                                                                    {"SignalName", 120, true},
                                                                    {"X", 60, false},
                                                                    {"Logic", 120, false},
                                                                    {"Y", 60, false},
                                                                    {"And", 40, false},
                                                                    {"Port", 60, false},
                                                                    {"TrgTimes", 80, false},
                                                                    {"CntLmt(Sec)", 80, false}}};
    static constexpr std::uint32_t kRecStopMax = 600;
    static constexpr std::uint32_t kAutoMonitorMin = 60;
    static constexpr std::uint32_t kAutoMonitorMax = 3600;

    // A copy of the condition's relay settings; `portLevels` are the eight ports' initial values.
    CRelayTable(const CRecCnd& condition, std::vector<int> portLevels);

    RelaySettings& Settings() { return m_settings; }
    const RelaySettings& Settings() const { return m_settings; }
    const std::vector<RelayCandidate>& Candidates() const { return m_candidates; }
    const std::vector<int>& PortLevels() const { return m_portLevels; }
    void SetPortLevels(std::vector<int> levels) { m_portLevels = std::move(levels); }
    int RowCount() const { return static_cast<int>(m_settings.monitors.size()); }

    // "<<": a row watching the candidate, appended; its index.
    int AddRow(std::size_t candidate);
    // "DEL": false when there is no such row.
    bool DeleteRow(int row);

    // The texts of a row's cells, "No." counting from 1.
    std::vector<std::string> RowTexts(int row) const;
    // The choices of the Logic and Port lists.
    static std::vector<std::string> LogicChoices();
    std::vector<std::string> PortChoices() const;
    // An edit of a cell; false when the cell does not take it (the old value stays). Logic and
    // Port take a choice's text, And "0" or "1", X and Y a number, TrgTimes and CntLmt(Sec) a
    // whole number from 0.
    bool EditCell(int row, int column, const std::string& text);

    // The watch-dog values as typed; empty when they are acceptable, else the message (the
    // framework's range message). `recStopOn` clear switches recording stop off.
    std::string SetDogValues(const std::string& safeTimer, const std::string& trgTimer,
                             bool recStopOn, const std::string& recStop, bool recStart,
                             const std::string& autoMonitor);

    // "Import From File": the relay settings file's lines replace the copy when they fit the
    // condition; otherwise the reason is shown and nothing changes.
    bool Import(const TextLines& lines, IPrompt& prompt);
    bool Export(const std::string& path, IPrompt& prompt) const;
    // OK: the copy goes back into the condition.
    void ApplyTo(CRecCnd& condition) const;

private:
    const CRecCnd& m_condition;
    RelaySettings m_settings;
    std::vector<RelayCandidate> m_candidates;
    std::vector<int> m_portLevels;
};
