// CDevice against simulated recorders: connection, module discovery, conditions, balance,
// clock, GPS and card information, with every failure message.
#include "DeviceFixture.h"

#include "conditions/ConditionTables.h"

using namespace LinkOrdinal;
using Strings = std::vector<std::string>;

namespace {

bool HasText(const Strings& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

} // namespace

TEST_F(DeviceFixture, OpenCloseReopen) {
    EXPECT_FALSE(m_device->Reopen()); // no address yet
    EXPECT_FALSE(m_device->Open("127.0.0.9"));
    EXPECT_TRUE(m_device->HasConnectionFailed());
    EXPECT_EQ(m_device->GetHandle(), 0);

    EXPECT_TRUE(m_device->Open(kAddress));
    EXPECT_FALSE(m_device->HasConnectionFailed());
    EXPECT_GT(m_device->GetHandle(), 0);
    bool gps = true;
    EXPECT_TRUE(m_device->GetGPSMode(gps)); // opens the auxiliary channel
    m_tap->ClearRecord();
    m_device->Close();
    EXPECT_EQ(m_tap->m_ordinals, (std::vector<int>{kCloseAux, kClose}));
    EXPECT_EQ(m_device->GetHandle(), 0);

    Recorder().SetRefuseConnection(true);
    EXPECT_FALSE(m_device->Reopen());
    EXPECT_TRUE(m_device->HasConnectionFailed());
    EXPECT_FALSE(m_device->ReadModules());
    Recorder().SetRefuseConnection(false);
    EXPECT_TRUE(m_device->Reopen());
}

TEST_F(DeviceFixture, ReadModulesFillsSlotsAndDatabases) {
    ASSERT_TRUE(m_device->Open(kAddress));
    ASSERT_TRUE(m_device->ReadModules());
    const auto& slots = m_device->GetSlots();
    EXPECT_EQ(slots[0].m_ranges, (Strings{"10V", "5V", "500mV", "1V"}));
    EXPECT_EQ(slots[0].m_filters, (Strings{"OFF", "100Hz"}));
    EXPECT_EQ(slots[1].m_ranges, (Strings{"2000uST", "5000uST"}));
    EXPECT_EQ(slots[2].m_typeCode, 19); // reported as "13"
    EXPECT_EQ(slots[2].m_ranges, (Strings{"10V", "2000uST", "5000uST"}));
    EXPECT_EQ(slots[3].m_ranges, (Strings{"1-2", "10kHz", "1kHz", "3-4", "100Hz"}));
    EXPECT_EQ(slots[5].m_chCount, 58);
    EXPECT_EQ(slots[6].m_typeCode, 10);
    EXPECT_EQ(slots[7].m_typeCode, 11); // a G module reports type 10

    const CDBCData* canK = m_device->FindCanKDatabase(7);
    ASSERT_NE(canK, nullptr);
    ASSERT_EQ(canK->m_items.size(), 2u);
    EXPECT_EQ(canK->m_items[1].m_chNo, 2);
    EXPECT_EQ(canK->m_items[1].m_name, "Distance");
    EXPECT_DOUBLE_EQ(canK->m_items[0].m_offset, -40.0);
    const CDBCData_G* canG = m_device->FindCanGDatabase(8);
    ASSERT_NE(canG, nullptr);
    EXPECT_EQ(canG->m_items[0].m_factor, "0.5");
    EXPECT_TRUE(canG->m_ackOn);
    EXPECT_EQ(canG->m_ackValue, "250");
    EXPECT_TRUE(HasText(m_prompt.m_progressTexts, "Getting SC information from ZT-300 ... "));
    EXPECT_TRUE(HasText(m_prompt.m_progressTexts, "Reading CAN_K DB from ZT-300 ... "));
    EXPECT_TRUE(HasText(m_prompt.m_progressTexts, "Reading CAN_G DB from ZT-300 ... "));
    EXPECT_FALSE(m_prompt.m_progressOpen);

    // Reading again replaces the databases instead of adding to them.
    ASSERT_TRUE(m_device->ReadModules());
    EXPECT_EQ(m_device->GetCanKDatabases().size(), 1u);

    EXPECT_TRUE(m_device->HasModuleOfType(10));
    EXPECT_FALSE(m_device->HasModuleOfType(9));

    // A module whose database cannot be read keeps its slot but has no database.
    Recorder().SetOperationError(kQueryCommand, -3);
    ASSERT_TRUE(m_device->ReadModules());
    EXPECT_EQ(m_device->FindCanKDatabase(7), nullptr);
    EXPECT_EQ(m_device->FindCanGDatabase(8), nullptr);
    EXPECT_EQ(m_device->GetSlots()[6].m_partNo, "QA-80CAN-K");
    CRecCnd condition;
    ASSERT_TRUE(m_device->LoadCondition(condition));
    EXPECT_EQ(condition.FindChannel(7, 0).second, nullptr);

    Recorder().SetOperationError(kGetSlotList, -3);
    EXPECT_FALSE(m_device->ReadModules());
}

TEST_F(DeviceFixture, SlotListNamesOnlyPresentSlots) {
    m_device->SetDeviceName("ZT-500");
    ASSERT_TRUE(m_device->Open("127.0.0.3"));
    ASSERT_TRUE(m_device->ReadModules());
    const auto& slots = m_device->GetSlots();
    for (int i = 0; i < CDevice::kSlotCount; ++i)
        EXPECT_EQ(slots[i].IsEmpty(), i != 2) << "slot " << i + 1;
    EXPECT_EQ(std::count(m_tap->m_ordinals.begin(), m_tap->m_ordinals.end(), kGetSlotInfo), 2);
}

TEST_F(DeviceFixture, LoadConditionBuildsChannels) {
    Connect();
    CRecCnd condition;
    ASSERT_TRUE(m_device->LoadCondition(condition));
    EXPECT_EQ(condition.m_rate, "1kHz");
    EXPECT_EQ(condition.m_sync, 11);
    EXPECT_EQ(condition.m_rs232c, 1);
    EXPECT_EQ(condition.m_slots[2].m_typeCode, 19);
    // 4 + 2 + 2 + 4 + 2 + 58 amplifier channels, and one per CAN signal.
    ASSERT_EQ(condition.m_channels.size(), 76u);

    const CChCnd& volt = *condition.FindChannel(1, 1).second;
    EXPECT_EQ(volt.m_ampCode, 2);
    EXPECT_EQ(volt.m_enabled, 1);
    EXPECT_FALSE(volt.m_range.empty());
    EXPECT_EQ(condition.FindChannel(1, 2).second->m_enabled, 0);

    const CChCnd& imu = *condition.FindChannel(6, 57).second; // wraps to row 1
    EXPECT_EQ(imu.m_name, "In_Stddev_Pitch");
    EXPECT_EQ(imu.m_range, "2.55deg");
    EXPECT_DOUBLE_EQ(imu.GetUnitPerCount(), 0.01);
    EXPECT_DOUBLE_EQ(imu.m_sepChart.m_max, 2.55);

    const CChCnd& speed = *condition.FindChannel(7, 0).second;
    EXPECT_EQ(speed.m_ampCode, 10);
    EXPECT_EQ(speed.m_name, "EngineSpeed");
    EXPECT_EQ(speed.m_phyUnit, "rpm");
    EXPECT_DOUBLE_EQ(speed.CountToPhys(1000), 60.0); // 0.1 per count, offset -40
    EXPECT_EQ(speed.m_range, "10.0rpm");             // signals read back carry the default limits
    EXPECT_EQ(speed.m_sepChart.m_min, -10.0);
    EXPECT_EQ(speed.m_sepChart.m_div, 5.0);
    const CChCnd& distance = *condition.FindChannel(7, 1).second;
    EXPECT_EQ(distance.m_dataType, 2);
    EXPECT_EQ(distance.m_wordsPerSample, 2);
    const CChCnd& wheel = *condition.FindChannel(8, 0).second;
    EXPECT_EQ(wheel.m_ampCode, 11);
    EXPECT_DOUBLE_EQ(wheel.CountToPhys(10), 6.5);
    EXPECT_EQ(condition.FindChannel(8, 1).second->m_wordsPerSample, 2);

    EXPECT_EQ(m_prompt.m_progressTexts,
              (Strings{"Loading condition from ZT-300 ... ", "Reading Card Info ..."}));
    EXPECT_NE(m_device->GetCardInfo()[2], CDevice::kCardUnknown);
}

// Guards a failed query taken for a condition: the load fails with the query's message and keeps
// nothing of what it read; only the card information may fail, leaving the card unknown.
TEST_F(DeviceFixture, LoadConditionFailures) {
    Connect();
    CRecCnd condition;
    const struct {
        int ordinal;
        int error;
        Strings messages; // each with the stop icon
    } cases[] = {
        {kGetAcqCondition, -7, {"LnkGetAcqCondition failed! ( Error = -7 )"}},
        {kGetGPSMode, -4, {"GetGPSMode failed !"}},
        {kGetSyncMode, -5, {"LnkGetSyncMode failed! ( Error = -5 )"}},
        {kGetSlotChannels, -3, {}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.ordinal);
        ASSERT_TRUE(m_device->LoadCondition(condition));
        m_prompt.Clear();
        Recorder().SetOperationError(test.ordinal, test.error);
        EXPECT_FALSE(m_device->LoadCondition(condition));
        Recorder().SetOperationError(test.ordinal, 0);
        EXPECT_EQ(m_prompt.MessageTexts(), test.messages);
        for (const CFakePrompt::Message& message : m_prompt.Messages())
            EXPECT_EQ(message.icon, PromptIcon::Stop);
        EXPECT_TRUE(condition.m_channels.empty()); // reset, nothing read after the failure
        EXPECT_FALSE(m_prompt.m_progressOpen);
    }
    Recorder().SetOperationError(kGetCardInfo, -3);
    EXPECT_TRUE(m_device->LoadCondition(condition));
    EXPECT_EQ(m_device->GetCardInfo()[2], CDevice::kCardUnknown);
}

TEST_F(DeviceFixture, WriteConditionRoundTrip) {
    Connect();
    CRecCnd condition;
    ASSERT_TRUE(m_device->LoadCondition(condition));
    condition.m_baseFileName = "Run7";
    condition.m_preTime = 3;
    condition.m_rs232c = 0;
    CChCnd& volt = *condition.FindChannel(1, 2).second;
    volt.m_enabled = 1;
    volt.SetRange("500mV");
    volt.m_filter = "100Hz";
    volt.m_lvlStTrg = 1;
    volt.m_lvlStTrgVal = 42.5;
    CChCnd& fv = *condition.FindChannel(4, 2).second;
    fv.m_fvInput = 2;
    fv.m_fvMode = 1;
    fv.m_fvDivider = 4;
    fv.m_diMask = 0;
    condition.FindChannel(5, 0).second->m_diMask = 0x5;
    m_prompt.Clear();
    ASSERT_TRUE(m_device->WriteCondition(condition));
    EXPECT_TRUE(m_prompt.Messages().empty());
    EXPECT_EQ(m_prompt.m_progressTexts.front(), "Writing condition to ZT-300 ... ");
    EXPECT_EQ(m_prompt.m_progressTexts.back(), "Reading Card Info ...");

    CRecCnd back;
    ASSERT_TRUE(m_device->LoadCondition(back));
    EXPECT_EQ(back.m_baseFileName, "Run7");
    EXPECT_EQ(back.m_preTime, 3);
    EXPECT_EQ(back.m_rs232c, 0);
    const CChCnd& volt2 = *back.FindChannel(1, 2).second;
    EXPECT_EQ(volt2.m_enabled, 1);
    EXPECT_EQ(volt2.m_range, "500mV");
    EXPECT_EQ(volt2.m_filter, "100Hz");
    EXPECT_EQ(volt2.m_lvlStTrg, 1);
    EXPECT_DOUBLE_EQ(volt2.m_lvlStTrgVal, 42.5);
    EXPECT_DOUBLE_EQ(volt2.m_sepChart.m_max, 500.0);
    const CChCnd& fv2 = *back.FindChannel(4, 2).second;
    EXPECT_EQ(fv2.m_fvInput, 2);
    EXPECT_EQ(fv2.m_fvMode, 1);
    EXPECT_EQ(fv2.m_fvDivider, 4);
    EXPECT_EQ(back.FindChannel(5, 0).second->m_diMask, 0x5);

    // With the PC deciding the record, the recorder's trigger settings are cleared.
    condition.m_hddLvlTrg = 1;
    ASSERT_TRUE(m_device->WriteCondition(condition));
    EXPECT_EQ(condition.m_preTime, 0);
    EXPECT_EQ(condition.FindChannel(1, 2).second->m_lvlStTrg, 0);
    ASSERT_TRUE(m_device->LoadCondition(back));
    EXPECT_EQ(back.FindChannel(1, 2).second->m_lvlStTrgVal, 0.0);
}

// Guards a refused step taken for a written condition: each fails the write with its message.
TEST_F(DeviceFixture, WriteConditionFailures) {
    Connect();
    CRecCnd condition;
    ASSERT_TRUE(m_device->LoadCondition(condition));
    const struct {
        int ordinal;
        int error;
        Strings messages;
        PromptIcon icon;
        const char* range = "10V"; // of channel 1-2
    } cases[] = {
        {kSetGPSMode, -4, {"SetGPSMode failed!"}, PromptIcon::Stop},
        {kSetAcqCondition, -6, {"LnkSetAcqCondition failed! ( Error = -6 )"}, PromptIcon::Stop},
        {kSetSyncMode, -8, {"LnkSetSyncMode failed! ( Error = -8 )"}, PromptIcon::Stop},
        {kApplyCondition, -3, {}, PromptIcon::None},
        {kSetSlotChannels, 0, {"1-2 NAK!"}, PromptIcon::None, "7V"}, // not offered: refused
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.ordinal);
        m_prompt.Clear();
        Recorder().SetOperationError(test.ordinal, test.error);
        condition.FindChannel(1, 1).second->SetRange(test.range);
        EXPECT_FALSE(m_device->WriteCondition(condition));
        Recorder().SetOperationError(test.ordinal, 0);
        EXPECT_EQ(m_prompt.MessageTexts(), test.messages);
        for (const CFakePrompt::Message& message : m_prompt.Messages())
            EXPECT_EQ(message.icon, test.icon);
        EXPECT_FALSE(m_prompt.m_progressOpen);
    }

