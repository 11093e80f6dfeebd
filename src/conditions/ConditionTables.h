// The fixed value tables of a recording condition: rates, sync modes, triggers, F/V settings,
// relay monitor conditions and calculation functions.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ConditionTables {

// Standard sampling rates; "EXT" is the external sampling clock.
inline constexpr std::array<std::string_view, 21> kRatesStandard{
    "0.1Hz", "0.2Hz", "0.5Hz", "1Hz",   "2Hz",    "5Hz",    "10Hz",
    "20Hz",  "50Hz",  "100Hz", "200Hz", "500Hz",  "1kHz",   "2kHz",
    "5kHz",  "10kHz", "20kHz", "50kHz", "100kHz", "200kHz", "EXT"};
inline constexpr std::array<std::string_view, 17> kRatesSecond{
    "1.28Hz",  "2.56Hz",  "5.12Hz",  "12.8Hz",  "25.6Hz",  "51.2Hz",  "128Hz",  "256Hz", "512Hz",
    "1.28kHz", "2.56kHz", "5.12kHz", "12.8kHz", "25.6kHz", "51.2kHz", "128kHz", "256kHz"};
inline constexpr std::array<std::string_view, 4> kRatesThird{"3Hz", "30Hz", "300Hz", "3kHz"};

inline constexpr std::int32_t kSyncSingle = 10;
inline constexpr std::int32_t kSyncMaster = 11;
inline constexpr std::int32_t kSyncSlave = 12;

struct SyncMode {
    std::string_view text;
    std::int32_t value;
};
inline constexpr std::array<SyncMode, 3> kSyncModes{SyncMode{"SINGLE", kSyncSingle},
                                                    SyncMode{"MASTER", kSyncMaster},
                                                    SyncMode{"SLAVE", kSyncSlave}};

inline constexpr std::array<std::string_view, 4> kTriggerModes{"OFF", "ABS", "UP", "DOWN"};
inline constexpr int kTriggerOff = 0;
inline constexpr int kTriggerAbs = 1;
inline constexpr int kTriggerUp = 2;
inline constexpr int kTriggerDown = 3;

inline constexpr std::array<std::string_view, 3> kFvInputs{"MG", "TTL", "AC"};
inline constexpr std::array<std::string_view, 3> kFvModes{"FR", "PW", "PL"};

// Entries 2 and 3 end in one blank.
inline constexpr std::array<std::string_view, 8> kMonitorConditions{"Data = 0",
                                                                    "Data not = 0",
                                                                    "Data < X ",
                                                                    "Data >= X ",
                                                                    "X <= Data < Y",
                                                                    "Data < X or Data >= Y",
                                                                    "Data >= X -> Data < Y",
                                                                    "Data <= X -> Data > Y"};

inline constexpr std::array<std::string_view, 10> kCalcFunctions{
    "DTQ=(ChA-ChB)/(ChA+ChB) * 100",
    "ABS_V=sqrt(ChA^2+ChB^2)\t  ",
    "REV=ChA * (-1)",
    "HP=(ChA/3.785)*(ChB*145.0377)/1714",
    "RMS=sqrt(ChA^2+ChB^2+ChC^2)\t  ",
    "DIF=|ChA-ChB|",
    "SUM=|ChA+ChB|",
    "MUL=ChA*ChB*P3",
    "TLD=(ChA-ChB)*ChC",
    "SMA=(Pm-m + Pm-(m-1) + ...+ Pm-1 + Pm) / m"};

enum CalcFunction : int {
    kCalcDtq = 0,
    kCalcAbsV,
    kCalcRev,
    kCalcHp,
    kCalcRms,
    kCalcDif,
    kCalcSum,
    kCalcMul,
    kCalcTld,
    kCalcSma
};

} // namespace ConditionTables

// Module type codes the program tells apart.
namespace ModuleType {
inline constexpr std::int32_t kVoltage = 2;
inline constexpr std::int32_t kStrain = 3;
inline constexpr std::int32_t kTemperature = 4;
inline constexpr std::int32_t kFrequency = 5;
inline constexpr std::int32_t kDigitalInput = 7;
inline constexpr std::int32_t kInertial = 8;
inline constexpr std::int32_t kVoltageStrain = 9;
inline constexpr std::int32_t kCanK = 10;
inline constexpr std::int32_t kCanG = 11;
inline constexpr std::int32_t kVoltageStrain2 = 19;
inline constexpr std::int32_t kCalculation = 153;

// Channels of these modules are scaled by a factor and an offset instead of a range.
inline constexpr bool IsCanType(std::int32_t code) {
    return code == kInertial || code == kCanK || code == kCanG;
}
} // namespace ModuleType
