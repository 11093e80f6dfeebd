#include "ConditionFixture.h"
#include "conditions/RecCnd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const std::string kGoldenFull = std::string(ZT300_TEST_DATA_DIR) + "/conditions/full.czd";

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string TempPath(const std::string& name) {
    return (fs::temp_directory_path() / ("zt300_cnd_" + std::to_string(getpid()) + "_" + name))
        .string();
}

TextLines Formatted(const CRecCnd& cnd) {
    TextLines lines;
    cnd.FormatLines(lines);
    return lines;
}

CRecCnd Parsed(TextLines lines) {
    CRecCnd cnd;
    EXPECT_TRUE(cnd.ParseLines(lines));
    return cnd;
}

} // namespace

// Catches any change to the bytes a new condition file holds, key by key.
TEST(ConditionTextTest, ANewConditionWritesTheseLines) {
    CRecCnd::SetDefaultRecordFolder("/home/user/.local/share/zt300ctl/");
    CRecCnd cnd;
    CChCnd ch;
    ch.m_slot = 1;
    ch.m_channel = 0;
    ch.m_enabled = 1;
    cnd.m_channels.push_back(ch);
    const std::string calcTail = ",0,NAME=,AMP_CODE=153,PHYUNIT=,GRP=0,SCALE=0.000|0.000,DIGIT=0,"
                                 "GRID=1.000|0|0|0.000,FUNC=-1,PARAM=0|0|0|0,MEMO=";
    const TextLines expected{
        "ZT300_CND_FILE",
        "HDD_Rec_Folder/home/user/.local/share/zt300ctl/",
        "BASE_FILE_NAME Test",
        "HDD_RecFile_Ext 0",
        "PRE_TIME 0",
        "POST_TIME 0",
        "HDD_PRE_TIME 0",
        "HDD_POST_TIME 0",
        "HDD_LVL_TRG 0",
        "RATE 1Hz",
        "RS232C 1",
        "SYNC SINGLE",
        "CALC 0",
        "SUB_SAMP 0",
        "CHAN1-1,1,NAME=,AMP_CODE=0,DataType=0,MAT=|||,RANGE=,FILTER=,MEMO=,GRP=0,"
        "SEPCHART=-1.000|1.000|1.000,SEPCHART_SCALE=-1.000|1.000|1.000,DIGIT=0,GRID=1.000|0|0|0."
        "000,"
        "PHYVAL=1.000000e+00|-1.000000e+00,AMPVAL=1.000000e+00|0.000000e+00,"
        "AMPOFFSET=0.000000e+00|0.000000e+00|0.000000e+00,PHYUNIT=,LVL_ST_TRG=0,"
        "LVL_ST_TRG_VAL=0.000000e+00,HDD_LVLTRG=0,HDD_LVLVAL=0.000000e+00,FV_FIN=0,FV_FME=0,FV_FDV="
        "1,"
        "FV_FSM=1,DIMASK=0",
        "CACH9-1" + calcTail,
        "CACH9-2" + calcTail,
        "CACH9-3" + calcTail,
        "CACH9-4" + calcTail,
        "SLOT1",
        "SLOT2",
        "SLOT3",
        "SLOT4",
        "SLOT5",
        "SLOT6",
        "SLOT7",
        "SLOT8",
        "MEMO ",
        "MEMO2 ",
        "TESTINFO1 ",
        "TESTINFO2 ",
        "TESTINFO3 ",
        "DOG_TIMER 6000,0,10,0,3600",
    };
    EXPECT_EQ(Formatted(cnd), expected);
    CRecCnd::SetDefaultRecordFolder("");
}

