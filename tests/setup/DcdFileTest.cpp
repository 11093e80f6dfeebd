// DCD files of both module kinds: the exact bytes written, reading them back, and files that are
// not DCD files.
#include "setup/DcdFile.h"
#include "CanSetupRows.h"
#include "setup/DBCFile.h"
#include "support/RecordTestConditions.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

// Two pages with some of their signals chosen: a 32-bit one on the first page makes the second
// page's channels count on from 7.
template <class Page> std::vector<Page> ChosenPages() {
    std::vector<Page> pages(2);
    CDbcLeftOut leftOut;
    EXPECT_EQ(CDBCFile::Load(Fixture("basic.dbc"), pages[0], leftOut), "");
    EXPECT_EQ(CDBCFile::Load(Fixture("crlf_bom.dbc"), pages[1], leftOut), "");
    for (std::size_t i : {1u, 4u, 6u})
        pages[0].m_items[i].m_selected = 1;
    pages[1].m_items[2].m_selected = 1;
    return pages;
}

template <class Item> std::vector<std::string> SignalLines(const CDcdSet<Item>& set) {
    std::vector<std::string> lines;
    for (const Item& item : set.m_items)
        lines.push_back(FormatSignalListLine(item));
    return lines;
}

} // namespace

TEST(DcdFile, WritesTheChosenSignalsRenumberedWithLineFeeds) {
    CTempFolder folder("dcd_write");
    const std::string path = folder.File("chosen.dcd");
    ASSERT_EQ(CDcdFile::Save(path, ChosenPages<CDBCData>()), "");
    EXPECT_EQ(ReadTestFile(path), "CAN_K\n"
                                  "CRO0,1792\n"
                                  "DTO0,1793\n"
                                  "Ch1,256,,8,3,1,16,1,0.500,-100.000,Torque,Nm,0\n"
                                  "Ch2,512,,8,1,1,32,1,0.100,0.000,Odometer,km,2\n"
                                  "Ch4,512,,8,7,0,8,0,0.400,0.000,Level,%,0\n"
                                  "CRO1,\n"
                                  "DTO1,\n"
                                  "Ch5,101,,2,1,0,16,1,1.000,0.000,Gamma,1/min,1\n");

    CDcdSet<CDBCItem> set;
    ASSERT_EQ(CDcdFile::Load(path, set), "");
    EXPECT_EQ(set.m_croIds, (std::vector<std::string>{"1792", ""}));
    EXPECT_EQ(set.m_dtoIds, (std::vector<std::string>{"1793", ""}));
    EXPECT_EQ(SignalLines(set),
              (std::vector<std::string>{"Ch1,256,,8,3,1,16,1,0.500,-100.000,Torque,Nm,0",
                                        "Ch2,512,,8,1,1,32,1,0.100,0.000,Odometer,km,2",
                                        "Ch4,512,,8,7,0,8,0,0.400,0.000,Level,%,0",
                                        "Ch5,101,,2,1,0,16,1,1.000,0.000,Gamma,1/min,1"}));
}

TEST(DcdFile, ModuleGKeepsFactorAndOffsetTexts) {
    CTempFolder folder("dcd_write_g");
    const std::string path = folder.File("chosen.dcd");
    ASSERT_EQ(CDcdFile::Save(path, ChosenPages<CDBCData_G>()), "");
    const std::vector<std::string> expected{
        "Ch1,256,-1,8,16,1,16,1,0.5,-100,Torque,Nm,0", "Ch2,512,-1,8,0,1,32,1,0.1,0,Odometer,km,2",
        "Ch4,512,-1,8,55,0,8,0,0.4,0,Level,%,1", "Ch5,101,-1,2,0,0,16,1,1,0,Gamma,1/min,1"};
    EXPECT_TRUE(ReadTestFile(path).starts_with("CAN_G\nCRO0,1792\nDTO0,1793\nCh1,256,-1,"));
    CDcdSet<CDBCItem_G> set;
    ASSERT_EQ(CDcdFile::Load(path, set), "");
    EXPECT_EQ(SignalLines(set), expected);
    // A K file is no G file, and the other way round; nothing is loaded.
    CDcdSet<CDBCItem> other;
    other.m_croIds = {"kept"};
    EXPECT_EQ(CDcdFile::Load(path, other), path + "\nThis is not a CAN_K DCD File.");
    EXPECT_EQ(other.m_croIds, (std::vector<std::string>{"kept"}));
}

TEST(DcdFile, ReadingSkipsLinesThatAreNoSignals) {
    CTempFolder folder("dcd_read");
    const std::string path = folder.File("hand.dcd");
    WriteTestFile(path, "CAN_K written by hand\r\n"
                        "CRO0,100\r\n"
                        "Ch1,256,,8,1,1,16\r\n"
                        "\r\n"
                        "DTO0\r\n"
                        "Ch3,300,,8,2,0,8,1,0.250,1.500,Kept,V,0,extra\r\n");
    CDcdSet<CDBCItem> set;
    ASSERT_EQ(CDcdFile::Load(path, set), "");
    EXPECT_EQ(set.m_croIds, (std::vector<std::string>{"100"}));
    EXPECT_EQ(set.m_dtoIds, (std::vector<std::string>{""}));
    EXPECT_EQ(SignalLines(set),
              (std::vector<std::string>{"Ch3,300,,8,2,0,8,1,0.250,1.500,Kept,V,0"}));

    WriteTestFile(path, "CAN_X\nCh1,256,,8,1,1,16,1,0.100,0.000,A,V,0\n");
    EXPECT_EQ(CDcdFile::Load(path, set), path + "\nThis is not a CAN_K DCD File.");
    EXPECT_EQ(set.m_items.size(), 1u);
    WriteTestFile(path, "");
    EXPECT_EQ(CDcdFile::Load(path, set), path + "\nThis is not a CAN_K DCD File.");
    EXPECT_EQ(CDcdFile::Load(folder.File("none.dcd"), set).substr(folder.File("none.dcd").size()),
              "\nCannot find this file.\nPlease verify that the correct path and file name are "
              "given.");
    EXPECT_EQ(CDcdFile::Save(folder.File("no/such/folder.dcd"), ChosenPages<CDBCData>()),
              folder.File("no/such/folder.dcd") +
                  "\nCannot find this file.\nPlease verify that the correct path and file name "
                  "are given.");
}
