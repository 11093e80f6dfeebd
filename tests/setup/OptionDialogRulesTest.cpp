#include "setup/OptionCardInfo.h"
#include "setup/OptionConnection.h"
#include "setup/OptionUnits.h"

#include <gtest/gtest.h>

TEST(OptionConnection, TicksAndTheRecordersKept) {
    EXPECT_EQ(InitialConnectionTicks(3, false), (ConnectionTicks{true, false, false}));
    EXPECT_EQ(InitialConnectionTicks(3, true), (ConnectionTicks{true, true, true}));
    EXPECT_TRUE(InitialConnectionTicks(0, true).empty());
    EXPECT_FALSE(CanAcceptConnectionTicks({}));

    ConnectionTicks ticks = InitialConnectionTicks(3, false);
    SetConnectionTick(ticks, 0, false, false);
    EXPECT_FALSE(CanAcceptConnectionTicks(ticks));
    SetConnectionTick(ticks, 2, true, false);
    SetConnectionTick(ticks, 1, true, false);
    EXPECT_EQ(ticks, (ConnectionTicks{false, true, true}));
    EXPECT_TRUE(CanAcceptConnectionTicks(ticks));
    SetConnectionTick(ticks, 5, true, false); // no such row
    EXPECT_EQ(ticks.size(), 3u);

    const std::vector<RecorderEntry> recorders{
        {"A", "192.168.1.3"}, {"B", "192.168.1.12"}, {"C", "192.168.1.20"}};
    EXPECT_EQ(KeepTickedRecorders(recorders, ticks),
              (std::vector<RecorderEntry>{{"B", "192.168.1.12"}, {"C", "192.168.1.20"}}));

    SetConnectionTick(ticks, 0, true, true); // a single choice clears the others
    EXPECT_EQ(ticks, (ConnectionTicks{true, false, false}));
    SetConnectionTick(ticks, 0, false, true);
    EXPECT_FALSE(CanAcceptConnectionTicks(ticks));
}

TEST(OptionConnection, DottedDecimalAddresses) {
    EXPECT_EQ(ParseDottedAddress("192.168.1.201"), (DottedAddress{192, 168, 1, 201}));
    EXPECT_EQ(ParseDottedAddress(" 10. 0 .0.255 "), (DottedAddress{10, 0, 0, 255}));
    EXPECT_EQ(ParseDottedAddress("0.0.0.0"), (DottedAddress{0, 0, 0, 0}));
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1..3.4", "1.2.3.-4", "a.b.c.d",
                            "1.2.3.4x", "+1.2.3.4", "1.2.3.4."}) {
        EXPECT_FALSE(ParseDottedAddress(bad)) << bad;
    }
    EXPECT_EQ(FormatDottedAddress({192, 168, 1, 1}), "192.168.1.1");
    EXPECT_EQ(ParseDottedAddress(kDefaultRecorderAddress), (DottedAddress{192, 168, 1, 201}));
    EXPECT_EQ(ParseDottedAddress(kDefaultAddressMask), (DottedAddress{255, 255, 255, 0}));
    EXPECT_EQ(ParseDottedAddress(kDefaultGateway), (DottedAddress{192, 168, 1, 1}));
}

TEST(OptionUnits, InsertBeforeAfterAndDelete) {
    std::vector<std::string> units{"V", "mV"};
    EXPECT_EQ(InsertUnit(units, 1, UnitInsert::Before, "uST"), 1u);
    EXPECT_EQ(InsertUnit(units, 0, UnitInsert::After, "Hz"), 1u);
    EXPECT_EQ(InsertUnit(units, std::nullopt, UnitInsert::Before, "C"), 0u);
    EXPECT_EQ(InsertUnit(units, std::nullopt, UnitInsert::After, "G"), 5u);
    EXPECT_EQ(units, (std::vector<std::string>{"C", "V", "Hz", "uST", "mV", "G"}));

    EXPECT_FALSE(InsertUnit(units, 0, UnitInsert::After, ""));
    EXPECT_FALSE(InsertUnit(units, 0, UnitInsert::After, "m,s")); // would split when stored
    EXPECT_EQ(units.size(), 6u);

    EXPECT_EQ(DeleteUnit(units, 5), 4u); // the last row: the new last one is selected
    EXPECT_EQ(DeleteUnit(units, 0), 0u);
    EXPECT_EQ(units, (std::vector<std::string>{"V", "Hz", "uST", "mV"}));
    std::vector<std::string> one{"V"};
    EXPECT_EQ(DeleteUnit(one, 0), std::nullopt);
    EXPECT_EQ(DeleteUnit(one, 0), std::nullopt);

    std::vector<std::string> full(kMaxUnits, "u");
    EXPECT_FALSE(CanInsertUnit(full, "x"));
    full.pop_back();
    EXPECT_TRUE(CanInsertUnit(full, "x"));
}

TEST(OptionCardInfo, LinesOfTheFiveValues) {
    EXPECT_EQ(CardInfoLines({1, 2000000, 1500000, 12, 3}),
              (std::vector<std::string>{"Memory Card : Present", "Capacity : 2000000 KB",
                                        "Used : 500000 KB", "Free : 1500000 KB", "Files : 12",
                                        "Folders : 3"}));
    EXPECT_EQ(CardInfoLines({0, 0, -1, 0, 0}),
              (std::vector<std::string>{"Memory Card : Not available"}));
    EXPECT_EQ(CardInfoLines({1, 100, -1, 0, 0}),
              (std::vector<std::string>{"Memory Card : Not available"}));
}
