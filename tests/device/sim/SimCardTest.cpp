// The folder-backed memory card: records travel as header and data together, names match
// without regard to case, and paths cannot leave the card.
#include "SimFixture.h"
#include "support/TestFiles.h"

#include <chrono>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class SimCardTest : public SimFixture {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("zt300-simcard-test-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        WriteTestFile(m_root / "card" / "DATA" / "TEST0001.HDR", "header");
        WriteTestFile(m_root / "card" / "DATA" / "TEST0001.DAT", "data");
        WriteTestFile(m_root / "card" / "DATA" / "NOTE.TXT", "note");
        WriteTestFile(m_root / "secret.txt", "outside");
        fs::create_directories(m_root / "pc");
        SimFixture::SetUp();
    }
    void TearDown() override { fs::remove_all(m_root); }

    std::string Config() const override {
        return "RECORDER ZT-300 127.0.0.2\nCARD " + (m_root / "card").string() +
               "\nCARD_KB 1000\nRATE 100Hz\nSLOT 1 PN=QA-80VA TY=2 NCH=2 RV=10\n"
               "RECORDER ZT-500 127.0.0.3\nCARD NONE\nSLOT 1 PN=QA-80VA TY=2 NCH=2 RV=10\n";
    }

    fs::path m_root;
};

TEST_F(SimCardTest, CopyTakesTheWholeRecordAndMoveRemovesIt) {
    LinkCardInfo info{};
    ASSERT_EQ(m_link->LnkGetCardInfo(m_master, info), 1);
    EXPECT_EQ(info, (LinkCardInfo{1, 1000, 999, 3, 1}));

    // The program asks for the header under a lower-cased name.
    ASSERT_EQ(m_link->LnkCopy(m_master, "\\DATA\\test0001.hdr",
                              (m_root / "pc" / "test0001.hdr").string()),
              1);
    EXPECT_EQ(ReadTestFile(m_root / "pc" / "test0001.hdr"), "header");
    EXPECT_EQ(ReadTestFile(m_root / "pc" / "test0001.dat"), "data");
    EXPECT_TRUE(fs::exists(m_root / "card" / "DATA" / "TEST0001.DAT"));

    // A PC path written with "\" still names the PC folder.
    const std::string pcFolder = (m_root / "pc").string() + "\\moved.hdr";
    ASSERT_EQ(m_link->LnkMove(m_master, "DATA\\TEST0001.HDR", pcFolder), 1);
    EXPECT_EQ(ReadTestFile(m_root / "pc" / "moved.dat"), "data");
    EXPECT_FALSE(fs::exists(m_root / "card" / "DATA" / "TEST0001.HDR"));
    EXPECT_FALSE(fs::exists(m_root / "card" / "DATA" / "TEST0001.DAT"));
    EXPECT_EQ(Master().GetCard().ListFiles(), (std::vector<std::string>{"\\DATA\\NOTE.TXT"}));
}

TEST_F(SimCardTest, FailedOperationsReportAndChangeNothing) {
    const std::string pc = (m_root / "pc" / "x.txt").string();
    EXPECT_EQ(m_link->LnkCopy(m_master, "\\DATA\\MISSING.HDR", pc), SimResult::kCardFileError);
    EXPECT_EQ(m_link->LnkCopy(m_master, "\\..\\secret.txt", pc), SimResult::kCardFileError);
    EXPECT_EQ(m_link->LnkDelete(m_master, "DATA\\..\\..\\secret.txt"), SimResult::kCardFileError);
    EXPECT_EQ(m_link->LnkCopy(m_master, "\\DATA", pc), SimResult::kCardFileError);
    EXPECT_EQ(m_link->LnkCopy(m_master, "\\DATA\\NOTE.TXT", (m_root / "no" / "x.txt").string()),
              SimResult::kCardFileError);
    EXPECT_TRUE(fs::exists(m_root / "secret.txt"));
    EXPECT_FALSE(fs::exists(pc));
    EXPECT_TRUE(fs::is_empty(m_root / "pc")); // no partial file left behind
    // The data file cannot be written: the header, though whole, does not stay alone either.
    fs::create_directory(m_root / "pc" / "run.dat.part");
    EXPECT_EQ(
        m_link->LnkMove(m_master, "\\DATA\\TEST0001.HDR", (m_root / "pc" / "run.hdr").string()),
        SimResult::kCardFileError);
    EXPECT_EQ(FolderNames(m_root / "pc"), std::vector<std::string>{"run.dat.part"});
    EXPECT_TRUE(fs::exists(m_root / "card" / "DATA" / "TEST0001.HDR"));
    fs::remove(m_root / "pc" / "run.dat.part");

    LinkCardInfo info{};
    ASSERT_EQ(m_link->LnkGetCardInfo(m_slave, info), 1);
    EXPECT_EQ(info, (LinkCardInfo{0, 0, -1, 0, 0}));
    EXPECT_EQ(m_link->LnkCopy(m_slave, "\\DATA\\NOTE.TXT", pc), SimResult::kNoCard);
    EXPECT_EQ(m_link->LnkFormatCard(m_slave), SimResult::kNoCard);
}

