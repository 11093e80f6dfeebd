#include "setup/ChannelTableFixture.h"

#include "support/TestSlots.h"
#include <string>

namespace {

void AddSlot(CRecCnd& cnd, int n, const std::string& partNo, int type, int count,
             std::vector<std::string> ranges, std::vector<std::string> filters) {
    AddTestSlot(
        cnd, n, partNo, type, count, std::move(ranges), std::move(filters),
        [](int) { return true; }, false);
}

CRecCnd MakeFirstUnit() {
    CRecCnd cnd;
    cnd.m_calc = 1;
    cnd.m_sendPending = 0;
    AddSlot(cnd, 1, "QA-80V", 2, 2, {"10V", "5V", "500mV"}, {"OFF", "10Hz", "100Hz"});
    AddSlot(cnd, 2, "QA-80ST", 3, 1, {"2000uST", "5000uST"}, {"OFF", "1kHz"});
    AddSlot(cnd, 3, "QA-80TC", 4, 1, {"100DEG", "1000DEG"}, {});
    AddSlot(cnd, 4, "QA-80FV", 5, 6, {"1-2", "10kHz", "1kHz", "3-6", "100Hz"}, {});
    AddSlot(cnd, 5, "QA-80DI", 7, 1, {}, {});
    AddSlot(cnd, 6, "QA-80IMU", 8, 1, {}, {});
    AddSlot(cnd, 7, "QA-80CAN-K", 10, 2, {}, {});
    AddSlot(cnd, 8, "QA-80CAN-G", 11, 1, {}, {});

    CChCnd& volt = cnd.m_channels[0];
    volt.m_name = "Force";
    volt.m_filter = "10Hz";
    volt.m_phyUnit = "kN";
    volt.m_phy1 = 50.0;
    volt.m_amp1 = 5.0;
    volt.m_memo = "left";
    volt.m_mat = {"STEEL", "S355", "", ""};
    volt.m_visible = 1;
    volt.m_balanceResidual = 250;
    volt.m_lvlStTrg = 1;
    volt.m_lvlStTrgVal = 37.5;

    CChCnd& di = cnd.m_channels[10];
    di.m_range = "5V";
    di.m_diMask = 0x00F3;
    di.m_lvlStTrgVal = 50.0;

    CChCnd& imu = cnd.m_channels[11];
    imu.m_range = "2G";
    imu.m_canFactor = 0.001;
    imu.m_canOffset = 0.5;

    CChCnd& canK = cnd.m_channels[12];
    canK.m_name = "RPM";
    canK.SetDataType(3);
    canK.m_canFactor = 0.25;
    cnd.m_channels[13].SetDataType(4);

    CCalcChCnd& calc = cnd.m_calcChannels[0];
    calc.m_enabled = 1;
    calc.m_name = "Diff";
    calc.m_phyUnit = "V";
    calc.m_function = 5;
    calc.m_param = {1, 2, 0, 0};
    calc.SetScale(50.0, -50.0);
    return cnd;
}

CRecCnd MakeSecondUnit() {
    CRecCnd cnd;
    cnd.m_sendPending = 0;
    AddSlot(cnd, 1, "QA-80VS", 9, 1, {"10V", "2000uST"}, {"OFF"});
    AddSlot(cnd, 2, "QA-80VS2", 19, 1, {"10V", "2000uST"}, {"OFF"});
    AddSlot(cnd, 3, "QA-80X", 15, 1, {"1V"}, {});
    return cnd;
}

} // namespace

std::vector<CRecCnd> MakeTableConditions() {
    std::vector<CRecCnd> units;
    units.push_back(MakeFirstUnit());
    units.push_back(MakeSecondUnit());
    return units;
}
