// The card file transfer end to end against zt300sim: a recorder records onto its card, and the
// records are listed, copied, moved and deleted and the card formatted over the network.
#include "device/Device.h"
#include "device/net/NetLink.h"
#include "framework/Clock.h"
#include "setup/CardTransfer.h"
#include "setup/CardTree.h"
#include "support/FakePrompt.h"
#include "support/RecordTestConditions.h"
#include "support/SimProcess.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

using Kind = CCardTransfer::Kind;
constexpr const char* kRecorder = "127.0.0.2";

// The simulated recorder's configuration: its card is a folder of the test.
std::string WriteConfig(const CTempFolder& root) {
    const std::string path = root.File("sim.conf");
    std::ofstream(path) << "RECORDER ZT-300 " << kRecorder << "\nCARD " << root.File("card")
                        << "\nRATE 1kHz\nSLOT 1 PN=QA-80VA TY=2 NCH=2 RV=10 CF=OFF\n";
    return path;
}

class CardTransferSimTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_port, 0);
        ASSERT_EQ(m_sim.FirstLine(10000), "ready");
        fs::create_directories(Pc());
        m_device.SetDeviceName("ZT-300");
        ASSERT_TRUE(m_device.Open(kRecorder));
    }

    // Three card records, each a short card acquisition of the recorder.
    void RecordOnTheCard() {
        const int h = m_device.GetHandle();
        ASSERT_EQ(m_link.LnkSetAcqCondition(h, {"CARD01\\Run", "1kHz", 0, 0}), 1);
        for (int record = 0; record < 3; ++record) {
            ASSERT_EQ(m_link.LnkStartArmed(h, 1 << 20), 1);
            ASSERT_EQ(m_link.LnkStartAcq(h, 0, 0), 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
            ASSERT_EQ(m_link.LnkStopAcq(h), 1);
            ASSERT_EQ(m_link.LnkStopArmed(h), 1);
        }
    }

    fs::path Card() const { return m_root.File("card"); }
    fs::path Pc() const { return m_root.File("pc"); }

    CTempFolder m_root{"card-transfer-sim"};
    std::uint16_t m_port = FreePort();
    // The recorder's temporary files go with the test's folder even when it was killed.
    CSimProcess m_sim{m_port, WriteConfig(m_root), m_root.Path()};
    CNetLink m_link{m_port};
    CSystemClock m_clock;
    CFakePrompt m_prompt;
    CDevice m_device{m_link, m_prompt, m_clock};
};

