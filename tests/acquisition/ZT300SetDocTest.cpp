#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/UpdateHints.h"
#include "records/RecordNames.h"
#include "support/FakePrompt.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::string kBothRecorders = "127_0_0_2_ZT-300,127_0_0_3_ZT-500";

struct RecordingView : IView {
    void OnUpdate(IView*, int hint, const CUpdateData*) override { hints.push_back(hint); }
    std::vector<int> hints;
};

class ZT300SetDocTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("zt300_doc_" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_link = CSimLink::FromDefaultConfig(&m_clock);
        ASSERT_NE(m_link, nullptr);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::unique_ptr<CZT300SetDoc> NewDoc() {
        auto doc = std::make_unique<CZT300SetDoc>(
            DocServices{*m_link, m_prompt, m_clock, m_settings, m_folder.string() + "/"});
        doc->AddView(&m_view);
        return doc;
    }
    std::unique_ptr<CZT300SetDoc> Connected(const std::string& text = kBothRecorders) {
        auto doc = NewDoc();
        EXPECT_TRUE(doc->OnOpenDocument(text));
        return doc;
    }

    fs::path m_folder;
    CManualClock m_clock;
    CFakePrompt m_prompt;
    CRecorderSettings m_settings;
    std::unique_ptr<CSimLink> m_link;
    RecordingView m_view;
};

} // namespace

TEST_F(ZT300SetDocTest, ConnectionTextsAreToldFromPaths) {
    EXPECT_TRUE(CZT300SetDoc::IsConnectionText("192_168_1_201_ZT-300,192_168_1_202_ZT-500"));
    EXPECT_FALSE(CZT300SetDoc::IsConnectionText("/home/user/Test.czd"));
    EXPECT_FALSE(CZT300SetDoc::IsConnectionText("192_168_1_201_zt-300"));
    EXPECT_FALSE(CZT300SetDoc::IsConnectionText(""));
}

TEST_F(ZT300SetDocTest, ConnectsToEveryRecorderOfTheText) {
    auto doc = Connected();
    ASSERT_EQ(doc->GetRecorderCount(), 2);
    EXPECT_EQ(doc->GetCurrentIndex(), 0);
    EXPECT_EQ(m_prompt.m_progressTexts.at(1), "Connecting to 127.0.0.2 ZT-300 ...");
    EXPECT_FALSE(m_prompt.m_progressOpen);
    EXPECT_TRUE(m_prompt.MessageTexts().empty());
    const auto& conditions = doc->GetConditions();
    EXPECT_EQ(conditions[0].m_sync, 11);
    EXPECT_EQ(conditions[1].m_sync, 12);
    EXPECT_EQ(conditions[0].m_secondModel, 0);
    EXPECT_EQ(conditions[1].m_secondModel, 1);
    EXPECT_FALSE(conditions[0].m_channels.empty());
    EXPECT_EQ(doc->GetReferenceIndex(), 0);
    EXPECT_EQ(doc->GetMasterIndex(), 0);
    EXPECT_EQ(doc->GetStatus(), 0);
    EXPECT_EQ(doc->GetStatusPaneText(), "IDLE");
    EXPECT_FALSE(doc->IsModified());
    // The slave records with the master's file settings.
    EXPECT_EQ(conditions[1].m_baseFileName, conditions[0].m_baseFileName);
    EXPECT_EQ(conditions[1].m_rate, conditions[0].m_rate);
    EXPECT_EQ(doc->GetNextRecordName(), RecordBase(conditions[0]) + "_00001");
}

TEST_F(ZT300SetDocTest, PcSettingsSurviveAReconnectThroughTheDefaultFiles) {
    {
        auto doc = Connected();
        CRecCnd& master = doc->GetConditions()[0];
        master.m_channels[0].m_name = "Force";
        master.m_channels[0].m_phyUnit = "kN";
        master.m_hddRecFolder = m_folder.string();
        doc->OnCloseDocument();
    }
    EXPECT_TRUE(fs::exists(m_folder / "DefRecCnd.czd"));
    EXPECT_TRUE(fs::exists(m_folder / "DefRecCnd_1.czd"));
    std::ofstream(m_folder / "Test_00007.hdr") << "x";
    std::ofstream(m_folder / "Test_123456.dat") << "x";

    auto doc = Connected();
    const CRecCnd& master = doc->GetConditions()[0];
    EXPECT_EQ(master.m_channels[0].m_name, "Force");
    EXPECT_EQ(master.m_channels[0].m_phyUnit, "kN");
    EXPECT_EQ(master.m_sendPending, 0);
    EXPECT_EQ(doc->GetNextRecordName(), RecordBase(master) + "_00008");
}

