#include "acquisition/MarkCommands.h"
#include "acquisition/MarkForwarder.h"
#include "records/MarkLog.h"

#include "device/sim/SimLink.h"
#include "framework/SoundPlayer.h"
#include "support/ManualClock.h"
#include "support/RecordTestConditions.h"

#include <gtest/gtest.h>

namespace {

class CFakeSoundPlayer : public ISoundPlayer {
public:
    void PlayAsync(const std::string& path) override { m_played.push_back(path); }
    std::vector<std::string> m_played;
};

// Answers the side channel calls from a script and writes down each one, with the waits.
class CAuxLink : public CSimLink {
public:
    int LnkOpenAux(int handle, int code) override {
        m_calls.push_back("open " + std::to_string(handle) + " " + std::to_string(code));
        return m_openResult;
    }
    int LnkReadAux(int, std::uint8_t* buffer, int size) override {
        const bool filled = std::all_of(buffer, buffer + size, [](auto b) { return b == '@'; });
        m_calls.push_back("read " + std::to_string(size) + (filled ? " @" : " ?"));
        buffer[0] = 0;
        return ++m_reads == m_failingRead ? 0 : 1;
    }
    int LnkCloseAux(int) override {
        m_calls.push_back("close");
        return 1;
    }
    std::vector<std::string> m_calls;
    int m_openResult = 1;
    int m_reads = 0;
    int m_failingRead = -1;
};

struct MarkFixture : ::testing::Test {
    MarkFixture()
        : folder("marks"), conditions(1), writer(clock),
          log(player, clock, "/sounds/Windows XP Default.wav",
              [this](const std::string& line) { lines.push_back(line); }),
          commands(writer, log, clock) {
        conditions[0].m_hddRecFolder = folder.Path();
        conditions[0].m_baseFileName = "Test";
        conditions[0].m_hddRecFileExt = 1;
        conditions[0].m_channels = {MakeRecordChannel(1, 0, "10V")};
    }
    void StartWithRows(int preRows, int rows) {
        const std::vector<std::int16_t> words(static_cast<std::size_t>(preRows + rows));
        ASSERT_EQ(writer.Start({conditions, 0, "Test_00007", ""},
                               std::span(words.data(), static_cast<std::size_t>(preRows)), {}),
                  "");
        writer.Append(words.data(), static_cast<std::size_t>(rows));
    }

    CTempFolder folder;
    CManualClock clock;
    std::vector<CRecCnd> conditions;
    CRecordWriter writer;
    CFakeSoundPlayer player;
    std::vector<std::string> lines;
    CMarkLog log;
    CMarkCommands commands;
};

} // namespace

TEST_F(MarkFixture, MarksOnlyWhileARecordRuns) {
    auto never = [](const MarkMemoRequest&, std::string&) -> bool {
        ADD_FAILURE() << "no memo dialog without a record";
        return false;
    };
    EXPECT_FALSE(commands.SetMark(-1, never));
    EXPECT_FALSE(commands.SetMark(12, never));
    EXPECT_EQ(commands.TogglePause(), PauseChange::None);
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(player.m_played.empty());
}

TEST_F(MarkFixture, MemoFromTheDialogOrTheKeyCode) {
    StartWithRows(100, 500);
    MarkMemoRequest asked;
    auto memo = [&](const MarkMemoRequest& request, std::string& text) {
        asked = request;
        text = "valve open";
        return true;
    };
    EXPECT_TRUE(commands.SetMark(-1, memo));
    EXPECT_EQ(asked.fileName, "Test_00007.dat");
    EXPECT_EQ(asked.dataPoint, 600u);
    clock.m_localTime.second = 45;
    EXPECT_TRUE(commands.SetMark(23, memo));
    EXPECT_FALSE(commands.SetMark(-1, [](const MarkMemoRequest&, std::string&) { return false; }));

    EXPECT_EQ(lines, (std::vector<std::string>{"10:20:30 MARK: valve open", "10:20:45 MARK: 23"}));
    EXPECT_EQ(player.m_played, std::vector<std::string>(2, "/sounds/Windows XP Default.wav"));
    writer.Close();
    writer.WriteHeader();
    TextLines header;
    CTextFile::ReadTextLines(folder.File("Test_00007.hdr"), header);
    EXPECT_NE(std::find(header.begin(), header.end(), "MARK 600,10:20:30,,valve open"),
              header.end());
    EXPECT_NE(std::find(header.begin(), header.end(), "MARK 600,10:20:45,,23"), header.end());
}

TEST_F(MarkFixture, PauseAndRestartAreLoggedAndTheResumeIsKept) {
    StartWithRows(0, 40);
    EXPECT_EQ(commands.TogglePause(), PauseChange::Paused);
    EXPECT_TRUE(writer.IsPaused());
    EXPECT_EQ(commands.TogglePause(), PauseChange::Resumed);
    EXPECT_EQ(lines, (std::vector<std::string>{"10:20:30 Pause", "10:20:30 Restart"}));
    ASSERT_EQ(writer.GetMarks().GetPauses().size(), 1u);
    EXPECT_EQ(writer.GetMarks().GetPauses()[0].m_position, 40u);
    EXPECT_TRUE(writer.GetMarks().GetMarks().empty());
}

TEST_F(MarkFixture, MarkForwardedToTheOptionalUnit) {
    StartWithRows(0, 1);
    CAuxLink link;
    std::mutex deviceLock;
    std::vector<std::string> calls;
    {
        CMarkForwarder forwarder(link, deviceLock, [&](int ms) {
            link.m_calls.push_back("wait " + std::to_string(ms));
        });
        EXPECT_TRUE(commands.SetMark(5, {}, &forwarder, 3));
        ASSERT_TRUE(forwarder.WaitIdle(10000));
    }
    std::vector<std::string> expected{"open 3 30"};
    for (int i = 0; i < 77; ++i) {
        expected.push_back("read 250 @");
        expected.push_back("wait 5");
    }
    expected.push_back("close");
    EXPECT_EQ(link.m_calls, expected);
}

TEST(MarkForwarderTest, FailuresEndTheExchangeQuietly) {
    CAuxLink link;
    std::mutex deviceLock;
    CMarkForwarder forwarder(link, deviceLock, [](int) {});
    link.m_openResult = 0;
    forwarder.Request(1);
    ASSERT_TRUE(forwarder.WaitIdle(10000));
    EXPECT_EQ(link.m_calls, std::vector<std::string>{"open 1 30"});

    link.m_calls.clear();
    link.m_openResult = 1;
    link.m_failingRead = 3;
    forwarder.Request(1);
    ASSERT_TRUE(forwarder.WaitIdle(10000));
    EXPECT_EQ(link.m_calls, (std::vector<std::string>{"open 1 30", "read 250 @", "read 250 @",
                                                      "read 250 @", "close"}));
}