// Catches slot, watch-dog, monitor, calculation and CAN lines written with a field wrong.
TEST(ConditionTextTest, SpecialLinesOfTheFullCondition) {
    const TextLines lines = Formatted(MakeFullCondition());
    auto line = [&](const std::string& prefix) {
        for (const std::string& l : lines) {
            if (l.starts_with(prefix))
                return l;
        }
        return std::string("<missing " + prefix + ">");
    };
    EXPECT_EQ(line("SYNC "), "SYNC MASTER");
    EXPECT_EQ(line("SLOT1"), "SLOT1 QA-80V,2,4,RANGE=10V|5V|500mV,FILTER=OFF|10Hz|100Hz");
    EXPECT_EQ(line("SLOT8"), "SLOT8 QA-80CAN-G,11,1");
    EXPECT_EQ(line("DOG_TIMER"), "DOG_TIMER 5000,200,4294967295,1,120");
    EXPECT_EQ(line("MONITORCH 1"), "MONITORCH 1,Force,4,1.500,7.250,1,6,3,10");
    EXPECT_EQ(line("CACH9-1"),
              "CACH9-1,1,NAME=Sum,AMP_CODE=153,PHYUNIT=kN,GRP=1,SCALE=100.000|-100.000,"
              "DIGIT=0,GRID=1.000|0|0|0.000,FUNC=6,PARAM=1|2|0|0,MEMO=sum of two");
    EXPECT_EQ(
        line("CHAN1-1"),
        "CHAN1-1,1,NAME=Force,AMP_CODE=2,DataType=0,MAT=E=210|nu=0.3||steel,RANGE=10V,FILTER=10Hz,"
        "MEMO=left,GRP=1,SEPCHART=-20.000|20.000|5.000,SEPCHART_SCALE=-12.500|12.500|2.500,DIGIT=1,"
        "GRID=2.500|-3|16744512|1.250,PHYVAL=5.000000e+01|-4.000000e+01,"
        "AMPVAL=5.000000e+00|-4.000000e+00,AMPOFFSET=1.030928e-01|2.500000e-01|1.500000e+00,"
        "PHYUNIT=kN,LVL_ST_TRG=1,LVL_ST_TRG_VAL=3.750000e+01,HDD_LVLTRG=1,"
        "HDD_LVLVAL=-2.750000e+00,FV_FIN=0,FV_FME=0,FV_FDV=1,FV_FSM=1,DIMASK=0");
    // CAN-type channels carry their factor and the negated physical offset.
    EXPECT_TRUE(line("CHAN7-1").ends_with(",DIMASK=0,CAN_BITRATE=1.250000e-01|1.250000e+01"));
    EXPECT_TRUE(line("CHAN7-1").find(",DataType=3,") != std::string::npos);
    EXPECT_TRUE(line("CHAN6-1").ends_with(",CAN_BITRATE=2.000000e-04|-5.000000e-01"));
}

// Catches a saved file that differs from the stored one, or a value lost on loading it again.
TEST(ConditionTextTest, SaveMatchesTheStoredFileAndLoadsBackUnchanged) {
    const CRecCnd original = MakeFullCondition();
    // ZT300_UPDATE_GOLDEN=1 rewrites the stored file after a deliberate format change.
    if (std::getenv("ZT300_UPDATE_GOLDEN") != nullptr) {
        ASSERT_EQ(original.Save(kGoldenFull), "");
    }
    const std::string path = TempPath("full.czd");
    ASSERT_EQ(original.Save(path), "");
    EXPECT_EQ(ReadBytes(path), ReadBytes(kGoldenFull));

    CRecCnd loaded;
    ASSERT_EQ(loaded.Load(path), "");
    EXPECT_EQ(Formatted(loaded), Formatted(original));
    // Writing what was read gives the same bytes again.
    const std::string again = TempPath("again.czd");
    ASSERT_EQ(loaded.Save(again), "");
    EXPECT_EQ(ReadBytes(again), ReadBytes(path));

    ASSERT_EQ(loaded.m_channels.size(), original.m_channels.size());
    EXPECT_EQ(loaded.m_channels[13].m_canOffset, -12.5);
    EXPECT_EQ(loaded.m_channels[11].m_canOffset, 0.5);
    EXPECT_EQ(loaded.m_channels[13].m_wordsPerSample, 2);
    EXPECT_EQ(loaded.m_channels[10].m_diMask, 0xA5F0);
    EXPECT_EQ(loaded.m_channels[0].m_amp0, 0.25);
    EXPECT_EQ(loaded.m_channels[0].m_phy0, 1.5);
    EXPECT_EQ(loaded.m_channels[0].m_sepChartScale.m_min, -12.5);
    EXPECT_EQ(loaded.m_slots, original.m_slots);
    EXPECT_EQ(loaded.m_dogTimer, original.m_dogTimer);
    EXPECT_EQ(loaded.m_calcChannels[0].m_range, "100kN");
    EXPECT_EQ(loaded.m_testInfo, original.m_testInfo);
    EXPECT_EQ(loaded.m_hddRecFolder, "/data/records");
    EXPECT_EQ(loaded.m_baseFileName, "CARD01\\Run_7");
    fs::remove(path);
    fs::remove(again);
}

