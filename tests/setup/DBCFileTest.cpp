// DBC files of the field into pages of both module kinds: one fixture per syntax feature, with
// the exact signal lines each kind must get and what each leaves out.
#include "setup/DBCFile.h"
#include "CanSetupRows.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

struct DbcCase {
    const char* file;
    Lines k;
    Lines g;
    const char* leftOutK = "";
    const char* leftOutG = "";
};

const DbcCase kCases[] = {
    {"basic.dbc",
     {"Ch1,256,,8,1,0,16,1,0.125,0.000,Speed,rpm,1",
      "Ch2,256,,8,3,1,16,1,0.500,-100.000,Torque,Nm,0", "Ch3,256,,8,5,0,4,1,1.000,0.000,Gear,,0",
      "Ch4,256,,8,6,0,8,1,1.000,0.000,Flags,,0", "Ch5,512,,8,1,1,32,1,0.100,0.000,Odometer,km,2",
      "Ch7,512,,8,5,0,16,0,0.100,-40.000,Temp,degC,1", "Ch8,512,,8,7,0,8,0,0.400,0.000,Level,%,0"},
     {"Ch1,256,-1,8,0,0,16,1,0.125,0,Speed,rpm,1", "Ch2,256,-1,8,16,1,16,1,0.5,-100,Torque,Nm,0",
      "Ch3,256,-1,8,32,0,4,1,1,0,Gear,,1", "Ch4,256,-1,8,40,0,8,1,1,0,Flags,,1",
      "Ch5,512,-1,8,0,1,32,1,0.1,0,Odometer,km,2", "Ch7,512,-1,8,39,0,16,0,0.1,-40,Temp,degC,1",
      "Ch8,512,-1,8,55,0,8,0,0.4,0,Level,%,1"}},
    {"crlf_bom.dbc",
     {"Ch1,100,,8,1,0,8,1,1.000,0.000,Alpha,,0", "Ch2,100,,8,2,1,16,1,0.010,0.000,Beta,bar,0",
      "Ch3,101,,2,1,0,16,1,1.000,0.000,Gamma,1/min,1"},
     {"Ch1,100,-1,8,0,0,8,1,1,0,Alpha,,1", "Ch2,100,-1,8,8,1,16,1,0.01,0,Beta,bar,0",
      "Ch3,101,-1,2,0,0,16,1,1,0,Gamma,1/min,1"}},
    {"cp1252.dbc",
     {"Ch1,300,,8,1,1,16,1,0.100,0.000,Innentemp,\xB0"
      "C,0",
      "Ch2,300,,8,3,0,8,1,0.500,0.000,Feuchte,%,0"},
     {"Ch1,300,-1,8,0,1,16,1,0.1,0,Innentemp,\xB0"
      "C,0",
      "Ch2,300,-1,8,16,0,8,1,0.5,0,Feuchte,%,1"}},
    // A comment running over several lines hides the message and signal text inside it.
    {"comments.dbc",
     {"Ch1,400,,8,1,0,8,1,1.000,0.000,Mode,,0", "Ch2,401,,4,1,0,16,1,1.000,0.000,Count,,1"},
     {"Ch1,400,-1,8,0,0,8,1,1,0,Mode,,1", "Ch2,401,-1,4,0,0,16,1,1,0,Count,,1"}},
    {"attributes.dbc",
     {"Ch1,500,,8,1,0,16,1,0.010,0.000,Value,V,1", "Ch2,501,,2,1,1,8,1,1.000,0.000,Small,,0"},
     {"Ch1,500,-1,8,0,0,16,1,0.01,0,Value,V,1", "Ch2,501,-1,2,0,1,8,1,1,0,Small,,0"}},
    {"value_tables.dbc",
     {"Ch1,600,,8,1,0,4,1,1.000,0.000,Gear,,0", "Ch2,600,,8,2,0,8,1,1.000,-40.000,OilTemp,degC,0"},
     {"Ch1,600,-1,8,0,0,4,1,1,0,Gear,,1", "Ch2,600,-1,8,8,0,8,1,1,-40,OilTemp,degC,1"}},
    {"multiplexed.dbc",
     {"Ch1,700,,8,1,0,8,1,1.000,0.000,Selector,,0",
      "Ch2,700,0,8,2,0,16,1,0.100,0.000,Page0Value,A,1",
      "Ch3,700,1,8,2,1,16,1,0.100,0.000,Page1Value,A,0",
      "Ch4,700,2,8,2,0,8,1,1.000,0.000,SubMux,,0", "Ch5,700,3,8,3,0,16,1,1.000,0.000,Deep,,1"},
     {"Ch1,700,-1,8,0,0,8,1,1,0,Selector,,1", "Ch2,700,0,8,8,0,16,1,0.1,0,Page0Value,A,1",
      "Ch3,700,1,8,8,1,16,1,0.1,0,Page1Value,A,0", "Ch4,700,2,8,8,0,8,1,1,0,SubMux,,1",
      "Ch5,700,3,8,16,0,16,1,1,0,Deep,,1"}},
    {"extended_ids.dbc",
     {"Ch1,2147484672,,8,1,0,16,1,0.010,0.000,Pressure,bar,1",
      "Ch2,2684354559,,8,1,0,8,1,1.000,0.000,Status,,0"},
     {"Ch1,2147484672,-1,8,0,0,16,1,0.01,0,Pressure,bar,1",
      "Ch2,2684354559,-1,8,0,0,8,1,1,0,Status,,1"}},
    {"canfd.dbc",
     {"Ch1,800,,64,1,0,16,1,1.000,0.000,First,,1", "Ch2,800,,64,63,0,16,1,1.000,0.000,Far,,1",
      "Ch3,800,,64,63,1,16,0,1.000,0.000,FarMoto,,0", "Ch4,801,,12,9,0,32,1,1.000,0.000,Mid,,3"},
     {"Ch1,800,-1,64,0,0,16,1,1,0,First,,1", "Ch2,800,-1,64,496,0,16,1,1,0,Far,,1",
      "Ch3,800,-1,64,503,1,16,0,1,0,FarMoto,,0", "Ch4,801,-1,12,64,0,32,1,1,0,Mid,,3"}},
    // The value-type lines make 32-bit signals FLOAT32, whatever their type number says.
    {"long_signals.dbc",
     {"Ch1,902,,8,1,1,32,1,1.000,0.000,Pressure,kPa,4", "Ch3,902,,8,5,0,32,1,1.000,0.000,Raw,,4",
      "Ch5,904,,8,1,0,16,1,1.000,0.000,Low,,1"},
     {"Ch1,900,-1,8,0,0,24,1,1,0,Counter24,,3", "Ch3,900,-1,8,24,1,24,1,1,0,Signed24,,2",
      "Ch5,902,-1,8,0,1,32,1,1,0,Pressure,kPa,4", "Ch7,902,-1,8,32,0,32,1,1,0,Raw,,4",
      "Ch9,904,-1,8,0,0,16,1,1,0,Low,,1"},
     "5 signals of 24, 48, 64 bits left out",
     "3 signals of 48, 64 bits left out"},
    {"empty_messages.dbc",
     {"Ch1,1002,,2,1,0,16,1,1.000,0.000,Val,,1"},
     {"Ch1,1002,-1,2,0,0,16,1,1,0,Val,,1"},
     "3 signals outside a message left out",
     "3 signals outside a message left out"},
    {"malformed.dbc",
     {"Ch1,1100,,8,2,0,8,1,0.500,1.000,Spaced,deg C,0",
      "Ch2,1100,,8,3,0,8,1,1.000,0.000,Comma,a;b,0", "Ch3,1102,,8,1,0,8,1,1.000,0.000,Kept,,0"},
     {"Ch1,1100,-1,8,8,0,8,1,0.5,1,Spaced,deg C,1", "Ch2,1100,-1,8,16,0,8,1,1,0,Comma,a;b,1",
      "Ch3,1102,-1,8,0,0,8,1,1,0,Kept,,1"},
     "2 signals outside a message left out; 8 unreadable signal lines skipped",
     "2 signals outside a message left out; 8 unreadable signal lines skipped"},
    // A line longer than any line buffer is read whole: the signal text inside the comment is
    // never a line of its own.
    {"long_line.dbc",
     {"Ch1,1200,,8,1,0,8,1,1.000,0.000,A,,0", "Ch2,1200,,8,2,0,16,1,1.000,0.000,Long,,1",
      "Ch3,1201,,8,1,0,8,1,1.000,0.000,B,,0"},
     {"Ch1,1200,-1,8,0,0,8,1,1,0,A,,1", "Ch2,1200,-1,8,8,0,16,1,1,0,Long,,1",
      "Ch3,1201,-1,8,0,0,8,1,1,0,B,,1"}},
};

