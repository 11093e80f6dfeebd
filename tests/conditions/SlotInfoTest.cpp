#include "conditions/SlotInfo.h"

#include <gtest/gtest.h>

// Catches a slot line written or read with an item lost, or a short line taken as a module.
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

// Catches a frequency channel offered the ranges of another section, or stale ones kept.
TEST(SlotInfoTest, FrequencyModulesOfferRangesPerChannelSection) {
    CSlotInfo slot;
    slot.m_partNo = "QA-80FV";
    slot.m_typeCode = 5;
    slot.m_chCount = 4;
    slot.m_ranges = {"1-2", "10kHz", "1kHz", "3-4", "100Hz"};
    // Sections "1-2" and "3-4" head their ranges; a channel of no section has none.
    const std::pair<int, std::vector<std::string>> sections[] = {
        {0, {"10kHz", "1kHz"}}, {1, {"10kHz", "1kHz"}}, {2, {"100Hz"}}, {3, {"100Hz"}}, {4, {}}};
    std::vector<std::string> ranges{"stale"};
    for (const auto& [channel, expected] : sections) {
        slot.GetRangesForChannel(channel, ranges);
        EXPECT_EQ(ranges, expected) << channel;
    }

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
