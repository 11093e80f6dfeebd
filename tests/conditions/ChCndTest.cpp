#include "conditions/ChCnd.h"
#include "conditions/SlotInfo.h"

#include <gtest/gtest.h>

namespace {

CChCnd Channel(int ampCode, const std::string& range) {
    CChCnd ch;
    ch.m_ampCode = ampCode;
    ch.m_slot = 1;
    ch.m_channel = 0;
    ch.SetRange(range);
    return ch;
}

// Restores the program-wide warning percentage after a test changes it.
struct BalanceWarnGuard {
    int saved = CChCnd::GetBalanceWarnPercent();
    ~BalanceWarnGuard() { CChCnd::SetBalanceWarnPercent(saved); }
};

} // namespace

TEST(ChCndTest, RangeValueAndUnitsPerCount) {
    EXPECT_DOUBLE_EQ(Channel(2, "10V").GetRangeValue(), 10.0);
    EXPECT_DOUBLE_EQ(Channel(2, " 500mV").GetRangeValue(), 500.0);
    EXPECT_DOUBLE_EQ(Channel(3, "2000uST").GetRangeValue(), 2000.0);
    EXPECT_DOUBLE_EQ(Channel(2, "").GetRangeValue(), 0.0);
    EXPECT_DOUBLE_EQ(Channel(2, "").GetUnitPerCount(), 0.0);
    EXPECT_DOUBLE_EQ(Channel(2, "10V").GetUnitPerCount(), 10.0 * 4e-05);

    CChCnd fv = Channel(5, "1kHz");
    EXPECT_DOUBLE_EQ(fv.GetRangeValue(), 1.0);
    fv.m_fvMode = 1;
    EXPECT_DOUBLE_EQ(fv.GetRangeValue(), 25000.0);

    // Scaling points stretch the amplifier value: 10 V are 100 physical units.
    CChCnd scaled = Channel(2, "10V");
    scaled.m_phy1 = 100;
    scaled.m_amp1 = 10;
    EXPECT_DOUBLE_EQ(scaled.GetUnitPerCount(), 10.0 * 4e-05 * 10);

    CChCnd can = Channel(10, "");
    can.m_canFactor = 0.5;
    can.m_canOffset = 3.0;
    EXPECT_DOUBLE_EQ(can.GetUnitPerCount(), 0.5);
    EXPECT_DOUBLE_EQ(can.GetAmpOffset(), -3.0);
    EXPECT_DOUBLE_EQ(can.CountToPhys(10), 8.0);
}

TEST(ChCndTest, CountsBecomePhysicalValues) {
    CChCnd ch = Channel(2, "10V");
    EXPECT_DOUBLE_EQ(ch.CountToPhys(25000), 10.0);
    EXPECT_DOUBLE_EQ(ch.CountToPhys(-12500), -5.0);

    // The offset point moves zero: P0 = 5 at A0 = 0 with P1 = 10 at A1 = 1 puts zero at -1.
    ch.m_phy1 = 10;
    ch.m_amp1 = 1;
    ch.m_phy0 = 5;
    ch.m_amp0 = 0;
    EXPECT_DOUBLE_EQ(ch.GetAmpOffset(), -1.0);

    CChCnd twoSlopes = Channel(2, "10V");
    twoSlopes.m_phy1 = 100;
    twoSlopes.m_amp1 = 10;
    twoSlopes.m_phy2 = -50;
    twoSlopes.m_amp2 = -10;
    EXPECT_DOUBLE_EQ(twoSlopes.AmpToPhys(5), 50.0);
    EXPECT_DOUBLE_EQ(twoSlopes.AmpToPhys(-5), -25.0);
    twoSlopes.m_amp2 = 0.0; // the second slope is off again
    EXPECT_DOUBLE_EQ(twoSlopes.AmpToPhys(-5), -50.0);

    // Equal scaling points would divide by zero: the offset point is kept as it is.
    CChCnd flat = Channel(2, "10V");
    flat.m_phy1 = 0;
    flat.m_phy0 = 0;
    flat.m_amp0 = 0.25;
    EXPECT_DOUBLE_EQ(flat.GetAmpOffset(), 0.25);
}

TEST(ChCndTest, BalanceResidualIsSubtractedBelowTheWarningPercentage) {
    BalanceWarnGuard guard;
    CChCnd::SetBalanceWarnPercent(100);
    CChCnd ch = Channel(2, "10V");
    EXPECT_EQ(ch.GetBalanceCorrection(), 0);
    ch.m_balanceResidual = 250; // 1 percent
    EXPECT_EQ(ch.GetBalanceCorrection(), 250);
    EXPECT_DOUBLE_EQ(ch.CountToPhys(25250), 10.0);
    ch.m_balanceResidual = 25000; // 100 percent
    EXPECT_EQ(ch.GetBalanceCorrection(), 0);
    ch.m_balanceResidual = -30000; // the comparison is signed
    EXPECT_EQ(ch.GetBalanceCorrection(), -30000);
    CChCnd::SetBalanceWarnPercent(1);
    ch.m_balanceResidual = 250;
    EXPECT_EQ(ch.GetBalanceCorrection(), 0);
}

TEST(ChCndTest, DisplayNameAndRangeScales) {
    CChCnd ch = Channel(2, "10V");
    ch.m_slot = 3;
    ch.m_channel = 4;
    EXPECT_EQ(ch.GetDisplayName(), "3-5");
    ch.m_name = "Load";
    EXPECT_EQ(ch.GetDisplayName(), "Load");
    EXPECT_EQ(ch.m_sepChart.m_min, -10.0);
    EXPECT_EQ(ch.m_sepChart.m_max, 10.0);
    EXPECT_EQ(ch.m_sepChart.m_div, 5.0);
    EXPECT_EQ(ch.m_sepChartScale, ch.m_sepChart);
    EXPECT_EQ(ch.GetChartScale(), ch.m_sepChartScale);
}

TEST(ChCndTest, CardChannelLines) {
    CSlotInfo slot;
    slot.m_partNo = "QA-80FV";
    slot.m_typeCode = 5;
    CChCnd ch = Channel(5, "10kHz");
    ch.m_slot = 2;
    ch.m_channel = 3;
    ch.m_fvInput = 1;
    ch.m_fvDivider = 4;
    ch.m_fvSmoothing = 8;
    ch.m_fvMode = 2;
    EXPECT_EQ(ch.FormatCardChannelLine(7, slot),
              "7 QA-80FV_204,RANGE=10kHz,FIN=1,FDV=4,FSM=8,FME=2");

    slot.m_typeCode = 2;
    ch.m_filter = "10Hz";
    ch.m_lvlStTrg = 1;
    ch.m_lvlStTrgVal = 12.9;
    EXPECT_EQ(ch.FormatCardChannelLine(12, slot),
              "12 QA-80FV_204,A_TRG=12,A_TYPE=ABS,RANGE=10kHz,FILTER=10Hz");
}
