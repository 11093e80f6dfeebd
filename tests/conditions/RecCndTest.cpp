#include "conditions/RecCnd.h"
#include "ConditionFixture.h"
#include "support/FakePrompt.h"

#include <gtest/gtest.h>

namespace {

void AddChannels(CRecCnd& cnd, int slot, int type, int count, int enabled) {
    CSlotInfo& info = cnd.m_slots[static_cast<std::size_t>(slot - 1)];
    info.m_partNo = "P" + std::to_string(slot);
    info.m_typeCode = type;
    info.m_chCount = static_cast<std::uint16_t>(count);
    for (int c = 0; c < count; ++c) {
        CChCnd ch;
        ch.m_slot = static_cast<std::int16_t>(slot);
        ch.m_channel = static_cast<std::int16_t>(c);
        ch.m_ampCode = type;
        ch.m_enabled = c < enabled;
        cnd.m_channels.push_back(ch);
    }
}

} // namespace

// Catches a reset that leaves hardware or settings of the old condition behind, or that does not
// mark the condition for sending. The lines a new condition writes check its other defaults.
TEST(RecCndTest, DefaultsAndReset) {
    CRecCnd cnd;
    EXPECT_TRUE(cnd.m_channels.empty());
    EXPECT_EQ(cnd.m_sendPending, 1);
    EXPECT_EQ(cnd.m_calcSlot.FormatSlotLine(), " QA-80CALC,153,4");

    cnd = MakeFullCondition();
    cnd.m_sendPending = 0;
    cnd.Reset();
    EXPECT_EQ(cnd.m_baseFileName, "");
    EXPECT_TRUE(cnd.m_channels.empty());
    EXPECT_TRUE(cnd.m_monitorChannels.empty());
    EXPECT_TRUE(cnd.m_slots[0].IsEmpty());
    EXPECT_EQ(cnd.m_calcChannels[0].m_function, -1);
    EXPECT_EQ(cnd.m_calcChannels[0].m_slot, 9);
    EXPECT_EQ(cnd.m_sendPending, 1);
    EXPECT_EQ(cnd.m_dogTimer, WatchDogSettings{});
}

TEST(RecCndTest, RatesAndSyncTexts) {
    CRecCnd cnd;
    const std::pair<const char*, double> rates[] = {{"EXT", 0.0},        {"1.28Hz", 1.28},
                                                    {"1.28kHz", 1280.0}, {"200kHz", 200000.0},
                                                    {"0.1Hz", 0.1},      {"3K", 3000.0}};
    for (const auto& [text, hz] : rates) {
        cnd.m_rate = text;
        EXPECT_DOUBLE_EQ(cnd.GetRateHz(), hz) << text;
    }
    EXPECT_EQ(cnd.GetSyncText(), "SINGLE");
    EXPECT_TRUE(cnd.SetSyncText("  slave\t"));
    EXPECT_EQ(cnd.m_sync, 12);
    EXPECT_FALSE(cnd.SetSyncText("MAST"));
    EXPECT_EQ(cnd.m_sync, 12);
    cnd.m_sync = 0;
    EXPECT_EQ(cnd.GetSyncText(), "");
}

TEST(RecCndTest, ChannelPositionsAndFrameLayout) {
    CRecCnd cnd;
    AddChannels(cnd, 1, 2, 4, 2); // channels 0 and 1 enabled
    AddChannels(cnd, 3, 10, 3, 3);
    cnd.m_channels[5].SetDataType(3); // a two-word channel
    EXPECT_EQ(cnd.FindChannel(3, 1).first, 5);
    EXPECT_EQ(cnd.FindChannel(3, 1).second, &cnd.m_channels[5]);
    EXPECT_EQ(cnd.FindChannel(2, 0).first, -1);
    EXPECT_EQ(cnd.GetEnabledIndex(1, 1), 1);
    EXPECT_EQ(cnd.GetEnabledIndex(1, 2), -1);
    EXPECT_EQ(cnd.GetEnabledIndex(3, 2), 4);
    EXPECT_EQ(cnd.GetSampleWordOffset(3, 2), 5);
    EXPECT_EQ(cnd.GetSampleWordOffset(3, 1), 3);
    EXPECT_EQ(cnd.GetSampleWordOffset(1, 3), -1);
    EXPECT_EQ(cnd.CountEnabled(true), 5);
    EXPECT_EQ(cnd.CountSampleWords(false), 6);
    cnd.m_calcChannels[1].m_enabled = 1;
    EXPECT_EQ(cnd.CountSampleWords(true), 6); // calculation is off
    cnd.m_calc = 1;
    EXPECT_EQ(cnd.CountSampleWords(true), 7);
    EXPECT_EQ(cnd.CountEnabled(true), 6);
    EXPECT_EQ(cnd.CountEnabled(false), 5);
    EXPECT_TRUE(cnd.HasEnabledChannel());
    EXPECT_EQ(&cnd.GetSlotOf(cnd.m_channels[4]), &cnd.m_slots[2]);
    EXPECT_EQ(&cnd.GetSlotOf(cnd.m_calcChannels[0]), &cnd.m_calcSlot);
}