template <class Page> Lines SignalLines(const Page& page) {
    Lines lines;
    for (const auto& item : page.m_items)
        lines.push_back(FormatSignalListLine(item));
    return lines;
}

} // namespace

TEST(DBCFile, FixturesGiveTheExactPagesOfBothKinds) {
    for (const DbcCase& c : kCases) {
        SCOPED_TRACE(c.file);
        CDBCData k;
        CDbcLeftOut leftOutK;
        ASSERT_EQ(CDBCFile::Load(Fixture(c.file), k, leftOutK), "");
        EXPECT_EQ(SignalLines(k), c.k);
        EXPECT_EQ(leftOutK.Describe(), c.leftOutK);
        EXPECT_EQ(k.m_slot, -1);

        CDBCData_G g;
        CDbcLeftOut leftOutG;
        ASSERT_EQ(CDBCFile::Load(Fixture(c.file), g, leftOutG), "");
        EXPECT_EQ(SignalLines(g), c.g);
        EXPECT_EQ(leftOutG.Describe(), c.leftOutG);
    }
}

TEST(DBCFile, MessagesLimitsAndStartBitsOfTheBasicFile) {
    CDBCData page;
    CDbcLeftOut leftOut;
    ASSERT_EQ(CDBCFile::Load(Fixture("basic.dbc"), page, leftOut), "");
    EXPECT_EQ(page.m_croId, "1792");
    EXPECT_EQ(page.m_dtoId, "1793"); // the message is named "dto"
    ASSERT_EQ(page.m_items.size(), 7u);
    const CDBCItem& speed = page.m_items[0];
    EXPECT_EQ(speed.m_msgName, "Engine");
    EXPECT_EQ(speed.m_min, 0.0);
    EXPECT_EQ(speed.m_max, 8191.875);
    EXPECT_EQ(speed.m_startBit, 0);
    EXPECT_EQ(speed.m_selected, 0);
    EXPECT_EQ(page.m_items[5].m_msgName, "Body");
    EXPECT_EQ(page.m_items[5].m_startBit, 39);
    EXPECT_EQ(page.m_items[5].m_min, -40.0);
}

