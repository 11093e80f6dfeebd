// The acquisition end to end over the network: the document records two zt300sim recorders
// (MASTER and SLAVE, with a two-word CAN channel and a calculation channel) and survives the
// simulator being killed.
#include "acquisition/ZT300SetDoc.h"
#include "datapath/DataThread.h"
#include "device/net/NetLink.h"
#include "device/sim/SimSignal.h"
#include "framework/Clock.h"
#include "framework/MessageTarget.h"
#include "support/FakePrompt.h"
#include "support/MessageQueue.h"
#include "support/SimProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr int kSeeds[] = {2, 3}; // a simulated recorder's signal seed is its address's last number

class AcqNetworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("zt300_acq_net_" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        ASSERT_NE(m_port, 0);
        ASSERT_EQ(m_sim->FirstLine(10000), "ready");
        m_doc = std::make_unique<CZT300SetDoc>(
            DocServices{m_link, m_prompt, m_clock, m_settings, m_folder.string() + "/"});
        ASSERT_TRUE(m_doc->OnOpenDocument("127_0_0_2_ZT-300,127_0_0_3_ZT-500"));
        for (CRecCnd& condition : m_doc->GetConditions()) {
            condition.m_hddRecFolder = m_folder.string();
            condition.m_hddRecFileExt = 1;
        }
        CRecCnd& master = m_doc->GetConditions()[0];
        master.m_calc = 1;
        CCalcChCnd& dif = master.m_calcChannels[0];
        dif.m_enabled = 1;
        dif.m_function = 5; // |ChA - ChB| of the first two channels
        dif.m_param = {1, 2, 0, 0};
        dif.SetScale(20.0, -20.0);
        m_doc->UpdateNextRecordName();
        m_doc->SetMessageTarget(&m_queue);
    }
    void TearDown() override {
        m_doc.reset();
        fs::remove_all(m_folder);
    }

    // Hands the thread's messages to the document as the monitor window does; true once a
    // communication error arrived.
    bool Pump(int milliseconds) {
        bool commError = false;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < end) {
            for (const auto& message : m_queue.Drain()) {
                if (message.id == PostedMessage::kCommError)
                    commError = true;
                else
                    m_doc->OnThreadMessage(message.id, message.wparam, message.lparam);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return commError;
    }

    std::vector<std::int16_t> ReadData(const fs::path& path) const {
        std::ifstream file(path, std::ios::binary);
        std::vector<std::int16_t> words(fs::file_size(path) / 2);
        file.read(reinterpret_cast<char*>(words.data()),
                  static_cast<std::streamsize>(words.size() * 2));
        return words;
    }

    int RowWords() const {
        int words = 0;
        for (const CRecCnd& condition : m_doc->GetConditions())
            words += condition.CountSampleWords(true);
        return words;
    }

    // Every word of every row against the recorders' signals, the calculation word included.
    void ExpectRows(const std::vector<std::int16_t>& words) {
        const int rowWords = RowWords();
        ASSERT_GT(words.size(), 0u);
        ASSERT_EQ(words.size() % static_cast<std::size_t>(rowWords), 0u);
        const auto& conditions = m_doc->GetConditions();
        // Slot 1 channel 1 is a sawtooth rising one count a sample: it gives the first row's index.
        const std::int64_t first = ((words[0] + 25000 - 97 * kSeeds[0]) % 50000 + 50000) % 50000;
        CRecCnd master = conditions[0];
        master.PrepareCalcChannels();
        for (std::size_t row = 0; row < words.size() / static_cast<std::size_t>(rowWords); ++row) {
            const std::int16_t* at = words.data() + row * static_cast<std::size_t>(rowWords);
            for (std::size_t r = 0; r < conditions.size(); ++r) {
                const std::int16_t* recorder = at;
                std::vector<double> values;
                for (const CChCnd& ch : conditions[r].m_channels) {
                    if (!ch.m_enabled)
                        continue;
                    std::uint16_t expected[2] = {};
                    const int n =
                        CSimSignal::Words(kSeeds[r], ch.m_slot, ch.m_channel, ch.m_dataType,
                                          first + static_cast<std::int64_t>(row), expected);
                    for (int w = 0; w < n; ++w)
                        ASSERT_EQ(static_cast<std::uint16_t>(at[w]), expected[w])
                            << "row " << row << " recorder " << r << " channel "
                            << ch.GetDisplayName();
                    values.push_back(ch.CountToPhys(ReadSampleNumber(expected, ch.m_dataType)));
                    at += n;
                }
                if (r == 0) {
                    const int count = static_cast<int>(values.size());
                    values.push_back(0.0);
                    std::int16_t calc = 0;
                    master.EvaluateCalcChannels(values.data(), count, count + 1, &calc);
                    ASSERT_EQ(*at++, calc) << "calculation, row " << row;
                }
                ASSERT_EQ(at - recorder, conditions[r].CountSampleWords(true));
            }
        }
    }

    fs::path m_folder;
    std::uint16_t m_port = FreePort();
    std::unique_ptr<CSimProcess> m_sim = std::make_unique<CSimProcess>(m_port);
    CNetLink m_link{m_port};
    CSystemClock m_clock;
    CFakePrompt m_prompt;
    CRecorderSettings m_settings;
    CMessageQueue m_queue;
    std::unique_ptr<CZT300SetDoc> m_doc;
};

} // namespace

