// The MAX/MIN result file: its exact bytes, appending to a file of the same channels, and the
// questions and messages of a save by hand.
#include "records/MaxMinFile.h"

#include "support/FakePrompt.h"
#include "support/RecordTestConditions.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const LocalTime kSaveTime{2026, 3, 7, 9, 5, 4, 0, 6};
const std::string kHeader = "MAX/MIN VALUE\r\nMEMO,Load,kN,Temp,C,FILENAME,DATE,TIME\r\n";
const std::string kLine1 = ",1.250,-0.500,25.1,24.9,Run_00001.hdr,2026/03/07,09:05:04\r\n";
const std::string kLine2 = ",3.000,-0.500,25.1,24.9,Run_00002.hdr,2026/03/07,09:05:04\r\n";

class MaxMinFileTest : public ::testing::Test {
protected:
    static CMaxMinFile Channels(const std::string& loadMax, const std::string& headerPath) {
        return CMaxMinFile({{"Load", "kN", loadMax, "-0.500"}, {"Temp", "C", "25.1", "24.9"}},
                           headerPath, kSaveTime);
    }
    static CMaxMinFile First() { return Channels("1.250", "/data/rec/Run_00001.hdr"); }
    static CMaxMinFile Second() { return Channels("3.000", "/data/rec/Run_00002.hdr"); }
    static CMaxMinFile Other() {
        return CMaxMinFile({{"Speed", "km/h", "88", "0"}}, "Run_00003.hdr", kSaveTime);
    }
    std::string Saved() const { return ReadTestFile(m_path); }

    CTempFolder m_folder{"maxmin"};
    std::string m_path = m_folder.File("result.csv");
    CFakePrompt m_prompt;
};

} // namespace

// The file's lines themselves are checked byte for byte by the saves below.
TEST_F(MaxMinFileTest, AFileMatchesOnlyTheSameChannelsInTheSameOrder) {
    const CMaxMinFile file = First();
    EXPECT_TRUE(file.Matches({" MAX/MIN VALUE\t", "MEMO, Load ,kN,Temp,C ,F,D,T", "x"}));
    EXPECT_FALSE(file.Matches({"MAX/MIN VALUE"}));
    EXPECT_FALSE(file.Matches({"MAX/MIN VALUES", "MEMO,Load,kN,Temp,C,FILENAME,DATE,TIME"}));
    EXPECT_FALSE(file.Matches({"MAX/MIN VALUE", "MEMO,Load,kN,Temp,C,FILENAME,DATE,TIME,"}));
    EXPECT_FALSE(file.Matches({"MAX/MIN VALUE", "MEMO,Temp,C,Load,kN,FILENAME,DATE,TIME"}));
}

// Guards against lost lines, a second header or a file of other channels appended to.
TEST_F(MaxMinFileTest, AutomaticSavesAppendToAMatchingFileOrStartItAgain) {
    ASSERT_EQ(First().SaveAutomatically(m_path, false), "");
    EXPECT_EQ(Saved(), kHeader + kLine1);
    ASSERT_EQ(Second().SaveAutomatically(m_path, false), "");
    EXPECT_EQ(Saved(), kHeader + kLine1 + kLine2);

    // Overwrite mode: one header and one data line after every record.
    ASSERT_EQ(Second().SaveAutomatically(m_path, true), "");
    EXPECT_EQ(Saved(), kHeader + kLine2);

    // A file of other channels is replaced in append mode too.
    ASSERT_EQ(Other().SaveAutomatically(m_path, false), "");
    EXPECT_EQ(Saved(), "MAX/MIN VALUE\r\nMEMO,Speed,km/h,FILENAME,DATE,TIME\r\n"
                       ",88,0,Run_00003.hdr,2026/03/07,09:05:04\r\n");

    // A line added by hand without a line break does not swallow the next line.
    WriteTestFile(m_path, kHeader + ",memo");
    ASSERT_EQ(First().SaveAutomatically(m_path, false), "");
    EXPECT_EQ(Saved(), kHeader + ",memo\r\n" + kLine1);

    const std::string noFolder = m_folder.File("missing/result.csv");
    EXPECT_NE(First().SaveAutomatically(noFolder, false), "");
    EXPECT_FALSE(fs::exists(noFolder));
    EXPECT_NE(First().SaveAutomatically("", false), "") << "AutoSave without a file";
}

// Each save by hand after the one before: what it asks and says, and the file it leaves.
TEST_F(MaxMinFileTest, SavesByHandAskBeforeTouchingAnExistingFile) {
    const std::string folderFailure =
        "S An unexpected error occurred while writing " + m_folder.Path() + ".";
    struct Step {
        CMaxMinFile file;
        std::string path; // empty: the file dialog was cancelled
        std::optional<PromptAnswer> answer;
        bool saved;
        std::string bytes;
        std::vector<std::string> messages; // icon letter and text
    };
    const std::string overwrite = "Q Overwrite ?";
    const std::string ok = "I Save MAX/MIN OK!";
    const Step steps[] = {
        {First(), "", {}, false, "", {}},
        {First(), m_path, {}, true, kHeader + kLine1, {ok}}, // a new file is not asked about
        {Second(), m_path, PromptAnswer::No, true, kHeader + kLine1 + kLine2, {overwrite, ok}},
        // Appending to a file of other channels leaves it as it is, and says so.
        {Other(),
         m_path,
         PromptAnswer::No,
         false,
         kHeader + kLine1 + kLine2,
         {overwrite, "E The file holds MAX/MIN values of other channels.\nNothing was saved."}},
        {Second(), m_path, PromptAnswer::Yes, true, kHeader + kLine2, {overwrite, ok}},
        {First(), m_folder.Path(), {}, false, kHeader + kLine2, {overwrite, folderFailure}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.bytes);
        m_prompt.Clear();
        if (step.answer)
            m_prompt.QueueAnswer(*step.answer);
        EXPECT_EQ(step.file.SaveByHand(step.path, m_prompt), step.saved);
        EXPECT_EQ(Saved(), step.bytes);
        std::vector<std::string> shown;
        for (const CFakePrompt::Message& message : m_prompt.Messages())
            shown.push_back(std::string(1, "-SEIQ"[static_cast<int>(message.icon)]) + " " +
                            message.text);
        EXPECT_EQ(shown, step.messages);
        if (!shown.empty() && shown[0] == overwrite) {
            EXPECT_EQ(m_prompt.Messages()[0].buttons, PromptButtons::YesNo);
        }
    }
}