    // The second model takes no GPS setting with the condition.
    condition.FindChannel(1, 1).second->SetRange("10V");
    Recorder().SetOperationError(kSetGPSMode, -4);
    m_device->SetDeviceName("ZT-500 B");
    EXPECT_TRUE(m_device->WriteCondition(condition));
}

TEST_F(DeviceFixture, TooManyInertialChannelsStopBeforeAnyCall) {
    Connect();
    CRecCnd condition;
    ASSERT_TRUE(m_device->LoadCondition(condition));
    for (CChCnd& channel : condition.m_channels)
        channel.m_enabled = channel.m_slot == 6 && channel.m_channel < 41 ? 1 : 0;
    m_device->Close();
    m_tap->ClearRecord();
    m_prompt.Clear();
    EXPECT_FALSE(m_device->WriteCondition(condition));
    EXPECT_FALSE(m_tap->Called(kOpen)); // closed: any call would have to open first
    EXPECT_EQ(m_device->GetHandle(), 0);
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"ADMA ON Channels Count > 40!"}));
}

TEST_F(DeviceFixture, BalanceAndResiduals) {
    Connect();
    CRecCnd condition;
    ASSERT_TRUE(m_device->LoadCondition(condition));
    const std::size_t strain = static_cast<std::size_t>(condition.FindChannel(2, 0).first);
    ChannelSelection selection(condition.m_channels.size(), 0);
    selection[strain] = 1;
    m_prompt.Clear();
    m_tap->ClearRecord();
    ASSERT_TRUE(m_device->Balance(condition, &selection));
    EXPECT_TRUE(m_tap->Called(kBalanceChannels));
    EXPECT_NE(condition.m_channels[strain].m_balanceResidual, CChCnd::kNoResidual);
    EXPECT_EQ(condition.m_channels[strain + 1].m_balanceResidual, CChCnd::kNoResidual);
    EXPECT_EQ(m_prompt.m_progressTexts,
              (Strings{"Balance ... ", "Extracting Balance Value\xE3\x80\x80... "}));

    m_prompt.Clear();
    ASSERT_TRUE(m_device->ReadBalanceResidual(condition));
    EXPECT_EQ(m_prompt.m_progressTexts.front(), "Reading Balance Residual Value ...");

    // A selection of none balances nothing rather than everything.
    const ChannelSelection none(condition.m_channels.size(), 0);
    m_tap->ClearRecord();
    EXPECT_TRUE(m_device->Balance(condition, &none));
    EXPECT_FALSE(m_tap->Called(kBalance));

    // Without a selection the recorder is asked to balance all its channels.
    m_tap->ClearRecord();
    ASSERT_TRUE(m_device->Balance(condition));
    EXPECT_TRUE(m_tap->Called(kBalance));
    EXPECT_FALSE(m_tap->Called(kBalanceChannels));
    EXPECT_NE(condition.FindChannel(1, 0).second->m_balanceResidual, CChCnd::kNoResidual);
    EXPECT_EQ(condition.FindChannel(1, 2).second->m_balanceResidual, CChCnd::kNoResidual);
    // A reply that is no residual list is the recorder's error text.
    m_tap->m_balanceReply = "2-1:64,CH ERROR";
    m_prompt.Clear();
    EXPECT_FALSE(m_device->Balance(condition, &selection));
    EXPECT_EQ(condition.m_channels[strain].m_balanceResidual, 100);
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"2-1:64,CH ERROR"}));
    EXPECT_FALSE(m_prompt.m_progressOpen);
    m_tap->m_balanceReply = "NO RESIDUAL";
    EXPECT_FALSE(m_device->ReadBalanceResidual(condition));
    EXPECT_EQ(condition.m_channels[strain].m_balanceResidual, CChCnd::kNoResidual);
    m_tap->m_balanceReply = "";
    EXPECT_TRUE(m_device->ReadBalanceResidual(condition));
    m_tap->m_balanceReply.reset();

    Recorder().SetOperationError(kBalance, -3);
    EXPECT_FALSE(m_device->Balance(condition));
    Recorder().SetOperationError(kGetBalanceResidual, -3);
    EXPECT_FALSE(m_device->ReadBalanceResidual(condition));
}

