#include "records/RecordNames.h"

#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

#include <fstream>

TEST(RecordNamesTest, NameChecksOfTheSetupFrame) {
    EXPECT_EQ(CheckNameText("Run_01-a", 73), "");
    EXPECT_EQ(CheckNameText("run.1", 73), "You can not use \".\" charactor");
    EXPECT_EQ(CheckNameText("a b", 73), "You can not use \" \" charactor");
    EXPECT_EQ(CheckNameText("a\\b", 73), "You can not use \"\\\" charactor");
    EXPECT_EQ(CheckNameText("x\xE9", 73), "You can not use \"\xE9\" charactor");
    EXPECT_EQ(CheckNameText(std::string(22, 'f'), 21), "Please enter no more than 21 characters.");
    for (const char c : std::string("\t,\"*/?:;<>|"))
        EXPECT_NE(CheckNameText(std::string("a") + c, 73), "") << c;
}

TEST(RecordNamesTest, BaseFileNameParts) {
    EXPECT_EQ(JoinBaseFileName("CARD01\\", "Run"), "CARD01\\Run");
    EXPECT_EQ(JoinBaseFileName("", "Run"), "\\Run");
    std::string folder, name;
    SplitBaseFileName("CARD01\\Run.x", folder, name);
    EXPECT_EQ(folder, "CARD01");
    EXPECT_EQ(name, "Run.x");
    SplitBaseFileName("Test", folder, name);
    EXPECT_EQ(folder, "");
    EXPECT_EQ(name, "Test");

    CRecCnd master;
    master.m_baseFileName = "CARD01\\Run.x.y";
    master.m_hddRecFolder = "/data/rec//";
    EXPECT_EQ(RecordBase(master), "Run.x");
    EXPECT_EQ(RecordFolder(master), "/data/rec/");
    EXPECT_EQ(NextRecordDisplayName(master, "Run.x_00004"), "Run.x_yymmdd_hhmmss");
    master.m_hddRecFileExt = 1;
    EXPECT_EQ(NextRecordDisplayName(master, "Run.x_00004"), "Run.x_00004");
    EXPECT_EQ(IncrementRecordName("Run_00009"), "Run_00010");
    EXPECT_EQ(IncrementRecordName("Run_99999"), "Run_100000");
}

TEST(RecordNamesTest, NextAndFreeNamesInTheRecordFolder) {
    CTempFolder folder("record-names");
    for (const char* name :
         {"Test_00007.hdr", "Test_00012.dat", "Test_0012.hdr", "Other_00020.hdr"})
        std::ofstream(folder.File(name)) << "x";
    CRecCnd master;
    master.m_baseFileName = "CARD\\Test.abc";
    master.m_hddRecFolder = folder.Path();
    EXPECT_EQ(ComputeNextRecordName(master), "Test_00013");
    master.m_baseFileName = "New";
    EXPECT_EQ(ComputeNextRecordName(master), "New_00001");

    const std::string path = folder.Path() + "/";
    EXPECT_EQ(FreeRecordName(path, "Test_00013", true), "Test_00013");
    std::ofstream(folder.File("Test_00013.dat")) << "x";
    EXPECT_EQ(FreeRecordName(path, "Test_00012", true), "Test_00014");
    std::ofstream(folder.File("Run_261206_102030.hdr")) << "x";
    std::ofstream(folder.File("Run_261206_102030-2.dat")) << "x";
    EXPECT_EQ(FreeRecordName(path, "Run_261206_102030", false), "Run_261206_102030-3");

    LocalTime start{2027, 1, 2, 3, 4, 5, 0, 6};
    EXPECT_EQ(RecordName(master, "New_00004", start), "New_270102_030405");
    master.m_hddRecFileExt = 1;
    EXPECT_EQ(RecordName(master, "New_00004", start), "New_00004");
}