// Catches a CAN offset negated once more on every save.
TEST(ConditionTextTest, TheCanOffsetSurvivesRepeatedSaves) {
    CRecCnd cnd = MakeFullCondition();
    for (int i = 0; i < 3; ++i)
        cnd = Parsed(Formatted(cnd));
    EXPECT_EQ(cnd.m_channels[13].m_canOffset, -12.5);
    EXPECT_DOUBLE_EQ(cnd.m_channels[13].CountToPhys(100), 100 * 0.125 - 12.5);
}

// Catches a foreign file taken, a key read leniently or strictly where it should not be.
TEST(ConditionTextTest, ReaderRules) {
    CRecCnd cnd;
    EXPECT_FALSE(cnd.ParseLines({}));
    EXPECT_FALSE(cnd.ParseLines({"ZT300_CND", "RATE 5Hz"}));
    EXPECT_EQ(cnd.m_baseFileName, "Test"); // a refused first line changes nothing

    cnd = Parsed({"\xEF\xBB\xBF  ZT300_CND_FILE "});
    EXPECT_EQ(cnd.m_baseFileName, "");
    EXPECT_EQ(cnd.m_rate, "1Hz");
    EXPECT_EQ(cnd.m_sync, 10);

    cnd = Parsed({"ZT300_CND_FILE", "HDD_Rec_FolderC:\\Data", "SYNC  master ", "MEMO2 two",
                  "MEMO one", "HDD_RecFile_Ext 7", "PRE_TIME -3x", "RATE 2.56kHz ", "CALC 1",
                  "SUB_SAMP 1", "TESTINFO2 t2"});
    EXPECT_EQ(cnd.m_hddRecFolder, "C:\\Data");
    EXPECT_EQ(cnd.m_sync, 11);
    EXPECT_EQ(cnd.m_memo, "one");
    EXPECT_EQ(cnd.m_memo2, "two");
    EXPECT_EQ(cnd.m_hddRecFileExt, 1);
    EXPECT_EQ(cnd.m_preTime, -3);
    EXPECT_EQ(cnd.m_rate, "2.56kHz ");
    EXPECT_EQ(cnd.m_calc, 1);
    EXPECT_EQ(cnd.m_subSamp, 1);
    EXPECT_EQ(cnd.m_testInfo[1], "t2");

    cnd = Parsed({"ZT300_CND_FILE", "HDD_Rec_Folder C", "SYNC ANY"});
    EXPECT_EQ(cnd.m_hddRecFolder, " C");
    EXPECT_EQ(cnd.m_sync, 10);

    // A missing monitor time, or one outside 60 to 3600 seconds, is the default 3600.
    const std::pair<const char*, WatchDogSettings> dogs[] = {
        {"DOG_TIMER 100,1,5", {100, 1, 5, 0, 3600}},
        {"DOG_TIMER 1,1,1,1,30", {1, 1, 1, 1, 3600}},
        {"DOG_TIMER 1,1,1,1,4000", {1, 1, 1, 1, 3600}},
        {"DOG_TIMER 1,1,1,1,60", {1, 1, 1, 1, 60}}};
    for (const auto& [line, dog] : dogs)
        EXPECT_EQ(Parsed({"ZT300_CND_FILE", line}).m_dogTimer, dog) << line;

    cnd = Parsed(
        {"ZT300_CND_FILE", "SLOT9 X,2,1", "SLOT0 X,2,1", "SLOT2", "SLOT3 QA-80V,2,8", "SLOTx"});
    EXPECT_TRUE(cnd.m_slots[1].IsEmpty());
    EXPECT_EQ(cnd.m_slots[2].m_partNo, "QA-80V");
    EXPECT_EQ(cnd.m_calcSlot.m_partNo, "QA-80CALC");

    TextLines calc{"ZT300_CND_FILE"};
    for (int i = 1; i <= 5; ++i)
        calc.push_back("CACH9-" + std::to_string(i) + ",1,NAME=c" + std::to_string(i));
    cnd = Parsed(calc);
    EXPECT_EQ(cnd.m_calcChannels[3].m_name, "c4");
    EXPECT_EQ(cnd.m_calcChannels[3].m_enabled, 1);

    cnd = Parsed({"ZT300_CND_FILE", "MONITORCH 3,Sig,1,2.5,3.5,1,4,5", "MONITORCH 3,Sig,1,2.5,3",
                  "MONITORCH 3,Sig,2,2.5,3.5,0,4,5,6,7"});
    ASSERT_EQ(cnd.m_monitorChannels.size(), 2u);
    EXPECT_EQ(cnd.m_monitorChannels[0].m_port, 0);
    EXPECT_EQ(cnd.m_monitorChannels[0].m_trgTimes, 0);
    EXPECT_EQ(cnd.m_monitorChannels[0].m_and, 1);
    EXPECT_EQ(cnd.m_monitorChannels[1].m_port, 4);
    EXPECT_EQ(cnd.m_monitorChannels[1].m_countLimit, 6);
    EXPECT_EQ(cnd.m_monitorChannels[1].m_state, -1);
}

