// The in-process link: scan, handles, module replies, condition, channel records, balance,
// clock, GPS mode, status machine and the injected faults.
#include "SimFixture.h"

#include <chrono>
#include <thread>

namespace {

const std::string kSep(1, LinkCode::kItemSeparator);

std::string Join(std::initializer_list<const char*> items) {
    std::string text;
    for (const char* item : items)
        text += (text.empty() ? "" : kSep) + item;
    return text;
}

} // namespace

using SimLinkTest = SimFixture;

TEST_F(SimLinkTest, ScanListsRecordersAndOpenFindsThemByAddress) {
    std::string list;
    EXPECT_EQ(m_link->LnkScanDevices(list), 2);
    EXPECT_EQ(list, "ZT-300,127.0.0.2;ZT-500,127.0.0.3;");
    EXPECT_EQ(m_link->LnkOpen("127.0.0.9", 1000), 0);
    EXPECT_NE(m_master, m_slave);
    EXPECT_EQ(m_link->LnkResetWSA(500), 0);

    EXPECT_EQ(m_link->LnkSetIPAddress("127.0.0.3", "127.0.0.4", "255.0.0.0", "127.0.0.1"), 1);
    EXPECT_EQ(m_link->LnkScanDevices(list), 2);
    EXPECT_EQ(list, "ZT-300,127.0.0.2;ZT-500,127.0.0.4;");
    EXPECT_GT(m_link->LnkOpen("127.0.0.4", 1000), 0);
    EXPECT_EQ(m_link->LnkSetIPAddress("127.0.0.4", "127.0.0.2", "255.0.0.0", "127.0.0.1"),
              SimResult::kBadArgument);
    EXPECT_EQ(m_link->LnkSetIPAddress("127.0.0.4", "127.0.0", "255.0.0.0", "127.0.0.1"),
              SimResult::kBadArgument);

    EXPECT_EQ(m_link->LnkClose(m_master), 1);
    EXPECT_EQ(m_link->LnkClose(m_master), SimResult::kCommError);
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kCommError2);
    std::vector<std::uint8_t> slots;
    EXPECT_EQ(m_link->LnkGetSlotList(m_master, slots), SimResult::kCommError);
}

TEST_F(SimLinkTest, SlotListAndSlotInfoRepliesAreExactBytes) {
    std::vector<std::uint8_t> slots;
    ASSERT_EQ(m_link->LnkGetSlotList(m_master, slots), 1);
    ASSERT_EQ(slots.size(), 256u);
    EXPECT_EQ(std::vector<std::uint8_t>(slots.begin(), slots.begin() + 9),
              (std::vector<std::uint8_t>{1, 0, 1, 1, 0, 1, 0, 0, 0}));

    std::string reply;
    ASSERT_EQ(m_link->LnkGetSlotInfo(m_master, 3, "PN,TY,NCH", reply), 1);
    EXPECT_EQ(reply, Join({"PN QA-80UA", "TY 13", "NCH 2"}));
    ASSERT_EQ(m_link->LnkGetSlotInfo(m_master, 3, "RV,RS,CF", reply), 1);
    EXPECT_EQ(reply, Join({"RV 10", "RS 2,5", "CF OFF"}));
    ASSERT_EQ(m_link->LnkGetSlotInfo(m_master, 6, "PN,TY,NCH", reply), 1);
    EXPECT_EQ(reply, Join({"PN QA-80CAN-K", "TY A", "NCH 4"}));
    ASSERT_EQ(m_link->LnkGetSlotInfo(m_master, 4, "RF", reply), 1);
    EXPECT_EQ(reply, "RF 1-2,10k,1k,3-4,100,10");
    ASSERT_EQ(m_link->LnkGetSlotInfo(m_master, 6, "RV", reply), 1);
    EXPECT_EQ(reply, ""); // a CAN module reports no ranges
    EXPECT_EQ(m_link->LnkGetSlotInfo(m_master, 2, "PN", reply), SimResult::kBadArgument);
}

