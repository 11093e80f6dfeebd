// The program-wide settings: what the option sheet and the dialogs edit and every part of the
// program reads, kept in the settings section "ZT300SET_SECTION".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ISettingsStore;

struct ChartWidth {
    std::string_view label;
    int seconds;
    double gridSeconds;
};

// The monitor chart widths with the grid step that goes with each.
inline constexpr std::array<ChartWidth, 14> kChartWidths{{
    {"1  sec", 1, 0.1},
    {"2  sec", 2, 0.2},
    {"5  sec", 5, 1},
    {"10 sec", 10, 2},
    {"30 sec", 30, 5},
    {" 1 min", 60, 10},
    {" 2 min", 120, 30},
    {" 5 min", 300, 60},
    {" 10 min", 600, 120},
    {" 20 min", 1200, 300},
    {" 30 min", 1800, 300},
    {" 1 Hour", 3600, 600},
    {" 2 Hour", 7200, 1800},
    {" 5 Hour", 18000, 3600},
}};

// The label of a chart width; empty when the width is not one of the table.
std::string_view ChartWidthLabel(int seconds);

class CRecorderSettings {
public:
    static constexpr const char* kSection = "ZT300SET_SECTION";

    // The ranges the option sheet keeps the values in; a value read outside is not taken.
    static constexpr int kBalWarnMax = 100;
    static constexpr int kYGridMin = 8;
    static constexpr int kYGridMax = 64;
    static constexpr int kDecimalDigitMax = 4;
    // The horizontal grid step lies between a hundredth of the chart width and the width.
    static constexpr double kXGridMinDivisor = 100.0;

    // `programFolder` is the folder of the executable, with its trailing separator, where the
    // viewer program is looked for; `recordFolder` is where the program writes its records
    // (the per-user data folder), the folder the record list opens on at first. Without it the
    // list opens on the program's folder.
    explicit CRecorderSettings(const std::string& programFolder = {},
                               const std::string& recordFolder = {});

    // Reads every setting; one outside the range the option sheet allows takes its default
    // (an unlisted chart width inside the table's span is kept, with a grid step that fits it).
    void Load(const ISettingsStore& store);
    void Save(ISettingsStore& store) const;

    // The registered physical units, split at "," (at most 100; empty entries are kept).
    std::vector<std::string> GetUnitList() const;
    void SetUnitList(const std::vector<std::string>& units);

    // The update hint for the open documents after the option sheet changed `before` into this;
    // 0 when nothing the views show changed. A changed chart type is told apart.
    int OptionChangeHint(const CRecorderSettings& before) const;
    bool ChartTypeChanged(const CRecorderSettings& before) const {
        return m_chartType != before.m_chartType;
    }

    std::string m_viewFolder;
    std::string m_viewerPgm;
    int m_multiZt300 = 0;
    int m_calRef = 0;
    std::string m_calFileRef;
    std::uint16_t m_balWarnPercent = 100;
    int m_chartType = 0;
    int m_yGridCnt = 25;
    int m_xWidth = 10;
    double m_xGrid = 2.0;
    int m_decimalDigit = 3;
    int m_externalSignal = 0;
    int m_realTimeMark = 0;
    int m_ctrlInput = 0;
    std::string m_rtmStartCode = "70";
    std::string m_rtmStopCode = "71";
    std::string m_rtmPauseCode = "80";
    int m_useQu800 = 0;
    int m_autoSave = 0;
    std::string m_asFilePath;
    int m_asMode = 0; // 0 append, 1 overwrite
    std::string m_regPhyUnits = "V,mV,uST,Hz,C,G";

    // Not persisted: relay control as the option sheet hands it over.
    int m_relayControl = 0;
    std::string m_relayFilePath;
    std::array<std::uint8_t, 32> m_relaySettings{};

    // The grid step of a chart width: the table's for a listed width, a fifth of it otherwise.
    static double GridStepOf(int xWidth);

private:
    void KeepInRange(const CRecorderSettings& defaults);

    std::string m_programFolder; // the defaults of the two viewer settings derive from these
    std::string m_recordFolder;
};
