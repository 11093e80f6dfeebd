#include "acquisition/RecordNames.h"

#include <gtest/gtest.h>

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
