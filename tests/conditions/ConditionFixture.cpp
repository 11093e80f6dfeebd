#include "ConditionFixture.h"
#include "support/TestSlots.h"

namespace {

void AddSlot(CRecCnd& cnd, int n, const std::string& partNo, int type, int count,
             std::vector<std::string> ranges, std::vector<std::string> filters) {
    AddTestSlot(
        cnd, n, partNo, type, count, std::move(ranges), std::move(filters),
        [](int c) { return c % 3 != 2; }, true);
}

} // namespace

CRecCnd MakeFullCondition() {
    CRecCnd cnd;
    cnd.m_baseFileName = "CARD01\\Run_7";
    cnd.m_preTime = 5;
    cnd.m_postTime = 60;
    cnd.m_rate = "1kHz";
    cnd.m_rs232c = 0;
    cnd.m_memo = "first memo";
    cnd.m_memo2 = "second memo";
    cnd.m_testInfo = {"bench A", "driver B", "load C"};
    cnd.m_hddRecFileExt = 1;
    cnd.m_hddRecFolder = "/data/records";
    cnd.m_hddLvlTrg = 1;
    cnd.m_hddPreTime = 2;
    cnd.m_hddPostTime = 30;
    cnd.m_calc = 1;
    cnd.m_subSamp = 2;
    cnd.m_sync = 11;
    cnd.m_dogTimer = {5000, 200, WatchDogSettings::kRecStopOff, 1, 120};

    AddSlot(cnd, 1, "QA-80V", 2, 4, {"10V", "5V", "500mV"}, {"OFF", "10Hz", "100Hz"});
    AddSlot(cnd, 2, "QA-80ST", 3, 2, {"2000uST", "5000uST"}, {"OFF", "1kHz"});
    AddSlot(cnd, 3, "QA-80TC", 4, 2, {"100DEG", "1000DEG"}, {});
    AddSlot(cnd, 4, "QA-80FV", 5, 2, {"1-2", "10kHz", "1kHz"}, {});
    AddSlot(cnd, 5, "QA-80DI", 7, 1, {"5V"}, {});
    AddSlot(cnd, 6, "QA-80IMU", 8, 2, {}, {});
    AddSlot(cnd, 7, "QA-80CANK", 10, 2, {}, {});
    AddSlot(cnd, 8, "QA-80CAN-G", 11, 1, {}, {});

    CChCnd& v = cnd.m_channels[0];
    v.m_name = "Force";
    v.m_phyUnit = "kN";
    v.m_memo = "left";
    v.m_mat = {"E=210", "nu=0.3", "", "steel"};
    v.m_filter = "10Hz";
    v.m_phy1 = 50.0;
    v.m_amp1 = 5.0;
    v.m_phy0 = 1.5;
    v.m_amp0 = 0.25;
    v.m_phy2 = -40.0;
    v.m_amp2 = -4.0;
    v.m_visible = 1;
    v.m_valueBox = 1;
    v.m_sepChart = {-20.0, 20.0, 5.0, 0};
    v.m_sepChartScale = {-12.5, 12.5, 2.5, 0};
    v.m_gridUnitsPerDiv = 2.5;
    v.m_gridCentreDiv = -3;
    v.m_gridColour = 0xFF8040;
    v.m_gridCentreValue = 1.25;
    v.m_lvlStTrg = 1;
    v.m_lvlStTrgVal = 37.5;
    v.m_hddLvlTrg = 1;
    v.m_hddLvlVal = -2.75;

    CChCnd& fv = cnd.m_channels[8];
    fv.m_fvInput = 2;
    fv.m_fvMode = 1;
    fv.m_fvDivider = 16;
    fv.m_fvSmoothing = 4;
    cnd.m_channels[10].m_diMask = 0xA5F0;

    CChCnd& imu = cnd.m_channels[11];
    imu.m_name = "Accel_X_Body";
    imu.m_canFactor = 0.0002;
    imu.m_canOffset = 0.5;
    CChCnd& can = cnd.m_channels[13];
    can.m_name = "EngineSpeed";
    can.m_phyUnit = "rpm";
    can.m_canFactor = 0.125;
    can.m_canOffset = -12.5;
    can.SetDataType(3);
    cnd.m_channels[15].SetDataType(2);

    CCalcChCnd& calc = cnd.m_calcChannels[0];
    calc.m_enabled = 1;
    calc.m_name = "Sum";
    calc.m_phyUnit = "kN";
    calc.SetScale(100.0, -100.0);
    calc.m_function = 6;
    calc.m_param = {1, 2, 0, 0};
    calc.m_memo = "sum of two";
    calc.m_visible = 1;
    CCalcChCnd& sma = cnd.m_calcChannels[3];
    sma.m_enabled = 1;
    sma.m_function = 9;
    sma.m_param = {1, 8, 0, 0};
    sma.SetScale(10.0, -10.0);

    CMonitorCh monitor;
    monitor.m_channel = 1;
    monitor.m_signalName = "Force";
    monitor.m_condition = 4;
    monitor.m_x = 1.5;
    monitor.m_y = 7.25;
    monitor.m_and = 1;
    monitor.m_port = 6;
    monitor.m_trgTimes = 3;
    monitor.m_countLimit = 10;
    cnd.m_monitorChannels.push_back(monitor);
    monitor.m_channel = 2;
    monitor.m_signalName = "1-2";
    monitor.m_and = 0;
    cnd.m_monitorChannels.push_back(monitor);
    return cnd;
}
