#include "records/RecordEditor.h"
#include "records/RecordWriter.h"

#include "support/ManualClock.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// A finished record Test_00001 of one recorder with one channel and 3 rows.
std::vector<CRecCnd> WriteRecord(CRecordWriter& writer, const std::string& folder) {
    std::vector<CRecCnd> conditions(1);
    conditions[0].m_baseFileName = "Test";
    conditions[0].m_hddRecFolder = folder;
    conditions[0].m_hddRecFileExt = 1;
    conditions[0].m_memo = "old";
    conditions[0].m_channels = {MakeRecordChannel(1, 0, "10V")};
    EXPECT_EQ(writer.Start({conditions, 0, "Test_00001", ""}, {}, {}), "");
    const std::int16_t rows[] = {1, 2, 3};
    writer.Append(rows, 3);
    EXPECT_EQ(writer.Close(), "");
    EXPECT_EQ(writer.WriteHeader(), "");
    return conditions;
}

TextLines Lines(const std::string& path) {
    TextLines lines;
    EXPECT_EQ(CTextFile::ReadTextLines(path, lines), "");
    return lines;
}

} // namespace

TEST(RecordEditorTest, CommentsTakenAgainFromTheCondition) {
    CTempFolder folder("edit-comments");
    CManualClock clock;
    CRecordWriter writer(clock);
    std::vector<CRecCnd> conditions = WriteRecord(writer, folder.Path());
    TextLines before = Lines(folder.File("Test_00001.hdr"));
    conditions[0].m_memo = "new memo";
    conditions[0].m_memo2 = "second";
    conditions[0].m_testInfo = {"x", "", "z"};
    EXPECT_EQ(writer.EditLastRecord(conditions[0]), "");
    TextLines after = Lines(folder.File("Test_00001.hdr"));
    EXPECT_EQ(after[5], "COMMENT1 new memo");
    EXPECT_EQ(after[6], "COMMENT2 second");
    EXPECT_EQ(after[7], "COMMENT3 x,,z");
    before.erase(before.begin() + 5, before.begin() + 8);
    after.erase(after.begin() + 5, after.begin() + 8);
    EXPECT_EQ(after, before);
}

TEST(RecordEditorTest, RenameMovesBothFilesAndKeepsTheNewPaths) {
    CTempFolder folder("edit-rename");
    CManualClock clock;
    CRecordWriter writer(clock);
    const std::vector<CRecCnd> conditions = WriteRecord(writer, folder.Path());
    const std::string data = fs::path(folder.File("Test_00001.dat")).string();
    const auto size = fs::file_size(data);

    const RecordPaths renamed = RecordPathsFor(folder.File("Pull"));
    EXPECT_EQ(renamed.header, folder.File("Pull.hdr"));
    EXPECT_EQ(RecordPathsFor(folder.File("Pull.hdr")).data, folder.File("Pull.dat"));
    EXPECT_EQ(RenameOverwriteQuestion(renamed), "");
    const std::string newHeader = folder.File("Pull.hdr");
    EXPECT_EQ(writer.EditLastRecord(conditions[0], &newHeader), "");
    EXPECT_FALSE(fs::exists(folder.File("Test_00001.hdr")));
    EXPECT_FALSE(fs::exists(data));
    EXPECT_EQ(fs::file_size(folder.File("Pull.dat")), size);
    const TextLines lines = Lines(folder.File("Pull.hdr"));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "FILENAME Pull.dat"), lines.end());
    EXPECT_EQ(writer.GetPaths().data, folder.File("Pull.dat"));

    // Another record under the new name is asked about first.
    EXPECT_EQ(RenameOverwriteQuestion(renamed), "Pull.hdr already exist. Overwrite ? ");
    fs::remove(folder.File("Pull.hdr"));
    EXPECT_EQ(RenameOverwriteQuestion(renamed), "Pull.dat already exist. Overwrite ? ");
}

TEST(RecordEditorTest, FailedRenameLeavesTheRecordWhole) {
    CTempFolder folder("edit-fail");
    CManualClock clock;
    CRecordWriter writer(clock);
    const std::vector<CRecCnd> conditions = WriteRecord(writer, folder.Path());
    const std::string newHeader = folder.File("missing-folder/Pull.hdr");
    EXPECT_NE(writer.EditLastRecord(conditions[0], &newHeader), "");
    EXPECT_TRUE(fs::exists(folder.File("Test_00001.hdr")));
    EXPECT_TRUE(fs::exists(folder.File("Test_00001.dat")));
    EXPECT_EQ(writer.GetPaths().header, folder.File("Test_00001.hdr"));
}
