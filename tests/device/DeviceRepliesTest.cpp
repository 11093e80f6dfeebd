// Pure parts of the recorder operations: slot information replies, balance replies and
// selections, clock texts, status words, the inertial table, CAN signal fields, XCP lines.
#include "device/Balance.h"
#include "device/CanCommands.h"
#include "device/DBCItem.h"
#include "device/Device.h"
#include "device/InertialTable.h"
#include "device/ModuleReply.h"
#include "device/RecorderClock.h"
#include "support/MemorySettingsStore.h"

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

std::string Reply(const Strings& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : "\x01") + item;
    return text;
}

CRecCnd ConditionWithChannels(int slot, int count) {
    CRecCnd condition;
    for (int i = 0; i < count; ++i) {
        CChCnd channel;
        channel.m_slot = static_cast<std::int16_t>(slot);
        channel.m_channel = static_cast<std::int16_t>(i);
        channel.m_enabled = 1;
        condition.m_channels.push_back(channel);
    }
    return condition;
}

} // namespace

// Module discovery against a simulated recorder covers the common replies; these are the
// replies a recorder may give that the simulation does not.
TEST(ModuleReply, UnusualItems) {
    CSlotInfo slot;
    ApplyModuleReply(Reply({"  PN QA-80UA", "XX 1", "TY 1F", "NCH 4", "PN other"}), slot);
    EXPECT_EQ(slot.m_partNo, "QA-80UA"); // items beyond the third are not read
    EXPECT_EQ(slot.m_typeCode, 0x1F);
    EXPECT_EQ(slot.m_chCount, 4);

    CSlotInfo zero;
    ApplyRangeReply(Reply({"RV 0,5", "CF ", "RG 200,500"}), zero);
    EXPECT_EQ(zero.m_ranges, (Strings{"200DEG", "500DEG"}));
    EXPECT_TRUE(zero.m_filters.empty());
    CSlotInfo badHead;
    ApplyRangeReply(Reply({"RF 0-2,10k", "RS x,2"}), badHead);
    EXPECT_TRUE(badHead.m_ranges.empty());

    EXPECT_EQ(ReadHex("FFFFFF9C"), 0xFFFFFF9Cu);
    EXPECT_EQ(ReadHex("1aZ"), 0x1Au);
    EXPECT_EQ(ReadHex("123456789"), 0x12345678u);
    EXPECT_EQ(GetRangeQuery(8), "RV");

    CSlotInfo canJ;
    canJ.m_partNo = "QA-80CAN-J";
    canJ.m_typeCode = 10;
    EXPECT_EQ(NormaliseModuleType(canJ), 11);
    canJ.m_partNo = "QA-80CAN-K";
    EXPECT_EQ(NormaliseModuleType(canJ), 10);
}

TEST(Balance, ReplySelectionAndSettings) {
    CRecCnd condition = ConditionWithChannels(1, 3);
    condition.m_channels[2].m_balanceResidual = 7;
    const ChannelSelection firstTwo{1, 1, 0};
    EXPECT_EQ(BuildBalanceChannelList(condition, &firstTwo), "1-1,1-2");
    EXPECT_EQ(BuildBalanceChannelList(condition, nullptr), "");
    const ChannelSelection shorter{0};
    EXPECT_EQ(BuildBalanceChannelList(condition, &shorter), "1-2,1-3");

    EXPECT_TRUE(ParseBalanceReply("1-1:FFFFFF9C,1-2:64,,1-3:5", condition, &firstTwo));
    EXPECT_EQ(condition.m_channels[0].m_balanceResidual, -100);
    EXPECT_EQ(condition.m_channels[1].m_balanceResidual, 100);
    EXPECT_EQ(condition.m_channels[2].m_balanceResidual, 7); // after the empty item

    EXPECT_FALSE(ParseBalanceReply("BALANCE ERROR", condition, &firstTwo));
    EXPECT_EQ(condition.m_channels[0].m_balanceResidual, CChCnd::kNoResidual);
    EXPECT_EQ(condition.m_channels[1].m_balanceResidual, CChCnd::kNoResidual);
    EXPECT_FALSE(ParseBalanceReply("-1:10", condition, nullptr));
    EXPECT_FALSE(ParseBalanceReply("1-:10", condition, nullptr));
    EXPECT_TRUE(ParseBalanceReply("9-9:10,1-3:A", condition, nullptr));
    EXPECT_EQ(condition.m_channels[2].m_balanceResidual, 10);

    const ChannelSelection none{0, 0, 0};
    EXPECT_FALSE(SelectsAnyChannel(condition, &none));
    const ChannelSelection shortSelection{0};
    EXPECT_TRUE(SelectsAnyChannel(condition, &shortSelection));

    CMemorySettingsStore settings;
    EXPECT_EQ(LoadBalanceSelection(settings, 3), (ChannelSelection{0, 0, 0}));
    StoreBalanceSelection(settings, {1, 0, 5});
    EXPECT_EQ(settings.GetString("CSelChBalDlg_Section", "SELCH", ""), "1,0,1");
    EXPECT_EQ(LoadBalanceSelection(settings, 3), (ChannelSelection{1, 0, 1}));
    EXPECT_EQ(LoadBalanceSelection(settings, 4), (ChannelSelection{0, 0, 0, 0}));
}