TEST_F(SimLinkTest, ConditionSyncModeAndChannelRecordsRoundTrip) {
    LinkAcqCondition condition;
    ASSERT_EQ(m_link->LnkGetAcqCondition(m_master, condition), 1);
    EXPECT_EQ(condition, (LinkAcqCondition{"Test", "100Hz", 0, 0}));
    EXPECT_EQ(m_link->LnkSetAcqCondition(m_master, {"Run", "7Hz", 0, 0}), SimResult::kBadArgument);
    ASSERT_EQ(m_link->LnkSetAcqCondition(m_master, {"Run", "1.28kHz", 2, 5}), 1);
    ASSERT_EQ(m_link->LnkGetAcqCondition(m_master, condition), 1);
    EXPECT_EQ(condition, (LinkAcqCondition{"Run", "1.28kHz", 2, 5}));

    int sync = 0;
    ASSERT_EQ(m_link->LnkGetSyncMode(m_slave, sync), 1);
    EXPECT_EQ(sync, 12);
    EXPECT_EQ(m_link->LnkSetSyncMode(m_slave, 13), SimResult::kBadArgument);
    EXPECT_EQ(m_link->LnkSetSyncMode(m_slave, 10), 1);
    EXPECT_EQ(m_link->LnkApplyCondition(m_master), 1);

    std::vector<LinkChannelRecord> records;
    ASSERT_EQ(m_link->LnkGetSlotChannels(m_master, 1, records), 1);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].enabled, 1);
    EXPECT_EQ(records[2].enabled, 0);
    EXPECT_EQ(records[0].range, "10V");
    EXPECT_EQ(records[0].filter, "OFF");
    ASSERT_EQ(m_link->LnkGetSlotChannels(m_master, 4, records), 1);
    EXPECT_EQ(records[2].range, "100Hz"); // the section of channels 3-4
    EXPECT_EQ(records[2].fvInput, "MG");
}

TEST_F(SimLinkTest, ChannelRecordTheModuleCannotTakeIsRefusedWithStatus21) {
    std::vector<LinkChannelRecord> records;
    ASSERT_EQ(m_link->LnkGetSlotChannels(m_master, 1, records), 1);
    records[0].range = "2V";        // not offered
    records[1].range = "500mV";     // offered
    records[1].filter = "10Hz";     // offered
    records[2].filter = "1kHz";     // not offered
    records[3].lvlStTrgVal = 120.0; // beyond full scale
    ASSERT_EQ(m_link->LnkSetSlotChannels(m_master, 1, 2, 4, records), 1);
    EXPECT_EQ(records[0].status, LinkCode::kChannelRefused);
    EXPECT_EQ(records[1].status, 0);
    EXPECT_EQ(records[2].status, LinkCode::kChannelRefused);
    EXPECT_EQ(records[3].status, LinkCode::kChannelRefused);
    std::vector<LinkChannelRecord> stored;
    ASSERT_EQ(m_link->LnkGetSlotChannels(m_master, 1, stored), 1);
    EXPECT_EQ(stored[0].range, "10V"); // a refused record changes nothing
    EXPECT_EQ(stored[1].range, "500mV");
    EXPECT_EQ(stored[1].filter, "10Hz");

    ASSERT_EQ(m_link->LnkGetSlotChannels(m_master, 4, records), 1);
    records[0].range = "1kHz";
    records[2].range = "10kHz"; // offered to channels 1-2 only
    records[3].fvMode = "XX";
    ASSERT_EQ(m_link->LnkSetSlotChannels(m_master, 4, 5, 4, records), 1);
    EXPECT_EQ(records[0].status, 0);
    EXPECT_EQ(records[2].status, LinkCode::kChannelRefused);
    EXPECT_EQ(records[3].status, LinkCode::kChannelRefused);

    ASSERT_EQ(m_link->LnkGetSlotChannels(m_master, 3, records), 1);
    records[0].range = "5000uST";
    ASSERT_EQ(m_link->LnkSetSlotChannels(m_master, 3, 19, 2, records), 1);
    EXPECT_EQ(records[0].status, 0);

    // CAN channels carry the signal's span as their range: not the module's to judge.
    ASSERT_EQ(m_link->LnkGetSlotChannels(m_master, 6, records), 1);
    records[0].range = "100.0km/h";
    ASSERT_EQ(m_link->LnkSetSlotChannels(m_master, 6, 10, 4, records), 1);
    EXPECT_EQ(records[0].status, 0);
    // The CAN-G module is sent as type 10.
    ASSERT_EQ(m_link->LnkGetSlotChannels(m_slave, 3, records), 1);
    EXPECT_EQ(m_link->LnkSetSlotChannels(m_slave, 3, 10, 4, records), 1);

    EXPECT_EQ(m_link->LnkSetSlotChannels(m_master, 1, 3, 4, records), SimResult::kBadArgument);
    EXPECT_EQ(m_link->LnkSetSlotChannels(m_master, 1, 2, 5, records), SimResult::kBadArgument);
}