// A named pipe or a device never hangs the program: as a document or as a default condition it
// is refused with the file's message.
TEST_F(ZT300SetDocTest, FilesThatAreNotRegularFilesAreRefused) {
    const std::string pipe = (m_folder / "DefRecCnd.czd").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto doc = Connected();
    EXPECT_EQ(doc->GetRecorderCount(), 2);
    const std::string refused = "An unexpected error occurred while reading %1.";
    auto message = [&](const std::string& path) {
        std::string text = refused;
        return text.replace(text.find("%1"), 2, path);
    };
    EXPECT_EQ(m_prompt.MessageTexts(), std::vector<std::string>{message(pipe)});

    m_prompt.Clear();
    for (const std::string& path : {pipe, std::string("/dev/zero")})
        EXPECT_FALSE(NewDoc()->OnOpenDocument(path));
    EXPECT_EQ(m_prompt.MessageTexts(),
              (std::vector<std::string>{message(pipe), message("/dev/zero")}));
}

TEST_F(ZT300SetDocTest, ConnectionFailuresAreToldAndTheOpenFails) {
    m_link->FindRecorder("127.0.0.2")->SetRefuseConnection(true);
    auto doc = NewDoc();
    EXPECT_FALSE(doc->OnOpenDocument(kBothRecorders));
    EXPECT_EQ(m_prompt.MessageTexts(),
              std::vector<std::string>{"Connection to the device failed !"});
    EXPECT_EQ(doc->GetRecorderCount(), 0);

    m_prompt.Clear();
    m_link->FindRecorder("127.0.0.2")->SetRefuseConnection(false);
    m_link->FindRecorder("127.0.0.3")->SetOperationError(LinkOrdinal::kGetSlotList, -5);
    doc = NewDoc();
    EXPECT_TRUE(doc->OnOpenDocument(kBothRecorders)); // the first recorder connected
    EXPECT_EQ(m_prompt.MessageTexts(),
              std::vector<std::string>{"Getting SC information from the device failed !"});
    EXPECT_EQ(doc->GetRecorderCount(), 1);

    m_prompt.Clear();
    m_link->FindRecorder("127.0.0.2")->SetOperationError(LinkOrdinal::kGetAcqCondition, -7);
    doc = NewDoc();
    EXPECT_FALSE(doc->OnOpenDocument("127_0_0_2_ZT-300"));
    EXPECT_EQ(m_prompt.MessageTexts(),
              (std::vector<std::string>{"LnkGetAcqCondition failed! ( Error = -7 )",
                                        "Reading Condition failed !"}));
}

TEST_F(ZT300SetDocTest, WriteAndLoadConditionThroughTheRecorders) {
    auto doc = Connected();
    CRecCnd& master = doc->GetConditions()[0];
    master.m_channels[1].SetRange("5V");
    doc->ConditionEdited(0);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(master.m_sendPending, 1);

    doc->OnWriteCondition();
    EXPECT_EQ(m_prompt.MessageTexts(), std::vector<std::string>{"Write Condition OK!"});
    EXPECT_EQ(master.m_sendPending, 0);
    EXPECT_EQ(m_view.hints.back(), UpdateHint::kConditionChanged);

    master.m_channels[1].SetRange("10V");
    // A read that fails changes nothing on screen.
    const std::size_t channels = master.m_channels.size();
    for (const int ordinal : {LinkOrdinal::kGetSlotChannels, LinkOrdinal::kGetBalanceResidual}) {
        m_prompt.Clear();
        m_link->FindRecorder("127.0.0.2")->SetOperationError(ordinal, -3);
        doc->OnLoadCondition();
        m_link->FindRecorder("127.0.0.2")->SetOperationError(ordinal, 0);
        EXPECT_EQ(m_prompt.MessageTexts().back(), ordinal == LinkOrdinal::kGetSlotChannels
                                                      ? "Read Condition failed !"
                                                      : "Reading Balance value failed!");
        EXPECT_EQ(master.m_channels.size(), channels);
        EXPECT_EQ(master.m_channels[1].m_range, "10V");
    }
    doc->OnLoadCondition();
    EXPECT_EQ(doc->GetConditions()[0].m_channels[1].m_range, "5V");

    m_prompt.Clear();
    m_link->FindRecorder("127.0.0.3")->SetOperationError(LinkOrdinal::kSetAcqCondition, -3);
    doc->OnWriteCondition();
    EXPECT_EQ(m_prompt.MessageTexts(),
              (std::vector<std::string>{"LnkSetAcqCondition failed! ( Error = -3 )",
                                        "Write Condition failed !"}));
}