TEST(RecorderClock, TextsAndPcTime) {
    const LinkRtc rtc{5, 4, 3, 2, 1, 2027, 6, 1, 0};
    EXPECT_EQ(FormatRtcDate(rtc), "01-02-2027");
    EXPECT_EQ(FormatRtcTime(rtc), "03:04:05");
    const LinkRtc pc = RtcFromLocalTime({2024, 3, 1, 13, 14, 15, 0, 5});
    EXPECT_EQ(pc, (LinkRtc{15, 14, 13, 1, 3, 2024, 5, 60, 0})); // leap year: 31 + 29 days before
}

TEST(Device, StatusWords) {
    EXPECT_EQ(CDevice::GetStatusText(0), "IDLE");
    EXPECT_EQ(CDevice::GetStatusText(1), "ARMED");
    EXPECT_EQ(CDevice::GetStatusText(2), "ACQ");
    EXPECT_EQ(CDevice::GetStatusText(10), "BALANCE");
    EXPECT_EQ(CDevice::GetStatusText(20), "CARDOP");
    EXPECT_EQ(CDevice::GetStatusText(-99), "ZTERROR");
    EXPECT_EQ(CDevice::GetStatusText(-100), "ZTBUSY");
    EXPECT_EQ(CDevice::GetStatusText(-1), "Comm Error");
    EXPECT_EQ(CDevice::GetStatusText(5), "Unknown STS(5)!");
    EXPECT_EQ(CDevice::GetStatusText(-10), "Unknown STS(-10)!");
}

TEST(InertialTable, RowsWrapAtFiftySix) {
    EXPECT_EQ(kInertialChannels.front().name, "In_Stddev_Yaw");
    EXPECT_EQ(kInertialChannels[13].range, "3000 km");
    EXPECT_EQ(kInertialChannels[36].name, "Misc_Inv_Path_Radius");
    EXPECT_DOUBLE_EQ(kInertialChannels[36].factor, 0.0001);
    EXPECT_EQ(kInertialChannels[46].range, "320deg/s");
    EXPECT_EQ(kInertialChannels[47].range, "98deg/s");
    EXPECT_EQ(kInertialChannels.back().name, "Stat_GPS");
    EXPECT_EQ(GetInertialChannel(57).name, "In_Stddev_Pitch");
    for (const InertialChannel& row : kInertialChannels)
        EXPECT_EQ(row.offset, 0.0) << row.name;
}

TEST(CanSignal, FieldsOfBothKinds) {
    CDBCItem k;
    ASSERT_TRUE(ParseSignalListLine("Ch3,256,,8,1,1,16,1,0.1,-40,Speed,km/h,2", k));
    EXPECT_EQ(k.m_chNo, 3);
    EXPECT_EQ(k.GetWordCount(), 2);
    EXPECT_EQ(k.FormatFields(7), "7,256,,8,1,1,16,1,0.100,-40.000,Speed,km/h,2");
    EXPECT_EQ(FormatSignalListLine(k), "Ch3,256,,8,1,1,16,1,0.100,-40.000,Speed,km/h,2");
    EXPECT_FALSE(ParseSignalListLine("Ch1,256,,8,1,1,16,1,0.1,0,Speed,km/h", k));

    CDBCItem_G g;
    EXPECT_EQ(g.m_multiplex, "-1");
    ASSERT_TRUE(g.SetFields(
        {"x", "1", "768", "-1", "8", "0", "1", "16", "1", "0.0001", "-1e2", "Wheel", "rpm", "0"},
        1));
    EXPECT_EQ(g.FormatFields(1), "1,768,-1,8,0,1,16,1,0.0001,-1e2,Wheel,rpm,0");
    EXPECT_DOUBLE_EQ(g.GetFactorValue(), 0.0001);
    EXPECT_DOUBLE_EQ(g.GetOffsetValue(), -100.0);
    EXPECT_EQ(g.GetWordCount(), 1);
}

TEST(CanCommands, XcpLinesAndReplies) {
    std::string command;
    EXPECT_TRUE(BuildXcpCommand(2, "a  b c 0", command));
    EXPECT_EQ(command, "2XCP b 0");
    EXPECT_TRUE(BuildXcpCommand(2, "a b c 2 x y z", command));
    EXPECT_EQ(command, "2XCP b 2,x,y");
    EXPECT_TRUE(BuildXcpCommand(2, "a b c 5 x", command));
    EXPECT_EQ(command, "2XCP b 5,x");
    EXPECT_FALSE(BuildXcpCommand(2, "a b c", command));
    EXPECT_FALSE(BuildXcpCommand(2, "", command));

    EXPECT_EQ(TrimReply(" \r\n on,5 \r\n"), "on,5");
    EXPECT_EQ(ToUpper("on,5"), "ON,5");
    EXPECT_EQ(ReadXcpStatus("XST 3"), 3);
}
