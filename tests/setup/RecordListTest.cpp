// The recordings "View ACQ Files" lists from a folder of fixture records, their edit with and
// without a new name, their deletion and the viewer launch.
#include "setup/RecordList.h"
#include "setup/RecordListEdit.h"
#include "setup/ViewerLauncher.h"
#include "support/FakeProcessLauncher.h"
#include "support/FakePrompt.h"
#include "support/RecordTestConditions.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

class RecordListTest : public testing::Test {
protected:
    void SetUp() override {
        fs::copy(ZT300_TEST_DATA_DIR "/records/list", m_folder.Path(), fs::copy_options::recursive);
        fs::create_directory(m_folder.File("folder.hdr"));
        fs::create_symlink(m_folder.File("missing"), m_folder.File("broken.hdr"));
        m_list.Fill(m_folder.Path());
    }

    Strings Names() const {
        Strings names;
        for (const RecordRow& row : m_list.GetRows())
            names.push_back(row.fileName);
        return names;
    }

    RecordRow& Row(const std::string& name) {
        for (RecordRow& row : m_list.GetRows())
            if (row.fileName == name)
                return row;
        throw std::runtime_error("no row " + name);
    }

    std::string Header(const std::string& name) { return ReadTestFile(m_folder.File(name)); }

    CTempFolder m_folder{"record-list"};
    CRecordList m_list;
    CFakePrompt m_prompt;
};

TEST_F(RecordListTest, ListsReadableHeadersWithADateAndTheirColumns) {
    // Without a DATE value, unreadable, a folder or no header: not listed.
    EXPECT_EQ(Names(), (Strings{"Run_00001.hdr", "a.b.hdr", "card0001.hdr", "late.hdr"}));
    const RecordRow& run = Row("Run_00001.hdr");
    Strings columns;
    for (int column = 0; column < RecordColumn::kCount; ++column)
        columns.push_back(run.Column(column));
    EXPECT_EQ(columns,
              (Strings{"Run_00001.hdr", "03-07-2026 09:05:04", "Memo one", "", "A,B,C", "  100"}));
    EXPECT_EQ(run.dataFileName, "Run_00001.dat");
    EXPECT_EQ(Row("late.hdr").testInfo, "  Leading blanks kept");
    EXPECT_EQ(Row("late.hdr").rate, ""); // INTERVAL is not a rate
    EXPECT_EQ(Row("card0001.hdr").rate, "1kHz");

    RecordRow trimmed;
    EXPECT_TRUE(
        CRecordList::ParseRow({"  DATE 01-01-2026  ", "\tRATE 5", "DATE 02-02-2026"}, trimmed));
    EXPECT_EQ(trimmed.date, "01-01-2026"); // the first line of a name counts
    EXPECT_EQ(trimmed.rate, "5");
    EXPECT_FALSE(CRecordList::ParseRow({"DATE ", "DATE"}, trimmed = {}));
}

TEST_F(RecordListTest, EachColumnSortsBothWays) {
    struct Case {
        int column;
        Strings ascending;
    };
    const Case cases[] = {
        {RecordColumn::kFileName, {"a.b.hdr", "card0001.hdr", "late.hdr", "Run_00001.hdr"}},
        // Day before time, year before month: 2025, then the two of one day by time, then 2027.
        {RecordColumn::kDate, {"a.b.hdr", "Run_00001.hdr", "card0001.hdr", "late.hdr"}},
        {RecordColumn::kTestInfo, {"card0001.hdr", "late.hdr", "a.b.hdr", "Run_00001.hdr"}},
        // None, then numbers by value, then texts.
        {RecordColumn::kSamplingRate, {"late.hdr", "Run_00001.hdr", "a.b.hdr", "card0001.hdr"}},
    };
    for (const Case& c : cases) {
        m_list.Sort(c.column, true);
        EXPECT_EQ(Names(), c.ascending) << "column " << c.column;
        m_list.Sort(c.column, false);
        EXPECT_EQ(Names(), Strings(c.ascending.rbegin(), c.ascending.rend()))
            << "column " << c.column;
    }
}