TEST_F(ZT300SetDocTest, OfflineDocumentsAndTheOpenCommandInside) {
    auto doc = NewDoc();
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(doc->GetStatusPaneText(), "Offline");
    EXPECT_FALSE(doc->CanGoArmed());
    EXPECT_FALSE(doc->CanLoadCondition());

    const std::string path = (m_folder / "saved.czd").string();
    doc->GetConditions()[0].m_memo = "offline";
    ASSERT_TRUE(doc->OnSaveDocument(path));
    auto reopened = NewDoc();
    ASSERT_TRUE(reopened->OnOpenDocument(path));
    EXPECT_EQ(reopened->GetConditions()[0].m_memo, "offline");
    EXPECT_FALSE(reopened->OnOpenDocument((m_folder / "missing.czd").string()));
    EXPECT_EQ(m_prompt.Messages().back().icon, PromptIcon::Stop);

    auto connected = Connected();
    m_prompt.Clear();
    connected->OpenConditionFile(path); // no modules: other hardware
    EXPECT_EQ(m_prompt.MessageTexts(),
              std::vector<std::string>{"Incompatible Slot or Channels Information !"});

    CRecCnd same = connected->GetConditions()[0];
    same.m_channels[0].m_name = "FromFile";
    ASSERT_EQ(same.Save(path), "");
    connected->OpenConditionFile(path);
    EXPECT_EQ(connected->GetConditions()[0].m_channels[0].m_name, "FromFile");
    EXPECT_EQ(m_view.hints.back(), UpdateHint::kConditionChanged);
}

TEST_F(ZT300SetDocTest, EnablingRulesFollowTheSyncArrangementAndTheRun) {
    auto doc = Connected();
    EXPECT_TRUE(doc->CanGoArmed());
    EXPECT_TRUE(doc->CanRemoteControl());
    auto& conditions = doc->GetConditions();
    conditions[0].m_sync = 10;
    conditions[1].m_sync = 10;
    EXPECT_FALSE(doc->CanGoArmed()); // two SINGLE recorders
    conditions[1].m_sync = 11;
    EXPECT_FALSE(doc->CanGoArmed()); // a MASTER beside a SINGLE
    conditions[0].m_sync = 12;
    EXPECT_TRUE(doc->CanGoArmed());
    EXPECT_EQ(doc->GetReferenceIndex(), 1);
    EXPECT_EQ(doc->GetMasterIndex(), 1);

    EXPECT_FALSE(doc->CanStopArmed());
    EXPECT_FALSE(doc->CanStartHdd());
    doc->m_acq.run = true;
    EXPECT_FALSE(doc->CanGoArmed());
    EXPECT_TRUE(doc->CanStopArmed());
    EXPECT_TRUE(doc->CanStartHdd());
    EXPECT_FALSE(doc->CanStopAcq());
    EXPECT_FALSE(doc->CanWriteCondition());
    doc->m_acq.pcRecord = true;
    EXPECT_FALSE(doc->CanStartHdd());
    EXPECT_TRUE(doc->CanStopAcq());
    doc->m_acq = AcqState{true, true};
    EXPECT_FALSE(doc->CanStartHdd());
    EXPECT_FALSE(doc->CanStopAcq());
    EXPECT_TRUE(doc->CanStopArmed()); // remote mode while the recorder is IDLE
}

TEST_F(ZT300SetDocTest, StatusPanes) {
    auto doc = Connected("127_0_0_2_ZT-300");
    doc->m_acq.run = true;
    doc->m_acq.receivedSamples = 1234567;
    // The status comes from the recorder; ARMED is what the run sees after ARM.
    m_link->LnkStartArmed(doc->GetDevice(0).GetHandle(), 100000);
    doc->OnLoadCondition();
    EXPECT_EQ(doc->GetStatusPaneText(), "ARMED...1,234,567");
    doc->m_acq.pcRecord = true;
    doc->m_acq.secondsWritten = 12;
    EXPECT_EQ(doc->GetStatusPaneText(), "HDD ACQ... 12 sec");
    doc->GetConditions()[0].m_hddPostTime = 30;
    EXPECT_EQ(doc->GetStatusPaneText(), "HDD ACQ... 12/30 sec");
    doc->m_acq.paused = true;
    EXPECT_EQ(doc->GetStatusPaneText(), "Pause...");
    m_link->LnkStopArmed(doc->GetDevice(0).GetHandle());

    const CRecCnd& condition = doc->GetConditions()[0];
    int slots = 0;
    for (const CSlotInfo& slot : condition.m_slots)
        slots += slot.IsEmpty() ? 0 : 1;
    EXPECT_EQ(doc->GetSlotPaneText(), " Slot-" + std::to_string(slots) + " Total Chs-" +
                                          std::to_string(condition.m_channels.size()) + " ON Chs-" +
                                          std::to_string(condition.CountEnabled(true)));
    EXPECT_TRUE(doc->GetCardPaneText().starts_with(" Remain:"));
}

TEST_F(ZT300SetDocTest, CardConditionFile) {
    auto doc = Connected("127_0_0_2_ZT-300");
    ASSERT_TRUE(doc->SaveCardCondition(m_folder.string()));
    const std::string path = (m_folder / "ZT300.CND").string();
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Saved to Card File (" + path + ") successfully!");
    TextLines lines;
    ASSERT_EQ(CTextFile::ReadTextLines(path, lines), "");
    TextLines expected;
    doc->GetConditions()[0].BuildCardCondition(expected);
    EXPECT_EQ(lines, expected);
    EXPECT_FALSE(doc->SaveCardCondition((m_folder / "no" / "such").string()));
    EXPECT_EQ(m_prompt.Messages().back().icon, PromptIcon::Stop);
}
