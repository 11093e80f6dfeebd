// The configuration text of simulated recorders: the default configuration and parse errors.
#include "device/sim/SimConfig.h"

#include "conditions/TextFile.h"

#include <gtest/gtest.h>

#include <set>

TEST(SimConfigTest, DefaultConfigurationHasMasterSlaveAndEveryModuleType) {
    CSimConfig config;
    ASSERT_EQ(config.Parse(CSimConfig::GetDefaultText()), "");
    const auto& recorders = config.GetRecorders();
    ASSERT_EQ(recorders.size(), 2u);
    EXPECT_EQ(recorders[0].name, "ZT-300");
    EXPECT_EQ(recorders[0].address, "127.0.0.2");
    EXPECT_EQ(recorders[0].syncMode, 11);
    EXPECT_EQ(recorders[0].signalSeed, 2);
    EXPECT_EQ(recorders[1].name, "ZT-500");
    EXPECT_EQ(recorders[1].address, "127.0.0.3");
    EXPECT_EQ(recorders[1].syncMode, 12);

    std::set<int> types;
    bool canG = false;
    for (const auto& recorder : recorders) {
        for (const auto& slot : recorder.slots) {
            types.insert(slot.typeCode);
            canG = canG || slot.partNumber == "QA-80CAN-G";
        }
    }
    for (const int type : {2, 3, 4, 5, 7, 8, 10})
        EXPECT_TRUE(types.contains(type)) << type;
    EXPECT_TRUE(types.contains(9) || types.contains(19));
    EXPECT_TRUE(canG);
}

TEST(SimConfigTest, CompiledTextIsTheRepositoryFile) {
    TextLines lines;
    ASSERT_EQ(
        CTextFile::ReadTextLines(std::string(ZT300_SOURCE_DIR) + "/data/sim/default.conf", lines),
        "");
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    EXPECT_EQ(text, CSimConfig::GetDefaultText());
}

TEST(SimConfigTest, ReadsSlotItemsEnabledChannelsSignalsInputsAndFaults) {
    CSimConfig config;
    ASSERT_EQ(config.Parse("# test\n"
                           "RECORDER R1 127.0.0.9\r\n"
                           "SEED 5\n"
                           "RATE 100Hz\n"
                           "CARD NONE\n"
                           "SLOT 4 PN=QA-80CAN-K TY=10 NCH=56 ON=1-2,5\n"
                           "CANSIG 4 256,,8,1,1,16,1,0.100,0.000,Speed,km/h,0\n"
                           "SLOT 2 PN=QA-80VA TY=2 NCH=4 RV=10,1 CF=OFF ON=NONE\n"
                           "INPUT 2-1 2.5\n"
                           "INPUT 2-4 -1e-1 0.02\n"
                           "FAULT ERROR 10 -7\n"
                           "FAULT NAK 4DBW\n"
                           "FAULT DROP_AFTER 3\n"
                           "FAULT DELAY 50\n"
                           "FAULT REFUSE\n"
                           "FAULT BUSY\n"),
              "");
    const CSimRecorderConfig& recorder = config.GetRecorders().at(0);
    EXPECT_EQ(recorder.signalSeed, 5);
    EXPECT_EQ(recorder.rate, "100Hz");
    EXPECT_EQ(recorder.card, "NONE");
    ASSERT_EQ(recorder.slots.size(), 2u);
    EXPECT_EQ(recorder.slots[0].slot, 2); // kept in slot order
    EXPECT_EQ(recorder.slots[0].items.at("RV"), "10,1");
    EXPECT_TRUE(recorder.slots[0].enabledChannels.empty());
    EXPECT_EQ(recorder.slots[1].enabledChannels, (std::vector<int>{0, 1, 4}));
    ASSERT_EQ(recorder.slots[1].canSignals.size(), 1u);
    EXPECT_EQ(recorder.slots[1].canSignals[0][9], "Speed");
    ASSERT_EQ(recorder.inputs.size(), 2u);
    EXPECT_EQ(recorder.inputs.at({2, 0}), (CSimInput{2.5, 0.0}));
    EXPECT_EQ(recorder.inputs.at({2, 3}), (CSimInput{-0.1, 0.02}));
    EXPECT_EQ(recorder.faults.operationErrors.at(10), -7);
    EXPECT_EQ(recorder.faults.nakCommands, (std::vector<std::string>{"4DBW"}));
    EXPECT_EQ(recorder.faults.dropAfterArmedSeconds, 3);
    EXPECT_EQ(recorder.faults.answerDelayMs, 50);
    EXPECT_TRUE(recorder.faults.refuseConnection);
    EXPECT_TRUE(recorder.faults.busy);
}

