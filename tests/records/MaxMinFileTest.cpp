#include "records/MaxMinFile.h"
#include "records/MaxMinRunTable.h"

#include "support/FakePrompt.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const LocalTime kSaveTime{2026, 3, 7, 9, 5, 4, 0, 6};
const char* const kHeader = "MAX/MIN VALUE\r\nMEMO,Load,kN,Temp,C,FILENAME,DATE,TIME\r\n";
const char* const kLine1 = ",1.250,-0.500,25.1,24.9,Run_00001.hdr,2026/03/07,09:05:04\r\n";
const char* const kLine2 = ",3.000,-0.500,25.1,24.9,Run_00002.hdr,2026/03/07,09:05:04\r\n";

class MaxMinFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() / (std::string("zt300_maxmin_") + test->name() + "_" +
                                             std::to_string(std::random_device{}()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        m_path = (m_dir / "result.csv").string();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static CMaxMinFile Channels(const std::string& loadMax, const std::string& headerPath) {
        return CMaxMinFile({{"Load", "kN", loadMax, "-0.500"}, {"Temp", "C", "25.1", "24.9"}},
                           headerPath, kSaveTime);
    }
    static CMaxMinFile First() { return Channels("1.250", "/data/rec/Run_00001.hdr"); }
    static CMaxMinFile Second() { return Channels("3.000", "/data/rec/Run_00002.hdr"); }
    static CMaxMinFile Other() {
        return CMaxMinFile({{"Speed", "km/h", "88", "0"}}, "Run_00003.hdr", kSaveTime);
    }

    static std::string ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    fs::path m_dir;
    std::string m_path;
    CFakePrompt m_prompt;
};

} // namespace

TEST_F(MaxMinFileTest, LinesOfTheFile) {
    const CMaxMinFile file = First();
    EXPECT_EQ(file.HeaderLines(),
              (TextLines{"MAX/MIN VALUE", "MEMO,Load,kN,Temp,C,FILENAME,DATE,TIME"}));
    EXPECT_EQ(file.DataLine() + "\r\n", kLine1);
    EXPECT_TRUE(file.Matches({" MAX/MIN VALUE\t", "MEMO, Load ,kN,Temp,C ,F,D,T", "x"}));
    EXPECT_FALSE(file.Matches({"MAX/MIN VALUE"}));
    EXPECT_FALSE(file.Matches({"MAX/MIN VALUES", "MEMO,Load,kN,Temp,C,FILENAME,DATE,TIME"}));
    EXPECT_FALSE(file.Matches({"MAX/MIN VALUE", "MEMO,Load,kN,Temp,C,FILENAME,DATE,TIME,"}));
    EXPECT_FALSE(file.Matches({"MAX/MIN VALUE", "MEMO,Temp,C,Load,kN,FILENAME,DATE,TIME"}));
}

TEST_F(MaxMinFileTest, AutomaticSavesAppendToAMatchingFileOrStartItAgain) {
    ASSERT_EQ(First().SaveAutomatically(m_path, false), "");
    EXPECT_EQ(ReadBytes(m_path), std::string(kHeader) + kLine1);
    ASSERT_EQ(Second().SaveAutomatically(m_path, false), "");
    EXPECT_EQ(ReadBytes(m_path), std::string(kHeader) + kLine1 + kLine2);

    // Overwrite mode: one header and one data line after every record.
    ASSERT_EQ(Second().SaveAutomatically(m_path, true), "");
    EXPECT_EQ(ReadBytes(m_path), std::string(kHeader) + kLine2);

    // A file of other channels is replaced in append mode too.
    ASSERT_EQ(Other().SaveAutomatically(m_path, false), "");
    EXPECT_EQ(ReadBytes(m_path), "MAX/MIN VALUE\r\nMEMO,Speed,km/h,FILENAME,DATE,TIME\r\n"
                                 ",88,0,Run_00003.hdr,2026/03/07,09:05:04\r\n");

    // A line added by hand without a line break does not swallow the next line.
    WriteBytes(m_path, std::string(kHeader) + ",memo");
    ASSERT_EQ(First().SaveAutomatically(m_path, false), "");
    EXPECT_EQ(ReadBytes(m_path), std::string(kHeader) + ",memo\r\n" + kLine1);

    const std::string noFolder = (m_dir / "missing" / "result.csv").string();
    EXPECT_NE(First().SaveAutomatically(noFolder, false), "");
    EXPECT_FALSE(fs::exists(noFolder));
    EXPECT_NE(First().SaveAutomatically("", false), "") << "AutoSave without a file";
}

TEST_F(MaxMinFileTest, SavesByHandAskBeforeTouchingAnExistingFile) {
    EXPECT_FALSE(First().SaveByHand("", m_prompt)) << "dialog cancelled";
    EXPECT_TRUE(m_prompt.Messages().empty());

    ASSERT_TRUE(First().SaveByHand(m_path, m_prompt));
    EXPECT_EQ(ReadBytes(m_path), std::string(kHeader) + kLine1);
    ASSERT_EQ(m_prompt.Messages().size(), 1u) << "a new file is not asked about";
    EXPECT_EQ(m_prompt.Messages()[0].text, "Save MAX/MIN OK!");
    EXPECT_EQ(m_prompt.Messages()[0].icon, PromptIcon::Information);

    m_prompt.Clear();
    m_prompt.QueueAnswer(PromptAnswer::No);
    ASSERT_TRUE(Second().SaveByHand(m_path, m_prompt));
    EXPECT_EQ(ReadBytes(m_path), std::string(kHeader) + kLine1 + kLine2);
    ASSERT_EQ(m_prompt.Messages().size(), 2u);
    EXPECT_EQ(m_prompt.Messages()[0].text, "Overwrite ?");
    EXPECT_EQ(m_prompt.Messages()[0].icon, PromptIcon::Question);
    EXPECT_EQ(m_prompt.Messages()[0].buttons, PromptButtons::YesNo);

    // Appending to a file of other channels leaves it as it is, and says so.
    m_prompt.Clear();
    m_prompt.QueueAnswer(PromptAnswer::No);
    EXPECT_FALSE(Other().SaveByHand(m_path, m_prompt));
    EXPECT_EQ(ReadBytes(m_path), std::string(kHeader) + kLine1 + kLine2);
    ASSERT_EQ(m_prompt.Messages().size(), 2u);
    EXPECT_EQ(m_prompt.Messages()[1].text,
              "The file holds MAX/MIN values of other channels.\nNothing was saved.");
    EXPECT_EQ(m_prompt.Messages()[1].icon, PromptIcon::Exclamation);

    m_prompt.Clear();
    m_prompt.QueueAnswer(PromptAnswer::Yes);
    ASSERT_TRUE(Second().SaveByHand(m_path, m_prompt));
    EXPECT_EQ(ReadBytes(m_path), std::string(kHeader) + kLine2);

    m_prompt.Clear();
    EXPECT_FALSE(First().SaveByHand(m_dir.string(), m_prompt)) << "a folder is no file";
    ASSERT_EQ(m_prompt.Messages().size(), 2u);
    EXPECT_EQ(m_prompt.Messages()[1].icon, PromptIcon::Stop);
    EXPECT_NE(m_prompt.Messages()[1].text, "Save MAX/MIN OK!");
}
