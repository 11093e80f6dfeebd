// One channel of a recording condition: range, filter, scaling, chart and trigger settings.
#pragma once

#include "conditions/Scale.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CChCnd {
public:
    // A balance residual that has not been read from the recorder yet.
    static constexpr std::int32_t kNoResidual = 2147483647;
    // Full scale of a range is this many counts.
    static constexpr double kFullScaleCounts = 25000.0;
    static constexpr double kRangePerCount = 4e-05;

    CChCnd() = default;
    CChCnd(const CChCnd&) = default;
    CChCnd& operator=(const CChCnd&) = default;
    virtual ~CChCnd() = default;

    virtual void Reset();
    virtual double GetUnitPerCount() const;
    virtual double GetAmpOffset() const;
    virtual CScale GetChartScale() const { return m_sepChartScale; }
    virtual std::string FormatLine() const;
    virtual bool ParseLine(const std::string& text);

    double GetRangeValue() const;
    std::int32_t GetBalanceCorrection() const;
    double CountToPhys(double count) const;
    double AmpToPhys(double ampValue) const;
    // The name, or "%d-%d" of slot and 1-based channel when the name is empty.
    std::string GetDisplayName() const;
    bool IsCanType() const;
    // Sets the range text and both chart scales from it.
    void SetRange(const std::string& range);
    void SetDataType(std::int32_t dataType);
    // The "GRID=" value: units per division, then centre division, colour and centre value.
    void ParseGridValue(std::string_view value);

    // The card condition line of this channel at its 1-based position in the channel list.
    std::string FormatCardChannelLine(int position, const class CSlotInfo& slot) const;

    // The program-wide balance warning percentage: residuals at or above it are not corrected.
    static void SetBalanceWarnPercent(int percent) { s_balWarnPercent.store(percent); }
    static int GetBalanceWarnPercent() { return s_balWarnPercent.load(); }

    std::int32_t m_ampCode = 0;
    std::int16_t m_slot = 0;
    std::int16_t m_channel = -1; // 0-based
    std::int32_t m_enabled = 0;
    std::int32_t m_balanceResidual = kNoResidual; // counts
    std::int32_t m_fvInput = 0;
    std::int32_t m_fvMode = 0;
    std::int16_t m_fvDivider = 1;
    std::int16_t m_fvSmoothing = 1;
    std::int16_t m_monitorNo = 0;
    std::string m_range;
    std::string m_filter;
    std::uint16_t m_diMask = 0;
    double m_phy1 = 1.0; // P1
    double m_amp1 = 1.0; // A1
    double m_phy0 = 0.0; // P0
    double m_amp0 = 0.0; // A0
    double m_phy2 = -1.0;
    double m_amp2 = 0.0; // 0 switches the second slope off
    std::string m_name;
    std::string m_phyUnit;
    std::string m_memo;
    std::array<std::string, 4> m_mat;
    std::int32_t m_visible = 0;
    std::int32_t m_valueBox = 0;
    CScale m_sepChart;
    CScale m_sepChartScale;
    double m_gridUnitsPerDiv = 1.0;
    std::int16_t m_gridCentreDiv = 0;
    std::uint32_t m_gridColour = 0;
    double m_gridCentreValue = 0.0;
    std::int32_t m_lvlStTrg = 0;
    double m_lvlStTrgVal = 0.0; // percent of full scale, 0..100
    std::int32_t m_hddLvlTrg = 0;
    double m_hddLvlVal = 0.0;
    double m_canFactor = 0.0;
    double m_canOffset = 0.0; // physical offset
    std::int16_t m_wordsPerSample = 1;
    std::int32_t m_dataType = 0;

protected:
    // Steps shared by both line readers: split, reset, slot-channel head and enabled flag.
    bool ParseHead(const std::string& text, std::vector<std::string>& pieces);
    void SetChartScalesFromRange();

private:
    static std::atomic<int> s_balWarnPercent;
};
