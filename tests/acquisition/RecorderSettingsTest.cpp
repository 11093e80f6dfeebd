#include "acquisition/RecorderSettings.h"
#include "framework/UpdateHints.h"
#include "support/MemorySettingsStore.h"

#include <gtest/gtest.h>

TEST(RecorderSettingsTest, DefaultsSurviveAStoreRoundTrip) {
    CMemorySettingsStore store;
    CRecorderSettings settings("/opt/zt300ctl/", "/home/u/.local/share/zt300ctl/");
    settings.Load(store);
    EXPECT_EQ(settings.m_viewFolder, "/home/u/.local/share/zt300ctl/"); // where records go
    EXPECT_EQ(CRecorderSettings("/opt/zt300ctl/").m_viewFolder, "/opt/zt300ctl/");
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
    settings.m_xGrid = 0.5;
    settings.m_regPhyUnits = "V,,mV";
    settings.m_multiZt300 = 1;
    settings.m_asFilePath = "/tmp/mm.csv";
    settings.Save(store);
    CRecorderSettings read("/elsewhere/");
    read.Load(store);
    EXPECT_EQ(read.m_xWidth, 45);
    EXPECT_EQ(ChartWidthLabel(read.m_xWidth), "");
    EXPECT_EQ(read.m_xGrid, 0.5);
    EXPECT_EQ(read.GetUnitList(), (std::vector<std::string>{"V", "", "mV"}));
    read.SetUnitList(read.GetUnitList());
    EXPECT_EQ(read.m_regPhyUnits, "V,,mV");
    EXPECT_EQ(read.m_multiZt300, 1);
    EXPECT_EQ(read.m_asFilePath, "/tmp/mm.csv");
    EXPECT_EQ(read.m_viewFolder, "/home/u/.local/share/zt300ctl/");
    EXPECT_EQ(ChartWidthLabel(60), " 1 min");
}

// A profile edited by hand: what the option sheet could not have stored takes its default and
// is written back as that default (a decimal count of 2147483647 would cost seconds and
// megabytes on every printed value).
TEST(RecorderSettingsTest, ValuesOutsideTheOptionSheetsRangesTakeTheirDefaults) {
    struct Case {
        const char* key;
        const char* stored;
        const char* read; // as written back
    };
    const Case cases[] = {
        {"Decimal_Digit", "2147483647", "3"},
        {"Decimal_Digit", "-1", "3"},
        {"Decimal_Digit", "4", "4"},
        {"XWidth", "0", "10"},
        {"XWidth", "18001", "10"},
        {"XWidth", "45", "45"},
        {"XWidth", "18000", "18000"},
        {"BalWarnPercent", "101", "100"},
        {"BalWarnPercent", "65636", "100"},
        {"BalWarnPercent", "-1", "100"},
        {"BalWarnPercent", "0", "0"},
        {"YGridCnt", "7", "25"},
        {"YGridCnt", "65", "25"},
        {"YGridCnt", "64", "64"},
        {"ChartType", "2", "0"},
        {"AS_Mode", "-3", "0"},
        {"Multi_ZT300", "7", "0"},
        {"AutoSave", "1", "1"},
        {"RTM_START_CODE", "7a", "70"},
        {"RTM_STOP_CODE", "12", "12"},
        {"XGridStr", "1e308", "2.000000e+00"},
        {"XGridStr", "0.05", "2.000000e+00"},
        {"XGridStr", "0.1", "1.000000e-01"},
        {"XGridStr", "-2", "2.000000e+00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.stored);
        CMemorySettingsStore store;
        store.WriteString(CRecorderSettings::kSection, c.key, c.stored);
        CRecorderSettings settings;
        settings.Load(store);
        settings.Save(store);
        EXPECT_EQ(store.GetString(CRecorderSettings::kSection, c.key, ""), c.read);
    }

    // A grid step that does not fit a chart width of no row becomes a fifth of it.
    CMemorySettingsStore store;
    store.WriteInt(CRecorderSettings::kSection, "XWidth", 1000);
    store.WriteString(CRecorderSettings::kSection, "XGridStr", "2000");
    CRecorderSettings settings;
    settings.Load(store);
    EXPECT_EQ(settings.m_xGrid, 200.0);
    store.WriteInt(CRecorderSettings::kSection, "XWidth", 1);
    store.WriteString(CRecorderSettings::kSection, "XGridStr", "2");
    settings.Load(store);
    EXPECT_EQ(settings.m_xGrid, 0.1); // the table's step of one second
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