TEST(RecCndTest, CheckConditionCountsInertialChannelsPerSlotAndWarnsOfMemory) {
    CFakePrompt prompt;
    CRecCnd cnd;
    AddChannels(cnd, 1, 8, 41, 40);
    EXPECT_TRUE(cnd.CheckCondition(0, prompt));
    EXPECT_TRUE(prompt.MessageTexts().empty());

    cnd.m_channels.back().m_enabled = 1;
    EXPECT_FALSE(cnd.CheckCondition(0, prompt));
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"ADMA ON Channels Count > 40!"});
    EXPECT_EQ(prompt.Messages()[0].icon, PromptIcon::Exclamation);

    prompt.Clear();
    CRecCnd spread;
    AddChannels(spread, 1, 8, 21, 21);
    AddChannels(spread, 2, 8, 20, 20);
    EXPECT_TRUE(spread.CheckCondition(0, prompt));

    CRecCnd fast;
    AddChannels(fast, 1, 2, 100, 100);
    fast.m_rate = "10kHz";
    EXPECT_TRUE(fast.CheckCondition(0, prompt)); // only a warning
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Warning:Memory Overflow!"});
    prompt.Clear();
    fast.m_rate = "5kHz"; // 1000000 bytes per second: below the first limit, not the second
    EXPECT_TRUE(fast.CheckCondition(0, prompt));
    EXPECT_TRUE(prompt.MessageTexts().empty());
    EXPECT_TRUE(fast.CheckCondition(1, prompt));
    EXPECT_EQ(prompt.MessageTexts().size(), 1u);
    prompt.Clear();
    fast.m_rate = "10kHz";
    fast.m_secondModel = 1;
    EXPECT_TRUE(fast.CheckCondition(0, prompt));
    EXPECT_TRUE(prompt.MessageTexts().empty());
}

TEST(RecCndTest, BalanceResidualTolerance) {
    CRecCnd cnd;
    AddChannels(cnd, 1, 3, 3, 3);
    EXPECT_TRUE(cnd.CheckBalanceResidual(10));
    cnd.m_channels[1].m_balanceResidual = -2500; // 10 percent
    EXPECT_FALSE(cnd.CheckBalanceResidual(10));
    EXPECT_TRUE(cnd.CheckBalanceResidual(11));
    const std::vector<int> withoutSecond{1, 0};
    EXPECT_TRUE(cnd.CheckBalanceResidual(10, &withoutSecond));
    const std::vector<int> onlyFirst{1};
    EXPECT_FALSE(
        cnd.CheckBalanceResidual(10, &onlyFirst)); // beyond the selection counts as selected
    cnd.m_channels[1].m_enabled = 0;
    EXPECT_TRUE(cnd.CheckBalanceResidual(10));
}

TEST(RecCndTest, HardwareComparisonAndSettingsCopy) {
    const CRecCnd source = MakeFullCondition();
    CRecCnd target = MakeFullCondition();
    EXPECT_TRUE(target.IsSameHardware(source));
    target.m_slots[2].m_partNo = "QA-80TC2";
    EXPECT_FALSE(target.IsSameHardware(source));
    target = MakeFullCondition();
    std::swap(target.m_channels[0].m_channel, target.m_channels[1].m_channel);
    EXPECT_FALSE(target.IsSameHardware(source));

    target = CRecCnd{};
    target.m_channels = source.m_channels;
    for (CChCnd& ch : target.m_channels) {
        ch.m_enabled = 0;
        ch.m_range = "x";
        ch.m_name = "pc-name";
        ch.m_canOffset = 99;
    }
    target.m_hddRecFolder = "/pc/only";
    target.CopySettingsFrom(source);
    EXPECT_EQ(target.m_baseFileName, source.m_baseFileName);
    EXPECT_EQ(target.m_rate, "1kHz");
    EXPECT_EQ(target.m_sync, 11);
    EXPECT_EQ(target.m_rs232c, 0);
    EXPECT_EQ(target.m_slots, source.m_slots);
    EXPECT_EQ(target.m_hddRecFolder, "/pc/only");
    EXPECT_EQ(target.m_channels[0].m_range, "10V");
    EXPECT_EQ(target.m_channels[0].m_name, "pc-name"); // an amplifier channel keeps its PC name
    EXPECT_EQ(target.m_channels[13].m_name, "EngineSpeed"); // a CAN channel takes the recorder's
    EXPECT_EQ(target.m_channels[13].m_canOffset, -12.5);
    EXPECT_EQ(target.m_channels[13].m_range, "x");
    EXPECT_EQ(target.m_channels[0].m_enabled, 1);
}

TEST(RecCndTest, CopiesAreDeepAndStartWithUnresolvedOperands) {
    CRecCnd cnd = MakeFullCondition();
    cnd.PrepareCalcChannels();
    EXPECT_EQ(cnd.m_calcChannels[0].m_operand[0], 0);
    const CRecCnd copy = cnd;
    EXPECT_EQ(copy.m_calcChannels[0].m_operand[0], -1);
    cnd.m_channels[0].m_name = "changed";
    EXPECT_EQ(copy.m_channels[0].m_name, "Force");
}