TEST(SimConfigTest, MalformedLinesNameTheLineAndKeepNothing) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "no RECORDER line"},
        {"SLOT 1 PN=A TY=2 NCH=1\n", "line 1: SLOT before the first RECORDER line"},
        {"RECORDER A\n", "line 1: RECORDER needs a name and an address"},
        {"RECORDER A 127.0.0.256\n", "line 1: \"127.0.0.256\" is not an IPv4 address"},
        {"RECORDER A 127.0.0.2\nRECORDER B 127.0.0.2\n", "line 2: address 127.0.0.2 given twice"},
        {"RECORDER A 127.0.0.2\nSLTO 1\n", "line 2: unknown keyword \"SLTO\""},
        {"RECORDER A 127.0.0.2\nSYNC BOTH\n", "line 2: SYNC must be SINGLE, MASTER or SLAVE"},
        {"RECORDER A 127.0.0.2\nSEED x\n",
         "line 2: SEED needs a whole number of at least 0, not \"x\""},
        {"RECORDER A 127.0.0.2\nSLOT 9 PN=A TY=2 NCH=1\n", "line 2: SLOT needs a slot number 1..8"},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=2\n",
         "line 2: SLOT needs PN=, TY= (above 0) and NCH= (1..64)"},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=2 NCH=2 ON=1-3\n",
         "line 2: ON needs channel numbers 1..2, not \"1-3\""},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=2 NCH=2 XX=1\n", "line 2: unknown slot item \"XX\""},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=2 NCH=2\nSLOT 1 PN=A TY=2 NCH=2\n",
         "line 3: slot 1 given twice"},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=2 NCH=2\nCANSIG 1 1,,8,1,1,16,1,1,0,S,u,0\n",
         "line 3: CANSIG names slot 1, which holds no CAN module"},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=10 NCH=2\nCANSIG 1 1,,8,1,1,16,1,1,0,S,u,9\n",
         "line 3: CANSIG needs 12 fields ending in a value type 0..4"},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=2 NCH=2 RV=" + std::string(250, '1') + " CF=OFF\n",
         "line 2: the range and filter items do not fit in one 256-byte reply"},
        {"RECORDER A 127.0.0.2\nRATE 7Hz\n", "line 2: \"7Hz\" is not a sampling rate"},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=2 NCH=2\nINPUT 1-3 1.0\n",
         "line 3: INPUT names \"1-3\", which is no channel of a SLOT above"},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=2 NCH=2\nINPUT 2-1 1.0\n",
         "line 3: INPUT names \"2-1\", which is no channel of a SLOT above"},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=2 NCH=2\nINPUT 1-1 2,5\n",
         "line 3: INPUT value \"2,5\" is not a number"},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=2 NCH=2\nINPUT 1-1 2.5 -0.1\n",
         "line 3: INPUT noise \"-0.1\" is not a number of at least 0"},
        {"RECORDER A 127.0.0.2\nSLOT 1 PN=A TY=2 NCH=2\nINPUT 1-1\n",
         "line 3: INPUT needs <slot>-<channel>, a value and optionally the noise"},
        {"RECORDER A 127.0.0.2\nFAULT ERROR 10 1\n",
         "line 2: FAULT must be REFUSE, BUSY, DROP_AFTER <s>, DELAY <ms>, NAK <command> or "
         "ERROR <ordinal> <code other than 1>"},
    };
    for (const auto& [text, message] : cases) {
        CSimConfig config;
        ASSERT_EQ(config.Parse("RECORDER KEEP 127.0.0.1\n"), "");
        EXPECT_EQ(config.Parse(text), message) << text;
        EXPECT_EQ(config.GetRecorders().size(), 1u) << text;
    }
}

TEST(SimConfigTest, CanDatabaseTakesAtMost56Words) {
    std::string text = "RECORDER A 127.0.0.2\nSLOT 1 PN=QA-80CAN-K TY=10 NCH=56\n";
    for (int signal = 0; signal < 28; ++signal)
        text += "CANSIG 1 1,,8,1,1,32,1,1,0,S,u,2\n";
    CSimConfig config;
    ASSERT_EQ(config.Parse(text), "");
    EXPECT_EQ(config.Parse(text + "CANSIG 1 1,,8,1,1,16,1,1,0,S,u,0\n"),
              "line 31: the CAN database of slot 1 would take more than 56 data words");
}

TEST(SimConfigTest, LoadReportsAnUnreadableFile) {
    CSimConfig config;
    EXPECT_NE(config.Load("/nonexistent/zt300/sim.conf"), "");
}
