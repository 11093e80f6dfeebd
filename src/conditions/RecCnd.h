// The recording condition of one recorder: its slots, channels, calculation channels, rates,
// trigger times, record file settings and relay monitor channels.
#pragma once

#include "conditions/CalcChCnd.h"
#include "conditions/ChCnd.h"
#include "conditions/MonitorCh.h"
#include "conditions/SlotInfo.h"
#include "conditions/TextFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class IPrompt;

// The five watch-dog values, in the order of the "DOG_TIMER" line.
struct WatchDogSettings {
    std::int32_t safeTimer = 6000;        // ms
    std::int32_t trgTimer = 0;            // ms
    std::uint32_t recStopTime = 10;       // s; kRecStopOff switches recording stop off
    std::int32_t recStart = 0;            // 0/1
    std::uint32_t autoMonitorTime = 3600; // s, 60..3600

    static constexpr std::uint32_t kRecStopOff = 4294967295u;
    bool operator==(const WatchDogSettings&) const = default;
};

class CRecCnd : public CTextFile {
public:
    static constexpr int kSlotCount = 8;
    static constexpr int kCalcCount = 4;
    static constexpr int kCalcSlotNo = 9;
    static constexpr const char* kCalcPartNo = "QA-80CALC";
    static constexpr const char* kFileMarker = "ZT300_CND_FILE";

    CRecCnd();
    CRecCnd(const CRecCnd& other) = default;
    CRecCnd& operator=(const CRecCnd& other) = default;

    void Reset();

    bool ParseLines(const TextLines& lines) override;
    void FormatLines(TextLines& lines) const override;
    // The card condition text ("ZT300.CND").
    void BuildCardCondition(TextLines& lines) const;

    // Copies what the recorder itself holds from a condition of the same hardware.
    void CopySettingsFrom(const CRecCnd& source);
    bool IsSameHardware(const CRecCnd& other) const;

    // Position in the channel list and the channel, or (-1, nullptr).
    std::pair<int, CChCnd*> FindChannel(int slot, int channel);
    std::pair<int, const CChCnd*> FindChannel(int slot, int channel) const;
    int GetEnabledIndex(int slot, int channel) const;
    int GetSampleWordOffset(int slot, int channel) const;
    int CountEnabled(bool withCalc) const;
    int CountSampleWords(bool withCalc) const;
    bool HasEnabledChannel() const;
    // The slot a channel sits on: slots 1..8, else the calculation pseudo-slot.
    const CSlotInfo& GetSlotOf(const CChCnd& channel) const;

    double GetRateHz() const;
    std::string GetSyncText() const;
    bool SetSyncText(const std::string& text);

    // Too many inertial channels fail; a sample stream beyond the memory rate only warns.
    bool CheckCondition(int mode, IPrompt& prompt) const;
    // False at the first selected, enabled channel whose known residual reaches the tolerance.
    bool CheckBalanceResidual(std::int16_t tolerance,
                              const std::vector<int>* selection = nullptr) const;

    // Calculation channels, once per acquisition and then once per sample.
    void PrepareCalcChannels();
    // The message that refuses the first enabled moving average whose window is too large for
    // the condition's rate (CCalcChCnd::LargestAverageWindow); empty when there is none.
    std::string CheckAverageWindows() const;
    void EvaluateCalcChannels(double* values, int count, int capacity, std::int16_t* counts);

    // The folder that Reset gives the PC record folder; set once at start-up.
    static void SetDefaultRecordFolder(const std::string& folder);
    static std::string GetDefaultRecordFolder();

    std::string m_baseFileName = "Test";
    std::int32_t m_preTime = 0;
    std::int32_t m_postTime = 0;
    std::string m_rate = "1Hz";
    std::int32_t m_rs232c = 1;
    std::vector<CChCnd> m_channels;
    std::array<CSlotInfo, kSlotCount> m_slots; // slot 1 is element 0
    std::string m_memo;
    std::string m_memo2;
    std::array<std::string, 3> m_testInfo;
    std::int32_t m_hddRecFileExt = 0;
    std::string m_hddRecFolder;
    std::int32_t m_hddLvlTrg = 0;
    std::int32_t m_hddPreTime = 0;
    std::int32_t m_hddPostTime = 0;
    std::int32_t m_calc = 0;
    std::array<CCalcChCnd, kCalcCount> m_calcChannels;
    std::int32_t m_subSamp = 0;
    WatchDogSettings m_dogTimer;
    std::vector<CMonitorCh> m_monitorChannels;
    std::int32_t m_sync = 10;
    CSlotInfo m_calcSlot;
    std::int32_t m_secondModel = 0; // the recorder reports itself as a ZT-500
    std::int32_t m_sendPending = 1; // edits the recorder has not received yet

private:
    void ResetCalcChannels();
    void ApplyLine(const std::string& line, bool& failed);
};