TEST_F(SimCardTest, TheDirectoryListsEveryFolderWithItsFiles) {
    WriteTestFile(m_root / "card" / "ZT300.CND", "cnd");
    WriteTestFile(m_root / "card" / "DATA" / "SUB" / "A.WAV", "wave");
    WriteTestFile(m_root / "card" / "DATA" / "BAD\\NAME.DAT", "x"); // no card path can name it
    fs::create_directories(m_root / "card" / "EMPTY");
    const auto written = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(m_root / "card" / "ZT300.CND", written);
    fs::permissions(m_root / "card" / "ZT300.CND", fs::perms::owner_write,
                    fs::perm_options::remove);

    std::vector<LinkCardFolder> folders;
    ASSERT_EQ(m_link->LnkGetCardDir(m_master, folders), 1);
    std::vector<std::string> listed;
    for (const LinkCardFolder& folder : folders) {
        listed.push_back(folder.path);
        for (const LinkCardFile& file : folder.files)
            listed.push_back(folder.path + file.name + " " + std::to_string(file.size));
    }
    EXPECT_EQ(listed,
              (std::vector<std::string>{"\\", "\\ZT300.CND 3", "\\DATA\\", "\\DATA\\NOTE.TXT 4",
                                        "\\DATA\\TEST0001.DAT 4", "\\DATA\\TEST0001.HDR 6",
                                        "\\DATA\\SUB\\", "\\DATA\\SUB\\A.WAV 4", "\\EMPTY\\"}));
    const LinkCardFile& cnd = folders[0].files[0];
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::file_clock::to_sys(written).time_since_epoch());
    const LocalTime local = ToLocalTime(seconds.count());
    EXPECT_EQ(cnd.time, (LinkCardTime{local.year, local.month, local.day, local.hour, local.minute,
                                      local.second}));
    EXPECT_EQ(cnd.attributes, LinkCardAttribute::kArchive | LinkCardAttribute::kReadOnly);
    EXPECT_EQ(folders[1].files[0].attributes, LinkCardAttribute::kArchive);

    EXPECT_EQ(m_link->LnkGetCardDir(m_slave, folders), SimResult::kNoCard);
    ASSERT_EQ(m_link->LnkFormatCard(m_master), 1);
    ASSERT_EQ(m_link->LnkGetCardDir(m_master, folders), 1);
    EXPECT_EQ(folders, (std::vector<LinkCardFolder>{{"\\", {}}}));
}

TEST_F(SimCardTest, DeleteAndFormat) {
    ASSERT_EQ(m_link->LnkDelete(m_master, "\\data\\note.txt"), 1);
    ASSERT_EQ(m_link->LnkDelete(m_master, "\\DATA\\TEST0001.DAT"), 1);
    EXPECT_TRUE(Master().GetCard().ListFiles().empty());
    WriteTestFile(m_root / "card" / "A" / "B.TXT", "b");
    ASSERT_EQ(m_link->LnkFormatCard(m_master), 1);
    EXPECT_TRUE(fs::is_empty(m_root / "card"));
    EXPECT_TRUE(fs::exists(m_root / "secret.txt"));
}

TEST_F(SimCardTest, CardRecordingWritesTheFramesOfTheAcquisition) {
    ASSERT_EQ(m_link->LnkFormatCard(m_master), 1);
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 4 * 1000), 1);
    m_clock.Advance(100);
    ASSERT_EQ(m_link->LnkStartAcq(m_master, 0, 0), 1);
    m_clock.Advance(250);
    ASSERT_EQ(m_link->LnkStopAcq(m_master), 1);
    ASSERT_EQ(Master().GetCard().ListFiles(),
              (std::vector<std::string>{"\\DATA\\Test0001.DAT", "\\DATA\\Test0001.HDR"}));
    EXPECT_EQ(fs::file_size(m_root / "card" / "DATA" / "Test0001.DAT"), 25u * 2 * 2);
    EXPECT_EQ(ReadTestFile(m_root / "card" / "DATA" / "Test0001.HDR"),
              "RECORDER ZT-300\r\nDATE 12-06-2026\r\nTIME 10:20:30\r\nRATE 100Hz\r\nFIRST_FRAME "
              "10\r\nFRAMES 25\r\nCHANNELS 1-1:0 1-2:0\r\n");
    ASSERT_EQ(m_link->LnkStartAcq(m_master, 0, 0), 1);
    ASSERT_EQ(m_link->LnkStopArmed(m_master), 1); // stopping ARMED ends the card record too
    EXPECT_EQ(Master().GetCard().ListFiles().size(), 4u);

    // A record the card cannot take is reported, and leaves nothing behind.
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 4 * 400000), 1);
    ASSERT_EQ(m_link->LnkStartAcq(m_master, 0, 0), 1);
    m_clock.Advance(3000000); // 1.2 MB of frames on a 1000 KB card
    EXPECT_EQ(m_link->LnkStopAcq(m_master), SimResult::kCardFileError);
    EXPECT_EQ(m_link->LnkGetStatus(m_master), RecorderStatus::kArmed);
    EXPECT_EQ(Master().GetCard().ListFiles().size(), 4u);
    ASSERT_EQ(m_link->LnkStopArmed(m_master), 1);

    // A base name is one plain file name on the card, whatever the condition holds.
    ASSERT_EQ(m_link->LnkSetAcqCondition(m_master, {"..\\up/x", "100Hz", 0, 0}), 1);
    ASSERT_EQ(m_link->LnkStartArmed(m_master, 4 * 1000), 1);
    ASSERT_EQ(m_link->LnkStartAcq(m_master, 0, 0), 1);
    ASSERT_EQ(m_link->LnkStopAcq(m_master), 1);
    EXPECT_EQ(Master().GetCard().ListFiles().at(4), "\\DATA\\___up_x0001.DAT");
}
