#include "conditions/SlotInfo.h"

#include <gtest/gtest.h>

TEST(SlotInfoTest, SlotLineRoundTrip) {
    CSlotInfo slot;
    EXPECT_EQ(slot.FormatSlotLine(), "");
    slot.m_partNo = "QA-80V";
    slot.m_typeCode = 2;
    slot.m_chCount = 8;
    EXPECT_EQ(slot.FormatSlotLine(), " QA-80V,2,8");
    slot.m_ranges = {"10V", "5V"};
    slot.m_filters = {"OFF", "10Hz"};
    EXPECT_EQ(slot.FormatSlotLine(), " QA-80V,2,8,RANGE=10V|5V,FILTER=OFF|10Hz");

    CSlotInfo read;
    read.ParseSlotLine("QA-80V,2,8,RANGE=10V|5V,FILTER=OFF|10Hz");
    EXPECT_EQ(read, slot);
    read.ParseSlotLine("QA-80V,2");
    EXPECT_EQ(read.m_partNo, ""); // fewer than three items leave the slot empty
    read.ParseSlotLine("QA-80CAN-G,11,4");
    EXPECT_EQ(read.m_typeCode, 11);
    EXPECT_TRUE(read.m_ranges.empty());
}

TEST(SlotInfoTest, FrequencyModulesOfferRangesPerChannelSection) {
    CSlotInfo slot;
    slot.m_partNo = "QA-80FV";
    slot.m_typeCode = 5;
    slot.m_chCount = 4;
    slot.m_ranges = {"1-2", "10kHz", "1kHz", "3-4", "100Hz"};
    std::vector<std::string> ranges{"stale"};
    slot.GetRangesForChannel(0, ranges);
    EXPECT_EQ(ranges, (std::vector<std::string>{"10kHz", "1kHz"}));
    slot.GetRangesForChannel(1, ranges);
    EXPECT_EQ(ranges, (std::vector<std::string>{"10kHz", "1kHz"}));
    slot.GetRangesForChannel(2, ranges);
    EXPECT_EQ(ranges, (std::vector<std::string>{"100Hz"}));
    slot.GetRangesForChannel(3, ranges);
    EXPECT_EQ(ranges, (std::vector<std::string>{"100Hz"}));
    slot.GetRangesForChannel(4, ranges);
    EXPECT_TRUE(ranges.empty());

    slot.m_ranges = {"1", "10kHz", "2--1", "5kHz"}; // single heads and a negative end
    slot.GetRangesForChannel(1, ranges);
    EXPECT_EQ(ranges, (std::vector<std::string>{"5kHz"}));

    slot.m_typeCode = 2;
    slot.GetRangesForChannel(9, ranges);
    EXPECT_EQ(ranges, slot.m_ranges);
    slot.m_typeCode = 0;
    slot.GetRangesForChannel(0, ranges);
    EXPECT_TRUE(ranges.empty());
}