TEST_F(CardTransferSimTest, RecordsTravelFromTheCardToThePc) {
    RecordOnTheCard();
    CCardTransfer transfer(m_device, m_prompt);
    ASSERT_TRUE(transfer.Open());
    ASSERT_EQ(transfer.GetFolders().size(), 2u);
    const LinkCardFolder& data = transfer.GetFolders()[1];
    EXPECT_EQ(CardFolderTotalText(data), "\\DATA\\  Total: 6 files");
    Strings names;
    for (const LinkCardFile& file : data.files) {
        names.push_back(file.name);
        EXPECT_EQ(file.size, fs::file_size(Card() / "DATA" / file.name)) << file.name;
    }
    EXPECT_EQ(names, (Strings{"CARD01_Run0001.DAT", "CARD01_Run0001.HDR", "CARD01_Run0002.DAT",
                              "CARD01_Run0002.HDR", "CARD01_Run0003.DAT", "CARD01_Run0003.HDR"}));
    const std::string header1 = ReadTestFile(Card() / "DATA" / "CARD01_Run0001.HDR");
    const std::string data1 = ReadTestFile(Card() / "DATA" / "CARD01_Run0001.DAT");
    const std::string header2 = ReadTestFile(Card() / "DATA" / "CARD01_Run0002.HDR");
    const std::string data2 = ReadTestFile(Card() / "DATA" / "CARD01_Run0002.DAT");
    EXPECT_GT(data1.size(), 100u);

    // Copy: the record's two files arrive as they are on the card, which keeps them.
    std::string path = data.path;
    transfer.Transfer(Kind::Copy, path, {"CARD01_Run0001.DAT"}, Pc().string());
    EXPECT_EQ(ReadTestFile(Pc() / "card01_run0001.hdr"), header1);
    EXPECT_EQ(ReadTestFile(Pc() / "card01_run0001.dat"), data1);
    EXPECT_TRUE(fs::exists(Card() / "DATA" / "CARD01_Run0001.DAT"));

    // Move: gone from the card, and the card is read again.
    transfer.Transfer(Kind::Move, path, {"CARD01_Run0002.HDR"}, Pc().string());
    EXPECT_EQ(ReadTestFile(Pc() / "card01_run0002.hdr"), header2);
    EXPECT_EQ(ReadTestFile(Pc() / "card01_run0002.dat"), data2);
    EXPECT_FALSE(fs::exists(Card() / "DATA" / "CARD01_Run0002.DAT"));
    EXPECT_EQ(transfer.GetFolders()[1].files.size(), 4u);

    transfer.Transfer(Kind::Delete, path, {"CARD01_Run0003.DAT"}, Pc().string());
    EXPECT_EQ(FolderNames(Card() / "DATA"), (Strings{"CARD01_Run0001.DAT", "CARD01_Run0001.HDR"}));

    transfer.Format();
    EXPECT_TRUE(fs::is_empty(Card()));
    EXPECT_EQ(transfer.GetFolders(), (std::vector<LinkCardFolder>{{"\\", {}}}));

    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"Do you want to delete selected files ?",
                                                "Do you want to format the card ?"}));
    EXPECT_EQ(
        m_prompt.m_progressTexts,
        (Strings{"Copying card01_run0001.hdr ...   1/1", "Moving card01_run0002.hdr ...   1/1",
                 "Deleting card01_run0003.hdr ...   1/1", "Formating ... "}));
    EXPECT_EQ(FolderNames(Pc()), (Strings{"card01_run0001.dat", "card01_run0001.hdr",
                                          "card01_run0002.dat", "card01_run0002.hdr"}));
}

// Kills the recorder once the first piece of a copied file has reached the PC.
class CKillingPrompt : public CFakePrompt {
public:
    CKillingPrompt(CSimProcess& sim, fs::path part) : m_sim(sim), m_part(std::move(part)) {}
    bool ProgressCheckCancel() override {
        if (!m_killed && fs::exists(m_part)) {
            m_sim.Signal(SIGKILL);
            m_killed = true;
        }
        return CFakePrompt::ProgressCheckCancel();
    }
    bool m_killed = false;

private:
    CSimProcess& m_sim;
    fs::path m_part;
};

TEST_F(CardTransferSimTest, ARecorderKilledDuringACopyLeavesNoPartOfAFile) {
    // A record large enough to be under way for a while.
    fs::create_directories(Card() / "DATA");
    std::string big(64u << 20, '\0');
    for (std::size_t i = 0; i < big.size(); i += 4096)
        big[i] = static_cast<char>(i >> 12);
    std::ofstream(Card() / "DATA" / "BIG0001.DAT", std::ios::binary) << big;
    std::ofstream(Card() / "DATA" / "BIG0001.HDR", std::ios::binary) << "DATE 01-01-2026\r\n";

    CKillingPrompt prompt(m_sim, Pc() / "big0001.dat.part");
    CCardTransfer transfer(m_device, prompt);
    ASSERT_TRUE(transfer.Open());
    transfer.Transfer(Kind::Copy, "\\DATA\\", {"BIG0001.DAT"}, Pc().string());
    if (!prompt.m_killed)
        GTEST_SKIP() << "the copy ended before the recorder could be killed";
    EXPECT_EQ(prompt.MessageTexts(), (Strings{"LnkCopy failed :-1", "Copy failed !"}));
    EXPECT_TRUE(FolderNames(Pc()).empty());
    EXPECT_EQ(fs::file_size(Card() / "DATA" / "BIG0001.DAT"), big.size());
    EXPECT_FALSE(prompt.m_progressOpen);
}

} // namespace
