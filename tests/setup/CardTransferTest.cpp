// The card file transfer over a simulated recorder in this process: the tree and the lists, and
// copy, move, delete and format with every question, progress text and message.
#include "setup/CardTransfer.h"
#include "device/Device.h"
#include "device/sim/SimLink.h"
#include "setup/CardTree.h"
#include "setup/FileTransferSettings.h"
#include "setup/TransferRows.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordTestConditions.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

using Kind = CCardTransfer::Kind;

class CardTransferTest : public testing::Test {
protected:
    void SetUp() override {
        WriteTestFile(Card() / "ZT300.CND", "condition");
        WriteTestFile(Card() / "DATA" / "TEST0001.HDR", "header 1");
        WriteTestFile(Card() / "DATA" / "TEST0001.DAT", "data 1");
        WriteTestFile(Card() / "DATA" / "TEST0002.HDR", "header 2");
        WriteTestFile(Card() / "DATA" / "TEST0002.DAT", "data 2");
        WriteTestFile(Card() / "DATA" / "VOICE.WAV", "wave");
        fs::create_directories(Pc());
        m_device.SetDeviceName("ZT-300");
        ASSERT_TRUE(m_device.Open("127.0.0.2"));
        ASSERT_TRUE(m_transfer.Open());
        m_prompt.Clear();
    }

    static std::unique_ptr<CSimLink> MakeLink(const fs::path& card, const IClock& clock) {
        std::string error;
        auto link = CSimLink::FromConfigText("RECORDER ZT-300 127.0.0.2\nCARD " + card.string() +
                                                 "\nRECORDER ZT-500 127.0.0.3\nCARD NONE\n",
                                             error, &clock);
        if (!link)
            throw std::runtime_error(error);
        return link;
    }

    fs::path Card() const { return fs::path(m_root.Path()) / "card"; }
    fs::path Pc() const { return fs::path(m_root.Path()) / "pc"; }
    const LinkCardFolder& Data() const { return m_transfer.GetFolders().at(1); }

    CTempFolder m_root{"card-transfer"};
    CManualClock m_clock;
    CFakePrompt m_prompt;
    std::unique_ptr<CSimLink> m_link = MakeLink(Card(), m_clock);
    CDevice m_device{*m_link, m_prompt, m_clock};
    CCardTransfer m_transfer{m_device, m_prompt};
};

TEST_F(CardTransferTest, TheTreeAndTheCardListShowTheDirectory) {
    const CardTreeItem tree = BuildCardTree(m_transfer.GetFolders());
    EXPECT_EQ(tree.text, "Memory Card");
    EXPECT_EQ(tree.folder, 0);
    ASSERT_EQ(tree.children.size(), 1u);
    EXPECT_EQ(tree.children[0].text, "DATA");
    EXPECT_EQ(Data().path, "\\DATA\\");
    EXPECT_EQ(CardFolderTotalText(Data()), "\\DATA\\  Total: 5 files");

    std::vector<TransferRow> rows = CardRows(Data());
    SortRows(rows, TransferColumn::kSize, false);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].name, "TEST0001.HDR");
    EXPECT_EQ(rows[0].SizeText(), "8");
    EXPECT_EQ(rows[4].name, "VOICE.WAV");
    EXPECT_EQ(rows[0].Column(TransferColumn::kDate).size(), 19u); // mm-dd-yyyy hh:mm:ss

    // Nested paths, and a folder listed only below another that is not.
    const CardTreeItem nested =
        BuildCardTree({{"\\A\\B\\", {}}, {"\\A\\C\\", {}}, {"\\a\\", {}}, {"\\", {}}});
    EXPECT_EQ(nested.folder, 3);
    ASSERT_EQ(nested.children.size(), 1u);
    EXPECT_EQ(nested.children[0].folder, 2); // "\a\" is the same folder as "\A\"
    ASSERT_EQ(nested.children[0].children.size(), 2u);
    EXPECT_EQ(nested.children[0].children[1].text, "C");
    EXPECT_EQ(nested.children[0].children[1].folder, 1);
    EXPECT_EQ(FindCardFolder(m_transfer.GetFolders(), "\\data\\"), 1);
    EXPECT_EQ(FindCardFolder(m_transfer.GetFolders(), "\\NONE\\"), -1);
}

