#include "acquisition/RecorderSettings.h"
#include "framework/UpdateHints.h"
#include "support/MemorySettingsStore.h"

#include <gtest/gtest.h>

TEST(RecorderSettingsTest, DefaultsSurviveAStoreRoundTrip) {
    CMemorySettingsStore store;
    CRecorderSettings settings("/opt/zt300ctl/");
    settings.Load(store);
    EXPECT_EQ(settings.m_viewFolder, "/opt/zt300ctl/");
    EXPECT_EQ(settings.m_viewerPgm, "/opt/zt300ctl/plotview");
    EXPECT_EQ(settings.m_balWarnPercent, 100);
    EXPECT_EQ(settings.m_yGridCnt, 25);
    EXPECT_EQ(settings.m_xWidth, 10);
    EXPECT_EQ(settings.m_xGrid, 2.0);
    EXPECT_EQ(settings.m_rtmPauseCode, "80");
    EXPECT_EQ(settings.GetUnitList(), (std::vector<std::string>{"V", "mV", "uST", "Hz", "C", "G"}));

    settings.Save(store);
    EXPECT_EQ(store.GetString("ZT300SET_SECTION", "XGridStr", ""), "2.000000e+00");
    EXPECT_EQ(store.m_values.size(), 22u);

    settings.m_xWidth = 45;
    settings.m_xGrid = 0.1;
    settings.m_regPhyUnits = "V,,mV";
    settings.m_multiZt300 = 1;
    settings.m_asFilePath = "/tmp/mm.csv";
    settings.Save(store);
    CRecorderSettings read("/elsewhere/");
    read.Load(store);
    EXPECT_EQ(read.m_xWidth, 45);
    EXPECT_EQ(ChartWidthLabel(read.m_xWidth), "");
    EXPECT_EQ(read.m_xGrid, 0.1);
    EXPECT_EQ(read.GetUnitList(), (std::vector<std::string>{"V", "", "mV"}));
    read.SetUnitList(read.GetUnitList());
    EXPECT_EQ(read.m_regPhyUnits, "V,,mV");
    EXPECT_EQ(read.m_multiZt300, 1);
    EXPECT_EQ(read.m_asFilePath, "/tmp/mm.csv");
    EXPECT_EQ(read.m_viewFolder, "/opt/zt300ctl/");
    EXPECT_EQ(ChartWidthLabel(60), " 1 min");
}

TEST(RecorderSettingsTest, OptionChangesBecomeOneHint) {
    const CRecorderSettings before;
    CRecorderSettings after = before;
    EXPECT_EQ(after.OptionChangeHint(before), 0);
    after.m_decimalDigit = 2;
    EXPECT_EQ(after.OptionChangeHint(before), UpdateHint::kDecimalDigitsChanged);
    after.m_yGridCnt = 10;
    EXPECT_EQ(after.OptionChangeHint(before), UpdateHint::kVerticalGridCountChanged);
    after.m_xGrid = 5;
    EXPECT_EQ(after.OptionChangeHint(before), UpdateHint::kGridStepChanged);
    after.m_xWidth = 30;
    EXPECT_EQ(after.OptionChangeHint(before), UpdateHint::kChartWidthChanged);
    after.m_balWarnPercent = 50;
    EXPECT_EQ(after.OptionChangeHint(before), UpdateHint::kConditionChanged);
    EXPECT_FALSE(after.ChartTypeChanged(before));
    after.m_chartType = 1;
    EXPECT_TRUE(after.ChartTypeChanged(before));
}
