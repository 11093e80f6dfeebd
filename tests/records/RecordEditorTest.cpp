// Editing the last record: its comments taken again from the condition, and a rename that
// moves both files or, when it fails, leaves the record whole.
#include "records/RecordEditor.h"
#include "records/RecordWriter.h"

#include "RecordTestRecords.h"

#include "support/ManualClock.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// A finished record Test_00001 of one recorder with one channel and 3 rows.
class RecordEditorTest : public testing::Test {
protected:
    void SetUp() override {
        m_conditions[0].m_baseFileName = "Test";
        m_conditions[0].m_hddRecFolder = m_folder.Path();
        m_conditions[0].m_hddRecFileExt = 1;
        m_conditions[0].m_memo = "old";
        m_conditions[0].m_channels = {MakeRecordChannel(1, 0, "10V")};
        ASSERT_EQ(m_writer.Start({m_conditions, 0, "Test_00001", ""}, {}, {}), "");
        const std::int16_t rows[] = {1, 2, 3};
        m_writer.Append(rows, 3);
        ASSERT_EQ(m_writer.Close(), "");
        ASSERT_EQ(m_writer.WriteHeader(), "");
    }

    CTempFolder m_folder{"record-edit"};
    CManualClock m_clock;
    CRecordWriter m_writer{m_clock};
    std::vector<CRecCnd> m_conditions = std::vector<CRecCnd>(1);
};

} // namespace

// Guards against an edit that changes any header line but the three comments.
TEST_F(RecordEditorTest, CommentsTakenAgainFromTheCondition) {
    TextLines before = HeaderLines(m_folder.File("Test_00001.hdr"));
    m_conditions[0].m_memo = "new memo";
    m_conditions[0].m_memo2 = "second";
    m_conditions[0].m_testInfo = {"x", "", "z"};
    EXPECT_EQ(m_writer.EditLastRecord(m_conditions[0]), "");
    TextLines after = HeaderLines(m_folder.File("Test_00001.hdr"));
    EXPECT_EQ(TextLines(after.begin() + 5, after.begin() + 8),
              (TextLines{"COMMENT1 new memo", "COMMENT2 second", "COMMENT3 x,,z"}));
    before.erase(before.begin() + 5, before.begin() + 8);
    after.erase(after.begin() + 5, after.begin() + 8);
    EXPECT_EQ(after, before);
}

// Guards against a rename that leaves the old header, loses data or overwrites unasked.
TEST_F(RecordEditorTest, RenameMovesBothFilesAndKeepsTheNewPaths) {
    const std::string data = fs::path(m_folder.File("Test_00001.dat")).string();
    const auto size = fs::file_size(data);

    const RecordPaths renamed = RecordPathsFor(m_folder.File("Pull"));
    EXPECT_EQ(renamed.header, m_folder.File("Pull.hdr"));
    EXPECT_EQ(RecordPathsFor(m_folder.File("Pull.hdr")).data, m_folder.File("Pull.dat"));
    EXPECT_EQ(RenameOverwriteQuestion(renamed), "");
    const std::string newHeader = m_folder.File("Pull.hdr");
    EXPECT_EQ(m_writer.EditLastRecord(m_conditions[0], &newHeader), "");
    EXPECT_FALSE(fs::exists(m_folder.File("Test_00001.hdr")));
    EXPECT_FALSE(fs::exists(data));
    EXPECT_EQ(fs::file_size(m_folder.File("Pull.dat")), size);
    const TextLines lines = HeaderLines(m_folder.File("Pull.hdr"));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "FILENAME Pull.dat"), lines.end());
    EXPECT_EQ(m_writer.GetPaths().data, m_folder.File("Pull.dat"));

    // Another record under the new name is asked about first.
    EXPECT_EQ(RenameOverwriteQuestion(renamed), "Pull.hdr already exist. Overwrite ? ");
    fs::remove(m_folder.File("Pull.hdr"));
    EXPECT_EQ(RenameOverwriteQuestion(renamed), "Pull.dat already exist. Overwrite ? ");
}

// Guards against a failed rename that leaves half a record behind.
TEST_F(RecordEditorTest, FailedRenameLeavesTheRecordWhole) {
    const std::string newHeader = m_folder.File("missing-folder/Pull.hdr");
    EXPECT_NE(m_writer.EditLastRecord(m_conditions[0], &newHeader), "");
    EXPECT_TRUE(fs::exists(m_folder.File("Test_00001.hdr")));
    EXPECT_TRUE(fs::exists(m_folder.File("Test_00001.dat")));
    EXPECT_EQ(m_writer.GetPaths().header, m_folder.File("Test_00001.hdr"));
}