TEST_F(SimLinkTest, BalanceRepliesInTheFormTheProgramParses) {
    std::string reply;
    ASSERT_EQ(m_link->LnkGetBalanceResidual(m_master, reply), 1);
    EXPECT_EQ(reply, "1-1:FFFFFAA3,1-2:FFFFFAC8,3-1:FFFFFB6B,");
    ASSERT_EQ(m_link->LnkBalanceChannels(m_master, "1-2", reply), 1);
    EXPECT_EQ(reply, "1-2:FFFFFFF8,");
    ASSERT_EQ(m_link->LnkGetBalanceResidual(m_master, reply), 1);
    EXPECT_EQ(reply, "1-1:FFFFFAA3,1-2:FFFFFFF8,3-1:FFFFFB6B,");
    ASSERT_EQ(m_link->LnkBalance(m_master, reply), 1);
    EXPECT_EQ(reply, "1-1:FFFFFFF1,1-2:FFFFFFF8,3-1:FFFFFFF7,");
    for (const char* channels : {"9-1", "6-1", ""}) // no module, a CAN module, none
        EXPECT_EQ(m_link->LnkBalanceChannels(m_master, channels, reply), SimResult::kBadArgument);
}

TEST_F(SimLinkTest, ClockKeepsItsOffsetFromTheHostClock) {
    LinkRtc rtc{};
    ASSERT_EQ(m_link->LnkGetRTC(m_master, rtc), 1);
    // 2026-12-06 10:20:30 is a Sunday, day 339 of the year counted from 0.
    EXPECT_EQ(rtc, (LinkRtc{30, 20, 10, 6, 12, 2026, 0, 339, 0}));
    ASSERT_EQ(m_link->LnkSetRTC(m_master, {0, 0, 0, 1, 1, 2027, 0, 0, 0}), 1);
    m_clock.m_localTime.hour = 11;
    ASSERT_EQ(m_link->LnkGetRTC(m_master, rtc), 1);
    EXPECT_EQ(rtc, (LinkRtc{0, 0, 1, 1, 1, 2027, 5, 0, 0}));
    ASSERT_EQ(m_link->LnkGetRTC(m_slave, rtc), 1);
    EXPECT_EQ(rtc[2], 11); // each recorder has its own clock
    EXPECT_EQ(m_link->LnkSetRTC(m_master, {0, 0, 0, 31, 2, 2027, 0, 0, 0}),
              SimResult::kBadArgument);
    EXPECT_EQ(m_link->LnkSetRTC(m_master, {0, 60, 0, 1, 1, 2027, 0, 0, 0}),
              SimResult::kBadArgument);
}

