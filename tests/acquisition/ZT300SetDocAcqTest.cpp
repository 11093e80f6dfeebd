#include "acquisition/ExternalInputSim.h"
#include "acquisition/StartupRecovery.h"
#include "acquisition/ZT300SetDoc.h"
#include "device/sim/SimLink.h"
#include "framework/Clock.h"
#include "framework/MessageTarget.h"
#include "support/FakeDiskSpace.h"
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
        Open(Services(), "127_0_0_2_ZT-300,127_0_0_3_ZT-500");
    }

    DocServices Services() {
        return {*m_link, m_prompt, m_clock, m_settings, m_folder.string() + "/"};
    }

    // A document of these services connected to `recorders`, recording into the test's folder.
    void Open(const DocServices& services, const std::string& recorders) {
        m_doc = std::make_unique<CZT300SetDoc>(services);
        ASSERT_TRUE(m_doc->OnOpenDocument(recorders));
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

    // Pumps until `done` holds, for at most `tenthsOfSeconds` tenths of a second.
    template <typename Done> void PumpUntil(Done done, int tenthsOfSeconds = 200) {
        for (int i = 0; i < tenthsOfSeconds && !done(); ++i)
            Pump(100);
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
    DocServices services = Services();
    services.digitalInput = &contacts;
    Open(services, "127_0_0_2_ZT-300");
    ASSERT_TRUE(m_doc->Arm(false));
    contacts.SetInputs(true, false);
    ASSERT_TRUE(contacts.WaitForReads(3, 5000));
    PumpUntil([&] { return m_doc->m_acq.pcRecord; });
    EXPECT_TRUE(m_doc->m_acq.pcRecord);
    m_doc->StopArmed(false);
    const int reads = contacts.GetReads();
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    EXPECT_EQ(contacts.GetReads(), reads); // the contacts are left alone after stop ARMED
}

// "PARAM=1|2000000000|..." on a moving average asks for more memory than a run may take: ARM
// refuses it, naming the channel, before any recorder starts.
TEST_F(ZT300SetDocAcqTest, AMovingAverageBeyondTheRunsMemoryIsRefusedAtArm) {
    CRecCnd& master = m_doc->GetConditions()[0];
    master.m_calc = 1;
    ASSERT_TRUE(master.m_calcChannels[0].ParseLine(
        "9-1,1,NAME=Avg,SCALE=10.000|-10.000,FUNC=9,PARAM=1|2000000000|0|0"));
    EXPECT_FALSE(m_doc->Arm(false));
    EXPECT_EQ(m_prompt.MessageTexts().back(),
              "Calculation channel Avg : the moving-average window 2000000000 is larger than "
              "30000 samples!");
    EXPECT_FALSE(m_doc->m_acq.run);
    EXPECT_EQ(m_link->FindRecorder("127.0.0.2")->GetStatus(), 0);
    EXPECT_EQ(m_link->FindRecorder("127.0.0.3")->GetStatus(), 0);

    master.m_calcChannels[0].m_param[1] = 30000; // 30 seconds at 1 kHz
    ASSERT_TRUE(m_doc->Arm(false));
    m_doc->StopArmed(false);
}

// A PC level trigger that always holds: Stop ACQ ends its record and the trigger opens the next
// one in the same ARM run.
TEST_F(ZT300SetDocAcqTest, AfterStopAcqThePcLevelTriggerOpensTheNextRecord) {
    CRecCnd& master = m_doc->GetConditions()[0];
    master.m_hddLvlTrg = 1;
    master.m_channels[0].m_hddLvlTrg = 1; // ABS at level 0
    master.m_channels[0].m_hddLvlVal = 0.0;
    const std::string first = m_doc->GetNextRecordName();
    ASSERT_TRUE(m_doc->Arm(false));
    CRecordWriter& writer = m_doc->GetRecordWriter();
    PumpUntil([&] { return writer.IsRecording(); });
    ASSERT_TRUE(writer.IsRecording());
    m_doc->StopAcq();
    EXPECT_EQ(m_doc->GetRecordResultText(), "ACQ OK ! (" + first + ".hdr)");
    PumpUntil([&] { return writer.IsRecording(); });
    EXPECT_TRUE(writer.IsRecording());
    const std::string second = m_doc->GetNextRecordName();
    EXPECT_NE(second, first);
    EXPECT_EQ(fs::path(writer.GetPaths().base).filename(), second);
    m_doc->StopArmed(false);
    EXPECT_TRUE(fs::exists(m_folder / (second + ".hdr")));
}

// Free space below the margin while recording: the record ends with its header, the log says
// why, and the run stays ARMED for the next record.
TEST_F(ZT300SetDocAcqTest, TheDiskMarginEndsTheRecordAndTheLogSaysWhy) {
    CFakeDiskSpace space;
    DocServices services = Services();
    services.diskSpace = &space;
    Open(services, "127_0_0_2_ZT-300");
    const std::string name = m_doc->GetNextRecordName();
    ASSERT_TRUE(m_doc->Arm(false));
    m_doc->StartAcq(CZT300SetDoc::AcqKind::Hdd);
    Pump(500);
    ASSERT_TRUE(m_doc->m_acq.pcRecord);
    space.m_free = static_cast<std::int64_t>(CRecordWriter::kDiskMarginBytes);
    PumpUntil([&] { return !m_doc->m_acq.pcRecord; }, 150);
    EXPECT_FALSE(m_doc->m_acq.pcRecord);
    EXPECT_TRUE(m_doc->m_acq.run);
    const std::string notice =
        "HDD (" + m_folder.string() + ") has less than 64 MB free! The record was stopped.";
    EXPECT_EQ(m_doc->GetRecordResultText(), notice);
    ASSERT_GE(m_log.size(), 3u);
    EXPECT_TRUE(m_log[m_log.size() - 2].ends_with(" " + notice));
    EXPECT_TRUE(m_log.back().ends_with(" Stopped HDD Record"));
    EXPECT_TRUE(fs::exists(m_folder / (name + ".hdr")));
    EXPECT_NE(m_doc->GetNextRecordName(), name);
    EXPECT_TRUE(m_doc->CanStartHdd());
    m_doc->StopArmed(false);
}

// At start-up the records left without a final header in the default record folder and in
// the record folder of a default condition file are completed; the first log shows which.
TEST_F(ZT300SetDocAcqTest, StartUpCompletesUnfinishedRecordsAndTheFirstLogSaysWhich) {
    const fs::path elsewhere = m_folder / "records";
    fs::create_directories(elsewhere);
    CRecCnd defaults;
    defaults.m_hddRecFolder = elsewhere.string();
    ASSERT_EQ(defaults.Save((m_folder / "DefRecCnd_1.czd").string()), "");
    defaults.m_hddRecFolder = m_folder.string() + "/";
    ASSERT_EQ(defaults.Save((m_folder / "DefRecCnd.czd").string()), "");
    const std::string dataFolder = m_folder.string() + "/";
    EXPECT_EQ(CStartupRecovery::RecordFolders(dataFolder),
              (std::vector<std::string>{dataFolder, elsewhere.string()}));

    std::vector<std::string> headers;
    for (const fs::path& folder : {m_folder, elsewhere}) {
        std::vector<CRecCnd> conditions(1);
        conditions[0].m_hddRecFolder = folder.string();
        conditions[0].m_channels.resize(1);
        conditions[0].m_channels[0].m_enabled = 1;
        CRecordWriter writer(m_clock);
        ASSERT_EQ(writer.Start({conditions, 0, "", ""}, {}, {}), "");
        const std::int16_t rows[3] = {1, 2, 3};
        ASSERT_EQ(writer.Append(rows, 3), AppendResult::Written);
        ASSERT_EQ(writer.Close(), ""); // and the program ended before the header
        headers.push_back(writer.GetPaths().header);
        fs::last_write_time(headers.back() + ".part",
                            fs::file_time_type::clock::now() - std::chrono::minutes(1));
    }
    CStartupRecovery::Run(dataFolder);
    m_log.clear();
    m_doc->SetLogSink([this](const std::string& line) { m_log.push_back(line); });
    ASSERT_EQ(m_log.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_TRUE(
            m_log[i].ends_with(" Completed unfinished HDD Record : " + headers[i] + " (3 rows)"))
            << m_log[i];
        EXPECT_TRUE(fs::exists(headers[i]));
    }
    m_doc->SetLogSink([this](const std::string& line) { m_log.push_back(line); });
    EXPECT_EQ(m_log.size(), 2u);
}