TEST_F(RecordListTest, EditRewritesTheHeaderLinesInPlace) {
    RecordRow& row = Row("a.b.hdr");
    RecordEdit edit = RecordEditOf(row);
    EXPECT_EQ(edit.fileName, "a.b.dat");
    edit.testInfo = "New info";
    edit.memo1 = "";
    edit.memo2 = "p,q,r";
    edit.fileName = "A.B.DAT"; // only the letter case differs: the files keep their names
    ASSERT_TRUE(EditRecord(m_folder.Path(), row, edit, m_prompt));
    EXPECT_TRUE(m_prompt.m_messages.empty());
    const std::string header = Header("a.b.hdr");
    EXPECT_NE(header.find("\r\nCOMMENT1 New info\r\nCOMMENT2 \r\nCOMMENT3 p,q,r\r\n"),
              std::string::npos);
    EXPECT_NE(header.find("\r\nFILENAME a.b.dat\r\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(m_folder.File("a.b.dat")));
    EXPECT_FALSE(fs::exists(m_folder.File("A.B.hdr")));
    EXPECT_EQ(row.testInfo, "New info");
    EXPECT_EQ(row.fileName, "a.b.hdr");

    // A header without the lines gets them.
    RecordRow& card = Row("card0001.hdr");
    edit = RecordEditOf(card);
    edit.testInfo = "From the card";
    ASSERT_TRUE(EditRecord(m_folder.Path(), card, edit, m_prompt));
    EXPECT_EQ(Header("card0001.hdr"),
              "RECORDER ZT-300\r\nDATE 03-07-2026\r\nTIME 10:00:00\r\nRATE 1kHz\r\nFIRST_FRAME "
              "10\r\nFRAMES 2\r\nCHANNELS 1-1:0 1-2:0\r\nCOMMENT1 From the card\r\nCOMMENT2 "
              "\r\nCOMMENT3 \r\nFILENAME card0001.dat\r\n");
}

TEST_F(RecordListTest, ANewNameRenamesBothFilesUnlessItNamesAnotherRecord) {
    RecordRow& row = Row("Run_00001.hdr");
    const std::string data = ReadTestFile(m_folder.File("Run_00001.dat"));
    RecordEdit edit = RecordEditOf(row);
    edit.fileName = "late.dat";
    EXPECT_FALSE(EditRecord(m_folder.Path(), row, edit, m_prompt));
    edit.fileName = "sub/x";
    EXPECT_FALSE(EditRecord(m_folder.Path(), row, edit, m_prompt));
    EXPECT_EQ(m_prompt.MessageTexts(),
              (Strings{"late.hdr already exist!", "You can not use \"/\" charactor"}));
    EXPECT_EQ(Header("late.hdr").find("Memo one"), std::string::npos);

    edit.fileName = "Renamed run"; // ".dat" may be left off
    edit.memo1 = "renamed";
    std::ofstream(m_folder.File("Run_00001.minmax")) << "overview";
    ASSERT_TRUE(EditRecord(m_folder.Path(), row, edit, m_prompt));
    EXPECT_FALSE(fs::exists(m_folder.File("Run_00001.minmax")));
    EXPECT_FALSE(fs::exists(m_folder.File("Run_00001.hdr")));
    EXPECT_FALSE(fs::exists(m_folder.File("Run_00001.dat")));
    EXPECT_EQ(ReadTestFile(m_folder.File("Renamed run.dat")), data);
    const std::string header = Header("Renamed run.hdr");
    EXPECT_NE(header.find("\r\nCOMMENT2 renamed\r\n"), std::string::npos);
    EXPECT_NE(header.find("\r\nFILENAME Renamed run.dat\r\n"), std::string::npos);
    EXPECT_EQ(row.fileName, "Renamed run.hdr");
    EXPECT_EQ(row.dataFileName, "Renamed run.dat");
}

TEST_F(RecordListTest, AFailedWriteLeavesBothFilesAsTheyWere) {
    RecordRow& row = Row("a.b.hdr");
    const std::string header = Header("a.b.hdr");
    // The header is written beside itself first; a folder in that place makes the write fail.
    fs::create_directory(m_folder.File("a.b.hdr.~zt300"));
    fs::create_directory(m_folder.File("c.hdr.~zt300"));
    RecordEdit edit = RecordEditOf(row);
    edit.testInfo = "lost";
    EXPECT_FALSE(EditRecord(m_folder.Path(), row, edit, m_prompt));
    edit.fileName = "c.dat";
    EXPECT_FALSE(EditRecord(m_folder.Path(), row, edit, m_prompt));
    ASSERT_EQ(m_prompt.m_messages.size(), 2u);
    EXPECT_EQ(m_prompt.m_messages[0].icon, PromptIcon::Stop);
    EXPECT_EQ(Header("a.b.hdr"), header);
    EXPECT_TRUE(fs::exists(m_folder.File("a.b.dat")));
    EXPECT_FALSE(fs::exists(m_folder.File("c.hdr")));
    EXPECT_FALSE(fs::exists(m_folder.File("c.dat")));
    EXPECT_EQ(row.testInfo, "bench");
}

TEST_F(RecordListTest, DeleteTakesTheHeaderTheDataFileAndTheViewersOverview) {
    std::ofstream(m_folder.File("a.b.minmax")) << "overview";
    ASSERT_TRUE(DeleteRecord(m_folder.Path(), Row("a.b.hdr"), m_prompt));
    EXPECT_FALSE(fs::exists(m_folder.File("a.b.hdr")));
    EXPECT_FALSE(fs::exists(m_folder.File("a.b.dat")));
    EXPECT_FALSE(fs::exists(m_folder.File("a.b.minmax")));
    EXPECT_TRUE(fs::exists(m_folder.File("Run_00001.dat")));
    m_list.Fill(m_folder.Path());
    EXPECT_EQ(Names(), (Strings{"Run_00001.hdr", "card0001.hdr", "late.hdr"}));
    EXPECT_TRUE(m_prompt.m_messages.empty());
}

TEST(ViewerLauncher, TheRecordIsOneArgumentAndAFailedStartIsTold) {
    CFakeProcessLauncher launcher;
    CFakePrompt prompt;
    int beeps = 0;
    CViewerLauncher viewer(launcher, prompt, [&] { beeps += prompt.m_messages.empty() ? 1 : 100; });
    const std::string path = CViewerLauncher::RecordPath("/data/a \"b\"; c/", "r 1.hdr");
    EXPECT_EQ(path, "/data/a \"b\"; c/r 1.hdr");
    EXPECT_TRUE(viewer.Run("/opt/plot view", path, true, true));
    EXPECT_TRUE(viewer.Run("/opt/plot view", path, false, true));
    EXPECT_EQ(launcher.m_launches, (std::vector<CFakeProcessLauncher::Call>{
                                       {"/opt/plot view", {path}, CViewerLauncher::kWaitPollMs},
                                       {"/opt/plot view", {path}, 0}}));

    launcher.m_starts = false;
    EXPECT_FALSE(viewer.Run("/opt/none", path, true, false));
    EXPECT_TRUE(prompt.m_messages.empty());
    EXPECT_FALSE(viewer.Run("/opt/none", path, true, true));
    EXPECT_EQ(beeps, 1); // before the message
    ASSERT_EQ(prompt.m_messages.size(), 1u);
    EXPECT_EQ(prompt.m_messages[0].text, "Calling /opt/none \"/data/a \"b\"; c/r 1.hdr\" failed!");
    EXPECT_EQ(prompt.m_messages[0].icon, PromptIcon::Stop);
}

} // namespace