TEST_F(SimLinkTest, GpsModeOnlyThroughTheGpsAuxiliaryChannel) {
    EXPECT_EQ(m_link->LnkSetGPSMode(m_master, LinkCode::kGpsOn), SimResult::kWrongState);
    EXPECT_EQ(m_link->LnkGetGPSMode(m_master), SimResult::kWrongState);
    EXPECT_EQ(m_link->LnkOpenAux(m_master, 99), 0);
    ASSERT_EQ(m_link->LnkOpenAux(m_master, LinkCode::kAuxGps), 1);
    EXPECT_EQ(m_link->LnkGetGPSMode(m_master), LinkCode::kGpsOff);
    EXPECT_EQ(m_link->LnkSetGPSMode(m_master, LinkCode::kGpsOn), 1);
    EXPECT_EQ(m_link->LnkGetGPSMode(m_master), LinkCode::kGpsOn);
    EXPECT_EQ(m_link->LnkSetGPSMode(m_master, 5), SimResult::kBadArgument);
    EXPECT_EQ(m_link->LnkCloseAux(m_master), 1);
    EXPECT_EQ(m_link->LnkGetGPSMode(m_master), SimResult::kWrongState);

    std::uint8_t block[250] = {};
    ASSERT_EQ(m_link->LnkOpenAux(m_master, LinkCode::kAuxAcqStream), 1);
    EXPECT_EQ(m_link->LnkReadAux(m_master, block, 250), 1);
}

TEST_F(SimLinkTest, StatusMachineRefusesIllegalTransitions) {
    Master().SetCardOpTime(0);
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kIdle);
    EXPECT_EQ(m_link->LnkStartAcq(m_master, 0, 0), SimResult::kWrongState);
    EXPECT_EQ(m_link->LnkStopAcq(m_master), SimResult::kWrongState);
    EXPECT_EQ(m_link->LnkStopArmed(m_master), 1); // already idle: nothing to stop
    EXPECT_EQ(m_link->LnkStartArmed(m_master, 0), SimResult::kBadArgument);

    ASSERT_EQ(m_link->LnkStartArmed(m_master, 100000), 1);
    EXPECT_EQ(m_link->LnkGetStatusWait(m_master, 1000), RecorderStatus::kArmed);
    EXPECT_EQ(m_link->LnkStartArmed(m_master, 100000), SimResult::kWrongState);
    EXPECT_EQ(m_link->LnkSetAcqCondition(m_master, {"Run", "1kHz", 0, 0}), SimResult::kWrongState);
    EXPECT_EQ(m_link->LnkSetSyncMode(m_master, 10), SimResult::kWrongState);
    std::string reply;
    EXPECT_EQ(m_link->LnkBalance(m_master, reply), SimResult::kWrongState);
    EXPECT_EQ(m_link->LnkStartAcq(m_master, 0, 0), SimResult::kNoCard); // this one has no card
    EXPECT_EQ(m_link->LnkStopArmed(m_master), 1);
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kIdle);

    ASSERT_EQ(m_link->LnkStartArmed(m_slave, 100000), 1);
    ASSERT_EQ(m_link->LnkStartAcq(m_slave, 0, 0), 1);
    EXPECT_EQ(m_link->LnkGetStatus(m_slave), RecorderStatus::kAcq);
    EXPECT_EQ(m_link->LnkFormatCard(m_slave), SimResult::kWrongState);
    EXPECT_EQ(m_link->LnkStartAcq(m_slave, 0, 0), SimResult::kWrongState);
    ASSERT_EQ(m_link->LnkStopAcq(m_slave), 1);
    EXPECT_EQ(m_link->LnkGetStatus(m_slave), RecorderStatus::kArmed);
    ASSERT_EQ(m_link->LnkStopArmed(m_slave), 1);
    EXPECT_EQ(m_link->LnkGetStatus(m_slave), RecorderStatus::kIdle);

    ASSERT_EQ(m_link->LnkSetRemote(m_master, 1, 100000), 1);
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kArmed);
    ASSERT_EQ(m_link->LnkSetRemote(m_master, 0, 0), 1);
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kIdle);
}