// Catches a broken channel line taken, values out of range kept, a key found in a memo missed.
TEST(ConditionTextTest, ChannelLineRules) {
    CRecCnd cnd = Parsed({"ZT300_CND_FILE", "CHAN1-1,1"});
    ASSERT_EQ(cnd.m_channels.size(), 1u);
    EXPECT_EQ(cnd.m_channels[0].m_slot, 1);
    EXPECT_EQ(cnd.m_channels[0].m_channel, 0);
    EXPECT_EQ(cnd.m_channels[0].m_enabled, 1);
    EXPECT_EQ(cnd.m_channels[0].m_phy2, -1.0);

    // A broken channel line fails the load; what was read before stays.
    cnd = CRecCnd{};
    EXPECT_FALSE(
        cnd.ParseLines({"ZT300_CND_FILE", "RATE 5Hz", "CHAN1-1,1", "CHAN11,1", "CHAN1-2,1"}));
    EXPECT_EQ(cnd.m_rate, "5Hz");
    EXPECT_EQ(cnd.m_channels.size(), 1u);
    EXPECT_FALSE(cnd.ParseLines({"ZT300_CND_FILE", "CHAN-1,1"}));
    EXPECT_FALSE(cnd.ParseLines({"ZT300_CND_FILE", "CHAN1-1"}));

    CChCnd ch;
    ASSERT_TRUE(
        ch.ParseLine("2-3,0,RANGE=5V,LVL_ST_TRG_VAL=150,FV_FIN=3,FV_FME=2,SEPCHART=-4,GRID=3|2,"
                     "MAT=a|b,AMPOFFSET=9.0,PHYVAL=2,NAME=x,CAN_BITRATE=2|,bogus"));
    EXPECT_EQ(ch.m_slot, 2);
    EXPECT_EQ(ch.m_channel, 2);
    EXPECT_EQ(ch.m_lvlStTrgVal, 100.0);
    EXPECT_EQ(ch.m_fvInput, 0);
    EXPECT_EQ(ch.m_fvMode, 2);
    EXPECT_EQ(ch.m_sepChart.m_min, -4.0);
    EXPECT_EQ(ch.m_sepChart.m_max, 6.0);
    EXPECT_EQ(ch.m_sepChart.m_div, 2.0);
    EXPECT_EQ(ch.m_gridUnitsPerDiv, 3.0);
    EXPECT_EQ(ch.m_gridCentreDiv, 2);
    EXPECT_EQ(ch.m_gridColour, 0u);
    EXPECT_EQ(ch.m_mat[1], "b");
    EXPECT_EQ(ch.m_mat[2], "");
    EXPECT_EQ(ch.m_amp0, 9.0); // only the first item: it is taken as the offset point
    EXPECT_EQ(ch.m_phy1, 2.0);
    EXPECT_EQ(ch.m_phy2, -1.0);
    EXPECT_EQ(ch.m_canFactor, 2.0);
    EXPECT_EQ(ch.m_canOffset, 0.0);
    EXPECT_EQ(ch.m_sepChartScale.m_max, 5.0); // set from the range, kept by SEPCHART

    ASSERT_TRUE(ch.ParseLine("1-1,1,LVL_ST_TRG_VAL=-5,PHYOFFSET=4,DataType=4,MEMO=has RANGE=10V"));
    EXPECT_EQ(ch.m_lvlStTrgVal, 0.0);
    EXPECT_EQ(ch.m_phy0, 4.0);
    EXPECT_EQ(ch.m_amp0, 0.0);
    EXPECT_EQ(ch.m_wordsPerSample, 2);
    // Keys are found anywhere in an item, in their order: a memo holding a key text is that key.
    EXPECT_EQ(ch.m_memo, "");
    EXPECT_EQ(ch.m_range, "10V");

    // Three decimals are all a chart scale keeps.
    ch = CChCnd{};
    ch.m_sepChart.m_min = 0.0004;
    CChCnd read;
    ASSERT_TRUE(read.ParseLine(ch.FormatLine()));
    EXPECT_EQ(read.m_sepChart.m_min, 0.0);
}

