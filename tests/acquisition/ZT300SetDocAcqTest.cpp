#include "acquisition/ExternalInputSim.h"
#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "framework/MessageTarget.h"
#include "support/FakePrompt.h"
#include "support/MessageQueue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

class ZT300SetDocAcqTest : public ::testing::Test {
protected:
    void SetUp() override {
        // ctest runs the cases of this fixture side by side: each has its own folder.
        m_folder = fs::temp_directory_path() /
                   ("zt300_doc_acq_" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_link = CSimLink::FromDefaultConfig(&m_clock);
        m_doc = std::make_unique<CZT300SetDoc>(
            DocServices{*m_link, m_prompt, m_clock, m_settings, m_folder.string() + "/"});
        ASSERT_TRUE(m_doc->OnOpenDocument("127_0_0_2_ZT-300,127_0_0_3_ZT-500"));
        for (CRecCnd& condition : m_doc->GetConditions()) {
            condition.m_hddRecFolder = m_folder.string();
            condition.m_hddRecFileExt = 1; // Count: the record's name is known in advance
        }
        m_doc->UpdateNextRecordName();
        m_doc->SetMessageTarget(&m_queue);
        m_doc->SetLogSink([this](const std::string& line) { m_log.push_back(line); });
    }
    void TearDown() override {
        m_doc.reset();
        fs::remove_all(m_folder);
    }

    // What the monitor frame does: hands the thread's messages to the document on this thread.
    void Pump(int milliseconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < end) {
            for (const auto& message : m_queue.Drain())
                m_doc->OnThreadMessage(message.id, message.wparam, message.lparam);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    fs::path m_folder;
    CSystemClock m_clock;
    CFakePrompt m_prompt;
    CRecorderSettings m_settings;
    CMessageQueue m_queue;
    std::unique_ptr<CSimLink> m_link;
    std::unique_ptr<CZT300SetDoc> m_doc;
    std::vector<std::string> m_log;
};

} // namespace

TEST_F(ZT300SetDocAcqTest, ArmRecordMarkPauseStopAndStopArmed) {
    const std::string name = m_doc->GetNextRecordName();
    ASSERT_TRUE(m_doc->Arm(false));
    EXPECT_TRUE(m_doc->m_acq.run);
    EXPECT_FALSE(m_doc->CanEditCondition());
    EXPECT_TRUE(m_doc->CanStartHdd());
    EXPECT_EQ(m_doc->GetStatus(), 1);
    EXPECT_EQ(m_link->FindRecorder("127.0.0.3")->GetStatus(), 1);

    m_doc->StartAcq(CZT300SetDoc::AcqKind::Hdd);
    Pump(600);
    EXPECT_TRUE(m_doc->m_acq.pcRecord);
    EXPECT_TRUE(m_doc->CanStopAcq());
    m_doc->OnMark();
    m_doc->OnPause();
    EXPECT_TRUE(m_doc->m_acq.paused);
    EXPECT_EQ(m_doc->GetStatusPaneText(), "Pause...");
    m_doc->StartAcq(CZT300SetDoc::AcqKind::Hdd); // resumes
    EXPECT_FALSE(m_doc->m_acq.paused);
    Pump(400);

    m_doc->StopAcq();
    EXPECT_FALSE(m_doc->m_acq.pcRecord);
    EXPECT_EQ(m_doc->GetRecordResultText(), "ACQ OK ! (" + name + ".hdr)");
    const fs::path data = m_folder / (name + ".dat");
    ASSERT_TRUE(fs::exists(data));
    ASSERT_TRUE(fs::exists(m_folder / (name + ".hdr")));
    int words = 0;
    for (const CRecCnd& condition : m_doc->GetConditions())
        words += condition.CountSampleWords(true);
    EXPECT_GT(fs::file_size(data), 0u);
    EXPECT_EQ(fs::file_size(data) % (2u * static_cast<unsigned>(words)), 0u);
    EXPECT_NE(m_doc->GetNextRecordName(), name);
    const auto logged = [&](const std::string& text) {
        return std::any_of(m_log.begin(), m_log.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    };
    EXPECT_TRUE(logged("Start HDD Record"));
    EXPECT_TRUE(logged("Stopped HDD Record"));

    // Save MAX/MIN by hand: one line per channel of both recorders in the file.
    const std::string csv = (m_folder / "maxmin.csv").string();
    EXPECT_TRUE(m_doc->SaveMaxMin(csv));
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Save MAX/MIN OK!");
    EXPECT_TRUE(fs::exists(csv));

    m_doc->StopArmed(true);
    EXPECT_FALSE(m_doc->m_acq.run);
    EXPECT_EQ(m_doc->GetStatus(), 0);
    EXPECT_TRUE(m_doc->CanEditCondition());
    EXPECT_EQ(m_link->FindRecorder("127.0.0.2")->GetStatus(), 0);
}

TEST_F(ZT300SetDocAcqTest, ArmRefusesAMissingFolderAndAFailingRecorder) {
    m_doc->GetConditions()[0].m_hddRecFolder = (m_folder / "missing").string();
    EXPECT_FALSE(m_doc->Arm(false));
    EXPECT_EQ(m_prompt.MessageTexts().back(),
              "HDD (" + (m_folder / "missing").string() + ") Folder does not exist!");
    m_doc->GetConditions()[0].m_hddRecFolder = m_folder.string();

    m_link->FindRecorder("127.0.0.2")->SetOperationError(LinkOrdinal::kStartArmed, -4);
    EXPECT_FALSE(m_doc->Arm(false));
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Start ARMED failed! -4");
    EXPECT_FALSE(m_doc->m_acq.run);
    // The slave was started before the master refused: it stays ARMED, as a recorder does.
    EXPECT_EQ(m_link->FindRecorder("127.0.0.3")->GetStatus(), 1);
}

TEST_F(ZT300SetDocAcqTest, BalanceWhileArmedArmsAgain) {
    ASSERT_TRUE(m_doc->Arm(false));
    EXPECT_FALSE(m_doc->Balance(nullptr));
    EXPECT_TRUE(m_doc->m_acq.run);
    EXPECT_NE(m_doc->GetConditions()[0].m_channels[0].m_balanceResidual, CChCnd::kNoResidual);
    m_doc->StopArmed(false);

    // A limit no residual can meet: the user is asked and chooses to look at them.
    m_settings.m_balWarnPercent = 0;
    m_prompt.QueueAnswer(PromptAnswer::Yes);
    EXPECT_TRUE(m_doc->Balance(nullptr));
    EXPECT_EQ(m_prompt.MessageTexts().back(),
              "Bad balance residual value exist !\nDo you want to read it?");

    m_link->FindRecorder("127.0.0.3")->SetOperationError(LinkOrdinal::kBalance, -8);
    EXPECT_FALSE(m_doc->Balance(nullptr));
    EXPECT_EQ(m_prompt.MessageTexts().back(), "Do Balance failed!");
}

TEST_F(ZT300SetDocAcqTest, TheExternalContactsAskForRecordsWhileArmed) {
    CExternalInputSim contacts;
    m_settings.m_externalSignal = 1;
    m_doc = std::make_unique<CZT300SetDoc>(DocServices{
        *m_link, m_prompt, m_clock, m_settings, m_folder.string() + "/", nullptr, &contacts});
    ASSERT_TRUE(m_doc->OnOpenDocument("127_0_0_2_ZT-300"));
    m_doc->GetConditions()[0].m_hddRecFolder = m_folder.string();
    m_doc->SetMessageTarget(&m_queue);
    ASSERT_TRUE(m_doc->Arm(false));
    contacts.SetInputs(true, false);
    ASSERT_TRUE(contacts.WaitForReads(3, 5000));
    for (int i = 0; i < 50 && !m_doc->m_acq.pcRecord; ++i)
        Pump(100);
    EXPECT_TRUE(m_doc->m_acq.pcRecord);
    m_doc->StopArmed(false);
    const int reads = contacts.GetReads();
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_EQ(contacts.GetReads(), reads); // the contacts are left alone after stop ARMED
}