TEST_F(SimLinkTest, BalanceAndCardOperationsShowTheirStatusWhileTheyRun) {
    const auto seen = [this](int status, auto operation) {
        std::thread worker(operation);
        bool found = false;
        for (int poll = 0; poll < 400 && !found; ++poll) {
            found = m_link->LnkGetStatus(m_slave) == status;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        worker.join();
        return found;
    };
    Slave().SetBalanceTime(300);
    EXPECT_TRUE(seen(RecorderStatus::kBalance, [this] {
        std::string reply;
        EXPECT_EQ(m_link->LnkBalance(m_slave, reply), 1);
    }));
    Slave().SetCardOpTime(300);
    EXPECT_TRUE(
        seen(RecorderStatus::kCardOp, [this] { EXPECT_EQ(m_link->LnkFormatCard(m_slave), 1); }));
    EXPECT_EQ(m_link->LnkGetStatus(m_slave), RecorderStatus::kIdle);
}

TEST_F(SimLinkTest, RefusedAndDroppedConnectionsFailAtOnce) {
    Slave().SetRefuseConnection(true);
    EXPECT_EQ(m_link->LnkOpen(kSlaveAddress, 1000), 0);
    std::string list;
    EXPECT_EQ(m_link->LnkScanDevices(list), 1);
    EXPECT_EQ(list, "ZT-300,127.0.0.2;");
    Slave().SetRefuseConnection(false);

    ASSERT_EQ(m_link->LnkStartArmed(m_master, 100000), 1);
    Master().DropConnections();
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kCommError2);
    EXPECT_EQ(m_link->LnkGetStatusWait(m_master, 1000), RecorderStatus::kCommError2);
    EXPECT_EQ(m_link->LnkGetDataCount(m_master), SimResult::kCommError);
    EXPECT_EQ(m_link->LnkStopArmed(m_master), SimResult::kCommError);
    const int again = m_link->LnkOpen(kMasterAddress, 1000);
    ASSERT_GT(again, 0);
    EXPECT_EQ(m_link->LnkGetStatus(again), RecorderStatus::kIdle); // the drop stopped it
    EXPECT_EQ(m_link->LnkGetStatus(m_slave), RecorderStatus::kIdle);
}

TEST_F(SimLinkTest, ConnectionDropsAfterTheGivenTimeArmed) {
    Master().SetDropAfterArmedSeconds(2);
    m_clock.Advance(5000); // idle time does not count
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kIdle);
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 100000), 1);
    m_clock.Advance(1999);
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kArmed);
    m_clock.Advance(1);
    EXPECT_EQ(m_link->LnkGetStatusWait(m_master, 1000), RecorderStatus::kCommError2);
    EXPECT_EQ(m_link->LnkGetStatus(m_link->LnkOpen(kMasterAddress, 1000)), RecorderStatus::kIdle);
}

TEST_F(SimLinkTest, InjectedErrorBusyAndDelay) {
    Master().SetOperationError(LinkOrdinal::kStartArmed, -55);
    EXPECT_EQ(m_link->LnkStartArmed(m_master, 100000), -55);
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kIdle);
    Master().SetOperationError(LinkOrdinal::kStartArmed, 0);
    EXPECT_EQ(m_link->LnkStartArmed(m_master, 100000), 1);
    EXPECT_EQ(m_link->LnkStopArmed(m_master), 1);

    Master().SetBusy(true);
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kBusy);
    EXPECT_EQ(m_link->LnkStartArmed(m_master, 100000), SimResult::kBusy);
    LinkAcqCondition condition;
    EXPECT_EQ(m_link->LnkGetAcqCondition(m_master, condition), SimResult::kBusy);
    Master().ClearFaults();
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kIdle);

    Master().SetAnswerDelay(100);
    EXPECT_EQ(m_link->LnkGetStatusWait(m_master, 2000), RecorderStatus::kIdle);
    Master().SetAnswerDelay(3000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(m_link->LnkGetStatusWait(m_master, 50), RecorderStatus::kCommError2);
    EXPECT_EQ(m_link->LnkOpen(kMasterAddress, 50), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
}