TEST_F(CardTransferTest, CopyBringsTheRecordUnderItsLowerCasedHeaderName) {
    EXPECT_EQ(CCardTransfer::PcName("A.DAT"), "a.hdr");
    EXPECT_EQ(CCardTransfer::PcName("Run.Dat.wav"), "run.dat.wav");

    const CCardTransfer::Refresh refresh =
        m_transfer.Transfer(Kind::Copy, Data().path, {"TEST0002.DAT", "VOICE.WAV"}, Pc().string());
    EXPECT_TRUE(refresh.pc);
    EXPECT_FALSE(refresh.card);
    EXPECT_EQ(m_prompt.m_progressTexts,
              (Strings{"Copying test0002.hdr ...   1/2", "Copying voice.wav ...   2/2"}));
    EXPECT_EQ(m_prompt.m_percentText, "100%");
    EXPECT_FALSE(m_prompt.m_progressOpen);
    EXPECT_TRUE(m_prompt.m_messages.empty());
    EXPECT_EQ(FolderNames(Pc()), (Strings{"test0002.dat", "test0002.hdr", "voice.wav"}));
    EXPECT_EQ(ReadTestFile(Pc() / "test0002.dat"), "data 2");
    EXPECT_EQ(ReadTestFile(Pc() / "test0002.hdr"), "header 2");
    EXPECT_TRUE(fs::exists(Card() / "DATA" / "TEST0002.DAT"));
}

TEST_F(CardTransferTest, MoveTakesEachRecordOnceAndReadsTheCardAgain) {
    const CCardTransfer::Refresh refresh = m_transfer.Transfer(
        Kind::Move, Data().path, {"TEST0001.DAT", "TEST0001.HDR", "TEST0002.HDR"}, Pc().string());
    EXPECT_TRUE(refresh.pc && refresh.card);
    EXPECT_EQ(m_prompt.m_progressTexts,
              (Strings{"Moving test0001.hdr ...   1/2", "Moving test0002.hdr ...   2/2"}));
    EXPECT_EQ(FolderNames(Card() / "DATA"), (Strings{"VOICE.WAV"}));
    EXPECT_EQ(Data().files.size(), 1u);
    EXPECT_EQ(FolderNames(Pc()).size(), 4u);
}

TEST_F(CardTransferTest, DeleteAsksFirst) {
    m_prompt.QueueAnswer(PromptAnswer::Cancel);
    EXPECT_FALSE(m_transfer.Transfer(Kind::Delete, Data().path, {"VOICE.WAV"}, Pc().string()).card);
    EXPECT_TRUE(fs::exists(Card() / "DATA" / "VOICE.WAV"));
    const CCardTransfer::Refresh refresh =
        m_transfer.Transfer(Kind::Delete, Data().path, {"VOICE.WAV", "TEST0001.HDR"}, "");
    EXPECT_TRUE(refresh.card);
    EXPECT_FALSE(refresh.pc);
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"Do you want to delete selected files ?",
                                                "Do you want to delete selected files ?"}));
    EXPECT_EQ(m_prompt.m_messages[0].buttons, PromptButtons::OkCancel);
    EXPECT_EQ(m_prompt.m_progressTexts,
              (Strings{"Deleting voice.wav ...   1/2", "Deleting test0001.hdr ...   2/2"}));
    EXPECT_EQ(FolderNames(Card() / "DATA"), (Strings{"TEST0002.DAT", "TEST0002.HDR"}));
}

TEST_F(CardTransferTest, AFailureIsToldAndEndsTheOperation) {
    struct Case {
        Kind kind;
        std::string target;
        Strings messages;
    };
    const Case cases[] = {
        {Kind::Copy, (Pc() / "none").string(), {"LnkCopy failed :-6", "Copy failed !"}},
        {Kind::Move, (Pc() / "none").string(), {"LnkMove failed :-6", "Move failed !"}},
        {Kind::Delete, "", {"Do you want to delete selected files ?", "Delete failed !"}},
    };
    for (const Case& c : cases) {
        m_prompt.Clear();
        // The first name is not on the card (or the PC folder is missing): the second waits.
        m_transfer.Transfer(c.kind, Data().path, {"MISSING.WAV", "VOICE.WAV"}, c.target);
        EXPECT_EQ(m_prompt.MessageTexts(), c.messages);
        EXPECT_EQ(m_prompt.m_messages.back().icon, PromptIcon::Stop);
        EXPECT_EQ(m_prompt.m_progressTexts.size(), 1u);
        EXPECT_FALSE(m_prompt.m_progressOpen);
    }
    EXPECT_TRUE(fs::exists(Card() / "DATA" / "VOICE.WAV"));
    EXPECT_TRUE(FolderNames(Pc()).empty());

    // A name that is no plain file name never becomes a PC path.
    m_prompt.Clear();
    m_transfer.Transfer(Kind::Copy, "\\", {"..", "ZT300.CND"}, Pc().string());
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"Copy failed !"}));
}

TEST_F(CardTransferTest, CancelStopsAfterTheFileUnderWay) {
    m_prompt.CancelAtPoll(1);
    m_transfer.Transfer(Kind::Copy, Data().path, {"TEST0001.HDR", "TEST0002.HDR"}, Pc().string());
    EXPECT_EQ(FolderNames(Pc()), (Strings{"test0001.dat", "test0001.hdr"}));
    EXPECT_TRUE(m_prompt.m_messages.empty());
    EXPECT_FALSE(m_prompt.m_progressOpen);
}