TEST_F(AcqNetworkTest, RecordsAlignedRowsOfTwoRecorders) {
    const std::string name = m_doc->GetNextRecordName();
    ASSERT_TRUE(m_doc->Arm(false));
    m_doc->StartAcq(CZT300SetDoc::AcqKind::Hdd);
    EXPECT_FALSE(Pump(600));
    ASSERT_TRUE(m_doc->m_acq.pcRecord);
    m_doc->OnMark(12); // a key code: the code is the memo
    EXPECT_FALSE(Pump(600));
    m_doc->StopAcq();
    m_doc->StopArmed(false);
    EXPECT_EQ(m_doc->GetStatus(), 0);
    const std::vector<std::int16_t> words = ReadData(m_folder / (name + ".dat"));
    EXPECT_GT(words.size() / static_cast<std::size_t>(RowWords()), 500u); // about a second at 1 kHz
    ExpectRows(words);

    TextLines header;
    ASSERT_EQ(CTextFile::ReadTextLines((m_folder / (name + ".hdr")).string(), header), "");
    const std::string rows =
        "NUM_SAMPS " + std::to_string(words.size() / static_cast<std::size_t>(RowWords()));
    EXPECT_NE(std::find(header.begin(), header.end(), rows), header.end());
    EXPECT_TRUE(std::any_of(header.begin(), header.end(), [](const std::string& line) {
        return line.starts_with("MARK") && line.find("12") != std::string::npos;
    }));
}

TEST_F(AcqNetworkTest, TheRecordTimeLimitGivesExactlyRateTimesSecondsRows) {
    for (CRecCnd& condition : m_doc->GetConditions())
        condition.m_hddPostTime = 1;
    const std::string name = m_doc->GetNextRecordName();
    ASSERT_TRUE(m_doc->Arm(false));
    m_doc->StartAcq(CZT300SetDoc::AcqKind::Hdd);
    for (int i = 0; i < 80 && !fs::exists(m_folder / (name + ".hdr")); ++i)
        Pump(250); // the limit message stops the record
    m_doc->StopArmed(false);
    const std::vector<std::int16_t> words = ReadData(m_folder / (name + ".dat"));
    EXPECT_EQ(words.size() / static_cast<std::size_t>(RowWords()), 1000u);
    ExpectRows(words);
}

TEST_F(AcqNetworkTest, ThePcLevelTriggerStartsTheRecordByItself) {
    // |value| >= 0 holds at once; what is tested is that the trigger, not a command, opens the
    // record, and that the rows from there on are whole and aligned.
    CRecCnd& master = m_doc->GetConditions()[0];
    master.m_hddLvlTrg = 1;
    master.m_hddPostTime = 1;
    master.m_channels[0].m_hddLvlTrg = 1; // ABS
    master.m_channels[0].m_hddLvlVal = 0.0;
    const std::string name = m_doc->GetNextRecordName();
    ASSERT_TRUE(m_doc->Arm(false));
    for (int i = 0; i < 80 && !fs::exists(m_folder / (name + ".hdr")); ++i)
        Pump(250); // nobody starts the record: the trigger does, the time limit ends it
    m_doc->StopArmed(false);
    ASSERT_TRUE(fs::exists(m_folder / (name + ".dat")));
    const std::vector<std::int16_t> words = ReadData(m_folder / (name + ".dat"));
    EXPECT_EQ(words.size() / static_cast<std::size_t>(RowWords()), 1000u);
    ExpectRows(words);
}

TEST_F(AcqNetworkTest, AKilledSimulatorEndsTheRecordAndReconnectionRecordsAgain) {
    const std::string first = m_doc->GetNextRecordName();
    ASSERT_TRUE(m_doc->Arm(false));
    m_doc->StartAcq(CZT300SetDoc::AcqKind::Hdd);
    Pump(600);
    ASSERT_TRUE(m_doc->m_acq.pcRecord);

    m_sim->Signal(SIGKILL);
    m_sim->WaitExit(5000);
    bool commError = false;
    for (int i = 0; i < 40 && !commError; ++i)
        commError = Pump(500);
    ASSERT_TRUE(commError);

    // The recorders come back on the same addresses; "Reconnect" is pressed at once.
    m_sim = std::make_unique<CSimProcess>(m_port);
    ASSERT_EQ(m_sim->FirstLine(10000), "ready");
    m_prompt.CancelAtPoll(1);
    ASSERT_TRUE(m_doc->Reconnect());
    EXPECT_EQ(m_prompt.m_progressTitle, "COMM ERROR");

    // The first record was closed with a header that matches the rows on disk.
    const std::vector<std::int16_t> before = ReadData(m_folder / (first + ".dat"));
    ExpectRows(before);
    TextLines header;
    ASSERT_EQ(CTextFile::ReadTextLines((m_folder / (first + ".hdr")).string(), header), "");
    const std::string rows =
        "NUM_SAMPS " + std::to_string(before.size() / static_cast<std::size_t>(RowWords()));
    EXPECT_NE(std::find(header.begin(), header.end(), rows), header.end());

    // Armed again, the record goes on in a new file at once.
    const std::string second = m_doc->GetNextRecordName();
    EXPECT_NE(second, first);
    ASSERT_TRUE(m_doc->Arm(false));
    Pump(800);
    EXPECT_TRUE(m_doc->m_acq.pcRecord);
    m_doc->StopArmed(false);
    ASSERT_TRUE(fs::exists(m_folder / (second + ".hdr")));
    ExpectRows(ReadData(m_folder / (second + ".dat")));
}