TEST_F(DeviceFixture, ClockGpsAndCard) {
    std::string date;
    std::string time;
    EXPECT_FALSE(m_device->GetRTC(date, time)); // not connected
    EXPECT_FALSE(m_device->SetRTCFromPC());
    Connect();
    m_clock.m_localTime = {2027, 1, 2, 3, 4, 5, 0, 6};
    EXPECT_TRUE(m_device->SetRTCFromPCAndReport());
    ASSERT_TRUE(m_device->GetRTC(date, time));
    EXPECT_EQ(date, "01-02-2027");
    EXPECT_EQ(time, "03:04:05");
    Recorder().SetOperationError(kSetRTC, -3);
    EXPECT_FALSE(m_device->SetRTCFromPCAndReport());
    ASSERT_EQ(m_prompt.Messages().size(), 2u);
    EXPECT_EQ(m_prompt.Messages()[0].text, "Setting RTC OK!");
    EXPECT_EQ(m_prompt.Messages()[0].icon, PromptIcon::Information);
    EXPECT_EQ(m_prompt.Messages()[1].text, "Setting RTC failed !");
    EXPECT_EQ(m_prompt.Messages()[1].icon, PromptIcon::Stop);

    bool on = false;
    ASSERT_TRUE(m_device->SetGPSMode(true));
    ASSERT_TRUE(m_device->GetGPSMode(on));
    EXPECT_TRUE(on);
    CRecCnd condition;
    ASSERT_TRUE(m_device->LoadCondition(condition));
    EXPECT_EQ(condition.m_rs232c, 0);
    Recorder().SetOperationError(kGetGPSMode, -3);
    EXPECT_FALSE(m_device->GetGPSMode(on));

    m_prompt.Clear();
    m_device->ScanCard();
    EXPECT_EQ(m_prompt.m_progressTexts, (Strings{"Scaning card ... "}));
    EXPECT_NE(m_device->GetCardInfo()[2], CDevice::kCardUnknown);
    Recorder().SetOperationError(kGetCardInfo, -3);
    m_device->ScanCard();
    EXPECT_EQ(m_device->GetCardInfo()[2], CDevice::kCardUnknown);
}

TEST_F(DeviceFixture, AuxiliaryChannelRefused) {
    Connect();
    Recorder().SetOperationError(kOpenAux, -1);
    bool on = false;
    EXPECT_FALSE(m_device->GetGPSMode(on));
    EXPECT_FALSE(m_device->SetGPSMode(true));
}