// Catches a foreign file loaded without its message.
TEST(ConditionTextTest, LoadReportsAForeignFile) {
    const std::string path = TempPath("foreign.czd");
    std::ofstream(path) << "NOT A CONDITION\r\n";
    CRecCnd cnd;
    EXPECT_EQ(cnd.Load(path), path + ":Unexpected file format.");
    fs::remove(path);
}

// Catches a card condition file with a channel, clock or mode line wrong.
TEST(ConditionTextTest, CardConditionLines) {
    CRecCnd cnd = MakeFullCondition();
    cnd.m_channels.resize(6);
    TextLines lines;
    cnd.BuildCardCondition(lines);
    EXPECT_EQ(lines, (TextLines{"CND_BEGIN", "FILENAME CARD01\\Run_7", "CLOCK INTERNAL",
                                "RATE 1kHz", "MODE MASTER", "PRETRG 5s", "PSTTRG 60s", "RS232C 0",
                                "CH1 QA-80V_101,A_TRG=37,A_TYPE=ABS,RANGE=10V,FILTER=10Hz",
                                "CH2 QA-80V_102,RANGE=5V", "CH4 QA-80V_104,RANGE=10V",
                                "CH5 QA-80ST_201,RANGE=2000uST", "CH6 QA-80ST_202,RANGE=5000uST",
                                "RTMSET", "CND_END"}));

    cnd.m_rate = "EXT";
    cnd.m_sync = 99;
    cnd.m_channels.clear();
    cnd.BuildCardCondition(lines);
    EXPECT_EQ(lines,
              (TextLines{"CND_BEGIN", "FILENAME CARD01\\Run_7", "CLOCK EXTERNAL", "RATE 1Hz",
                         "MODE ", "PRETRG 5s", "PSTTRG 60s", "RS232C 0", "RTMSET", "CND_END"}));
}