TEST(DBCFile, ReadingAgainReplacesThePageAndAFailedReadChangesNothing) {
    CDBCData page;
    CDbcLeftOut leftOut;
    ASSERT_EQ(CDBCFile::Load(Fixture("long_signals.dbc"), page, leftOut), "");
    ASSERT_EQ(CDBCFile::Load(Fixture("crlf_bom.dbc"), page, leftOut), "");
    EXPECT_EQ(page.m_items.size(), 3u);
    EXPECT_EQ(leftOut.Count(), 0);

    EXPECT_EQ(CDBCFile::Load(Fixture("missing.dbc"), page, leftOut),
              Fixture("missing.dbc") +
                  "\nCannot find this file.\nPlease verify that the correct path and file name "
                  "are given.");
    EXPECT_NE(CDBCFile::Load(ZT300_TEST_DATA_DIR "/can", page, leftOut), ""); // a folder
    EXPECT_EQ(page.m_items.size(), 3u);
    EXPECT_EQ(page.m_items[2].m_name, "Gamma");
}

TEST(DBCFile, TextsWithoutSignalsAndOddLineEnds) {
    CDBCData page;
    CDbcLeftOut leftOut;
    for (const char* text : {"", "\n\r\n\r\r", "\xEF\xBB\xBF", "BO_", "SG_",
                             "BO_ :", "SG_ :", "BO_ 1 M: 8\nSG_ S : |@ () [] \"\"", "CM_ \"open"}) {
        CDBCFile::Parse(text, page, leftOut);
        EXPECT_TRUE(page.m_items.empty()) << text;
    }
    // A message on the last line without its line end, a signal line ending in CR only.
    CDBCFile::Parse("BO_ 7 M: 8\n SG_ S : 0|8@1+ (2,0) [0|1] \"u\"\r", page, leftOut);
    ASSERT_EQ(page.m_items.size(), 1u);
    EXPECT_EQ(FormatSignalListLine(page.m_items[0]), "Ch1,7,,8,1,0,8,1,2.000,0.000,S,u,0");
    EXPECT_EQ(CDBCFile::SplitLines("a\r\nb\n\nc"),
              (std::vector<std::string_view>{"a", "b", "", "c"}));
}