TEST_F(CardTransferTest, FormatAsksAndEmptiesTheCard) {
    EXPECT_TRUE(m_transfer.CanFormat());
    m_prompt.QueueAnswer(PromptAnswer::Cancel);
    EXPECT_FALSE(m_transfer.Format().card);
    EXPECT_TRUE(fs::exists(Card() / "ZT300.CND"));

    m_link->FindRecorder("127.0.0.2")->SetOperationError(LinkOrdinal::kFormatCard, -3);
    EXPECT_FALSE(m_transfer.Format().card);
    EXPECT_EQ(m_prompt.m_messages.back().text, "Format failed!");
    EXPECT_EQ(m_transfer.GetFolders().size(), 2u); // the tree stays as it was
    m_link->FindRecorder("127.0.0.2")->SetOperationError(LinkOrdinal::kFormatCard, 0);

    EXPECT_TRUE(m_transfer.Format().card);
    EXPECT_EQ(m_prompt.MessageTexts(),
              (Strings{"Do you want to format the card ?", "Do you want to format the card ?",
                       "Format failed!", "Do you want to format the card ?"}));
    EXPECT_EQ(m_prompt.m_progressTexts, (Strings{"Formating ... ", "Formating ... "}));
    EXPECT_FALSE(m_prompt.m_barShown);
    EXPECT_TRUE(fs::is_empty(Card()));
    EXPECT_EQ(m_transfer.GetFolders(), (std::vector<LinkCardFolder>{{"\\", {}}}));
}

TEST_F(CardTransferTest, TheSecondModelCannotFormatAndNoCardIsTold) {
    CDevice second(*m_link, m_prompt, m_clock);
    second.SetDeviceName("ZT-500");
    ASSERT_TRUE(second.Open("127.0.0.3"));
    CCardTransfer transfer(second, m_prompt);
    EXPECT_FALSE(transfer.CanFormat());
    EXPECT_FALSE(transfer.Open());
    EXPECT_EQ(m_prompt.MessageTexts(), (Strings{"The memory card does not exist !"}));
    EXPECT_EQ(m_prompt.m_messages[0].icon, PromptIcon::Stop);
}

TEST(TransferRows, ThePcListShowsRecordAndVoiceFilesInTheKeptOrder) {
    // The folder below holds the other kinds of names the list shows or leaves out.
    EXPECT_TRUE(IsPcListName("a.dat.bak"));
    CTempFolder folder("transfer-rows");
    WriteTestFile(folder.File("b.dat"), "123");
    WriteTestFile(folder.File("x.WAV"), "1");
    WriteTestFile(folder.File("A.hdr"), "12");
    WriteTestFile(folder.File(".hdr"), "1");
    WriteTestFile(folder.File("note.txt"), "1");
    fs::create_directory(folder.File("d.hdr"));
    fs::last_write_time(folder.File("A.hdr"),
                        fs::file_time_type::clock::now() - std::chrono::hours(48));
    std::vector<TransferRow> rows = PcRows(folder.Path());
    const auto names = [&] {
        Strings list;
        for (const TransferRow& row : rows)
            list.push_back(row.name);
        return list;
    };
    SortRows(rows, TransferColumn::kName, true);
    EXPECT_EQ(names(), (Strings{"A.hdr", "b.dat", "x.WAV"}));
    SortRows(rows, TransferColumn::kSize, false);
    EXPECT_EQ(names(), (Strings{"b.dat", "A.hdr", "x.WAV"}));
    SortRows(rows, TransferColumn::kDate, true);
    EXPECT_EQ(names().front(), "A.hdr");
    EXPECT_TRUE(PcRows(folder.File("none")).empty());

    // Kept between runs; a column the lists do not have sorts by date.
    CMemorySettingsStore store;
    FileTransferSettings settings;
    settings.Load(store, "/data/");
    EXPECT_EQ(settings.targetFolder, "/data/");
    EXPECT_EQ(settings.cardSort.GetColumn(), TransferColumn::kDate);
    EXPECT_FALSE(settings.cardSort.IsAscending());
    settings.targetFolder = "/pc";
    settings.cardSort.Click(TransferColumn::kName);
    settings.pcSort.Click(TransferColumn::kDate);
    settings.Save(store);
    EXPECT_EQ(store.GetInt("CFileTransferDlg_Section", "SRC_Last_Column", -1), 0);
    EXPECT_EQ(store.GetInt("CFileTransferDlg_Section", "SRC_Last_ASC", -1), 1);
    EXPECT_EQ(store.GetInt("CFileTransferDlg_Section", "TGT_Last_ASC", -1), 1);
    store.WriteInt("CFileTransferDlg_Section", "TGT_Last_Column", 9);
    FileTransferSettings again;
    again.Load(store, "/data/");
    EXPECT_EQ(again.targetFolder, "/pc");
    EXPECT_EQ(again.cardSort.GetColumn(), TransferColumn::kName);
    EXPECT_EQ(again.pcSort.GetColumn(), TransferColumn::kDate);
}

} // namespace
